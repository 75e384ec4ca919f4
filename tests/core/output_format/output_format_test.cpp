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

TEST(FormatOutputNumber, KeepsTheTrailingZeroUnderAnotherSeparator) {
    text::ScopedDecimalSeparator comma(',');
    EXPECT_EQ(FormatOutputNumberWith(WindowFormats(), 12.0f), "12,0");
}

TEST(TrimTrailingZeros, StopsAfterOnePoint) {
    const Case cases[] = {{0, "120"}, {0, "12.50"}, {0, "10.0"}, {0, "100.000"}};
    const char* expected[] = {"120", "12.5", "10", "100"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(TrimTrailingZerosOf(cases[i].text), expected[i]);
}

}  // namespace
