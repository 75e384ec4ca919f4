#include "platform/text/utf.h"

#include <gtest/gtest.h>

namespace {

const std::string kReplacement = "\xEF\xBF\xBD";

TEST(RepairUtf8, ValidTextStaysAndEachIllFormedPartBecomesOneReplacement) {
    const std::string R = kReplacement;
    struct Case {
        const char* what;
        std::string bytes;
        std::string text;
    };
    const Case cases[] = {
        {"ASCII, an empty text", "", ""},
        {"valid of every length", "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
        {"the ends of the range", "\xC2\x80\xEF\xBF\xBF\xF4\x8F\xBF\xBF", "\xC2\x80\xEF\xBF\xBF\xF4\x8F\xBF\xBF"},
        {"a Latin-1 byte", "caf\xE9!", "caf" + R + "!"},
        {"a stray continuation byte each", "a\x80\xBF" "b", "a" + R + R + "b"},
        {"a cut sequence is one part", "\xE2\x82" "a", R + "a"},
        {"a cut sequence at the end", "a\xF0\x9F\x98", "a" + R},
        {"overlong two bytes", "\xC0\xAF", R + R},
        {"overlong three bytes", "\xE0\x80\xAF", R + R + R},
        {"a surrogate", "\xED\xA0\x80", R + R + R},
        {"above U+10FFFF", "\xF4\x90\x80\x80", R + R + R + R},
        {"bytes that never start a sequence", "\xF5\xFF\xFE", R + R + R},
        {"a lead byte before a lead byte", "\xC3\xC3\xA9", R + "\xC3\xA9"},
        {"a NUL stays", std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const Case& c : cases) EXPECT_EQ(text::RepairUtf8(c.bytes), c.text) << c.what;
}

}  // namespace
