// The design run against the local service: the lamp and its blink, timing and
// response bars, runs that read no fresh result, a run before any result, errors on
// the way, report runs, and what the advisories read.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "core/design_run/run_fixture.h"
#include "platform/os/clock.h"

namespace {

using namespace design_run_tests;
using testing_support::ConnectionBox;
using testing_support::ErrorBox;
using testing_support::FormEnvironment;
using Box = ui::HeadlessBackend::Box;

const std::string kStiffness =
    "The effective axial stiffness you specified does not match the BRB yield strength very well. You may want to "
    "enter a different axial stiffness or yield strength.";

std::vector<bool> BarsDark(const DOVEREForm& f) {
    std::vector<bool> dark;
    for (const TPanel* p : f.SignalPanels) dark.push_back(p->ParentBackground());
    return dark;
}

class DesignRun : public ::testing::Test {
protected:
    void SetUp() override {
        form = env.Create();
        ASSERT_NE(form, nullptr);
        env.Headless().TakeBoxes();
        env.Service().ClearRequestTargets();
    }
    void TearDown() override { os::UseRealClock(); }

    FormEnvironment env;
    DOVEREForm* form = nullptr;
};

TEST_F(DesignRun, TheFirstDesignLightsDone) {
    EXPECT_TRUE(form->HaveResult);
    EXPECT_EQ(LampOf(*form), kDone);
    EXPECT_FALSE(form->Timer_Run_ZORV->Enabled());
    EXPECT_TRUE(ui::IsArrowCursor(form->Cursor()));
    EXPECT_TRUE(form->Button_Refresh->Enabled());
    EXPECT_EQ(form->UrlTail, form->RequestText);
}

TEST_F(DesignRun, TheLampShowsRunWhileTheRunWorksAndTheRunIsTimed) {
    os::SetTestClockMs(10000);
    std::optional<Lamp> during;
    env.Headless().SetWhileBoxOpen([&](const Box&) {
        if (!during) during = LampOf(*form);
        os::AdvanceTestClockMs(350);  // the send takes its time
    });
    env.Service().FailNextRequest(ServerError());
    EXPECT_FALSE(form->RunDesign());
    ASSERT_TRUE(during.has_value());
    EXPECT_EQ(*during, kRunning);
    EXPECT_EQ(form->RunTimeMs, 350);
    EXPECT_EQ(form->Label_ZORV_Time->Caption(), "350");
    EXPECT_EQ(BarsDark(*form), (std::vector<bool>{false, false, true, true})) << "two bars up to 500 ms";
    EXPECT_TRUE(LampHidden(*form)) << LampOf(*form) << ": no verdict for inputs that were not designed";
}

TEST_F(DesignRun, FailedChecksBlinkUntilTheNextRun) {
    env.App().UseManualClock();
    json failing = Sample("diagonal-welded");
    failing["DCR_4"] = 1.2;
    env.Service().FailNextRequest(Answer(failing));
    EXPECT_TRUE(form->RunDesign());
    EXPECT_EQ(form->FailedCheckCount, 1);
    EXPECT_EQ(LampOf(*form), kFailedChecks);
    ASSERT_TRUE(form->Timer_Run_ZORV->Enabled());
    EXPECT_EQ(form->Timer_Run_ZORV->Interval(), 600);

    env.App().AdvanceClock(600);
    EXPECT_EQ(form->Panel_RUN->Font().Size, 20);
    EXPECT_FALSE(form->Panel_RUN->ParentBackground()) << "a large NG on red";
    EXPECT_EQ(form->Panel_RUN->Caption(), "NG");
    env.App().AdvanceClock(599);
    EXPECT_EQ(form->Panel_RUN->Font().Size, 20);
    env.App().AdvanceClock(1);
    EXPECT_EQ(form->Panel_RUN->Font().Size, 14);
    EXPECT_TRUE(form->Panel_RUN->ParentBackground());

    // The next run stops the blink; its own result has no failed check.
    EXPECT_TRUE(form->RunDesign());
    EXPECT_FALSE(form->Timer_Run_ZORV->Enabled());
    EXPECT_EQ(LampOf(*form), kDone);
}

TEST_F(DesignRun, AFailedSendKeepsThePreviousResultsAndFinishesTheRun) {
    os::SetTestClockMs(10000);  // a run of no time on the clock, however slow the machine
    const size_t keys = form->ResultObject.size();
    const float lwp = form->BraceValues.L_wp;
    const std::string text_report = form->ReportPaths.TextReport;
    for (TPanel* p : form->SignalPanels) p->SetParentBackground(true);
    form->Button_Refresh->SetEnabled(true);

    // Pending edits: the two fixed lists are committed after the failed send as after
    // any run that passed the input check; the others stay pending.
    struct Pending {
        TEdit* edit;
        const char* text;
        bool committed;
    };
    const Pending pending[] = {
        {form->LabeledEdit_H_col, "4100", true},
        {form->LabeledEdit_L_beam, "5100", true},
        {form->LabeledEdit_d_c_left, "510", true},
        {form->LabeledEdit_d_c_right, "520", true},
        {form->LabeledEdit_d_b_up, "610", true},
        {form->LabeledEdit_d_b_down, "620", true},
        {form->LabeledEdit_Slab_Thickness, "160", true},
        {form->LabeledEdit_Adjust_R_y_c, "1.25", true},
        {form->LabeledEdit_Adjust_Omega_h, "1.35", true},
        {form->LabeledEdit_Adjust_Beta_f, "1.16", true},
        {form->LabeledEdit_Beam_up, "H600x300x12x20", true},
        {form->LabeledEdit_Beam_down, "H588x300x12x20", true},
        {form->LabeledEdit_F_y_b, "0.034", true},
        {form->LabeledEdit_R_y_b, "1.25", true},
        {form->Edit_Keff_req, "12", true},
        {form->Edit_TargetLc, "1800", true},
        {form->Edit_LcToLwp, "0.35", true},
        {form->LabeledEdit_Left_CD, "80", false},
        {form->LabeledEdit_Lower_CD, "60", false},
        {form->LabeledEdit_Lbrb_revised_increment, "5", false},
    };
    for (const Pending& p : pending) {
        p.edit->SetText(p.text);
        ASSERT_EQ(p.edit->Color(), clCream) << p.edit->Name();
    }

    env.Service().FailNextRequest(ServerError());
    EXPECT_FALSE(form->RunDesign());
    EXPECT_EQ(Texts(env.Headless().Boxes(), ui::BoxKind::Error),
              std::vector<std::string>{"[Error] Check the connection(Port: 80,8080,8081)!"});
    EXPECT_EQ(form->ResultObject.size(), keys);
    EXPECT_EQ(form->BraceValues.L_wp, lwp);
    EXPECT_EQ(form->ReportPaths.TextReport, text_report);
    EXPECT_EQ(BarsDark(*form), std::vector<bool>(4, false)) << "a normal run lights its bars after a failed send too";
    EXPECT_TRUE(ui::IsArrowCursor(form->Cursor()));
    for (const Pending& p : pending) {
        SCOPED_TRACE(p.edit->Name());
        EXPECT_EQ(p.edit->Color(), p.committed ? clMaroon : clCream);
        EXPECT_EQ(p.edit->Font().Color, p.committed ? clCream : clMaroon);
    }
}

TEST_F(DesignRun, AdviceFollowsTheFreshResult) {
    const std::string left_stiff =
        "The effective axial stiffness of left BRB  you specified does not match the BRB yield strength very well. "
        "You may want to enter a different axial stiffness or yield strength.";
    const std::string right_short =
        "The energy dissipation section length of right BRB  is shorter than 30% of the BRB work point-to-point "
        "length. You may want to enter a different axial stiffness or yield strength.";
    struct Case {
        const char* name;
        const char* sample;
        const char* cfg;
        const char* ctype;
        int core;  // item of the core type selector
        void (*edit)(json&);
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"none", "diagonal-welded", "Diagonal", "Welded", 0, [](json&) {}, {}},
        {"core plate", "diagonal-welded", "Diagonal", "Welded", 0, [](json& r) { r["t_g"] = 160; },
         {"Select a thinner core plate!"}},
        {"no core plate advice for a flat core", "diagonal-welded", "Diagonal", "Welded", 1,
         [](json& r) { r["t_g"] = 160; }, {}},
        {"beam ratios", "diagonal-welded", "Diagonal", "Welded", 0, [](json& r) { r["L_Beam_Ratio"] = 0.95; },
         {"The lower beam axial load ratio is over 0.9. You may want to enter a stronger beam."}},
        {"Diagonal stiffness", "diagonal-welded", "Diagonal", "Welded", 0, [](json& r) { r["Q_factor"] = 1.6; },
         {kStiffness}},
        {"bolted: no stiffness advice", "diagonal-bolted", "Diagonal", "Bolted", 0,
         [](json& r) { r["Q_factor"] = 2; }, {}},
        // The sides differ: each message names the brace whose values call for it.
        {"Chevron, each brace its own", "chevron-welded", "Chevron", "Welded", 0,
         [](json& r) {
             r["LEFT"]["Q_factor"] = 1.7;
             r["LEFT"]["Alpha_L"] = 0.5;
             r["RIGHT"]["Q_factor"] = 1.2;
             r["RIGHT"]["Alpha_L"] = 0.2;
             r["Q_factor"] = 1.2;  // the top level would say nothing
             r["Alpha_L"] = 0.5;
         },
         {left_stiff, right_short}},
        {"Chevron, both braces too stiff", "chevron-welded", "Chevron", "Welded", 0, [](json&) {}, {kStiffness}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form->CfgText = c.cfg;
        form->CtypeText = c.ctype;
        form->ComboBox_BRB_Type->SetItemIndex(c.core);
        json result = Sample(c.sample);
        c.edit(result);
        env.Service().FailNextRequest(Answer(result));
        EXPECT_TRUE(form->RunDesign());
        EXPECT_EQ(Texts(env.Headless().TakeBoxes(), ui::BoxKind::Message), c.messages);

        // A run that reads no result of its own repeats none of it.
        env.Service().FailNextRequest(ServerError());
        EXPECT_FALSE(form->RunDesign());
        EXPECT_EQ(Texts(env.Headless().TakeBoxes(), ui::BoxKind::Message), std::vector<std::string>{});
    }
}

TEST_F(DesignRun, ARunThatReadsNoFreshResultShowsNoVerdictAndKeepsTheGrids) {
    // Each stop comes as the user meets it, one event, after a DONE and after an NG:
    // the switch or the commit has taken effect, so the old verdict no longer speaks
    // for what the window shows.
    const auto enter = [this](TEdit* edit) {
        return [edit] {
            ui::Dispatch([edit] {
                char key = 13;
                edit->OnKeyPress(edit, key);
            });
        };
    };
    const auto casing = [this] {
        ui::Dispatch([this] {
            form->ComboBox_CASING_TYPE->SetItemIndex(1 - form->ComboBox_CASING_TYPE->ItemIndex());
            form->ComboBox_CASING_TYPE->OnChange(form->ComboBox_CASING_TYPE);
        });
    };
    struct Case {
        const char* name;
        std::vector<std::pair<TEdit*, const char*>> texts;  // typed first, without Enter
        std::function<void()> act;
        std::optional<zorv_service::Fault> fault;  // the service's answer, when asked
        Box box;                                   // the one box the stop shows; its text may go on
        TEdit* committed;                          // an edit that the stop leaves committed
    };
    const Case cases[] = {
        {"the send fails", {{form->LabeledEdit_H_col, "4100"}}, enter(form->LabeledEdit_H_col), ServerError(),
         ConnectionBox(), form->LabeledEdit_H_col},
        {"the reply is unreadable", {{form->LabeledEdit_H_col, "4100"}}, enter(form->LabeledEdit_H_col),
         testing_support::ReplyFault("{\"result\":[{\"DCR_1\":"),
         ErrorBox("The design service answered without a complete result."), form->LabeledEdit_H_col},
        {"a range rule after a casing change", {{form->LabeledEdit_H_col, "50000"}}, casing, std::nullopt,
         testing_support::NoticeBox("Hcol is allowable between 2000mm and 20000mm."), nullptr},
        {"Enter on the slab with a refused height pending",
         {{form->LabeledEdit_H_col, "50000"}, {form->LabeledEdit_Slab_Thickness, "160"}},
         enter(form->LabeledEdit_Slab_Thickness), std::nullopt,
         testing_support::NoticeBox("Hcol is allowable between 2000mm and 20000mm."), form->LabeledEdit_Slab_Thickness},
        {"a beam text", {{form->LabeledEdit_Beam_down, "H594 x 302"}, {form->LabeledEdit_H_col, "4100"}},
         enter(form->LabeledEdit_H_col), std::nullopt,
         {ui::BoxKind::Message, "Lower beam: Invalid Section!"}, form->LabeledEdit_H_col},
        {"a conversion error in the check", {{form->LabeledEdit_R_y_b, "abc"}, {form->LabeledEdit_H_col, "4100"}},
         enter(form->LabeledEdit_H_col), std::nullopt, ErrorBox("'abc' is not a valid floating point value"),
         form->LabeledEdit_H_col},
        {"a conversion error while the request is built",
         {{form->LabeledEdit_Ib_up, "1,2"}, {form->LabeledEdit_H_col, "4100"}}, enter(form->LabeledEdit_H_col),
         std::nullopt, ErrorBox("'1,2' is not a valid floating point value"), form->LabeledEdit_H_col},
    };
    const auto runs = [this] {
        int n = 0;
        for (const std::string& m : env.Methods()) n += m.rfind("RUN_ZORV_PROJECT/", 0) == 0;
        return n;
    };
    for (const Case& c : cases)
        for (bool failing_checks : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (failing_checks ? ", after NG" : ", after DONE"));
            json good = Sample("diagonal-welded");
            if (failing_checks) good["DCR_2"] = 1.1;
            env.Service().FailNextRequest(Answer(good));
            ASSERT_TRUE(form->RunDesign());
            ASSERT_TRUE(ShowsVerdict(*form));
            ASSERT_EQ(form->Timer_Run_ZORV->Enabled(), failing_checks);
            std::vector<std::string> checks, brb;
            for (int r = 0; r < 21; ++r) checks.push_back(form->StringGrid_DCR->Cells(1, r));
            for (int r = 0; r < 11; ++r) brb.push_back(form->StringGrid_BRB->Cells(1, r));
            const std::string marks = form->StringGrid_DCR->Cells(2, 1);
            env.Headless().TakeBoxes();
            env.Service().ClearRequestTargets();

            std::vector<std::pair<TEdit*, std::string>> kept;
            for (const auto& [edit, text] : c.texts) {
                kept.emplace_back(edit, edit->Text());
                edit->SetText(text);
            }
            if (c.fault) env.Service().FailNextRequest(*c.fault);
            std::vector<bool> verdict_while_box;
            env.Headless().SetWhileBoxOpen([&](const Box&) { verdict_while_box.push_back(ShowsVerdict(*form)); });
            c.act();
            env.Headless().SetWhileBoxOpen(nullptr);
            EXPECT_EQ(verdict_while_box, std::vector<bool>{false}) << "not even beside the stop's message";
            const std::vector<Box> boxes = env.Headless().TakeBoxes();
            ASSERT_EQ(boxes.size(), 1u) << "the stop's box, and no advice";
            EXPECT_EQ(boxes[0].kind, c.box.kind);
            EXPECT_EQ(boxes[0].text.substr(0, c.box.text.size()), c.box.text);
            EXPECT_EQ(runs(), c.fault ? 1 : 0);
            EXPECT_TRUE(LampHidden(*form)) << LampOf(*form);
            EXPECT_FALSE(form->Timer_Run_ZORV->Enabled()) << "no blinking NG either";
            if (c.committed) {
                EXPECT_EQ(c.committed->Color(), clMaroon);
            }
            std::vector<std::string> checks_after, brb_after;
            for (int r = 0; r < 21; ++r) checks_after.push_back(form->StringGrid_DCR->Cells(1, r));
            for (int r = 0; r < 11; ++r) brb_after.push_back(form->StringGrid_BRB->Cells(1, r));
            EXPECT_EQ(checks_after, checks) << "the last result's checks stay";
            EXPECT_EQ(brb_after, brb);
            EXPECT_EQ(form->StringGrid_DCR->Cells(2, 1), marks);
            EXPECT_EQ(marks, failing_checks ? " NG" : "");
            for (const auto& [edit, text] : kept) edit->SetText(text);
        }
}

TEST_F(DesignRun, AnErrorOnTheWayRestoresTheButtonAndTheCursorAndLightsNoVerdict) {
    // A text that no rule tests, read only while the request is built, after the
    // lamp showed "RUN".
    ASSERT_EQ(LampOf(*form), kDone);
    form->LabeledEdit_Ib_up->SetText("abc");
    ui::UserClick(form->Button_Refresh);
    EXPECT_EQ(env.Headless().Boxes(), std::vector<Box>{ErrorBox("'abc' is not a valid floating point value")});
    EXPECT_TRUE(form->Button_Refresh->Enabled());
    EXPECT_TRUE(ui::IsArrowCursor(form->Cursor()));
    EXPECT_TRUE(LampHidden(*form)) << LampOf(*form) << ": neither RUN nor the verdict of other inputs";
    EXPECT_TRUE(env.Methods().empty()) << "no request";

    // Outside any event (as in the constructor) the handler shows the error the same way.
    const auto relight = [this] {
        form->LabeledEdit_Ib_up->SetText("0");
        ASSERT_TRUE(form->RunDesign());
        ASSERT_EQ(LampOf(*form), kDone);
        form->LabeledEdit_Ib_up->SetText("abc");
        env.Headless().TakeBoxes();
    };
    relight();
    EXPECT_NO_THROW(form->Button_RefreshClick(form->Button_Refresh));
    EXPECT_EQ(env.Headless().Boxes(), std::vector<Box>{ErrorBox("'abc' is not a valid floating point value")});
    EXPECT_TRUE(form->Button_Refresh->Enabled());
    EXPECT_TRUE(ui::IsArrowCursor(form->Cursor()));
    EXPECT_TRUE(LampHidden(*form));

    // A direct call passes the error on to its caller, and the lamp still goes out.
    relight();
    form->SetCursor(crArrow);
    EXPECT_THROW(form->RunDesign(), EConvertError);
    EXPECT_TRUE(ui::IsArrowCursor(form->Cursor()));
    EXPECT_TRUE(LampHidden(*form));
    EXPECT_FALSE(form->Timer_Run_ZORV->Enabled());
}

TEST_F(DesignRun, AReportRunLightsNoBars) {
    for (const auto& [quick, xls] : {std::pair{false, false}, {true, true}, {false, true}}) {
        SCOPED_TRACE(std::to_string(quick) + std::to_string(xls));
        form->QuickView = quick;
        form->PrintToXls = xls;
        for (TPanel* p : form->SignalPanels) p->SetParentBackground(true);
        EXPECT_TRUE(form->RunDesign());
        EXPECT_EQ(BarsDark(*form), std::vector<bool>(4, true));
        EXPECT_NE(form->RequestText.find(std::string("\"QuickViewMode\":") + (quick ? "true" : "false") +
                                         ",\"Switch_of_Print_to_XLS\":" + (xls ? "true" : "false")),
                  std::string::npos);
        EXPECT_EQ(LampOf(*form), kDone);
        if (!quick) {
            EXPECT_FALSE(form->ReportPaths.TextReport.empty()) << "the text report the run asked for";
        }
        if (xls) {
            EXPECT_FALSE(form->ReportPaths.Spreadsheet.empty());
        }
    }
}

TEST_F(DesignRun, NoRunWhileTheWindowIsNotReady) {
    form->FormReady = false;
    form->Timer_Run_ZORV->SetEnabled(true);
    EXPECT_FALSE(form->RunDesign());
    EXPECT_FALSE(form->Timer_Run_ZORV->Enabled());
    EXPECT_TRUE(env.Methods().empty());
    EXPECT_TRUE(ui::IsArrowCursor(form->Cursor()));
}

TEST_F(DesignRun, ClearAsksTheServiceToRemoveTheClientsFiles) {
    form->Button14Click(form->Button14);
    EXPECT_EQ(env.Methods(),
              std::vector<std::string>{"Remove_Random_Client_FILES/192.168.10.20-" + form->ClientId});
}

TEST(DesignRunBeforeAnyResult, AFailedFirstSendShowsNoVerdictAndNoAdvice) {
    FormEnvironment env;
    env.Service().FailMethod("RUN_ZORV_PROJECT", ServerError());
    DOVEREForm* form = env.Create();
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(form->HaveResult);
    EXPECT_TRUE(Texts(env.Headless().Boxes(), ui::BoxKind::Message).empty())
        << "no advice computed from empty members";
    EXPECT_EQ(env.Headless().Boxes().back(), ConnectionBox());
    EXPECT_FALSE(form->GroupBoxRUN->Visible()) << "the lamp as it was before the run";
    EXPECT_FALSE(form->Panel_RUN->Visible());
    EXPECT_FALSE(form->Timer_Run_ZORV->Enabled());

    // A malformed reply is no result either.
    env.Headless().TakeBoxes();
    env.Service().FailMethod("RUN_ZORV_PROJECT", testing_support::ReplyFault("{\"result\":[{}]}"));
    EXPECT_FALSE(form->RunDesign());
    EXPECT_TRUE(Texts(env.Headless().Boxes(), ui::BoxKind::Message).empty());
    EXPECT_FALSE(form->Panel_RUN->Visible());

    // The first result that is read lights the lamp.
    env.Service().ClearFaults();
    EXPECT_TRUE(form->RunDesign());
    EXPECT_TRUE(form->HaveResult);
    EXPECT_EQ(form->Panel_RUN->Caption(), "DONE");
}

TEST(DesignRunBeforeAnyResult, AnUnreachableServiceLeavesTheLampHidden) {
    FormEnvironment env(FormEnvironment::Reach::Unreachable);
    DOVEREForm* form = env.Create();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(Texts(env.Headless().Boxes(), ui::BoxKind::Message).empty());
    EXPECT_FALSE(form->GroupBoxRUN->Visible());
    EXPECT_FALSE(form->RunDesign());
    EXPECT_FALSE(form->GroupBoxRUN->Visible());
}

}  // namespace
