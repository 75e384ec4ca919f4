#include "platform/ui/fltk/message_box.h"

#include <FL/Fl.H>
#include <FL/Fl_Return_Button.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <vector>

#include "platform/ui/fltk/look.h"

namespace ui {
namespace {

constexpr Fl_Font kFace = FL_HELVETICA;
constexpr int kSize = 14;
constexpr int kMaxTextWidth = 460;
constexpr int kIcon = 36;
constexpr int kPad = 16;

int TextWidth(std::string_view text) { return static_cast<int>(fl_width(text.data(), static_cast<int>(text.size()))); }

// The text drawn as given, without FLTK's label symbols.
class BoxText : public Fl_Widget {
public:
    BoxText(int x, int y, int w, int h, std::vector<std::string> lines)
        : Fl_Widget(x, y, w, h), lines_(std::move(lines)) {}
    void draw() override {
        fl_font(kFace, kSize);
        fl_color(FL_FOREGROUND_COLOR);
        int top = y();
        for (const auto& line : lines_) {
            fl_draw(line.data(), static_cast<int>(line.size()), x(), top + fl_height() - fl_descent());
            top += fl_height();
        }
    }

private:
    std::vector<std::string> lines_;
};

class BoxIcon : public Fl_Widget {
public:
    BoxIcon(int x, int y, BoxKind kind) : Fl_Widget(x, y, kIcon, kIcon), kind_(kind) {}
    void draw() override {
        const bool error = kind_ == BoxKind::Error;
        fl_color(error ? fl_rgb_color(200, 40, 40) : fl_rgb_color(40, 100, 190));
        fl_pie(x(), y(), w(), h(), 0, 360);
        fl_color(FL_WHITE);
        fl_font(FL_HELVETICA_BOLD, 24);
        const char* mark = error ? "!" : "i";
        fl_draw(mark, x() + (w() - TextWidth(mark)) / 2, y() + (h() + fl_height()) / 2 - fl_descent());
    }

private:
    BoxKind kind_;
};

void Close(Fl_Widget* widget, void*) {
    Fl_Window* window = widget->as_window() ? widget->as_window() : widget->window();
    if (window) window->hide();
}

}  // namespace

Fl_Double_Window* MakeMessageBox(BoxKind kind, const std::string& text, const std::string& title,
                                 Fl_Window* over) {
    Fl_Group::current(nullptr);
    fl_font(kFace, kSize);
    const auto lines = LabelLines(text, true, kMaxTextWidth, TextWidth);
    int text_width = 0;
    for (const auto& line : lines) text_width = std::max(text_width, TextWidth(line));
    const int text_height = fl_height() * std::max<int>(1, static_cast<int>(lines.size()));
    const bool icon = kind != BoxKind::Message;
    const int text_left = kPad + (icon ? kIcon + kPad : 0);
    const int button_w = 90, button_h = 28;
    const int width = std::max(text_left + std::min(text_width, kMaxTextWidth) + kPad, 2 * kPad + button_w + 120);
    const int body = std::max(text_height, icon ? kIcon : 0);
    const int height = kPad + body + kPad + button_h + kPad;

    auto* box = new Fl_Double_Window(width, height);
    box->copy_label(title.c_str());
    if (icon) new BoxIcon(kPad, kPad, kind);
    new BoxText(text_left, kPad + std::max(0, (body - text_height) / 2), width - text_left - kPad, text_height,
                lines);
    auto* ok = new Fl_Return_Button((width - button_w) / 2, height - kPad - button_h, button_w, button_h, "OK");
    ok->callback(Close);
    box->end();
    box->callback(Close);
    box->set_modal();
    int X, Y, W, H;
    if (over && over->shown()) {
        X = over->x();
        Y = over->y();
        W = over->w();
        H = over->h();
    } else {
        Fl::screen_work_area(X, Y, W, H);
    }
    box->position(X + (W - width) / 2, Y + (H - height) / 2);
    return box;
}

}  // namespace ui
