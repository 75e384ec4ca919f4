#pragma once
// The HTTP/1.1 wire form of the service: finding the end of a request head,
// reading its request line, and writing a reply.
#include <cstddef>
#include <string>
#include <string_view>

namespace zorv_service {

// A run request travels in the request line, so the line may be long; beyond
// these limits a request is refused with 400.
inline constexpr std::size_t kMaxRequestLineBytes = 64 * 1024;
inline constexpr std::size_t kMaxHeadBytes = 128 * 1024;

enum class HeadScan { kIncomplete, kComplete, kTooLarge };

// Looks for the blank line that ends the head in the bytes received so far;
// on kComplete, head_end is the offset just past it. Lines may end in CRLF or LF.
HeadScan ScanHead(const std::string& received, std::size_t& head_end);

struct RequestLine {
    std::string method;
    std::string target;   // between the first and the last blank, unchanged
    std::string version;  // "HTTP/1.1" or "HTTP/1.0"
};

// Reads the first line of a head. False with a reason for a line that is not
// "METHOD SP TARGET SP HTTP/1.x", whose target is not a path, or that holds
// a control character.
bool ParseRequestLine(const std::string& head, RequestLine& line, std::string& error);

const char* ReasonPhrase(int status);

// How the end of a reply's body is told.
enum class BodyFraming {
    Length,   // by its Content-Length
    Chunked,  // by the empty chunk of a chunked body
    Close,    // by the close of the connection alone
};

// Status line, Content-Type, the framing's header (Content-Length: body_size, or
// Transfer-Encoding: chunked, or none), Connection: close and the blank line.
std::string FormatReplyHead(int status, const std::string& content_type, std::size_t body_size,
                            BodyFraming framing);

// The head with Content-Length, then the body.
std::string FormatReply(int status, const std::string& content_type, const std::string& body);

// One chunk of a chunked body: its size in hexadecimal, CRLF, the bytes, CRLF. No
// bytes give the empty chunk that ends the body.
std::string FormatChunk(std::string_view bytes);

}  // namespace zorv_service
