#include "platform/ui/canvas.h"

namespace ui {

void RecordingCanvas::FillRect(const TRect& rect) {
    ops_.push_back({Kind::FillRect, rect, 0, 0, {}, 0, Brush.Color, Font});
}

void RecordingCanvas::FrameRect(const TRect& rect) {
    ops_.push_back({Kind::FrameRect, rect, 0, 0, {}, 0, Brush.Color, Font});
}

void RecordingCanvas::TextRect(const TRect& rect, int x, int y, const std::string& text) {
    ops_.push_back({Kind::TextRect, rect, x, y, text, 0, Brush.Color, Font});
}

void RecordingCanvas::DrawText(const TRect& rect, const std::string& text, unsigned format) {
    ops_.push_back({Kind::DrawText, rect, rect.Left, rect.Top, text, format, Brush.Color, Font});
}

std::vector<PlacedLine> PlaceTextLines(const TRect& rect, std::string_view text, unsigned format,
                                       const std::function<int(std::string_view)>& text_width, int line_height) {
    std::vector<PlacedLine> lines;
    int y = rect.Top;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (y >= rect.Bottom && !lines.empty()) break;
        int x = rect.Left;
        if (format & DT_CENTER) x = rect.Left + (rect.Width() - text_width(line)) / 2;
        lines.push_back({std::string(line), x, y});
        y += line_height;
        start = end + 1;
    }
    return lines;
}

}  // namespace ui
