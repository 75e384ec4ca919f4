#pragma once
// The local design service: a small HTTP/1.1 server on a loopback port that
// answers the REST methods of the client (see methods.h). It runs in
// background threads from Start() until Stop(); tests start it in-process on
// a free port, the zorv-service executable on a fixed one.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "design_service/methods.h"
#include "design_service/wire.h"

namespace zorv_service {

// A scripted misbehaviour for tests. The fields combine: after the delay the
// service closes without a reply, or sends the status with the body (the
// method's own reply when no body is given and the status is 200, else the
// reason phrase) in the framing given, cut after cut_body_after bytes when that
// is set.
struct Fault {
    int status = 200;
    std::optional<std::string> body;
    std::chrono::milliseconds delay{0};
    bool close_without_reply = false;
    // The head announces the whole body (or a chunked one); only this many bytes
    // follow, and a chunked body gets no closing chunk.
    std::optional<std::size_t> cut_body_after;
    BodyFraming framing = BodyFraming::Length;
};

struct ServiceOptions {
    std::string bind_address = "127.0.0.1";
    unsigned short port = 0;  // 0: a free port, see Port()
    // A client that has not sent its whole request head by then is dropped.
    std::chrono::milliseconds read_timeout{10000};
    std::size_t max_connections = 64;
    // Called once per connection with one line describing it.
    std::function<void(const std::string&)> log_line;
    // Folder of the report files; empty: a temporary folder, made at the first report
    // and removed with the service.
    std::string report_folder;
};

class DesignService {
public:
    explicit DesignService(ServiceOptions options = {});
    ~DesignService();
    DesignService(const DesignService&) = delete;
    DesignService& operator=(const DesignService&) = delete;

    // Binds and starts serving; throws std::runtime_error when it cannot.
    void Start();
    // Closes the port, ends every connection (waits included) and joins.
    void Stop();
    bool Running() const;
    unsigned short Port() const;

    // The request targets received, in order, as they arrived.
    std::vector<std::string> RequestTargets() const;
    void ClearRequestTargets();

    void SetLatestClientVersion(const std::string& version);
    ServiceState& State() { return state_; }
    // The folder that report runs write into and "/Reports/" serves.
    std::string ReportFolder() const;

    // The fault applies to the next request only, whatever its method.
    void FailNextRequest(Fault fault);
    // The fault applies to every request of the method until ClearFaults.
    void FailMethod(const std::string& method, Fault fault);
    void ClearFaults();

private:
    struct Connection {
        std::mutex mutex;
        int fd = -1;  // -1 once the connection thread has closed it
        std::string peer;
        std::thread thread;
        bool done = false;
    };

    void AcceptLoop();
    void Serve(Connection& connection);
    void CloseConnection(Connection& connection);
    std::optional<Fault> TakeFault(const std::string& target);
    bool WaitUnlessStopping(std::chrono::milliseconds delay);
    void ReapFinished(bool all);
    void Log(const std::string& line);

    ServiceOptions options_;
    ServiceState state_;
    int listen_fd_ = -1;
    int wake_pipe_[2] = {-1, -1};
    unsigned short port_ = 0;
    std::thread accept_thread_;

    mutable std::mutex mutex_;  // guards everything below
    std::condition_variable stop_signal_;
    bool running_ = false;
    bool stopping_ = false;
    std::list<std::unique_ptr<Connection>> connections_;
    std::vector<std::string> targets_;
    std::optional<Fault> next_fault_;
    std::map<std::string, Fault> method_faults_;
};

// The target as one printable line for a log: control bytes as \xNN, long
// targets shortened with their length noted.
std::string PrintableTarget(const std::string& target, std::size_t limit = 512);

}  // namespace zorv_service
