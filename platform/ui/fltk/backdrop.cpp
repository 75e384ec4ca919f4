#include "platform/ui/fltk/backdrop.h"

#include <algorithm>
#include <cmath>

namespace ui {
namespace {

constexpr int kGrid = 32;          // pixels between grid lines
constexpr double kLight = 0.03;    // lighter at the top, darker at the bottom by this much
constexpr double kLine = 0.04;     // grid lines this much towards white

std::uint8_t Mix(double value, double target, double amount) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(value + (target - value) * amount, 0.0, 255.0)));
}

}  // namespace

PixelImage CalmBackdrop(int width, int height, TColor base) {
    PixelImage image;
    if (width <= 0 || height <= 0) return image;
    image.width = width;
    image.height = height;
    image.rgba.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    const Rgb rgb = ColorToRgb(base);
    for (int y = 0; y < height; ++y) {
        // From kLight towards white at the top to kLight towards black at the bottom.
        const double t = height > 1 ? static_cast<double>(y) / (height - 1) : 0.5;
        const double shade = kLight * (1.0 - 2.0 * t);
        const double target = shade >= 0 ? 255.0 : 0.0;
        const double amount = std::abs(shade);
        const double r = rgb.r + (target - rgb.r) * amount;
        const double g = rgb.g + (target - rgb.g) * amount;
        const double b = rgb.b + (target - rgb.b) * amount;
        for (int x = 0; x < width; ++x) {
            const bool line = x % kGrid == 0 || y % kGrid == 0;
            const double a = line ? kLine : 0.0;
            std::uint8_t* p = &image.rgba[(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4];
            p[0] = Mix(r, 255.0, a);
            p[1] = Mix(g, 255.0, a);
            p[2] = Mix(b, 255.0, a);
            p[3] = 255;
        }
    }
    return image;
}

}  // namespace ui
