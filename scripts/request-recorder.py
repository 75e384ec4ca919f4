#!/usr/bin/env python3
"""Relays HTTP connections from a listening port to the design service and writes
every request line, whole, to a file: the service's own log shortens long requests.

    request-recorder.py LISTEN_PORT SERVICE_PORT LOG_FILE [DELAY_FILE]

While DELAY_FILE exists, each design request waits the number of seconds written in
it before it goes on to the service: a slow service, switched on and off from outside.

Prints "listening" once it accepts connections."""
import socket
import sys
import threading
import time

RUN_METHOD = b"/RUN_ZORV_PROJECT/"


def delay_seconds(delay_file):
    if not delay_file:
        return 0.0
    try:
        with open(delay_file, encoding="utf-8") as f:
            return float(f.read().strip() or 0)
    except (OSError, ValueError):
        return 0.0


def pump(source, target):
    try:
        while True:
            data = source.recv(65536)
            if not data:
                break
            target.sendall(data)
    except OSError:
        pass
    finally:
        try:
            target.shutdown(socket.SHUT_WR)
        except OSError:
            pass


def serve(client, service_port, log, lock, delay_file):
    with client:
        head = b""
        while b"\r\n" not in head:
            data = client.recv(65536)
            if not data:
                return
            head += data
        with lock:
            log.write(head.split(b"\r\n", 1)[0].decode("utf-8", "replace") + "\n")
            log.flush()
        request_line = head.split(b"\r\n", 1)[0]
        if RUN_METHOD in request_line:
            time.sleep(delay_seconds(delay_file))
        with socket.create_connection(("127.0.0.1", service_port)) as service:
            service.sendall(head)
            back = threading.Thread(target=pump, args=(service, client), daemon=True)
            back.start()
            pump(client, service)
            back.join()


def main():
    listen_port, service_port, log_name = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
    delay_file = sys.argv[4] if len(sys.argv) > 4 else None
    lock = threading.Lock()
    with open(log_name, "a", encoding="utf-8") as log, socket.socket() as server:
        server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        server.bind(("127.0.0.1", listen_port))
        server.listen(16)
        print("listening", flush=True)
        while True:
            client, _ = server.accept()
            threading.Thread(target=serve, args=(client, service_port, log, lock, delay_file), daemon=True).start()


if __name__ == "__main__":
    main()
