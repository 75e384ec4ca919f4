#include <gtest/gtest.h>

#include <cmath>

#include "platform/text/number_text.h"
#include "platform/text/regional.h"

namespace {

struct PictureCase {
    const char* picture;
    double value;
    const char* text;
};

// The pictures the program uses, with the values its result display, range
// messages, request texts and elapsed-time text give them.
TEST(FormatByPicture, PicturesOfTheProgram) {
    const PictureCase cases[] = {
        {"0.0", static_cast<float>(12.34), "12.3"},
        {"0.0", 12.0, "12.0"},
        {"0.0", -12.0, "-12.0"},
        {"0.0", static_cast<float>(0.96), "1.0"},
        {"0.0", 100.0, "100.0"},
        {"0.0", static_cast<float>(0.03), "0.0"},
        {"0.0", static_cast<float>(1e10), "10000000000.0"},
        {"0.000E+00", static_cast<float>(0.004), "4.000E-03"},
        {"0.000E+00", static_cast<float>(-0.004), "-4.000E-03"},
        {"0.000E+00", static_cast<float>(0.00998), "9.980E-03"},
        {"0.000E+00", static_cast<float>(2e10), "2.000E+10"},
        {"0.000E+00", 9.9996, "1.000E+01"},
        {"0.000E+00", 0.0, "0.000E+00"},
        {"0.000E+00", 1e-100, "1.000E-100"},
        {"0.00E+00", 123456, "1.23E+05"},
        {"0.00E+00", -0.000125, "-1.25E-04"},
        {"0.00", 0.0, "0.00"},
        {"0.00", 0.1, "0.10"},
        {"0.00", 12.345, "12.35"},
        {"0.00", -0.001, "0.00"},
        {"0.0000", 0.99995, "1.0000"},
        {"0.0000", static_cast<float>(1.0 / 3), "0.3333"},
        {"0", 2.5, "3"},
        {"0", -2.5, "-3"},
        {"0", 0.4999, "0"},
        {"0", -0.4, "0"},
        {"000", 45, "045"},
        {"000", 1000, "1000"},
        {"000", 0, "000"},
        {"0.#", 12.25, "12.3"},
        {"0.#", 12.0, "12"},
        {"0.#", -0.04, "0"},
        {"0.##", 0.125, "0.13"},
        {"0.##", 1.5, "1.5"},
        {"0.##", static_cast<float>(1.09999), "1.1"},
        {"0.##", static_cast<float>(1.2), "1.2"},
        {"0.##", 1.0, "1"},
        {"0.###", static_cast<float>(0.05), "0.05"},
        {"0.###", 0.0, "0"},
        {"0.####", 1.23456, "1.2346"},
        // The 15-digit decimal value is rounded, not the binary value below it.
        {"0.00", 1.005, "1.01"},
        {"0.##", 0.285, "0.29"},
    };
    text::ScopedDecimalSeparator dot('.');
    for (const auto& c : cases) {
        EXPECT_EQ(FormatByPicture(c.picture, c.value), c.text)
            << c.picture << " with " << FloatToGeneralText(c.value);
    }
}

TEST(FormatByPicture, UsesTheRegionalSeparator) {
    text::ScopedDecimalSeparator comma(',');
    EXPECT_EQ(FormatByPicture("0.0", 12.34), "12,3");
    EXPECT_EQ(FormatByPicture("0.000E+00", 0.004), "4,000E-03");
    EXPECT_EQ(FormatByPicture("0.#", 12.0), "12");
    EXPECT_EQ(FormatByPicture("0.00", 0.0), "0,00");
}

TEST(FormatByPicture, OptionalAndSignedForms) {
    text::ScopedDecimalSeparator dot('.');
    EXPECT_EQ(FormatByPicture("#.##", 0.5), ".5");
    EXPECT_EQ(FormatByPicture("#", 0.0), "");
    EXPECT_EQ(FormatByPicture("0.00E-00", 1234), "1.23E03");
    EXPECT_EQ(FormatByPicture("0.00E-00", 0.01234), "1.23E-02");
    EXPECT_EQ(FormatByPicture("00.0E+0", 1234), "12.3E+2");
}

TEST(FormatByPicture, NonFiniteValuesHaveDefinedTexts) {
    for (const char* picture : {"0.0", "0.000E+00", "000"}) {
        EXPECT_EQ(FormatByPicture(picture, std::nan("")), "NAN");
        EXPECT_EQ(FormatByPicture(picture, HUGE_VAL), "INF");
        EXPECT_EQ(FormatByPicture(picture, -HUGE_VAL), "-INF");
    }
}

TEST(FormatByPicture, RejectsPicturesItCannotFollow) {
    for (const char* picture : {"", ".", "0,0", "#,##0", "0.0x", "0.0E", "0.0E0", "0;0"}) {
        EXPECT_THROW(FormatByPicture(picture, 1.0), Exception) << picture;
    }
}

}  // namespace
