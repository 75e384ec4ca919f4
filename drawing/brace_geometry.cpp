#include "drawing/brace_geometry.h"

#include <cmath>
#include <numbers>

namespace {

// No joint carries more; a larger count in a reply would only stall the drawing.
constexpr int kMaxBoltPositions = 1000;

}  // namespace

TBraceStations BraceStations(const TBraceValues& b) {
    TBraceStations s;
    const float s0 = b.Shrink_Ratio_DOWN * b.L_wp;
    s.LowerJoint = s0;
    s.LowerLn = s0 + b.L_w;
    s.LowerLx = s0 + b.L_w + b.L_n;
    s.LowerTransition = s0 + b.L_w + b.L_n + b.L_x;
    s.Core = s0 + b.L_w + b.L_n + b.L_x + b.L_t;
    s.UpperTransition = s0 + b.L_w + b.L_n + b.L_x + b.L_t + b.L_c;
    s.UpperLx = s0 + b.L_w + b.L_n + b.L_x + b.L_t + b.L_c + b.L_t;
    s.UpperLn = s0 + b.L_w + b.L_n + b.L_x + b.L_t + b.L_c + b.L_t + b.L_x;
    s.UpperJoint = s0 + b.L_w + b.L_n + b.L_x + b.L_t + b.L_c + b.L_t + b.L_x + b.L_n;
    s.Casing = s0 + b.L_w + b.L_n;
    return s;
}

float BraceAngleDegrees(float tan_phi) {
    return static_cast<float>(std::atan(static_cast<double>(tan_phi)) * 180.0 / std::numbers::pi);
}

std::vector<TBoltPoint> JointBoltPoints(const TBoltedValues& bolts, float t_c, float L_w, bool upper_joint,
                                        bool staggered) {
    std::vector<TBoltPoint> points;
    const float rows = bolts.n * 0.5f;
    for (int i = 0; i < rows && i < kMaxBoltPositions; ++i) {
        const float along = bolts.el + static_cast<float>(i) * bolts.s;
        const float x = upper_joint ? L_w - along : along;
        float y = t_c / 2 + bolts.et;
        if (staggered && i % 2 == 1) y += bolts.s;
        points.push_back({x, y});
        points.push_back({x, -y});
    }
    return points;
}
