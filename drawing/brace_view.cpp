// A brace in the elevation: translucent segments along its axis from the lower work
// point of the current transform, the casing over them, and a bolted joint's bolts.
#include "app/DOVEREFORM.h"
#include "drawing/brace_geometry.h"
#include "drawing/gl_draw.h"
#include "platform/gl/gl.h"

namespace {

// Into the brace's frame, moved along the axis to x0.
void PushBraceFrame(float angle_deg, float x0) {
    glPushMatrix();
    glRotatef(angle_deg, 0.0f, 0.0f, 1.0f);
    glTranslatef(x0, 0.0f, 0.0f);
}

// A segment of length len, depth a at its start and b at its end, centred on the axis.
void DrawSegmentFill(const TGlColor& color, float angle_deg, float x0, float len, float a, float b) {
    PushBraceFrame(angle_deg, x0);
    FillBlendedPolygon(color, {{0.0f, -a / 2}, {0.0f, a / 2}, {len, b / 2}, {len, -b / 2}});
    glPopMatrix();
}

}  // namespace

void DOVEREForm::DrawBrb() {
    if (!ShowBRB) return;
    DrawBrbEnds();
    DrawBrbTransitions();
    DrawBrbCore();
    DrawBrbCasing();
}

void DOVEREForm::DrawBrbEnds() {
    DrawBrbLxSegments();
    DrawBrbLnSegments();
    DrawBrbJointPlates();
}

void DOVEREForm::DrawBrbLxSegments() {
    const TBraceValues& b = BraceValues;
    const TBraceStations s = BraceStations(b);
    const float angle = BraceAngleDegrees(b.tan_phi);
    DrawSegmentFill(GlPalette.LxColor, angle, s.LowerLx, b.L_x, b.D_j, b.D_j);
    DrawSegmentFill(GlPalette.LxColor, angle, s.UpperLx, b.L_x, b.D_j, b.D_j);
}

void DOVEREForm::DrawBrbLnSegments() {
    const TBraceValues& b = BraceValues;
    const TBraceStations s = BraceStations(b);
    const float angle = BraceAngleDegrees(b.tan_phi);
    DrawSegmentFill(GlPalette.LnColor, angle, s.LowerLn, b.L_n, b.D_j, b.D_j);
    DrawSegmentFill(GlPalette.LnColor, angle, s.UpperLn, b.L_n, b.D_j, b.D_j);
}

void DOVEREForm::DrawBrbJointPlates() {
    const TBraceValues& b = BraceValues;
    const TBraceStations s = BraceStations(b);
    const float angle = BraceAngleDegrees(b.tan_phi);
    const bool bolted = CtypeText == "Bolted";
    // A welded joint's fill runs from -t_j/2 up to D_j/2 and its outline from -D_j/2
    // up to t_j/2, so the two overlap in the band t_j wide about the axis.
    const float fill_low = bolted ? -b.D_j / 2 : -b.t_j / 2;
    const float outline_high = bolted ? b.t_c / 2 : b.t_j / 2;
    const float outline_low = bolted ? -b.t_c / 2 : -b.D_j / 2;
    for (float start : {s.LowerJoint, s.UpperJoint}) {
        PushBraceFrame(angle, start);
        FillBlendedPolygon(GlPalette.JointColor,
                           {{0.0f, fill_low}, {0.0f, b.D_j / 2}, {b.L_w, b.D_j / 2}, {b.L_w, fill_low}});
        glLineWidth(1.0f);
        glColor3f(1.0f, 1.0f, 1.0f);
        glLineStipple(GlPalette.DashFactor, GlPalette.DashPattern);
        glEnable(GL_LINE_STIPPLE);
        glBegin(GL_LINE_LOOP);
        glVertex2f(0.0f, outline_high);
        glVertex2f(0.0f, outline_low);
        glVertex2f(b.L_w, outline_low);
        glVertex2f(b.L_w, outline_high);
        glEnd();
        glDisable(GL_LINE_STIPPLE);
        glPopMatrix();
    }
    DrawBrbBolts();
}

void DOVEREForm::DrawBrbBolts() {
    if (CtypeText != "Bolted") return;
    const TBraceValues& b = BraceValues;
    const TBraceStations s = BraceStations(b);
    const float angle = BraceAngleDegrees(b.tan_phi);
    const bool staggered = CheckBox_Staggered->Checked();
    for (bool upper : {false, true}) {
        PushBraceFrame(angle, upper ? s.UpperJoint : s.LowerJoint);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_POINT_SMOOTH);
        glPointSize(3.0f);
        glColor4f(1.0f, 1.0f, 0.0f, 1.0f);
        glBegin(GL_POINTS);
        for (const TBoltPoint& p : JointBoltPoints(BoltedValues, b.t_c, b.L_w, upper, staggered)) glVertex2f(p.X, p.Y);
        glEnd();
        glPopMatrix();
        glDisable(GL_POINT_SMOOTH);
        glDisable(GL_BLEND);
    }
}

void DOVEREForm::DrawBrbTransitions() {
    const TBraceValues& b = BraceValues;
    const TBraceStations s = BraceStations(b);
    const float angle = BraceAngleDegrees(b.tan_phi);
    DrawSegmentFill(GlPalette.TransitionColor, angle, s.LowerTransition, b.L_t, b.D_j, b.D_c);
    DrawSegmentFill(GlPalette.TransitionColor, angle, s.UpperTransition, b.L_t, b.D_c, b.D_j);
}

void DOVEREForm::DrawBrbCore() {
    const TBraceValues& b = BraceValues;
    DrawSegmentFill(GlPalette.CoreColor, BraceAngleDegrees(b.tan_phi), BraceStations(b).Core, b.L_c, b.D_c, b.D_c);
}

void DOVEREForm::DrawBrbCasing() {
    const TBraceValues& b = BraceValues;
    const float half = b.D_t / 2;
    PushBraceFrame(BraceAngleDegrees(b.tan_phi), BraceStations(b).Casing);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    SetGlColor(GlPalette.CasingColor);
    // The walls are filled twice and so show darker than the inside.
    const TGlPoint parts[3][4] = {
        {{0.0f, -half}, {0.0f, half}, {b.L_sc, half}, {b.L_sc, -half}},
        {{0.0f, -half}, {0.0f, -half + b.t}, {b.L_sc, -half + b.t}, {b.L_sc, -half}},
        {{0.0f, half - b.t}, {0.0f, half}, {b.L_sc, half}, {b.L_sc, half - b.t}},
    };
    for (const auto& part : parts) {
        glBegin(GL_POLYGON);
        for (const TGlPoint& p : part) glVertex2f(p.X, p.Y);
        glEnd();
    }
    glDisable(GL_BLEND);
    glPopMatrix();
}
