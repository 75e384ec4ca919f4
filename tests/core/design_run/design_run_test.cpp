// The design run against the local service: the lamp and its blink, timing and
// response bars, a failed send or a run before any result, errors on the way, report
// runs, and what the advisories read.
#include <gtest/gtest.h>

#include "platform/os/clock.h"
#include "support/form_environment.h"

namespace {

using testing_support::ConnectionBox;
using testing_support::ErrorBox;
using testing_support::FormEnvironment;
using Box = ui::HeadlessBackend::Box;

const std::string kStiffness =
    "The effective axial stiffness you specified does not match the BRB yield strength very well. You may want to "
    "enter a different axial stiffness or yield strength.";

zorv_service::Fault ServerError() {
    zorv_service::Fault fault;
    fault.status = 500;
    return fault;
}

struct Lamp {
    bool group_visible;
    bool visible;
    std::string caption;
    int font_size;
    bool parent_background;
    TColor color;
    bool operator==(const Lamp&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Lamp& l) {
    return out << "{group " << l.group_visible << ", visible " << l.visible << ", \"" << l.caption << "\", size "
               << l.font_size << ", parent background " << l.parent_background << ", colour " << l.color << "}";
}

Lamp LampOf(const DOVEREForm& f) {
    return {f.GroupBoxRUN->Visible(), f.Panel_RUN->Visible(), f.Panel_RUN->Caption(), f.Panel_RUN->Font().Size,
            f.Panel_RUN->ParentBackground(), f.Panel_RUN->Color()};
}

const Lamp kDone{true, true, "DONE", 12, true, clRed};
const Lamp kRunning{true, true, "RUN", 14, false, clRed};
const Lamp kFailedChecks{true, true, "NG", 14, true, clRed};

std::vector<std::string> Texts(const std::vector<Box>& boxes, ui::BoxKind kind) {
    std::vector<std::string> texts;
    for (const Box& b : boxes)
        if (b.kind == kind) texts.push_back(b.text);
    return texts;
}

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

    // The members a run's advice reads, none of which gives advice.
    void QuietMembers() {
        form->BraceValues.B_c = 200;
        form->BraceValues.t_c = 20;
        form->BraceValues.t_g = 20;
        form->BeamRatios = {0.5f, 0.5f};
        form->QFactor = 1.2f;
        form->AlphaL = 0.5f;
    }

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
    EXPECT_EQ(LampOf(*form), kDone) << "the lamp of the last result";
}

TEST_F(DesignRun, FailedChecksBlinkUntilTheNextRun) {
    env.App().UseManualClock();
    // The last result counted failed checks; this run's send fails, so the lamp
    // follows that result.
    form->FailedCheckCount = 2;
    env.Service().FailNextRequest(ServerError());
    form->RunDesign();
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

    env.Service().FailNextRequest(ServerError());
    EXPECT_FALSE(form->RunDesign());
    EXPECT_EQ(Texts(env.Headless().Boxes(), ui::BoxKind::Error), std::vector<std::string>{kConnectionMessage});
    EXPECT_EQ(form->ResultObject.size(), keys);
    EXPECT_EQ(form->BraceValues.L_wp, lwp);
    EXPECT_EQ(form->ReportPaths.TextReport, text_report);
    EXPECT_EQ(BarsDark(*form), std::vector<bool>(4, false)) << "a normal run lights its bars after a failed send too";
    EXPECT_TRUE(ui::IsArrowCursor(form->Cursor()));
}

TEST_F(DesignRun, AdviceFollowsTheLastResultsMembers) {
    struct Case {
        const char* name;
        void (*change)(DOVEREForm&);
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"none", [](DOVEREForm&) {}, {}},
        {"core plate from the brace members", [](DOVEREForm& f) { f.BraceValues.t_g = 160; },
         {"Select a thinner core plate!"}},
        {"no core plate advice for a flat core",
         [](DOVEREForm& f) {
             f.BraceValues.t_g = 160;
             f.ComboBox_BRB_Type->SetItemIndex(1);
         },
         {}},
        {"beam ratios", [](DOVEREForm& f) { f.BeamRatios.Lower = 0.95f; },
         {"The lower beam axial load ratio is over 0.9. You may want to enter a stronger beam."}},
        {"Diagonal stiffness", [](DOVEREForm& f) { f.QFactor = 1.6f; }, {kStiffness}},
        {"Chevron reads both braces from the side table",
         [](DOVEREForm& f) {
             f.CfgText = "Chevron";
             f.SideValues["LEFT"]["Q_factor"] = 1.6f;
             f.SideValues["RIGHT"]["Q_factor"] = 1.7f;
             f.SideValues["LEFT"]["Alpha_L"] = f.SideValues["RIGHT"]["Alpha_L"] = 0.5f;
         },
         {kStiffness}},
        {"bolted: no stiffness advice",
         [](DOVEREForm& f) {
             f.CtypeText = "Bolted";
             f.QFactor = 2;
         },
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QuietMembers();
        form->CfgText = "Diagonal";
        form->CtypeText = "Welded";
        form->ComboBox_BRB_Type->SetItemIndex(0);
        c.change(*form);
        // A failed send keeps these members as the last result's.
        env.Service().FailNextRequest(ServerError());
        form->RunDesign();
        EXPECT_EQ(Texts(env.Headless().TakeBoxes(), ui::BoxKind::Message), c.messages);
    }
}

TEST_F(DesignRun, AChevronAdviceLookupEntersMissingSides) {
    QuietMembers();
    form->CfgText = "Chevron";
    form->SideValues.clear();
    env.Service().FailNextRequest(ServerError());
    form->RunDesign();
    // Q 0 and alpha 0 on both sides: the common length message.
    EXPECT_EQ(Texts(env.Headless().Boxes(), ui::BoxKind::Message).size(), 1u);
    for (const char* side : {"LEFT", "RIGHT"})
        for (const char* key : {"Q_factor", "Alpha_L"}) {
            ASSERT_EQ(form->SideValues.count(side), 1u) << side;
            EXPECT_EQ(form->SideValues.at(side).count(key), 1u) << side << " " << key;
        }
}

TEST_F(DesignRun, AnErrorOnTheWayRestoresTheButtonAndTheCursor) {
    form->LabeledEdit_F_y_b->SetText("abc");
    ui::UserClick(form->Button_Refresh);
    EXPECT_EQ(env.Headless().Boxes(), std::vector<Box>{ErrorBox("'abc' is not a valid floating point value")});
    EXPECT_TRUE(form->Button_Refresh->Enabled());
    EXPECT_TRUE(ui::IsArrowCursor(form->Cursor()));
    EXPECT_EQ(LampOf(*form), kRunning) << "the run ended after it lit the lamp";
    EXPECT_TRUE(env.Methods().empty()) << "no request";

    // Outside any event (as in the constructor) the handler shows the error the same way.
    env.Headless().TakeBoxes();
    EXPECT_NO_THROW(form->Button_RefreshClick(form->Button_Refresh));
    EXPECT_EQ(env.Headless().Boxes(), std::vector<Box>{ErrorBox("'abc' is not a valid floating point value")});
    EXPECT_TRUE(form->Button_Refresh->Enabled());
    EXPECT_TRUE(ui::IsArrowCursor(form->Cursor()));

    // A direct call passes the error on to its caller.
    form->SetCursor(crArrow);
    EXPECT_THROW(form->RunDesign(), EConvertError);
    EXPECT_TRUE(ui::IsArrowCursor(form->Cursor()));
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
