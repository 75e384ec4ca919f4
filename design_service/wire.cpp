#include "design_service/wire.h"

#include <cstdio>

namespace zorv_service {

HeadScan ScanHead(const std::string& received, std::size_t& head_end) {
    std::size_t line_end = received.find('\n');
    if (line_end == std::string::npos)
        return received.size() > kMaxRequestLineBytes ? HeadScan::kTooLarge : HeadScan::kIncomplete;
    if (line_end > kMaxRequestLineBytes) return HeadScan::kTooLarge;
    std::size_t pos = line_end + 1;
    for (;;) {
        std::size_t next = received.find('\n', pos);
        if (next == std::string::npos)
            return received.size() > kMaxHeadBytes ? HeadScan::kTooLarge : HeadScan::kIncomplete;
        std::size_t length = next - pos;
        if (length == 0 || (length == 1 && received[pos] == '\r')) {
            head_end = next + 1;
            return head_end > kMaxHeadBytes ? HeadScan::kTooLarge : HeadScan::kComplete;
        }
        pos = next + 1;
    }
}

static bool IsTokenChar(unsigned char c) {
    return c > 0x20 && c < 0x7F && c != '(' && c != ')' && c != '<' && c != '>' && c != '@' &&
           c != ',' && c != ';' && c != ':' && c != '\\' && c != '"' && c != '/' && c != '[' &&
           c != ']' && c != '?' && c != '=' && c != '{' && c != '}';
}

bool ParseRequestLine(const std::string& head, RequestLine& line, std::string& error) {
    std::string text = head.substr(0, head.find('\n'));
    if (!text.empty() && text.back() == '\r') text.pop_back();
    std::size_t first = text.find(' ');
    std::size_t last = text.rfind(' ');
    if (first == std::string::npos || first == last || first == 0) {
        error = "malformed request line";
        return false;
    }
    line.method = text.substr(0, first);
    line.target = text.substr(first + 1, last - first - 1);
    line.version = text.substr(last + 1);
    for (unsigned char c : line.method)
        if (!IsTokenChar(c)) {
            error = "malformed method";
            return false;
        }
    if (line.version != "HTTP/1.1" && line.version != "HTTP/1.0") {
        error = "unsupported protocol version";
        return false;
    }
    if (line.target.empty() || line.target[0] != '/') {
        error = "the request target is not a path";
        return false;
    }
    for (unsigned char c : line.target)
        if (c < 0x20 || c == 0x7F) {
            error = "control character in the request target";
            return false;
        }
    return true;
}

const char* ReasonPhrase(int status) {
    switch (status) {
        case 200: return "OK";
        case 204: return "No Content";
        case 301: return "Moved Permanently";
        case 302: return "Found";
        case 400: return "Bad Request";
        case 403: return "Forbidden";
        case 404: return "Not Found";
        case 405: return "Method Not Allowed";
        case 408: return "Request Timeout";
        case 500: return "Internal Server Error";
        case 502: return "Bad Gateway";
        case 503: return "Service Unavailable";
        case 504: return "Gateway Timeout";
        default: return "Status";
    }
}

std::string FormatReplyHead(int status, const std::string& content_type, std::size_t body_size,
                            BodyFraming framing) {
    std::string out = "HTTP/1.1 " + std::to_string(status) + " " + ReasonPhrase(status) + "\r\n";
    out += "Content-Type: " + content_type + "\r\n";
    if (framing == BodyFraming::Length) out += "Content-Length: " + std::to_string(body_size) + "\r\n";
    if (framing == BodyFraming::Chunked) out += "Transfer-Encoding: chunked\r\n";
    out += "Connection: close\r\n\r\n";
    return out;
}

std::string FormatReply(int status, const std::string& content_type, const std::string& body) {
    return FormatReplyHead(status, content_type, body.size(), BodyFraming::Length) + body;
}

std::string FormatChunk(std::string_view bytes) {
    char size[20];
    std::snprintf(size, sizeof size, "%zx\r\n", bytes.size());
    std::string out = size;
    out.append(bytes);
    out += "\r\n";
    return out;
}

}  // namespace zorv_service
