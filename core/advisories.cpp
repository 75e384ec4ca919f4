// Design advisories. Stored values are compared as stored: a single-precision 0.3
// is above the double 0.3, a single-precision 1.6 is at least the double 1.6.
#include "core/advisories.h"

namespace {

constexpr double kBeamRatioLimit = 0.9;
constexpr double kStiffnessLimit = 1.6;
constexpr double kLengthLimit = 0.3;
constexpr float kMinCoreOutstand = 8.0f;

constexpr const char* kStiffness =
    "The effective axial stiffness you specified does not match the BRB yield strength very well. You may want to "
    "enter a different axial stiffness or yield strength.";
constexpr const char* kLength =
    "The energy dissipation section length is shorter than 30% of the BRB work point-to-point length. You may want to "
    "enter a different axial stiffness or yield strength.";
constexpr const char* kLeftStiffness =
    "The effective axial stiffness of left BRB  you specified does not match the BRB yield strength very well. You "
    "may want to enter a different axial stiffness or yield strength.";
constexpr const char* kLeftLength =
    "The energy dissipation section length of left BRB  is shorter than 30% of the BRB work point-to-point length. "
    "You may want to enter a different axial stiffness or yield strength.";
constexpr const char* kRightStiffness =
    "The effective axial stiffness of right BRB you specified does not match the BRB yield strength very well. You "
    "may want to enter a different axial stiffness or yield strength.";
constexpr const char* kRightLength =
    "The energy dissipation section length of right BRB  is shorter than 30% of the BRB work point-to-point length. "
    "You may want to enter a different axial stiffness or yield strength.";

bool TooStiff(float q) { return q >= kStiffnessLimit; }
bool TooShort(float alpha) { return alpha <= kLengthLimit; }

}  // namespace

std::vector<std::string> DesignAdvisories(const TAdvisoryInputs& in) {
    std::vector<std::string> out;
    if (in.Cruciform) {
        const float outstand = (in.Bc - 2.0f * in.tc - (in.tg + 3.0f)) * 0.5f;
        if (outstand < kMinCoreOutstand) out.push_back("Select a thinner core plate!");
    }

    const bool upper = in.UpperBeamRatio > kBeamRatioLimit;
    const bool lower = in.LowerBeamRatio > kBeamRatioLimit;
    if (upper && lower)
        out.push_back(
            "The upper and lower beam axial load ratios are over 0.9. You may want to enter stronger beams.");
    else if (upper)
        out.push_back("The upper beam axial load ratio is over 0.9. You may want to enter a stronger beam.");
    else if (lower)
        out.push_back("The lower beam axial load ratio is over 0.9. You may want to enter a stronger beam.");

    if (in.Bolted) return out;
    if (!in.Chevron) {
        if (TooStiff(in.QFactor))
            out.push_back(kStiffness);
        else if (TooShort(in.AlphaL))
            out.push_back(kLength);
        return out;
    }
    if (TooStiff(in.QLeft) && TooStiff(in.QRight)) {
        out.push_back(kStiffness);
        return out;
    }
    if (TooShort(in.AlphaLeft) && TooShort(in.AlphaRight)) {
        out.push_back(kLength);
        return out;
    }
    if (TooStiff(in.QLeft))
        out.push_back(kLeftStiffness);
    else if (TooShort(in.AlphaLeft))
        out.push_back(kLeftLength);
    if (TooStiff(in.QRight))
        out.push_back(kRightStiffness);
    else if (TooShort(in.AlphaRight))
        out.push_back(kRightLength);
    return out;
}
