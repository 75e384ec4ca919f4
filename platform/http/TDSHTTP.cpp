#include "platform/http/TDSHTTP.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <mutex>

#include "platform/http/request_url.h"
#include "platform/text/exception.h"

namespace http {
namespace {

std::mutex settings_mutex;
std::vector<std::string> connect_to;
Timeouts timeouts{kDefaultConnectTimeoutMs, kDefaultTotalTimeoutMs};
Timeouts last_applied{0, 0};

void InitCurlOnce() {
    static std::once_flag once;
    static CURLcode result = CURLE_OK;
    std::call_once(once, [] { result = curl_global_init(CURL_GLOBAL_DEFAULT); });
    if (result != CURLE_OK)
        throw Exception(std::string("HTTP GET failed: the HTTP library did not start (") +
                        curl_easy_strerror(result) + ")");
}

struct Reply {
    std::vector<unsigned char> body;
    std::string status_line;
    bool too_large = false;
};

size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto* reply = static_cast<Reply*>(user);
    size_t n = size * count;
    if (reply->body.size() + n > kMaxReplyBytes) {
        reply->too_large = true;
        return 0;  // makes libcurl stop with CURLE_WRITE_ERROR
    }
    reply->body.insert(reply->body.end(), data, data + n);
    return n;
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
    auto* reply = static_cast<Reply*>(user);
    size_t n = size * count;
    std::string line(data, n);
    // Every status line starts a new header block (an interim 1xx reply comes first).
    if (line.rfind("HTTP/", 0) == 0) {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
        reply->status_line = line;
    }
    return n;
}

// "HTTP/1.1 404 Not Found" -> "404 Not Found".
std::string StatusText(const std::string& status_line, long code) {
    std::size_t blank = status_line.find(' ');
    if (blank == std::string::npos) return std::to_string(code);
    std::string text = status_line.substr(blank + 1);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    return text.empty() ? std::to_string(code) : text;
}

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

std::string FailureText(CURLcode code, const char* detail, const Reply& reply,
                        const RequestUrl& where, const Timeouts& limits) {
    std::string host = where.origin.substr(7, where.origin.size() - 8);
    std::string extra = (detail && *detail) ? std::string(" (") + detail + ")" : std::string();
    switch (code) {
        case CURLE_COULDNT_RESOLVE_HOST:
            return "HTTP GET failed: the host of " + host + " was not found" + extra;
        case CURLE_COULDNT_CONNECT:
            return "HTTP GET failed: could not connect to " + host + extra;
        case CURLE_OPERATION_TIMEDOUT:
            return "HTTP GET failed: no complete reply from " + host + " within " +
                   std::to_string(limits.total_ms) + " ms (connect limit " +
                   std::to_string(limits.connect_ms) + " ms)" + extra;
        case CURLE_GOT_NOTHING:
            return "HTTP GET failed: " + host + " closed the connection without a reply";
        case CURLE_PARTIAL_FILE:
            return "HTTP GET failed: the reply from " + host + " was cut short after " +
                   std::to_string(reply.body.size()) + " bytes of its body" + extra;
        case CURLE_WRITE_ERROR:
            if (reply.too_large)
                return "HTTP GET failed: the reply from " + host + " is larger than " +
                       std::to_string(kMaxReplyBytes) + " bytes";
            break;
        default:
            break;
    }
    return "HTTP GET failed: " + std::string(curl_easy_strerror(code)) + " (" + host + ")" +
           ((detail && *detail) ? std::string(": ") + detail : std::string());
}

}  // namespace

void SetConnectToForTests(std::vector<std::string> entries) {
    std::lock_guard lock(settings_mutex);
    connect_to = std::move(entries);
}

std::vector<std::string> ConnectToForTests() {
    std::lock_guard lock(settings_mutex);
    return connect_to;
}

void SetTimeoutsForTests(long connect_ms, long total_ms) {
    std::lock_guard lock(settings_mutex);
    timeouts = Timeouts{connect_ms, total_ms};
}

Timeouts CurrentTimeouts() {
    std::lock_guard lock(settings_mutex);
    return timeouts;
}

Timeouts LastTimeoutsForTests() {
    std::lock_guard lock(settings_mutex);
    return last_applied;
}

void ResetLastTimeoutsForTests() {
    std::lock_guard lock(settings_mutex);
    last_applied = Timeouts{0, 0};
}

ScopedConnectTo::ScopedConnectTo(std::vector<std::string> entries) : previous_(ConnectToForTests()) {
    SetConnectToForTests(std::move(entries));
}
ScopedConnectTo::~ScopedConnectTo() { SetConnectToForTests(std::move(previous_)); }

ScopedTimeouts::ScopedTimeouts(long connect_ms, long total_ms) : previous_(CurrentTimeouts()) {
    SetTimeoutsForTests(connect_ms, total_ms);
}
ScopedTimeouts::~ScopedTimeouts() { SetTimeoutsForTests(previous_.connect_ms, previous_.total_ms); }

}  // namespace http

void TDSHTTP::Get(const std::string& url, std::vector<unsigned char>& stream) {
    using namespace http;
    const RequestUrl where = SplitRequestUrl(url);  // refuses before anything is sent
    InitCurlOnce();
    Timeouts limits = CurrentTimeouts();
    if (ConnectTimeout > 0) limits.connect_ms = std::min(limits.connect_ms, ConnectTimeout);
    if (ResponseTimeout > 0) limits.total_ms = std::min(limits.total_ms, ResponseTimeout);
    {
        std::lock_guard lock(settings_mutex);
        last_applied = limits;
    }
    const std::vector<std::string> mapping = ConnectToForTests();

    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    if (!easy) throw Exception("HTTP GET failed: could not create a request");
    std::unique_ptr<curl_slist, ListDeleter> connect_list;
    for (const std::string& entry : mapping) {
        curl_slist* grown = curl_slist_append(connect_list.get(), entry.c_str());
        if (!grown) throw Exception("HTTP GET failed: out of memory");
        connect_list.release();
        connect_list.reset(grown);
    }

    Reply reply;
    char detail[CURL_ERROR_SIZE] = {0};
    CURL* h = easy.get();
    curl_easy_setopt(h, CURLOPT_URL, where.origin.c_str());
    // Without this libcurl would refuse or re-encode a blank in the path.
    curl_easy_setopt(h, CURLOPT_REQUEST_TARGET, where.target.c_str());
    curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http");
    curl_easy_setopt(h, CURLOPT_FRESH_CONNECT, 1L);
    curl_easy_setopt(h, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
    // The program reads no configuration, proxy variables of the environment included.
    curl_easy_setopt(h, CURLOPT_PROXY, "");
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, limits.connect_ms);
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, limits.total_ms);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &OnBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &reply);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &OnHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &reply);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, detail);
    if (connect_list) curl_easy_setopt(h, CURLOPT_CONNECT_TO, connect_list.get());

    CURLcode code = curl_easy_perform(h);
    if (code != CURLE_OK) throw Exception(FailureText(code, detail, reply, where, limits));

    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299)
        throw Exception("HTTP GET failed: the service answered " + StatusText(reply.status_line, status));
    stream = std::move(reply.body);
}
