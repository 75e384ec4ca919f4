#include "platform/ui/forms.h"

#include <algorithm>
#include <chrono>

#include "platform/os/main_thread_queue.h"
#include "platform/os/thread.h"
#include "platform/ui/controls.h"
#include "platform/ui/headless.h"
#include "platform/ui/layout.h"

using ui::LayoutValue;

// ---- Dispatcher -----------------------------------------------------------------------

namespace ui {
namespace {

int& Depth() {
    static int depth = 0;
    return depth;
}

// The class library leaves no control focused that can no longer take the keys: the
// focus of a control that its event left disabled or hidden goes to none.
void DropFocusThatCannotStay(TApplication& app) {
    for (TForm* form : app.Forms())
        if (TWinControl* active = form->ActiveControl(); active && !active->CanFocus()) form->SetActiveControl(nullptr);
}

}  // namespace

int DispatchDepth() { return Depth(); }

void PaintNow() {
    if (Application) Application->Backend().PaintNow();
}

bool Dispatch(const std::function<void()>& call) {
    ++Depth();
    bool failed = false;
    std::string message;
    try {
        call();
    } catch (const std::exception& e) {
        failed = true;
        message = e.what();
    } catch (...) {
        failed = true;
    }
    --Depth();

    // A control that a handler disabled for its run comes back through its busy guard
    // (ui::ScopedDisable) on every way out; one the program disabled on purpose (a
    // lock) stays disabled, an error included.
    TApplication* app = Application;
    if (failed && app) {
        for (TForm* form : app->Forms()) form->SetCursor(crDefault);
        app->ShowException(Exception(message));
    }
    if (app) {
        // Only the outermost event: a control disabled for a run keeps the focus
        // while the run's boxes and timers come and go, and has it again after.
        if (Depth() == 0) DropFocusThatCannotStay(*app);
        app->Backend().Refresh();
        if (Depth() == 0) {
            app->FreeReleasedForms();
            app->CarryOutWaitingCloses();
        }
    }
    return !failed;
}

std::string_view BoxKindName(BoxKind kind) {
    switch (kind) {
        case BoxKind::Message: return "message";
        case BoxKind::Notice: return "notice";
        case BoxKind::Error: return "error";
    }
    return "box";
}

}  // namespace ui

// ---- TForm ----------------------------------------------------------------------------

TForm::TForm(TComponent* owner) : TWinControl(owner) {
    SetVisible(false);
    SetBounds(0, 0, 640, 480);
    client_width_ = 624;
    client_height_ = 441;
}

TForm::~TForm() {
    // The components go while the form is still whole.
    DestroyComponents();
    if (auto* app = dynamic_cast<TApplication*>(Owner())) app->FormGone(this);
}

void TForm::ControlGone(TControl* control) {
    auto within = [control](const TControl* c) {
        for (; c; c = c->Parent())
            if (c == control) return true;
        return false;
    };
    if (within(active_)) active_ = nullptr;
    if (within(hovered_)) hovered_ = nullptr;
}

void TForm::Close() {
    if (busy_ > 0) {
        close_pending_ = true;
        return;
    }
    TCloseAction action = caHide;
    if (OnClose) OnClose(this, action);
    if (action == caNone) return;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    if (action == caFree && Application) Application->ReleaseForm(this);
    else Hide();
}

void TForm::EndBusy() {
    if (busy_ == 0 || --busy_ > 0 || !close_pending_) return;
    close_pending_ = false;
    // Called from destructors too, so what the close throws is shown, not raised.
    ui::Dispatch([this] { Close(); });
}

void TForm::LoadLayout(std::string_view file_name, std::string_view text, const ui::HandlerTable& handlers) {
    ui::LoadLayout(*this, file_name, text, handlers);
}

bool TForm::SetLayoutProperty(std::string_view name, const LayoutValue& v) {
    if (name == "Position")
        SetPosition(ui::AsEnum<TPosition>(v, name,
                                          {{"poDesigned", poDesigned},
                                           {"poDefault", poDefault},
                                           {"poScreenCenter", poScreenCenter},
                                           {"poDesktopCenter", poDesktopCenter},
                                           {"poMainFormCenter", poMainFormCenter}}));
    else if (name == "BorderStyle")
        SetBorderStyle(ui::AsEnum<TFormBorderStyle>(v, name,
                                                    {{"bsNone", bsNone},
                                                     {"bsSingle", bsSingle},
                                                     {"bsSizeable", bsSizeable},
                                                     {"bsDialog", bsDialog},
                                                     {"bsToolWindow", bsToolWindow},
                                                     {"bsSizeToolWin", bsSizeToolWin}}));
    else if (name == "BorderIcons")
        SetBorderIcons(ui::AsFlags(v, name,
                                   {{"biSystemMenu", biSystemMenu},
                                    {"biMinimize", biMinimize},
                                    {"biMaximize", biMaximize},
                                    {"biHelp", biHelp}}));
    else if (name == "FormStyle")
        SetFormStyle(ui::AsEnum<TFormStyle>(
            v, name,
            {{"fsNormal", fsNormal}, {"fsMDIChild", fsMDIChild}, {"fsMDIForm", fsMDIForm}, {"fsStayOnTop", fsStayOnTop}}));
    else return TWinControl::SetLayoutProperty(name, v);
    return true;
}

ui::EventSlot TForm::LayoutEvent(std::string_view name) {
    if (name == "OnCreate") return &OnCreate;
    if (name == "OnPaint") return &OnPaint;
    if (name == "OnClose") return &OnClose;
    return TWinControl::LayoutEvent(name);
}

// ---- TApplication -----------------------------------------------------------------------

namespace {

std::int64_t SteadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Never destroyed: when a library ends the program with exit(), static teardown must
// not reach the forms, whose contexts and windows belong to libraries that may already
// have shut down. The program takes its forms down itself on its way out.
TApplication& DefaultApplication() {
    static TApplication* app = new TApplication;
    return *app;
}

}  // namespace

TApplication* Application = &DefaultApplication();

TApplication::TApplication() : TComponent(nullptr), start_ticks_(SteadyMs()) {}

TApplication::~TApplication() {
    // The forms go first, while the timers and the backend they use still stand.
    DestroyComponents();
}

ui::Backend& TApplication::Backend() const {
    if (backend_) return *backend_;
    auto* self = const_cast<TApplication*>(this);
    if (!self->own_backend_) self->own_backend_ = std::make_unique<ui::HeadlessBackend>();
    return *self->own_backend_;
}

void TApplication::FormGone(TForm* form) {
    std::erase(forms_, form);
    std::erase(released_, form);
    if (main_form_ == form) main_form_ = nullptr;
}

void TApplication::FormCreated(TForm* form) {
    forms_.push_back(form);
    if (!main_form_) main_form_ = form;
    ui::Dispatch([form] {
        if (form->OnCreate) form->OnCreate(form);
    });
}

void TApplication::Run() {
    if (!main_form_ || terminated_) return;
    main_form_->Show();
    Backend().Refresh();
    Backend().RunLoop(*this);
}

void TApplication::RunQueuedCalls() {
    // A call that throws is shown; the calls after it still run in this pass.
    int attempts = os::QueuedCallCount();
    while (!ui::Dispatch([] { os::RunQueuedCalls(); }) && --attempts > 0 && os::QueuedCallCount() > 0) {
    }
}

void TApplication::ProcessMessages() {
    Backend().DispatchPendingInput();
    RunQueuedCalls();
    FireDueTimers(NowMs(), manual_clock_);
    if (ui::DispatchDepth() == 0) FreeReleasedForms();
}

void TApplication::ShowException(const std::exception& e) { Backend().ShowBox(ui::BoxKind::Error, e.what()); }

std::int64_t TApplication::NowMs() const { return manual_clock_ ? manual_now_ : SteadyMs() - start_ticks_; }

void TApplication::UseManualClock(std::int64_t start_ms) {
    // Running timers keep their remaining time.
    const std::int64_t now = NowMs();
    manual_clock_ = true;
    manual_now_ = start_ms;
    for (auto& entry : timers_) entry.due = entry.due - now + start_ms;
}

void TApplication::AdvanceClock(std::int64_t ms) {
    if (!manual_clock_) throw Exception("AdvanceClock needs the manual clock");
    const std::int64_t target = manual_now_ + std::max<std::int64_t>(ms, 0);
    FireDueTimers(target, true);
    manual_now_ = std::max(manual_now_, target);
}

void TApplication::Sleep(unsigned milliseconds) {
    if (manual_clock_) {
        manual_now_ += milliseconds;
        return;
    }
    TThread::Sleep(milliseconds);
}

std::optional<std::int64_t> TApplication::NextTimerDue() const {
    std::optional<std::int64_t> next;
    for (const auto& entry : timers_)
        if (!next || entry.due < *next) next = entry.due;
    return next;
}

void TApplication::ArmTimer(TTimer* timer) {
    const std::int64_t due = NowMs() + timer->Interval();
    for (auto& entry : timers_)
        if (entry.timer == timer) {
            entry.due = due;
            return;
        }
    timers_.push_back({timer, due, timer_order_++});
}

void TApplication::DisarmTimer(TTimer* timer) {
    std::erase_if(timers_, [timer](const TimerEntry& e) { return e.timer == timer; });
}

void TApplication::FireDueTimers(std::int64_t until, bool every_occurrence) {
    // Each pass looks afresh: a handler may stop, start or delete timers.
    std::vector<TTimer*> fired;
    while (true) {
        TimerEntry* next = nullptr;
        for (auto& entry : timers_) {
            if (entry.due > until) continue;
            if (!every_occurrence && std::find(fired.begin(), fired.end(), entry.timer) != fired.end()) continue;
            if (!next || entry.due < next->due || (entry.due == next->due && entry.order < next->order))
                next = &entry;
        }
        if (!next) return;
        TTimer* timer = next->timer;
        if (manual_clock_) manual_now_ = std::max(manual_now_, next->due);
        next->due = (every_occurrence ? next->due : NowMs()) + timer->Interval();
        fired.push_back(timer);
        ui::Dispatch([timer] {
            if (timer->OnTimer) timer->OnTimer(timer);
        });
    }
}

void TApplication::ReleaseForm(TForm* form) {
    if (std::find(released_.begin(), released_.end(), form) == released_.end()) released_.push_back(form);
}

void TApplication::CarryOutWaitingCloses() {
    // A close may free forms or open boxes: the list is looked at afresh each time.
    for (bool again = true; again;) {
        again = false;
        for (TForm* form : forms_) {
            if (!form->close_pending_ || form->Busy()) continue;
            form->close_pending_ = false;
            ui::Dispatch([form] { form->Close(); });
            again = true;
            break;
        }
    }
}

void TApplication::FreeReleasedForms() {
    while (!released_.empty()) {
        TForm* form = released_.back();
        released_.pop_back();
        delete form;  // the form takes itself off the lists
    }
}

// ---- Dialogs ------------------------------------------------------------------------------

void ShowMessage(const std::string& text) { Application->Backend().ShowBox(ui::BoxKind::Message, text); }

void ShowNotice(const std::string& text) { Application->Backend().ShowBox(ui::BoxKind::Notice, text); }
