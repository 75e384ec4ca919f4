#include "design_service/design_service.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "design_service/reports.h"
#include "design_service/wire.h"

namespace zorv_service {
namespace {

using Clock = std::chrono::steady_clock;

// The size of the chunks of a chunked reply.
constexpr std::size_t kChunkBytes = 1u << 20;

std::runtime_error SystemError(const std::string& what) {
    return std::runtime_error(what + ": " + std::strerror(errno));
}

// Sends everything; false when the peer went away or the send timed out.
bool SendAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// After our half is closed, read what the client still sends for a moment,
// so that closing does not reset the connection under an unread reply.
void DrainBriefly(int fd) {
    char sink[4096];
    const auto until = Clock::now() + std::chrono::milliseconds(200);
    std::size_t total = 0;
    while (total < (1u << 20)) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
        if (left <= 0) break;
        pollfd p{fd, POLLIN, 0};
        int r = ::poll(&p, 1, static_cast<int>(left));
        if (r <= 0) break;
        ssize_t n = ::recv(fd, sink, sizeof sink, 0);
        if (n <= 0) break;
        total += static_cast<std::size_t>(n);
    }
}

std::string PeerText(const sockaddr_in& address) {
    char host[INET_ADDRSTRLEN] = "?";
    ::inet_ntop(AF_INET, &address.sin_addr, host, sizeof host);
    return std::string(host) + ":" + std::to_string(ntohs(address.sin_port));
}

}  // namespace

std::string PrintableTarget(const std::string& target, std::size_t limit) {
    std::string out;
    for (std::size_t i = 0; i < target.size() && i < limit; ++i) {
        unsigned char c = static_cast<unsigned char>(target[i]);
        if (c < 0x20 || c == 0x7F) {
            char code[5];
            std::snprintf(code, sizeof code, "\\x%02X", c);
            out += code;
        } else {
            out += static_cast<char>(c);
        }
    }
    if (target.size() > limit) out += "... (" + std::to_string(target.size()) + " bytes)";
    return out;
}

DesignService::DesignService(ServiceOptions options) : options_(std::move(options)) {
    if (options_.report_folder.empty()) state_.SetReports(ReportStore::Temporary());
    else state_.SetReports(std::make_shared<ReportStore>(options_.report_folder));
}

std::string DesignService::ReportFolder() const { return state_.Reports()->Root().string(); }

DesignService::~DesignService() { Stop(); }

void DesignService::Start() {
    {
        std::lock_guard lock(mutex_);
        if (running_) return;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(options_.port);
    if (::inet_pton(AF_INET, options_.bind_address.c_str(), &address.sin_addr) != 1)
        throw std::runtime_error("not an IPv4 address to bind to: " + options_.bind_address);

    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw SystemError("socket");
    int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        auto error = SystemError("cannot bind " + options_.bind_address + ":" + std::to_string(options_.port));
        ::close(fd);
        throw error;
    }
    if (::listen(fd, 64) != 0) {
        auto error = SystemError("listen");
        ::close(fd);
        throw error;
    }
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length);
    if (::pipe2(wake_pipe_, O_CLOEXEC) != 0) {
        auto error = SystemError("pipe");
        ::close(fd);
        throw error;
    }
    listen_fd_ = fd;
    port_ = ntohs(bound.sin_port);
    {
        std::lock_guard lock(mutex_);
        running_ = true;
        stopping_ = false;
    }
    accept_thread_ = std::thread([this] { AcceptLoop(); });
}

void DesignService::Stop() {
    {
        std::lock_guard lock(mutex_);
        if (!running_) return;
        stopping_ = true;
    }
    stop_signal_.notify_all();
    char byte = 0;
    if (::write(wake_pipe_[1], &byte, 1) < 0) { /* the accept loop also polls with a time-out */ }
    accept_thread_.join();
    ::close(listen_fd_);
    listen_fd_ = -1;

    std::list<std::unique_ptr<Connection>> open;
    {
        std::lock_guard lock(mutex_);
        open.swap(connections_);
    }
    for (auto& connection : open) {
        std::lock_guard lock(connection->mutex);
        if (connection->fd >= 0) ::shutdown(connection->fd, SHUT_RDWR);
    }
    stop_signal_.notify_all();
    for (auto& connection : open) connection->thread.join();

    ::close(wake_pipe_[0]);
    ::close(wake_pipe_[1]);
    wake_pipe_[0] = wake_pipe_[1] = -1;
    std::lock_guard lock(mutex_);
    running_ = false;
    stopping_ = false;
}

bool DesignService::Running() const {
    std::lock_guard lock(mutex_);
    return running_;
}

unsigned short DesignService::Port() const { return port_; }

std::vector<std::string> DesignService::RequestTargets() const {
    std::lock_guard lock(mutex_);
    return targets_;
}

void DesignService::ClearRequestTargets() {
    std::lock_guard lock(mutex_);
    targets_.clear();
}

void DesignService::SetLatestClientVersion(const std::string& version) { state_.SetLatestClientVersion(version); }

void DesignService::FailNextRequest(Fault fault) {
    std::lock_guard lock(mutex_);
    next_fault_ = std::move(fault);
}

void DesignService::FailMethod(const std::string& method, Fault fault) {
    std::lock_guard lock(mutex_);
    method_faults_[method] = std::move(fault);
}

void DesignService::ClearFaults() {
    std::lock_guard lock(mutex_);
    next_fault_.reset();
    method_faults_.clear();
}

std::optional<Fault> DesignService::TakeFault(const std::string& target) {
    std::lock_guard lock(mutex_);
    if (next_fault_) {
        std::optional<Fault> fault = std::move(next_fault_);
        next_fault_.reset();
        return fault;
    }
    std::string method, argument;
    if (SplitMethod(target, method, argument)) {
        auto found = method_faults_.find(method);
        if (found != method_faults_.end()) return found->second;
    }
    return std::nullopt;
}

bool DesignService::WaitUnlessStopping(std::chrono::milliseconds delay) {
    std::unique_lock lock(mutex_);
    return !stop_signal_.wait_for(lock, delay, [this] { return stopping_; });
}

void DesignService::Log(const std::string& line) {
    if (options_.log_line) options_.log_line(line);
}

void DesignService::ReapFinished(bool all) {
    std::list<std::unique_ptr<Connection>> finished;
    {
        std::lock_guard lock(mutex_);
        for (auto it = connections_.begin(); it != connections_.end();) {
            bool done;
            {
                std::lock_guard connection_lock((*it)->mutex);
                done = (*it)->done;
            }
            if (done || all) {
                finished.push_back(std::move(*it));
                it = connections_.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto& connection : finished) connection->thread.join();
}

void DesignService::AcceptLoop() {
    for (;;) {
        pollfd fds[2] = {{listen_fd_, POLLIN, 0}, {wake_pipe_[0], POLLIN, 0}};
        int r = ::poll(fds, 2, 1000);
        {
            std::lock_guard lock(mutex_);
            if (stopping_) return;
        }
        ReapFinished(false);
        if (r <= 0 || !(fds[0].revents & POLLIN)) continue;

        sockaddr_in peer{};
        socklen_t length = sizeof peer;
        int fd = ::accept4(listen_fd_, reinterpret_cast<sockaddr*>(&peer), &length, SOCK_CLOEXEC);
        if (fd < 0) {
            // Out of descriptors: give the open connections a moment to finish.
            if (errno == EMFILE || errno == ENFILE) std::this_thread::sleep_for(std::chrono::milliseconds(50));
            continue;
        }

        timeval send_limit{};
        send_limit.tv_sec = options_.read_timeout.count() / 1000;
        send_limit.tv_usec = static_cast<suseconds_t>((options_.read_timeout.count() % 1000) * 1000);
        ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &send_limit, sizeof send_limit);

        auto connection = std::make_unique<Connection>();
        connection->fd = fd;
        connection->peer = PeerText(peer);
        Connection* raw = connection.get();
        std::lock_guard lock(mutex_);
        if (connections_.size() >= options_.max_connections) {
            ::close(fd);
            continue;
        }
        connections_.push_back(std::move(connection));
        raw->thread = std::thread([this, raw] { Serve(*raw); });
    }
}

void DesignService::CloseConnection(Connection& connection) {
    std::lock_guard lock(connection.mutex);
    if (connection.fd >= 0) ::close(connection.fd);
    connection.fd = -1;
    connection.done = true;
}

void DesignService::Serve(Connection& connection) {
    const int fd = connection.fd;
    const std::string& peer = connection.peer;

    // Read the head, within one time limit for the whole of it.
    std::string received;
    std::size_t head_end = 0;
    HeadScan scan = HeadScan::kIncomplete;
    const auto deadline = Clock::now() + options_.read_timeout;
    while (scan == HeadScan::kIncomplete) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            Log(peer + " dropped: no complete request within " + std::to_string(options_.read_timeout.count()) +
                " ms");
            CloseConnection(connection);
            return;
        }
        pollfd p{fd, POLLIN, 0};
        int r = ::poll(&p, 1, static_cast<int>(left));
        if (r < 0 && errno == EINTR) continue;
        if (r == 0) continue;
        char buffer[8192];
        ssize_t n = r > 0 ? ::recv(fd, buffer, sizeof buffer, 0) : -1;
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (!received.empty()) Log(peer + " dropped: the connection closed inside the request");
            CloseConnection(connection);
            return;
        }
        received.append(buffer, static_cast<std::size_t>(n));
        scan = ScanHead(received, head_end);
    }

    auto answer = [&](int status, const std::string& content_type, const std::string& body,
                      std::optional<std::size_t> cut, const std::string& note,
                      BodyFraming framing = BodyFraming::Length) {
        const std::size_t size = cut ? std::min(*cut, body.size()) : body.size();
        const std::string head = FormatReplyHead(status, content_type, body.size(), framing);
        bool sent = SendAll(fd, head.data(), head.size());
        if (framing == BodyFraming::Chunked) {
            for (std::size_t at = 0; sent && at < size; at += kChunkBytes) {
                const std::string chunk =
                    FormatChunk(std::string_view(body).substr(at, std::min(kChunkBytes, size - at)));
                sent = SendAll(fd, chunk.data(), chunk.size());
            }
            if (sent && size == body.size()) {
                const std::string last = FormatChunk({});
                SendAll(fd, last.data(), last.size());
            }
        } else if (sent) {
            SendAll(fd, body.data(), size);
        }
        ::shutdown(fd, SHUT_WR);
        DrainBriefly(fd);
        return std::to_string(status) + " " + std::to_string(body.size()) + " bytes" + note;
    };

    if (scan == HeadScan::kTooLarge) {
        std::string outcome = answer(400, "text/plain", "Request head too large\n", std::nullopt, "");
        Log(peer + " request head over the limit -> " + outcome);
        CloseConnection(connection);
        return;
    }
    RequestLine line;
    std::string error;
    if (!ParseRequestLine(received.substr(0, head_end), line, error)) {
        std::string outcome = answer(400, "text/plain", "Bad request: " + error + "\n", std::nullopt, "");
        Log(peer + " bad request (" + error + ") -> " + outcome);
        CloseConnection(connection);
        return;
    }
    {
        std::lock_guard lock(mutex_);
        targets_.push_back(line.target);
    }
    const std::string request_text = peer + " " + line.method + " " + PrintableTarget(line.target) + " -> ";

    std::optional<Fault> fault = TakeFault(line.target);
    Reply reply = line.method == "GET" ? AnswerGet(line.target, state_)
                                       : Reply{405, "Only GET is served\n", "text/plain"};
    std::optional<std::size_t> cut;
    std::string note;
    BodyFraming framing = BodyFraming::Length;
    if (fault) {
        if (fault->delay.count() > 0 && !WaitUnlessStopping(fault->delay)) {
            Log(request_text + "stopped while delayed");
            CloseConnection(connection);
            return;
        }
        if (fault->close_without_reply) {
            ::shutdown(fd, SHUT_RDWR);
            Log(request_text + "closed without a reply (scripted)");
            CloseConnection(connection);
            return;
        }
        if (fault->body) {
            reply.body = *fault->body;
            reply.content_type = "application/json";
        } else if (fault->status != 200) {
            reply.body = std::string(ReasonPhrase(fault->status)) + "\n";
            reply.content_type = "text/plain";
        }
        reply.status = fault->status;
        cut = fault->cut_body_after;
        framing = fault->framing;
        if (framing == BodyFraming::Chunked) note += ", chunked";
        if (framing == BodyFraming::Close) note += ", ended by the close";
        if (cut) note += ", cut after " + std::to_string(*cut);
        note += " (scripted)";
    }
    std::string outcome = answer(reply.status, reply.content_type, reply.body, cut, note, framing);
    Log(request_text + outcome);
    CloseConnection(connection);
}

}  // namespace zorv_service
