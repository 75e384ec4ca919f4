#include "drawing/frame_geometry.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kStraight = 0.001;  // mm: an edge this close to level or plumb is straight
constexpr float kShortening = 50.0f;   // mm the stiffener stops short of the edge's end

std::optional<TStiffener> Stiffener(float x, float y, double angle_deg, double length) {
    const TStiffener s{x, y, static_cast<float>(angle_deg), static_cast<float>(length)};
    if (!(s.Length > 0.0f) || !std::isfinite(s.Length) || !std::isfinite(s.X) || !std::isfinite(s.Y) ||
        !std::isfinite(s.AngleDeg))
        return std::nullopt;
    return s;
}

double EdgeLength(float rise, float run) {
    return std::sqrt(static_cast<double>(rise) * rise + static_cast<double>(run) * run) - kShortening;
}

}  // namespace

TCornerStiffeners CornerStiffeners(const TFrameValues& f, const TBraceValues& b, bool upper_plate) {
    TCornerStiffeners s;
    const float rise_down = b.Gusset_Plate_down_y2 - b.down_L_v;
    if (std::fabs(rise_down) < kStraight)
        s.LowerTop = Stiffener(f.d_c_left / 2, f.d_b_down / 2 + b.down_L_v + b.t_sf / 2, 0.0,
                               EdgeLength(rise_down, b.Gusset_Plate_down_x2));
    if (std::fabs(b.Gusset_Plate_down_x1 - b.down_L_h) < kStraight)
        s.LowerRight = Stiffener(f.d_c_left / 2 + b.down_L_h + b.t_sf / 2, f.d_b_down / 2, 90.0,
                                 b.Gusset_Plate_down_y1 - kShortening);
    if (!upper_plate) return s;

    const float rise_up = b.Gusset_Plate_up_y2 - b.up_L_v;
    if (std::fabs(rise_up) < kStraight) {
        // The edge's slope; a corner on the column face leaves no edge to follow.
        const double angle =
            b.Gusset_Plate_up_x2 != 0.0f ? std::atan(rise_up / b.Gusset_Plate_up_x2) * 180.0 / std::numbers::pi : 0.0;
        s.UpperLower = Stiffener(f.L_beam - f.d_c_right / 2, f.H_col - f.d_b_up / 2 - b.up_L_v - b.t_sf / 2, angle,
                                 EdgeLength(rise_up, b.Gusset_Plate_up_x2));
    }
    if (std::fabs(b.Gusset_Plate_up_x1 - b.up_L_h) < kStraight)
        s.UpperLeft = Stiffener(f.L_beam - f.d_c_right / 2 - b.up_L_h - b.t_sf / 2, f.H_col - f.d_b_up / 2, 90.0,
                                b.Gusset_Plate_up_y1 - kShortening);
    return s;
}

TMiddleStiffeners MiddleStiffeners(const TFrameValues& f, const TBraceValues& b) {
    TMiddleStiffeners m;
    if (!(b.Lv_mid > 0.0f)) return m;
    const float mid = f.L_beam / 2;
    m.Top = f.H_col - f.d_b_up / 2;
    m.Bottom = m.Top - b.Lv_mid;
    if (b.Lv_mid / 2 > b.Lsf_mid) {
        m.LineX = {mid};
        m.PlateLeft = mid - b.t_sf;
    } else {
        m.LineX = {mid - b.Lsf_mid / 2, mid + b.Lsf_mid / 2};
    }
    return m;
}
