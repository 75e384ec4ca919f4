#include "platform/os/end_signals.h"

#include <signal.h>

namespace os {

namespace {

constexpr int kEndSignals[] = {SIGINT, SIGTERM, SIGHUP};
volatile sig_atomic_t first_signal = 0;

void Noted(int signal_number) {
    if (first_signal != 0) {
        // Asked again: the close has not ended the program, the user wants it gone.
        ::signal(signal_number, SIG_DFL);
        ::raise(signal_number);  // delivered as this handler returns
        return;
    }
    first_signal = signal_number;
}

}  // namespace

void CatchEndSignals() {
    for (const int signal_number : kEndSignals) {
        struct sigaction before {};
        if (sigaction(signal_number, nullptr, &before) != 0 || before.sa_handler == SIG_IGN) continue;
        struct sigaction action {};
        action.sa_handler = Noted;
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
