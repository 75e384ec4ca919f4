// The rows of the detail view: the brace across its depth (side row), across its
// width (plan row) and three cross-sections, each from the outer end of the left
// joint on the brace axis. Translucent fills first, then white lines over them; a
// fill in the background colour is opaque and blanks out what lies under it.
#include <cmath>

#include "app/DOVEREFORM.h"
#include "drawing/brace_geometry.h"
#include "drawing/gl_draw.h"
#include "platform/gl/gl.h"

namespace {

// How far the slot of a joint runs into the L_n segment.
constexpr float kSlotRunOn = 25.0f;
// How far a flat bolted joint's taper stands off the plate face and stops short of
// the joint's depth.
constexpr float kTaperStandOff = 10.0f;

// The stations of a row, which starts at the outer end of the left joint.
TBraceStations RowStations(const TBraceValues& b) {
    TBraceValues row = b;
    row.Shrink_Ratio_DOWN = 0.0f;
    row.L_wp = 0.0f;
    return BraceStations(row);
}

void Vertex(float x, float y) { glVertex2f(x, y); }

// A filled box through (x0, y0), (x0, y1), (x1, y1), (x1, y0).
void FillBox(float x0, float y0, float x1, float y1) {
    glBegin(GL_POLYGON);
    Vertex(x0, y0);
    Vertex(x0, y1);
    Vertex(x1, y1);
    Vertex(x1, y0);
    glEnd();
}

// A filled rectangle len long and h deep about the axis.
void FillRect(float len, float h) { FillBox(0.0f, -h / 2, len, h / 2); }

// A rib w wide centred on x = cx, from y0 to y1.
void FillRib(float cx, float w, float y0, float y1) { FillBox(cx - w / 2, y0, cx + w / 2, y1); }

// The box's outline as a line strip back to its first corner.
void OutlineBox(float x0, float y0, float x1, float y1) {
    glBegin(GL_LINE_STRIP);
    Vertex(x0, y0);
    Vertex(x0, y1);
    Vertex(x1, y1);
    Vertex(x1, y0);
    Vertex(x0, y0);
    glEnd();
}

// Two lines over len at y = h and y = -h.
void EdgeLines(float len, float h) {
    glBegin(GL_LINES);
    Vertex(0.0f, h);
    Vertex(len, h);
    Vertex(0.0f, -h);
    Vertex(len, -h);
    glEnd();
}

// One piece of the side or plan row at its station: its fills blended, then its
// lines in the outline colour.
template <class Fill, class Lines>
void DrawPiece(const TGlPalette& palette, float station, Fill fill, Lines lines) {
    glPushMatrix();
    glTranslatef(station, 0.0f, 0.0f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    fill();
    glDisable(GL_BLEND);
    SetGlColor(palette.OutlineColor);
    lines();
    glPopMatrix();
}

// The two bands beside the slot, t_c wide each, lower then upper; lines draws one
// band about its own centre line.
template <class Lines>
void DrawBands(const TGlPalette& palette, const TBraceValues& b, bool upper_dashed, Lines lines) {
    const float centre = (b.t_g_s + b.t_c) / 2;
    for (bool upper : {false, true}) {
        const bool dashed = upper && upper_dashed;
        glPushMatrix();
        glTranslatef(0.0f, upper ? centre : -centre, 0.0f);
        if (dashed) {
            glLineStipple(palette.DashFactor, palette.DashPattern);
            glEnable(GL_LINE_STIPPLE);
        }
        lines();
        if (dashed) glDisable(GL_LINE_STIPPLE);
        glPopMatrix();
    }
}

// The two segments of one kind in the side row, len long at either station: the joint's
// depth filled, with its edges and the faces of the core plate.
void DrawSideSegments(const TGlPalette& palette, const TGlColor& color, const TBraceValues& b, float len,
                      float lower, float upper) {
    for (float station : {lower, upper})
        DrawPiece(
            palette, station,
            [&] {
                SetGlColor(color);
                FillRect(len, b.D_j);
            },
            [&] {
                EdgeLines(len, b.D_j / 2);
                EdgeLines(len, b.t_c / 2);
            });
}

// A section at x = centre of the row, blended throughout.
template <class Body>
void DrawSection(float centre, Body body) {
    glPushMatrix();
    glTranslatef(centre, 0.0f, 0.0f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    body();
    glDisable(GL_BLEND);
    glPopMatrix();
}

// The casing about the section's centre: its wall, the inside blanked out, and a line
// along the middle of the wall.
void DrawCasing(const DOVEREForm& f) {
    const TBraceValues& b = f.BraceValues;
    const TGlPalette& p = f.GlPalette;
    if (f.CasingType == "Circular") {
        auto circle = [&f](GLenum mode, float r, bool closed) {
            glBegin(mode);
            for (int i = 0; i < 360; ++i) {
                const double a = static_cast<float>(i) * f.DegToRad;
                Vertex(static_cast<float>(r * std::cos(a)), static_cast<float>(r * std::sin(a)));
            }
            if (closed) Vertex(r, 0.0f);
            glEnd();
        };
        SetGlColor(p.CoreColor);
        circle(GL_POLYGON, b.D_t / 2, false);
        SetGlColorRgb(p.BackgroundColor);
        circle(GL_POLYGON, b.D_t / 2 - b.t, false);
        SetGlColor(p.CoreColor);
        circle(GL_LINE_STRIP, (b.D_t - b.t) / 2, true);
        return;
    }
    const float outer = b.D_t / 2, inner = b.D_t / 2 - b.t, wall = (b.D_t - b.t) / 2;
    SetGlColor(p.CoreColor);
    FillBox(-outer, -outer, outer, outer);
    SetGlColorRgb(p.BackgroundColor);
    FillBox(-inner, -inner, inner, inner);
    SetGlColor(p.CoreColor);
    glBegin(GL_LINE_STRIP);
    Vertex(wall, wall);
    Vertex(-wall, wall);
    Vertex(-wall, -wall);
    Vertex(wall, -wall);
    Vertex(wall, wall);
    glEnd();
}

}  // namespace

// ---- Side row ----

void DOVEREForm::DrawSideEnds() {
    DrawSideLxSegments();
    DrawSideLnSegments();
    DrawSideJoint();
}

void DOVEREForm::DrawSideLxSegments() {
    const TBraceStations s = RowStations(BraceValues);
    DrawSideSegments(GlPalette, GlPalette.LxColor, BraceValues, BraceValues.L_x, s.LowerLx, s.UpperLx);
}

void DOVEREForm::DrawSideLnSegments() {
    const TBraceStations s = RowStations(BraceValues);
    DrawSideSegments(GlPalette, GlPalette.LnColor, BraceValues, BraceValues.L_n, s.LowerLn, s.UpperLn);
}

void DOVEREForm::DrawSideJoint() {
    const TBraceValues& b = BraceValues;
    const TBraceStations s = RowStations(b);
    const bool bolted = CtypeText == "Bolted";
    const bool staggered = CheckBox_Staggered->Checked();
    for (bool right : {false, true}) {
        const float station = right ? s.UpperJoint : s.LowerJoint;
        DrawPiece(
            GlPalette, station,
            [&] {
                SetGlColor(GlPalette.JointColor);
                FillRect(b.L_w, b.D_j);
            },
            [&] {
                const float end = right ? b.L_w : 0.0f;
                DrawSegment({end, -b.D_j / 2}, {end, b.D_j / 2});
                EdgeLines(b.L_w, b.D_j / 2);
                EdgeLines(b.L_w, b.t_c / 2);
            });
        if (!bolted) continue;
        glPushMatrix();
        glTranslatef(station, 0.0f, 0.0f);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_BLEND);
        glEnable(GL_POINT_SMOOTH);
        glPointSize(3.0f);
        glColor4f(1.0f, 1.0f, 0.0f, 1.0f);
        glBegin(GL_POINTS);
        for (const TBoltPoint& p : JointBoltPoints(BoltedValues, b.t_c, b.L_w, right, staggered)) Vertex(p.X, p.Y);
        glEnd();
        glPopMatrix();
        glDisable(GL_POINT_SMOOTH);
        glDisable(GL_BLEND);
    }
}

void DOVEREForm::DrawSideTransitions() {
    const TBraceValues& b = BraceValues;
    const TBraceStations s = RowStations(b);
    const bool cruciform = CoreType == "Cruciform";
    const bool bolted = CtypeText == "Bolted";
    const float o = static_cast<float>(ViewLayout.DetailOffset);
    const float L = b.L_t;
    for (bool right : {false, true}) {
        // The joint's end and the core's end of the transition; the right one is the
        // left one mirrored about its middle.
        const float joint = right ? L : 0.0f;
        const float core = right ? 0.0f : L;
        // A flat core's taper stops o short of the core.
        const float short_of_core = right ? o : L - o;
        // A flat bolted joint's taper reaches q along the axis from the joint's end.
        const float q = (b.D_j - b.t_c) / 2 - kTaperStandOff;
        const float taper_end = right ? L - q : q;
        const float face = b.t_c / 2;
        DrawPiece(
            GlPalette, right ? s.UpperTransition : s.LowerTransition,
            [&] {
                SetGlColor(GlPalette.TransitionColor);
                if (cruciform) {
                    glBegin(GL_POLYGON);
                    Vertex(joint, -b.D_j / 2);
                    Vertex(joint, b.D_j / 2);
                    Vertex(core, b.D_c / 2);
                    Vertex(core, -b.D_c / 2);
                    glEnd();
                } else if (!bolted) {
                    FillRect(L, b.D_c);
                    glBegin(GL_TRIANGLES);
                    for (float sign : {1.0f, -1.0f}) {
                        Vertex(joint, sign * b.D_c / 2);
                        Vertex(joint, sign * b.D_j / 2);
                        Vertex(short_of_core, sign * b.D_c / 2);
                    }
                    glEnd();
                } else {
                    FillRect(L, b.t_c);
                    for (float sign : {1.0f, -1.0f}) {
                        glBegin(GL_POLYGON);
                        Vertex(joint, sign * face);
                        Vertex(joint, sign * b.D_j / 2);
                        Vertex(taper_end, sign * (face + kTaperStandOff));
                        Vertex(taper_end, sign * face);
                        glEnd();
                    }
                }
            },
            [&] {
                if (cruciform || !bolted) {
                    const float to = cruciform ? core : short_of_core;
                    DrawSegment({joint, b.D_j / 2}, {to, b.D_c / 2});
                    DrawSegment({joint, -b.D_j / 2}, {to, -b.D_c / 2});
                } else {
                    for (float sign : {1.0f, -1.0f}) {
                        glBegin(GL_LINE_STRIP);
                        Vertex(joint, sign * face);
                        Vertex(joint, sign * b.D_j / 2);
                        Vertex(taper_end, sign * (face + kTaperStandOff));
                        Vertex(taper_end, sign * face);
                        glEnd();
                    }
                }
                OutlineBox(0.0f, -b.t_c / 2, L, b.t_c / 2);
            });
    }
}

void DOVEREForm::DrawSideCore() {
    const TBraceValues& b = BraceValues;
    const bool cruciform = CoreType == "Cruciform";
    DrawPiece(
        GlPalette, RowStations(b).Core,
        [&] {
            SetGlColor(GlPalette.CoreColor);
            FillRect(b.L_c, cruciform ? b.D_c : b.t_c);
        },
        [&] {
            if (cruciform) EdgeLines(b.L_c, b.D_c / 2);
            OutlineBox(0.0f, -b.t_c / 2, b.L_c, b.t_c / 2);
        });
}

// ---- Plan row ----

void DOVEREForm::DrawPlanEnds() {
    DrawPlanLxSegments();
    DrawPlanLnSegments();
    DrawPlanJoint();
}

void DOVEREForm::DrawPlanLxSegments() {
    const TBraceValues& b = BraceValues;
    const TBraceStations s = RowStations(b);
    const bool welded = CtypeText == "Welded";
    for (float station : {s.LowerLx, s.UpperLx})
        DrawPiece(
            GlPalette, station,
            [&] {
                SetGlColor(GlPalette.LxColor);
                FillRect(b.L_x, b.B_j);
            },
            [&] {
                EdgeLines(b.L_x, b.B_j / 2);
                DrawBands(GlPalette, b, welded, [&] { EdgeLines(b.L_x, b.t_c / 2); });
            });
}

void DOVEREForm::DrawPlanLnSegments() {
    const TBraceValues& b = BraceValues;
    const TBraceStations s = RowStations(b);
    const bool welded = CtypeText == "Welded";
    for (bool right : {false, true})
        DrawPiece(
            GlPalette, right ? s.UpperLn : s.LowerLn,
            [&] {
                SetGlColor(GlPalette.LnColor);
                FillRect(b.L_n, b.B_j);
                // The end of the joint's slot.
                SetGlColorRgb(GlPalette.BackgroundColor);
                if (right)
                    FillBox(b.L_n - kSlotRunOn, -b.t_g_s / 2, b.L_n, b.t_g_s / 2);
                else
                    FillBox(0.0f, -b.t_g_s / 2, kSlotRunOn, b.t_g_s / 2);
            },
            [&] {
                EdgeLines(b.L_n, b.B_j / 2);
                DrawBands(GlPalette, b, welded, [&] { EdgeLines(b.L_n, b.t_c / 2); });
            });
}

void DOVEREForm::DrawPlanJoint() {
    const TBraceValues& b = BraceValues;
    const TBraceStations s = RowStations(b);
    const bool welded = CtypeText == "Welded";
    for (bool right : {false, true}) {
        // The outer end, left open at the slot, and the slot's closed end inside the
        // L_n segment; the right joint is the left one mirrored about its middle.
        const float end = right ? b.L_w : 0.0f;
        const float slot_end = right ? -kSlotRunOn : b.L_w + kSlotRunOn;
        const float slot = b.t_g_s / 2;
        DrawPiece(
            GlPalette, right ? s.UpperJoint : s.LowerJoint,
            [&] {
                SetGlColor(GlPalette.JointColor);
                FillRect(b.L_w, b.B_j);
                SetGlColorRgb(GlPalette.BackgroundColor);
                FillRect(b.L_w, b.t_g_s);
            },
            [&] {
                DrawSegment({end, -slot}, {end, -b.B_j / 2});
                DrawSegment({end, slot}, {end, b.B_j / 2});
                DrawSegment({end, -slot}, {slot_end, -slot});
                DrawSegment({end, slot}, {slot_end, slot});
                DrawSegment({slot_end, -slot}, {slot_end, slot});
                EdgeLines(b.L_w, b.B_j / 2);
                DrawBands(GlPalette, b, welded, [&] { EdgeLines(b.L_w, b.t_c / 2); });
            });
    }
}

void DOVEREForm::DrawPlanTransitions() {
    const TBraceValues& b = BraceValues;
    const TBraceStations s = RowStations(b);
    const bool cruciform = CoreType == "Cruciform";
    // A cruciform core's upper band is dashed whatever the connection.
    const bool upper_dashed = cruciform || CtypeText == "Welded";
    const float o = static_cast<float>(ViewLayout.DetailOffset);
    const float L = b.L_t;
    for (bool right : {false, true}) {
        const float joint = right ? L : 0.0f;
        const float core = right ? 0.0f : L;
        // A flat core's bands stop o short of the core.
        const float band_from = cruciform || !right ? 0.0f : o;
        const float band_to = cruciform || right ? L : L - o;
        DrawPiece(
            GlPalette, right ? s.UpperTransition : s.LowerTransition,
            [&] {
                SetGlColor(GlPalette.TransitionColor);
                glBegin(GL_POLYGON);
                Vertex(joint, -b.B_j / 2);
                Vertex(joint, b.B_j / 2);
                Vertex(core, b.B_c / 2);
                Vertex(core, -b.B_c / 2);
                glEnd();
            },
            [&] {
                DrawSegment({joint, b.B_j / 2}, {core, b.B_c / 2});
                DrawSegment({joint, -b.B_j / 2}, {core, -b.B_c / 2});
                DrawBands(GlPalette, b, upper_dashed,
                          [&] { OutlineBox(band_from, -b.t_c / 2, band_to, b.t_c / 2); });
            });
    }
}

void DOVEREForm::DrawPlanCore() {
    const TBraceValues& b = BraceValues;
    const bool cruciform = CoreType == "Cruciform";
    DrawPiece(
        GlPalette, RowStations(b).Core,
        [&] {
            SetGlColor(GlPalette.CoreColor);
            FillRect(b.L_c, b.B_c);
        },
        [&] {
            EdgeLines(b.L_c, b.B_c / 2);
            // A flat core has no ribs to show beside the slot.
            if (cruciform) DrawBands(GlPalette, b, true, [&] { OutlineBox(0.0f, -b.t_c / 2, b.L_c, b.t_c / 2); });
        });
}

// ---- Section row ----

void DOVEREForm::DrawCoreCrossSection() {
    const TBraceValues& b = BraceValues;
    const float rib = (b.t_g_s + b.t_j) / 2;
    DrawSection(RowStations(b).Core + b.L_c / 2, [&] {
        DrawCasing(*this);
        SetGlColor(GlPalette.CoreColor);
        FillBox(-b.B_c / 2, -b.t_c / 2, b.B_c / 2, b.t_c / 2);
        FillRib(-rib, b.t_j, b.t_c / 2, b.D_c / 2);
        FillRib(rib, b.t_j, -b.t_c / 2, -b.D_c / 2);
    });
}

void DOVEREForm::DrawLxCrossSection() {
    const TBraceValues& b = BraceValues;
    const bool bolted = CtypeText == "Bolted";
    DrawSection(RowStations(b).LowerLx + b.L_x / 2, [&] {
        DrawCasing(*this);
        SetGlColor(GlPalette.LxColor);
        FillBox(-b.B_j / 2, -b.t_c / 2, b.B_j / 2, b.t_c / 2);
        if (bolted) {
            const float rib = (b.t_g_s + b.t_c) / 2;
            FillRib(-rib, b.t_c, -b.B_j / 2, b.B_j / 2);
            FillRib(rib, b.t_c, -b.B_j / 2, b.B_j / 2);
        } else {
            const float rib = (b.t_g_s + b.t_j) / 2;
            FillRib(-rib, b.t_j, b.t_c / 2, b.D_j / 2);
            FillRib(rib, b.t_j, -b.t_c / 2, -b.D_j / 2);
        }
    });
}

void DOVEREForm::DrawJointCrossSection() {
    const TBraceValues& b = BraceValues;
    const bool bolted = CtypeText == "Bolted";
    DrawSection(RowStations(b).LowerJoint, [&] {
        SetGlColor(GlPalette.JointColor);
        // The two plates with the slot between them.
        FillBox(-b.B_j / 2, -b.t_c / 2, -b.t_g_s / 2, b.t_c / 2);
        FillBox(b.t_g_s / 2, -b.t_c / 2, b.B_j / 2, b.t_c / 2);
        const float rib = (b.t_g_s + b.t_j) / 2;
        if (bolted) {
            FillRib(-rib, b.t_j, -b.D_j / 2, b.D_j / 2);
            FillRib(rib, b.t_j, -b.D_j / 2, b.D_j / 2);
        } else {
            FillRib(-rib, b.t_j, b.t_c / 2, b.D_j / 2);
            FillRib(rib, b.t_j, -b.t_c / 2, -b.D_j / 2);
        }
    });
}
