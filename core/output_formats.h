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
// beyond the limits, else the plain picture, without a trailing zero and point when
// the separator is a point ("12" for 12.0, but "12,0" under a decimal comma).
std::string FormatOutputNumberWith(const TOutputFormats& formats, float value);
// Drops the trailing zeros after a point, then the bare point; a text without a
// point stays as it is.
std::string TrimTrailingZerosOf(std::string text);
