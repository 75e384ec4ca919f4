#include "platform/text/number_text.h"

#include <locale.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string_view>

#include "platform/text/decimal_form.h"
#include "platform/text/regional.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The text between its leading and trailing spaces.
std::string_view TrimBlanks(const std::string& text) {
    std::string_view view(text);
    size_t first = view.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    size_t last = view.find_last_not_of(' ');
    return view.substr(first, last - first + 1);
}

[[noreturn]] void FailInteger(const std::string& text) {
    throw EConvertError("'" + text + "' is not a valid integer value");
}

[[noreturn]] void FailFloat(const std::string& text) {
    throw EConvertError("'" + text + "' is not a valid floating point value");
}

locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return c;
}

struct Picture {
    int integer_placeholders = 0;
    int integer_required = 0;
    int fraction_placeholders = 0;
    int fraction_required = 0;
    bool scientific = false;
    bool exponent_sign_always = false;
    int exponent_digits = 0;
};

Picture ParsePicture(const std::string& text) {
    Picture picture;
    size_t i = 0;
    bool seen_zero = false;
    for (; i < text.size() && (text[i] == '0' || text[i] == '#'); ++i) {
        ++picture.integer_placeholders;
        seen_zero = seen_zero || text[i] == '0';
        if (seen_zero) ++picture.integer_required;
    }
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && (text[i] == '0' || text[i] == '#'); ++i) {
            ++picture.fraction_placeholders;
            if (text[i] == '0') picture.fraction_required = picture.fraction_placeholders;
        }
    }
    if (i + 1 < text.size() && (text[i] == 'E' || text[i] == 'e') &&
        (text[i + 1] == '+' || text[i + 1] == '-')) {
        picture.scientific = true;
        picture.exponent_sign_always = text[i + 1] == '+';
        for (i += 2; i < text.size() && text[i] == '0'; ++i) ++picture.exponent_digits;
    }
    if (i != text.size() || picture.integer_placeholders + picture.fraction_placeholders == 0) {
        throw Exception("Unsupported number picture '" + text + "'");
    }
    return picture;
}

// The digit at position `index` (0 = first after "0.") of a decimal form.
char DigitAt(const text::DecimalForm& form, int index) {
    return index >= 0 && index < static_cast<int>(form.digits.size()) ? form.digits[index] : '0';
}

// Fraction digits, trailing zeros dropped down to the required count.
std::string TrimFraction(std::string fraction, int required) {
    while (static_cast<int>(fraction.size()) > required && fraction.back() == '0') {
        fraction.pop_back();
    }
    return fraction;
}

std::string JoinNumber(bool negative, const std::string& integer, const std::string& fraction) {
    std::string out = negative ? "-" : "";
    out += integer;
    if (!fraction.empty()) {
        out += text::DecimalSeparator();
        out += fraction;
    }
    return out;
}

std::string FormatFixed(const Picture& picture, double value) {
    text::DecimalForm form =
        text::RoundToDecimals(text::Decimal15(value), picture.fraction_placeholders);
    std::string integer;
    for (int i = 0; i < form.point; ++i) integer += DigitAt(form, i);
    if (static_cast<int>(integer.size()) < picture.integer_required) {
        integer.insert(0, picture.integer_required - integer.size(), '0');
    }
    std::string fraction;
    for (int i = 0; i < picture.fraction_placeholders; ++i) fraction += DigitAt(form, form.point + i);
    return JoinNumber(form.negative, integer, TrimFraction(fraction, picture.fraction_required));
}

std::string FormatScientific(const Picture& picture, double value) {
    const int integer_digits = std::max(1, picture.integer_placeholders);
    text::DecimalForm form = text::RoundToSignificant(
        text::Decimal15(value), integer_digits + picture.fraction_placeholders);
    const int exponent = form.IsZero() ? 0 : form.point - integer_digits;
    std::string integer;
    std::string fraction;
    for (int i = 0; i < integer_digits; ++i) integer += DigitAt(form, i);
    for (int i = 0; i < picture.fraction_placeholders; ++i) fraction += DigitAt(form, integer_digits + i);
    std::string out = JoinNumber(form.negative, integer, TrimFraction(fraction, picture.fraction_required));
    out += 'E';
    if (exponent < 0) {
        out += '-';
    } else if (picture.exponent_sign_always) {
        out += '+';
    }
    std::string digits = std::to_string(std::abs(exponent));
    if (static_cast<int>(digits.size()) < picture.exponent_digits) {
        digits.insert(0, picture.exponent_digits - digits.size(), '0');
    }
    return out + digits;
}

}  // namespace

int ParseIntegerText(const std::string& text) {
    std::string_view s = TrimBlanks(text);
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    if (i == s.size()) FailInteger(text);
    long long magnitude = 0;
    for (; i < s.size(); ++i) {
        if (!IsDigit(s[i])) FailInteger(text);
        magnitude = magnitude * 10 + (s[i] - '0');
        if (magnitude > static_cast<long long>(INT_MAX) + 1) FailInteger(text);
    }
    long long value = negative ? -magnitude : magnitude;
    if (value > INT_MAX || value < INT_MIN) FailInteger(text);
    return static_cast<int>(value);
}

static double ParseFloatWith(const std::string& text, char separator) {
    std::string_view s = TrimBlanks(text);
    std::string plain;  // the same number with '.' for the C conversion
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) plain += s[i++];
    int mantissa_digits = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i, ++mantissa_digits) plain += s[i];
    if (i < s.size() && s[i] == separator) {
        plain += '.';
        for (++i; i < s.size() && IsDigit(s[i]); ++i, ++mantissa_digits) plain += s[i];
    }
    if (mantissa_digits == 0) FailFloat(text);
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        plain += 'e';
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) plain += s[i++];
        int exponent_digits = 0;
        for (; i < s.size() && IsDigit(s[i]); ++i, ++exponent_digits) plain += s[i];
        if (exponent_digits == 0) FailFloat(text);
    }
    if (i != s.size()) FailFloat(text);
    double value = strtod_l(plain.c_str(), nullptr, CLocale());
    // Underflow gives zero or a tiny number, which is fine; overflow is not.
    if (!std::isfinite(value)) FailFloat(text);
    return value;
}

double ParseFloatText(const std::string& text) { return ParseFloatWith(text, text::DecimalSeparator()); }

double ParseServiceFloatText(const std::string& text) { return ParseFloatWith(text, '.'); }

// The number text with its one separator `from` written as `to`; any other text
// as it is.
static std::string ConvertSeparator(const std::string& text, char from, char to) {
    if (from == to) return text;
    try {
        ParseFloatWith(text, from);
    } catch (const EConvertError&) {
        return text;
    }
    std::string converted = text;
    const size_t at = converted.find(from);
    if (at != std::string::npos) converted[at] = to;
    return converted;
}

std::string ServiceToUserNumberText(const std::string& text) {
    return ConvertSeparator(text, '.', text::DecimalSeparator());
}

std::string UserToServiceNumberText(const std::string& text) {
    return ConvertSeparator(text, text::DecimalSeparator(), '.');
}

std::string FloatToGeneralText(double value) {
    return text::FormatGeneral(value, text::DecimalSeparator());
}

std::string FormatByPicture(const std::string& picture, double value) {
    Picture parsed = ParsePicture(picture);
    if (!std::isfinite(value)) return text::NonFiniteText(value);
    return parsed.scientific ? FormatScientific(parsed, value) : FormatFixed(parsed, value);
}

bool FitsSingle(double value) {
    return std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max();
}

float NarrowToSingle(double value, const std::string& text) {
    if (!FitsSingle(value)) FailFloat(text);
    return static_cast<float>(value);
}

float ParseSingleText(const std::string& text) { return NarrowToSingle(ParseFloatText(text), text); }
