#include "platform/ui/fltk/look.h"

#include <FL/Enumerations.H>

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace ui {
namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool Has(const std::string& text, std::string_view part) { return text.find(part) != std::string::npos; }

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (true) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// One pattern of a filter: "*.*" means every file, as it does on the desktop the
// filters were written for; on a Unix file name it would need a dot.
std::string Pattern(std::string_view pattern) {
    pattern = Trim(pattern);
    if (pattern == "*.*") return "*";
    return std::string(pattern);
}

}  // namespace

FontChoice ChooseFont(const TFont& font) {
    FontChoice choice;
    const std::string name = Lower(font.Name);
    if (Has(name, "courier") || Has(name, "mono") || Has(name, "consolas") || Has(name, "console"))
        choice.family = FontFamily::Mono;
    else if (!Has(name, "sans") && (Has(name, "times") || Has(name, "serif") || Has(name, "roman") ||
                                    Has(name, "georgia") || Has(name, "garamond")))
        choice.family = FontFamily::Serif;
    choice.bold = (font.Style & fsBold) != 0 || Has(name, "black") || Has(name, "heavy") || Has(name, "bold");
    choice.italic = (font.Style & fsItalic) != 0;
    choice.pixels = std::max(1, -font.Height());
    return choice;
}

std::string EscapeLabel(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '@' || c == '&') out.push_back(c);
        out.push_back(c);
    }
    return out;
}

std::string FileChooserFilter(std::string_view filter) {
    if (Trim(filter).empty()) return {};
    const auto parts = Split(filter, '|');
    std::string out;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::vector<std::string> patterns;
        for (std::string_view p : Split(parts[i + 1], ';'))
            if (!Trim(p).empty()) patterns.push_back(Pattern(p));
        if (patterns.empty()) continue;
        std::string joined;
        if (patterns.size() == 1) {
            joined = patterns.front();
        } else {
            joined = "{";
            for (size_t k = 0; k < patterns.size(); ++k) joined += (k ? "," : "") + patterns[k];
            joined += "}";
        }
        if (!out.empty()) out += "\n";
        // A tab or line feed in the description would break the list apart.
        std::string name(Trim(parts[i]));
        std::replace(name.begin(), name.end(), '\t', ' ');
        std::replace(name.begin(), name.end(), '\n', ' ');
        out += name + "\t" + joined;
    }
    return out;
}

PointerShape PointerShapeFor(TCursor form_cursor, TCursor control_cursor) {
    auto busy = [](TCursor c) { return c == crHourGlass || c == crAppStart; };
    return busy(form_cursor) || busy(control_cursor) ? PointerShape::Busy : PointerShape::Arrow;
}

std::vector<TRect> RadioItemRects(int width, int height, int text_height, int count, int columns) {
    std::vector<TRect> rects;
    if (count <= 0) return rects;
    columns = std::clamp(columns, 1, count);
    const int per_column = (count + columns - 1) / columns;
    const int item_width = (width - 10) / columns;
    const int room = std::max(0, height - text_height - 5);
    const int item_height = std::max(1, room / per_column);
    const int top = text_height + 1 + (room % per_column) / 2;
    for (int i = 0; i < count; ++i) {
        const int col = i / per_column;
        const int row = i % per_column;
        const int left = 8 + col * item_width;
        const int y = top + row * item_height;
        rects.emplace_back(left, y, left + item_width, y + item_height);
    }
    return rects;
}

std::vector<std::string> LabelLines(std::string_view text, bool word_wrap, int width,
                                    const std::function<int(std::string_view)>& text_width) {
    std::vector<std::string> lines;
    for (std::string_view paragraph : Split(text, '\n')) {
        if (!paragraph.empty() && paragraph.back() == '\r') paragraph.remove_suffix(1);
        if (!word_wrap || text_width(paragraph) <= width) {
            lines.emplace_back(paragraph);
            continue;
        }
        std::string line;
        for (std::string_view word : Split(paragraph, ' ')) {
            const std::string candidate = line.empty() ? std::string(word) : line + " " + std::string(word);
            if (!line.empty() && text_width(candidate) > width) {
                lines.push_back(line);
                line = std::string(word);
            } else {
                line = candidate;
            }
        }
        lines.push_back(line);
    }
    return lines;
}

PixelImage ScalePixels(const PixelImage& image, int width, int height) {
    PixelImage out;
    if (image.Empty() || width <= 0 || height <= 0) return out;
    if (image.width == width && image.height == height) return image;
    out.width = width;
    out.height = height;
    out.rgba.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    for (int y = 0; y < height; ++y) {
        const int sy = static_cast<int>((static_cast<long long>(y) * image.height) / height);
        for (int x = 0; x < width; ++x) {
            const int sx = static_cast<int>((static_cast<long long>(x) * image.width) / width);
            const size_t from = (static_cast<size_t>(sy) * static_cast<size_t>(image.width) + static_cast<size_t>(sx)) * 4;
            const size_t to = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4;
            std::copy_n(image.rgba.begin() + static_cast<std::ptrdiff_t>(from), 4,
                        out.rgba.begin() + static_cast<std::ptrdiff_t>(to));
        }
    }
    return out;
}

bool IsOpaque(const PixelImage& image) {
    for (size_t i = 3; i < image.rgba.size(); i += 4)
        if (image.rgba[i] != 255) return false;
    return true;
}

std::uint16_t VirtualKeyFor(int key) {
    if (key >= 'a' && key <= 'z') return static_cast<std::uint16_t>(key - 'a' + 'A');
    if (key >= '0' && key <= '9') return static_cast<std::uint16_t>(key);
    if (key >= FL_KP + '0' && key <= FL_KP + '9') return static_cast<std::uint16_t>(96 + key - (FL_KP + '0'));
    if (key > FL_F && key <= FL_F + 12) return static_cast<std::uint16_t>(111 + key - FL_F);
    switch (key) {
        case FL_BackSpace: return VK_BACK;
        case FL_Tab: return VK_TAB;
        case FL_Enter:
        case FL_KP_Enter: return VK_RETURN;
        case FL_Escape: return VK_ESCAPE;
        case ' ': return VK_SPACE;
        case FL_Page_Up: return 33;
        case FL_Page_Down: return 34;
        case FL_End: return 35;
        case FL_Home: return 36;
        case FL_Left: return VK_LEFT;
        case FL_Up: return VK_UP;
        case FL_Right: return VK_RIGHT;
        case FL_Down: return VK_DOWN;
        case FL_Insert: return 45;
        case FL_Delete: return 46;
        case FL_Shift_L:
        case FL_Shift_R: return 16;
        case FL_Control_L:
        case FL_Control_R: return 17;
        case FL_Alt_L:
        case FL_Alt_R: return 18;
        default: return 0;
    }
}

TShiftState ShiftStateFor(int state) {
    TShiftState shift = 0;
    if (state & FL_SHIFT) shift |= ssShift;
    if (state & FL_ALT) shift |= ssAlt;
    if (state & FL_CTRL) shift |= ssCtrl;
    if (state & FL_BUTTON1) shift |= ssLeft;
    if (state & FL_BUTTON3) shift |= ssRight;
    if (state & FL_BUTTON2) shift |= ssMiddle;
    return shift;
}

}  // namespace ui
