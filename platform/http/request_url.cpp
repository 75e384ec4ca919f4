#include "platform/http/request_url.h"

#include <cstdio>

#include "platform/text/exception.h"

namespace http {

std::optional<std::size_t> FindControlCharacter(const std::string& url) {
    for (std::size_t i = 0; i < url.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(url[i]);
        if (c < 0x20 || c == 0x7F) return i;
    }
    return std::nullopt;
}

static bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char a = text[i];
        if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
        if (a != prefix[i]) return false;
    }
    return true;
}

RequestUrl SplitRequestUrl(const std::string& url) {
    // A CR or LF in the URL would end the request line early and let the rest
    // of a catalogue or section name pass for headers of its own.
    if (auto at = FindControlCharacter(url)) {
        char code[8];
        std::snprintf(code, sizeof code, "0x%02X", static_cast<unsigned char>(url[*at]));
        throw Exception("HTTP GET refused: the URL holds the control character " + std::string(code) +
                        " at position " + std::to_string(*at));
    }
    const std::string scheme = "http://";
    if (!StartsWithNoCase(url, scheme))
        throw Exception("HTTP GET refused: the URL does not start with http://");
    std::size_t authority_end = url.find_first_of("/?#", scheme.size());
    if (authority_end == std::string::npos) authority_end = url.size();
    std::string authority = url.substr(scheme.size(), authority_end - scheme.size());
    if (authority.empty()) throw Exception("HTTP GET refused: the URL names no host");
    if (authority.find_first_of(" @\\") != std::string::npos)
        throw Exception("HTTP GET refused: the host part of the URL is not a plain host and port");

    RequestUrl out;
    out.origin = scheme + authority + "/";
    std::string rest = url.substr(authority_end);
    std::size_t hash = rest.find('#');
    if (hash != std::string::npos) rest.erase(hash);
    if (rest.empty() || rest[0] != '/') rest.insert(0, "/");
    out.target = rest;
    return out;
}

}  // namespace http
