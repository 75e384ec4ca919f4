#include "drawing/view_fit.h"

#include <cfloat>
#include <cmath>

namespace {

// A double result stored as a float, unless it leaves the float range.
bool Narrow(double value, float& out) {
    if (!std::isfinite(value) || std::fabs(value) > FLT_MAX) return false;
    out = static_cast<float>(value);
    return true;
}

float DiagonalSpan(const TBraceValues& b) { return b.L_brb + b.down_L_h + b.up_L_h + 2.0f * b.D_j; }

}  // namespace

std::optional<TViewFit> FitViewBox(int cw, int ch, float w0, float h0) {
    if (w0 == 0.0f || h0 == 0.0f || !std::isfinite(w0) || !std::isfinite(h0)) return std::nullopt;
    TViewFit fit;
    if (!Narrow(static_cast<float>(cw) / w0, fit.ScaleX) || !Narrow(static_cast<float>(ch) / h0, fit.ScaleY))
        return std::nullopt;
    if (fit.ScaleX < fit.ScaleY) {
        fit.Scale = fit.ScaleX;
        fit.Width = w0;
        if (fit.Scale == 0.0f || !Narrow(static_cast<float>(ch) / fit.Scale, fit.Height)) return std::nullopt;
    } else {
        fit.Scale = fit.ScaleY;
        fit.Height = h0;
        if (fit.Scale == 0.0f || !Narrow(static_cast<float>(cw) / fit.Scale, fit.Width)) return std::nullopt;
    }
    return fit;
}

std::optional<TViewFit> FitFrameBox(int cw, int ch, const TFrameValues& f) {
    float w0 = 0.0f, h0 = 0.0f;
    if (!Narrow(((f.d_c_left + f.d_c_right) * 0.5f + f.L_beam) * 1.15, w0) ||
        !Narrow(((f.d_b_up + f.d_b_down) * 0.5f + f.H_col) * 1.15, h0))
        return std::nullopt;
    std::optional<TViewFit> fit = FitViewBox(cw, ch, w0, h0);
    if (!fit) return std::nullopt;
    fit->OffsetX = (fit->Width - f.L_beam) * 0.5f;
    fit->OffsetY = (fit->Height - f.H_col) * 0.5f;
    if (!std::isfinite(fit->OffsetX) || !std::isfinite(fit->OffsetY)) return std::nullopt;
    return fit;
}

std::optional<TViewFit> FitDiagonalDetailBox(int cw, int ch, const TBraceValues& b) {
    const float span = DiagonalSpan(b);
    float h = 4.5f * b.D_j;
    if (b.down_L_v > h) h = b.down_L_v;
    if (b.up_L_v > h) h = b.up_L_v;
    float w0 = 0.0f, h0 = 0.0f, offset_y = 0.0f;
    if (!Narrow(span * 1.1, w0) || !Narrow(h * 1.1, h0) || !Narrow(1.2 * b.D_j, offset_y)) return std::nullopt;
    std::optional<TViewFit> fit = FitViewBox(cw, ch, w0, h0);
    if (!fit) return std::nullopt;
    fit->OffsetX = (fit->Width - span) * 0.5f;
    fit->OffsetY = offset_y;
    if (!std::isfinite(fit->OffsetX)) return std::nullopt;
    return fit;
}

std::optional<TViewFit> FitChevronDetailBox(int cw, int ch, const TBraceValues& b, const SideValueTable& sides) {
    const std::map<std::string, float> none;
    const auto side = [&](const char* name) -> const std::map<std::string, float>& {
        const auto s = sides.find(name);
        return s == sides.end() ? none : s->second;
    };
    const std::map<std::string, float>& left = side("LEFT");
    const std::map<std::string, float>& middle = side("MIDDLE");
    const std::map<std::string, float>& right = side("RIGHT");
    for (const auto* values : {&left, &right})
        for (const char* key : {"D_j", "down_L_h", "L_brb", "down_L_v"})
            if (!values->count(key)) return std::nullopt;
    if (!middle.count("Lh_mid") || !middle.count("Lv_mid")) return std::nullopt;
    const auto at = [](const std::map<std::string, float>& values, const char* key) { return values.at(key); };
    // Left end plate to right end plate, in the order the detail view lays them out.
    const float span = at(left, "D_j") * 0.5f + at(left, "down_L_h") + at(left, "D_j") + at(left, "L_brb") +
                       at(left, "D_j") + at(middle, "Lh_mid") + at(right, "D_j") + at(right, "L_brb") +
                       at(right, "D_j") + at(right, "D_j") + at(right, "down_L_h") + at(right, "D_j") * 0.5f;
    float h = 4.5f * b.D_j;
    if (at(left, "down_L_v") > h) h = at(left, "down_L_v");
    if (at(right, "down_L_v") > h) h = at(right, "down_L_v");
    if (at(middle, "Lv_mid") > h) h = at(middle, "Lv_mid");
    float w0 = 0.0f, h0 = 0.0f;
    if (!Narrow(span * 1.1, w0) || !Narrow(h * 1.1, h0)) return std::nullopt;
    std::optional<TViewFit> fit = FitViewBox(cw, ch, w0, h0);
    if (!fit) return std::nullopt;
    fit->OffsetX = (fit->Width - DiagonalSpan(b)) * 0.5f;
    fit->OffsetY = fit->Height * 0.5f - 1.5f * b.D_j;
    if (!std::isfinite(fit->OffsetX) || !std::isfinite(fit->OffsetY)) return std::nullopt;
    return fit;
}
