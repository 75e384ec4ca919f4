// An end signal (Ctrl-C, kill, a logout) in the desktop backend closes the main window
// as its close box does, from whichever loop is waiting for the user. Each case runs in
// a child process of its own, forked from the test program, which starts Xvfb but opens
// no display: the signals' handling is the whole process's, and the case ends as the
// signal does.
#include <gtest/gtest.h>

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "platform/os/end_signals.h"
#include "platform/ui/fltk/fltk_backend.h"
#include "platform/ui/ui.h"
#include "xvfb_display.h"

namespace {

constexpr std::string_view kLayout = R"(
object SignalForm: TSignalForm
  Caption = 'Signal test'
  ClientWidth = 320
  ClientHeight = 200
  BorderStyle = bsSingle
  Position = poDesktopCenter
  object Combo_cfg: TComboBox
    Left = 20
    Top = 20
    Width = 150
    Style = csDropDownList
    ItemIndex = 0
    Items.Strings = ('Diagonal' 'Chevron' 'Other')
    OnChange = Changed
  end
end
)";

class TSignalForm : public TForm {
public:
    static constexpr const char* kClass = "TSignalForm";
    std::string ClassName() const override { return kClass; }
    TComboBox* Combo_cfg;
    int closes = 0;
    int changes = 0;

    explicit TSignalForm(TComponent* owner) : TForm(owner) {
        ui::HandlerTable h;
        h.Bind("Changed", this, &TSignalForm::Changed);
        LoadLayout("signal_form.layout", kLayout, h);
        Combo_cfg = FindComponent<TComboBox>("Combo_cfg");
        OnClose = [this](TObject*, TCloseAction&) { ++closes; };
    }

private:
    void Changed(TObject*) { ++changes; }
};

// In the child: a check that fails ends it with status 2 and says why on stderr.
void Require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "not so: %s\n", what);
    std::_Exit(2);
}

// The window up on a private X server, the signals caught as the program catches them.
// A case that hangs ends by SIGALRM, which no case expects.
struct Desktop {
    TApplication app;
    ui::FltkBackend* backend = nullptr;
    TSignalForm* form = nullptr;
    Fl_Window* window = nullptr;

    Desktop() {
        ::alarm(20);
        Require(!ui::OpenDisplay(), "the display opened");
        os::CatchEndSignals();
        Application = &app;
        backend = new ui::FltkBackend(app);  // never freed: the child ends by a signal
        app.CreateForm(form);
        form->Show();
        backend->SyncNow();
        window = backend->WindowFor(form);
        Require(window != nullptr, "the form has a window");
        for (int i = 0; i < 400 && !window->shown(); ++i) backend->RunOnce(0.005);
        Require(window->shown(), "the window is shown");
    }

    // A press on a control as the X server delivers it.
    void Press(const TControl* control) {
        Fl_Widget* widget = backend->WidgetFor(control);
        Fl::e_x = widget->x() + widget->w() / 2;
        Fl::e_y = widget->y() + widget->h() / 2;
        Fl::e_x_root = window->x() + Fl::e_x;
        Fl::e_y_root = window->y() + Fl::e_y;
        Fl::e_keysym = FL_Button + FL_LEFT_MOUSE;
        Fl::e_state = FL_BUTTON1;
        Fl::e_clicks = 0;
        Fl::e_is_click = 1;
        Fl::handle(FL_PUSH, window);
    }
};

// Runs the call from the loop after the delay (an FLTK timeout: it runs in every loop
// FLTK runs, a drop-down list's and a box's too).
void After(double seconds, std::function<void()> call) {
    Fl::add_timeout(
        seconds,
        [](void* data) {
            auto* held = static_cast<std::function<void()>*>(data);
            (*held)();
            delete held;
        },
        new std::function<void()>(std::move(call)));
}

class EndSignal : public ::testing::Test {
protected:
    void SetUp() override {
        // A child that ran the program afresh would start an Xvfb of its own, which
        // would hold the death test's pipe open.
        GTEST_FLAG_SET(death_test_style, "fast");
        const std::string why = testing_x::StartXvfb();
        if (!why.empty()) GTEST_SKIP() << why;
    }
};

TEST_F(EndSignal, AnOpenDropDownListClosesChoosingNothingAndTheWindowCloses) {
    EXPECT_EXIT(
        {
            Desktop d;
            bool list_was_open = false;
            After(0.1, [&] { d.Press(d.form->Combo_cfg); });  // returns when the list closes
            After(0.5, [&] {
                list_was_open = Fl::grab() != nullptr;
                ::raise(SIGTERM);
            });
            d.app.Run();
            Require(list_was_open, "the list was open when the signal came");
            Require(Fl::grab() == nullptr, "the list is closed");
            Require(d.form->closes == 1, "the close handler ran once");
            Require(d.form->Combo_cfg->ItemIndex() == 0 && d.form->changes == 0, "the list chose nothing");
            os::EndAsSignalled();
        },
        ::testing::KilledBySignal(SIGTERM), "");
}

TEST_F(EndSignal, AHandlerThatLetsMessagesThroughSeesTheCloseAtItsNextPass) {
    // As the capacity walk does: a run, a message pass, a look at the pending close.
    EXPECT_EXIT(
        {
            Desktop d;
            int passes = 0;
            int closes_during = -1;
            After(0.05, [&] {
                ui::Dispatch([&] {
                    const ui::BusyScope busy(*d.form);
                    for (passes = 1; passes <= 50; ++passes) {
                        if (passes == 3) ::raise(SIGINT);
                        Application->ProcessMessages();
                        if (d.form->ClosePending()) break;
                    }
                    closes_during = d.form->closes;
                });
            });
            d.app.Run();
            Require(passes == 3, "the walk stopped at the pass after the signal");
            Require(closes_during == 0, "the close waited for the handler");
            Require(d.form->closes == 1, "the close handler ran once after it");
            os::EndAsSignalled();
        },
        ::testing::KilledBySignal(SIGINT), "");
}

TEST_F(EndSignal, AnOpenBoxKeepsTheWindowUntilItsOk) {
    // A box that a handler opened, and one opened outside any event (as a box asked
    // for during a paint opens after it).
    for (const bool in_event : {true, false}) {
        SCOPED_TRACE(in_event ? "in an event" : "outside any event");
        EXPECT_EXIT(
            {
                Desktop d;
                int closes_before_ok = -1;
                After(0.05, [&] {
                    if (in_event) ui::Dispatch([] { ShowMessage("Held"); });
                    else d.backend->ShowBox(ui::BoxKind::Message, "Held");
                });
                After(0.3, [] { ::raise(SIGHUP); });
                After(1.0, [&] {
                    closes_before_ok = d.form->closes;
                    Require(d.backend->OpenBox() != nullptr, "the box is still open");
                    d.backend->OpenBox()->hide();  // OK
                });
                d.app.Run();
                Require(closes_before_ok == 0, "the window did not close while its box was open");
                Require(d.form->closes == 1, "the close handler ran once after OK");
                os::EndAsSignalled();
            },
            ::testing::KilledBySignal(SIGHUP), "");
    }
}

}  // namespace
