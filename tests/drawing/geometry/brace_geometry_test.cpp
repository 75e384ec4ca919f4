// Stations of a brace along its axis and the bolts of its joints.
#include <gtest/gtest.h>

#include <cmath>

#include "drawing/brace_geometry.h"

namespace {

TEST(BraceStations, ThePiecesFollowEachOtherFromTheLowerWorkPoint) {
    TBraceValues b;
    b.Shrink_Ratio_DOWN = 0.25f;
    b.L_wp = 4000;  // the brace begins 1000 from the work point
    b.L_w = 300;
    b.L_n = 50;
    b.L_x = 200;
    b.L_t = 100;
    b.L_c = 1500;
    const TBraceStations s = BraceStations(b);
    EXPECT_EQ(s.LowerJoint, 1000.0f);
    EXPECT_EQ(s.LowerLn, 1300.0f);
    EXPECT_EQ(s.LowerLx, 1350.0f);
    EXPECT_EQ(s.LowerTransition, 1550.0f);
    EXPECT_EQ(s.Core, 1650.0f);
    EXPECT_EQ(s.UpperTransition, 3150.0f);
    EXPECT_EQ(s.UpperLx, 3250.0f);
    EXPECT_EQ(s.UpperLn, 3450.0f);
    EXPECT_EQ(s.UpperJoint, 3500.0f);
    EXPECT_EQ(s.Casing, s.LowerLx);
    EXPECT_FLOAT_EQ(BraceAngleDegrees(1.0f), 45.0f);
    EXPECT_EQ(BraceAngleDegrees(0.0f), 0.0f);
}

TBoltedValues Bolts(float n) {
    TBoltedValues v;
    v.n = n;
    v.el = 50;
    v.s = 70;
    v.et = 40;
    return v;
}

TEST(BoltPoints, TwoRowsFromTheOuterEndOfEachJoint) {
    using P = std::vector<TBoltPoint>;
    EXPECT_EQ(JointBoltPoints(Bolts(4), 20, 400, false, false), (P{{50, 50}, {50, -50}, {120, 50}, {120, -50}}));
    // Staggered: the odd position moves outward by the pitch.
    EXPECT_EQ(JointBoltPoints(Bolts(4), 20, 400, false, true), (P{{50, 50}, {50, -50}, {120, 120}, {120, -120}}));
    // The upper joint counts back from its outer end.
    EXPECT_EQ(JointBoltPoints(Bolts(4), 20, 400, true, false), (P{{350, 50}, {350, -50}, {280, 50}, {280, -50}}));
}

TEST(BoltPoints, PositionsPerRowAreTheWholeNumbersBelowHalfTheCount) {
    struct Case {
        float n;
        size_t points;
    };
    for (const Case c : {Case{5, 6}, Case{0, 0}, Case{1, 2}, Case{-4, 0}, Case{NAN, 0}})
        EXPECT_EQ(JointBoltPoints(Bolts(c.n), 20, 400, false, false).size(), c.points) << c.n;
    // A count no joint has stops at a bound rather than stalling the drawing.
    EXPECT_LE(JointBoltPoints(Bolts(1e12f), 20, 400, false, false).size(), 2000u);
}

}  // namespace
