#pragma once
// Splits a URL the way our GET sends it: the authority goes to the connection,
// and the path with its query goes out byte for byte as the request target.
#include <optional>
#include <string>

namespace http {

struct RequestUrl {
    std::string origin;  // "http://host:port/", what the connection is made to
    std::string target;  // path and query, unchanged, cut at the first '#'

    // "host:port" of the origin, for messages.
    std::string Host() const { return origin.substr(7, origin.size() - 8); }
};

// Position of the first control character (bytes below 0x20, and 0x7F), if any.
std::optional<std::size_t> FindControlCharacter(const std::string& url);

// Throws Exception with a descriptive message when the URL is not
// "http://authority[/path][?query][#fragment]" or holds a control character.
RequestUrl SplitRequestUrl(const std::string& url);

}  // namespace http
