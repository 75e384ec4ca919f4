#include "platform/text/decimal_form.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace text {
namespace {

constexpr int kGeneralDigits = 15;

// The first 1 + `decimals` significant digits of a positive number, as
// printf rounds them, not yet normalised.
DecimalForm PrintedDigits(double magnitude, int decimals) {
    char buffer[800];
    std::snprintf(buffer, sizeof buffer, "%.*e", decimals, magnitude);
    DecimalForm form;
    const char* p = buffer;
    for (; *p != 'e'; ++p) {
        if (*p != '.') form.digits.push_back(*p);
    }
    form.point = std::atoi(p + 1) + 1;
    return form;
}

void Normalise(DecimalForm& form) {
    size_t first = form.digits.find_first_not_of('0');
    if (first == std::string::npos) {
        form = DecimalForm{};
        return;
    }
    form.digits.erase(0, first);
    form.point -= static_cast<int>(first);
    form.digits.erase(form.digits.find_last_not_of('0') + 1);
}

// Keeps the first `keep` digits (any count, also zero or less) and rounds the
// rest away: a dropped first digit of 5 or more rounds the magnitude up.
DecimalForm RoundKeeping(const DecimalForm& form, int keep) {
    if (form.IsZero() || keep >= static_cast<int>(form.digits.size())) return form;
    if (keep < 0) return DecimalForm{};
    DecimalForm result = form;
    bool up = form.digits[keep] >= '5';
    result.digits.resize(keep);
    if (up) {
        int i = keep - 1;
        while (i >= 0 && result.digits[i] == '9') result.digits[i--] = '0';
        if (i >= 0) {
            ++result.digits[i];
        } else {
            result.digits.insert(result.digits.begin(), '1');
            ++result.point;
        }
    }
    Normalise(result);
    return result;
}

DecimalForm ExactDecimal(double magnitude) {
    // 767 significant digits hold the exact value of every double.
    DecimalForm form = PrintedDigits(magnitude, 766);
    Normalise(form);
    return form;
}

}  // namespace

DecimalForm Decimal15(double value) {
    if (value == 0) return DecimalForm{};
    double magnitude = std::fabs(value);
    // 31 correctly rounded digits decide the 16th digit's rounding unless
    // they read exactly 5 followed by zeros, where only the exact value can.
    DecimalForm form = PrintedDigits(magnitude, 30);
    if (form.digits[kGeneralDigits] == '5' &&
        form.digits.find_first_not_of('0', kGeneralDigits + 1) == std::string::npos) {
        form = ExactDecimal(magnitude);
    } else {
        Normalise(form);
    }
    form = RoundKeeping(form, kGeneralDigits);
    form.negative = value < 0 && !form.IsZero();
    return form;
}

DecimalForm RoundToSignificant(const DecimalForm& form, int count) {
    return RoundKeeping(form, count);
}

DecimalForm RoundToDecimals(const DecimalForm& form, int decimals) {
    return RoundKeeping(form, form.point + decimals);
}

std::string NonFiniteText(double value) {
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
}

std::string FormatGeneral(double value, char separator) {
    if (!std::isfinite(value)) return NonFiniteText(value);
    DecimalForm form = Decimal15(value);
    if (form.IsZero()) return "0";
    std::string text = form.negative ? "-" : "";
    const std::string& d = form.digits;
    const int length = static_cast<int>(d.size());
    const int exponent = form.point - 1;
    if (exponent < -4 || exponent >= kGeneralDigits) {
        text += d[0];
        if (length > 1) {
            text += separator;
            text.append(d, 1);
        }
        text += 'E';
        text += std::to_string(exponent);
    } else if (form.point <= 0) {
        text += '0';
        text += separator;
        text.append(-form.point, '0');
        text += d;
    } else if (form.point >= length) {
        text += d;
        text.append(form.point - length, '0');
    } else {
        text.append(d, 0, form.point);
        text += separator;
        text.append(d, form.point);
    }
    return text;
}

}  // namespace text
