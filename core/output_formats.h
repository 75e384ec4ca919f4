#pragma once
// Thresholds and pictures of the display form of result numbers.
#include <string>

struct TOutputFormats {
    float OutputHighLimit = 0.0f;
    float OutputLowLimit = 0.0f;
    std::string OutputLowPicture;
    std::string OutputHighPicture;
    std::string OutputPlainPicture;
};

// The display form of a result number under these formats, with the user's decimal
// separator: "0." (or "0," under a decimal comma) for zero, the low or high picture
// beyond the limits, else the plain picture without a trailing zero and separator.
std::string FormatOutputNumberWith(const TOutputFormats& formats, float value);
// Drops the trailing zeros of a fraction, then a bare separator (the user's).
std::string TrimTrailingZerosOf(std::string text);
