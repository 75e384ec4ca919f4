// The end signals, each case in a child process of its own: the signals' handling is
// the whole process's, and a case ends its process as the signal does.
#include "platform/os/end_signals.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

// In the child: a check that fails ends it with status 2 and says why on stderr.
void Require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "not so: %s\n", what);
    std::_Exit(2);
}

// Ends the child with status 0 once every check held.
[[noreturn]] void Held() { std::_Exit(0); }

class EndSignals : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(EndSignals, AreOnlyNotedUntilTheCloseAndThenEndTheProcessAsTheSignalDoes) {
    // Status 130, 143 and 129 for the shell that started it.
    for (const int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal_number);
        EXPECT_EXIT(
            {
                os::CatchEndSignals();
                Require(os::EndSignal() == 0, "no signal before one came");
                ::raise(signal_number);
                Require(os::EndSignal() == signal_number, "the signal is noted");
                // The window's close would run here: the process is still alive.
                os::EndAsSignalled();
                Require(false, "EndAsSignalled returned after a signal");
            },
            ::testing::KilledBySignal(signal_number), "");
    }
}

TEST_F(EndSignals, WithoutASignalTheEndIsTheProgramsOwn) {
    EXPECT_EXIT(
        {
            os::CatchEndSignals();
            os::EndAsSignalled();
            Held();
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(EndSignals, ASecondSignalEndsTheProcessAtOnceByItsOwnNumber) {
    struct Case {
        int first, second;
    };
    for (const Case c : {Case{SIGTERM, SIGTERM}, Case{SIGINT, SIGINT}, Case{SIGINT, SIGHUP}, Case{SIGHUP, SIGTERM}}) {
        SCOPED_TRACE(testing::Message() << c.first << " then " << c.second);
        EXPECT_EXIT(
            {
                os::CatchEndSignals();
                ::raise(c.first);
                Require(os::EndSignal() == c.first, "the first signal is noted");
                ::raise(c.second);
                Require(false, "the second signal did not end the process");
            },
            ::testing::KilledBySignal(c.second), "");
    }
}

TEST_F(EndSignals, ASignalIgnoredAtTheStartStaysIgnored) {
    // As under nohup (SIGHUP) or as a background job of a script (SIGINT); the signals
    // that were not ignored are still noted.
    for (const int ignored : {SIGHUP, SIGINT, SIGTERM}) {
        SCOPED_TRACE(ignored);
        EXPECT_EXIT(
            {
                ::signal(ignored, SIG_IGN);
                os::CatchEndSignals();
                ::raise(ignored);
                Require(os::EndSignal() == 0, "the ignored signal was noted");
                struct sigaction now {};
                sigaction(ignored, nullptr, &now);
                Require(now.sa_handler == SIG_IGN, "the ignored signal is ignored no more");
                const int other = ignored == SIGTERM ? SIGINT : SIGTERM;
                ::raise(other);
                Require(os::EndSignal() == other, "a signal that was not ignored is noted");
                // The ignored one is no second request either.
                ::raise(ignored);
                Held();
            },
            ::testing::ExitedWithCode(0), "");
    }
}

}  // namespace
