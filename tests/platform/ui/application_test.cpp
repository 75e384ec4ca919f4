// The application object: form creation, the dispatcher, timers (also while a modal
// box is open), queued calls, the loop, and the dialogs of the headless backend.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "platform/os/main_thread_queue.h"
#include "platform/ui/scoped_disable.h"
#include "platform/ui/ui.h"

namespace {

using Box = ui::HeadlessBackend::Box;

std::vector<std::string>* creation_log = nullptr;

class LoggingForm : public TForm {
public:
    static inline LoggingForm* global = nullptr;
    explicit LoggingForm(TComponent* owner) : TForm(owner) {
        creation_log->push_back(global == this ? "constructor sees the reference" : "reference not set");
        OnCreate = [](TObject*) { creation_log->push_back("OnCreate"); };
        creation_log->push_back("constructor done");
    }
};

class FailingForm : public TForm {
public:
    explicit FailingForm(TComponent* owner) : TForm(owner) { throw Exception("no service"); }
};

struct App {
    ui::ApplicationScope scope;
    ui::HeadlessBackend& headless = scope.Headless();
    TForm* form = nullptr;
    App() {
        headless.SetEcho(false);
        Application->CreateForm(form);
    }
};

TEST(Application, CreateFormRunsTheConstructorThenOnCreate) {
    ui::ApplicationScope scope;
    std::vector<std::string> log;
    creation_log = &log;
    Application->CreateForm(LoggingForm::global);
    EXPECT_EQ(log, (std::vector<std::string>{"constructor sees the reference", "constructor done", "OnCreate"}));
    EXPECT_EQ(Application->MainForm(), LoggingForm::global);

    FailingForm* failing = nullptr;
    EXPECT_THROW(Application->CreateForm(failing), Exception);
    EXPECT_EQ(failing, nullptr);
    EXPECT_EQ(Application->Forms().size(), 1u);
    EXPECT_EQ(Application->MainForm(), LoggingForm::global) << "the first form stays the main form";
    creation_log = nullptr;
    LoggingForm::global = nullptr;
}

TEST(Dispatcher, AnExceptionIsShownOnceTheCursorIsTheArrowAndTheApplicationGoesOn) {
    App app;
    auto* button = new TButton(app.form);
    button->SetParent(app.form);
    auto* page = new TGroupBox(app.form);
    page->SetParent(app.form);
    auto* already_off = new TEdit(app.form);
    already_off->SetParent(app.form);
    already_off->SetEnabled(false);
    auto* locked = new TComboBox(app.form);
    locked->SetParent(app.form);
    auto* edit = new TEdit(app.form);
    edit->SetParent(page);

    int runs = 0;
    edit->OnChange = [&](TObject*) { throw EConvertError("'x' is not a valid integer value"); };
    button->OnClick = [&](TObject*) {
        ++runs;
        app.form->SetCursor(crHourGlass);
        // The program's own lock, meant to outlive the event, then the busy guards of
        // the run.
        locked->SetEnabled(false);
        const ui::ScopedDisable busy_page(page);
        const ui::ScopedDisable busy_button(button);
        edit->SetText("x");  // the change handler throws: the rest of this handler does not run
        locked->SetEnabled(true);
        app.form->SetCursor(crDefault);
        ++runs;
    };

    ui::UserClick(button);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(app.headless.Boxes(), (std::vector<Box>{{ui::BoxKind::Error, "'x' is not a valid integer value"}}));
    EXPECT_TRUE(ui::IsArrowCursor(app.form->Cursor()));
    EXPECT_TRUE(page->Enabled());
    EXPECT_TRUE(button->Enabled());
    EXPECT_FALSE(locked->Enabled()) << "a lock the program set outlives the error";
    EXPECT_FALSE(already_off->Enabled());

    edit->OnChange = nullptr;
    ui::UserClick(button);
    EXPECT_EQ(runs, 3) << "the application keeps running";
    EXPECT_EQ(app.headless.Boxes().size(), 1u);
    EXPECT_TRUE(locked->Enabled());
}

TEST(Dispatcher, TheFocusStaysWithAControlItsEventEnablesAgainAndElseGoesToNone) {
    App app;
    auto* page = new TGroupBox(app.form);
    page->SetParent(app.form);
    auto* first = new TEdit(app.form);
    first->SetParent(page);
    auto* second = new TEdit(app.form);
    second->SetParent(page);
    auto* third = new TEdit(app.form);
    third->SetParent(page);
    ui::UserFocus(second);
    ASSERT_EQ(app.form->ActiveControl(), second);

    // Disabled for a run, with an event in between (a timer while a box is open), then
    // enabled: the focus never left it, and Tab goes on from it.
    TWinControl* during_nested = nullptr;
    ui::Dispatch([&] {
        const ui::ScopedDisable busy(second);
        ui::Dispatch([&] {});
        during_nested = app.form->ActiveControl();
    });
    EXPECT_EQ(during_nested, second);
    EXPECT_EQ(app.form->ActiveControl(), second);
    EXPECT_EQ(ui::UserTab(app.form), third);

    // Left disabled, hidden, or inside a container left disabled: no control has it.
    struct Case {
        const char* name;
        std::function<void()> act, undo;
    };
    const Case cases[] = {
        {"disabled", [&] { third->SetEnabled(false); }, [&] { third->SetEnabled(true); }},
        {"hidden", [&] { third->Hide(); }, [&] { third->Show(); }},
        {"its page disabled", [&] { page->SetEnabled(false); }, [&] { page->SetEnabled(true); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui::UserFocus(third);
        ASSERT_EQ(app.form->ActiveControl(), third);
        ui::Dispatch(c.act);
        EXPECT_EQ(app.form->ActiveControl(), nullptr);
        c.undo();
    }
    third->SetEnabled(false);
    EXPECT_EQ(ui::UserTab(app.form), first) << "from none, Tab starts at the first control that takes it";
    EXPECT_EQ(app.headless.Boxes(), std::vector<Box>{});
}

TEST(Dispatcher, WhatIsThrownGivesTheMessage) {
    struct ThrowCase {
        std::function<void()> raise;
        const char* message;
    };
    const ThrowCase cases[] = {
        {[] { throw Exception("[Error] Check the connection(Port: 80,8080,8081)!"); },
         "[Error] Check the connection(Port: 80,8080,8081)!"},
        {[] { throw std::runtime_error("bad"); }, "bad"},
        {[] { throw 42; }, ""},
    };
    for (const auto& c : cases) {
        App app;
        EXPECT_FALSE(ui::Dispatch(c.raise));
        EXPECT_EQ(app.headless.Boxes(), (std::vector<Box>{{ui::BoxKind::Error, c.message}}));
    }
    App app;
    EXPECT_TRUE(ui::Dispatch([] {}));
    EXPECT_TRUE(app.headless.Boxes().empty());
}

TEST(Timers, FireEveryIntervalWhileEnabledInTimeOrder) {
    App app;
    std::vector<std::string> log;
    auto* blink = new TTimer(app.form);
    blink->SetEnabled(false);
    blink->SetInterval(600);
    auto* fast = new TTimer(app.form);
    fast->SetInterval(250);
    blink->OnTimer = [&](TObject*) { log.push_back("blink@" + std::to_string(Application->NowMs())); };
    fast->OnTimer = [&](TObject*) {
        log.push_back("fast@" + std::to_string(Application->NowMs()));
        if (Application->NowMs() >= 500) fast->SetEnabled(false);
    };

    Application->AdvanceClock(100);
    blink->SetEnabled(true);  // counts from 100
    Application->AdvanceClock(1400);
    EXPECT_EQ(log, (std::vector<std::string>{"fast@250", "fast@500", "blink@700", "blink@1300"}));
    EXPECT_EQ(Application->NowMs(), 1500);
    EXPECT_EQ(Application->NextTimerDue(), 1900);

    log.clear();
    blink->SetInterval(100);  // restarts the count
    Application->ProcessMessages();
    EXPECT_TRUE(log.empty()) << "nothing is due yet";
    Application->AdvanceClock(100);
    EXPECT_EQ(log, (std::vector<std::string>{"blink@1600"}));
    blink->SetEnabled(false);
    EXPECT_EQ(Application->NextTimerDue(), std::nullopt);
}

TEST(Timers, ASleepingUiThreadFiresNothingUntilItProcessesMessagesAgain) {
    App app;
    std::vector<std::int64_t> ticks;
    auto* timer = new TTimer(app.form);
    timer->SetInterval(100);
    timer->OnTimer = [&](TObject*) { ticks.push_back(Application->NowMs()); };
    Application->Sleep(250);
    EXPECT_EQ(Application->NowMs(), 250);
    EXPECT_TRUE(ticks.empty());
    Application->ProcessMessages();
    EXPECT_EQ(ticks, (std::vector<std::int64_t>{250, 250})) << "both occurrences, late";
    EXPECT_EQ(Application->NextTimerDue(), 300);
}

TEST(Timers, AThrowingHandlerIsShownAndTheTimerKeepsRunning) {
    App app;
    auto* timer = new TTimer(app.form);
    timer->SetInterval(600);
    int ticks = 0;
    timer->OnTimer = [&](TObject*) {
        ++ticks;
        throw Exception("tick failed");
    };
    Application->AdvanceClock(1200);
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(app.headless.Boxes().size(), 2u);
}

TEST(Timers, ATimerDeletedByAnotherHandlerNeverFiresAgain) {
    App app;
    auto* first = new TTimer(app.form);
    auto* second = new TTimer(app.form);
    first->SetInterval(10);
    second->SetInterval(10);  // due at the same time, after the first
    int second_ticks = 0;
    first->OnTimer = [&](TObject*) {
        delete second;
        second = nullptr;
    };
    second->OnTimer = [&](TObject*) { ++second_ticks; };
    Application->AdvanceClock(100);
    EXPECT_EQ(second_ticks, 0);
    EXPECT_EQ(Application->NextTimerDue(), 110);
}

TEST(Timers, KeepFiringWhileAModalBoxIsOpen) {
    App app;
    app.headless.SetBoxOpenTime(1300);
    std::vector<std::string> log;
    auto* lamp = new TTimer(app.form);
    lamp->SetInterval(600);
    lamp->OnTimer = [&](TObject*) { log.push_back("blink@" + std::to_string(Application->NowMs())); };
    app.headless.SetWhileBoxOpen([&](const Box& box) { log.push_back("open: " + box.text); });
    auto* run = new TButton(app.form);
    run->SetParent(app.form);
    run->OnClick = [&](TObject*) {
        log.push_back("run");
        ShowMessage("Select a thinner core plate!");
        log.push_back("box closed");
    };
    ui::UserClick(run);
    EXPECT_EQ(log, (std::vector<std::string>{"run", "open: Select a thinner core plate!", "blink@600", "blink@1200",
                                             "box closed"}));
}

TEST(Timers, ATimerThatOpensABoxEveryTickDoesNotOpenBoxesWithoutEnd) {
    App app;
    app.headless.SetBoxOpenTime(1000);
    auto* timer = new TTimer(app.form);
    timer->SetInterval(100);
    timer->OnTimer = [](TObject*) { ShowMessage("tick"); };
    Application->AdvanceClock(100);
    EXPECT_GE(app.headless.Boxes().size(), 8u);
    EXPECT_LT(app.headless.Boxes().size(), 200u);
}

TEST(QueuedCalls, RunOnTheNextProcessMessagesAndAFailureIsShownOnce) {
    App app;
    auto owner = std::make_shared<int>(0);
    std::vector<std::string> log;
    std::thread worker([&] {
        os::QueueCall(owner, [&] { log.push_back("first"); });
        os::QueueCall(owner, [] { throw Exception("queued call failed"); });
        os::QueueCall(owner, [&] { log.push_back("third"); });
    });
    worker.join();
    EXPECT_TRUE(log.empty());
    Application->ProcessMessages();
    EXPECT_EQ(log, (std::vector<std::string>{"first", "third"}));
    EXPECT_EQ(app.headless.Boxes(), (std::vector<Box>{{ui::BoxKind::Error, "queued call failed"}}));
    EXPECT_EQ(os::QueuedCallCount(), 0);
}

TEST(Loop, RunEndsWhenTheMainFormClosesAndCaNoneKeepsItOpen) {
    App app;
    std::vector<std::string> log;
    int closes = 0;
    app.form->OnClose = [&](TObject*, TCloseAction& action) {
        EXPECT_EQ(action, caHide);
        log.push_back("OnClose");
        if (++closes == 1) action = caNone;
        else action = caFree;
    };
    auto owner = std::make_shared<int>(0);
    // The first close is refused; a timer then closes again.
    os::QueueCall(owner, [&] { ui::UserClose(app.form); });
    auto* later = new TTimer(app.form);
    later->SetInterval(5000);
    later->OnTimer = [&](TObject*) {
        log.push_back("timer");
        app.form->Close();
    };
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(app.form->Visible());
    EXPECT_EQ(log, (std::vector<std::string>{"OnClose", "timer", "OnClose"}));
    EXPECT_EQ(Application->MainForm(), app.form) << "the main form lives until the application goes";
}

TEST(Dialogs, BoxesAreRecordedInOrderAndTheOpenDialogIsAnsweredFromTheScript) {
    App app;
    ShowMessage("C:/work/batch.xlsx");
    ShowNotice("A newer client is available.");
    Application->ShowException(Exception("List index out of bounds (-1)"));
    EXPECT_EQ(app.headless.TakeBoxes(), (std::vector<Box>{{ui::BoxKind::Message, "C:/work/batch.xlsx"},
                                                          {ui::BoxKind::Notice, "A newer client is available."},
                                                          {ui::BoxKind::Error, "List index out of bounds (-1)"}}));
    EXPECT_TRUE(app.headless.Boxes().empty());

    TOpenDialog dialog(nullptr);
    dialog.SetFilter("Workbooks (*.xlsx)|*.xlsx");
    app.headless.QueueFileAnswer("/tmp/cases.xlsx");
    app.headless.QueueFileAnswer(std::nullopt);
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), "/tmp/cases.xlsx");
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), "/tmp/cases.xlsx") << "a cancel keeps the name";
    EXPECT_FALSE(dialog.Execute()) << "no answer left: cancelled";
    ASSERT_EQ(app.headless.FileRequests().size(), 3u);
    EXPECT_EQ(app.headless.FileRequests()[0].filter, "Workbooks (*.xlsx)|*.xlsx");
    EXPECT_EQ(app.headless.FileRequests()[1].file_name, "/tmp/cases.xlsx");
}

TEST(Colours, SystemColoursHaveFixedValuesAndOthersAreRedInTheLowByte) {
    struct ColourCase {
        TColor color;
        ui::Rgb rgb;
    };
    for (const ColourCase& c : {ColourCase{clRed, {255, 0, 0}}, ColourCase{clMaroon, {128, 0, 0}},
                                ColourCase{clCream, {255, 251, 240}}, ColourCase{11372551, {7, 136, 173}},
                                ColourCase{clLime, {0, 255, 0}}, ColourCase{clBtnFace, {240, 240, 240}},
                                ColourCase{clActiveBorder, {180, 180, 180}}, ColourCase{clWindowText, {0, 0, 0}},
                                ColourCase{SystemColor(200), {0, 0, 0}}})
        EXPECT_EQ(ui::ColorToRgb(c.color), c.rgb) << c.color;
    EXPECT_EQ(ui::ColorFromName("clMaroon"), clMaroon);
    EXPECT_EQ(ui::ColorFromName("clNotAColour"), std::nullopt);

    TFont font;
    for (auto [height, size] : {std::pair{-13, 10}, std::pair{-11, 8}, std::pair{-16, 12}, std::pair{-19, 14}}) {
        font.SetHeight(height);
        EXPECT_EQ(font.Size, size) << height;
        EXPECT_EQ(font.Height(), height) << size;
    }
}

TEST(Controls, ParentFontIsTakenWhenPlacedAndParentColourIsFollowed) {
    ui::ApplicationScope scope;
    TForm form(nullptr);
    form.Font().Name = "Arial Black";
    form.Font().Color = clCream;
    form.SetColor(11372551);
    TPanel panel(nullptr);
    panel.SetParent(&form);
    panel.Font().Size = 14;
    TLabel label(nullptr);
    label.SetParent(&panel);
    EXPECT_EQ(label.Font().Name, "Arial Black");
    EXPECT_EQ(label.Font().Size, 14);
    EXPECT_EQ(form.Font().Size, 8);
    label.Font().Color = clMaroon;
    EXPECT_EQ(panel.Font().Color, clCream);
    label.SetParentFont(true);
    EXPECT_EQ(label.Font().Color, clCream);
    panel.SetColor(clRed);
    EXPECT_EQ(label.Color(), clRed);
    panel.SetParentBackground(true);
    EXPECT_EQ(ui::EffectiveBackground(&panel), 11372551);
    EXPECT_EQ(ui::EffectiveBackground(&label), 11372551);
    panel.SetParentBackground(false);
    EXPECT_EQ(ui::EffectiveBackground(&label), clRed);
}

TEST(Gauge, ProgressStaysWithinTheRange) {
    ui::ApplicationScope scope;
    TCGauge gauge(nullptr);
    struct ProgressCase {
        int set, progress;
    };
    for (const ProgressCase& c : {ProgressCase{99, 99}, ProgressCase{100, 100}, ProgressCase{140, 100},
                                  ProgressCase{-3, 0}}) {
        gauge.SetProgress(c.set);
        EXPECT_EQ(gauge.Progress(), c.progress) << c.set;
    }
    gauge.SetMinValue(50);
    EXPECT_EQ(gauge.Progress(), 50);
    gauge.SetProgress(75);
    EXPECT_EQ(gauge.PercentDone(), 50);
    gauge.SetMaxValue(50);
    EXPECT_EQ(gauge.PercentDone(), 0) << "an empty range";
}

}  // namespace
