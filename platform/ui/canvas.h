#pragma once
// The drawing surface that owner-drawn grids paint on. A backend implements the four
// primitives; the tests use the recording canvas.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/types.h"

// Formats of TCanvas::DrawText.
constexpr unsigned DT_LEFT = 0;
constexpr unsigned DT_CENTER = 1;

class TCanvas {
public:
    virtual ~TCanvas() = default;

    TBrush Brush;
    TFont Font;

    // Fills the rectangle with the brush colour.
    virtual void FillRect(const TRect& rect) = 0;
    // A one-pixel frame just inside the rectangle, in the brush colour.
    virtual void FrameRect(const TRect& rect) = 0;
    // Fills the rectangle with the brush colour, then writes the text on one line from
    // (x, y) in the font, clipped to the rectangle. Line feeds do not break the line.
    virtual void TextRect(const TRect& rect, int x, int y, const std::string& text) = 0;
    // Writes the text from the top of the rectangle, a new line at each line feed,
    // each line centred across the rectangle (DT_CENTER) or from its left (DT_LEFT),
    // clipped to the rectangle; the background is left as it is.
    virtual void DrawText(const TRect& rect, const std::string& text, unsigned format) = 0;
};

namespace ui {

// Draws nothing: the canvas of a grid outside its paint.
class NullCanvas : public TCanvas {
public:
    void FillRect(const TRect&) override {}
    void FrameRect(const TRect&) override {}
    void TextRect(const TRect&, int, int, const std::string&) override {}
    void DrawText(const TRect&, const std::string&, unsigned) override {}
};

// Keeps every call with the brush and font in force at the time.
class RecordingCanvas : public TCanvas {
public:
    enum class Kind { FillRect, FrameRect, TextRect, DrawText };
    struct Op {
        Kind kind;
        TRect rect;
        int x = 0, y = 0;
        std::string text;
        unsigned format = 0;
        TColor brush = 0;
        TFont font;
    };

    void FillRect(const TRect& rect) override;
    void FrameRect(const TRect& rect) override;
    void TextRect(const TRect& rect, int x, int y, const std::string& text) override;
    void DrawText(const TRect& rect, const std::string& text, unsigned format) override;

    const std::vector<Op>& Ops() const { return ops_; }
    void Clear() { ops_.clear(); }

private:
    std::vector<Op> ops_;
};

// One line of DrawText placed in its rectangle.
struct PlacedLine {
    std::string text;
    int x = 0, y = 0;
    bool operator==(const PlacedLine&) const = default;
};

// Splits the text at line feeds (a carriage return before one is dropped) and places
// each line: from the top of the rectangle, one line height apart, centred across it
// for DT_CENTER (a line wider than the rectangle starts left of it and is clipped),
// else from its left. Lines that start below the rectangle are left out.
std::vector<PlacedLine> PlaceTextLines(const TRect& rect, std::string_view text, unsigned format,
                                       const std::function<int(std::string_view)>& text_width, int line_height);

}  // namespace ui
