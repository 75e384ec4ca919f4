#pragma once
// The user's regional settings for numbers. The decimal separator comes from
// the user's locale (LC_ALL, else LC_NUMERIC, else LANG), read once, without
// touching the process-wide locale: printf and the JSON writer keep '.'.
// Safe to read from any thread.

namespace text {

// The separator that number texts use: the test setting when one is made,
// else the locale's. '.' when the locale names none or an unusable one.
char DecimalSeparator();

// Overrides the locale's separator (tests; ',' must work everywhere).
void SetDecimalSeparator(char separator);

// Drops the override and reads the user's locale again from the environment.
void UseLocaleDecimalSeparator();

// Reads the separator of the user's locale now, from the environment; '.'
// when the locale cannot be loaded or its separator is not a single byte.
char ReadLocaleDecimalSeparator();

// Sets the separator for one scope and restores the previous state after it.
class ScopedDecimalSeparator {
public:
    explicit ScopedDecimalSeparator(char separator);
    ~ScopedDecimalSeparator();
    ScopedDecimalSeparator(const ScopedDecimalSeparator&) = delete;
    ScopedDecimalSeparator& operator=(const ScopedDecimalSeparator&) = delete;

private:
    int previous_;
};

}  // namespace text
