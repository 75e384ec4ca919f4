#include "platform/text/regional.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/text/number_text.h"
#include "support/locale_environment.h"

namespace {

using test_support::LocaleEnvironment;

class RegionalTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!locales_.available()) GTEST_SKIP() << "localedef or the locale sources are missing";
    }
    void TearDown() override { text::UseLocaleDecimalSeparator(); }

    LocaleEnvironment locales_{{"de_DE.UTF-8", "en_US.UTF-8"}};
};

TEST_F(RegionalTest, SeparatorFollowsTheLocaleVariablesInTheirOrder) {
    struct Case {
        const char* lc_all;
        const char* lc_numeric;
        const char* lang;
        char separator;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, '.'},
        {nullptr, nullptr, "de_DE.UTF-8", ','},
        {nullptr, "de_DE.UTF-8", "en_US.UTF-8", ','},
        {nullptr, "en_US.UTF-8", "de_DE.UTF-8", '.'},
        {"de_DE.UTF-8", "en_US.UTF-8", nullptr, ','},
        {"C", "de_DE.UTF-8", nullptr, '.'},
        {nullptr, nullptr, "xx_NOWHERE.UTF-8", '.'},
    };
    for (const auto& c : cases) {
        for (auto [name, value] : {std::pair{"LC_ALL", c.lc_all}, {"LC_NUMERIC", c.lc_numeric},
                                   {"LANG", c.lang}}) {
            if (value) {
                locales_.Set(name, value);
            } else {
                locales_.Unset(name);
            }
        }
        EXPECT_EQ(text::ReadLocaleDecimalSeparator(), c.separator)
            << (c.lc_all ? c.lc_all : "-") << " " << (c.lc_numeric ? c.lc_numeric : "-") << " "
            << (c.lang ? c.lang : "-");
    }
}

TEST_F(RegionalTest, ConversionsUseTheLocaleSeparatorAndLeaveTheProcessLocaleAlone) {
    locales_.Set("LC_NUMERIC", "de_DE.UTF-8");
    text::UseLocaleDecimalSeparator();
    EXPECT_EQ(text::DecimalSeparator(), ',');
    EXPECT_EQ(ParseFloatText("4000,5"), 4000.5);
    EXPECT_THROW(ParseFloatText("4000.5"), EConvertError);
    EXPECT_EQ(FormatByPicture("0.00", 1.5), "1,50");
    EXPECT_EQ(FloatToGeneralText(0.125), "0,125");

    char printed[16];
    std::snprintf(printed, sizeof printed, "%.1f", 1.5);
    EXPECT_EQ(std::string(printed), "1.5");
}

TEST_F(RegionalTest, TestSettingOverridesAndRestores) {
    locales_.Set("LC_NUMERIC", "de_DE.UTF-8");
    text::UseLocaleDecimalSeparator();
    {
        text::ScopedDecimalSeparator dot('.');
        EXPECT_EQ(text::DecimalSeparator(), '.');
        {
            text::ScopedDecimalSeparator comma(',');
            EXPECT_EQ(text::DecimalSeparator(), ',');
        }
        EXPECT_EQ(text::DecimalSeparator(), '.');
    }
    EXPECT_EQ(text::DecimalSeparator(), ',');

    text::SetDecimalSeparator('.');
    EXPECT_EQ(text::DecimalSeparator(), '.');
    text::UseLocaleDecimalSeparator();
    EXPECT_EQ(text::DecimalSeparator(), ',');
}

}  // namespace
