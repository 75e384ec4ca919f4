#include "platform/sheet/cell_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "platform/text/utf.h"

namespace sheet {

int ColumnNumber(std::string_view letters) {
    if (letters.empty() || letters.size() > 3) return 0;
    int column = 0;
    for (char c : letters) {
        if (c < 'A' || c > 'Z') return 0;
        column = column * 26 + (c - 'A' + 1);
    }
    return column <= kMaxColumn ? column : 0;
}

std::string ColumnLetters(int column) {
    if (column < 1 || column > kMaxColumn) return {};
    std::string letters;
    for (; column > 0; column = (column - 1) / 26) letters.insert(letters.begin(), char('A' + (column - 1) % 26));
    return letters;
}

std::string CellName(int row, int column) { return ColumnLetters(column) + std::to_string(row); }

std::optional<std::pair<int, int>> ParseCellName(std::string_view name) {
    size_t split = 0;
    while (split < name.size() && name[split] >= 'A' && name[split] <= 'Z') ++split;
    const int column = ColumnNumber(name.substr(0, split));
    std::string_view digits = name.substr(split);
    if (column == 0 || digits.empty() || digits.size() > 7 || digits[0] == '0') return std::nullopt;
    int row = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), row);
    if (ec != std::errc() || end != digits.data() + digits.size() || row < 1 || row > kMaxRow) return std::nullopt;
    return std::make_pair(row, column);
}

std::string NumberText(double value) {
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    (void)ec;  // 64 bytes hold every double
    std::string out(buffer, end);
    return out == "-0" ? "0" : out;
}

std::optional<double> ParseNumberText(std::string_view text) {
    if (!text.empty() && text[0] == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    double value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The code unit of an escape "_xHHHH_" at pos, or -1.
int EscapeAt(std::string_view s, size_t pos) {
    if (pos + 7 > s.size() || s[pos] != '_' || s[pos + 1] != 'x' || s[pos + 6] != '_') return -1;
    int unit = 0;
    for (size_t i = pos + 2; i < pos + 6; ++i) {
        const int h = HexValue(s[i]);
        if (h < 0) return -1;
        unit = unit * 16 + h;
    }
    return unit;
}

// Length of the UTF-8 sequence at pos and its code point; 0 when it is none.
size_t Utf8At(std::string_view s, size_t pos, char32_t& code) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(pos);
    size_t length = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1F, min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0F, min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (pos + length > s.size()) return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(pos + i) & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

bool XmlCannotHold(char32_t code) {
    return (code < 0x20 && code != '\t' && code != '\n') || code == '\r' || code == 0xFFFE || code == 0xFFFF;
}

void AppendEscape(std::string& out, unsigned unit) {
    static const char* const kHex = "0123456789ABCDEF";
    out += "_x";
    for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(unit >> shift) & 0xF];
    out += '_';
}

}  // namespace

std::string DecodeEscapes(std::string_view stored) {
    std::string out;
    out.reserve(stored.size());
    for (size_t i = 0; i < stored.size();) {
        int unit = EscapeAt(stored, i);
        if (unit < 0) {
            out += stored[i++];
            continue;
        }
        i += 7;
        char32_t code = static_cast<char32_t>(unit);
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            const int low = EscapeAt(stored, i);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                code = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 7;
            } else {
                code = 0xFFFD;
            }
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            code = 0xFFFD;
        }
        text::AppendUtf8(out, code);
    }
    return out;
}

std::string EncodeEscapes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        char32_t code = 0;
        size_t length = Utf8At(text, i, code);
        if (length == 0) {  // not UTF-8: callers pass ValidUtf8 texts
            out += text[i++];
            continue;
        }
        if (XmlCannotHold(code)) {
            AppendEscape(out, static_cast<unsigned>(code));
        } else if (code == '_' && EscapeAt(text, i) >= 0) {
            AppendEscape(out, '_');
        } else {
            out.append(text.substr(i, length));
        }
        i += length;
    }
    return out;
}

std::string ValidUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        char32_t code = 0;
        const size_t length = Utf8At(text, i, code);
        if (length == 0) {
            text::AppendUtf8(out, 0xFFFD);
            ++i;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
    }
    return out;
}

bool SameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

std::string InCapitals(std::string_view name) {
    std::string capitals(name);
    for (char& c : capitals) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return capitals;
}

}  // namespace sheet
