// zorv-service: the local design service on a TCP port.
//   zorv-service [--port N] [--bind ADDRESS] [--reports FOLDER]
// Logs one line per request to stderr; SIGINT, SIGTERM or SIGHUP (its terminal closed)
// stops it cleanly, removing its temporary report folder.
#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <mutex>
#include <string>

#include "design_service/design_service.h"

namespace {

void Usage(std::FILE* to) {
    std::fprintf(to,
                 "usage: zorv-service [--port N] [--bind ADDRESS] [--reports FOLDER]\n"
                 "  --port N          TCP port to serve (default 8080; 0 picks a free one)\n"
                 "  --bind ADDRESS    IPv4 address to listen on (default 127.0.0.1)\n"
                 "  --reports FOLDER  where report runs write their files (default: a temporary\n"
                 "                    folder, made at the first report and removed when the\n"
                 "                    service stops)\n");
}

bool ParsePort(const std::string& text, unsigned short& port) {
    if (text.empty() || text.size() > 5) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > 65535) return false;
    port = static_cast<unsigned short>(value);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    zorv_service::ServiceOptions options;
    options.port = 8080;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            Usage(stdout);
            return 0;
        }
        if ((arg == "--port" || arg == "--bind" || arg == "--reports") && i + 1 < argc) {
            std::string value = argv[++i];
            if (arg == "--reports") {
                options.report_folder = value;
            } else if (arg == "--bind") {
                options.bind_address = value;
            } else if (!ParsePort(value, options.port)) {
                std::fprintf(stderr, "zorv-service: not a port number: %s\n", value.c_str());
                return 2;
            }
            continue;
        }
        std::fprintf(stderr, "zorv-service: unknown or incomplete argument: %s\n", arg.c_str());
        Usage(stderr);
        return 2;
    }

    // The signals are taken by sigwait below, never by a serving thread. A
    // shell starts background jobs with SIGINT ignored; take it back. A hang-up
    // that was ignored when we started (nohup) is the user's wish to outlive the
    // terminal, and stays ignored.
    struct sigaction hangup {};
    sigaction(SIGHUP, nullptr, &hangup);
    const bool stop_on_hangup = hangup.sa_handler != SIG_IGN;
    sigset_t stop_signals;
    sigemptyset(&stop_signals);
    sigaddset(&stop_signals, SIGINT);
    sigaddset(&stop_signals, SIGTERM);
    if (stop_on_hangup) sigaddset(&stop_signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    if (stop_on_hangup) signal(SIGHUP, SIG_DFL);

    static std::mutex log_mutex;
    options.log_line = [](const std::string& line) {
        std::lock_guard lock(log_mutex);
        std::fprintf(stderr, "%s\n", line.c_str());
    };

    std::unique_ptr<zorv_service::DesignService> service_holder;
    try {
        service_holder = std::make_unique<zorv_service::DesignService>(options);
        service_holder->Start();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zorv-service: %s\n", error.what());
        return 1;
    }
    std::fprintf(stderr, "zorv-service: listening on %s:%u\n", options.bind_address.c_str(),
                 static_cast<unsigned>(service_holder->Port()));

    int received = 0;
    sigwait(&stop_signals, &received);
    const char* name = received == SIGINT ? "SIGINT" : received == SIGHUP ? "SIGHUP" : "SIGTERM";
    std::fprintf(stderr, "zorv-service: %s received, stopping\n", name);
    service_holder->Stop();
    return 0;
}
