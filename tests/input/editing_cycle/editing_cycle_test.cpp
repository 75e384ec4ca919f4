// The editing cycle against the local service: states in the edits' colours through
// change, click, Enter and the commits after a run; the catalogue names that a typed
// value clears; Enter's rule messages; the Auto Adjust boxes and the selectors; and
// controls that come back enabled however a run ends.
#include "input/selectors/selector_fixture.h"

#include "platform/text/exception.h"

namespace {

using testing_support::ErrorBox;
using testing_support::NoticeBox;
using Box = ui::HeadlessBackend::Box;

struct Look {
    TColor background;
    TColor text;
    bool operator==(const Look&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Look& l) {
    return out << "{background " << l.background << ", text " << l.text << "}";
}

Look LookOf(const TEdit* edit) { return {edit->Color(), edit->Font().Color}; }
Look Committed(TColor background = clMaroon) { return {background, clCream}; }
Look Pending(TColor ink = clMaroon) { return {clCream, ink}; }

class EditingCycle : public selector_tests::SelectorTest {
protected:
    // Enter in the edit, through its bound handler, as one event.
    void PressEnter(TEdit* edit) {
        ui::Dispatch([edit] {
            char key = 13;
            edit->OnKeyPress(edit, key);
        });
    }

    void Click(TControl* control) {
        ui::Dispatch([control] {
            if (control->OnClick) control->OnClick(control);
        });
    }

    // A design started by another control: a casing change.
    void RunFromCasing() {
        ui::Dispatch([this] {
            form->ComboBox_CASING_TYPE->SetItemIndex(1 - form->ComboBox_CASING_TYPE->ItemIndex());
            form->ComboBox_CASING_TYPE->OnChange(form->ComboBox_CASING_TYPE);
        });
    }

    std::vector<Box> Notices() {
        std::vector<Box> notices;
        for (const Box& box : env.Headless().Boxes())
            if (box.kind != ui::BoxKind::Message) notices.push_back(box);
        return notices;
    }
};

TEST_F(EditingCycle, ChangeEnterClickAndRunMoveAnEditBetweenItsStates) {
    struct Case {
        const char* name;
        TEdit* typed;    // where the text changes and Enter is pressed
        TEdit* follows;  // the edit whose state Enter commits
        const char* text;
        TColor committed;
        std::vector<TCheckBox*> boxes;  // checked for Enter
        bool click;                     // a click in place of Enter
        int enter_runs;
        bool committed_by_runs;  // in one of the lists that every run commits
    };
    TEdit* slab = form->LabeledEdit_Slab_Thickness;
    TCheckBox* keff = form->CheckBox_adjust_Keff;
    TCheckBox* mat = form->CheckBox_adjust_Mat;
    const Case cases[] = {
        {"normal edit", form->LabeledEdit_H_col, form->LabeledEdit_H_col, "4500", clMaroon, {}, false, 1, true},
        {"designation", form->LabeledEdit_Beam_up, form->LabeledEdit_Beam_up, "H600x300x12x20", clMaroon, {}, false, 1,
         true},
        {"clear distance", form->LabeledEdit_Upper_CD, form->LabeledEdit_Upper_CD, "100", clMaroon, {}, false, 1, false},
        {"increment", form->LabeledEdit_Lbrb_revised_increment, form->LabeledEdit_Lbrb_revised_increment, "20",
         clMaroon, {}, false, 1, false},
        {"joint plate", form->Bolted_BRB_tj, form->Bolted_BRB_tj, "14", clGreen, {}, false, 1, false},
        {"core plate", form->Bolted_BRB_tc, form->Bolted_BRB_tc, "22", clMaroon, {}, false, 1, false},
        // Bolt data never change state; their Enter commits the slab.
        {"bolt data", form->Bolted_BRB_et, slab, "160", clMaroon, {}, false, 1, true},
        {"Keff, box clear", form->Edit_Keff_req, form->Edit_Keff_req, "300", clMaroon, {}, false, 0, true},
        {"Keff, box checked", form->Edit_Keff_req, form->Edit_Keff_req, "300", clMaroon, {keff}, false, 1, true},
        {"Keff clicked, box checked", form->Edit_Keff_req, form->Edit_Keff_req, "300", clMaroon, {keff}, true, 1,
         true},
        {"Keff clicked, box clear", form->Edit_Keff_req, form->Edit_Keff_req, "300", clMaroon, {}, true, 0, true},
        {"min. Lc, Keff only", form->Edit_TargetLc, form->Edit_TargetLc, "1500", clMaroon, {keff}, false, 0, true},
        {"min. Lc, both boxes", form->Edit_TargetLc, form->Edit_TargetLc, "1500", clMaroon,
         {keff, form->CheckBox_TargetLc}, true, 1, true},
        {"min. alpha L, Keff clear", form->Edit_LcToLwp, form->Edit_LcToLwp, "0.4", clMaroon, {}, false, 0, true},
        {"min. alpha L, both boxes", form->Edit_LcToLwp, form->Edit_LcToLwp, "0.4", clMaroon, {keff}, false, 1, true},
        {"Ry,c, material off", form->LabeledEdit_Adjust_R_y_c, form->LabeledEdit_Adjust_R_y_c, "1.3", clMaroon, {},
         false, 0, true},
        {"Ry,c, material on", form->LabeledEdit_Adjust_R_y_c, form->LabeledEdit_Adjust_R_y_c, "1.3", clMaroon, {mat},
         false, 1, true},
        {"Ry,g, material on", form->LabeledEdit_Adjust_R_y_g, form->LabeledEdit_Adjust_R_y_g, "1.3", clMaroon, {mat},
         false, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Forget();
        ASSERT_EQ(LookOf(c.follows), Committed(c.committed));
        const Look typed_before = LookOf(c.typed);
        const std::string old_text = c.follows->Text();

        // Change.
        if (c.typed != c.follows) {
            c.typed->SetText(std::string(c.text) + "1");
            EXPECT_EQ(LookOf(c.typed), typed_before) << "no state of its own";
        }
        c.follows->SetText(c.text);
        EXPECT_EQ(LookOf(c.follows), Pending(c.committed));
        c.follows->SetText(std::string(c.text) + "0");
        c.follows->SetText(c.text);
        EXPECT_EQ(LookOf(c.follows), Pending(c.committed)) << "more changes keep it pending";

        // An inert click; a click into the two stiffness targets acts as Enter.
        if (c.typed != form->Edit_Keff_req && c.typed != form->Edit_TargetLc) {
            Click(c.typed);
            EXPECT_EQ(LookOf(c.follows), Pending(c.committed));
        }
        EXPECT_EQ(RunCount(), 0);

        // Enter (or the click) commits, and runs under its condition.
        for (TCheckBox* box : c.boxes) box->SetCheckedSilent(true);
        if (c.click) Click(c.typed);
        else PressEnter(c.typed);
        EXPECT_EQ(LookOf(c.follows), Committed(c.committed));
        EXPECT_EQ(RunCount(), c.enter_runs);
        EXPECT_TRUE(c.typed->Enabled() && c.follows->Enabled());

        // Enter (or a click) on a committed edit runs nothing.
        if (c.click) Click(c.typed);
        else PressEnter(c.typed);
        EXPECT_EQ(RunCount(), c.enter_runs);
        for (TCheckBox* box : c.boxes) box->SetCheckedSilent(false);

        // A run from another control commits the two lists only.
        c.follows->SetText(old_text);
        Forget();
        RunFromCasing();
        EXPECT_EQ(RunCount(), 1);
        EXPECT_EQ(LookOf(c.follows), c.committed_by_runs ? Committed(c.committed) : Pending(c.committed));
        if (!c.committed_by_runs) PressEnter(c.typed);
        EXPECT_EQ(LookOf(c.follows), Committed(c.committed));
        EXPECT_EQ(Notices(), std::vector<Box>{});
    }
}

TEST_F(EditingCycle, EveryRunThatPassesTheChecksCommitsTheTwoListsAndNothingElse) {
    // Every edit of the cycle pending with a valid text.
    const std::vector<std::pair<TEdit*, const char*>> edits = {
        {form->LabeledEdit_H_col, "4100"},          {form->LabeledEdit_L_beam, "5100"},
        {form->LabeledEdit_d_c_left, "510"},        {form->LabeledEdit_d_c_right, "510"},
        {form->LabeledEdit_d_b_up, "860"},          {form->LabeledEdit_d_b_down, "860"},
        {form->LabeledEdit_Slab_Thickness, "160"},  {form->LabeledEdit_Adjust_R_y_c, "1.25"},
        {form->LabeledEdit_Adjust_Omega_h, "1.35"}, {form->LabeledEdit_Adjust_Beta_f, "1.16"},
        {form->LabeledEdit_Beam_up, "H600 x 300 x 12 x 20"}, {form->LabeledEdit_Beam_down, "H600 x 300 x 12 x 20"},
        {form->LabeledEdit_F_y_b, "0.034"},         {form->LabeledEdit_R_y_b, "1.25"},
        {form->Edit_Keff_req, "1"},                 {form->Edit_TargetLc, "1800"},
        {form->Edit_LcToLwp, "0.35"},               {form->LabeledEdit_Adjust_R_y_g, "1.25"},
        {form->LabeledEdit_Upper_CD, "80"},         {form->LabeledEdit_Left_CD, "80"},
        {form->LabeledEdit_Right_CD, "80"},         {form->LabeledEdit_Lower_CD, "60"},
        {form->LabeledEdit_Lbrb_revised_increment, "5"}, {form->Bolted_BRB_tc, "22"},
        {form->Bolted_BRB_Bc, "200"},               {form->Bolted_BRB_tj, "14"},
    };
    ASSERT_EQ(form->FrameEdits.size(), 14u);
    ASSERT_EQ(form->AdjustEdits.size(), 3u);
    for (const auto& [edit, text] : edits) edit->SetText(text);
    RunFromCasing();
    ASSERT_EQ(RunCount(), 1);
    const auto in_lists = [this](TEdit* edit) {
        return std::find(form->FrameEdits.begin(), form->FrameEdits.end(), edit) != form->FrameEdits.end() ||
               std::find(form->AdjustEdits.begin(), form->AdjustEdits.end(), edit) != form->AdjustEdits.end();
    };
    int committed = 0;
    for (const auto& [edit, text] : edits) {
        SCOPED_TRACE(edit->Name());
        const TColor ink = edit == form->Bolted_BRB_tj ? clGreen : clMaroon;
        EXPECT_EQ(LookOf(edit), in_lists(edit) ? Committed(ink) : Pending(ink));
        committed += in_lists(edit);
    }
    EXPECT_EQ(committed, 17);
    EXPECT_EQ(form->FrameEdits[7], form->LabeledEdit_Adjust_R_y_c) << "the lists keep their order";
    EXPECT_EQ(form->AdjustEdits[1], form->Edit_TargetLc);
}

TEST_F(EditingCycle, EveryChangeOfTheTextClearsTheSectionName) {
    struct Case {
        TEdit* edit;
        std::string TSectionNames::*name;
    };
    const Case cases[] = {
        {form->LabeledEdit_Beam_up, &TSectionNames::UpperBeam},
        {form->LabeledEdit_Beam_down, &TSectionNames::LowerBeam},
        {form->LabeledEdit_d_c_left, &TSectionNames::LeftColumn},
        {form->LabeledEdit_d_c_right, &TSectionNames::RightColumn},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.edit->Name());
        form->SectionNames = {"UB1", "UB2", "UC1", "UC2"};
        const TSectionNames before = form->SectionNames;
        const std::string text = c.edit->Text();
        c.edit->SetText(text);
        EXPECT_EQ(form->SectionNames.*c.name, before.*c.name) << "the same text is no change";

        c.edit->SetText(text + "1");
        EXPECT_EQ(form->SectionNames.*c.name, "");
        for (const Case& other : cases)
            if (other.name != c.name) {
                EXPECT_EQ(form->SectionNames.*other.name, before.*other.name);
            }

        // A catalogue choice writes the edit and then the name; a change of the edit,
        // pending already, is the user's own value again.
        form->SectionNames.*c.name = "UB3";
        EXPECT_EQ(LookOf(c.edit), Pending());
        c.edit->SetText(text);
        EXPECT_EQ(form->SectionNames.*c.name, "");
        PressEnter(c.edit);
        EXPECT_EQ(LookOf(c.edit), Committed());
    }
    form->SectionNames = {"UB1", "UB2", "UC1", "UC2"};
    form->LabeledEdit_H_col->SetText("4100");
    form->LabeledEdit_d_b_up->SetText("860");
    EXPECT_EQ(form->SectionNames.UpperBeam, "UB1") << "other edits keep every name";
    EXPECT_EQ(form->SectionNames.LeftColumn, "UC1");
}

TEST_F(EditingCycle, EnterShowsTheFailingRuleAndLeavesTheEditAsItWas) {
    struct Case {
        const char* name;
        std::vector<std::pair<TEdit*, const char*>> texts;  // written first
        TEdit* entered;
        Box box;
    };
    const Case cases[] = {
        {"own rule", {{form->LabeledEdit_H_col, "1999"}}, form->LabeledEdit_H_col,
         NoticeBox("Hcol is allowable between 2000mm and 20000mm.")},
        {"ratio after a valid height",
         {{form->LabeledEdit_H_col, "4100"}, {form->LabeledEdit_L_beam, "500"}},
         form->LabeledEdit_H_col,
         NoticeBox("Height/Width is allowable between 0.125 and 8.")},
        {"beam length 0", {{form->LabeledEdit_H_col, "4100"}, {form->LabeledEdit_L_beam, "0"}}, form->LabeledEdit_H_col,
         NoticeBox("Height/Width is allowable between 0.125 and 8.")},
        {"ratio on the length", {{form->LabeledEdit_L_beam, "29000"}, {form->LabeledEdit_H_col, "2000"}},
         form->LabeledEdit_L_beam, NoticeBox("Height/Width is allowable between 0.125 and 8.")},
        {"clear distance", {{form->LabeledEdit_Lower_CD, "351"}}, form->LabeledEdit_Lower_CD,
         NoticeBox("The clear distance is allowable between 50mm and 350mm.")},
        {"increment", {{form->LabeledEdit_Lbrb_revised_increment, "0"}}, form->LabeledEdit_Lbrb_revised_increment,
         NoticeBox("The imcremental length is allowable between 1mm and 200mm.")},
        {"min. alpha L", {{form->Edit_LcToLwp, "0.1998"}}, form->Edit_LcToLwp,
         NoticeBox("Min. \u03b1 is not less than 0.2.")},
        {"Ry,g", {{form->LabeledEdit_Adjust_R_y_g, "1.6"}}, form->LabeledEdit_Adjust_R_y_g,
         NoticeBox("Ry,g is allowable between 1 and 1.5.")},
        {"Ry,b", {{form->LabeledEdit_R_y_b, "0.9"}}, form->LabeledEdit_R_y_b,
         NoticeBox("Ry,b is allowable between 1 and 1.5.")},
        {"bolt data test the slab", {{form->LabeledEdit_Slab_Thickness, "301"}}, form->Bolted_BRB_Fnv,
         NoticeBox("Thickness of slab is allowable between 0mm and 300mm.")},
        {"fraction in a whole rule", {{form->LabeledEdit_d_c_left, "320.5"}}, form->LabeledEdit_d_c_left,
         ErrorBox("'320.5' is not a valid integer value")},
        {"emptied edit", {{form->LabeledEdit_F_y_b, ""}}, form->LabeledEdit_F_y_b,
         ErrorBox("'' is not a valid floating point value")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::pair<TEdit*, std::string>> kept;
        for (const auto& [edit, text] : c.texts) {
            kept.emplace_back(edit, edit->Text());
            edit->SetText(text);
        }
        std::vector<Look> looks;
        for (const auto& [edit, text] : c.texts) looks.push_back(LookOf(edit));
        Forget();
        PressEnter(c.entered);
        EXPECT_EQ(env.Headless().Boxes(), std::vector<Box>{c.box});
        EXPECT_EQ(RunCount(), 0);
        for (size_t i = 0; i < c.texts.size(); ++i) EXPECT_EQ(LookOf(c.texts[i].first), looks[i]);
        EXPECT_TRUE(c.entered->Enabled());
        for (const auto& [edit, text] : kept) {
            edit->SetText(text);
            PressEnter(edit);
        }
    }

    // Enter on a committed height repeats its test against the beam length.
    form->LabeledEdit_L_beam->SetText("40000");
    Forget();
    PressEnter(form->LabeledEdit_H_col);
    EXPECT_EQ(env.Headless().Boxes(), std::vector<Box>{NoticeBox("Height/Width is allowable between 0.125 and 8.")});
    EXPECT_EQ(LookOf(form->LabeledEdit_H_col), Committed());
}

TEST_F(EditingCycle, TheBeamSteelMessageKeepsTonfInEveryUnitSystem) {
    form->ComboBox_Units->SetItemIndex(1);
    ui::Dispatch([this] { form->ComboBox_Units->OnChange(form->ComboBox_Units); });
    ASSERT_EQ(form->LabeledEdit_F_y_b->Text(), "0.324");
    Forget();
    PressEnter(form->LabeledEdit_F_y_b);
    EXPECT_EQ(env.Headless().Boxes(),
              std::vector<Box>{NoticeBox("Fy,b is allowable between 0tonf/mm^2 and 0.05tonf/mm^2.")});
    EXPECT_EQ(RunCount(), 0);
}

TEST_F(EditingCycle, EveryHandlerThatRunsADesignKeepsItsControlDisabledForTheRunOnly) {
    struct Case {
        const char* name;
        TControl* disabled;  // nullptr: nothing is disabled
        std::function<void()> act;
    };
    const auto toggle = [](TCheckBox* box) { return [box] { box->SetChecked(!box->Checked()); }; };
    const auto change = [](TComboBox* box, int index) {
        return [box, index] {
            box->SetItemIndex(index);
            box->OnChange(box);
        };
    };
    TControl* page = form->GroupBox_Adjust;
    const Case cases[] = {
        {"Lw", page, toggle(form->CheckBox_adjust_L_w)},
        {"Joint", page, toggle(form->CheckBox_adjust_BjDj)},
        {"Lbrb", page, toggle(form->CheckBox_adjust_Lbrb)},
        {"tg", page, toggle(form->CheckBox_adjust_tg)},
        {"Keff", page, toggle(form->CheckBox_adjust_Keff)},
        {"min. Lc", page, toggle(form->CheckBox_TargetLc)},
        {"min. alpha L", page, toggle(form->CheckBox_LcToLwp)},
        {"Material", page, toggle(form->CheckBox_adjust_Mat)},
        {"stiffener", nullptr, toggle(form->CheckBox_Stiffener)},
        {"GUFM", nullptr, toggle(form->CheckBox_GUFM)},
        {"frame action", nullptr, toggle(form->CheckBox_Frame_Action)},
        {"staggered", nullptr, toggle(form->CheckBox_Staggered)},
        {"casing", form->ComboBox_CASING_TYPE, change(form->ComboBox_CASING_TYPE, 0)},
        {"gusset thickness", form->ComboBox_Gusset_Thickness, change(form->ComboBox_Gusset_Thickness, 3)},
        {"gusset steel", form->ComboBox_Mat_Gusset_Plate,
         [this, change] {
             form->CheckBox_adjust_tg->SetCheckedSilent(true);  // else the request build checks it and runs
             change(form->ComboBox_Mat_Gusset_Plate, 2)();
         }},
        {"capacity class", form->ComboBox_Py, change(form->ComboBox_Py, 10)},
        {"Enter", form->LabeledEdit_Slab_Thickness,
         [this] {
             form->LabeledEdit_Slab_Thickness->SetText("140");
             char key = 13;
             form->LabeledEdit_Slab_ThicknessKeyPress(form->Bolted_BRB_g, key);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<bool> during;
        LookDuringRuns([&] { during.push_back(c.disabled ? c.disabled->Enabled() : form->GroupBox_Adjust->Enabled()); });
        Forget();
        ui::Dispatch(c.act);
        EXPECT_EQ(RunCount(), 1) << "one design";
        EXPECT_EQ(during, std::vector<bool>{c.disabled == nullptr});
        if (c.disabled) {
            EXPECT_TRUE(c.disabled->Enabled());
        }
    }
}

TEST_F(EditingCycle, AControlDisabledForARunComesBackWhenTheRunThrows) {
    // Called from code, outside any dispatched event: nothing else would enable them.
    struct Case {
        const char* name;
        TControl* control;
        std::function<void()> act;
    };
    const Case cases[] = {
        {"casing", form->ComboBox_CASING_TYPE, [this] { form->ComboBox_CASING_TYPEChange(form->ComboBox_CASING_TYPE); }},
        {"gusset thickness", form->ComboBox_Gusset_Thickness,
         [this] { form->ComboBox_Gusset_ThicknessChange(form->ComboBox_Gusset_Thickness); }},
        {"gusset steel", form->ComboBox_Mat_Gusset_Plate,
         [this] { form->ComboBox_Mat_Gusset_PlateChange(form->ComboBox_Mat_Gusset_Plate); }},
        {"capacity class", form->ComboBox_Py, [this] { form->ComboBox_PyChange(form->ComboBox_Py); }},
        {"Auto Adjust box", form->GroupBox_Adjust, [this] { form->CheckBox_adjust_Lbrb->SetChecked(true); }},
        {"Keff box", form->GroupBox_Adjust, [this] { form->CheckBox_adjust_Keff->SetChecked(true); }},
        {"Enter", form->LabeledEdit_H_col,
         [this] {
             form->LabeledEdit_H_col->SetText("4100");
             char key = 13;
             form->LabeledEdit_H_colKeyPress(form->LabeledEdit_H_col, key);
         }},
    };
    form->LabeledEdit_d_c_right->SetText("320.5");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(c.act(), EConvertError);
        EXPECT_TRUE(c.control->Enabled());
    }
    EXPECT_EQ(RunCount(), 0);
}

TEST_F(EditingCycle, AnErrorDuringTheSm570ChoiceKeepsTheCoreTypeLocked) {
    // The grade's run stops at a column height left empty, after the lock was set.
    form->LabeledEdit_H_col->SetText("");
    ui::Dispatch([this] {
        form->ComboBox_Mat->SetItemIndex(2);
        form->ComboBox_Mat->OnChange(form->ComboBox_Mat);
    });
    EXPECT_EQ(ErrorBoxes(), std::vector<Box>{ErrorBox("'' is not a valid integer value")});
    EXPECT_EQ(RunCount(), 0);
    EXPECT_TRUE(form->ComboBox_Mat->Enabled()) << "its own busy guard gives the grade selector back";
    EXPECT_FALSE(form->ComboBox_BRB_Type->Enabled()) << "the program's lock outlives the error";
    EXPECT_EQ(form->ComboBox_BRB_Type->Text(), "Cruciform");

    // Mended, the next design goes out as an SM570 core can only be.
    form->LabeledEdit_H_col->SetText("4000");
    Forget();
    RunFromCasing();
    ASSERT_EQ(RunCount(), 1);
    EXPECT_EQ(LastRunRequest()["BRB"]["Mat_of_steel_core"], "CNS_SM570");
    EXPECT_EQ(LastRunRequest()["BRB"]["WES_Type"], "Cruciform");
    EXPECT_FALSE(form->ComboBox_BRB_Type->Enabled());
}

TEST_F(EditingCycle, TheGussetThicknessFollowsTheTgBoxAndTheBoxTheSelection) {
    TComboBox* thickness = form->ComboBox_Gusset_Thickness;
    TCheckBox* tg = form->CheckBox_adjust_tg;
    ui::Dispatch([tg] { tg->SetChecked(false); });
    EXPECT_EQ(thickness->Text(), "tg = tc");
    ui::Dispatch([tg] { tg->SetChecked(true); });
    EXPECT_EQ(thickness->Text(), "Auto (tg >= tc)");
    EXPECT_EQ(RunCount(), 2);

    Forget();
    ui::Dispatch([thickness] {
        thickness->SetItemIndex(thickness->Items().IndexOf("25"));
        thickness->OnChange(thickness);
    });
    EXPECT_FALSE(tg->Checked());
    EXPECT_EQ(thickness->Text(), "25") << "the box's own handler did not run";
    EXPECT_EQ(RunCount(), 1);
    ui::Dispatch([thickness] {
        thickness->SetItemIndex(thickness->Items().Count() - 1);
        thickness->OnChange(thickness);
    });
    EXPECT_TRUE(tg->Checked());

    // A gusset steel change starts the new list at "Auto (tg >= tc)" and leaves the
    // box; the request build then checks it, whose handler runs a design first.
    tg->SetCheckedSilent(false);
    Forget();
    std::vector<bool> box_before_build;
    ui::Dispatch([&] {
        form->ComboBox_Mat_Gusset_Plate->SetItemIndex(1);
        form->FillGussetThicknessList();
        box_before_build.push_back(tg->Checked());
        tg->SetCheckedSilent(false);
        form->ComboBox_Mat_Gusset_Plate->OnChange(form->ComboBox_Mat_Gusset_Plate);
    });
    EXPECT_EQ(box_before_build, std::vector<bool>{false});
    EXPECT_EQ(thickness->Items().Strings(0), "50");
    EXPECT_EQ(thickness->Text(), "Auto (tg >= tc)");
    EXPECT_TRUE(tg->Checked());
    EXPECT_EQ(RunCount(), 2);
}

TEST_F(EditingCycle, TheKeffAndMaterialBoxesShowTheirInputsAndMoveTheMaterialBox) {
    EXPECT_EQ(form->CheckBox_adjust_Mat->Top(), 82);
    EXPECT_EQ(form->GroupBox_adjust_Mat->Top(), 77);
    std::string during;
    LookDuringRuns([&] { during = form->Edit_Keff_req->Text(); });
    form->Edit_Keff_req->SetText("12");
    PressEnter(form->Edit_Keff_req);
    ui::Dispatch([this] { form->CheckBox_adjust_Keff->SetChecked(true); });
    EXPECT_EQ(during, "0") << "the run asks for no stiffness";
    EXPECT_EQ(LookOf(form->Edit_Keff_req), Committed()) << "pending from the write, committed by the run";
    EXPECT_EQ(form->CheckBox_adjust_Mat->Top(), 120);
    EXPECT_EQ(form->GroupBox_adjust_Mat->Top(), 115);
    EXPECT_TRUE(form->GroupBox_Adjust_Keff->Visible());
    EXPECT_TRUE(form->Edit_Keff_req->Visible());
    EXPECT_FALSE(form->GroupBox_adjust_Mat->Visible());

    ui::Dispatch([this] { form->CheckBox_adjust_Mat->SetChecked(true); });
    EXPECT_TRUE(form->GroupBox_adjust_Mat->Visible());
    EXPECT_EQ(form->CheckBox_adjust_Mat->Top(), 120);

    ui::Dispatch([this] { form->CheckBox_adjust_Keff->SetChecked(false); });
    EXPECT_EQ(form->CheckBox_adjust_Mat->Top(), 82);
    EXPECT_EQ(form->GroupBox_adjust_Mat->Top(), 77);
    EXPECT_FALSE(form->GroupBox_Adjust_Keff->Visible());
    EXPECT_FALSE(form->Edit_Keff_req->Visible());
    EXPECT_TRUE(form->GroupBox_adjust_Mat->Visible());

    ui::Dispatch([this] { form->CheckBox_adjust_Mat->SetChecked(false); });
    EXPECT_FALSE(form->GroupBox_adjust_Mat->Visible());
    EXPECT_EQ(RunCount(), 4);
}

TEST_F(EditingCycle, TheStiffnessEditTakesTheResultOnlyWhileItsAdjustmentIsOff) {
    // Checked, the edit is the user's required stiffness: no result overwrites it.
    ui::Dispatch([this] { form->CheckBox_adjust_Keff->SetChecked(true); });
    EXPECT_EQ(RunCount(), 1);
    EXPECT_EQ(form->Edit_Keff_req->Text(), "0");
    EXPECT_EQ(LookOf(form->Edit_Keff_req), Committed());
    form->Edit_Keff_req->SetText("60");
    PressEnter(form->Edit_Keff_req);
    RunFromCasing();
    ASSERT_EQ(RunCount(), 3);
    EXPECT_EQ(LastRunRequest()["Adjust"]["K_eff_req"], 60) << "the second run asks for it again";
    EXPECT_EQ(form->Edit_Keff_req->Text(), "60");
    EXPECT_EQ(LookOf(form->Edit_Keff_req), Committed());
    const std::string designed = form->FormatOutputNumber(static_cast<float>(form->ResultObject.get<double>("K_eff")));
    ASSERT_NE(designed, "60");
    EXPECT_EQ(form->StringGrid_BRB->Cells(1, 2), designed) << "the summary shows the designed stiffness";

    // Cleared, every successful run shows the result's stiffness, committed.
    ui::Dispatch([this] { form->CheckBox_adjust_Keff->SetChecked(false); });
    EXPECT_EQ(RunCount(), 4);
    EXPECT_EQ(LastRunRequest()["Adjust"]["K_eff_req"], 0);
    EXPECT_EQ(form->Edit_Keff_req->Text(),
              form->FormatOutputNumber(static_cast<float>(form->ResultObject.get<double>("K_eff"))));
    EXPECT_EQ(LookOf(form->Edit_Keff_req), Committed());
}

TEST_F(EditingCycle, TheCapacityKeyDownDoesNothing) {
    const int index = form->ComboBox_Py->ItemIndex();
    std::uint16_t key = 40;
    form->ComboBox_PyKeyDown(form->ComboBox_Py, key, 0);
    EXPECT_EQ(form->ComboBox_Py->ItemIndex(), index);
    EXPECT_EQ(key, 40);
    EXPECT_EQ(RunCount(), 0);
}

}  // namespace
