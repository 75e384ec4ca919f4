// Handlers whose run raises an error: the control each disables for its run is enabled
// again, and a configuration or connection switch still lays the window out for the
// new bay, exactly as a switch whose send fails does, so that the designs after it
// fill the new bay's rows.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <ostream>

#include "core/design_run/run_fixture.h"
#include "support/xlsx_fixture.h"

namespace {

using namespace design_run_tests;
using testing_support::ErrorBox;
using testing_support::FormEnvironment;
using Box = ui::HeadlessBackend::Box;
namespace fx = xlsx_fixture;

constexpr int kRows = 26;  // every row a check list can have
const char* const kRaised = "the window could not show the result";

void Choose(DOVEREForm* form, TComboBox* box, int item, void (DOVEREForm::*change)(TObject*)) {
    ui::Dispatch([=] {
        box->SetItemIndex(item);
        (form->*change)(box);
    });
}

void PressEnter(TEdit* edit) {
    ui::Dispatch([edit] {
        char key = 13;
        edit->OnKeyPress(edit, key);
    });
}

// A one-row workbook of the batch, answered to its open-file dialog.
void RunOneRowBatch(FormEnvironment& env, DOVEREForm* form, const std::filesystem::path& file) {
    const std::string row =
        "<row r=\"2\"><c r=\"A2\"><v>100</v></c><c r=\"B2\"><v>20</v></c><c r=\"C2\"><v>4000</v></c>"
        "<c r=\"D2\"><v>5000</v></c><c r=\"E2\" t=\"inlineStr\"><is><t>A1</t></is></c>"
        "<c r=\"L2\" t=\"inlineStr\"><is><t>H594 x 302 x 14 x 23</t></is></c><c r=\"S2\"><v>500</v></c></row>";
    fx::Write(file, fx::Workbook(fx::SheetXml(row, "A1:S2"), fx::SharedStrings({})));
    env.Headless().QueueFileAnswer(file.string());
    ui::Dispatch([form] { form->Button1->OnClick(form->Button1); });
}

TEST(RaisingRun, EveryControlDisabledForItsRunIsEnabledAgain) {
    struct Case {
        const char* name;
        std::function<TControl*(DOVEREForm*)> control;
        std::function<void(FormEnvironment&, DOVEREForm*)> act;
        bool designs;  // the handler runs a design
    };
    fx::TempFolder folder;
    const Case cases[] = {
        {"configuration switch", [](DOVEREForm* f) { return f->ComboBox_cfg; },
         [](FormEnvironment&, DOVEREForm* f) { Choose(f, f->ComboBox_cfg, 1, &DOVEREForm::ComboBox_cfgChange); }, true},
        {"connection switch", [](DOVEREForm* f) { return f->ComboBox_Connection_Type; },
         [](FormEnvironment&, DOVEREForm* f) {
             Choose(f, f->ComboBox_Connection_Type, 1, &DOVEREForm::ComboBox_Connection_TypeChange);
         },
         true},
        {"core type", [](DOVEREForm* f) { return f->ComboBox_BRB_Type; },
         [](FormEnvironment&, DOVEREForm* f) { Choose(f, f->ComboBox_BRB_Type, 1, &DOVEREForm::ComboBox_BRB_TypeChange); },
         true},
        {"single-plate class", [](DOVEREForm* f) { return f->ComboBox_SP_Py; },
         [](FormEnvironment&, DOVEREForm* f) { Choose(f, f->ComboBox_SP_Py, 3, &DOVEREForm::ComboBox_SP_PyChange); },
         true},
        {"check view", [](DOVEREForm* f) { return f->ComboBox_DCR_Output_Option; },
         [](FormEnvironment&, DOVEREForm* f) {
             Choose(f, f->ComboBox_DCR_Output_Option, 3, &DOVEREForm::ComboBox_DCR_Output_OptionChange);
         },
         false},
        {"BRB view", [](DOVEREForm* f) { return f->ComboBox_BRB_Output_Option; },
         [](FormEnvironment&, DOVEREForm* f) {
             Choose(f, f->ComboBox_BRB_Output_Option, 1, &DOVEREForm::ComboBox_BRB_Output_OptionChange);
         },
         false},
        {"an edit's Enter", [](DOVEREForm* f) { return f->LabeledEdit_H_col; },
         [](FormEnvironment&, DOVEREForm* f) {
             f->LabeledEdit_H_col->SetText("4100");
             PressEnter(f->LabeledEdit_H_col);
         },
         true},
        {"an Auto Adjust box", [](DOVEREForm* f) { return f->GroupBox_Adjust; },
         [](FormEnvironment&, DOVEREForm* f) { ui::Dispatch([f] { f->CheckBox_adjust_Lbrb->SetChecked(true); }); },
         true},
        {"the capacity selector during a batch", [](DOVEREForm* f) { return f->ComboBox_Py; },
         [&folder](FormEnvironment& env, DOVEREForm* f) { RunOneRowBatch(env, f, folder / "cases.xlsx"); }, true},
        {"the Design button", [](DOVEREForm* f) { return f->Button_Refresh; },
         [](FormEnvironment&, DOVEREForm* f) { ui::Dispatch([f] { f->Button_RefreshClick(f->Button_Refresh); }); },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FormEnvironment env;
        DOVEREForm* form = env.Create();
        ASSERT_NE(form, nullptr);
        ASSERT_EQ(LampOf(*form), kDone);
        // The layout locks the connection selector; its switch enables it at the end.
        TControl* control = c.control(form);
        env.Headless().TakeBoxes();

        // A stiffness text that the shown result replaces: the replacement raises, in
        // the middle of the handler's work, after the run has read its result.
        form->Edit_Keff_req->SetText("1");
        form->CommitPendingAdjustEdits();
        std::vector<bool> enabled_then;
        form->Edit_Keff_req->OnChange = [&](TObject*) {
            enabled_then.push_back(control->Enabled());
            throw Exception(kRaised);
        };
        c.act(env, form);
        form->Edit_Keff_req->OnChange = nullptr;

        EXPECT_EQ(enabled_then, std::vector<bool>{false}) << "disabled while the handler works, and it did raise";
        EXPECT_TRUE(control->Enabled());
        const std::vector<Box> boxes = env.Headless().TakeBoxes();
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(boxes.back().kind, ui::BoxKind::Error);
        EXPECT_EQ(boxes.back().text.substr(0, std::strlen(kRaised)), kRaised);
        EXPECT_TRUE(ui::IsArrowCursor(form->Cursor()));
        if (c.designs) {
            EXPECT_FALSE(ShowsVerdict(*form)) << LampOf(*form) << ": the run did not end";
        } else {
            EXPECT_EQ(LampOf(*form), kDone) << "a view change leaves the verdict";
        }
        EXPECT_FALSE(form->Timer_Run_ZORV->Enabled());
    }
}

// What a switch leaves in the window, every cell of both grids included.
struct Window {
    int check_cols, check_rows, brb_cols, brb_rows;
    std::vector<std::string> checks, brb;  // columns 0 to 2 and 0 to 1, every row a list can have
    std::vector<std::string> check_options;
    int check_option;
    bool side_selector, part_radio, bolted_core, result_page;
    std::vector<std::string> parts;
    bool cfg_enabled, connection_enabled;
    int failed_checks;
    std::string cfg, ctype;
    bool operator==(const Window&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Window& w) {
    out << w.cfg << " " << w.ctype << ": checks " << w.check_rows << "x" << w.check_cols << ", BRB " << w.brb_rows
        << "x" << w.brb_cols << ", " << w.check_options.size() << " options at " << w.check_option << ", side "
        << w.side_selector << ", failed " << w.failed_checks << "\n";
    for (int r = 0; r < kRows; ++r)
        out << "  " << w.checks[3 * r] << " | " << w.checks[3 * r + 1] << " | " << w.checks[3 * r + 2] << "    "
            << w.brb[2 * r] << " | " << w.brb[2 * r + 1] << "\n";
    return out;
}

Window WindowOf(const DOVEREForm& f) {
    Window w{};
    const TStringGrid& checks = *f.StringGrid_DCR;
    const TStringGrid& brb = *f.StringGrid_BRB;
    w.check_cols = checks.ColCount();
    w.check_rows = checks.RowCount();
    w.brb_cols = brb.ColCount();
    w.brb_rows = brb.RowCount();
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < 3; ++c) w.checks.push_back(checks.Cells(c, r));
        for (int c = 0; c < 2; ++c) w.brb.push_back(brb.Cells(c, r));
    }
    w.check_options = f.ComboBox_DCR_Output_Option->Items().List();
    w.check_option = f.ComboBox_DCR_Output_Option->ItemIndex();
    w.side_selector = f.RadioGroup_DCR->Visible();
    w.part_radio = f.RadioGroup_Part->Visible();
    w.parts = f.RadioGroup_Part->Items().List();
    w.bolted_core = f.GroupBox_Bolted_core->Visible();
    w.result_page = f.GroupBox_sb_Result_BRB->Visible();
    w.cfg_enabled = f.ComboBox_cfg->Enabled();
    w.connection_enabled = f.ComboBox_Connection_Type->Enabled();
    w.failed_checks = f.FailedCheckCount;
    w.cfg = f.CfgText;
    w.ctype = f.CtypeText;
    return w;
}

enum class Switch { ToChevron, ToDiagonal, ToBolted, ToWelded };

void Flip(DOVEREForm* form, Switch s) {
    switch (s) {
        case Switch::ToChevron: Choose(form, form->ComboBox_cfg, 1, &DOVEREForm::ComboBox_cfgChange); break;
        case Switch::ToDiagonal: Choose(form, form->ComboBox_cfg, 0, &DOVEREForm::ComboBox_cfgChange); break;
        case Switch::ToBolted:
            Choose(form, form->ComboBox_Connection_Type, 1, &DOVEREForm::ComboBox_Connection_TypeChange);
            break;
        case Switch::ToWelded:
            Choose(form, form->ComboBox_Connection_Type, 0, &DOVEREForm::ComboBox_Connection_TypeChange);
            break;
    }
}

TEST(RaisingRun, ASwitchThatMeetsAnErrorLaysTheWindowOutAsASwitchWithoutAnswerDoes) {
    struct Case {
        const char* name;
        std::vector<std::pair<Switch, const char*>> before;  // switches answered with a sample
        Switch act;
        const char* after;  // the sample of the bay switched to
    };
    const Case cases[] = {
        {"Diagonal to Chevron", {}, Switch::ToChevron, "chevron-welded"},
        {"Chevron to Diagonal", {{Switch::ToChevron, "chevron-welded"}}, Switch::ToDiagonal, "diagonal-welded"},
        {"welded to bolted", {}, Switch::ToBolted, "diagonal-bolted"},
        {"Chevron bolted to welded",
         {{Switch::ToChevron, "chevron-welded"}, {Switch::ToBolted, "chevron-bolted"}},
         Switch::ToWelded,
         "chevron-welded"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The mended run's result fails one check that a Diagonal table shows only
        // below the Chevron table's last row.
        json mended = Sample(c.after);
        if (mended.contains("DCR_7_down_c1")) mended["DCR_7_down_c1"] = 1.3;

        // In one window the switch's send fails; in the other its run raises before
        // the send, while the grids still have the old bay's layout.
        Window no_answer, raised, done, mended_done;
        for (const bool raising : {false, true}) {
            SCOPED_TRACE(raising ? "raising" : "no answer");
            FormEnvironment env;
            DOVEREForm* form = env.Create();
            ASSERT_NE(form, nullptr);
            for (const auto& [s, sample] : c.before) {
                env.Service().FailNextRequest(Answer(Sample(sample)));
                Flip(form, s);
            }
            env.Headless().TakeBoxes();
            const std::string ry = form->LabeledEdit_R_y_b->Text();
            if (raising)
                form->LabeledEdit_R_y_b->SetText("1.2x");
            else
                env.Service().FailNextRequest(ServerError());
            Flip(form, c.act);
            const std::vector<Box> boxes = env.Headless().TakeBoxes();
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0], raising ? ErrorBox("'1.2x' is not a valid floating point value")
                                        : testing_support::ConnectionBox());
            (raising ? raised : no_answer) = WindowOf(*form);

            // The next design of the new bay, once the text is mended.
            form->LabeledEdit_R_y_b->SetText(ry);
            form->LabeledEdit_H_col->SetText("4100");
            env.Service().FailNextRequest(Answer(mended));
            PressEnter(form->LabeledEdit_H_col);
            EXPECT_EQ(Texts(env.Headless().TakeBoxes(), ui::BoxKind::Error), std::vector<std::string>{});
            (raising ? mended_done : done) = WindowOf(*form);
        }
        EXPECT_EQ(raised, no_answer);
        EXPECT_EQ(mended_done, done);
        EXPECT_TRUE(raised.cfg_enabled);
        for (int r = 0; r < kRows; ++r) {
            EXPECT_EQ(raised.checks[3 * r + 1], "") << "nothing of the old bay in row " << r;
            EXPECT_EQ(raised.brb[2 * r + 1], "") << "nothing of the old bay in BRB row " << r;
        }
    }
}

TEST(RaisingRun, TheFailedCheckOfTheNextDesignStandsInARowShown) {
    // The user's road: Chevron, an unreadable text, back to Diagonal, the text mended.
    FormEnvironment env;
    DOVEREForm* form = env.Create();
    ASSERT_NE(form, nullptr);
    env.Service().FailNextRequest(Answer(Sample("chevron-welded")));
    Flip(form, Switch::ToChevron);
    ASSERT_EQ(form->StringGrid_DCR->RowCount(), 15);
    const std::string ry = form->LabeledEdit_R_y_b->Text();
    form->LabeledEdit_R_y_b->SetText("1.2x");
    Flip(form, Switch::ToDiagonal);
    form->LabeledEdit_R_y_b->SetText(ry);
    json failing = Sample("diagonal-welded");
    failing["DCR_7_down_c1"] = 1.3;
    form->LabeledEdit_H_col->SetText("4100");
    env.Service().FailNextRequest(Answer(failing));
    PressEnter(form->LabeledEdit_H_col);

    EXPECT_EQ(LampOf(*form).caption, "NG");
    EXPECT_EQ(form->FailedCheckCount, 1);
    const TStringGrid& grid = *form->StringGrid_DCR;
    ASSERT_EQ(grid.RowCount(), 21);
    EXPECT_EQ(grid.Cells(0, 15), "DCR-7-1-Lower");
    EXPECT_EQ(grid.Cells(1, 15), "1.30");
    EXPECT_EQ(grid.Cells(2, 15), " NG");
    EXPECT_FALSE(form->RadioGroup_DCR->Visible());
}

}  // namespace
