// The detail view's layout: the side, plan and section rows of the brace and its
// gusset plates, placed by running translations from the view's origin. The rows
// themselves are drawn in detail_drawers.cpp.
#include "app/DOVEREFORM.h"
#include "drawing/gl_draw.h"
#include "drawing/view_fit.h"
#include "platform/gl/gl.h"

namespace {

constexpr const char* kLeft = "LEFT";
constexpr const char* kRight = "RIGHT";

// What each brace of a Chevron bay takes from its side before it is drawn; the
// section widths and thicknesses stay as the result reader left them.
constexpr const char* kSideKeys[] = {
    "L_wp",  "L_brb",    "L_w",      "L_n",  "L_x",
    "L_t",   "L_c",      "D_j",      "t",    "D_t",
    "L_sc",  "down_L_v", "down_L_h", "t_sf", "Gusset_Plate_down_x1",
    "Gusset_Plate_down_x2", "Gusset_Plate_down_y1", "Gusset_Plate_down_y2",
};

// A member whose side or key is missing keeps its value; nothing is entered.
void CopyDetailSide(DOVEREForm& f, const char* side) {
    for (const char* key : kSideKeys) {
        const float* value = FindSideEntry(f.SideValues, side, key);
        float TBraceValues::*member = TBraceValues::Member(key);
        if (value && member) f.BraceValues.*member = *value;
    }
}

// The lower corner plate from its inner corner, lying right of it and above it.
void DrawLowerCornerPlate(const TGlColor& color, const TBraceValues& b) {
    FillBlendedPolygon(color, {{0.0f, 0.0f},
                               {0.0f, b.down_L_v},
                               {b.Gusset_Plate_down_x2, b.Gusset_Plate_down_y2},
                               {b.Gusset_Plate_down_x1, b.Gusset_Plate_down_y1},
                               {b.down_L_h, 0.0f}});
}

// From the lower plate's inner corner to the upper plate's, in a Diagonal bay.
TGlPoint UpperPlateCorner(const TBraceValues& b) {
    const double D = b.D_j;
    return {static_cast<float>(1.4 * D + b.L_brb + b.up_L_h + b.down_L_h), 0.5f * b.D_j + b.up_L_v};
}

// Without a fitted box (no result yet) the view keeps the identity projection, where
// the fixed allowances of the rows (the slot's run-on, a taper's stand-off, the
// offset short of the core) would show as lines and wedges across the whole panel.
bool HasDiagonalBox(const DOVEREForm& f) {
    return FitDiagonalDetailBox(f.OpGLPanel2->ClientWidth(), f.OpGLPanel2->ClientHeight(), f.BraceValues).has_value();
}
bool HasChevronBox(DOVEREForm& f) {
    return FitChevronDetailBox(f.OpGLPanel2->ClientWidth(), f.OpGLPanel2->ClientHeight(), f.BraceValues, f.SideValues)
        .has_value();
}

// The side row at the current origin, then the plan row and the section row each
// that much higher than the row before; the origin is left at the section row.
void DrawRows(DOVEREForm& f, float plan_rise, float section_rise) {
    f.DrawSideEnds();
    f.DrawSideTransitions();
    f.DrawSideCore();
    glTranslatef(0.0f, plan_rise, 0.0f);
    f.DrawPlanEnds();
    f.DrawPlanTransitions();
    f.DrawPlanCore();
    glTranslatef(0.0f, section_rise, 0.0f);
    f.DrawCoreCrossSection();
    f.DrawLxCrossSection();
    f.DrawJointCrossSection();
}

}  // namespace

void DOVEREForm::DrawDiagonalDetails() {
    if (!HasDiagonalBox(*this)) return;
    const float D = BraceValues.D_j;
    const float h = BraceValues.down_L_h;
    const double Dd = D;
    // No save here: each step moves on from where the last one left the origin.
    glTranslatef(D * 0.5f + h, 0.0f, 0.0f);
    // Small joints leave more room for the sections above them.
    DrawRows(*this, static_cast<float>(1.3 * Dd), D < 100.0f ? 4.0f * D : static_cast<float>(1.6 * Dd));
    glTranslatef(static_cast<float>(-h - 0.7 * Dd), static_cast<float>(-2.9 * Dd), 0.0f);
    DrawGussetDetails();
    if (ShowLr) DrawDetailBucklingLines();
}

void DOVEREForm::DrawChevronDetails() {
    const TBraceValues& b = BraceValues;
    if (!HasChevronBox(*this)) {
        // The members still end with the right brace's values.
        CopyDetailSide(*this, kLeft);
        CopyDetailSide(*this, kRight);
        return;
    }
    // The left brace from the left corner plate to the middle plate.
    CopyDetailSide(*this, kLeft);
    double D = b.D_j;
    glTranslatef(b.D_j, 0.0f, 0.0f);
    DrawLowerCornerPlate(GlPalette.GussetColor, b);
    glTranslatef(b.D_j + b.down_L_h, 0.0f, 0.0f);
    DrawRows(*this, static_cast<float>(1.3 * D), static_cast<float>(1.6 * D));
    // The middle plate hangs from the height of the section rows.
    glTranslatef(b.D_j + b.L_brb + b.Lh_mid * 0.5f, 0.0f, 0.0f);
    FillBlendedPolygon(GlPalette.GussetColor, {{-b.Lh_mid * 0.5f, 0.0f},
                                               {-b.Lh_mid * 0.5f, -b.MIDDLE_GUSSET_y1},
                                               {-b.MIDDLE_GUSSET_x2, -b.Lv_mid},
                                               {b.MIDDLE_GUSSET_x3, -b.Lv_mid},
                                               {b.MIDDLE_GUSSET_x4, -b.MIDDLE_GUSSET_y4},
                                               {b.MIDDLE_GUSSET_x4, 0.0f}});

    // The right brace faces the same way as the left one; only its plate is mirrored.
    CopyDetailSide(*this, kRight);
    D = b.D_j;
    glTranslatef(b.Lh_mid * 0.5f + b.D_j, static_cast<float>(-2.9 * D), 0.0f);
    DrawRows(*this, static_cast<float>(1.3 * D), static_cast<float>(1.6 * D));
    glTranslatef(b.D_j + b.L_brb + b.down_L_h, static_cast<float>(-2.9 * D), 0.0f);
    glScalef(-1.0f, 1.0f, 1.0f);
    DrawLowerCornerPlate(GlPalette.GussetColor, b);
}

void DOVEREForm::DrawGussetDetails() {
    const TBraceValues& b = BraceValues;
    glPushMatrix();
    DrawLowerCornerPlate(GlPalette.GussetColor, b);
    glPopMatrix();

    const TGlPoint corner = UpperPlateCorner(b);
    glPushMatrix();
    glTranslatef(corner.X, corner.Y, 0.0f);
    FillBlendedPolygon(GlPalette.GussetColor, {{0.0f, 0.0f},
                                               {0.0f, -b.up_L_v},
                                               {-b.Gusset_Plate_up_x2, -b.Gusset_Plate_up_y2},
                                               {-b.Gusset_Plate_up_x1, -b.Gusset_Plate_up_y1},
                                               {-b.up_L_h, 0.0f}});
    glPopMatrix();
}

void DOVEREForm::DrawDetailBucklingLines() {
    const TFrameValues& f = FrameValues;
    // The lines are in the elevation's coordinates about each work point, which lies
    // half a column and half a beam depth beyond the plate's inner corner.
    glPushMatrix();
    glTranslatef(-f.d_c_left / 2, -f.d_b_down / 2, 0.0f);
    DrawLowerBucklingLines();
    DrawLowerBeLine();
    glPopMatrix();

    const TGlPoint corner = UpperPlateCorner(BraceValues);
    glPushMatrix();
    glTranslatef(corner.X, corner.Y, 0.0f);
    glTranslatef(f.d_c_right / 2, f.d_b_up / 2, 0.0f);
    DrawUpperBucklingLines();
    DrawUpperBeLine();
    glPopMatrix();
}
