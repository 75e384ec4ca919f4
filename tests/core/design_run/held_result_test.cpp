// The held result belongs to the bay it was designed for: switch sequences with the
// service answering, failing or never asked (an input blocked), after each of which
// the grids, marks, count, lamp, advice, drawings and drawing members show only what
// was designed for the bay chosen; the part radio after a switch in the gusset view;
// the required stiffness kept over a view change.
#include <gtest/gtest.h>

#include <cstring>

#include "core/design_run/run_fixture.h"
#include "platform/gl/testing.h"

namespace {

using namespace design_run_tests;
using testing_support::FormEnvironment;
using Box = ui::HeadlessBackend::Box;

const std::string kStiffness =
    "The effective axial stiffness you specified does not match the BRB yield strength very well. You may want to "
    "enter a different axial stiffness or yield strength.";
constexpr int kRows = 26;  // every row a check list can have

enum class Act { Chevron, Diagonal, Bolted, Welded, Design };
enum class Reply { Sample, Fails, Blocked };

struct Shown {
    const char* sample;  // the result the grids show, nullptr for none
    const char* ratio;   // column 1, row 0 of the check list
    const char* py;      // column 1, row 0 of the BRB summary
};
const Shown kNothing{nullptr, "", ""};
const Shown kFirstDesign{"diagonal-welded", "0.13", "501.6"};
const Shown kChevronWelded{"chevron-welded", "0.07", "481.5"};  // the left brace
const Shown kChevronBolted{"chevron-bolted", "0.02", "244.7"};  // the bolted summary reads the top level

struct Step {
    const char* what;
    Act act;
    Reply reply;
    const char* sample;  // what the service answers with Reply::Sample
    Shown shown;
    bool verdict;  // "DONE" lit; else nothing lit
    std::vector<std::string> advice;
};

class HeldResult : public ::testing::Test {
protected:
    void SetUp() override {
        form = env.Create();
        ASSERT_NE(form, nullptr);
        env.Headless().TakeBoxes();
        TakeSnapshot();
    }

    // The members and side values a drawing may copy into, as the last fresh result left them.
    void TakeSnapshot() {
        frame = form->FrameValues;
        brace = form->BraceValues;
        sides = form->SideValues;
    }

    void Run(const Step& step) {
        env.Service().ClearFaults();
        if (step.reply == Reply::Sample) env.Service().FailMethod("RUN_ZORV_PROJECT", Answer(Sample(step.sample)));
        if (step.reply == Reply::Fails) env.Service().FailMethod("RUN_ZORV_PROJECT", ServerError());
        // Out of range and pending, so the check before the run stops it.
        if (step.reply == Reply::Blocked) form->LabeledEdit_H_col->SetText("50000");
        // As a user's choice runs the handlers (the layout keeps the connection
        // selector disabled, and neither lies on the page shown).
        const auto choose = [this](TComboBox* box, int item, void (DOVEREForm::*change)(TObject*)) {
            ui::Dispatch([this, box, item, change] {
                box->SetItemIndex(item);
                (form->*change)(box);
            });
        };
        switch (step.act) {
            case Act::Chevron: choose(form->ComboBox_cfg, 1, &DOVEREForm::ComboBox_cfgChange); break;
            case Act::Diagonal: choose(form->ComboBox_cfg, 0, &DOVEREForm::ComboBox_cfgChange); break;
            case Act::Bolted:
                choose(form->ComboBox_Connection_Type, 1, &DOVEREForm::ComboBox_Connection_TypeChange);
                break;
            case Act::Welded:
                choose(form->ComboBox_Connection_Type, 0, &DOVEREForm::ComboBox_Connection_TypeChange);
                break;
            case Act::Design: ui::Dispatch([this] { form->Button_RefreshClick(form->Button_Refresh); }); break;
        }
        if (step.reply == Reply::Blocked) {
            form->LabeledEdit_H_col->SetText("4000");
            form->CommitPendingFrameEdits();
        }
    }

    void ExpectShown(const Step& step) {
        const TStringGrid& checks = *form->StringGrid_DCR;
        const TStringGrid& brb = *form->StringGrid_BRB;
        EXPECT_EQ(checks.Cells(1, 0), step.shown.ratio);
        EXPECT_EQ(brb.Cells(1, 0), step.shown.py);
        for (int r = 0; r < kRows; ++r) {
            EXPECT_EQ(checks.Cells(2, r), "") << "no mark in row " << r;
            if (!step.shown.sample) {
                EXPECT_EQ(checks.Cells(1, r), "") << "no value in row " << r;
                EXPECT_EQ(brb.Cells(1, r), "") << "no BRB value in row " << r;
            } else if (r < checks.RowCount()) {
                EXPECT_NE(checks.Cells(1, r), "") << "a value in row " << r;
                EXPECT_NE(checks.Cells(1, r), "?") << "row " << r;
            }
        }
        EXPECT_EQ(form->FailedCheckCount, 0);
        if (step.shown.sample) {
            const bool chevron = std::string(step.shown.sample).rfind("chevron", 0) == 0;
            EXPECT_EQ(form->ResultCfgText, chevron ? "Chevron" : "Diagonal");
        }
    }

    void ExpectViews(bool drawn) {
        const TGlColor& bg = form->GlPalette.BackgroundColor;
        for (TPanel* panel : {form->OpGLPanel, form->OpGLPanel2}) {
            const ui::PixelImage& image = panel->Surface();
            const int background = gl::CountPixels(image, gl::OpaqueColor(bg.R, bg.G, bg.B));
            if (drawn)
                EXPECT_LT(background, image.width * image.height) << panel->Name();
            else
                EXPECT_EQ(background, image.width * image.height) << panel->Name() << " shows only its background";
        }
    }

    void ExpectMembersKept() {
        // The request of a run that passed the check writes its clear distances and
        // beam sections into the members, from the inputs; nothing else may change.
        TFrameValues inputs = frame;
        for (float TFrameValues::*member :
             {&TFrameValues::col_left_gap_for_L_brb, &TFrameValues::col_right_gap_for_L_brb,
              &TFrameValues::beam_up_gap_for_L_brb, &TFrameValues::beam_down_gap_for_L_brb, &TFrameValues::d_b_up,
              &TFrameValues::b_w_b_up, &TFrameValues::b_t_w_up, &TFrameValues::b_t_f_up, &TFrameValues::d_b_down,
              &TFrameValues::b_w_b_down, &TFrameValues::b_t_w_down, &TFrameValues::b_t_f_down})
            inputs.*member = form->FrameValues.*member;
        EXPECT_EQ(std::memcmp(&inputs, &form->FrameValues, sizeof frame), 0) << "the frame members keep their values";
        EXPECT_EQ(std::memcmp(&brace, &form->BraceValues, sizeof brace), 0) << "the brace members keep their values";
        EXPECT_EQ(form->SideValues, sides) << "no side or key is entered";
    }

    void Walk(const std::vector<Step>& steps) {
        for (const Step& step : steps) {
            SCOPED_TRACE(step.what);
            Run(step);
            const std::vector<Box> boxes = env.Headless().TakeBoxes();
            ExpectShown(step);
            if (step.verdict) {
                EXPECT_EQ(LampOf(*form), kDone);
            } else {
                EXPECT_FALSE(ShowsVerdict(*form)) << LampOf(*form);
            }
            EXPECT_FALSE(form->Timer_Run_ZORV->Enabled());
            EXPECT_EQ(Texts(boxes, ui::BoxKind::Message), step.advice);
            if (step.reply == Reply::Blocked) {
                EXPECT_EQ(Texts(boxes, ui::BoxKind::Notice).size(), 1u) << "the range message";
            }
            ExpectViews(step.shown.sample != nullptr);
            if (step.reply == Reply::Sample)
                TakeSnapshot();
            else
                ExpectMembersKept();
        }
    }

    FormEnvironment env;
    DOVEREForm* form = nullptr;
    TFrameValues frame;
    TBraceValues brace;
    SideValueTable sides;
};

TEST_F(HeldResult, DiagonalToChevronAndBackWithTheSendFailing) {
    ASSERT_TRUE(form->SideValues.empty());
    Walk({
        {"to Chevron, no answer", Act::Chevron, Reply::Fails, nullptr, kNothing, false, {}},
        {"back to Diagonal, no answer", Act::Diagonal, Reply::Fails, nullptr, kFirstDesign, false, {}},
        {"a design", Act::Design, Reply::Sample, "diagonal-welded", kFirstDesign, true, {}},
    });
}

TEST_F(HeldResult, AChevronResultThenDiagonalWithTheInputBlocked) {
    Walk({
        {"to Chevron", Act::Chevron, Reply::Sample, "chevron-welded", kChevronWelded, true, {kStiffness}},
        {"to Diagonal, blocked", Act::Diagonal, Reply::Blocked, nullptr, kNothing, false, {}},
        {"back to Chevron, blocked", Act::Chevron, Reply::Blocked, nullptr, kChevronWelded, false, {}},
        {"to Diagonal, no answer", Act::Diagonal, Reply::Fails, nullptr, kNothing, false, {}},
    });
}

TEST_F(HeldResult, ConnectionSwitchesOfBothConfigurations) {
    Walk({
        {"to bolted, no answer", Act::Bolted, Reply::Fails, nullptr, kNothing, false, {}},
        {"to Chevron bolted", Act::Chevron, Reply::Sample, "chevron-bolted", kChevronBolted, true, {}},
        {"to welded, no answer", Act::Welded, Reply::Fails, nullptr, kNothing, false, {}},
        {"back to bolted, blocked", Act::Bolted, Reply::Blocked, nullptr, kChevronBolted, false, {}},
    });
}

TEST_F(HeldResult, WhileASwitchsErrorBoxIsOpenNothingOfTheOtherBayShows) {
    std::vector<std::string> during;
    env.Headless().SetWhileBoxOpen([&](const Box&) {
        during = {form->StringGrid_DCR->Cells(1, 0), form->StringGrid_DCR->Cells(1, 4),
                  form->StringGrid_BRB->Cells(1, 0)};
        ExpectViews(false);
    });
    ASSERT_NE(form->StringGrid_BRB->Cells(1, 0), "");
    // The window shows the Diagonal design until the switch.
    ui::PaintForm(form);
    ExpectViews(true);
    Run({"to Chevron, no answer", Act::Chevron, Reply::Fails, nullptr, kNothing, false, {}});
    EXPECT_EQ(during, (std::vector<std::string>{"", "", ""}));

    // Back in the bay the held result was designed for, it is drawn again; the
    // connection switch away from it blanks it as the configuration switch does.
    Run({"back to Diagonal, no answer", Act::Diagonal, Reply::Fails, nullptr, kFirstDesign, false, {}});
    ExpectViews(true);
    during.clear();
    Run({"to Bolted, no answer", Act::Bolted, Reply::Fails, nullptr, kNothing, false, {}});
    EXPECT_EQ(during, (std::vector<std::string>{"", "", ""}));
}

TEST_F(HeldResult, TheGussetViewsPartRadioNamesTheRightBraceAfterASwitch) {
    // The gusset view chosen in a Diagonal bay, where the radio is hidden.
    ui::UserChooseItem(form->ComboBox_BRB_Output_Option, 3);
    ASSERT_EQ(form->ComboBox_BRB_Output_Option->ItemIndex(), 3);
    env.Service().FailMethod("RUN_ZORV_PROJECT", Answer(Sample("chevron-welded")));
    ui::Dispatch([this] {
        form->ComboBox_cfg->SetItemIndex(1);
        form->ComboBox_cfgChange(form->ComboBox_cfg);
    });
    ASSERT_EQ(form->CfgText, "Chevron");
    const TStrings& parts = form->RadioGroup_Part->Items();
    ASSERT_EQ(parts.Count(), 3);
    EXPECT_EQ(parts[1], "Mid.");
    EXPECT_EQ(parts[2], "Right");
    EXPECT_EQ(form->RadioGroup_Part->ItemIndex(), 0);

    ui::UserChooseItem(form->RadioGroup_Part, 2);
    const TStringGrid& grid = *form->StringGrid_BRB;
    EXPECT_EQ(grid.RowCount(), 9);
    EXPECT_EQ(grid.Cells(0, 0), "Right");
    EXPECT_EQ(grid.Cells(1, 2), "750.2") << "the right brace's lower plate, Lh";
    ui::UserChooseItem(form->RadioGroup_Part, 0);
    EXPECT_EQ(grid.Cells(0, 0), "Left");
    EXPECT_EQ(grid.Cells(1, 2), "735.2");
}

TEST_F(HeldResult, APendingRequiredStiffnessSurvivesAViewChange) {
    for (bool adjusting : {false, true}) {
        SCOPED_TRACE(adjusting ? "adjustment box checked" : "adjustment box clear");
        form->CheckBox_adjust_Keff->OnClick = nullptr;  // no run of its own here
        form->CheckBox_adjust_Keff->SetChecked(adjusting);
        form->Edit_Keff_req->SetText("60");
        ASSERT_EQ(form->Edit_Keff_req->Color(), clCream) << "pending";
        ui::Dispatch([this] {
            form->ComboBox_DCR_Output_Option->SetItemIndex(3);
            form->ComboBox_DCR_Output_OptionChange(form->ComboBox_DCR_Output_Option);
            form->ComboBox_BRB_Output_Option->SetItemIndex(1);
            form->ComboBox_BRB_Output_OptionChange(form->ComboBox_BRB_Output_Option);
        });
        EXPECT_EQ(form->Edit_Keff_req->Text(), "60");
        EXPECT_EQ(form->Edit_Keff_req->Color(), clCream);
    }
}

}  // namespace
