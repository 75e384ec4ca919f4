// The request as it reaches the wire, read by a bare loopback listener: the local
// service accepts HTTP/1.0 as well, so only the raw head shows the version sent. The
// listener also gives the replies that the local service never writes.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/http/TDSHTTP.h"
#include "platform/text/exception.h"

namespace {

// Takes one connection, keeps its request head and answers with the reply given.
class HeadCatcher {
public:
    explicit HeadCatcher(std::string reply = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\n{}")
        : reply_(std::move(reply)) {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        socklen_t size = sizeof address;
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(fd_, 1) != 0 || ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
            ADD_FAILURE() << "no listening socket";
            return;
        }
        port_ = ntohs(address.sin_port);
        // A client that never comes or never ends its head cannot hold the test.
        const timeval limit{5, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        thread_ = std::thread([this] { Serve(); });
    }
    ~HeadCatcher() {
        if (thread_.joinable()) thread_.join();
        if (fd_ >= 0) ::close(fd_);
    }
    unsigned short Port() const { return port_; }
    // After the one connection has ended.
    std::string TakeHead() {
        if (thread_.joinable()) thread_.join();
        return head_;
    }

private:
    void Serve() {
        const int client = ::accept(fd_, nullptr, nullptr);
        if (client < 0) return;
        const timeval limit{5, 0};
        ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        char buffer[4096];
        while (head_.find("\r\n\r\n") == std::string::npos) {
            const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            head_.append(buffer, static_cast<std::size_t>(n));
        }
        (void)::send(client, reply_.data(), reply_.size(), MSG_NOSIGNAL);
        ::close(client);
    }

    std::string reply_;
    int fd_ = -1;
    unsigned short port_ = 0;
    std::thread thread_;
    std::string head_;
};

TEST(RequestLine, IsGetThePathAndHttp11ForTheServicesHostAndPort) {
    HeadCatcher catcher;
    ASSERT_NE(catcher.Port(), 0);
    const std::string target = "/datasnap/rest/TServerMethods1/RUN_ZORV_PROJECT/{\"a\":\"b c\",\"n\":[1,2]}";
    {
        const http::ScopedConnectTo route({"localhost:8080:127.0.0.1:" + std::to_string(catcher.Port())});
        TDSHTTP client;
        client.HTTPOptions << hoKeepOrigProtocol;
        std::vector<unsigned char> stream;
        client.Get("http://localhost:8080" + target, stream);
        EXPECT_EQ(std::string(stream.begin(), stream.end()), "{}");
    }
    const std::string head = catcher.TakeHead();
    const std::size_t end_of_line = head.find("\r\n");
    ASSERT_NE(end_of_line, std::string::npos) << head;
    EXPECT_EQ(head.substr(0, end_of_line), "GET " + target + " HTTP/1.1");
    EXPECT_NE(head.find("\r\nHost: localhost:8080\r\n"), std::string::npos) << head;
}

TEST(RequestLine, ControlCharactersOfAStatusLineReachTheMessageAsBlanks) {
    // A wrong server's reason phrase goes into the error box: a terminal escape or a
    // tab must not reach it.
    HeadCatcher catcher("HTTP/1.1 503 Busy\x1b[2J\tnow\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    ASSERT_NE(catcher.Port(), 0);
    const http::ScopedConnectTo route({"localhost:8080:127.0.0.1:" + std::to_string(catcher.Port())});
    TDSHTTP client;
    std::vector<unsigned char> stream = {'k', 'e', 'p', 't'};
    try {
        client.Get("http://localhost:8080/datasnap/rest/TServerMethods1/Get_Server_Version/", stream);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "HTTP GET failed: the service answered 503 Busy [2J now");
    }
    EXPECT_EQ(std::string(stream.begin(), stream.end()), "kept");
}

}  // namespace
