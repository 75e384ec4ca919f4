#include "platform/os/date_time.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "support/locale_environment.h"

namespace {

using test_support::LocaleEnvironment;

std::tm Moment() {
    std::tm t{};
    t.tm_year = 2021 - 1900;
    t.tm_mon = 5;
    t.tm_mday = 25;
    t.tm_hour = 15;
    t.tm_min = 4;
    t.tm_sec = 5;
    t.tm_wday = 5;
    t.tm_yday = 175;
    return t;
}

class DateTimeTest : public ::testing::Test {
protected:
    void TearDown() override { os::ReadTimeLocale(); }
    LocaleEnvironment locales_{{"de_DE.UTF-8", "en_US.UTF-8"}};
};

TEST_F(DateTimeTest, ShortDateThenLongTimeOfTheUsersLocale) {
    if (!locales_.available()) GTEST_SKIP() << "localedef or the locale sources are missing";
    struct Case {
        const char* lc_all;
        const char* lc_time;
        const char* lang;
        const char* text;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, "06/25/21 15:04:05"},
        {nullptr, "en_US.UTF-8", nullptr, "06/25/2021 03:04:05 PM"},
        {nullptr, "de_DE.UTF-8", "en_US.UTF-8", "25.06.2021 15:04:05"},
        {nullptr, nullptr, "de_DE.UTF-8", "25.06.2021 15:04:05"},
        {"en_US.UTF-8", "de_DE.UTF-8", nullptr, "06/25/2021 03:04:05 PM"},
        {"xx_NOWHERE.UTF-8", nullptr, nullptr, "06/25/21 15:04:05"},
    };
    for (const auto& c : cases) {
        for (auto [name, value] :
             {std::pair{"LC_ALL", c.lc_all}, {"LC_TIME", c.lc_time}, {"LANG", c.lang}}) {
            if (value) {
                locales_.Set(name, value);
            } else {
                locales_.Unset(name);
            }
        }
        os::ReadTimeLocale();
        EXPECT_EQ(os::DateTimeText(Moment()), c.text) << c.text;
    }
}

TEST_F(DateTimeTest, NowFollowsTheTestClockInLocalTime) {
    const char* saved = std::getenv("TZ");
    std::optional<std::string> saved_tz = saved ? std::optional<std::string>(saved) : std::nullopt;
    setenv("TZ", "UTC0", 1);
    tzset();
    os::ReadTimeLocale();  // the C locale: no locale variable is set

    using namespace std::chrono;
    os::SetTestNow(sys_days{year{2021} / June / 25} + hours{15} + minutes{4} + seconds{5});
    EXPECT_EQ(os::NowAsText(), "06/25/21 15:04:05");
    setenv("TZ", "XST-2", 1);  // two hours east of UTC
    tzset();
    EXPECT_EQ(os::NowAsText(), "06/25/21 17:04:05");
    os::UseRealNow();
    EXPECT_NE(os::NowAsText(), "06/25/21 17:04:05");

    if (saved_tz) {
        setenv("TZ", saved_tz->c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}

}  // namespace
