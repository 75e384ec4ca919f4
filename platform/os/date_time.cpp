#include "platform/os/date_time.h"

#include <langinfo.h>
#include <locale.h>

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace os {
namespace {

struct LocaleDeleter {
    void operator()(void* locale) const { freelocale(static_cast<locale_t>(locale)); }
};
using LocaleHandle = std::unique_ptr<void, LocaleDeleter>;

std::mutex mutex;
LocaleHandle time_locale;
bool time_locale_read = false;
std::optional<std::chrono::system_clock::time_point> test_now;

LocaleHandle LoadTimeLocale() {
    // An empty name makes newlocale resolve LC_ALL / LC_TIME / LANG itself.
    locale_t locale = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
    if (locale == static_cast<locale_t>(0)) {
        locale = newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(0));
    }
    return LocaleHandle(locale);
}

locale_t TimeLocale() {
    if (!time_locale_read) {
        time_locale = LoadTimeLocale();
        time_locale_read = true;
    }
    return static_cast<locale_t>(time_locale.get());
}

std::string FormatIn(locale_t locale, const std::string& format, const std::tm& local) {
    if (format.empty()) return {};
    std::vector<char> buffer(128);
    for (;;) {
        size_t length = strftime_l(buffer.data(), buffer.size(), format.c_str(), &local, locale);
        if (length > 0 || buffer.size() > 4096) return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

std::string DateTimeText(const std::tm& local) {
    std::lock_guard lock(mutex);
    locale_t locale = TimeLocale();
    if (locale == static_cast<locale_t>(0)) {
        return FormatIn(LC_GLOBAL_LOCALE, "%x %X", local);
    }
    std::string date = FormatIn(locale, nl_langinfo_l(D_FMT, locale), local);
    std::string time = FormatIn(locale, nl_langinfo_l(T_FMT, locale), local);
    if (date.empty()) return time;
    if (time.empty()) return date;
    return date + " " + time;
}

std::string NowAsText() {
    std::chrono::system_clock::time_point moment;
    {
        std::lock_guard lock(mutex);
        moment = test_now.value_or(std::chrono::system_clock::now());
    }
    std::time_t seconds = std::chrono::system_clock::to_time_t(moment);
    std::tm local{};
    localtime_r(&seconds, &local);
    return DateTimeText(local);
}

void ReadTimeLocale() {
    std::lock_guard lock(mutex);
    time_locale = LoadTimeLocale();
    time_locale_read = true;
}

void SetTestNow(std::chrono::system_clock::time_point moment) {
    std::lock_guard lock(mutex);
    test_now = moment;
}

void UseRealNow() {
    std::lock_guard lock(mutex);
    test_now.reset();
}

}  // namespace os
