#pragma once
// One braced bay whose sides differ wherever the code must tell them apart: the left
// and right columns, the upper and lower beams (designation, depth, width, web and
// flange, stiffness) and the four clear distances. Its inputs as the user types them,
// the frame members a result of it leaves, and the frame view's box on its panel,
// worked out by hand, for the request, fit, elevation and detail tests alike.
#include <gtest/gtest.h>

#include <string>

#include "app/DOVEREFORM.h"

namespace testing_support {

// A world box (mm) on a panel, and where the model's origin sits in it.
struct ViewBox {
    float width, height, offset_x, offset_y;
};

namespace asymmetric_bay {

// mm. Column faces at x 200 and 5720, beam faces at y 244 and 3500.
constexpr float kColumnHeight = 3800;
constexpr float kBeamLength = 6000;
constexpr float kLeftColumn = 400;
constexpr float kRightColumn = 560;
constexpr float kUpperBeam = 600;  // H600x200x11x17
constexpr float kLowerBeam = 488;  // H488x300x12x18
constexpr float kLeftClear = 80;
constexpr float kRightClear = 110;
constexpr float kUpperClear = 95;
constexpr float kLowerClear = 60;
constexpr float kSlab = 140;

// The window's edits as the user types them.
inline void Enter(DOVEREForm& form) {
    const std::pair<TEdit*, const char*> texts[] = {
        {form.LabeledEdit_H_col, "3800"},
        {form.LabeledEdit_L_beam, "6000"},
        {form.LabeledEdit_d_c_left, "400"},
        {form.LabeledEdit_d_c_right, "560"},
        {form.LabeledEdit_Beam_up, "H600x200x11x17"},
        {form.LabeledEdit_Beam_down, "H488x300x12x18"},
        {form.LabeledEdit_d_b_up, "600"},
        {form.LabeledEdit_d_b_down, "488"},
        {form.LabeledEdit_Ib_up, "776000000"},
        {form.LabeledEdit_Mp_up, "98340"},
        {form.LabeledEdit_Ib_down, "710000000"},
        {form.LabeledEdit_Mp_down, "105600"},
        {form.LabeledEdit_Left_CD, "80"},
        {form.LabeledEdit_Right_CD, "110"},
        {form.LabeledEdit_Upper_CD, "95"},
        {form.LabeledEdit_Lower_CD, "60"},
        {form.LabeledEdit_Slab_Thickness, "140"},
    };
    for (const auto& [edit, text] : texts) edit->SetText(text);
}

// The frame members that the views read, as a result of this bay leaves them.
inline TFrameValues FrameValues() {
    TFrameValues f;
    f.H_col = kColumnHeight;
    f.L_beam = kBeamLength;
    f.d_c_left = kLeftColumn;
    f.d_c_right = kRightColumn;
    f.d_b_up = kUpperBeam;
    f.d_b_down = kLowerBeam;
    f.col_left_gap_for_L_brb = kLeftClear;
    f.col_right_gap_for_L_brb = kRightClear;
    f.beam_up_gap_for_L_brb = kUpperClear;
    f.beam_down_gap_for_L_brb = kLowerClear;
    f.default_thickness_of_slab_for_L_brb = kSlab;
    return f;
}

// Types the bay and designs it once on the window's service; the frame members then
// hold the bay as the result echoes it.
inline ::testing::AssertionResult Design(DOVEREForm& form) {
    Enter(form);
    if (!form.RunDesign()) return ::testing::AssertionFailure() << "the design read no result";
    const TFrameValues want = FrameValues();
    const TFrameValues& got = form.FrameValues;
#define ZORV_SAME(name) \
    if (got.name != want.name) return ::testing::AssertionFailure() << #name " is " << got.name;
    ZORV_SAME(H_col) ZORV_SAME(L_beam) ZORV_SAME(d_c_left) ZORV_SAME(d_c_right) ZORV_SAME(d_b_up)
    ZORV_SAME(d_b_down) ZORV_SAME(col_left_gap_for_L_brb) ZORV_SAME(col_right_gap_for_L_brb)
    ZORV_SAME(beam_up_gap_for_L_brb) ZORV_SAME(beam_down_gap_for_L_brb) ZORV_SAME(default_thickness_of_slab_for_L_brb)
#undef ZORV_SAME
    return ::testing::AssertionSuccess();
}

// The frame view on its 409 x 294 panel. Wanted: (480 + 6000) x 1.15 = 7452 by
// (544 + 3800) x 1.15 = 4995.6. 409 / 7452 = 0.0548846 is below 294 / 4995.6 =
// 0.0588518, so the width stays and the height grows to 294 x 7452 / 409 = 5356.6944;
// the origin sits at ((7452 - 6000) / 2, (5356.6944 - 3800) / 2).
constexpr float kFrameScaleX = 0.0548846f;
constexpr float kFrameScaleY = 0.0588518f;
constexpr ViewBox kFrameBox{7452.0f, 5356.6944f, 726.0f, 778.3472f};

}  // namespace asymmetric_bay
}  // namespace testing_support
