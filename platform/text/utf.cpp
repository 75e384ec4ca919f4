#include "platform/text/utf.h"

namespace text {

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

std::string Utf16ToUtf8(const unsigned char* data, std::size_t size, bool little_endian) {
    std::string out;
    auto unit = [&](std::size_t i) -> char32_t {
        return little_endian ? data[i] | (data[i + 1] << 8) : (data[i] << 8) | data[i + 1];
    };
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        char32_t code = unit(i);
        if (code >= 0xD800 && code <= 0xDBFF && i + 3 < size && unit(i + 2) >= 0xDC00 && unit(i + 2) <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        AppendUtf8(out, code);
    }
    return out;
}

}  // namespace text
