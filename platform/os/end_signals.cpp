#include "platform/os/end_signals.h"

#include <signal.h>
#include <unistd.h>

namespace os {

namespace {

constexpr int kEndSignals[] = {SIGINT, SIGTERM, SIGHUP};
volatile sig_atomic_t first_signal = 0;
volatile sig_atomic_t first_from_parent = 0;
volatile sig_atomic_t twin_seen = 0;
// The process that started the program: run.sh passes each end signal on to the window.
volatile sig_atomic_t parent = 0;

bool FromParent(const siginfo_t* info) {
    return info && info->si_code == SI_USER && parent > 1 && info->si_pid == static_cast<pid_t>(parent);
}

void Noted(int signal_number, siginfo_t* info, void*) {
    const int from_parent = FromParent(info) ? 1 : 0;
    if (first_signal == signal_number && first_from_parent != from_parent && !twin_seen) {
        // One request by two roads: a logout or a stopped service unit signals every
        // process of the session, the window and run.sh, which passes it on too.
        twin_seen = 1;
        return;
    }
    if (first_signal != 0) {
        // Asked again: the close has not ended the program, the user wants it gone.
        ::signal(signal_number, SIG_DFL);
        ::raise(signal_number);  // delivered as this handler returns
        return;
    }
    first_signal = signal_number;
    first_from_parent = from_parent;
}

}  // namespace

void CatchEndSignals() {
    parent = static_cast<sig_atomic_t>(getppid());
    for (const int signal_number : kEndSignals) {
        struct sigaction before {};
        if (sigaction(signal_number, nullptr, &before) != 0 || before.sa_handler == SIG_IGN) continue;
        struct sigaction action {};
        action.sa_sigaction = Noted;
        action.sa_flags = SA_SIGINFO;
        sigemptyset(&action.sa_mask);
        for (const int other : kEndSignals) sigaddset(&action.sa_mask, other);
        // No SA_RESTART: the loop's wait wakes up at once.
        sigaction(signal_number, &action, nullptr);
    }
}

int EndSignal() { return first_signal; }

void EndAsSignalled() {
    const int signal_number = first_signal;
    if (signal_number == 0) return;
    ::signal(signal_number, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal_number);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal_number);
}

}  // namespace os
