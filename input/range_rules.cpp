#include "input/range_rules.h"

#include "platform/text/number_text.h"

namespace {

constexpr std::string_view kMm = "mm and ";
constexpr std::string_view kMmEnd = "mm.";
constexpr std::string_view kAnd = " and ";
constexpr std::string_view kEnd = ".";

TRangeRule Whole(TLimit limit, std::string_view first) {
    return {true, limit.Min, limit.Max, first, kMm, kMmEnd, {}, {}};
}

TRangeRule Factor(TLimit limit, std::string_view first, std::string_view picture) {
    return {false, limit.Min, limit.Max, first, kAnd, kEnd, picture, {}};
}

std::string BoundText(const TRangeRule& rule, long double bound) {
    const double value = static_cast<double>(bound);
    return rule.Picture.empty() ? FloatToGeneralText(value) : FormatByPicture(std::string(rule.Picture), value);
}

}  // namespace

TRangeRule RangeRuleOf(TRangeRuleId id, const TInputLimits& limits) {
    constexpr std::string_view kClear = "The clear distance is allowable between ";
    switch (id) {
        case TRangeRuleId::ColumnHeight: return Whole(limits.ColumnHeight, "Hcol is allowable between ");
        case TRangeRuleId::BeamLength: return Whole(limits.BeamLength, "Lbeam is allowable between ");
        case TRangeRuleId::HeightToLength: return Factor(limits.HeightToLength, "Height/Width is allowable between ", {});
        case TRangeRuleId::UpperBeamDepth: return Whole(limits.BeamDepth, "db,up is allowable between ");
        case TRangeRuleId::LowerBeamDepth: return Whole(limits.BeamDepth, "db,down is allowable between ");
        case TRangeRuleId::SlabThickness: return Whole(limits.SlabThickness, "Thickness of slab is allowable between ");
        case TRangeRuleId::LeftColumnDepth: return Whole(limits.ColumnDepth, "dc,left is allowable between ");
        case TRangeRuleId::RightColumnDepth: return Whole(limits.ColumnDepth, "dc,right is allowable between ");
        case TRangeRuleId::CoreRy: return Factor(limits.CoreRy, "Ry,c is allowable between ", "0.##");
        case TRangeRuleId::CoreOmegaH: return Factor(limits.CoreOmegaH, "\u03A9h is allowable between ", "0.##");
        case TRangeRuleId::CoreBeta: return Factor(limits.CoreBeta, "\u03B2 is allowable between ", "0.##");
        case TRangeRuleId::GussetRy: return Factor(limits.GussetRy, "Ry,g is allowable between ", "0.##");
        case TRangeRuleId::BeamFy: {
            // The words stay in tonf whatever the unit system.
            TRangeRule rule = Factor(limits.BeamFy, "Fy,b is allowable between ", "0.###");
            rule.Middle = "tonf/mm^2 and ";
            rule.Closing = "tonf/mm^2.";
            return rule;
        }
        case TRangeRuleId::BeamRy: return Factor(limits.BeamRy, "Ry,b is allowable between ", {});
        case TRangeRuleId::UpperClear: return Whole(limits.ClearUpper, kClear);
        case TRangeRuleId::LowerClear: return Whole(limits.ClearLower, kClear);
        case TRangeRuleId::LeftClear: return Whole(limits.ClearLeft, kClear);
        case TRangeRuleId::RightClear: return Whole(limits.ClearRight, kClear);
        case TRangeRuleId::LengthIncrement: return Whole({1.0f, 200.0f}, "The imcremental length is allowable between ");
        case TRangeRuleId::MinAlphaL: {
            // Tested a little below the 0.2 that the message names.
            TRangeRule rule;
            rule.Whole = false;
            rule.Min = 0.1999L;
            rule.Fixed = "Min. \u03B1 is not less than 0.2.";
            return rule;
        }
    }
    return {};
}

std::string RangeMessage(const TRangeRule& rule) {
    if (!rule.Fixed.empty()) return std::string(rule.Fixed);
    std::string message(rule.First);
    message += BoundText(rule, rule.Min);
    message += rule.Middle;
    if (rule.Max) message += BoundText(rule, *rule.Max);
    message += rule.Closing;
    return message;
}

double ReadRuleValue(const TRangeRule& rule, const std::string& text) {
    if (rule.Whole) return ParseIntegerText(text);
    return ParseFloatText(text);
}

std::optional<std::string> RangeFailure(const TRangeRule& rule, double value) {
    // The typed text converts to a double, so the bounds are compared as doubles:
    // otherwise a typed 0.1999 lies below the extended 0.1999 and fails its own bound.
    // The widened single-precision bounds are doubles exactly.
    const bool above_min = value >= static_cast<double>(rule.Min);
    const bool below_max = !rule.Max || value <= static_cast<double>(*rule.Max);
    if (above_min && below_max) return std::nullopt;
    return RangeMessage(rule);
}
