#include "platform/ui/fltk/views.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cstring>

#include "platform/ui/fltk/fltk_backend.h"
#include "platform/ui/fltk/look.h"

namespace ui {
namespace {

FltkBackend* Desktop() { return FltkBackend::Current(); }

// Repaints and queued work wait for the model to settle after a user call.
void CatchUp() {
    if (auto* b = Desktop()) b->CatchUp();
}

int TextWidth(std::string_view text) { return static_cast<int>(fl_width(text.data(), static_cast<int>(text.size()))); }

Fl_Font FaceFor(const FontChoice& choice) {
    Fl_Font face = FL_HELVETICA;
    if (choice.family == FontFamily::Serif) face = FL_TIMES;
    if (choice.family == FontFamily::Mono) face = FL_COURIER;
    if (choice.bold) face += FL_BOLD;
    if (choice.italic) face += FL_ITALIC;
    return face;
}

// Keys that move the focus belong to the window (Tab) or to no one (arrows): FLTK's
// own navigation would move the focus in its own order.
bool IsNavigationKey(int key) {
    return key == FL_Tab || key == FL_Left || key == FL_Right || key == FL_Up || key == FL_Down;
}

bool IsInputEvent(int event) {
    switch (event) {
        case FL_PUSH:
        case FL_RELEASE:
        case FL_DRAG:
        case FL_KEYBOARD:
        case FL_PASTE:
        case FL_MOUSEWHEEL:
        case FL_DND_ENTER:
        case FL_DND_DRAG:
        case FL_DND_RELEASE: return true;
        default: return false;
    }
}

// Input for a control that cannot take it (itself or a container above it disabled
// or hidden) is swallowed, but Tab still moves on.
bool Blocked(const TControl* control, int event) {
    if (!IsInputEvent(event)) return false;
    return !(control && AcceptsInput(control));
}

int Swallowed(int event) { return event == FL_KEYBOARD && Fl::event_key() == FL_Tab ? 0 : 1; }

// OnKeyDown of a control that has the focus; false when the handler dropped the key.
bool RunKeyDown(TWinControl* control, int fltk_key) {
    const std::uint16_t vk = VirtualKeyFor(fltk_key);
    if (!vk || !control->OnKeyDown || !AcceptsInput(control)) return true;
    bool kept = true;
    const TShiftState shift = ShiftStateFor(Fl::event_state());
    Dispatch([&] {
        std::uint16_t key = vk;
        control->OnKeyDown(control, key, shift);
        kept = key != 0;
    });
    CatchUp();
    return kept;
}

TMouseButton MouseButtonFor(int button) {
    if (button == FL_RIGHT_MOUSE) return mbRight;
    if (button == FL_MIDDLE_MOUSE) return mbMiddle;
    return mbLeft;
}

// The lines of a caption centred as a block, each placed by the alignment.
void DrawCaption(const std::string& caption, const TFont& font, Fl_Color color, int X, int Y, int W, int H,
                 TAlignment alignment, int inset) {
    if (caption.empty()) return;
    SetDrawFont(font);
    fl_color(color);
    const auto lines = LabelLines(caption, false, W, TextWidth);
    const int line_height = fl_height();
    int top = Y + (H - line_height * static_cast<int>(lines.size())) / 2;
    for (const auto& line : lines) {
        const int width = TextWidth(line);
        int left = X + (W - width) / 2;
        if (alignment == taLeftJustify) left = X + inset;
        if (alignment == taRightJustify) left = X + W - inset - width;
        DrawTextLine(line, left, top, font);
        top += line_height;
    }
}

Change Worst(Change a, Change b) { return static_cast<int>(a) > static_cast<int>(b) ? a : b; }

}  // namespace

// ---- Drawing helpers ------------------------------------------------------------------

Fl_Color ToFlColor(TColor color) {
    const Rgb rgb = ColorToRgb(color);
    return fl_rgb_color(rgb.r, rgb.g, rgb.b);
}

void SetDrawFont(const TFont& font) {
    const FontChoice choice = ChooseFont(font);
    fl_font(FaceFor(choice), choice.pixels);
}

void DrawTextLine(const std::string& text, int x, int y, const TFont& font) {
    if (text.empty()) return;
    const int baseline = y + fl_height() - fl_descent();
    fl_draw(text.data(), static_cast<int>(text.size()), x, baseline);
    if (font.Style & (fsUnderline | fsStrikeOut)) {
        const int width = TextWidth(text);
        if (font.Style & fsUnderline) fl_line(x, baseline + 1, x + width - 1, baseline + 1);
        if (font.Style & fsStrikeOut) {
            const int mid = baseline - (fl_height() - fl_descent()) / 3;
            fl_line(x, mid, x + width - 1, mid);
        }
    }
}

void FltkCanvas::FillRect(const TRect& r) {
    if (r.Empty()) return;
    fl_color(ToFlColor(Brush.Color));
    fl_rectf(ox_ + r.Left, oy_ + r.Top, r.Width(), r.Height());
}

void FltkCanvas::FrameRect(const TRect& r) {
    if (r.Empty()) return;
    fl_color(ToFlColor(Brush.Color));
    fl_rect(ox_ + r.Left, oy_ + r.Top, r.Width(), r.Height());
}

void FltkCanvas::TextRect(const TRect& r, int x, int y, const std::string& text) {
    FillRect(r);
    if (r.Empty()) return;
    fl_push_clip(ox_ + r.Left, oy_ + r.Top, r.Width(), r.Height());
    SetDrawFont(Font);
    fl_color(ToFlColor(Font.Color));
    std::string line = text;
    std::replace(line.begin(), line.end(), '\n', ' ');
    std::replace(line.begin(), line.end(), '\r', ' ');
    DrawTextLine(line, ox_ + x, oy_ + y, Font);
    fl_pop_clip();
}

void FltkCanvas::DrawText(const TRect& r, const std::string& text, unsigned format) {
    if (r.Empty()) return;
    fl_push_clip(ox_ + r.Left, oy_ + r.Top, r.Width(), r.Height());
    SetDrawFont(Font);
    fl_color(ToFlColor(Font.Color));
    for (const auto& line : PlaceTextLines(r, text, format, TextWidth, fl_height()))
        DrawTextLine(line.text, ox_ + line.x, oy_ + line.y, Font);
    fl_pop_clip();
}

// ---- View ----------------------------------------------------------------------------------

bool View::Live() const {
    auto* b = Desktop();
    return control_ && b && b->TakesInput();
}

Change View::ApplyFrame(Fl_Widget* widget, const Frame& f, bool use_active) {
    // A hint shows as the widget's tooltip; it changes nothing on screen by itself.
    const std::string hint = control_ && control_->ShowHint() ? control_->Hint() : std::string();
    if (hint != tooltip_) {
        tooltip_ = hint;
        widget->copy_tooltip(hint.empty() ? nullptr : hint.c_str());
    }
    if (applied_ && f == frame_) return Change::Nothing;
    Change change = Change::Self;
    if (!applied_ || f.x != frame_.x || f.y != frame_.y || f.w != frame_.w || f.h != frame_.h) {
        widget->resize(f.x, f.y, std::max(f.w, 0), std::max(f.h, 0));
        change = Change::Area;
    }
    if (!applied_ || f.visible != frame_.visible) {
        if (f.visible) widget->show();
        else widget->hide();
        change = Change::Area;
    }
    if (use_active && (!applied_ || f.enabled != frame_.enabled)) {
        if (f.enabled) widget->activate();
        else widget->deactivate();
    }
    frame_ = f;
    applied_ = true;
    return change;
}

Frame View::FrameAt(int x, int y) const {
    return Frame{x, y, control_->Width(), control_->Height(), control_->Visible(), control_->Enabled()};
}

void View::RouteFocus() {
    if (auto* control = dynamic_cast<TWinControl*>(control_); control && Live()) UserFocus(control);
    CatchUp();
}

int View::PressKey(TWinControl* control) {
    const int key = Fl::event_key();
    if (key == FL_Tab) return 0;
    if (!RunKeyDown(control, key) || !Live()) return 1;
    if (key == FL_Enter || key == FL_KP_Enter) UserKeyPress(control, '\r');
    else if (key == ' ') UserKeyPress(control, ' ');
    else if (Fl::event_length() == 1) FilterKeyPress(control, Fl::event_text()[0]);
    else return 0;
    CatchUp();
    return 1;
}

void View::DoubleClicked(int, int) {
    TControl* control = control_;
    Dispatch([control] {
        if (AcceptsInput(control)) control->DblClick();
    });
}

int View::RouteMouse(Fl_Widget* widget, int event) {
    switch (event) {
        // Taken, so that FLTK sends the moves here; the window reports where the
        // pointer is (FormWindow::TrackPointer).
        case FL_ENTER:
        case FL_LEAVE: return 1;
        case FL_MOVE:
        case FL_DRAG:
            if (Live())
                UserMouseMove(control_, ShiftStateFor(Fl::event_state()), Fl::event_x() - widget->x(),
                              Fl::event_y() - widget->y());
            CatchUp();
            return 1;
        case FL_PUSH: {
            if (!Live()) return 1;
            // A second press soon after the first is the double click: OnDblClick
            // now, and no click when the button comes up.
            double_pressed_ = Fl::event_button() == FL_LEFT_MOUSE && Fl::event_clicks() % 2 == 1;
            if (double_pressed_) {
                DoubleClicked(Fl::event_x() - widget->x(), Fl::event_y() - widget->y());
                CatchUp();
            }
            return 1;
        }
        case FL_RELEASE: {
            const int x = Fl::event_x() - widget->x();
            const int y = Fl::event_y() - widget->y();
            const int button = Fl::event_button();
            const TShiftState shift = ShiftStateFor(Fl::event_state());
            const bool was_double = double_pressed_;
            double_pressed_ = false;
            if (Live() && button == FL_LEFT_MOUSE && !was_double && Fl::event_inside(widget)) {
                Clicked(x, y);
                CatchUp();
            }
            if (Live()) UserMouseUp(control_, MouseButtonFor(button), shift, x, y);
            CatchUp();
            return 1;
        }
        default: return 0;
    }
}

// ---- FormWindow ---------------------------------------------------------------------------------

FormWindow::FormWindow(TForm* form) : Fl_Double_Window(1, 1), View(form) {
    end();
    resizable(nullptr);
    callback(CloseBox);
}

void FormWindow::CloseBox(Fl_Widget* widget, void*) {
    // FLTK closes a window on Escape; a form closes only by its close box.
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    auto* window = static_cast<FormWindow*>(widget);
    if (window->Live()) UserClose(static_cast<TForm*>(window->control_));
    CatchUp();
}

Change FormWindow::Sync(int, int) {
    auto* form = static_cast<TForm*>(control_);
    const TFormBorderStyle border = form->BorderStyle();
    Look look{std::max(form->ClientWidth(), 1), std::max(form->ClientHeight(), 1), form->Caption(), form->Color(),
              border != bsSizeable && border != bsSizeToolWin};
    if (has_look_ && look == look_) return Change::Nothing;
    if (!has_look_ || look.w != look_.w || look.h != look_.h || look.fixed != look_.fixed) {
        size(look.w, look.h);
        if (look.fixed) size_range(look.w, look.h, look.w, look.h);
        else size_range(100, 100);
    }
    if (!has_look_ || look.caption != look_.caption) {
        caption_ = look.caption;
        label(caption_.c_str());
    }
    look_ = look;
    has_look_ = true;
    return Change::Area;
}

bool FormWindow::SyncVisibility() {
    auto* form = static_cast<TForm*>(control_);
    const bool wanted = form->Visible();
    if (wanted == (shown() && visible())) return false;
    if (wanted) {
        if (!placed_) {
            placed_ = true;
            const TPosition position = form->Position();
            if (position == poScreenCenter || position == poDesktopCenter || position == poMainFormCenter) {
                int X, Y, W, H;
                Fl::screen_work_area(X, Y, W, H);
                position_at(X + (W - w()) / 2, Y + (H - h()) / 2);
            } else {
                position_at(form->Left(), form->Top());
            }
        }
        drawn_ = false;
        show();
    } else {
        hide();
    }
    return true;
}

void FormWindow::position_at(int x, int y) { position(x, y); }

int FormWindow::handle(int event) {
    if (event == FL_KEYBOARD || event == FL_SHORTCUT) {
        const int key = Fl::event_key();
        if (key == FL_Tab) {
            // The model's tab order reaches controls placed beyond the window's edge.
            if (Live()) UserTab(static_cast<TForm*>(control_), !Fl::event_shift());
            CatchUp();
            return 1;
        }
        // Escape closes a modal box over the window, never the window itself.
        if (key == FL_Escape && (!Fl::modal() || Fl::modal() == this)) return 1;
        if (IsNavigationKey(key)) return 1;
    }
    switch (event) {
        case FL_FOCUS: return TakeKeys();
        case FL_ENTER:
            Fl_Double_Window::handle(event);
            TrackPointer(event);
            return 1;
        case FL_MOVE:
            Fl_Double_Window::handle(event);
            if (Fl::belowmouse() == this) RouteMouse(this, event);
            TrackPointer(event);
            return 1;
        case FL_LEAVE:
            TrackPointer(event);
            return Fl_Double_Window::handle(event);
        case FL_PUSH:
            if (Fl_Double_Window::handle(event)) return 1;
            return RouteMouse(this, event);
        case FL_DRAG:
        case FL_RELEASE:
            if (Fl::pushed() == this) return RouteMouse(this, event);
            return Fl_Double_Window::handle(event);
        default: return Fl_Double_Window::handle(event);
    }
}

int FormWindow::TakeKeys() {
    // FLTK would hand the keys to the widget that had them last or to its first child
    // that takes them: after a run disabled the focused edit, that is the next edit,
    // and the user's next keys would change an input the user did not choose. The
    // model's focused control has them while it takes input, else the window keeps
    // them for no control. Only on the first focus after a show, before the model has
    // chosen, does FLTK choose.
    const bool first = !had_keys_;
    had_keys_ = true;
    auto* form = static_cast<TForm*>(control_);
    FltkBackend* desktop = Desktop();
    if (!form || !desktop || (first && !form->ActiveControl())) return Fl_Double_Window::handle(FL_FOCUS);
    if (Fl_Widget* keys = desktop->KeyWidgetFor(form)) keys->take_focus();
    return 1;
}

void FormWindow::TrackPointer(int event) {
    // The model finds the control under the pointer, so that only that control hears
    // of it: FLTK would also tell every container that the pointer passes through.
    if (!Live()) return;
    auto* form = static_cast<TForm*>(control_);
    if (event == FL_LEAVE) UserPointerLeft(form);
    else UserPointAt(form, Fl::event_x(), Fl::event_y());
    CatchUp();
}

void FormWindow::draw() {
    if (damage() & ~FL_DAMAGE_CHILD) {
        fl_color(ToFlColor(look_.color));
        fl_rectf(0, 0, w(), h());
    }
    draw_children();
    if (!drawn_) {
        drawn_ = true;
        if (control_ && Desktop()) Desktop()->NoteFirstDraw(static_cast<TForm*>(control_));
    }
}

void FormWindow::hide() {
    drawn_ = false;
    had_keys_ = false;
    Fl_Double_Window::hide();
}

// ---- Containers -------------------------------------------------------------------------------

ContainerView::ContainerView(TWinControl* control) : Fl_Group(0, 0, 1, 1), View(control) {
    end();
    resizable(nullptr);
    box(FL_NO_BOX);
}

Change ContainerView::Sync(int x, int y) {
    // Containers stay active in FLTK so that their children keep their own look; the
    // model refuses input inside a disabled container.
    const Change frame = ApplyFrame(this, FrameAt(x, y), false);
    return Worst(frame, SyncOwn());
}

int ContainerView::handle(int event) {
    switch (event) {
        case FL_ENTER:
        case FL_LEAVE:
            Fl_Group::handle(event);
            return 1;
        case FL_MOVE:
            Fl_Group::handle(event);
            if (Fl::belowmouse() == this) RouteMouse(this, event);
            return 1;
        case FL_PUSH:
            if (Fl_Group::handle(event)) return 1;
            return RouteMouse(this, event);
        case FL_DRAG:
        case FL_RELEASE: return RouteMouse(this, event);
        case FL_KEYBOARD:
            if (IsNavigationKey(Fl::event_key())) return 0;
            return Fl_Group::handle(event);
        default: return Fl_Group::handle(event);
    }
}

void ContainerView::draw() {
    fl_push_clip(x(), y(), w(), h());
    if (damage() & ~FL_DAMAGE_CHILD) DrawOwn();
    draw_children();
    fl_pop_clip();
}

Change PanelView::SyncOwn() {
    auto* panel = static_cast<TPanel*>(control_);
    Look look{EffectiveBackground(panel), panel->ParentBackground(), panel->BevelOuter(), panel->Alignment(),
              panel->Caption(),           panel->Font(),             panel->Enabled(),     panel->SurfaceRevision()};
    if (has_look_ && look == look_) return Change::Nothing;
    const bool see_through_changed = has_look_ && look.see_through != look_.see_through;
    if (!has_look_ || look.surface != look_.surface) surface_ = panel->Surface();
    look_ = look;
    has_look_ = true;
    return see_through_changed || look.see_through ? Change::Area : Change::Self;
}

void PanelView::DrawOwn() {
    const int X = x(), Y = y(), W = w(), H = h();
    // The picture a rendering context swapped in covers the client area, bevel and
    // caption included.
    if (look_.surface > 0 && !surface_.Empty()) {
        const int dw = std::min(W, surface_.width), dh = std::min(H, surface_.height);
        if (dw < W || dh < H) {
            fl_color(ToFlColor(look_.color));
            fl_rectf(X, Y, W, H);
        }
        fl_draw_image(surface_.rgba.data(), X, Y, dw, dh, 4, surface_.width * 4);
        return;
    }
    if (!look_.see_through) {
        fl_color(ToFlColor(look_.color));
        fl_rectf(X, Y, W, H);
    }
    int inset = 2;
    if (look_.bevel == bvRaised) fl_draw_box(FL_THIN_UP_FRAME, X, Y, W, H, FL_GRAY);
    if (look_.bevel == bvLowered) fl_draw_box(FL_THIN_DOWN_FRAME, X, Y, W, H, FL_GRAY);
    if (look_.bevel != bvNone) inset += 1;
    const TColor text = look_.enabled ? look_.font.Color : clGrayText;
    DrawCaption(look_.caption, look_.font, ToFlColor(text), X, Y, W, H, look_.alignment, inset);
}

Change GroupBoxView::SyncOwn() {
    auto* box = control_;
    const auto* win = static_cast<TWinControl*>(control_);
    Look look{EffectiveBackground(box), box->ParentColor() || win->ParentBackground(), box->Caption(), box->Font(),
              box->Enabled()};
    if (has_look_ && look == look_) return Change::Nothing;
    const bool see_through_changed = has_look_ && look.see_through != look_.see_through;
    look_ = look;
    has_look_ = true;
    return see_through_changed || look.see_through ? Change::Area : Change::Self;
}

void GroupBoxView::DrawOwn() {
    if (!look_.see_through) {
        fl_color(ToFlColor(look_.color));
        fl_rectf(x(), y(), w(), h());
    }
    DrawFrame();
}

void GroupBoxView::DrawFrame() {
    const int X = x(), Y = y(), W = w(), H = h();
    SetDrawFont(look_.font);
    const int text_height = fl_height();
    const int top = Y + text_height / 2;
    const int caption_width = look_.caption.empty() ? 0 : TextWidth(look_.caption) + 4;
    const int gap_left = X + 7, gap_right = X + 7 + caption_width;
    // An etched frame: a dark line with a light one beside it, broken by the caption.
    auto frame = [&](int dx, Fl_Color color) {
        fl_color(color);
        const int left = X + dx, right = X + W - 2 + dx, y0 = top + dx, bottom = Y + H - 2 + dx;
        if (caption_width > 0) {
            fl_line(left, y0, gap_left, y0);
            fl_line(std::min(gap_right, right), y0, right, y0);
        } else {
            fl_line(left, y0, right, y0);
        }
        fl_line(left, y0, left, bottom);
        fl_line(right, y0, right, bottom);
        fl_line(left, bottom, right, bottom);
    };
    frame(0, fl_rgb_color(160, 160, 160));
    frame(1, fl_rgb_color(255, 255, 255));
    if (!look_.caption.empty()) {
        fl_color(ToFlColor(look_.enabled ? look_.font.Color : clGrayText));
        DrawTextLine(look_.caption, gap_left + 2, Y, look_.font);
    }
}

RadioGroupView::RadioGroupView(TRadioGroup* radio) : GroupBoxView(radio) {}

void RadioGroupView::Chosen(Fl_Widget* widget, void* data) {
    auto* self = static_cast<RadioGroupView*>(widget->parent());
    const int index = static_cast<int>(reinterpret_cast<std::intptr_t>(data));
    if (self->Live()) UserChooseItem(self->control_, index);
    CatchUp();
    if (self->control_) self->ShowChoice();
}

void RadioGroupView::ShowChoice() {
    const int index = static_cast<TRadioGroup*>(control_)->ItemIndex();
    for (size_t i = 0; i < items_.size(); ++i) items_[i]->value(static_cast<int>(i) == index ? 1 : 0);
}

Change RadioGroupView::SyncOwn() {
    auto* radio = static_cast<TRadioGroup*>(control_);
    Change change = GroupBoxView::SyncOwn();
    const auto& labels = radio->Items().List();
    const bool rebuild = labels != labels_;
    if (rebuild) {
        for (auto* item : items_) {
            remove(item);
            delete item;
        }
        items_.clear();
        labels_ = labels;
        escaped_.clear();
        for (const auto& text : labels_) escaped_.push_back(EscapeLabel(text));
        for (size_t i = 0; i < labels_.size(); ++i) {
            auto* item = new Fl_Round_Button(0, 0, 1, 1);
            item->label(escaped_[i].c_str());
            item->box(FL_NO_BOX);
            item->visible_focus(0);
            item->callback(Chosen, reinterpret_cast<void*>(static_cast<std::intptr_t>(i)));
            insert(*item, static_cast<int>(i));
            items_.push_back(item);
        }
    }
    if (rebuild || frame_ != placed_ || radio->Columns() != columns_ || !(radio->Font() == item_font_)) {
        placed_ = frame_;
        columns_ = radio->Columns();
        item_font_ = radio->Font();
        SetDrawFont(item_font_);
        const auto rects = RadioItemRects(w(), h(), fl_height(), static_cast<int>(items_.size()), columns_);
        const FontChoice font = ChooseFont(item_font_);
        for (size_t i = 0; i < items_.size(); ++i) {
            const TRect& r = rects[i];
            items_[i]->resize(x() + r.Left, y() + r.Top, r.Width(), r.Height());
            items_[i]->labelfont(FaceFor(font));
            items_[i]->labelsize(font.pixels);
            items_[i]->labelcolor(ToFlColor(item_font_.Color));
        }
        change = Change::Area;
    }
    if (rebuild || radio->ItemIndex() != index_) {
        index_ = radio->ItemIndex();
        ShowChoice();
        change = Worst(change, Change::Self);
    }
    for (auto* item : items_) {
        if (radio->Enabled()) item->activate();
        else item->deactivate();
    }
    return change;
}

int RadioGroupView::handle(int event) {
    if (Blocked(control_, event)) return Swallowed(event);
    auto* radio = static_cast<TRadioGroup*>(control_);
    switch (event) {
        case FL_FOCUS:
            RouteFocus();
            return 1;
        case FL_UNFOCUS: return 1;
        case FL_KEYBOARD: {
            const int key = Fl::event_key();
            if (key == FL_Tab) return 0;
            if (!RunKeyDown(radio, key) || !Live()) return 1;
            const int count = radio->Items().Count();
            int index = radio->ItemIndex();
            if (key == FL_Up || key == FL_Left) index = std::max(index - 1, 0);
            else if (key == FL_Down || key == FL_Right) index = std::min(index + 1, count - 1);
            else return 0;
            if (index != radio->ItemIndex()) UserChooseItem(radio, index);
            CatchUp();
            return 1;
        }
        default: return GroupBoxView::handle(event);
    }
}

// ---- Graphic controls ------------------------------------------------------------------------

LabelView::LabelView(TLabel* label) : Fl_Widget(0, 0, 1, 1), View(label) { box(FL_NO_BOX); }

Change LabelView::Sync(int x, int y) {
    auto* label = static_cast<TLabel*>(control_);
    const Change frame = ApplyFrame(this, FrameAt(x, y), false);
    // The caption of an edit on its left ends at the edit, however wide our font is.
    const auto* edit = dynamic_cast<const TLabeledEdit*>(label->Owner());
    const bool anchor_right = edit && edit->EditLabel() == label && edit->LabelPosition() == lpLeft;
    Look look{label->Caption(),   label->Font(),     EffectiveBackground(label), label->Transparent(),
              label->Alignment(), label->WordWrap(), label->AutoSize(),          anchor_right,
              label->Enabled()};
    if (has_look_ && look == look_) return frame;
    const bool shape_changed = has_look_ && (look.transparent != look_.transparent || look.auto_size != look_.auto_size);
    look_ = look;
    has_look_ = true;
    return Worst(frame, shape_changed || !Opaque() ? Change::Area : Change::Self);
}

void LabelView::draw() {
    const int X = x(), Y = y(), W = w(), H = h();
    if (!look_.transparent) {
        fl_color(ToFlColor(look_.color));
        fl_rectf(X, Y, W, H);
    }
    if (look_.caption.empty()) return;
    // An auto-sized label is as big as its text; with our fonts the text may need
    // more room than the layout gave, so it is not cut at the bounds.
    if (!look_.auto_size) fl_push_clip(X, Y, W, H);
    SetDrawFont(look_.font);
    fl_color(ToFlColor(look_.enabled ? look_.font.Color : clGrayText));
    const int line_height = fl_height();
    int top = Y;
    for (const auto& line : LabelLines(look_.caption, look_.word_wrap, W, TextWidth)) {
        const int width = TextWidth(line);
        int left = X;
        if (look_.anchor_right || look_.alignment == taRightJustify) left = X + W - width;
        else if (look_.alignment == taCenter) left = X + (W - width) / 2;
        DrawTextLine(line, left, top, look_.font);
        top += line_height;
    }
    if (!look_.auto_size) fl_pop_clip();
}

ImageView::ImageView(TImage* image) : Fl_Widget(0, 0, 1, 1), View(image) { box(FL_NO_BOX); }

Change ImageView::Sync(int x, int y) {
    auto* image = static_cast<TImage*>(control_);
    const Change frame = ApplyFrame(this, FrameAt(x, y), false);
    Look look{image->PictureRevision(), image->Stretch(), image->Center(), image->Width(), image->Height()};
    if (has_look_ && look == look_) return frame;
    look_ = look;
    has_look_ = true;
    image_.reset();
    pixels_.clear();
    opaque_ = false;
    const PixelImage& picture = image->Picture();
    if (!picture.Empty() && look.w > 0 && look.h > 0) {
        PixelImage shown = look.stretch ? ScalePixels(picture, look.w, look.h) : picture;
        image_x_ = image_y_ = 0;
        if (!look.stretch && look.center) {
            image_x_ = (look.w - shown.width) / 2;
            image_y_ = (look.h - shown.height) / 2;
        }
        // An opaque picture goes to the server as plain RGB, which FLTK keeps there.
        const bool alpha = !IsOpaque(shown);
        if (alpha) {
            pixels_ = std::move(shown.rgba);
        } else {
            pixels_.resize(static_cast<size_t>(shown.width) * static_cast<size_t>(shown.height) * 3);
            for (size_t i = 0, o = 0; o < pixels_.size(); i += 4, o += 3) {
                pixels_[o] = shown.rgba[i];
                pixels_[o + 1] = shown.rgba[i + 1];
                pixels_[o + 2] = shown.rgba[i + 2];
            }
        }
        image_ = std::make_unique<Fl_RGB_Image>(pixels_.data(), shown.width, shown.height, alpha ? 4 : 3);
        opaque_ = !alpha && image_x_ <= 0 && image_y_ <= 0 && image_x_ + shown.width >= look.w &&
                  image_y_ + shown.height >= look.h;
    }
    return Worst(frame, opaque_ ? Change::Self : Change::Area);
}

void ImageView::draw() {
    if (!image_) return;
    fl_push_clip(x(), y(), w(), h());
    image_->draw(x() + image_x_, y() + image_y_);
    fl_pop_clip();
}

GaugeView::GaugeView(TCGauge* gauge) : Fl_Widget(0, 0, 1, 1), View(gauge) { box(FL_NO_BOX); }

Change GaugeView::Sync(int x, int y) {
    auto* gauge = static_cast<TCGauge*>(control_);
    const Change frame = ApplyFrame(this, FrameAt(x, y), false);
    Look look{gauge->Kind(), gauge->PercentDone(), gauge->ForeColor(), gauge->BackColor(), gauge->ShowText(),
              gauge->Font()};
    if (has_look_ && look == look_) return frame;
    look_ = look;
    has_look_ = true;
    return Worst(frame, Change::Self);
}

void GaugeView::draw() {
    const int X = x(), Y = y(), W = w(), H = h();
    const int percent = std::clamp(look_.percent, 0, 100);
    fl_color(ToFlColor(look_.back));
    fl_rectf(X, Y, W, H);
    fl_color(ToFlColor(look_.fore));
    switch (look_.kind) {
        case gkHorizontalBar: fl_rectf(X, Y, W * percent / 100, H); break;
        case gkVerticalBar: {
            const int filled = H * percent / 100;
            fl_rectf(X, Y + H - filled, W, filled);
            break;
        }
        case gkPie:
        case gkNeedle: {
            // From twelve o'clock, clockwise.
            const double sweep = 360.0 * percent / 100.0;
            if (percent > 0) fl_pie(X, Y, W, H, 90.0 - sweep, 90.0);
            fl_color(FL_BLACK);
            fl_arc(X, Y, W, H, 0.0, 360.0);
            break;
        }
        case gkText: break;
    }
    if (look_.kind == gkHorizontalBar || look_.kind == gkVerticalBar || look_.kind == gkText) {
        fl_color(FL_BLACK);
        fl_rect(X, Y, W, H);
    }
    if (look_.show_text) {
        const std::string text = std::to_string(look_.percent) + "%";
        DrawCaption(text, look_.font, ToFlColor(look_.font.Color), X, Y, W, H, taCenter, 0);
    }
}

// ---- Grid ------------------------------------------------------------------------------------

GridView::GridView(TStringGrid* grid) : Fl_Widget(0, 0, 1, 1), View(grid) { box(FL_NO_BOX); }

namespace {

// FNV-1a over what a grid's paint depends on in the grid itself.
class Signature {
public:
    void Add(std::uint64_t v) {
        for (int i = 0; i < 8; ++i) {
            hash_ ^= (v >> (8 * i)) & 0xFF;
            hash_ *= 1099511628211ull;
        }
    }
    void Add(const std::string& s) {
        Add(s.size());
        for (unsigned char c : s) {
            hash_ ^= c;
            hash_ *= 1099511628211ull;
        }
    }
    std::uint64_t Value() const { return hash_; }

private:
    std::uint64_t hash_ = 14695981039346656037ull;
};

std::uint64_t GridSignature(const TStringGrid& g) {
    Signature s;
    s.Add(static_cast<std::uint64_t>(g.ColCount()));
    s.Add(static_cast<std::uint64_t>(g.RowCount()));
    for (int c = 0; c < g.ColCount(); ++c) s.Add(static_cast<std::uint64_t>(g.ColWidths(c)));
    for (int r = 0; r < g.RowCount(); ++r) s.Add(static_cast<std::uint64_t>(g.RowHeights(r)));
    for (int r = 0; r < g.RowCount(); ++r)
        for (int c = 0; c < g.ColCount(); ++c) s.Add(g.Cells(c, r));
    const TFont& f = g.Font();
    s.Add(f.Name);
    s.Add(static_cast<std::uint64_t>(f.Size));
    s.Add(f.Style);
    s.Add(static_cast<std::uint32_t>(f.Color));
    s.Add(static_cast<std::uint32_t>(g.Color()));
    s.Add(static_cast<std::uint64_t>(g.GridLineWidth()));
    s.Add(static_cast<std::uint64_t>(g.FixedCols() * 1000 + g.FixedRows()));
    s.Add(static_cast<std::uint64_t>(g.Col() * 100000 + g.Row()));
    s.Add(g.Focused() ? 1u : 0u);
    s.Add(g.DefaultDrawing() ? 1u : 0u);
    s.Add(g.Enabled() ? 1u : 0u);
    return s.Value();
}

}  // namespace

Change GridView::Sync(int x, int y) {
    auto* grid = static_cast<TStringGrid*>(control_);
    const Change frame = ApplyFrame(this, FrameAt(x, y), false);
    const std::uint64_t signature = GridSignature(*grid);
    if (has_signature_ && signature == signature_) return frame;
    signature_ = signature;
    has_signature_ = true;
    return Worst(frame, Change::Self);
}

void GridView::draw() {
    fl_push_clip(x(), y(), w(), h());
    auto* b = Desktop();
    if (control_ && b) {
        FltkCanvas canvas(x(), y());
        b->BeginPaint();
        PaintGrid(static_cast<TStringGrid*>(control_), canvas);
        b->EndPaint();
    } else {
        fl_color(ToFlColor(kGridLineColor));
        fl_rectf(x(), y(), w(), h());
    }
    fl_pop_clip();
}

bool GridView::CellAt(int x, int y, int& col, int& row) const {
    const auto* grid = static_cast<const TStringGrid*>(control_);
    for (int r = 0; r < grid->RowCount(); ++r) {
        for (int c = 0; c < grid->ColCount(); ++c) {
            const TRect rect = grid->CellRect(c, r);
            if (x >= rect.Left && x < rect.Right && y >= rect.Top && y < rect.Bottom) {
                col = c;
                row = r;
                return true;
            }
        }
    }
    return false;
}

void GridView::Clicked(int x, int y) {
    auto* grid = static_cast<TStringGrid*>(control_);
    int col = 0, row = 0;
    if (CellAt(x, y, col, row)) {
        Dispatch([grid, col, row] {
            if (!AcceptsInput(grid)) return;
            grid->SetCol(col);
            grid->SetRow(row);
        });
        CatchUp();
        if (!Live()) return;
    }
    UserClick(grid);
}

void GridView::DoubleClicked(int x, int y) {
    auto* grid = static_cast<TStringGrid*>(control_);
    int col = 0, row = 0;
    const bool on_cell = CellAt(x, y, col, row);
    Dispatch([=] {
        if (!AcceptsInput(grid)) return;
        if (on_cell) {
            grid->SetCol(col);
            grid->SetRow(row);
        }
        grid->DblClick();
    });
}

int GridView::handle(int event) {
    if (Blocked(control_, event)) return Swallowed(event);
    auto* grid = static_cast<TStringGrid*>(control_);
    switch (event) {
        case FL_FOCUS:
            RouteFocus();
            return 1;
        case FL_UNFOCUS: return 1;
        case FL_KEYBOARD: {
            const int key = Fl::event_key();
            if (key == FL_Tab) return 0;
            if (!RunKeyDown(grid, key) || !Live()) return 1;
            if (Fl::event_length() == 1) UserKeyPress(grid, Fl::event_text()[0]);
            CatchUp();
            return 1;
        }
        default: return RouteMouse(this, event);
    }
}

// ---- Edit ----------------------------------------------------------------------------------------

EditView::EditView(TEdit* edit) : Fl_Input(0, 0, 1, 1), View(edit) {
    box(FL_DOWN_BOX);
    when(FL_WHEN_CHANGED);
    callback(Edited);
}

Change EditView::Sync(int x, int y) {
    auto* edit = static_cast<TEdit*>(control_);
    const Change frame = ApplyFrame(this, FrameAt(x, y), true);
    // Typing put the text in the widget before the model had it: nothing to redo.
    if (edit->Text() != value()) {
        value(edit->Text().c_str());
        position(size());
    }
    Look look{edit->Text(), EffectiveBackground(edit), edit->Font()};
    if (has_look_ && look == look_) return frame;
    const FontChoice font = ChooseFont(look.font);
    color(ToFlColor(look.color));
    textcolor(ToFlColor(look.font.Color));
    cursor_color(ToFlColor(look.font.Color));
    selection_color(ToFlColor(clHighlight));
    textfont(FaceFor(font));
    textsize(font.pixels);
    look_ = look;
    has_look_ = true;
    return Worst(frame, Change::Self);
}

void EditView::Edited(Fl_Widget* widget, void*) {
    auto* self = static_cast<EditView*>(widget);
    if (!self->Live()) return;
    auto* edit = static_cast<TEdit*>(self->control_);
    UserEditText(edit, self->value());
    CatchUp();
    // The model may refuse the text (a container disabled) or change it.
    if (self->control_ && edit->Text() != self->value()) self->value(edit->Text().c_str());
}

int EditView::Key() {
    const int key = Fl::event_key();
    if (key == FL_Tab) return 0;
    auto* edit = static_cast<TEdit*>(control_);
    if (!RunKeyDown(edit, key) || !Live()) return 1;
    if (key == FL_Enter || key == FL_KP_Enter) {
        FilterKeyPress(edit, '\r');
        CatchUp();
        return 1;
    }
    if (key == FL_Escape) {
        FilterKeyPress(edit, 27);
        CatchUp();
        return 1;
    }
    // Copy, paste and the like are the widget's own.
    if (Fl::event_state() & (FL_CTRL | FL_ALT | FL_META)) return Fl_Input::handle(FL_KEYBOARD);
    if (key == FL_BackSpace) {
        const char k = FilterKeyPress(edit, '\b');
        CatchUp();
        if (!k || !Live()) return 1;
        return Fl_Input::handle(FL_KEYBOARD);
    }
    const int length = Fl::event_length();
    if (length <= 0) return Fl_Input::handle(FL_KEYBOARD);  // cursor keys, Delete
    const char typed = Fl::event_text()[0];
    const char k = FilterKeyPress(edit, typed);
    CatchUp();
    if (!k || !Live()) return 1;
    if (k == typed) return Fl_Input::handle(FL_KEYBOARD);
    // OnKeyPress changed the key: the new one goes in instead.
    if (static_cast<unsigned char>(k) < 32) return 1;
    replace(position(), mark(), &k, 1);
    return 1;
}

int EditView::handle(int event) {
    if (Blocked(control_, event)) return Swallowed(event);
    switch (event) {
        case FL_FOCUS:
            RouteFocus();
            break;
        case FL_KEYBOARD: return Key();
        default: break;
    }
    return Fl_Input::handle(event);
}

// ---- Combo box --------------------------------------------------------------------------------

ComboView::ComboView(TComboBox* combo) : Fl_Choice(0, 0, 1, 1), View(combo) {
    callback(Picked);
    // Every pick reaches the model, the item already chosen too: the model decides
    // what it fires.
    when(FL_WHEN_RELEASE_ALWAYS);
    down_box(FL_BORDER_BOX);
    menu_.resize(1);
    std::memset(static_cast<void*>(menu_.data()), 0, sizeof(Fl_Menu_Item));
    menu(menu_.data());
}

void ComboView::ShowChoice(int index) {
    if (index >= 0 && index + 1 < static_cast<int>(menu_.size())) value(index);
    else value(static_cast<const Fl_Menu_Item*>(nullptr));
}

Change ComboView::Sync(int x, int y) {
    auto* combo = static_cast<TComboBox*>(control_);
    const Change frame = ApplyFrame(this, FrameAt(x, y), true);
    Change change = Change::Nothing;
    // While the list is open it shows the items it opened with.
    const auto& items = combo->Items().List();
    if (!popped_ && items != items_) {
        items_ = items;
        escaped_.clear();
        for (const auto& text : items_) escaped_.push_back(EscapeLabel(text));
        menu_.assign(escaped_.size() + 1, Fl_Menu_Item());
        std::memset(static_cast<void*>(menu_.data()), 0, sizeof(Fl_Menu_Item) * menu_.size());
        for (size_t i = 0; i < escaped_.size(); ++i) menu_[i].text = escaped_[i].c_str();
        menu(menu_.data());
        change = Change::Self;
    }
    if (!popped_) ShowChoice(combo->ItemIndex());
    Look look{combo->ItemIndex(), combo->Text(), EffectiveBackground(combo), combo->Font()};
    if (!has_look_ || !(look == look_)) {
        const FontChoice font = ChooseFont(look.font);
        color(ToFlColor(look.color));
        textcolor(ToFlColor(look.font.Color));
        textfont(FaceFor(font));
        textsize(font.pixels);
        look_ = look;
        has_look_ = true;
        change = Change::Self;
    }
    return Worst(frame, change);
}

void ComboView::Picked(Fl_Widget* widget, void*) {
    auto* self = static_cast<ComboView*>(widget);
    const int index = self->value();
    if (self->Live() && index >= 0) UserChooseItem(self->control_, index);
    CatchUp();
    if (self->control_) self->ShowChoice(static_cast<TComboBox*>(self->control_)->ItemIndex());
}

int ComboView::handle(int event) {
    if (Blocked(control_, event)) return Swallowed(event);
    auto* combo = static_cast<TComboBox*>(control_);
    switch (event) {
        case FL_ENTER:
        case FL_LEAVE: return 1;
        case FL_FOCUS:
            RouteFocus();
            redraw();
            return 1;
        case FL_UNFOCUS: redraw(); return 1;
        case FL_PUSH: {
            if (Fl::visible_focus()) take_focus();
            if (!Live()) return 1;
            popped_ = true;
            const int used = Fl_Choice::handle(event);
            popped_ = false;
            CatchUp();
            return used ? used : 1;
        }
        case FL_KEYBOARD: {
            const int key = Fl::event_key();
            if (key == FL_Tab) return 0;
            // Up and down move the choice, one event per move.
            if (key == FL_Up || key == FL_Down) {
                if (Live()) UserKeyDown(combo, VirtualKeyFor(key), ShiftStateFor(Fl::event_state()));
                CatchUp();
                return 1;
            }
            if (!RunKeyDown(combo, key) || !Live()) return 1;
            if (key == FL_Enter || key == FL_KP_Enter) {
                FilterKeyPress(combo, '\r');
                CatchUp();
                return 1;
            }
            if (key == ' ') {
                popped_ = true;
                const int used = Fl_Choice::handle(event);
                popped_ = false;
                CatchUp();
                return used;
            }
            if (Fl::event_length() == 1) {
                FilterKeyPress(combo, Fl::event_text()[0]);
                CatchUp();
                return 1;
            }
            return 0;
        }
        default: return Fl_Choice::handle(event);
    }
}

void ComboView::draw() {
    const int X = x(), Y = y(), W = w(), H = h();
    const bool active = active_r();
    draw_box(FL_DOWN_BOX, X, Y, W, H, color());
    const int button = std::max(0, std::min(H - 4, 17));
    const int bx = X + W - 2 - button, by = Y + 2;
    draw_box(FL_UP_BOX, bx, by, button, H - 4, FL_BACKGROUND_COLOR);
    fl_color(active ? FL_FOREGROUND_COLOR : fl_inactive(FL_FOREGROUND_COLOR));
    const int cx = bx + button / 2, cy = by + (H - 4) / 2;
    fl_polygon(cx - 4, cy - 2, cx + 4, cy - 2, cx, cy + 2);
    const int tx = X + 2, ty = Y + 2, tw = std::max(0, W - button - 5), th = std::max(0, H - 4);
    const bool focused = Fl::focus() == this;
    if (focused) {
        fl_color(ToFlColor(clHighlight));
        fl_rectf(tx, ty, tw, th);
    }
    fl_push_clip(tx, ty, tw, th);
    SetDrawFont(look_.font);
    Fl_Color text = focused ? ToFlColor(clHighlightText) : textcolor();
    fl_color(active ? text : fl_inactive(text));
    DrawTextLine(look_.text, tx + 2, ty + (th - fl_height()) / 2, look_.font);
    fl_pop_clip();
}

// ---- Check box, button -------------------------------------------------------------------------

CheckView::CheckView(TCheckBox* box) : Fl_Check_Button(0, 0, 1, 1), View(box) {
    callback(Toggled);
    align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
}

Change CheckView::Sync(int x, int y) {
    auto* box = static_cast<TCheckBox*>(control_);
    const Change frame = ApplyFrame(this, FrameAt(x, y), true);
    value(box->Checked() ? 1 : 0);
    Look look{box->Caption(), box->Checked(), EffectiveBackground(box),
              box->ParentColor() || box->ParentBackground(), box->Font()};
    if (has_look_ && look == look_) return frame;
    const bool see_through_changed = has_look_ && look.see_through != look_.see_through;
    label_ = EscapeLabel(look.caption);
    label(label_.c_str());
    const FontChoice font = ChooseFont(look.font);
    labelfont(FaceFor(font));
    labelsize(font.pixels);
    labelcolor(ToFlColor(look.font.Color));
    this->box(look.see_through ? FL_NO_BOX : FL_FLAT_BOX);
    color(ToFlColor(look.color));
    look_ = look;
    has_look_ = true;
    return Worst(frame, see_through_changed || look.see_through ? Change::Area : Change::Self);
}

void CheckView::Toggled(Fl_Widget* widget, void*) {
    auto* self = static_cast<CheckView*>(widget);
    if (self->Live()) UserClick(self->control_);
    CatchUp();
    if (self->control_) self->value(static_cast<TCheckBox*>(self->control_)->Checked() ? 1 : 0);
}

int CheckView::handle(int event) {
    if (Blocked(control_, event)) return Swallowed(event);
    auto* box = static_cast<TCheckBox*>(control_);
    switch (event) {
        case FL_FOCUS:
            RouteFocus();
            break;
        case FL_KEYBOARD: {
            const int used = PressKey(box);
            if (control_) value(box->Checked() ? 1 : 0);
            return used;
        }
        default: break;
    }
    return Fl_Check_Button::handle(event);
}

ButtonView::ButtonView(TButton* button) : Fl_Button(0, 0, 1, 1), View(button) {
    callback(Pressed);
    box(FL_UP_BOX);
    down_box(FL_DOWN_BOX);
    color(ToFlColor(clBtnFace));
}

Change ButtonView::Sync(int x, int y) {
    auto* button = static_cast<TButton*>(control_);
    const Change frame = ApplyFrame(this, FrameAt(x, y), true);
    Look look{button->Caption(), button->Font()};
    if (has_look_ && look == look_) return frame;
    label_ = EscapeLabel(look.caption);
    label(label_.c_str());
    const FontChoice font = ChooseFont(look.font);
    labelfont(FaceFor(font));
    labelsize(font.pixels);
    // A push button draws its caption in the desktop's button text, whatever the font
    // colour, so that it reads on the button face; FLTK greys it while disabled.
    labelcolor(ToFlColor(clBtnText));
    look_ = look;
    has_look_ = true;
    return Worst(frame, Change::Self);
}

void ButtonView::Pressed(Fl_Widget* widget, void*) {
    auto* self = static_cast<ButtonView*>(widget);
    if (self->Live()) UserClick(self->control_);
    CatchUp();
}

int ButtonView::handle(int event) {
    if (Blocked(control_, event)) return Swallowed(event);
    auto* button = static_cast<TButton*>(control_);
    switch (event) {
        case FL_FOCUS:
            RouteFocus();
            break;
        case FL_KEYBOARD: return PressKey(button);
        default: break;
    }
    return Fl_Button::handle(event);
}

// ---- Check list box ------------------------------------------------------------------------------

CheckListView::CheckListView(TCheckListBox* list) : Fl_Check_Browser(0, 0, 1, 1), View(list) {
    callback(Changed);
    when(FL_WHEN_CHANGED);
}

Change CheckListView::Sync(int x, int y) {
    auto* list = static_cast<TCheckListBox*>(control_);
    const Change frame = ApplyFrame(this, FrameAt(x, y), true);
    std::vector<bool> checked;
    for (int i = 0; i < list->Items().Count(); ++i) checked.push_back(list->Checked(i));
    Look look{list->Items().List(), checked, EffectiveBackground(list), list->Font()};
    if (has_look_ && look == look_) return frame;
    if (!has_look_ || look.items != look_.items || look.checked != look_.checked) {
        clear();
        for (size_t i = 0; i < look.items.size(); ++i) {
            std::string text = look.items[i];
            add(text.data(), checked[i] ? 1 : 0);
        }
    }
    const FontChoice font = ChooseFont(look.font);
    color(ToFlColor(look.color));
    textfont(FaceFor(font));
    textsize(font.pixels);
    textcolor(ToFlColor(look.font.Color));
    look_ = look;
    has_look_ = true;
    return Worst(frame, Change::Self);
}

void CheckListView::Changed(Fl_Widget* widget, void*) {
    auto* self = static_cast<CheckListView*>(widget);
    if (!self->Live()) return;
    auto* list = static_cast<TCheckListBox*>(self->control_);
    // A click on a box toggles that item in the model.
    Dispatch([self, list] {
        if (!AcceptsInput(list)) return;
        const int n = std::min(list->Items().Count(), self->nitems());
        for (int i = 0; i < n; ++i) {
            const bool shown = self->checked(i + 1) != 0;
            if (shown != list->Checked(i)) list->SetChecked(i, shown);
        }
    });
    CatchUp();
    if (!self->Live()) return;
    const int selected = self->value() - 1;
    if (selected >= 0 && selected != list->ItemIndex()) UserChooseItem(list, selected);
    CatchUp();
    if (!self->control_) return;
    const int n = std::min(list->Items().Count(), self->nitems());
    for (int i = 0; i < n; ++i)
        if ((self->checked(i + 1) != 0) != list->Checked(i)) self->checked(i + 1, list->Checked(i) ? 1 : 0);
}

int CheckListView::handle(int event) {
    if (Blocked(control_, event)) return Swallowed(event);
    switch (event) {
        case FL_FOCUS:
            RouteFocus();
            Fl_Check_Browser::handle(event);
            return 1;  // a plain browser would refuse the focus
        case FL_UNFOCUS:
            Fl_Check_Browser::handle(event);
            return 1;
        case FL_KEYBOARD:
            if (Fl::event_key() == FL_Tab) return 0;
            break;
        default: break;
    }
    return Fl_Check_Browser::handle(event);
}

// ---- Anything else ---------------------------------------------------------------------------------

PlainView::PlainView(TControl* control) : Fl_Group(0, 0, 1, 1), View(control) {
    end();
    resizable(nullptr);
    box(FL_NO_BOX);
}

Change PlainView::Sync(int x, int y) { return ApplyFrame(this, FrameAt(x, y), false); }

void PlainView::draw() {
    fl_push_clip(x(), y(), w(), h());
    draw_children();
    fl_pop_clip();
}

View* MakeView(TControl* control) {
    Fl_Group::current(nullptr);
    if (auto* form = dynamic_cast<TForm*>(control)) return new FormWindow(form);
    if (auto* panel = dynamic_cast<TPanel*>(control)) return new PanelView(panel);
    if (auto* radio = dynamic_cast<TRadioGroup*>(control)) return new RadioGroupView(radio);
    if (auto* box = dynamic_cast<TGroupBox*>(control)) return new GroupBoxView(box);
    if (auto* grid = dynamic_cast<TStringGrid*>(control)) return new GridView(grid);
    if (auto* edit = dynamic_cast<TEdit*>(control)) return new EditView(edit);
    if (auto* combo = dynamic_cast<TComboBox*>(control)) return new ComboView(combo);
    if (auto* check = dynamic_cast<TCheckBox*>(control)) return new CheckView(check);
    if (auto* button = dynamic_cast<TButton*>(control)) return new ButtonView(button);
    if (auto* list = dynamic_cast<TCheckListBox*>(control)) return new CheckListView(list);
    if (auto* label = dynamic_cast<TLabel*>(control)) return new LabelView(label);
    if (auto* image = dynamic_cast<TImage*>(control)) return new ImageView(image);
    if (auto* gauge = dynamic_cast<TCGauge*>(control)) return new GaugeView(gauge);
    return new PlainView(control);
}

}  // namespace ui
