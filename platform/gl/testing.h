#pragma once
// Helpers for tests of what a context drew: pixels of a panel's swapped image
// (TPanel::Surface(), top row first) and the primitives OpenGL's feedback mode
// records, with their window coordinates.
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/ui/controls.h"

namespace gl {

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const Rgba&) const = default;
};

// The byte the renderer stores for a colour channel from 0 to 1.
std::uint8_t ChannelByte(float value);
// An opaque pixel of that colour, as a swap leaves it.
Rgba OpaqueColor(float r, float g, float b);

// The pixel at column x, row y counted from the top. Throws Exception outside the image.
Rgba PixelAt(const ui::PixelImage& image, int x, int y);
// How many pixels have exactly that colour.
int CountPixels(const ui::PixelImage& image, Rgba color);

enum class FeedbackKind { Point, Line, LineReset, Polygon, Bitmap, DrawPixels, CopyPixels, PassThrough };

// Window coordinates: x to the right and y upwards from the viewport's lower-left
// pixel corner, z from 0 to 1; colour as the primitive was drawn.
struct FeedbackVertex {
    float x = 0, y = 0, z = 0;
    float r = 0, g = 0, b = 0, a = 0;
};

// A line is one segment (LineReset where stippling restarts, though Mesa records every
// segment as a plain Line, stippled or not: a dash shows in pixels, not here);
// a polygon arrives as the renderer splits it, after clipping. A pass-through
// marker has no vertices and carries its value.
struct FeedbackItem {
    FeedbackKind kind = FeedbackKind::Point;
    std::vector<FeedbackVertex> vertices;
    float marker = 0;
};

// Runs draw in feedback mode on the current context and returns what it recorded;
// nothing reaches the buffer. draw runs again with a larger record when the first
// overflows, so it must draw the same each time. Throws Exception with no current
// context or one already outside render mode; the render mode is restored when draw
// throws.
std::vector<FeedbackItem> RecordFeedback(const std::function<void()>& draw);

}  // namespace gl
