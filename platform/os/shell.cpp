#include "platform/os/shell.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/text/exception.h"

extern char** environ;

namespace os {
namespace {

std::mutex opener_mutex;
std::function<void(const std::string&)> test_opener;

std::string Failure(const std::string& url, const std::string& reason) {
    return "Cannot open \"" + url + "\" in the web browser: " + reason + ".";
}

// Starts the program detached (its own session, reaped by no one here) and reports
// whether the exec itself worked.
void StartDetached(const std::string& program, const std::string& url) {
    // Everything the children use is made before the fork.
    std::string arg0 = "xdg-open";
    std::string arg1 = url;
    char* argv[] = {arg0.data(), arg1.data(), nullptr};
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) throw Exception(Failure(url, std::strerror(errno)));
    const pid_t child = ::fork();
    if (child < 0) {
        const int code = errno;
        ::close(report[0]);
        ::close(report[1]);
        throw Exception(Failure(url, std::strerror(code)));
    }
    if (child == 0) {
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild == 0) {
            const int null = ::open("/dev/null", O_RDONLY);
            if (null > STDIN_FILENO) {
                ::dup2(null, STDIN_FILENO);
                ::close(null);
            }
            ::execve(program.c_str(), argv, environ);
            const int code = errno;
            (void)!::write(report[1], &code, sizeof code);
            ::_exit(127);
        }
        ::_exit(grandchild < 0 ? 1 : 0);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int code = 0;
    ssize_t n;
    while ((n = ::read(report[0], &code, sizeof code)) < 0 && errno == EINTR) {
    }
    ::close(report[0]);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw Exception(Failure(url, "it could not be started"));
    if (n == static_cast<ssize_t>(sizeof code)) throw Exception(Failure(url, program + ": " + std::strerror(code)));
}

}  // namespace

std::string BrowserAddress(const std::string& url) {
    // The browser the client was written for took "host/path" as a web address;
    // xdg-open would take it for a file name.
    const size_t scheme_end = url.find("://");
    const bool has_scheme = scheme_end != std::string::npos && scheme_end > 0 &&
                            url.find_first_of("/?#") > scheme_end;
    return has_scheme ? url : "http://" + url;
}

std::string FindProgramOnPath(const std::string& program, const std::string& path_list) {
    size_t start = 0;
    while (start <= path_list.size()) {
        size_t end = path_list.find(':', start);
        if (end == std::string::npos) end = path_list.size();
        std::string candidate = end > start ? path_list.substr(start, end - start) : std::string(".");
        candidate.append(1, '/').append(program);
        struct stat st;
        if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return {};
}

void OpenInBrowser(const std::string& url) {
    {
        std::lock_guard<std::mutex> lock(opener_mutex);
        if (test_opener) {
            test_opener(url);
            return;
        }
    }
    if (url.empty()) throw Exception(Failure(url, "the address is empty"));
    if (url[0] == '-') throw Exception(Failure(url, "an address cannot begin with \"-\""));
    const char* path = std::getenv("PATH");
    const std::string program = FindProgramOnPath("xdg-open", path ? path : "/usr/bin:/bin");
    if (program.empty())
        throw Exception(Failure(url, "the program xdg-open was not found (it comes with the package xdg-utils)"));
    StartDetached(program, BrowserAddress(url));
}

void SetBrowserOpenerForTests(std::function<void(const std::string& url)> opener) {
    std::lock_guard<std::mutex> lock(opener_mutex);
    test_opener = std::move(opener);
}

void UseSystemBrowserOpener() { SetBrowserOpenerForTests(nullptr); }

}  // namespace os
