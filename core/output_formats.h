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
