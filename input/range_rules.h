#pragma once
// The allowed ranges of the numeric inputs: which bounds, how the text is read, and
// the message that names the range. Pure rules; the form applies them to its edits.
#include <optional>
#include <string>
#include <string_view>

#include "input/input_limits.h"

enum class TRangeRuleId {
    ColumnHeight,
    BeamLength,
    HeightToLength,
    UpperBeamDepth,
    LowerBeamDepth,
    SlabThickness,
    LeftColumnDepth,
    RightColumnDepth,
    CoreRy,
    CoreOmegaH,
    CoreBeta,
    GussetRy,
    BeamFy,
    BeamRy,
    UpperClear,
    LowerClear,
    LeftClear,
    RightClear,
    LengthIncrement,
    MinAlphaL,
};

struct TRangeRule {
    bool Whole = true;  // read as a decimal integer, else as a regional floating number
    long double Min = 0;
    std::optional<long double> Max;
    // The message: First, the minimum, Middle, the maximum, Closing.
    std::string_view First;
    std::string_view Middle;
    std::string_view Closing;
    std::string_view Picture;  // the bounds' picture; empty for the general form
    std::string_view Fixed;    // when not empty, the whole message
};

// The rule with its bounds: most come from the limits (single precision, widened),
// the length increment and the minimum alpha L have their own.
TRangeRule RangeRuleOf(TRangeRuleId id, const TInputLimits& limits);

// The rule's message, its bounds written with the regional decimal separator.
std::string RangeMessage(const TRangeRule& rule);

// The text as the rule reads it; raises EConvertError when it does not convert.
double ReadRuleValue(const TRangeRule& rule, const std::string& text);

// Nothing when the value lies within the bounds (a bound itself passes), else the
// message. The value and the bounds are compared at the value's precision, so a
// typed bound passes. A value that is no number (0 over 0) fails.
std::optional<std::string> RangeFailure(const TRangeRule& rule, double value);
