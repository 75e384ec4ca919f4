#pragma once
// Drawing steps that every view repeats, in the current context and transform.
#include <cstdint>
#include <initializer_list>

#include "drawing/gl_state.h"

struct TGlPoint {
    float X = 0.0f;
    float Y = 0.0f;
};

// One filled polygon in a translucent colour; blending is on for it alone.
void FillBlendedPolygon(const TGlColor& color, std::initializer_list<TGlPoint> corners);
// One filled polygon, unblended.
void FillPolygon(const TGlColor& color, std::initializer_list<TGlPoint> corners);

// One segment in the current colour and line width.
void DrawSegment(TGlPoint from, TGlPoint to);
// One dashed segment; line stipple is on for it alone.
void DrawDashedSegment(const TGlPalette& palette, TGlPoint from, TGlPoint to);

// The colour as RGBA, or as RGB for the line colours that carry no alpha.
void SetGlColor(const TGlColor& color);
void SetGlColorRgb(const TGlColor& color);

// Draws what follows mirrored about x = width / 2 until the matching glPopMatrix.
void PushMirror(float width);
