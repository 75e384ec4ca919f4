#pragma once
// A local design service on a free loopback port, with the HTTP client's
// connections for http://localhost:8080 sent to it for the fixture's life.
#include <optional>
#include <string>
#include <vector>

#include "design_service/design_service.h"
#include "platform/http/TDSHTTP.h"

namespace testing_support {

inline const std::string kServiceRoot = "http://localhost:8080/datasnap/rest/TServerMethods1/";

class LocalService {
public:
    explicit LocalService(zorv_service::ServiceOptions options = {}) : service_(std::move(options)) {
        service_.Start();
        route_.emplace(std::vector<std::string>{"localhost:8080:127.0.0.1:" + std::to_string(service_.Port())});
    }
    zorv_service::DesignService& operator*() { return service_; }
    zorv_service::DesignService* operator->() { return &service_; }

private:
    zorv_service::DesignService service_;
    std::optional<http::ScopedConnectTo> route_;
};

// Scripted faults, spelled out.
inline zorv_service::Fault StatusFault(int status, std::optional<std::string> body = std::nullopt) {
    zorv_service::Fault f;
    f.status = status;
    f.body = std::move(body);
    return f;
}
inline zorv_service::Fault BodyFault(std::string body) { return StatusFault(200, std::move(body)); }
inline zorv_service::Fault DelayFault(int ms) {
    zorv_service::Fault f;
    f.delay = std::chrono::milliseconds(ms);
    return f;
}
// A loopback port where nothing listens: a service's port after it stopped.
inline unsigned short ClosedPort() {
    zorv_service::DesignService probe;
    probe.Start();
    const unsigned short port = probe.Port();
    probe.Stop();
    return port;
}

inline zorv_service::Fault CloseFault() {
    zorv_service::Fault f;
    f.close_without_reply = true;
    return f;
}
inline zorv_service::Fault FramedFault(std::string body, zorv_service::BodyFraming framing) {
    zorv_service::Fault f = BodyFault(std::move(body));
    f.framing = framing;
    return f;
}
inline zorv_service::Fault CutFault(std::size_t bytes) {
    zorv_service::Fault f;
    f.cut_body_after = bytes;
    return f;
}

// One GET through the client, the body as text.
inline std::string GetText(const std::string& url) {
    TDSHTTP client;
    client.HTTPOptions << hoKeepOrigProtocol;
    std::vector<unsigned char> stream;
    client.Get(url, stream);
    return std::string(stream.begin(), stream.end());
}

}  // namespace testing_support
