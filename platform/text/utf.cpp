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

namespace {

// The length of the well-formed sequence at `at`, or the length of its maximal
// ill-formed start (at least 1) as a negative number.
int Utf8SequenceAt(std::string_view bytes, std::size_t at) {
    const unsigned char lead = static_cast<unsigned char>(bytes[at]);
    if (lead < 0x80) return 1;
    int length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // overlong
        if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;   // overlong
        if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
    } else {
        return -1;
    }
    for (int i = 1; i < length; ++i) {
        if (at + i >= bytes.size()) return -i;
        const unsigned char c = static_cast<unsigned char>(bytes[at + i]);
        if (i == 1 ? (c < low || c > high) : (c < 0x80 || c > 0xBF)) return -i;
    }
    return length;
}

}  // namespace

std::string RepairUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        const int n = Utf8SequenceAt(bytes, at);
        if (n > 0) {
            out.append(bytes.substr(at, static_cast<std::size_t>(n)));
            at += static_cast<std::size_t>(n);
        } else {
            AppendUtf8(out, 0xFFFD);
            at += static_cast<std::size_t>(-n);
        }
    }
    return out;
}

}  // namespace text
