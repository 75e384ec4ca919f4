// The fits of both views to their panels, against boxes worked out by hand.
#include <gtest/gtest.h>

#include <cmath>

#include <cfloat>

#include "drawing/view_fit.h"
#include "support/asymmetric_bay.h"

namespace {

TFrameValues Bay(float L, float H, float dc, float db) {
    TFrameValues f;
    f.L_beam = L;
    f.H_col = H;
    f.d_c_left = f.d_c_right = dc;
    f.d_b_up = f.d_b_down = db;
    return f;
}

TEST(ViewFit, TheFrameBoxGrowsToThePanelAndCentresTheBay) {
    namespace bay = testing_support::asymmetric_bay;
    struct Case {
        const char* bay;
        TFrameValues frame;
        float scale_x, scale_y, width, height, offset_x, offset_y;
    };
    const Case cases[] = {
        // 6000 x 4000, columns 400, beams 600: 7360 x 5290 wanted; 409 / 7360 is just
        // below 294 / 5290, so the width keeps its extent.
        {"worked example", Bay(6000, 4000, 400, 600), 0.0555707f, 0.0555766f, 7360, 5290.5625f, 680, 645.28125f},
        // Both columns and both beams count, each by half.
        {"asymmetric bay", bay::FrameValues(), bay::kFrameScaleX, bay::kFrameScaleY, bay::kFrameBox.width,
         bay::kFrameBox.height, bay::kFrameBox.offset_x, bay::kFrameBox.offset_y},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bay);
        const std::optional<TViewFit> fit = FitFrameBox(409, 294, c.frame);
        ASSERT_TRUE(fit);
        EXPECT_NEAR(fit->ScaleX, c.scale_x, 1e-7);
        EXPECT_NEAR(fit->ScaleY, c.scale_y, 1e-7);
        EXPECT_EQ(fit->Scale, fit->ScaleX);
        EXPECT_NEAR(fit->Width, c.width, 1e-3);
        EXPECT_NEAR(fit->Height, c.height, 1e-3);
        EXPECT_NEAR(fit->OffsetX, c.offset_x, 1e-3);
        EXPECT_NEAR(fit->OffsetY, c.offset_y, 1e-3);
    }
}

TEST(ViewFit, ATallBoxGrowsInWidthAndATieKeepsTheHeight) {
    // 100 x 100 on 200 x 100 pixels: the height limits the scale.
    std::optional<TViewFit> fit = FitViewBox(200, 100, 100, 100);
    ASSERT_TRUE(fit);
    EXPECT_EQ(fit->Scale, 1.0f);
    EXPECT_EQ(fit->Height, 100.0f);
    EXPECT_EQ(fit->Width, 200.0f);

    fit = FitViewBox(400, 200, 200, 100);  // both scales 2
    ASSERT_TRUE(fit);
    EXPECT_EQ(fit->ScaleX, fit->ScaleY);
    EXPECT_EQ(fit->Scale, fit->ScaleY);
    EXPECT_EQ(fit->Height, 100.0f);
    EXPECT_EQ(fit->Width, 200.0f);

    // 359 x 359 on 100 x 100 pixels: both scales are the float nearest 100 / 359, and
    // the height keeps its extent to the last bit while the width is recomputed from
    // the scale, 100 / 0.278552 = 359.00003.
    fit = FitViewBox(100, 100, 359, 359);
    ASSERT_TRUE(fit);
    ASSERT_EQ(fit->ScaleX, fit->ScaleY);
    EXPECT_EQ(fit->Height, 359.0f);
    EXPECT_EQ(fit->Width, 359.00003f);
}

TEST(ViewFit, NoBoxForAZeroExtentAnOverflowOrAPanelWithoutPixels) {
    struct Case {
        const char* what;
        int cw, ch;
        float w0, h0;
    };
    const Case cases[] = {
        {"zero width", 409, 294, 0, 100},
        {"zero height", 409, 294, 100, 0},
        {"no result yet", 409, 294, 0, 0},
        {"infinite width", 409, 294, INFINITY, 100},
        {"not a number", 409, 294, NAN, 100},
        {"scale beyond the float range", 409, 294, 1e-40f, 1e-40f},
        {"no pixels across", 0, 294, 100, 100},
        {"no pixels up", 409, 0, 100, 100},
    };
    for (const Case& c : cases) EXPECT_FALSE(FitViewBox(c.cw, c.ch, c.w0, c.h0)) << c.what;

    // The frame's wanted box overflows before the fit divides.
    EXPECT_FALSE(FitFrameBox(409, 294, Bay(FLT_MAX, 4000, 400, 600)));
    EXPECT_FALSE(FitFrameBox(409, 294, TFrameValues{}));
}

TEST(ViewFit, TheDiagonalDetailBoxSpansTheBraceAndItsPlates) {
    TBraceValues b;
    b.L_brb = 4000;
    b.down_L_h = 300;
    b.up_L_h = 200;
    b.D_j = 100;
    b.down_L_v = 300;
    b.up_L_v = 600;  // taller than 4.5 D_j
    const std::optional<TViewFit> fit = FitDiagonalDetailBox(779, 196, b);
    ASSERT_TRUE(fit);
    // S = 4700, W0 = 5170, H0 = 660: 779 / 5170 = 0.150677 is below 196 / 660 =
    // 0.296970, so the height grows to 196 x 5170 / 779 = 1300.7959.
    EXPECT_NEAR(fit->ScaleX, 0.150677, 1e-6);
    EXPECT_NEAR(fit->ScaleY, 0.296970, 1e-6);
    EXPECT_EQ(fit->Width, 5170.0f);
    EXPECT_NEAR(fit->Height, 1300.7959, 1e-3);
    EXPECT_EQ(fit->OffsetX, 235.0f);  // (5170 - 4700) / 2
    EXPECT_FLOAT_EQ(fit->OffsetY, 120.0f);

    // 4.5 D_j = 450 is the tallest when the upper plate is lower than the lower one.
    b.up_L_v = 0;
    b.down_L_v = 440;
    EXPECT_NEAR(FitDiagonalDetailBox(779, 196, b)->ScaleY, 196.0 / 495.0, 1e-6);
    // The upper plate's leg counts on its own.
    b.up_L_v = 700;
    EXPECT_NEAR(FitDiagonalDetailBox(779, 196, b)->ScaleY, 196.0 / 770.0, 1e-6);
    EXPECT_FALSE(FitDiagonalDetailBox(779, 196, TBraceValues{}));
}

// Each candidate of the detail view's height, once the tallest: the wanted height is
// that candidate x 1.1, whatever the others hold below it.
TEST(ViewFit, EachCandidateOfTheDetailHeightCountsWhenItIsTheTallest) {
    struct Diagonal {
        const char* tallest;
        float D_j, down_L_v, up_L_v, height;
    };
    const Diagonal diagonal[] = {
        {"4.5 D_j", 100, 300, 200, 495},
        {"lower plate", 50, 600, 500, 660},
        {"upper plate", 50, 500, 700, 770},
    };
    for (const Diagonal& c : diagonal) {
        SCOPED_TRACE(std::string("Diagonal, ") + c.tallest);
        TBraceValues b;
        b.L_brb = 4000;
        b.down_L_h = 300;
        b.up_L_h = 200;
        b.D_j = c.D_j;
        b.down_L_v = c.down_L_v;
        b.up_L_v = c.up_L_v;
        const std::optional<TViewFit> fit = FitDiagonalDetailBox(779, 196, b);
        ASSERT_TRUE(fit);
        EXPECT_NEAR(fit->ScaleY, 196.0 / c.height, 1e-6);
    }

    struct Chevron {
        const char* tallest;
        float member_D_j, left_L_v, right_L_v, Lv_mid, height;
    };
    const Chevron chevron[] = {
        {"4.5 D_j of the member", 100, 300, 350, 400, 495},
        {"left plate", 50, 600, 500, 400, 660},
        {"right plate", 50, 500, 700, 600, 770},
        {"middle plate", 50, 500, 600, 800, 880},
    };
    for (const Chevron& c : chevron) {
        SCOPED_TRACE(std::string("Chevron, ") + c.tallest);
        SideValueTable sides;
        sides["LEFT"] = {{"D_j", 60}, {"down_L_h", 250}, {"L_brb", 3000}, {"down_L_v", c.left_L_v}};
        sides["RIGHT"] = {{"D_j", 50}, {"down_L_h", 250}, {"L_brb", 3000}, {"down_L_v", c.right_L_v}};
        sides["MIDDLE"] = {{"Lh_mid", 600}, {"Lv_mid", c.Lv_mid}};
        TBraceValues b;
        b.D_j = c.member_D_j;
        const std::optional<TViewFit> fit = FitChevronDetailBox(779, 196, b, sides);
        ASSERT_TRUE(fit);
        EXPECT_NEAR(fit->ScaleY, 196.0 / c.height, 1e-6);
    }
}

TEST(ViewFit, TheChevronDetailBoxCountsBothBracesAndTheMiddlePlate) {
    SideValueTable sides;
    sides["LEFT"] = {{"D_j", 60}, {"down_L_h", 250}, {"L_brb", 3000}, {"down_L_v", 200}};
    sides["RIGHT"] = {{"D_j", 50}, {"down_L_h", 250}, {"L_brb", 3000}, {"down_L_v", 250}};
    sides["MIDDLE"] = {{"Lh_mid", 600}, {"Lv_mid", 400}};
    TBraceValues b;
    b.D_j = 50;  // the right brace's, as the reader leaves it
    b.L_brb = 3000;
    b.down_L_h = 250;
    b.up_L_h = 0;
    const std::optional<TViewFit> fit = FitChevronDetailBox(779, 196, b, sides);
    ASSERT_TRUE(fit);
    // Left: 30 + 250 + 60 + 3000 + 60; middle 600; right: 50 + 3000 + 50 + 50 + 250 + 25;
    // 7425 x 1.1 = 8167.5 wide, and Lv_mid 400 the tallest: 440 high. 779 / 8167.5 =
    // 0.0953780 is below 196 / 440 = 0.445455: the height grows to 2054.9807.
    EXPECT_NEAR(fit->ScaleX, 0.0953780, 1e-7);
    EXPECT_NEAR(fit->ScaleY, 0.445455, 1e-6);
    EXPECT_EQ(fit->Width, 8167.5f);
    EXPECT_NEAR(fit->Height, 2054.9807, 1e-3);
    // Half the box less 1.5 of the member D_j; x as for a Diagonal bay from the
    // members' span 3000 + 250 + 0 + 2 x 50 = 3350, which the drawing does not apply.
    EXPECT_NEAR(fit->OffsetY, 952.4904, 1e-3);
    EXPECT_NEAR(fit->OffsetX, 2408.75, 1e-3);

    // The height starts from the member D_j (the right brace's), not the left one's:
    // 4.5 x 50 = 225 stays below the right plate's 250, where 4.5 x 60 would not.
    SideValueTable low = sides;
    low["MIDDLE"]["Lv_mid"] = 100;
    EXPECT_NEAR(FitChevronDetailBox(779, 196, b, low)->ScaleY, 196.0 / 275.0, 1e-6);

    // A missing side or value gives no box, and reading enters nothing.
    SideValueTable empty;
    EXPECT_FALSE(FitChevronDetailBox(779, 196, b, empty));
    EXPECT_TRUE(empty.empty());
    for (const auto& [side, values] : sides) {
        for (const auto& entry : values) {
            SideValueTable partial = sides;
            partial[side].erase(entry.first);
            const std::size_t entries = partial[side].size();
            EXPECT_FALSE(FitChevronDetailBox(779, 196, b, partial)) << side << " without " << entry.first;
            EXPECT_EQ(partial[side].size(), entries) << side;
        }
    }
}

}  // namespace
