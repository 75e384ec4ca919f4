#include "platform/text/regional.h"

#include <langinfo.h>
#include <locale.h>

#include <atomic>
#include <cstring>

namespace text {
namespace {

constexpr int kNoOverride = -1;

std::atomic<int> override_separator{kNoOverride};
std::atomic<int> locale_separator{kNoOverride};

char CachedLocaleSeparator() {
    int value = locale_separator.load();
    if (value == kNoOverride) {
        value = static_cast<unsigned char>(ReadLocaleDecimalSeparator());
        locale_separator.store(value);
    }
    return static_cast<char>(value);
}

}  // namespace

char ReadLocaleDecimalSeparator() {
    // An empty name makes newlocale resolve LC_ALL / LC_NUMERIC / LANG itself.
    locale_t locale = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
    if (locale == static_cast<locale_t>(0)) return '.';
    const char* radix = nl_langinfo_l(RADIXCHAR, locale);
    char separator = '.';
    if (radix != nullptr && std::strlen(radix) == 1) separator = radix[0];
    freelocale(locale);
    return separator;
}

char DecimalSeparator() {
    int value = override_separator.load();
    if (value != kNoOverride) return static_cast<char>(value);
    return CachedLocaleSeparator();
}

void SetDecimalSeparator(char separator) {
    override_separator.store(static_cast<unsigned char>(separator));
}

void UseLocaleDecimalSeparator() {
    override_separator.store(kNoOverride);
    locale_separator.store(static_cast<unsigned char>(ReadLocaleDecimalSeparator()));
}

ScopedDecimalSeparator::ScopedDecimalSeparator(char separator) : previous_(override_separator.load()) {
    SetDecimalSeparator(separator);
}

ScopedDecimalSeparator::~ScopedDecimalSeparator() { override_separator.store(previous_); }

}  // namespace text
