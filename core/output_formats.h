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

// The display form of a result number under these formats: "0." for zero, the low
// or high picture beyond the limits, else the plain picture without a trailing
// zero and point.
std::string FormatOutputNumberWith(const TOutputFormats& formats, float value);
std::string TrimTrailingZerosOf(std::string text);
