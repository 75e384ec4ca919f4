// Cell names and the stored text forms of numbers and texts.
#include <gtest/gtest.h>

#include "platform/sheet/cell_text.h"

namespace {

using namespace sheet;

TEST(CellNames, ColumnsBothWays) {
    const std::pair<int, const char*> cases[] = {{1, "A"},    {26, "Z"},   {27, "AA"},  {52, "AZ"},
                                                 {53, "BA"},  {117, "DM"}, {702, "ZZ"}, {703, "AAA"},
                                                 {16384, "XFD"}};
    for (const auto& [number, letters] : cases) {
        EXPECT_EQ(ColumnLetters(number), letters);
        EXPECT_EQ(ColumnNumber(letters), number) << letters;
    }
    for (const char* bad : {"", "a", "XFE", "AAAA", "A1"}) EXPECT_EQ(ColumnNumber(bad), 0) << bad;
    EXPECT_EQ(ColumnLetters(0), "");
    EXPECT_EQ(ColumnLetters(16385), "");
}

TEST(CellNames, ParseAndBuild) {
    EXPECT_EQ(CellName(2, 1), "A2");
    EXPECT_EQ(CellName(1048576, 16384), "XFD1048576");
    EXPECT_EQ(ParseCellName("B12"), std::make_pair(12, 2));
    EXPECT_EQ(ParseCellName("DM7"), std::make_pair(7, 117));
    for (const char* bad : {"", "B", "12", "B0", "B01", "b2", "B2 ", "$B$2", "XFD1048577", "B-1"})
        EXPECT_FALSE(ParseCellName(bad).has_value()) << bad;
}

TEST(StoredNumbers, ShortestTextThatReadsBack) {
    EXPECT_EQ(NumberText(static_cast<double>(0.033f)), "0.032999999821186066");
    EXPECT_EQ(NumberText(100), "100");
    EXPECT_EQ(NumberText(-2.5), "-2.5");
    EXPECT_EQ(NumberText(-0.0), "0");
    EXPECT_EQ(NumberText(1e20), "1e+20");
    for (double v : {0.1, 1.0 / 3, 6.02214076e23, -1e-300, 306.6}) EXPECT_EQ(ParseNumberText(NumberText(v)), v);
    EXPECT_EQ(ParseNumberText("1.5E-3"), 1.5e-3);
    EXPECT_EQ(ParseNumberText("+4"), 4.0);
    for (const char* bad : {"", "abc", "1,5", "1.5x", " 1", "inf", "nan", "1e999"})
        EXPECT_FALSE(ParseNumberText(bad).has_value()) << bad;
}

TEST(StoredTexts, EscapesOfCharactersXmlCannotHold) {
    const std::pair<const char*, const char*> cases[] = {
        {"plain", "plain"},
        {"a\rb", "a_x000D_b"},
        {"tab\tand\nline", "tab\tand\nline"},
        {"bell\x07", "bell_x0007_"},
        {"_x0041_", "_x005F_x0041_"},  // a literal that would read as an escape
        {"_x41_ and _", "_x41_ and _"},
        {"\xC3\xA9t\xC3\xA9", "\xC3\xA9t\xC3\xA9"},
    };
    for (const auto& [text, stored] : cases) {
        EXPECT_EQ(EncodeEscapes(text), stored) << text;
        EXPECT_EQ(DecodeEscapes(stored), text) << stored;
    }
    EXPECT_EQ(DecodeEscapes("_x00e9_"), "\xC3\xA9");
    EXPECT_EQ(DecodeEscapes("_xD83D__xDE00_"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(DecodeEscapes("_xD83D_"), "\xEF\xBF\xBD");
}

TEST(StoredTexts, BytesThatAreNoUtf8BecomeReplacementCharacters) {
    EXPECT_EQ(ValidUtf8("ok \xC3\xA9"), "ok \xC3\xA9");
    EXPECT_EQ(ValidUtf8("\xE9t\xE9"), "\xEF\xBF\xBDt\xEF\xBF\xBD");
    EXPECT_EQ(ValidUtf8("\xC0\xAF"), "\xEF\xBF\xBD\xEF\xBF\xBD");  // overlong
    EXPECT_EQ(ValidUtf8("\xED\xA0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");  // surrogate
    EXPECT_EQ(ValidUtf8("cut \xE2\x82"), "cut \xEF\xBF\xBD\xEF\xBF\xBD");
}

}  // namespace
