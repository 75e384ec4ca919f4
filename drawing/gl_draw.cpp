#include "drawing/gl_draw.h"

#include "platform/gl/gl.h"

namespace {

void Polygon(std::initializer_list<TGlPoint> corners) {
    glBegin(GL_POLYGON);
    for (const TGlPoint& p : corners) glVertex2f(p.X, p.Y);
    glEnd();
}

}  // namespace

void SetGlColor(const TGlColor& c) { glColor4f(c.R, c.G, c.B, c.A); }
void SetGlColorRgb(const TGlColor& c) { glColor3f(c.R, c.G, c.B); }

void FillBlendedPolygon(const TGlColor& color, std::initializer_list<TGlPoint> corners) {
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    SetGlColor(color);
    Polygon(corners);
    glDisable(GL_BLEND);
}

void FillPolygon(const TGlColor& color, std::initializer_list<TGlPoint> corners) {
    SetGlColor(color);
    Polygon(corners);
}

void DrawSegment(TGlPoint from, TGlPoint to) {
    glBegin(GL_LINES);
    glVertex2f(from.X, from.Y);
    glVertex2f(to.X, to.Y);
    glEnd();
}

void DrawDashedSegment(const TGlPalette& palette, TGlPoint from, TGlPoint to) {
    glLineStipple(palette.DashFactor, palette.DashPattern);
    glEnable(GL_LINE_STIPPLE);
    DrawSegment(from, to);
    glDisable(GL_LINE_STIPPLE);
}

void PushMirror(float width) {
    glPushMatrix();
    glTranslatef(width, 0.0f, 0.0f);
    glScalef(-1.0f, 1.0f, 1.0f);
}
