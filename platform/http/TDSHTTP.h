#pragma once
// The HTTP client of the service link: one GET of a URL into memory.
//
// The URL's path and query are sent byte for byte as the request target
// (braces, quotes and blanks of a request JSON included); a fragment is not
// sent. Every GET opens its own connection and speaks HTTP/1.1. Get throws
// Exception on any failure: a URL with a control character or a request that the
// HTTP library cannot send as composed (both refused before anything is sent), no
// connection, no reply, a status other than 2xx, a body cut short or larger than
// kMaxReplyBytes, no memory for the reply, or a time-out.
#include <functional>
#include <string>
#include <vector>

enum THTTPOption {
    hoKeepOrigProtocol,  // keep HTTP/1.1 for the request
};

// The option set of a client; `Options << hoKeepOrigProtocol` adds one.
class THTTPOptions {
public:
    THTTPOptions& operator<<(THTTPOption option) {
        bits_ |= Bit(option);
        return *this;
    }
    bool Contains(THTTPOption option) const { return (bits_ & Bit(option)) != 0; }
    bool operator==(const THTTPOptions&) const = default;

private:
    static unsigned Bit(THTTPOption option) { return 1u << static_cast<unsigned>(option); }
    unsigned bits_ = 0;
};

class TDSHTTP {
public:
    TDSHTTP() = default;
    TDSHTTP(const TDSHTTP&) = delete;
    TDSHTTP& operator=(const TDSHTTP&) = delete;

    // Empty by default. We never fall back to an older protocol, so
    // hoKeepOrigProtocol describes what every GET does anyway.
    THTTPOptions HTTPOptions;

    // Limits of this client's GETs in milliseconds, 0 for the defaults: to connect,
    // and for the whole exchange. The shorter of these and the defaults applies.
    long ConnectTimeout = 0;
    long ResponseTimeout = 0;

    // Replaces the stream's content with the reply's body; on failure the
    // stream is left as it was and Exception is thrown.
    void Get(const std::string& url, std::vector<unsigned char>& stream);
};

namespace http {

// Default time-outs: a service that never answers must not freeze the window.
inline constexpr long kDefaultConnectTimeoutMs = 5000;
inline constexpr long kDefaultTotalTimeoutMs = 60000;
// A reply larger than this is refused rather than held in memory.
inline constexpr std::size_t kMaxReplyBytes = 64u << 20;

// Test-only: connect-to entries "HOST:PORT:CONNECT-HOST:CONNECT-PORT" that
// send the connection elsewhere while the URL and its Host header stay as
// composed. An empty list switches the mapping off. Applies to later GETs.
void SetConnectToForTests(std::vector<std::string> entries);
std::vector<std::string> ConnectToForTests();

// Test-only: called in the reply's header and body callbacks before they store what
// arrived; what it throws stands for a failed allocation there. Empty: none.
enum class ReplyPart { Header, Body };
void SetReceiveHookForTests(std::function<void(ReplyPart)> hook);

// Test-only: time-outs of later GETs, in milliseconds.
void SetTimeoutsForTests(long connect_ms, long total_ms);
struct Timeouts {
    long connect_ms;
    long total_ms;
};
Timeouts CurrentTimeouts();
// Test-only: the limits that the last GET applied ({0, 0} after ResetLastTimeouts).
Timeouts LastTimeoutsForTests();
void ResetLastTimeoutsForTests();

// Sets the mapping for a scope and restores the previous one after it.
class ScopedConnectTo {
public:
    explicit ScopedConnectTo(std::vector<std::string> entries);
    ~ScopedConnectTo();
    ScopedConnectTo(const ScopedConnectTo&) = delete;
    ScopedConnectTo& operator=(const ScopedConnectTo&) = delete;

private:
    std::vector<std::string> previous_;
};

// Sets the time-outs for a scope and restores the previous ones after it.
class ScopedTimeouts {
public:
    ScopedTimeouts(long connect_ms, long total_ms);
    ~ScopedTimeouts();
    ScopedTimeouts(const ScopedTimeouts&) = delete;
    ScopedTimeouts& operator=(const ScopedTimeouts&) = delete;

private:
    Timeouts previous_;
};

}  // namespace http
