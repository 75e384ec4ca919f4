// The display form of result numbers in the grids and the required-stiffness field.
#include <cmath>

#include "app/DOVEREFORM.h"
#include "platform/text/number_text.h"
#include "platform/text/regional.h"

std::string FormatOutputNumberWith(const TOutputFormats& formats, float value) {
    // Compared in single precision, as the value and the limits are stored.
    const float m = std::fabs(value);
    if (m == 0.0f) return std::string("0") + text::DecimalSeparator();
    if (m < formats.OutputLowLimit) return FormatByPicture(formats.OutputLowPicture, value);
    if (m > formats.OutputHighLimit) return FormatByPicture(formats.OutputHighPicture, value);
    return TrimTrailingZerosOf(FormatByPicture(formats.OutputPlainPicture, value));
}

std::string TrimTrailingZerosOf(std::string text) {
    // Only a point is trimmed: under another decimal separator the plain form keeps
    // its decimal ("12,0").
    if (text.find('.') == std::string::npos) return text;
    while (!text.empty()) {
        const char c = text.back();
        if (c != '0' && c != '.') break;
        text.pop_back();
        if (c == '.') break;  // one point at most
    }
    return text;
}

std::string DOVEREForm::FormatOutputNumber(float value) { return FormatOutputNumberWith(OutputFormats, value); }

std::string DOVEREForm::TrimTrailingZeros(std::string text) { return TrimTrailingZerosOf(std::move(text)); }
