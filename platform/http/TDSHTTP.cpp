#include "platform/http/TDSHTTP.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <memory>
#include <mutex>
#include <new>
#include <string_view>

#include "platform/http/request_url.h"
#include "platform/text/exception.h"

namespace http {
namespace {

std::mutex settings_mutex;
std::vector<std::string> connect_to;
std::function<void(ReplyPart)> receive_hook;
Timeouts timeouts{kDefaultConnectTimeoutMs, kDefaultTotalTimeoutMs};
Timeouts last_applied{0, 0};

std::function<void(ReplyPart)> ReceiveHook() {
    std::lock_guard lock(settings_mutex);
    return receive_hook;
}

void InitCurlOnce() {
    static std::once_flag once;
    static CURLcode result = CURLE_OK;
    std::call_once(once, [] { result = curl_global_init(CURL_GLOBAL_DEFAULT); });
    if (result != CURLE_OK)
        throw Exception(std::string("HTTP GET failed: the HTTP library did not start (") +
                        curl_easy_strerror(result) + ")");
}

struct Reply {
    CURL* easy = nullptr;
    std::function<void(ReplyPart)> hook;
    std::vector<unsigned char> body;
    bool length_checked = false;
    std::string status_line;
    bool too_large = false;
    // Why a callback stopped the transfer, raised once libcurl has returned.
    const char* failure = nullptr;
};

// libcurl calls back through C frames, which nothing may be thrown through: a failure
// is kept for after the transfer, and the value returned makes libcurl stop.
template <class Receive>
size_t Guarded(Reply& reply, ReplyPart part, Receive receive) noexcept {
    try {
        if (reply.hook) reply.hook(part);
        return receive();
    } catch (const std::bad_alloc&) {
        reply.failure = "there is not enough memory for the reply";
    } catch (...) {
        reply.failure = "the reply could not be stored";
    }
    return 0;
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto& reply = *static_cast<Reply*>(user);
    return Guarded(reply, ReplyPart::Body, [&]() -> size_t {
        const size_t n = size * count;
        if (!reply.length_checked) {
            // A body of announced length is refused before it arrives, or held in
            // one block of its size rather than in a vector grown by doubling.
            reply.length_checked = true;
            curl_off_t announced = -1;
            if (curl_easy_getinfo(reply.easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced) == CURLE_OK &&
                announced > 0) {
                if (static_cast<std::uint64_t>(announced) > kMaxReplyBytes) {
                    reply.too_large = true;
                    return 0;
                }
                reply.body.reserve(static_cast<size_t>(announced));
            }
        }
        if (reply.body.size() + n > kMaxReplyBytes) {
            reply.too_large = true;
            return 0;  // makes libcurl stop with CURLE_WRITE_ERROR
        }
        reply.body.insert(reply.body.end(), data, data + n);
        return n;
    });
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
    auto& reply = *static_cast<Reply*>(user);
    return Guarded(reply, ReplyPart::Header, [&]() -> size_t {
        const size_t n = size * count;
        std::string_view line(data, n);
        // Every status line starts a new header block (an interim 1xx reply comes first).
        if (line.starts_with("HTTP/")) {
            while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
            reply.status_line = line;
        }
        return n;
    });
}

// Sets one option of the request. An option libcurl refuses (a request target longer
// than it takes, for one) would leave the request to go out without it, so nothing
// is sent then.
template <class Value>
void SetOption(CURL* easy, CURLoption option, const char* what, Value value) {
    const CURLcode code = curl_easy_setopt(easy, option, value);
    if (code != CURLE_OK)
        throw Exception(std::string("HTTP GET failed: ") + what + " was refused (" + curl_easy_strerror(code) +
                        "); nothing was sent");
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
    const std::string host = where.Host();
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

void SetReceiveHookForTests(std::function<void(ReplyPart)> hook) {
    std::lock_guard lock(settings_mutex);
    receive_hook = std::move(hook);
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
    reply.easy = easy.get();
    reply.hook = ReceiveHook();
    char detail[CURL_ERROR_SIZE] = {0};
    CURL* h = easy.get();
    SetOption(h, CURLOPT_ERRORBUFFER, "the error buffer", detail);
    SetOption(h, CURLOPT_URL, "the service address", where.origin.c_str());
    // Without this libcurl would refuse or re-encode a blank in the path.
    SetOption(h, CURLOPT_REQUEST_TARGET, "the request target", where.target.c_str());
    SetOption(h, CURLOPT_HTTPGET, "the GET method", 1L);
    SetOption(h, CURLOPT_HTTP_VERSION, "HTTP/1.1", static_cast<long>(CURL_HTTP_VERSION_1_1));
    SetOption(h, CURLOPT_PROTOCOLS_STR, "the protocol", "http");
    SetOption(h, CURLOPT_FRESH_CONNECT, "a fresh connection", 1L);
    SetOption(h, CURLOPT_FORBID_REUSE, "a connection of its own", 1L);
    SetOption(h, CURLOPT_FOLLOWLOCATION, "no redirection", 0L);
    // The program reads no configuration, proxy variables of the environment included.
    SetOption(h, CURLOPT_PROXY, "no proxy", "");
    SetOption(h, CURLOPT_NOSIGNAL, "no signals", 1L);
    SetOption(h, CURLOPT_CONNECTTIMEOUT_MS, "the connect limit", limits.connect_ms);
    SetOption(h, CURLOPT_TIMEOUT_MS, "the time limit", limits.total_ms);
    SetOption(h, CURLOPT_WRITEFUNCTION, "the body callback", &OnBody);
    SetOption(h, CURLOPT_WRITEDATA, "the body store", &reply);
    SetOption(h, CURLOPT_HEADERFUNCTION, "the header callback", &OnHeader);
    SetOption(h, CURLOPT_HEADERDATA, "the header store", &reply);
    if (connect_list) SetOption(h, CURLOPT_CONNECT_TO, "the connect-to mapping", connect_list.get());

    CURLcode code = curl_easy_perform(h);
    if (reply.failure) throw Exception("HTTP GET failed: " + std::string(reply.failure) + " from " + where.Host());
    if (code != CURLE_OK) throw Exception(FailureText(code, detail, reply, where, limits));

    long status = 0;
    if (curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK)
        throw Exception("HTTP GET failed: the status of the reply from " + where.Host() + " is not known");
    if (status < 200 || status > 299)
        throw Exception("HTTP GET failed: the service answered " + StatusText(reply.status_line, status));
    stream = std::move(reply.body);
}
