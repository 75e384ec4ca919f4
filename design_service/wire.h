#pragma once
// The HTTP/1.1 wire form of the service: finding the end of a request head,
// reading its request line, and writing a reply.
#include <cstddef>
#include <string>

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

// Status line, Content-Type, Content-Length, Connection: close, then the body.
std::string FormatReply(int status, const std::string& content_type, const std::string& body);

}  // namespace zorv_service
