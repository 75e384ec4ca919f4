#pragma once
// Decimal digits of a double, and their rounding half away from zero. The
// general number text (FloatToGeneralText, the JSON writer) and the number
// pictures share this, so both round a number the same way.
#include <string>

namespace text {

// value = (negative ? -1 : 1) * 0.d1 d2 d3 ... * 10^point. digits holds no
// leading or trailing zeros; it is empty for zero, which is never negative.
struct DecimalForm {
    bool negative = false;
    std::string digits;
    int point = 0;

    bool IsZero() const { return digits.empty(); }
};

// The number's 15 significant digits, rounded half away from zero from its
// exact binary value. This is the number's decimal value as the user sees it.
// The value must be finite.
DecimalForm Decimal15(double value);

// Keeps `count` significant digits, rounding half away from zero.
DecimalForm RoundToSignificant(const DecimalForm& form, int count);

// Keeps `decimals` digits after the decimal point, rounding half away from zero.
DecimalForm RoundToDecimals(const DecimalForm& form, int decimals);

// "NAN", "INF" or "-INF".
std::string NonFiniteText(double value);

// General format with at most 15 significant digits and the given separator:
// plain from 0.0001 to below 1e15 and for zero, else "1E20" / "1.5E-5".
std::string FormatGeneral(double value, char separator);

}  // namespace text
