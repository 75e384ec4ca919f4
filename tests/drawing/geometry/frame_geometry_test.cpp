// Stiffeners along the gusset plates.
#include <gtest/gtest.h>

#include <cmath>

#include "drawing/frame_geometry.h"

namespace {

// A bay of 6000 x 4000 with 400 deep columns and 600 deep beams, whose corner plates
// have a level top (lower) or bottom (upper) edge and a plumb free edge.
struct Plates {
    TFrameValues f;
    TBraceValues b;
    Plates() {
        f.L_beam = 6000;
        f.H_col = 4000;
        f.d_c_left = f.d_c_right = 400;
        f.d_b_up = f.d_b_down = 600;
        b.t_sf = 20;
        b.down_L_h = 900;
        b.down_L_v = 700;
        b.Gusset_Plate_down_x1 = 900;
        b.Gusset_Plate_down_y1 = 400;
        b.Gusset_Plate_down_x2 = 600;
        b.Gusset_Plate_down_y2 = 700;
        b.up_L_h = 800;
        b.up_L_v = 650;
        b.Gusset_Plate_up_x1 = 800;
        b.Gusset_Plate_up_y1 = 350;
        b.Gusset_Plate_up_x2 = 500;
        b.Gusset_Plate_up_y2 = 650;
    }
};

TEST(Stiffeners, EachStraightFreeEdgeGetsOneFiftyMillimetresShort) {
    const Plates p;
    const TCornerStiffeners s = CornerStiffeners(p.f, p.b, true);
    // Lower plate: beside the top edge, from the column face, outside the plate.
    ASSERT_TRUE(s.LowerTop);
    EXPECT_EQ(*s.LowerTop, (TStiffener{200, 300 + 700 + 10, 0, 550}));
    // Centred on the plumb edge, from the beam face, turned upwards.
    ASSERT_TRUE(s.LowerRight);
    EXPECT_EQ(*s.LowerRight, (TStiffener{200 + 900 + 10, 300, 90, 350}));
    // Upper plate, measured from its inner corner (5800, 3700).
    ASSERT_TRUE(s.UpperLower);
    EXPECT_EQ(*s.UpperLower, (TStiffener{5800, 3700 - 650 - 10, 0, 450}));
    ASSERT_TRUE(s.UpperLeft);
    EXPECT_EQ(*s.UpperLeft, (TStiffener{5800 - 800 - 10, 3700, 90, 300}));

    // A Chevron side has no upper corner plate.
    const TCornerStiffeners lower_only = CornerStiffeners(p.f, p.b, false);
    EXPECT_TRUE(lower_only.LowerTop && lower_only.LowerRight);
    EXPECT_FALSE(lower_only.UpperLower || lower_only.UpperLeft);
}

TEST(Stiffeners, AnEdgeIsStraightWhenItsEndsDifferByLessThanAThousandthOfAMillimetre) {
    struct Case {
        float offset;
        bool drawn;
    };
    for (const Case c : {Case{0.0005f, true}, Case{0.002f, false}, Case{-0.0005f, true}, Case{-0.002f, false}}) {
        Plates p;
        p.b.Gusset_Plate_down_y2 = p.b.down_L_v + c.offset;
        p.b.Gusset_Plate_down_x1 = p.b.down_L_h + c.offset;
        p.b.Gusset_Plate_up_y2 = p.b.up_L_v + c.offset;
        p.b.Gusset_Plate_up_x1 = p.b.up_L_h + c.offset;
        const TCornerStiffeners s = CornerStiffeners(p.f, p.b, true);
        SCOPED_TRACE(c.offset);
        EXPECT_EQ(s.LowerTop.has_value(), c.drawn);
        EXPECT_EQ(s.LowerRight.has_value(), c.drawn);
        EXPECT_EQ(s.UpperLower.has_value(), c.drawn);
        EXPECT_EQ(s.UpperLeft.has_value(), c.drawn);
    }
}

TEST(Stiffeners, TheUpperEdgeKeepsItsTinySlope) {
    Plates p;
    p.b.Gusset_Plate_up_y2 = p.b.up_L_v + 0.0005f;
    const TCornerStiffeners s = CornerStiffeners(p.f, p.b, true);
    ASSERT_TRUE(s.UpperLower);
    const float rise = p.b.Gusset_Plate_up_y2 - p.b.up_L_v;
    EXPECT_FLOAT_EQ(s.UpperLower->AngleDeg, static_cast<float>(std::atan(rise / 500.0f) * 180 / M_PI));
    EXPECT_NE(s.UpperLower->AngleDeg, 0.0f);
    EXPECT_FLOAT_EQ(s.UpperLower->Length, static_cast<float>(std::sqrt(rise * rise + 500.0 * 500.0) - 50));
}

TEST(Stiffeners, AnEdgeThatLeavesNoLengthGetsNoneAndNothingIsNotANumber) {
    // Edges of 50 mm or less, and an upper corner on the column face whose slope
    // would divide by zero.
    Plates p;
    p.b.Gusset_Plate_down_x2 = 50;
    p.b.Gusset_Plate_down_y1 = 30;
    p.b.Gusset_Plate_up_x2 = 0;
    p.b.Gusset_Plate_up_y1 = 50;
    TCornerStiffeners s = CornerStiffeners(p.f, p.b, true);
    EXPECT_FALSE(s.LowerTop);
    EXPECT_FALSE(s.LowerRight);
    EXPECT_FALSE(s.UpperLower);
    EXPECT_FALSE(s.UpperLeft);

    // Before any result every value is 0: all edges are straight and none is long.
    s = CornerStiffeners(TFrameValues{}, TBraceValues{}, true);
    EXPECT_FALSE(s.LowerTop || s.LowerRight || s.UpperLower || s.UpperLeft);

    // A value that is no number never reaches a stiffener.
    p = Plates();
    p.b.t_sf = NAN;
    s = CornerStiffeners(p.f, p.b, true);
    EXPECT_FALSE(s.LowerTop || s.LowerRight || s.UpperLower || s.UpperLeft);
}

TEST(Stiffeners, TheMiddlePlateHasOneStiffenerOrTwo) {
    Plates p;
    p.b.Lv_mid = 500;
    p.b.Lsf_mid = 200;  // 250 > 200: one, with its plate left of mid-span
    TMiddleStiffeners m = MiddleStiffeners(p.f, p.b);
    EXPECT_EQ(m.Top, 3700.0f);
    EXPECT_EQ(m.Bottom, 3200.0f);
    EXPECT_EQ(m.LineX, std::vector<float>{3000});
    ASSERT_TRUE(m.PlateLeft);
    EXPECT_EQ(*m.PlateLeft, 2980.0f);

    p.b.Lsf_mid = 250;  // Lv_mid / 2 equal to Lsf_mid: two lines, no plate
    m = MiddleStiffeners(p.f, p.b);
    EXPECT_EQ(m.LineX, (std::vector<float>{2875, 3125}));
    EXPECT_FALSE(m.PlateLeft);

    p.b.Lv_mid = 0;
    EXPECT_TRUE(MiddleStiffeners(p.f, p.b).LineX.empty());
}

}  // namespace
