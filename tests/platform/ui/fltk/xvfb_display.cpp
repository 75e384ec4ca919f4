#include "xvfb_display.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace testing_x {
namespace {

pid_t xvfb_pid = -1;
std::string failure;
bool started = false;

void StopXvfb() {
    if (xvfb_pid > 0) {
        ::kill(xvfb_pid, SIGTERM);
        ::waitpid(xvfb_pid, nullptr, 0);
        xvfb_pid = -1;
    }
}

std::string Start() {
    int fds[2];
    if (::pipe(fds) != 0) return "no pipe for Xvfb";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // Xvfb writes the display number it chose to fd 3 (the read end goes first: it
    // may be fd 3 itself).
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    // -noreset: a reset after the last client's end would hang a client that
    // connects meanwhile (the next case's).
    std::vector<std::string> args = {"Xvfb",         "-displayfd", "3",   "-screen", "0",
                                     "1280x1024x24", "-nolisten",  "tcp", "-noreset"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const int rc = ::posix_spawnp(&xvfb_pid, "Xvfb", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (rc != 0) {
        ::close(fds[0]);
        xvfb_pid = -1;
        return "Xvfb is not installed";
    }
    std::atexit(StopXvfb);
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    while (number.find('\n') == std::string::npos && ::poll(&p, 1, 10000) > 0) {
        char buffer[32];
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n <= 0) break;
        number.append(buffer, static_cast<size_t>(n));
    }
    ::close(fds[0]);
    while (!number.empty() && (number.back() == '\n' || number.back() == ' ')) number.pop_back();
    if (number.empty()) return "Xvfb did not report a display";
    ::setenv("DISPLAY", (":" + number).c_str(), 1);
    // No cursor theme: X's own cursors are still images, which a test can compare
    // (a theme's wait pointer turns from frame to frame).
    ::setenv("XCURSOR_PATH", "", 1);
    return {};
}

}  // namespace

std::string StartXvfb() {
    if (!started) {
        started = true;
        failure = Start();
    }
    return failure;
}

}  // namespace testing_x
