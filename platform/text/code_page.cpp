#include "platform/text/code_page.h"

namespace text {

std::string ToSystemCodePage(const std::string& text) {
    return text.substr(0, text.find('\0'));
}

}  // namespace text
