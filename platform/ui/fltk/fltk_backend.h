#pragma once
// The desktop backend: shows the control model in FLTK windows and feeds the user's
// input back through the ui::User... functions, so that every handler runs as the
// headless tests drive it. After every dispatched event, timer and queued call the
// widgets are brought up to date with the whole model.
//
// Only this folder includes FLTK; the declarations below name its classes without
// including them.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/ui/forms.h"

class Fl_Widget;
class Fl_Window;

namespace ui {

class View;

// Opens the X display for FLTK once. Without a display, or without any font to draw
// text with, it returns the reason in one line and leaves the process alone (FLTK's
// own handling would end the program). A display that goes away later ends the
// program at once with one line on stderr, running no teardown. The windows take the
// program's name as their class.
std::optional<std::string> OpenDisplay();

// Opens the display and puts a desktop backend in place for the application; the
// backend stays until StopDesktop (never taken down by static teardown). Returns the
// reason when there is no display (the application keeps its headless backend).
std::optional<std::string> InstallDesktopBackend(TApplication& app);

// For the program's entry: the desktop backend, or one line on stderr saying why
// there is no window ("zorv: no display: DISPLAY is not set") and false.
bool StartDesktop(TApplication& app, const char* program);

// Takes the installed backend and its windows down; the forms must be gone first.
void StopDesktop();

class FltkBackend : public Backend {
public:
    // The display must be open (OpenDisplay). Installs itself on the application,
    // which must outlive it.
    explicit FltkBackend(TApplication& app);
    ~FltkBackend() override;
    FltkBackend(const FltkBackend&) = delete;
    FltkBackend& operator=(const FltkBackend&) = delete;

    // A modal box with one OK button; timers, queued calls and repaints go on while
    // it is open. A box asked for during a paint opens when the paint is over.
    void ShowBox(BoxKind kind, const std::string& text) override;
    // FLTK's native file chooser.
    std::optional<std::string> ChooseFile(const FileRequest& request) override;
    void RunLoop(TApplication& app) override;
    void Refresh() override;
    void DispatchPendingInput() override;
    // Brings the widgets up to date and draws what changed, the parts of the windows
    // that a closed box uncovered included, before the call returns; input waits.
    void PaintNow() override;

    // Brings every widget up to date with the model now.
    void SyncNow();
    // One turn of the loop: input, repaints and due timers, waiting at most this long.
    void RunOnce(double max_wait_seconds);

    // The widget that shows a control or form; nullptr when none does (yet).
    Fl_Widget* WidgetFor(const TControl* control) const;
    Fl_Window* WindowFor(const TForm* form) const;
    // The widget that takes the form's keys: that of the model's focused control while
    // the control takes input and its widget shows; nullptr for none.
    Fl_Widget* KeyWidgetFor(const TForm* form) const;
    // The innermost modal box that is open, if any.
    Fl_Window* OpenBox() const { return open_boxes_.empty() ? nullptr : open_boxes_.back(); }
    struct Box {
        BoxKind kind;
        std::string text;
        bool operator==(const Box&) const = default;
    };
    // Every box asked for so far, in order.
    const std::vector<Box>& Boxes() const { return boxes_; }

    // ---- for the views ----
    static FltkBackend* Current() { return current_; }
    // Input goes to the model only outside a sync.
    bool TakesInput() const { return syncing_ == 0; }
    // After a user call: forms that the call freed go from the widgets at once.
    void CatchUp();
    // An owner-drawn paint is under way: refreshes and boxes wait for its end.
    void BeginPaint() { ++painting_; }
    void EndPaint();
    // A form's window has been drawn for the first time since it was shown: its
    // OnPaint runs once the drawing is over.
    void NoteFirstDraw(TForm* form);

    // How often the loop looks at the calls queued by worker threads and at timers.
    static constexpr double kPollSeconds = 0.02;
    // Boxes opened by what runs while boxes are open: at this depth timers and queued
    // calls wait until a box closes, so a timer that opens a box cannot run away.
    static constexpr int kMaxNestedBoxes = 8;

private:
    struct Damage {
        View* view;
        bool area;
    };
    View* SyncControl(TControl* control, View* parent_view, int origin_x, int origin_y);
    void SyncChildOrder(TWinControl* container, View* view);
    void SyncFocus(TForm* form, View* window_view);
    void SyncCursor(TForm* form, View* window_view);
    void DropDeadViews();
    // The control has gone: the widget leaves its parent and waits for deletion.
    void Bury(View* view);
    void OpenBoxWindow(BoxKind kind, const std::string& text);
    void Repaint(View* view, bool area);
    void AfterEvents(bool top_level);
    void ShowDeferredBoxes();
    void RunFirstPaints();
    void BuryWidgets();
    double WaitSeconds(double max_wait) const;
    static void Pump(void* self);
    // Ctrl-C, kill or a logout closes the main window as its close box does, from
    // whichever loop waits for the user: an open drop-down list closes first and the
    // close follows its loop's end; inside an event (an open box, a handler that lets
    // messages through) the close waits for that event, as the close box's does.
    void HeedEndSignal(bool top_level);
    void ArmPump();
    static int EventDispatch(int event, Fl_Window* window);

    static FltkBackend* current_;
    TApplication& app_;
    std::unordered_map<const TControl*, View*> views_;  // FLTK owns the widgets
    std::vector<TForm*> synced_forms_;
    std::map<const TForm*, TWinControl*> last_active_;
    std::map<const TForm*, int> cursors_;
    std::vector<TForm*> first_drawn_;
    std::vector<Damage> damage_;
    std::vector<Fl_Widget*> graveyard_;
    std::vector<Box> boxes_;
    std::vector<Box> deferred_boxes_;
    std::vector<Fl_Window*> open_boxes_;
    std::uint64_t generation_ = 0;
    int syncing_ = 0;
    int painting_ = 0;
    bool sync_pending_ = false;
    int pumping_ = 0;
    bool pump_armed_ = false;
    bool end_signal_seen_ = false;
    int (*previous_dispatch_)(int, Fl_Window*) = nullptr;
};

}  // namespace ui
