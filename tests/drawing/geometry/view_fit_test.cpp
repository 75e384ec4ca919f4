// The fits of both views to their panels.
#include <gtest/gtest.h>

#include <cmath>

#include <cfloat>

#include "drawing/view_fit.h"

namespace {

TFrameValues Bay(float L, float H, float dc, float db) {
    TFrameValues f;
    f.L_beam = L;
    f.H_col = H;
    f.d_c_left = f.d_c_right = dc;
    f.d_b_up = f.d_b_down = db;
    return f;
}

TEST(ViewFit, TheFrameBoxGrowsInHeightToThePanelAndCentresTheBay) {
    const std::optional<TViewFit> fit = FitFrameBox(409, 294, Bay(6000, 4000, 400, 600));
    ASSERT_TRUE(fit);
    // 409 / 7360 is just below 294 / 5290: the width keeps its extent.
    EXPECT_NEAR(fit->ScaleX, 0.0555707, 1e-7);
    EXPECT_NEAR(fit->ScaleY, 0.0555766, 1e-7);
    EXPECT_EQ(fit->Scale, fit->ScaleX);
    EXPECT_EQ(fit->Width, 7360.0f);
    EXPECT_EQ(fit->Height, 5290.5625f);
    EXPECT_EQ(fit->OffsetX, 680.0f);
    EXPECT_EQ(fit->OffsetY, 645.28125f);
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
    // S = 4700, W0 = 5170, H0 = 660: the width limits the scale.
    EXPECT_FLOAT_EQ(fit->ScaleX, 779.0f / 5170.0f);
    EXPECT_FLOAT_EQ(fit->ScaleY, 196.0f / 660.0f);
    EXPECT_EQ(fit->Width, 5170.0f);
    EXPECT_FLOAT_EQ(fit->Height, 196.0f / (779.0f / 5170.0f));
    EXPECT_FLOAT_EQ(fit->OffsetX, (fit->Width - 4700.0f) * 0.5f);
    EXPECT_FLOAT_EQ(fit->OffsetY, 120.0f);

    b.up_L_v = 0;  // 4.5 D_j = 450 is the tallest
    EXPECT_FLOAT_EQ(FitDiagonalDetailBox(779, 196, b)->ScaleY, 196.0f / 495.0f);
    EXPECT_FALSE(FitDiagonalDetailBox(779, 196, TBraceValues{}));
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
    // Left: 30 + 250 + 60 + 3000 + 60; middle 600; right: 50 + 3000 + 50 + 50 + 250 + 25.
    const float span = 7425.0f;
    EXPECT_FLOAT_EQ(fit->ScaleX, 779.0f / static_cast<float>(span * 1.1));
    // Lv_mid 400 is the tallest.
    EXPECT_FLOAT_EQ(fit->ScaleY, 196.0f / static_cast<float>(400 * 1.1));
    EXPECT_FLOAT_EQ(fit->OffsetY, fit->Height * 0.5f - 75.0f);
    EXPECT_FLOAT_EQ(fit->OffsetX, (fit->Width - 3350.0f) * 0.5f);

    // A missing side or value gives no box, and reading enters nothing.
    SideValueTable empty;
    EXPECT_FALSE(FitChevronDetailBox(779, 196, b, empty));
    EXPECT_TRUE(empty.empty());
    for (const char* side : {"LEFT", "MIDDLE", "RIGHT"}) {
        SideValueTable partial = sides;
        partial[side].erase(partial[side].begin());
        const std::size_t entries = partial[side].size();
        EXPECT_FALSE(FitChevronDetailBox(779, 196, b, partial)) << side;
        EXPECT_EQ(partial[side].size(), entries) << side;
    }
}

}  // namespace
