#pragma once
// The REST methods of the service: one request target in, one reply out.
// Every 200 reply is exactly {"result":[X]} with X a JSON string or object.
#include <memory>
#include <mutex>
#include <random>
#include <set>
#include <string>

namespace zorv_service {

class ReportStore;

inline constexpr char kMethodPath[] = "/datasnap/rest/TServerMethods1/";
inline constexpr char kServerVersion[] = "S1.0.0-local";
inline constexpr char kDefaultLatestClientVersion[] = "C21062501";

struct Reply {
    int status = 200;
    std::string body;
    std::string content_type = "application/json";
};

// What the service remembers between requests. Thread-safe.
class ServiceState {
public:
    ServiceState();
    std::string NewClientId();
    bool ForgetClient(const std::string& id);
    bool KnowsClient(const std::string& id) const;
    void SetLatestClientVersion(const std::string& version);
    std::string LatestClientVersion() const;
    // Where report runs write their files; none until set.
    void SetReports(std::shared_ptr<ReportStore> reports);
    ReportStore* Reports() const;

private:
    mutable std::mutex mutex_;
    std::set<std::string> clients_;
    std::string latest_client_version_ = kDefaultLatestClientVersion;
    std::mt19937_64 random_;
    std::shared_ptr<ReportStore> reports_;
};

// "{"result":[" + value + "]}".
std::string WrapResult(const std::string& value);
// A JSON string literal of the text.
std::string JsonString(const std::string& text);

// The method name and its argument of a target under kMethodPath: the method
// is the segment after the path, the argument everything after its slash,
// unchanged. False for a target outside the path.
bool SplitMethod(const std::string& target, std::string& method, std::string& argument);

// Answers one GET of the target: a method under kMethodPath, or a report
// file under "/Reports/"; anything else gets 404.
Reply AnswerGet(const std::string& target, ServiceState& state);

}  // namespace zorv_service
