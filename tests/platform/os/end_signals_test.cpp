// The end signals, each case in a child process of its own: the signals' handling is
// the whole process's, and a case ends its process as the signal does.
#include "platform/os/end_signals.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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

// A logout or a stopped service unit signals every process of the session: the window
// gets the signal itself and once more from run.sh, its parent, which passes signals on.
struct Step {
    int signal_number;
    bool from_parent;  // else the program raises it itself, as another sender would
};

// Runs the steps against a child that caught the end signals, each step handled before
// the next is sent. What became of it: "closed by N" when it lived through the steps
// and then ended by its first signal, "ended by N" when a step ended it at once.
std::string Outcome(const std::vector<Step>& steps) {
    int asks[2], sent[2], lived[2];
    if (pipe(asks) != 0 || pipe(sent) != 0 || pipe(lived) != 0) return "no pipes";
    const pid_t child = fork();
    if (child < 0) return "no fork";
    if (child == 0) {
        ::alarm(10);
        os::CatchEndSignals();
        for (const Step& step : steps) {
            if (!step.from_parent) {
                ::raise(step.signal_number);
                continue;
            }
            const char ask = static_cast<char>(step.signal_number);
            if (write(asks[1], &ask, 1) != 1) std::_Exit(3);
            // The parent signals before it answers: the signal is handled before the
            // answer is read.
            char answer;
            while (read(sent[0], &answer, 1) != 1) {
            }
        }
        if (write(lived[1], "y", 1) != 1) std::_Exit(3);
        os::EndAsSignalled();
        std::_Exit(4);
    }
    close(asks[1]);
    close(sent[0]);
    close(lived[1]);
    char ask;
    while (read(asks[0], &ask, 1) == 1) {
        kill(child, ask);
        if (write(sent[1], "s", 1) != 1) break;
    }
    int status = 0;
    waitpid(child, &status, 0);
    char lived_through;
    const bool closed = read(lived[0], &lived_through, 1) == 1;
    close(asks[0]);
    close(sent[1]);
    close(lived[0]);
    if (!WIFSIGNALED(status)) return "exited with " + std::to_string(WEXITSTATUS(status));
    return (closed ? "closed by " : "ended by ") + std::to_string(WTERMSIG(status));
}

TEST(EndSignalTwins, TheSameSignalFromTheParentAndFromElsewhereIsOneRequest) {
    const std::string closed_by_term = "closed by " + std::to_string(SIGTERM);
    const std::string ended_by_term = "ended by " + std::to_string(SIGTERM);
    const std::string ended_by_int = "ended by " + std::to_string(SIGINT);
    struct Case {
        const char* what;
        std::vector<Step> steps;
        std::string outcome;
    };
    const Case cases[] = {
        {"directly, then passed on", {{SIGTERM, false}, {SIGTERM, true}}, closed_by_term},
        {"passed on, then directly", {{SIGTERM, true}, {SIGTERM, false}}, closed_by_term},
        // The user's second Ctrl-C or kill, which run.sh passes on.
        {"passed on twice", {{SIGTERM, true}, {SIGTERM, true}}, ended_by_term},
        {"directly twice", {{SIGTERM, false}, {SIGTERM, false}}, ended_by_term},
        {"another signal passed on", {{SIGTERM, false}, {SIGINT, true}}, ended_by_int},
        // Only one twin: a request after it is a second one.
        {"a third", {{SIGTERM, false}, {SIGTERM, true}, {SIGTERM, true}}, ended_by_term},
    };
    for (const Case& c : cases) EXPECT_EQ(Outcome(c.steps), c.outcome) << c.what;
}

}  // namespace
