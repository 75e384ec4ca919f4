#pragma once
// Drawing state of the two views that the main window holds.
#include <cstdint>
#include <map>
#include <string>

#include "platform/gl/wgl.h"

struct TGlColor {
    float R = 0.0f, G = 0.0f, B = 0.0f, A = 1.0f;
    bool operator==(const TGlColor&) const = default;
};

// Colours of every drawn part of both views, by role, and the dash of dashed lines.
struct TGlPalette {
    TGlColor BackgroundColor;
    TGlColor OutlineColor;
    TGlColor LeftColumnColor;
    TGlColor RightColumnColor;
    TGlColor UpperBeamColor;
    TGlColor LowerBeamColor;
    TGlColor CoreColor;
    TGlColor JointColor;
    TGlColor LnColor;
    TGlColor LxColor;
    TGlColor TransitionColor;
    TGlColor CasingColor;
    TGlColor GussetColor;
    TGlColor StiffenerColor;
    TGlColor L1LineColor;
    TGlColor L2LineColor;
    TGlColor L3LineColor;
    std::int32_t DashFactor = 0;
    std::uint16_t DashPattern = 0;
};

// Pick number to the name of the part drawn under it.
using PickNameMap = std::map<std::int32_t, std::string>;
