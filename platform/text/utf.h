#pragma once
// Unicode encodings of our texts, which are UTF-8 throughout.
#include <cstddef>
#include <string>
#include <string_view>

namespace text {

// Appends the code point as UTF-8.
void AppendUtf8(std::string& out, char32_t code);

// UTF-16 code units, little- or big-endian, as UTF-8. An unpaired surrogate becomes
// U+FFFD; an odd last byte is dropped.
std::string Utf16ToUtf8(const unsigned char* data, std::size_t size, bool little_endian);

// The bytes as UTF-8 with every ill-formed sequence (a stray continuation byte, a
// cut or overlong sequence, a surrogate, a code point above U+10FFFF) replaced by
// U+FFFD, one per maximal ill-formed part; valid text comes back unchanged.
std::string RepairUtf8(std::string_view bytes);

}  // namespace text
