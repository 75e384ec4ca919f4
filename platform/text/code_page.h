#pragma once
// Text is UTF-8 throughout; the 8-bit code page of the desktop platform is
// UTF-8 here too.
#include <string>

namespace text {

// The text as 8-bit text: unchanged up to its first NUL, which ends it.
std::string ToSystemCodePage(const std::string& text);

}  // namespace text
