#include <gtest/gtest.h>

#include "core/output_formats.h"
#include "platform/text/regional.h"

namespace {

TOutputFormats WindowFormats() {
    TOutputFormats f;
    f.OutputHighLimit = 1e10f;
    f.OutputLowLimit = 0.00999f;
    f.OutputLowPicture = "0.000E+00";
    f.OutputHighPicture = "0.000E+00";
    f.OutputPlainPicture = "0.0";
    return f;
}

struct Case {
    float value;
    const char* text;
};

TEST(FormatOutputNumber, GivesTheDisplayFormOfEachMagnitude) {
    text::ScopedDecimalSeparator dot('.');
    const Case cases[] = {
        {0.0f, "0."},          {-0.0f, "0."},          {12.34f, "12.3"},       {12.0f, "12"},
        {-12.0f, "-12"},       {0.96f, "1"},           {100.0f, "100"},        {0.03f, "0"},
        {0.004f, "4.000E-03"}, {-0.004f, "-4.000E-03"}, {0.00998f, "9.980E-03"}, {1e10f, "10000000000"},
        {2e10f, "2.000E+10"},  {0.00999f, "0"},        {72.19f, "72.2"},
    };
    const auto formats = WindowFormats();
    for (const auto& c : cases) EXPECT_EQ(FormatOutputNumberWith(formats, c.value), c.text) << c.value;
}

TEST(FormatOutputNumber, WritesTheUserSeparatorAndKeepsTheDecimalUnderAComma) {
    text::ScopedDecimalSeparator comma(',');
    const Case cases[] = {
        {0.0f, "0,"},          {12.0f, "12,0"},       {-12.0f, "-12,0"},    {12.34f, "12,3"},
        {-0.5f, "-0,5"},       {0.96f, "1,0"},        {0.03f, "0,0"},       {100.0f, "100,0"},
        {0.004f, "4,000E-03"}, {2e10f, "2,000E+10"},  {1e10f, "10000000000,0"},
    };
    const auto formats = WindowFormats();
    for (const auto& c : cases) EXPECT_EQ(FormatOutputNumberWith(formats, c.value), c.text) << c.value;
}

TEST(TrimTrailingZeros, TrimsOnlyAfterAPointAndStopsAfterIt) {
    struct TrimCase {
        char separator;
        const char* text;
        const char* trimmed;
    };
    const TrimCase cases[] = {
        {'.', "120", "120"},   {'.', "12.50", "12.5"}, {'.', "10.0", "10"},  {'.', "100.000", "100"},
        {'.', "0.0", "0"},     {'.', "10.00", "10"},
        {',', "10,0", "10,0"}, {',', "12,50", "12,50"}, {',', "120", "120"}, {',', "10.0", "10"},
    };
    for (const auto& c : cases) {
        text::ScopedDecimalSeparator separator(c.separator);
        EXPECT_EQ(TrimTrailingZerosOf(c.text), c.trimmed) << c.text << " with '" << c.separator << "'";
    }
}

}  // namespace
