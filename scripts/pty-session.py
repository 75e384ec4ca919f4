#!/usr/bin/env python3
"""Runs a command as the session leader of a pseudo-terminal of its own, as a terminal
window (xterm -e, ssh -t) runs it, and copies what it writes there to a file.

    pty-session.py OUTPUT_FILE COMMAND [ARG...]

SIGUSR1 types Ctrl-C into the terminal (its line discipline turns it into SIGINT for
the foreground process group); SIGUSR2 closes the terminal, as closing the window does
(the kernel hangs the session up). Ends with the command's status: its exit code, or
128 + the number of the signal that ended it."""
import os
import pty
import select
import signal
import sys


def main():
    output_name, command = sys.argv[1], sys.argv[2:]
    pid, master = pty.fork()
    if pid == 0:
        for s in (signal.SIGINT, signal.SIGQUIT, signal.SIGUSR1, signal.SIGUSR2, signal.SIGPIPE):
            signal.signal(s, signal.SIG_DFL)
        os.execvp(command[0], command)
    wake_read, wake_write = os.pipe()
    os.set_blocking(wake_write, False)
    requests = []

    def request(signal_number, _frame):
        requests.append(signal_number)
        try:
            os.write(wake_write, b"x")
        except BlockingIOError:
            pass

    signal.signal(signal.SIGUSR1, request)
    signal.signal(signal.SIGUSR2, request)
    with open(output_name, "wb", buffering=0) as output:
        while master is not None:
            try:
                ready, _, _ = select.select([master, wake_read], [], [])
            except InterruptedError:
                ready = []
            while requests:
                if requests.pop(0) == signal.SIGUSR1:
                    os.write(master, b"\x03")
                else:
                    os.close(master)
                    master = None
                    break
            if master is not None and master in ready:
                try:
                    data = os.read(master, 65536)
                except OSError:  # EIO: every process of the terminal has let it go
                    data = b""
                if not data:
                    os.close(master)
                    master = None
                else:
                    output.write(data)
            if wake_read in ready:
                os.read(wake_read, 4096)
    _, status = os.waitpid(pid, 0)
    sys.exit(128 + os.WTERMSIG(status) if os.WIFSIGNALED(status) else os.WEXITSTATUS(status))


if __name__ == "__main__":
    main()
