#include "platform/ui/fltk/fltk_backend.h"

#include <FL/Fl.H>
#include <FL/Fl_Menu_Window.H>
#include <FL/Fl_Native_File_Chooser.H>
#include <FL/Fl_Window.H>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "platform/os/end_signals.h"
#include "platform/ui/fltk/look.h"
#include "platform/ui/fltk/message_box.h"
#include "platform/ui/fltk/views.h"

// Last: the X headers define short macros (None, Status, ...).
#include <FL/x.H>

namespace ui {
namespace {

// FLTK calls this when the display goes away: one line, and out at once. Nothing is
// torn down on the way: the windows cannot be, and the rendering library may already
// be gone when static teardown would reach the contexts.
[[noreturn]] void LostDisplay(const char* format, ...) {
    std::fprintf(stderr, "%s: the display went away: ", program_invocation_short_name);
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fputc('\n', stderr);
    std::fflush(stderr);
    std::_Exit(1);
}

// Xlib's own handler would call exit(), which runs static teardown with the display
// and the rendering library half gone.
int LostConnection(Display* display) {
    LostDisplay("lost the connection to the X display %s", display ? DisplayString(display) : "");
}

// A refused request is not fatal (Xlib's own handler would end the program).
int RefusedRequest(Display* display, XErrorEvent* error) {
    char text[160] = "";
    XGetErrorText(display, error->error_code, text, sizeof text);
    std::fprintf(stderr, "%s: X error: %s (request %d, resource 0x%lx)\n", program_invocation_short_name, text,
                 error->request_code, static_cast<unsigned long>(error->resourceid));
    return 0;
}

// FLTK ends the program when it finds no font at its first text, long after the
// window was built; better to say so before anything starts. The check loads the
// default configuration, which FLTK's text drawing then uses as it stands.
bool HaveFonts() {
    if (!FcInit()) return false;
    FcPattern* any = FcPatternCreate();
    FcObjectSet* family = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* fonts = any && family ? FcFontList(nullptr, any, family) : nullptr;
    const bool found = fonts && fonts->nfont > 0;
    if (fonts) FcFontSetDestroy(fonts);
    if (family) FcObjectSetDestroy(family);
    if (any) FcPatternDestroy(any);
    return found;
}

// Never destroyed: a library that calls exit() must not find the windows to take
// down; StopDesktop releases them on the program's own way out.
FltkBackend*& Installed() {
    static FltkBackend* backend = nullptr;
    return backend;
}

bool Overlap(Fl_Widget* a, Fl_Widget* b) {
    return a->x() < b->x() + b->w() && b->x() < a->x() + a->w() && a->y() < b->y() + b->h() &&
           b->y() < a->y() + a->h();
}

// A sibling drawn after the widget (or after one of its containers) lies over it.
bool CoveredByLater(Fl_Widget* widget) {
    for (Fl_Widget* node = widget; node->parent() && !node->as_window(); node = node->parent()) {
        const Fl_Group* group = node->parent();
        for (int i = group->find(node) + 1; i < group->children(); ++i) {
            Fl_Widget* sibling = group->child(i);
            if (sibling->visible() && Overlap(sibling, widget)) return true;
        }
    }
    return false;
}

// An open drop-down list holds the pointer and the keys (FLTK's grab) and runs a loop of
// its own. Escape closes it as the user's would, choosing nothing; its loop ends when
// this event is over. True when a list was open.
bool CloseOpenList() {
    auto* list = dynamic_cast<Fl_Menu_Window*>(Fl::grab());
    if (!list) return false;
    static char no_text[] = "";
    Fl::e_keysym = FL_Escape;
    Fl::e_state = 0;
    Fl::e_text = no_text;
    Fl::e_length = 0;
    Fl::handle(FL_KEYBOARD, list);
    return true;
}

}  // namespace

std::optional<std::string> OpenDisplay() {
    if (fl_display) return std::nullopt;
    const char* name = XDisplayName(nullptr);
    if (!HaveFonts()) return std::string("no usable fonts: fontconfig lists none (check its configuration)");
    // Before the first connection, so that no Xlib handler of its own can end us.
    XSetIOErrorHandler(LostConnection);
    XSetErrorHandler(RefusedRequest);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        if (!name || !*name) return std::string("no display: DISPLAY is not set");
        return "no display: cannot open the X display " + std::string(name);
    }
    fl_open_display(display);
    Fl::fatal = LostDisplay;
    // Task bars and window switchers name the program by its windows' class.
    Fl_Window::default_xclass(program_invocation_short_name);
    return std::nullopt;
}

std::optional<std::string> InstallDesktopBackend(TApplication& app) {
    if (auto error = OpenDisplay()) return error;
    StopDesktop();
    Installed() = new FltkBackend(app);
    return std::nullopt;
}

bool StartDesktop(TApplication& app, const char* program) {
    const auto error = InstallDesktopBackend(app);
    if (!error) return true;
    std::fprintf(stderr, "%s: %s\n", program, error->c_str());
    return false;
}

void StopDesktop() {
    delete Installed();
    Installed() = nullptr;
}

// ---- FltkBackend ---------------------------------------------------------------------------

FltkBackend* FltkBackend::current_ = nullptr;

FltkBackend::FltkBackend(TApplication& app) : app_(app) {
    current_ = this;
    app_.SetBackend(this);
    previous_dispatch_ = Fl::event_dispatch();
    Fl::event_dispatch(EventDispatch);
}

FltkBackend::~FltkBackend() {
    Fl::event_dispatch(previous_dispatch_);
    Fl::remove_timeout(Pump, this);
    BuryWidgets();
    // The windows take their children with them.
    std::vector<Fl_Widget*> windows;
    for (auto& [control, view] : views_)
        if (!view->Widget()->parent()) windows.push_back(view->Widget());
    views_.clear();
    for (Fl_Widget* window : windows) delete window;
    if (current_ == this) current_ = nullptr;
    if (&app_.Backend() == this) app_.SetBackend(nullptr);
}

Fl_Widget* FltkBackend::WidgetFor(const TControl* control) const {
    const auto it = views_.find(control);
    return it == views_.end() ? nullptr : it->second->Widget();
}

Fl_Window* FltkBackend::WindowFor(const TForm* form) const {
    Fl_Widget* widget = WidgetFor(form);
    return widget ? widget->as_window() : nullptr;
}

// ---- Sync ------------------------------------------------------------------------------------

void FltkBackend::Refresh() {
    if (painting_ || syncing_) {
        sync_pending_ = true;
        return;
    }
    SyncNow();
}

void FltkBackend::CatchUp() {
    if (syncing_ || painting_) return;
    if (sync_pending_ || app_.Forms() != synced_forms_) SyncNow();
}

void FltkBackend::SyncNow() {
    if (syncing_) return;
    ++syncing_;
    sync_pending_ = false;
    ++generation_;
    synced_forms_ = app_.Forms();
    for (TForm* form : synced_forms_) {
        damage_.clear();
        View* window = SyncControl(form, nullptr, 0, 0);
        const bool touched = !damage_.empty();
        for (const Damage& d : damage_) Repaint(d.view, d.area);
        // Owner-drawn grids may show any state of the form: they repaint with it.
        if (touched)
            for (auto& [control, view] : views_)
                if (view->seen == generation_ && view->RepaintsWithForm() && view->Widget()->window() == window->Widget())
                    Repaint(view, false);
        static_cast<FormWindow*>(window)->SyncVisibility();
        SyncFocus(form, window);
        SyncCursor(form, window);
    }
    DropDeadViews();
    --syncing_;
}

View* FltkBackend::SyncControl(TControl* control, View* parent_view, int origin_x, int origin_y) {
    View* view = nullptr;
    if (auto it = views_.find(control); it != views_.end()) {
        view = it->second;
        // The address of a control that went may come back as one of another class.
        if (!view->Shows(control)) {
            views_.erase(it);
            Bury(view);
            view = nullptr;
        }
    }
    bool fresh = false;
    if (!view) {
        view = MakeView(control);
        views_[control] = view;
        fresh = true;
    }
    view->seen = generation_;
    Fl_Widget* widget = view->Widget();
    if (parent_view) {
        Fl_Group* group = parent_view->Children();
        if (widget->parent() != group) {
            group->add(widget);
            fresh = true;
        }
    }
    const int x = origin_x + control->Left(), y = origin_y + control->Top();
    Change change = view->Sync(x, y);
    if (fresh && parent_view) change = Change::Area;
    if (change != Change::Nothing) damage_.push_back({view, change == Change::Area});
    auto* container = dynamic_cast<TWinControl*>(control);
    if (container && view->Children()) {
        // A form's children stand in its client area, from the window's corner.
        const bool is_window = widget->as_window() != nullptr;
        for (TControl* child : container->Controls())
            SyncControl(child, view, is_window ? 0 : x, is_window ? 0 : y);
        SyncChildOrder(container, view);
    }
    return view;
}

void FltkBackend::SyncChildOrder(TWinControl* container, View* view) {
    // Controls drawn on their parent lie under its windowed controls, each kind in
    // the model's order, back to front.
    std::vector<Fl_Widget*> wanted;
    for (const bool graphic : {true, false})
        for (TControl* child : container->Controls())
            if ((dynamic_cast<TGraphicControl*>(child) != nullptr) == graphic)
                if (auto it = views_.find(child); it != views_.end()) wanted.push_back(it->second->Widget());
    Fl_Group* group = view->Children();
    const int base = view->PrivateChildren();
    bool same = group->children() >= base + static_cast<int>(wanted.size());
    for (size_t i = 0; same && i < wanted.size(); ++i) same = group->child(base + static_cast<int>(i)) == wanted[i];
    if (same) return;
    for (size_t i = 0; i < wanted.size(); ++i) group->insert(*wanted[i], base + static_cast<int>(i));
    damage_.push_back({view, true});
}

void FltkBackend::Repaint(View* view, bool area) {
    Fl_Widget* target = view->Widget();
    if ((area || !view->Opaque()) && !target->as_window()) {
        // The area shows what lies behind: the nearest opaque container repaints.
        target = target->parent();
        while (target && !target->as_window()) {
            const View* v = dynamic_cast<View*>(target);
            if (v && v->Opaque()) break;
            target = target->parent();
        }
    }
    if (!target) return;
    if (!target->as_window() && CoveredByLater(target)) target = target->window();
    if (target) target->redraw();
}

Fl_Widget* FltkBackend::KeyWidgetFor(const TForm* form) const {
    TWinControl* active = form->ActiveControl();
    if (!active || !AcceptsInput(active)) return nullptr;
    Fl_Widget* widget = WidgetFor(active);
    return widget && widget->visible_r() ? widget : nullptr;
}

void FltkBackend::SyncFocus(TForm* form, View* window_view) {
    // Focus moved by the model (SetFocus, Tab) goes to the widget; a click that FLTK
    // answered has already told the model. When the model leaves no control with the
    // keys (the focused one cannot take input), no widget keeps them: the window does.
    // FLTK offers the window the keys again when it activates, and FormWindow gives
    // them to the model's control.
    TWinControl* active = form->ActiveControl();
    TWinControl*& last = last_active_[form];
    const bool moved = active != last;
    last = active;
    Fl_Window* window = window_view->Widget()->as_window();
    // An open box has the keys; the window asks for them again when it closes.
    if (!window || (Fl::modal() && Fl::modal() != window)) return;
    Fl_Widget* focus = Fl::focus();
    Fl_Widget* wanted = KeyWidgetFor(form);
    if (!moved) {
        // The same control, which may take input again now: a box closed while its run
        // had it (or its group) disabled, so the window kept the keys for it.
        if (wanted && focus == window) wanted->take_focus();
        return;
    }
    if (wanted) {
        if (focus != wanted) wanted->take_focus();
    } else if (focus && focus != window && window->contains(focus)) {
        Fl::focus(window);
    }
}

void FltkBackend::SyncCursor(TForm* form, View* window_view) {
    Fl_Window* window = window_view->Widget()->as_window();
    if (!window || !window->shown()) return;
    const TCursor control_cursor = form->Hovered() ? form->Hovered()->Cursor() : crDefault;
    const int wanted =
        PointerShapeFor(form->Cursor(), control_cursor) == PointerShape::Busy ? FL_CURSOR_WAIT : FL_CURSOR_DEFAULT;
    auto [it, inserted] = cursors_.try_emplace(form, -1);
    if (it->second == wanted) return;
    it->second = wanted;
    window->cursor(static_cast<Fl_Cursor>(wanted));
}

void FltkBackend::Bury(View* view) {
    view->Forget();
    Fl_Widget* widget = view->Widget();
    if (Fl_Window* window = widget->as_window()) {
        window->hide();
    } else if (Fl_Window* top = widget->window()) {
        top->redraw();
    }
    if (Fl_Group* parent = widget->parent()) parent->remove(widget);
    graveyard_.push_back(widget);
}

void FltkBackend::DropDeadViews() {
    std::vector<View*> dead;
    for (auto it = views_.begin(); it != views_.end();) {
        if (it->second->seen != generation_) {
            dead.push_back(it->second);
            it = views_.erase(it);
        } else {
            ++it;
        }
    }
    for (View* view : dead) Bury(view);
    auto gone = [this](const TForm* form) {
        return std::find(synced_forms_.begin(), synced_forms_.end(), form) == synced_forms_.end();
    };
    std::erase_if(last_active_, [&](const auto& entry) { return gone(entry.first); });
    std::erase_if(cursors_, [&](const auto& entry) { return gone(entry.first); });
    std::erase_if(first_drawn_, gone);
}

void FltkBackend::BuryWidgets() {
    auto widgets = std::move(graveyard_);
    graveyard_.clear();
    for (Fl_Widget* widget : widgets) delete widget;
}

// ---- Paints ------------------------------------------------------------------------------------

void FltkBackend::EndPaint() {
    if (painting_ > 0) --painting_;
}

void FltkBackend::NoteFirstDraw(TForm* form) {
    if (std::find(first_drawn_.begin(), first_drawn_.end(), form) == first_drawn_.end()) first_drawn_.push_back(form);
}

void FltkBackend::RunFirstPaints() {
    auto forms = std::move(first_drawn_);
    first_drawn_.clear();
    for (TForm* form : forms)
        if (std::find(app_.Forms().begin(), app_.Forms().end(), form) != app_.Forms().end()) PaintForm(form);
}


// ---- Loop ------------------------------------------------------------------------------------

double FltkBackend::WaitSeconds(double max_wait) const {
    double wait = max_wait;
    if (const auto due = app_.NextTimerDue())
        wait = std::min(wait, std::max(0.001, static_cast<double>(*due - app_.NowMs()) / 1000.0));
    return wait;
}

void FltkBackend::ArmPump() {
    if (pump_armed_) return;
    pump_armed_ = true;
    Fl::add_timeout(WaitSeconds(kPollSeconds), Pump, this);
}

// Timers and the calls queued by worker threads run from an FLTK timeout, so they go
// on in every loop FLTK runs: ours, a modal box's, an open drop-down list's.
void FltkBackend::Pump(void* data) {
    auto* self = static_cast<FltkBackend*>(data);
    self->pump_armed_ = false;
    // A box that a timer opened runs its loop inside this call: the pump nests.
    if (!self->painting_ && static_cast<int>(self->open_boxes_.size()) < kMaxNestedBoxes) {
        ++self->pumping_;
        self->app_.ProcessMessages();
        --self->pumping_;
    }
    if (!self->painting_ && !self->syncing_) self->HeedEndSignal(false);
    self->ArmPump();
}

void FltkBackend::HeedEndSignal(bool top_level) {
    if (end_signal_seen_ || os::EndSignal() == 0) return;
    if (CloseOpenList()) return;
    TForm* main = app_.MainForm();
    // Outside any event only the top-level loop closes: a nested loop there is a box
    // that opened after a paint, and the close waits for it.
    if (!main || (!top_level && DispatchDepth() == 0)) return;
    end_signal_seen_ = true;
    UserClose(main);
}

void FltkBackend::AfterEvents(bool top_level) {
    if (sync_pending_ && !painting_) SyncNow();
    CatchUp();
    RunFirstPaints();
    ShowDeferredBoxes();
    // Widgets of controls that went are deleted only here, where no handler of theirs
    // can be running.
    if (top_level) BuryWidgets();
}

void FltkBackend::RunOnce(double max_wait_seconds) {
    ArmPump();
    CatchUp();
    Fl::wait(max_wait_seconds);
    AfterEvents(true);
}

void FltkBackend::RunLoop(TApplication& app) {
    ArmPump();
    SyncNow();
    while (!app.Terminated()) {
        Fl::wait(kPollSeconds);
        AfterEvents(true);
        HeedEndSignal(true);
    }
    // The windows go when the loop ends, before the forms are taken down.
    for (auto& [control, view] : views_)
        if (Fl_Window* window = view->Widget()->as_window()) window->hide();
    Fl::flush();
}

void FltkBackend::DispatchPendingInput() {
    // During a paint or a sync nothing may run.
    if (painting_ || syncing_) return;
    // A handler's message pass: a close that a signal asked for shows as ClosePending.
    HeedEndSignal(false);
    // From our own timeout FLTK is already handling events.
    if (pumping_) return;
    CatchUp();
    Fl::check();
    AfterEvents(false);
}

void FltkBackend::PaintNow() {
    // Inside a sync or an owner-drawn paint the model is not settled; once the loop
    // has ended the windows are going down and must not come back.
    if (syncing_ || painting_ || app_.Terminated()) return;
    SyncNow();
    // Only the expose events leave the queue: input stays there for the loop.
    XSync(fl_display, False);
    XEvent event;
    while (XCheckTypedEvent(fl_display, Expose, &event)) fl_handle(event);
    Fl::flush();
}

int FltkBackend::EventDispatch(int event, Fl_Window* window) {
    // FLTK drops the close of any window but an open modal box. A form's close box
    // still reaches the model, which lets the close wait for the box and its handler.
    if (event == FL_CLOSE && window && Fl::modal() && window != Fl::modal() && !Fl::grab() &&
        dynamic_cast<FormWindow*>(window)) {
        window->do_callback();
        return 1;
    }
    if (current_ && current_->previous_dispatch_) return current_->previous_dispatch_(event, window);
    return Fl::handle_(event, window);
}

// ---- Dialogs ----------------------------------------------------------------------------------

void FltkBackend::ShowBox(BoxKind kind, const std::string& text) {
    boxes_.push_back({kind, text});
    if (painting_ || syncing_) {
        // A grid's handler that throws on every paint asks once, not on every paint.
        const Box box{kind, text};
        if (std::find(deferred_boxes_.begin(), deferred_boxes_.end(), box) == deferred_boxes_.end())
            deferred_boxes_.push_back(box);
        return;
    }
    OpenBoxWindow(kind, text);
}

void FltkBackend::ShowDeferredBoxes() {
    while (!deferred_boxes_.empty() && !painting_ && !syncing_) {
        const Box box = deferred_boxes_.front();
        deferred_boxes_.erase(deferred_boxes_.begin());
        OpenBoxWindow(box.kind, box.text);
    }
}

void FltkBackend::OpenBoxWindow(BoxKind kind, const std::string& text) {
    const TForm* main = app_.MainForm();
    Fl_Window* over = main ? WindowFor(main) : nullptr;
    Fl_Double_Window* box = MakeMessageBox(kind, text, main ? main->Caption() : std::string(), over);
    open_boxes_.push_back(box);
    ArmPump();
    box->show();
    while (box->shown()) {
        Fl::wait(kPollSeconds);
        AfterEvents(false);
    }
    open_boxes_.pop_back();
    delete box;
    // The keys the box had go back to the window it stood over, which gives them to
    // the control the model says (FormWindow), not to whatever widget FLTK would pick.
    if (!Fl::focus() && over && over->shown() && (!Fl::modal() || Fl::modal() == over)) over->take_focus();
    CatchUp();
}

std::optional<std::string> FltkBackend::ChooseFile(const FileRequest& request) {
    Fl_Native_File_Chooser chooser(Fl_Native_File_Chooser::BROWSE_FILE);
    if (!request.title.empty()) chooser.title(request.title.c_str());
    const std::string filter = FileChooserFilter(request.filter);
    if (!filter.empty()) chooser.filter(filter.c_str());
    if (!request.initial_dir.empty()) chooser.directory(request.initial_dir.c_str());
    if (!request.file_name.empty()) chooser.preset_file(request.file_name.c_str());
    ArmPump();
    const int result = chooser.show();
    CatchUp();
    const char* chosen = chooser.filename();
    if (result != 0 || !chosen || !*chosen) return std::nullopt;
    return std::string(chosen);
}

}  // namespace ui
