#include "platform/text/number_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "platform/text/code_page.h"
#include "platform/text/regional.h"

namespace {

struct IntegerCase {
    const char* text;
    int value;
};

TEST(ParseIntegerText, AcceptsDecimalIntegersWithSignAndBlanks) {
    const IntegerCase cases[] = {
        {"0", 0},           {"2000", 2000},          {"-15", -15},
        {"+7", 7},          {"  42  ", 42},          {"007", 7},
        {"-0", 0},          {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseIntegerText(c.text), c.value) << c.text;
}

TEST(ParseIntegerText, RejectsEverythingElseWithTheTextInTheMessage) {
    const char* cases[] = {
        "", "   ", "+", "-", "1.0", "320.5", "12a", "1 2", "- 1", "+-1", "2147483648",
        "-2147483649", "99999999999999999999", "0x10", "$10", "\t5", "5\n", "1e3", "1,000",
    };
    for (const char* text : cases) {
        try {
            ParseIntegerText(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), "'" + std::string(text) + "' is not a valid integer value");
        }
    }
}

struct FloatCase {
    const char* text;
    double value;
};

TEST(ParseFloatText, AcceptsNumbersWithTheRegionalSeparator) {
    const FloatCase dot_cases[] = {
        {"0", 0},          {"4000.5", 4000.5}, {"-2.5", -2.5},    {"+0.033", 0.033},
        {" 1.5 ", 1.5},    {".5", 0.5},        {"5.", 5},         {"1E-5", 1e-5},
        {"1e+3", 1000},    {"2.5E3", 2500},    {"007.25", 7.25},  {"1e-400", 0},
        {"1.7976931348623157e308", DBL_MAX},
    };
    text::ScopedDecimalSeparator dot('.');
    for (const auto& c : dot_cases) EXPECT_EQ(ParseFloatText(c.text), c.value) << c.text;

    const FloatCase comma_cases[] = {
        {"4000,5", 4000.5}, {"-0,033", -0.033}, {",5", 0.5}, {"1,5E-5", 1.5e-5}, {"12", 12},
        // The display forms of results: zero and a kept zero decimal.
        {"0,", 0},          {"12,0", 12},       {"-12,0", -12},
    };
    text::ScopedDecimalSeparator comma(',');
    for (const auto& c : comma_cases) EXPECT_EQ(ParseFloatText(c.text), c.value) << c.text;
}

TEST(ParseFloatText, RejectsOtherTextsAndTheOtherSeparator) {
    struct Case {
        char separator;
        const char* text;
    };
    const Case cases[] = {
        {'.', "1,5"},  {',', "1.5"},  {'.', ""},      {'.', "  "},     {'.', "."},
        {'.', "-"},    {'.', "e5"},   {'.', "1e"},    {'.', "1e+"},    {'.', "1.2.3"},
        {'.', "inf"},  {'.', "NAN"},  {'.', "0x1p3"}, {'.', "--1"},    {'.', "1 .5"},
        {'.', "1e400"}, {'.', "-1e400"}, {'.', "12a"}, {'.', "\t1"},   {',', "1,2,3"},
    };
    for (const auto& c : cases) {
        text::ScopedDecimalSeparator separator(c.separator);
        try {
            ParseFloatText(c.text);
            ADD_FAILURE() << "accepted '" << c.text << "' with '" << c.separator << "'";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(),
                      "'" + std::string(c.text) + "' is not a valid floating point value");
        }
    }
}

TEST(ParseServiceFloatText, ReadsAPointWhateverTheRegionalSeparator) {
    for (const char separator : {'.', ','}) {
        SCOPED_TRACE(separator);
        text::ScopedDecimalSeparator regional(separator);
        const FloatCase cases[] = {{"921.0", 921}, {"420.5", 420.5}, {" -0.033 ", -0.033}, {"1.5E-5", 1.5e-5}, {"12", 12}};
        for (const auto& c : cases) EXPECT_EQ(ParseServiceFloatText(c.text), c.value) << c.text;
        for (const char* text : {"420,5", "", "1.2.3", "abc", "1e400"}) {
            try {
                ParseServiceFloatText(text);
                ADD_FAILURE() << "accepted '" << text << "'";
            } catch (const EConvertError& e) {
                EXPECT_EQ(e.Message(), "'" + std::string(text) + "' is not a valid floating point value");
            }
        }
    }
}

TEST(NumberTextForms, ANumberChangesItsSeparatorAndAnyOtherTextStaysAsItIs) {
    struct Case {
        const char* service;
        const char* user;  // under a decimal comma
    };
    const Case numbers[] = {
        {"0.033", "0,033"}, {"-1.2", "-1,2"}, {" 1.15 ", " 1,15 "}, {"1.5E-5", "1,5E-5"},
        {".5", ",5"},       {"5.", "5,"},     {"2000", "2000"},     {"1E20", "1E20"},
    };
    const char* others[] = {"", "H594x302x14x23", "db x wb x tw x tf", "1.2.3", "tg = tc", "Auto (tg >= tc)", "1e400"};
    {
        text::ScopedDecimalSeparator comma(',');
        for (const Case& c : numbers) {
            EXPECT_EQ(ServiceToUserNumberText(c.service), c.user) << c.service;
            EXPECT_EQ(UserToServiceNumberText(c.user), c.service) << c.user;
            EXPECT_EQ(ParseFloatText(ServiceToUserNumberText(c.service)), ParseServiceFloatText(c.service));
        }
        for (const char* text : others) {
            EXPECT_EQ(ServiceToUserNumberText(text), text);
            EXPECT_EQ(UserToServiceNumberText(text), text);
        }
        EXPECT_EQ(ServiceToUserNumberText("1,5"), "1,5") << "not a number of the service's form";
        EXPECT_EQ(UserToServiceNumberText("1.5"), "1.5") << "not a number of the user's form";
    }
    text::ScopedDecimalSeparator point('.');
    for (const Case& c : numbers) {
        EXPECT_EQ(ServiceToUserNumberText(c.service), c.service);
        EXPECT_EQ(UserToServiceNumberText(c.service), c.service);
    }
    EXPECT_EQ(UserToServiceNumberText("1,5"), "1,5");
}

struct GeneralCase {
    double value;
    const char* text;
};

TEST(FloatToGeneralText, FifteenDigitsPlainOrExponent) {
    const GeneralCase cases[] = {
        {static_cast<double>(306.6f), "306.600006103516"},
        {0.0, "0"},
        {-0.0, "0"},
        {2000, "2000"},
        {0.125, "0.125"},
        {-12.5, "-12.5"},
        {static_cast<double>(1.09999f), "1.09999001026154"},
        {static_cast<double>(1.2f), "1.20000004768372"},
        {static_cast<double>(0.05f), "0.0500000007450581"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {0.0001, "0.0001"},
        {0.00001, "1E-5"},
        {1.5e-5, "1.5E-5"},
        {-1.5e-7, "-1.5E-7"},
        {123456789012345, "123456789012345"},
        {1e15, "1E15"},
        {999999999999999.9, "1E15"},
        {1e20, "1E20"},
        // Exact halves round away from zero, unlike printf.
        {100000000000000.5, "100000000000001"},
        {-1000000000000005, "-1.00000000000001E15"},
        {DBL_MAX, "1.79769313486232E308"},
        {std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
        {std::nan(""), "NAN"},
        {HUGE_VAL, "INF"},
        {-HUGE_VAL, "-INF"},
    };
    text::ScopedDecimalSeparator dot('.');
    for (const auto& c : cases) EXPECT_EQ(FloatToGeneralText(c.value), c.text) << c.text;
}

TEST(FloatToGeneralText, UsesTheRegionalSeparator) {
    text::ScopedDecimalSeparator comma(',');
    EXPECT_EQ(FloatToGeneralText(static_cast<double>(306.6f)), "306,600006103516");
    EXPECT_EQ(FloatToGeneralText(1.5e-5), "1,5E-5");
    EXPECT_EQ(FloatToGeneralText(0.125), "0,125");
    EXPECT_EQ(FloatToGeneralText(8), "8");
}

TEST(ToSystemCodePage, StopsAtTheFirstNulAndKeepsUtf8) {
    EXPECT_EQ(text::ToSystemCodePage(std::string("abc\0def", 7)), "abc");
    EXPECT_EQ(text::ToSystemCodePage(std::string("\0x", 2)), "");
    EXPECT_EQ(text::ToSystemCodePage("\xCE\xA9h \xCE\xB2"), "\xCE\xA9h \xCE\xB2");
    EXPECT_EQ(text::ToSystemCodePage(""), "");
}

TEST(ParseSingleText, NumbersBeyondSinglePrecisionRaiseTheConversionErrorWithTheText) {
    const std::string digits45(45, '9');
    struct Case {
        std::string text;
        bool fits;
    };
    const Case cases[] = {
        {"3.4028234e38", true},  {"-3.4028234e38", true}, {"1e-50", true},   {"0", true},
        {"3.4028236e38", false}, {"-3.5e38", false},      {"1e39", false},   {digits45, false},
        {"-" + digits45, false}, {"1e300", false},
    };
    text::ScopedDecimalSeparator point('.');
    for (const Case& c : cases) {
        EXPECT_EQ(FitsSingle(ParseFloatText(c.text)), c.fits) << c.text;
        if (c.fits) {
            EXPECT_EQ(ParseSingleText(c.text), static_cast<float>(ParseFloatText(c.text))) << c.text;
            continue;
        }
        try {
            ParseSingleText(c.text);
            ADD_FAILURE() << "accepted '" << c.text << "'";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), "'" + c.text + "' is not a valid floating point value");
        }
    }
    EXPECT_EQ(ParseSingleText(" 1e-50 "), 0.0f) << "below the range it rounds to zero";
    EXPECT_FALSE(FitsSingle(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(FitsSingle(std::nan("")));
    EXPECT_TRUE(FitsSingle(FLT_MAX));
    EXPECT_FALSE(FitsSingle(std::nextafter(static_cast<double>(FLT_MAX), 1e300)));
}

}  // namespace
