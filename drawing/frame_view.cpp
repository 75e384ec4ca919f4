// The bay elevation: members, reference lines, gusset plates with their stiffeners,
// the braces and the L lines, by display layer. A Chevron bay's right side is its
// left side's drawing, mirrored, from the right side's values.
#include <string_view>

#include "app/DOVEREFORM.h"
#include "drawing/frame_geometry.h"
#include "drawing/gl_draw.h"
#include "platform/gl/gl.h"

namespace {

// A member filled from a side's value of the same key.
struct SideEntry {
    const char* key;
    float TBraceValues::*member;
};
#define ZORV_SIDE_ENTRY(name) SideEntry{#name, &TBraceValues::name}

// List A (after the column depth, which goes its own way), B, C and D.
constexpr SideEntry kGussetList[] = {
    ZORV_SIDE_ENTRY(down_L_v),             ZORV_SIDE_ENTRY(down_L_h),
    ZORV_SIDE_ENTRY(t_sf),                 ZORV_SIDE_ENTRY(Gusset_Plate_down_x1),
    ZORV_SIDE_ENTRY(Gusset_Plate_down_x2), ZORV_SIDE_ENTRY(Gusset_Plate_down_y1),
    ZORV_SIDE_ENTRY(Gusset_Plate_down_y2),
};
constexpr SideEntry kBraceList[] = {
    ZORV_SIDE_ENTRY(tan_phi), ZORV_SIDE_ENTRY(Shrink_Ratio_DOWN), ZORV_SIDE_ENTRY(L_wp), ZORV_SIDE_ENTRY(L_brb),
    ZORV_SIDE_ENTRY(L_w),     ZORV_SIDE_ENTRY(L_n),               ZORV_SIDE_ENTRY(L_x),  ZORV_SIDE_ENTRY(L_t),
    ZORV_SIDE_ENTRY(L_c),     ZORV_SIDE_ENTRY(D_j),               ZORV_SIDE_ENTRY(t),    ZORV_SIDE_ENTRY(D_t),
    ZORV_SIDE_ENTRY(L_sc),
};
constexpr SideEntry kLowerLineList[] = {
    ZORV_SIDE_ENTRY(Be_dw_fx1),   ZORV_SIDE_ENTRY(Be_dw_fy1),   ZORV_SIDE_ENTRY(Be_dw_fx2),
    ZORV_SIDE_ENTRY(Be_dw_fy2),   ZORV_SIDE_ENTRY(L_1_down_x0), ZORV_SIDE_ENTRY(L_1_down_y0),
    ZORV_SIDE_ENTRY(L_1_down_x1), ZORV_SIDE_ENTRY(L_1_down_y1), ZORV_SIDE_ENTRY(L_2_down_x0),
    ZORV_SIDE_ENTRY(L_2_down_y0), ZORV_SIDE_ENTRY(L_2_down_x1), ZORV_SIDE_ENTRY(L_2_down_y1),
    ZORV_SIDE_ENTRY(L_3_down_x0), ZORV_SIDE_ENTRY(L_3_down_y0), ZORV_SIDE_ENTRY(L_3_down_x1),
    ZORV_SIDE_ENTRY(L_3_down_y1),
};
constexpr SideEntry kUpperLineList[] = {
    ZORV_SIDE_ENTRY(Be_up_fx1), ZORV_SIDE_ENTRY(Be_up_fy1), ZORV_SIDE_ENTRY(Be_up_fx2), ZORV_SIDE_ENTRY(Be_up_fy2),
    ZORV_SIDE_ENTRY(L_1_up_x0), ZORV_SIDE_ENTRY(L_1_up_y0), ZORV_SIDE_ENTRY(L_1_up_x1), ZORV_SIDE_ENTRY(L_1_up_y1),
    ZORV_SIDE_ENTRY(L_2_up_x0), ZORV_SIDE_ENTRY(L_2_up_y0), ZORV_SIDE_ENTRY(L_2_up_x1), ZORV_SIDE_ENTRY(L_2_up_y1),
    ZORV_SIDE_ENTRY(L_3_up_x0), ZORV_SIDE_ENTRY(L_3_up_y0), ZORV_SIDE_ENTRY(L_3_up_x1), ZORV_SIDE_ENTRY(L_3_up_y1),
};
#undef ZORV_SIDE_ENTRY

constexpr const char* kLeft = "LEFT";
constexpr const char* kRight = "RIGHT";

// A member whose side or key is missing keeps its value.
template <std::size_t N>
void CopySide(DOVEREForm& f, const char* side, const SideEntry (&list)[N]) {
    for (const SideEntry& entry : list)
        if (const float* value = FindSideEntry(f.SideValues, side, entry.key)) f.BraceValues.*entry.member = *value;
}

void CopyColumnDepth(DOVEREForm& f, const char* side, const char* key) {
    if (const float* value = FindSideEntry(f.SideValues, side, key)) f.FrameValues.d_c_left = *value;
}

// List A: the mirrored right side draws the right column as its left one.
void CopyGussetSide(DOVEREForm& f, const char* side) {
    CopyColumnDepth(f, side, std::string_view(side) == kLeft ? "d_c_left" : "d_c_right");
    CopySide(f, side, kGussetList);
}

void NamePart(DOVEREForm& f, const char* name) {
    ++f.PickCount;
    f.PickNames[f.PickCount] = name;
    glLoadName(static_cast<GLuint>(f.PickCount));
}

const TGlColor kWhite{1.0f, 1.0f, 1.0f, 1.0f};
const TGlColor kMagenta{1.0f, 0.0f, 1.0f, 1.0f};
const TGlColor kGrey{0.5f, 0.5f, 0.5f, 1.0f};
const TGlColor kWorkLineDash{1.0f, 0.5f, 1.0f, 1.0f};

// A segment, then the same segment dashed in another colour over it.
void DrawDashedOver(const TGlPalette& palette, const TGlColor& solid, const TGlColor& dashed, TGlPoint a, TGlPoint b) {
    SetGlColorRgb(solid);
    DrawSegment(a, b);
    SetGlColorRgb(dashed);
    DrawDashedSegment(palette, a, b);
}

}  // namespace

void DOVEREForm::DrawFrameView() {
    const bool chevron = CfgText == "Chevron";
    const float L = FrameValues.L_beam;
    const float H = FrameValues.H_col;

    if (ShowRL) DrawBayOutline();
    if (ShowFrame) {
        DrawLeftColumn();
        DrawRightColumn();
        DrawLowerBeam();
        DrawUpperBeam();
    }
    if (ShowRL) {
        DrawBraceWorkLines();
        if (chevron) {
            PushMirror(L);
            DrawBraceWorkLines();
            glPopMatrix();
        }
    }

    if (ShowGusset) {
        const bool stiffeners = CheckBox_Stiffener->Checked();
        if (!chevron) {
            DrawGussetPlates();
            if (stiffeners) DrawGussetStiffeners();
        } else {
            CopyGussetSide(*this, kLeft);
            DrawGussetPlates();
            if (stiffeners) DrawGussetStiffeners();
            CopyGussetSide(*this, kRight);
            PushMirror(L);
            DrawGussetPlates();
            if (stiffeners) DrawGussetStiffeners();
            glPopMatrix();
            CopyColumnDepth(*this, kLeft, "d_c_left");
        }
    }

    // The brace names are given whether the brace layer is on or not.
    if (!chevron) {
        NamePart(*this, "ROR-ERE");
        glPushMatrix();
        DrawBrb();
        glPopMatrix();
    } else {
        CopySide(*this, kLeft, kBraceList);
        NamePart(*this, "ROR-ERE(Left)");
        glPushMatrix();
        DrawBrb();
        glPopMatrix();
        CopySide(*this, kRight, kBraceList);
        NamePart(*this, "ROR-ERE(Right)");
        PushMirror(L);
        DrawBrb();
        glPopMatrix();
    }

    if (ShowRL) DrawClearDistanceLines();

    if (ShowLr) {
        if (!chevron) {
            NamePart(*this, "Be & Lr (Lower)");
            glPushMatrix();
            DrawLowerBeLine();
            DrawLowerBucklingLines();
            glPopMatrix();
            NamePart(*this, "Be & Lr (Upper)");
            glPushMatrix();
            glTranslatef(L, H, 0.0f);
            DrawUpperBeLine();
            DrawUpperBucklingLines();
            glPopMatrix();
        } else {
            for (const char* side : {kLeft, kRight}) {
                const bool right = std::string_view(side) == kRight;
                CopySide(*this, side, kLowerLineList);
                NamePart(*this, "Be & Lr (Lower)");
                glPushMatrix();
                if (right) {
                    glTranslatef(L, 0.0f, 0.0f);
                    glScalef(-1.0f, 1.0f, 1.0f);
                }
                DrawLowerBeLine();
                DrawLowerBucklingLines();
                glPopMatrix();
                CopySide(*this, side, kUpperLineList);
                NamePart(*this, "Be & Lr (Upper)");
                glPushMatrix();
                glTranslatef(L / 2, H, 0.0f);
                if (right) glScalef(-1.0f, 1.0f, 1.0f);
                DrawUpperBeLine();
                DrawUpperBucklingLines();
                glPopMatrix();
            }
        }
    }
}

void DOVEREForm::DrawBayOutline() {
    const float L = FrameValues.L_beam, H = FrameValues.H_col;
    glPushMatrix();
    glLineWidth(1.0f);
    SetGlColorRgb(kWhite);
    glBegin(GL_LINE_LOOP);
    glVertex2f(0.0f, 0.0f);
    glVertex2f(0.0f, H);
    glVertex2f(L, H);
    glVertex2f(L, 0.0f);
    glEnd();
    SetGlColorRgb(kMagenta);
    DrawDashedSegment(GlPalette, {0.0f, 0.0f}, {0.0f, H});
    DrawDashedSegment(GlPalette, {L, 0.0f}, {L, H});
    DrawDashedSegment(GlPalette, {0.0f, H}, {L, H});
    DrawDashedSegment(GlPalette, {0.0f, 0.0f}, {L, 0.0f});
    glPopMatrix();
}

void DOVEREForm::DrawLeftColumn() {
    const TFrameValues& f = FrameValues;
    NamePart(*this, "Left Column");
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, 0.0f);
    const float x = f.d_c_left / 2, bottom = -f.d_b_down / 2, top = f.H_col + f.d_b_up / 2;
    FillBlendedPolygon(GlPalette.LeftColumnColor, {{-x, bottom}, {-x, top}, {x, top}, {x, bottom}});
    glPopMatrix();
}

void DOVEREForm::DrawRightColumn() {
    const TFrameValues& f = FrameValues;
    NamePart(*this, "Right Column");
    glPushMatrix();
    glTranslatef(f.L_beam, 0.0f, 0.0f);
    const float x = f.d_c_right / 2, bottom = -f.d_b_down / 2, top = f.H_col + f.d_b_up / 2;
    FillBlendedPolygon(GlPalette.RightColumnColor, {{-x, bottom}, {-x, top}, {x, top}, {x, bottom}});
    glPopMatrix();
}

void DOVEREForm::DrawLowerBeam() {
    const TFrameValues& f = FrameValues;
    NamePart(*this, "Lower Beam");
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, 0.0f);
    const float left = f.d_c_left / 2, right = f.L_beam - f.d_c_right / 2, y = f.d_b_down / 2;
    FillBlendedPolygon(GlPalette.LowerBeamColor, {{left, -y}, {left, y}, {right, y}, {right, -y}});
    glPopMatrix();
}

void DOVEREForm::DrawUpperBeam() {
    const TFrameValues& f = FrameValues;
    NamePart(*this, "Upper Beam");
    glPushMatrix();
    glTranslatef(0.0f, f.H_col, 0.0f);
    const float left = f.d_c_left / 2, right = f.L_beam - f.d_c_right / 2, y = f.d_b_up / 2;
    FillBlendedPolygon(GlPalette.UpperBeamColor, {{left, -y}, {left, y}, {right, y}, {right, -y}});
    glPopMatrix();
}

void DOVEREForm::DrawBraceWorkLines() {
    const float L = FrameValues.L_beam, H = FrameValues.H_col;
    glLineWidth(1.0f);
    if (CfgText == "Chevron") {
        DrawDashedOver(GlPalette, kWhite, kWorkLineDash, {0.0f, 0.0f}, {L / 2, H});
        DrawDashedOver(GlPalette, kWhite, kWorkLineDash, {L / 2, H}, {L, 0.0f});
    } else if (CfgText == "Diagonal") {
        DrawDashedOver(GlPalette, kWhite, kWorkLineDash, {0.0f, 0.0f}, {L, H});
    }
}

void DOVEREForm::DrawGussetPlates() {
    const TFrameValues& f = FrameValues;
    const TBraceValues& b = BraceValues;
    NamePart(*this, "Gusset");
    glPushMatrix();
    glTranslatef(f.d_c_left / 2, f.d_b_down / 2, 0.0f);
    FillBlendedPolygon(GlPalette.GussetColor, {{0.0f, 0.0f},
                                               {0.0f, b.down_L_v},
                                               {b.Gusset_Plate_down_x2, b.Gusset_Plate_down_y2},
                                               {b.Gusset_Plate_down_x1, b.Gusset_Plate_down_y1},
                                               {b.down_L_h, 0.0f}});
    glPopMatrix();

    if (CfgText != "Chevron") {
        glPushMatrix();
        glTranslatef(f.L_beam - f.d_c_right / 2, f.H_col - f.d_b_up / 2, 0.0f);
        FillBlendedPolygon(GlPalette.GussetColor, {{0.0f, 0.0f},
                                                   {0.0f, -b.up_L_v},
                                                   {-b.Gusset_Plate_up_x2, -b.Gusset_Plate_up_y2},
                                                   {-b.Gusset_Plate_up_x1, -b.Gusset_Plate_up_y1},
                                                   {-b.up_L_h, 0.0f}});
        glPopMatrix();
        return;
    }

    glPushMatrix();
    glTranslatef(f.L_beam / 2, f.H_col - f.d_b_up / 2, 0.0f);
    FillBlendedPolygon(GlPalette.GussetColor, {{-b.Lh_mid / 2, 0.0f},
                                               {-b.Lh_mid / 2, -b.MIDDLE_GUSSET_y1},
                                               {-b.MIDDLE_GUSSET_x2, -b.Lv_mid},
                                               {b.MIDDLE_GUSSET_x3, -b.Lv_mid},
                                               {b.MIDDLE_GUSSET_x4, -b.MIDDLE_GUSSET_y4},
                                               {b.MIDDLE_GUSSET_x4, 0.0f}});
    glPopMatrix();

    // The middle plate's stiffeners are drawn whatever the stiffener option says.
    const TMiddleStiffeners m = MiddleStiffeners(f, b);
    if (m.PlateLeft)
        FillPolygon(GlPalette.StiffenerColor,
                    {{*m.PlateLeft, m.Top}, {m.LineX[0], m.Top}, {m.LineX[0], m.Bottom}, {*m.PlateLeft, m.Bottom}});
    SetGlColor(GlPalette.StiffenerColor);
    for (float x : m.LineX) {
        glLineWidth(2.0f);
        DrawSegment({x, m.Top}, {x, m.Bottom});
    }
}

namespace {

// One stiffener: its plate, then its edge line, from its start along the edge.
void DrawStiffener(const TGlColor& color, const TStiffener& s, std::initializer_list<TGlPoint> plate, float line_end) {
    glPushMatrix();
    glTranslatef(s.X, s.Y, 0.0f);
    if (s.AngleDeg != 0.0f) glRotatef(s.AngleDeg, 0.0f, 0.0f, 1.0f);
    FillBlendedPolygon(color, plate);
    glLineWidth(2.0f);
    DrawSegment({0.0f, 0.0f}, {line_end, 0.0f});
    glPopMatrix();
}

}  // namespace

void DOVEREForm::DrawGussetStiffeners() {
    const bool upper = CfgText != "Chevron";
    const TCornerStiffeners s = CornerStiffeners(FrameValues, BraceValues, upper);
    const TGlColor& color = GlPalette.StiffenerColor;
    const float t = BraceValues.t_sf;
    if (s.LowerTop) {
        const float n = s.LowerTop->Length;
        DrawStiffener(color, *s.LowerTop, {{0.0f, 0.0f}, {n, 0.0f}, {n, t}, {0.0f, t}}, n);
    }
    if (s.LowerRight) {
        const float n = s.LowerRight->Length;
        DrawStiffener(color, *s.LowerRight, {{0.0f, 0.0f}, {0.0f, t}, {n, t}, {n, 0.0f}}, n);
    }
    if (s.UpperLower) {
        const float n = s.UpperLower->Length;
        DrawStiffener(color, *s.UpperLower, {{0.0f, 0.0f}, {0.0f, -t}, {-n, -t}, {-n, 0.0f}}, -n);
    }
    if (s.UpperLeft) {
        const float n = s.UpperLeft->Length;
        DrawStiffener(color, *s.UpperLeft, {{0.0f, 0.0f}, {0.0f, -t}, {-n, -t}, {-n, 0.0f}}, -n);
    }
}

void DOVEREForm::DrawClearDistanceLines() {
    const TFrameValues& f = FrameValues;
    const float left = f.d_c_left / 2, right = f.L_beam - f.d_c_right / 2;
    const float bottom = f.d_b_down / 2, top = f.H_col - f.d_b_up / 2;
    const float slab = bottom + f.default_thickness_of_slab_for_L_brb;
    glPushMatrix();
    glLineWidth(1.0f);
    SetGlColorRgb(kMagenta);
    const float gap_left = left + f.col_left_gap_for_L_brb;
    const float gap_right = right - f.col_right_gap_for_L_brb;
    const float gap_up = top - f.beam_up_gap_for_L_brb;
    const float gap_down = slab + f.beam_down_gap_for_L_brb;
    DrawDashedSegment(GlPalette, {gap_left, bottom}, {gap_left, top});
    DrawDashedSegment(GlPalette, {gap_right, bottom}, {gap_right, top});
    DrawDashedSegment(GlPalette, {left, gap_up}, {right, gap_up});
    DrawDashedSegment(GlPalette, {left, slab}, {right, slab});
    DrawDashedSegment(GlPalette, {left, gap_down}, {right, gap_down});
    glPopMatrix();
}

void DOVEREForm::DrawLowerBeLine() {
    const TBraceValues& b = BraceValues;
    glLineWidth(1.0f);
    DrawDashedOver(GlPalette, kGrey, kWhite, {b.Be_dw_fx1, b.Be_dw_fy1}, {b.Be_dw_fx2, b.Be_dw_fy2});
}

void DOVEREForm::DrawUpperBeLine() {
    const TBraceValues& b = BraceValues;
    glLineWidth(1.0f);
    DrawDashedOver(GlPalette, kGrey, kWhite, {-b.Be_up_fx1, -b.Be_up_fy1}, {-b.Be_up_fx2, -b.Be_up_fy2});
}

void DOVEREForm::DrawLowerBucklingLines() {
    const TBraceValues& b = BraceValues;
    glPushMatrix();
    glLineWidth(1.0f);
    SetGlColorRgb(GlPalette.L1LineColor);
    DrawSegment({b.L_1_down_x0, b.L_1_down_y0}, {b.L_1_down_x1, b.L_1_down_y1});
    SetGlColorRgb(GlPalette.L2LineColor);
    DrawSegment({b.L_2_down_x0, b.L_2_down_y0}, {b.L_2_down_x1, b.L_2_down_y1});
    SetGlColorRgb(GlPalette.L3LineColor);
    DrawSegment({b.L_3_down_x0, b.L_3_down_y0}, {b.L_3_down_x1, b.L_3_down_y1});
    glPopMatrix();
}

void DOVEREForm::DrawUpperBucklingLines() {
    const TBraceValues& b = BraceValues;
    glLineWidth(1.0f);
    SetGlColorRgb(GlPalette.L1LineColor);
    DrawSegment({-b.L_1_up_x0, -b.L_1_up_y0}, {-b.L_1_up_x1, -b.L_1_up_y1});
    SetGlColorRgb(GlPalette.L2LineColor);
    DrawSegment({-b.L_2_up_x0, -b.L_2_up_y0}, {-b.L_2_up_x1, -b.L_2_up_y1});
    SetGlColorRgb(GlPalette.L3LineColor);
    DrawSegment({-b.L_3_up_x0, -b.L_3_up_y0}, {-b.L_3_up_x1, -b.L_3_up_y1});
}
