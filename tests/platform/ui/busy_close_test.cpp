// A close asked for while a form is busy in a loop that lets messages through waits
// for the loop, then proceeds as the close handler says.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "platform/os/main_thread_queue.h"
#include "platform/ui/ui.h"

namespace {

using Box = ui::HeadlessBackend::Box;

struct App {
    ui::ApplicationScope scope;
    ui::HeadlessBackend& headless = scope.Headless();
    TForm* main = nullptr;
    TForm* second = nullptr;
    std::shared_ptr<int> owner = std::make_shared<int>(0);
    App() {
        headless.SetEcho(false);
        Application->CreateForm(main);
        Application->CreateForm(second);
    }
    bool Alive(const TForm* form) const {
        const auto& forms = Application->Forms();
        return std::find(forms.begin(), forms.end(), form) != forms.end();
    }
    void QueueClose(TForm* form) {
        os::QueueCall(owner, [form] { ui::UserClose(form); });
    }
};

// A freed form is the case that matters: the loop reads the form after each pass,
// which AddressSanitizer would catch if the pass had freed it.
TEST(BusyClose, AFreeingCloseDuringALoopWaitsForItsEndAndThenFreesTheForm) {
    App app;
    TForm* form = app.second;
    int closes = 0;
    form->OnClose = [&](TObject*, TCloseAction& action) {
        ++closes;
        action = caFree;
    };
    app.QueueClose(form);
    int steps = 0;
    {
        const ui::BusyScope busy(*form);
        // At dispatch depth 0, where a released form would be freed by the pass.
        for (int i = 0; i < 3 && !form->ClosePending(); ++i) {
            Application->ProcessMessages();
            form->SetCaption("step " + std::to_string(++steps));
        }
        EXPECT_TRUE(form->ClosePending());
        EXPECT_EQ(closes, 0) << "the close handler waits";
        EXPECT_TRUE(app.Alive(form));
    }
    EXPECT_EQ(steps, 1) << "the loop saw the waiting close at its next step";
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(app.Alive(form)) << "freed once the loop was over";
    EXPECT_TRUE(app.Alive(app.main));
}

TEST(BusyClose, TheMainFormEndsTheApplicationOnlyAfterTheOutermostBusySpan) {
    App app;
    int closes = 0;
    app.main->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    app.main->BeginBusy();
    app.main->BeginBusy();
    app.QueueClose(app.main);
    Application->ProcessMessages();
    app.main->EndBusy();
    EXPECT_TRUE(app.main->Busy());
    EXPECT_EQ(closes, 0);
    EXPECT_FALSE(Application->Terminated());
    app.main->EndBusy();
    EXPECT_FALSE(app.main->Busy());
    EXPECT_FALSE(app.main->ClosePending());
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(Application->Terminated());
    app.main->EndBusy();  // one too many changes nothing
    EXPECT_EQ(closes, 1);
}

TEST(BusyClose, TheCloseHandlerStillDecidesAndItsErrorIsShownNotRaised) {
    App app;
    TForm* form = app.second;
    int closes = 0;
    form->OnClose = [&](TObject*, TCloseAction& action) {
        ++closes;
        if (closes == 1) action = caNone;
        if (closes == 2) throw Exception("close failed");
    };
    form->Show();
    for (int round = 0; round < 2; ++round) {
        form->BeginBusy();
        form->Close();
        form->Close();  // asked twice, closed once
        EXPECT_NO_THROW(form->EndBusy());
    }
    EXPECT_EQ(closes, 2);
    EXPECT_TRUE(form->Visible()) << "caNone kept it open; the failed close did nothing";
    EXPECT_FALSE(form->ClosePending());
    EXPECT_EQ(app.headless.Boxes(), (std::vector<Box>{{ui::BoxKind::Error, "close failed"}}));
    form->Close();  // no longer busy: at once
    EXPECT_EQ(closes, 3);
    EXPECT_FALSE(form->Visible());
}

// The close box pressed while a handler's modal box is open: the handler still needs
// the form after its box, so the close waits for the handler's end. Under
// AddressSanitizer the caption written after the box shows that the freed form was
// not freed early.
TEST(BusyClose, ACloseAskedForDuringAHandlersBoxWaitsForTheHandlerToEnd) {
    for (const bool main_form : {false, true}) {
        SCOPED_TRACE(main_form ? "main form" : "second form");
        App app;
        TForm* form = main_form ? app.main : app.second;
        int closes = 0;
        form->OnClose = [&](TObject*, TCloseAction& action) {
            ++closes;
            action = caFree;
        };
        int closes_during_box = -1;
        app.headless.SetWhileBoxOpen([&](const Box&) {
            ui::UserClose(form);
            ui::UserClose(form);  // asked twice, closed once
            closes_during_box = closes;
        });
        int closes_after_box = -1;
        ui::Dispatch([&] {
            ShowMessage("The design service did not answer.");
            closes_after_box = closes;
            form->SetCaption("after the box");
        });
        EXPECT_EQ(closes_during_box, 0);
        EXPECT_EQ(closes_after_box, 0) << "the handler went on with its form";
        EXPECT_EQ(closes, 1);
        EXPECT_EQ(Application->Terminated(), main_form);
        EXPECT_EQ(app.Alive(form), main_form) << "a second form is freed by caFree; the main one ends the loop";
        EXPECT_FALSE(main_form && form->ClosePending());
    }
}

// Outside any event the close box acts at once.
TEST(BusyClose, TheCloseBoxOutsideAnyEventClosesAtOnce) {
    App app;
    int closes = 0;
    app.second->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    app.second->Show();
    ui::UserClose(app.second);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(app.second->Visible());
    EXPECT_FALSE(app.second->ClosePending());
}

}  // namespace
