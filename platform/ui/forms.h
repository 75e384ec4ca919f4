#pragma once
// Forms, the application object with its loop, timers and clock, the dispatcher that
// every event from the loop goes through, and the backend interface (dialogs and the
// loop) that the headless and the desktop backends implement.
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/ui/components.h"

class TApplication;
class TTimer;

namespace ui {

class HandlerTable;

enum class BoxKind { Message, Notice, Error };
// "message", "notice", "error".
std::string_view BoxKindName(BoxKind kind);

struct FileRequest {
    std::string title;
    std::string filter;     // "Workbooks (*.xlsx)|*.xlsx|All files (*.*)|*.*"
    std::string file_name;  // the dialog's FileName before it opens
    std::string initial_dir;
};

// What shows the model: the modal boxes, the open-file dialog and the loop.
class Backend {
public:
    virtual ~Backend() = default;
    // A modal box with one OK button; returns when it is closed. While it is open the
    // backend keeps calling TApplication::ProcessMessages, so timers and queued calls
    // go on.
    virtual void ShowBox(BoxKind kind, const std::string& text) = 0;
    // The open-file dialog; the chosen file, or nullopt when the user cancelled.
    virtual std::optional<std::string> ChooseFile(const FileRequest& request) = 0;
    // Runs until app.Terminated(): user input through the ui::User... functions,
    // app.ProcessMessages() for timers and queued calls.
    virtual void RunLoop(TApplication& app) = 0;
    // Called after every dispatched event, timer and queued call: the model may have
    // changed anywhere, so the backend brings what it shows up to date.
    virtual void Refresh() {}
    // Lets the user input that is waiting through, as the loop would; called first by
    // TApplication::ProcessMessages, so that a long handler that processes messages
    // also answers the user.
    virtual void DispatchPendingInput() {}
    // Shows the model as it stands now, without letting any input through: for a
    // handler that is about to block (a request to the service), so that the window
    // shows what the handler has changed so far instead of looking hung.
    virtual void PaintNow() {}
};

// Runs one event from the loop (user input, a timer, a queued call, a paint, a
// form's creation). What the call throws stops there: the message (empty for a throw
// that is no std::exception) is shown once in the error box and every form's cursor
// goes back to the arrow. Controls that handlers disabled for their runs come back
// through their busy guards (ScopedDisable); what the program disabled on purpose
// stays disabled. When the outermost event ends, a form whose focused control can no
// longer take the focus has none. Returns false when the call threw. Events that
// code fires (a text written, a box checked) run directly inside the event that
// caused them, so their errors end that event.
bool Dispatch(const std::function<void()>& call);

// How many dispatched events are under way (nested ones count: a timer during a
// modal box of a handler).
int DispatchDepth();

// The application's backend shows the model now (Backend::PaintNow).
void PaintNow();

}  // namespace ui

class TForm : public TWinControl {
public:
    static constexpr const char* kClass = "TForm";
    // Create forms with Application->CreateForm, which runs OnCreate after the
    // constructor; the owner is the application.
    explicit TForm(TComponent* owner);
    ~TForm() override;
    std::string ClassName() const override { return kClass; }

    // The client area is the form's own size; Width and Height include the frame.
    int ClientWidth() const override { return client_width_; }
    int ClientHeight() const override { return client_height_; }
    void SetClientWidth(int v) override { client_width_ = v; }
    void SetClientHeight(int v) override { client_height_ = v; }

    TPosition Position() const { return position_; }
    void SetPosition(TPosition v) { position_ = v; }
    TFormBorderStyle BorderStyle() const { return border_style_; }
    void SetBorderStyle(TFormBorderStyle v) { border_style_ = v; }
    TBorderIcons BorderIcons() const { return border_icons_; }
    void SetBorderIcons(TBorderIcons v) { border_icons_ = v; }
    TFormStyle FormStyle() const { return form_style_; }
    void SetFormStyle(TFormStyle v) { form_style_ = v; }

    // The control with the keyboard focus, or nullptr.
    TWinControl* ActiveControl() const { return active_; }
    void SetActiveControl(TWinControl* control) { active_ = control; }
    // The control the mouse pointer was last reported on (see ui::UserPointAt), or
    // nullptr while the pointer is outside the form.
    TControl* Hovered() const { return hovered_; }
    void SetHovered(TControl* control) { hovered_ = control; }

    // Runs OnClose with caHide; caNone keeps the form open. Closing the main form ends
    // the application's loop; another form is hidden, or freed after the current event
    // for caFree. While the form is busy the close only waits (see BeginBusy).
    void Close();

    // A handler that lets messages through during a long loop keeps the form busy for
    // the loop's length, so that a close asked for meanwhile (the close box, a queued
    // call) cannot take the form down under it: Close then only notes the request,
    // which ClosePending tells the loop, and the EndBusy that ends the last busy span
    // carries the close out through the dispatcher. That close may free the form, so
    // nothing may touch the form after that EndBusy. ui::BusyScope pairs the two.
    void BeginBusy() { ++busy_; }
    void EndBusy();
    bool Busy() const { return busy_ > 0; }
    bool ClosePending() const { return close_pending_; }
    // Notes a close that must wait: the end of the outermost event carries it out
    // (TApplication::CarryOutWaitingCloses), or EndBusy when the form is busy then.
    void CloseLater() { close_pending_ = true; }

    // Creates the components of a layout text (nested `object Name: TClass ... end`
    // blocks) as children of this form, binding `OnEvent = Handler` lines to the
    // handlers registered by name. The file name is used in error messages.
    void LoadLayout(std::string_view file_name, std::string_view text, const ui::HandlerTable& handlers);

    TNotifyEvent OnCreate;
    TNotifyEvent OnPaint;
    TCloseEvent OnClose;

    // A control of this form is going away.
    void ControlGone(TControl* control);

    bool SetLayoutProperty(std::string_view name, const ui::LayoutValue& value) override;
    ui::EventSlot LayoutEvent(std::string_view name) override;

protected:
    bool HasCaption() const override { return true; }

private:
    friend class TApplication;
    int client_width_ = 0, client_height_ = 0;
    TPosition position_ = poDesigned;
    TFormBorderStyle border_style_ = bsSizeable;
    TBorderIcons border_icons_ = biSystemMenu | biMinimize | biMaximize;
    TFormStyle form_style_ = fsNormal;
    TWinControl* active_ = nullptr;
    TControl* hovered_ = nullptr;
    int busy_ = 0;
    bool close_pending_ = false;
};

namespace ui {

// Keeps a form busy (TForm::BeginBusy) for one scope; declare it first in a handler,
// since a close that waited runs when it ends.
class BusyScope {
public:
    explicit BusyScope(TForm& form) : form_(form) { form_.BeginBusy(); }
    ~BusyScope() { form_.EndBusy(); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    TForm& form_;
};

}  // namespace ui

class TApplication : public TComponent {
public:
    static constexpr const char* kClass = "TApplication";
    TApplication();
    // Deletes the forms, the last created first.
    ~TApplication() override;
    std::string ClassName() const override { return kClass; }

    void Initialize() {}
    bool MainFormOnTaskBar() const { return main_form_on_task_bar_; }
    void SetMainFormOnTaskBar(bool v) { main_form_on_task_bar_ = v; }

    // Constructs a T owned by the application into reference (set before the
    // constructor runs, as null again when it throws, which propagates), then runs
    // its OnCreate through the dispatcher. The first form created is the main form.
    template <class T>
    void CreateForm(T*& reference);
    TForm* MainForm() const { return main_form_; }
    const std::vector<TForm*>& Forms() const { return forms_; }

    // Shows the main form and runs the backend's loop until Terminate.
    void Run();
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    // Lets waiting user input through (the backend's), runs the calls queued from
    // worker threads, then the timers that are due, each through the dispatcher.
    void ProcessMessages();
    // The error box.
    void ShowException(const std::exception& e);

    // ---- Clock and timers ----
    // Milliseconds since the application started, or the manual clock.
    std::int64_t NowMs() const;
    // Tests: time stands still until AdvanceClock.
    void UseManualClock(std::int64_t start_ms = 0);
    bool UsesManualClock() const { return manual_clock_; }
    // Moves the manual clock on, firing every timer occurrence that falls due on the
    // way, in time order, with the clock at that time.
    void AdvanceClock(std::int64_t ms);
    // When the next timer falls due, if any is running.
    std::optional<std::int64_t> NextTimerDue() const;
    // The user-interface thread sleeps: nothing is dispatched meanwhile. On the manual
    // clock the time moves on at once and no timer fires; those that fell due fire at
    // the next ProcessMessages, as they would after a real sleep.
    void Sleep(unsigned milliseconds);

    // ---- Backend ----
    // The desktop backend installs itself here; without one the application has its
    // own headless backend.
    ui::Backend& Backend() const;
    void SetBackend(ui::Backend* backend) { backend_ = backend; }

    // Forms that closed with caFree wait for the end of the current event.
    void ReleaseForm(TForm* form);
    void FreeReleasedForms();
    // Closes, through the dispatcher, the forms whose close waited (CloseLater) and
    // that are not busy; called when the outermost event ends.
    void CarryOutWaitingCloses();

private:
    friend class TTimer;
    friend class TForm;
    struct TimerEntry {
        TTimer* timer;
        std::int64_t due;
        std::uint64_t order;
    };
    void ArmTimer(TTimer* timer);
    void DisarmTimer(TTimer* timer);
    void FireDueTimers(std::int64_t until, bool every_occurrence);
    void RunQueuedCalls();
    void FormCreated(TForm* form);
    void FormGone(TForm* form);

    bool main_form_on_task_bar_ = false;
    TForm* main_form_ = nullptr;
    std::vector<TForm*> forms_;
    std::vector<TForm*> released_;
    bool terminated_ = false;
    bool manual_clock_ = false;
    std::int64_t manual_now_ = 0;
    std::int64_t start_ticks_;
    std::vector<TimerEntry> timers_;
    std::uint64_t timer_order_ = 0;
    ui::Backend* backend_ = nullptr;
    std::unique_ptr<ui::Backend> own_backend_;
};

// The application of the program; tests put their own in place with
// ui::ApplicationScope.
extern TApplication* Application;

template <class T>
void TApplication::CreateForm(T*& reference) {
    static_assert(std::is_base_of_v<TForm, T>, "CreateForm makes forms");
    void* memory = ::operator new(sizeof(T));
    reference = static_cast<T*>(memory);
    T* form = nullptr;
    try {
        form = new (memory) T(this);
    } catch (...) {
        reference = nullptr;
        ::operator delete(memory);
        throw;
    }
    FormCreated(form);
}

// A modal box with the text and one OK button.
void ShowMessage(const std::string& text);
// The notice box: modal, one OK button.
void ShowNotice(const std::string& text);
