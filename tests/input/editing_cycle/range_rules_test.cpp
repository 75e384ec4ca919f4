// The range rules on their own: every rule at and just beyond its bounds, its
// message, the number forms under another decimal separator, texts that do not
// convert.
#include <gtest/gtest.h>

#include <limits>

#include "input/range_rules.h"
#include "platform/text/exception.h"
#include "platform/text/regional.h"

namespace {

using Id = TRangeRuleId;

// The limits as the window sets them.
TInputLimits WindowLimits() {
    TInputLimits l;
    l.ColumnHeight = {2000.0f, 20000.0f};
    l.BeamLength = {2000.0f, 30000.0f};
    l.ColumnDepth = {0.0f, 1500.0f};
    l.BeamDepth = {0.0f, 1500.0f};
    l.HeightToLength = {0.125f, 8.0f};
    l.CoreRy = {1.0f, 1.5f};
    l.CoreOmegaH = {1.0f, 1.5f};
    l.CoreBeta = {1.09999f, 1.2f};
    l.GussetRy = {1.0f, 1.5f};
    l.SlabThickness = {0.0f, 300.0f};
    l.BeamFy = {0.0f, 0.05f};
    l.BeamRy = {1.0f, 1.5f};
    l.ClearLeft = {75.0f, 375.0f};
    l.ClearRight = {75.0f, 375.0f};
    l.ClearUpper = {75.0f, 375.0f};
    l.ClearLower = {50.0f, 350.0f};
    return l;
}

// Nothing when the text passes, else the message.
std::optional<std::string> Check(Id id, const std::string& text) {
    const TRangeRule rule = RangeRuleOf(id, WindowLimits());
    return RangeFailure(rule, ReadRuleValue(rule, text));
}

struct RuleCase {
    Id id;
    const char* below;  // just below the minimum
    const char* min;
    const char* max;    // nullptr: no maximum
    const char* above;  // just above the maximum
    const char* message;
};

const RuleCase kRules[] = {
    {Id::ColumnHeight, "1999", "2000", "20000", "20001", "Hcol is allowable between 2000mm and 20000mm."},
    {Id::BeamLength, "1999", "2000", "30000", "30001", "Lbeam is allowable between 2000mm and 30000mm."},
    {Id::HeightToLength, "0.1249", "0.125", "8", "8.001", "Height/Width is allowable between 0.125 and 8."},
    {Id::UpperBeamDepth, "-1", "0", "1500", "1501", "db,up is allowable between 0mm and 1500mm."},
    {Id::LowerBeamDepth, "-1", "0", "1500", "1501", "db,down is allowable between 0mm and 1500mm."},
    {Id::SlabThickness, "-1", "0", "300", "301", "Thickness of slab is allowable between 0mm and 300mm."},
    {Id::LeftColumnDepth, "-1", "0", "1500", "1501", "dc,left is allowable between 0mm and 1500mm."},
    {Id::RightColumnDepth, "-1", "0", "1500", "1501", "dc,right is allowable between 0mm and 1500mm."},
    {Id::CoreRy, "0.99", "1", "1.5", "1.51", "Ry,c is allowable between 1 and 1.5."},
    {Id::CoreOmegaH, "0.99", "1", "1.5", "1.51", "\u03a9h is allowable between 1 and 1.5."},
    // Typed 1.09999 lies just below the widened single-precision bound.
    {Id::CoreBeta, "1.09999", "1.1", "1.2", "1.21", "\u03b2 is allowable between 1.1 and 1.2."},
    {Id::GussetRy, "0.99", "1", "1.5", "1.51", "Ry,g is allowable between 1 and 1.5."},
    {Id::BeamFy, "-0.001", "0", "0.05", "0.051", "Fy,b is allowable between 0tonf/mm^2 and 0.05tonf/mm^2."},
    {Id::BeamRy, "0.99", "1", "1.5", "1.51", "Ry,b is allowable between 1 and 1.5."},
    {Id::UpperClear, "74", "75", "375", "376", "The clear distance is allowable between 75mm and 375mm."},
    {Id::LowerClear, "49", "50", "350", "351", "The clear distance is allowable between 50mm and 350mm."},
    {Id::LeftClear, "74", "75", "375", "376", "The clear distance is allowable between 75mm and 375mm."},
    {Id::RightClear, "74", "75", "375", "376", "The clear distance is allowable between 75mm and 375mm."},
    {Id::LengthIncrement, "0", "1", "200", "201", "The imcremental length is allowable between 1mm and 200mm."},
    // Tested at 0.1999 although the message says 0.2; there is no maximum.
    {Id::MinAlphaL, "0.1998", "0.1999", nullptr, nullptr, "Min. \u03b1 is not less than 0.2."},
};

TEST(RangeRules, EveryRulePassesAtItsBoundsAndFailsJustBeyondWithItsMessage) {
    for (const RuleCase& c : kRules) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(Check(c.id, c.below), c.message);
        EXPECT_EQ(Check(c.id, c.min), std::nullopt);
        if (c.max) {
            EXPECT_EQ(Check(c.id, c.max), std::nullopt);
            EXPECT_EQ(Check(c.id, c.above), c.message);
        }
        EXPECT_EQ(RangeMessage(RangeRuleOf(c.id, WindowLimits())), c.message);
    }
    // The double nearest 0.1999 lies below the extended bound: the typed bound still passes.
    for (const char* passes : {"0.19990", "1.999E-1", "0.19995", "0.2"})
        EXPECT_EQ(Check(Id::MinAlphaL, passes), std::nullopt) << passes;
    EXPECT_TRUE(Check(Id::MinAlphaL, "0.19989999").has_value());
    EXPECT_EQ(Check(Id::MinAlphaL, "1E6"), std::nullopt) << "no maximum";
}

TEST(RangeRules, EachFloatingRuleWritesItsBoundsInItsOwnPicture) {
    // Bounds with more decimals than any picture keeps tell the pictures apart: two
    // decimals for the factors, three for the beam's Fy, the general form otherwise.
    TInputLimits l = WindowLimits();
    l.CoreRy = l.CoreOmegaH = l.CoreBeta = l.GussetRy = l.BeamRy = l.HeightToLength = {1.0625f, 1.4375f};
    l.BeamFy = {0.0124f, 0.0476f};
    const struct {
        Id id;
        const char* message;
    } cases[] = {
        {Id::CoreRy, "Ry,c is allowable between 1.06 and 1.44."},
        {Id::CoreOmegaH, "\u03A9h is allowable between 1.06 and 1.44."},
        {Id::CoreBeta, "\u03B2 is allowable between 1.06 and 1.44."},
        {Id::GussetRy, "Ry,g is allowable between 1.06 and 1.44."},
        {Id::BeamFy, "Fy,b is allowable between 0.012tonf/mm^2 and 0.048tonf/mm^2."},
        {Id::BeamRy, "Ry,b is allowable between 1.0625 and 1.4375."},
        {Id::HeightToLength, "Height/Width is allowable between 1.0625 and 1.4375."},
    };
    for (const auto& c : cases) EXPECT_EQ(RangeMessage(RangeRuleOf(c.id, l)), c.message);
}

TEST(RangeRules, EachRuleReadsItsOwnLimit) {
    // Every limit its own, where the window gives some of them the same bounds.
    TInputLimits l;
    l.ColumnHeight = {1001.0f, 2001.0f};
    l.BeamLength = {1002.0f, 2002.0f};
    l.ColumnDepth = {1003.0f, 2003.0f};
    l.BeamDepth = {1004.0f, 2004.0f};
    l.SlabThickness = {1005.0f, 2005.0f};
    l.ClearLeft = {1006.0f, 2006.0f};
    l.ClearRight = {1007.0f, 2007.0f};
    l.ClearUpper = {1008.0f, 2008.0f};
    l.ClearLower = {1009.0f, 2009.0f};
    l.HeightToLength = {1.5f, 2.5f};
    l.CoreRy = {1.25f, 1.75f};
    l.CoreOmegaH = {1.3125f, 1.6875f};
    l.CoreBeta = {1.0625f, 1.4375f};
    l.GussetRy = {1.5f, 2.0f};
    l.BeamFy = {0.015625f, 0.03125f};
    l.BeamRy = {1.75f, 2.25f};
    const struct {
        Id id;
        const char* message;
    } cases[] = {
        {Id::ColumnHeight, "Hcol is allowable between 1001mm and 2001mm."},
        {Id::BeamLength, "Lbeam is allowable between 1002mm and 2002mm."},
        {Id::LeftColumnDepth, "dc,left is allowable between 1003mm and 2003mm."},
        {Id::RightColumnDepth, "dc,right is allowable between 1003mm and 2003mm."},
        {Id::UpperBeamDepth, "db,up is allowable between 1004mm and 2004mm."},
        {Id::LowerBeamDepth, "db,down is allowable between 1004mm and 2004mm."},
        {Id::SlabThickness, "Thickness of slab is allowable between 1005mm and 2005mm."},
        {Id::LeftClear, "The clear distance is allowable between 1006mm and 2006mm."},
        {Id::RightClear, "The clear distance is allowable between 1007mm and 2007mm."},
        {Id::UpperClear, "The clear distance is allowable between 1008mm and 2008mm."},
        {Id::LowerClear, "The clear distance is allowable between 1009mm and 2009mm."},
        {Id::HeightToLength, "Height/Width is allowable between 1.5 and 2.5."},
        {Id::CoreRy, "Ry,c is allowable between 1.25 and 1.75."},
        {Id::CoreOmegaH, "\u03A9h is allowable between 1.31 and 1.69."},
        {Id::CoreBeta, "\u03B2 is allowable between 1.06 and 1.44."},
        {Id::GussetRy, "Ry,g is allowable between 1.5 and 2."},
        {Id::BeamFy, "Fy,b is allowable between 0.016tonf/mm^2 and 0.031tonf/mm^2."},
        {Id::BeamRy, "Ry,b is allowable between 1.75 and 2.25."},
    };
    for (const auto& c : cases) EXPECT_EQ(RangeMessage(RangeRuleOf(c.id, l)), c.message);
}

TEST(RangeRules, BoundsAreTheSinglePrecisionLimitsWidened) {
    // Seventeen digits name one double, which is the float exactly.
    EXPECT_EQ(static_cast<double>(RangeRuleOf(Id::CoreBeta, WindowLimits()).Min), 1.0999900102615356);
    EXPECT_EQ(static_cast<double>(*RangeRuleOf(Id::CoreBeta, WindowLimits()).Max), 1.2000000476837158);
    EXPECT_EQ(static_cast<double>(*RangeRuleOf(Id::BeamFy, WindowLimits()).Max), 0.05000000074505806);
    EXPECT_EQ(RangeRuleOf(Id::MinAlphaL, WindowLimits()).Min, 0.1999L);
    // So a value a little above 1.2 but below the widened bound still passes.
    EXPECT_EQ(Check(Id::CoreBeta, "1.20000004"), std::nullopt);
    EXPECT_TRUE(Check(Id::CoreBeta, "1.20000005").has_value());
}

TEST(RangeRules, NoNumberFails) {
    const TRangeRule ratio = RangeRuleOf(Id::HeightToLength, WindowLimits());
    EXPECT_EQ(RangeFailure(ratio, std::numeric_limits<double>::quiet_NaN()),
              "Height/Width is allowable between 0.125 and 8.");
    EXPECT_TRUE(RangeFailure(ratio, std::numeric_limits<double>::infinity()).has_value());
}

TEST(RangeRules, WholeRulesReadIntegersAndFloatingRulesRegionalNumbers) {
    struct ConvertCase {
        Id id;
        const char* text;
        const char* error;
    };
    const ConvertCase cases[] = {
        {Id::LeftColumnDepth, "320.5", "'320.5' is not a valid integer value"},
        {Id::ColumnHeight, "", "'' is not a valid integer value"},
        {Id::UpperClear, "75mm", "'75mm' is not a valid integer value"},
        {Id::CoreRy, "abc", "'abc' is not a valid floating point value"},
        {Id::BeamFy, "0,033", "'0,033' is not a valid floating point value"},
        {Id::MinAlphaL, "", "'' is not a valid floating point value"},
    };
    for (const ConvertCase& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            Check(c.id, c.text);
            ADD_FAILURE() << "converted";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), c.error);
        }
    }
    EXPECT_EQ(Check(Id::ColumnHeight, " 4000 "), std::nullopt) << "blanks around a number are allowed";
}

TEST(RangeRules, NumbersAreReadAndShownWithTheRegionalSeparator) {
    const text::ScopedDecimalSeparator comma(',');
    EXPECT_EQ(Check(Id::CoreBeta, "1,15"), std::nullopt);
    EXPECT_EQ(Check(Id::CoreBeta, "1,3"), "\u03b2 is allowable between 1,1 and 1,2.");
    EXPECT_EQ(Check(Id::BeamFy, "1"), "Fy,b is allowable between 0tonf/mm^2 and 0,05tonf/mm^2.");
    EXPECT_EQ(Check(Id::MinAlphaL, "0,1999"), std::nullopt);
    EXPECT_EQ(Check(Id::HeightToLength, "9"), "Height/Width is allowable between 0,125 and 8.");
    EXPECT_THROW(Check(Id::CoreRy, "1.2"), EConvertError);
}

}  // namespace
