// The check before every design run: the window's limits, the order of the rules
// with the page each failure shows, the material rules only while material
// adjustment is on, the other ruled values that the request sends, texts that do not
// convert, values that the request does not send, and the beam designations.
#include "core/design_run/run_fixture.h"
#include "input/selectors/selector_fixture.h"

namespace {

using testing_support::ErrorBox;
using testing_support::NoticeBox;
using Box = ui::HeadlessBackend::Box;


class Validation : public selector_tests::SelectorTest {
protected:
    // One run asked for as a click would, its error caught and shown.
    void Run() {
        ui::Dispatch([this] { form->RunDesign(); });
    }

    // The control page on show, -1 for none or several.
    int ShownPage() const {
        int shown = -1;
        for (int i = 0; i < static_cast<int>(form->ControlPages.size()); ++i) {
            if (!form->ControlPages[i]->Visible()) continue;
            if (shown != -1) return -1;
            shown = i;
        }
        return shown;
    }

    std::vector<Box> Boxes() { return env.Headless().TakeBoxes(); }
};

TEST_F(Validation, TheWindowSetsTheLimitsOnce) {
    const TInputLimits& l = form->InputLimits;
    const std::pair<TLimit, TLimit> pairs[] = {
        {l.ColumnHeight, {2000, 20000}}, {l.BeamLength, {2000, 30000}}, {l.ColumnDepth, {0, 1500}},
        {l.BeamDepth, {0, 1500}},        {l.HeightToLength, {0.125f, 8}}, {l.CoreRy, {1, 1.5f}},
        {l.CoreOmegaH, {1, 1.5f}},       {l.CoreBeta, {1.09999f, 1.2f}}, {l.GussetRy, {1, 1.5f}},
        {l.SlabThickness, {0, 300}},     {l.BeamFy, {0, 0.05f}},         {l.BeamRy, {1, 1.5f}},
        {l.ClearLeft, {75, 375}},        {l.ClearRight, {75, 375}},      {l.ClearUpper, {75, 375}},
        {l.ClearLower, {50, 350}},
    };
    for (const auto& [have, want] : pairs) {
        EXPECT_EQ(have.Min, want.Min);
        EXPECT_EQ(have.Max, want.Max);
    }
    EXPECT_TRUE(form->InputsValid);
}

TEST_F(Validation, TheFirstFailingRuleShowsItsPageAndMessageAndNothingRuns) {
    struct Case {
        std::vector<std::pair<TEdit*, const char*>> texts;
        bool material;
        const char* message;
        int page;
        bool keff = false;
    };
    const char* kClear = "The clear distance is allowable between 75mm and 375mm.";
    const Case cases[] = {
        {{{form->LabeledEdit_H_col, "1000"}, {form->LabeledEdit_L_beam, "100"}, {form->LabeledEdit_Slab_Thickness, "400"}},
         false, "Hcol is allowable between 2000mm and 20000mm.", 0},
        {{{form->LabeledEdit_L_beam, "40000"}, {form->LabeledEdit_d_c_right, "1600"}}, false,
         "Lbeam is allowable between 2000mm and 30000mm.", 0},
        {{{form->LabeledEdit_H_col, "20000"}, {form->LabeledEdit_L_beam, "2000"}, {form->LabeledEdit_d_b_up, "1600"}},
         false, "Height/Width is allowable between 0.125 and 8.", 0},
        {{{form->LabeledEdit_d_b_up, "1501"}, {form->LabeledEdit_d_b_down, "1501"}}, false,
         "db,up is allowable between 0mm and 1500mm.", 0},
        {{{form->LabeledEdit_d_b_down, "1501"}, {form->LabeledEdit_Slab_Thickness, "301"}}, false,
         "db,down is allowable between 0mm and 1500mm.", 0},
        {{{form->LabeledEdit_Slab_Thickness, "301"}, {form->LabeledEdit_d_c_left, "1501"}}, false,
         "Thickness of slab is allowable between 0mm and 300mm.", 0},
        {{{form->LabeledEdit_d_c_left, "1501"}, {form->LabeledEdit_d_c_right, "1501"}}, false,
         "dc,left is allowable between 0mm and 1500mm.", 0},
        {{{form->LabeledEdit_d_c_right, "1501"}}, false, "dc,right is allowable between 0mm and 1500mm.", 0},
        // A frame failure comes before the material factors.
        {{{form->LabeledEdit_d_c_right, "1501"}, {form->LabeledEdit_Adjust_R_y_c, "2"}}, true,
         "dc,right is allowable between 0mm and 1500mm.", 0},
        {{{form->LabeledEdit_Adjust_R_y_c, "0.9"}, {form->LabeledEdit_Adjust_Omega_h, "2"}}, true,
         "Ry,c is allowable between 1 and 1.5.", 3},
        {{{form->LabeledEdit_Adjust_Omega_h, "1.6"}, {form->LabeledEdit_Adjust_Beta_f, "1"}}, true,
         "\u03a9h is allowable between 1 and 1.5.", 3},
        {{{form->LabeledEdit_Adjust_Beta_f, "1.09999"}, {form->LabeledEdit_F_y_b, "0.06"}}, true,
         "\u03b2 is allowable between 1.1 and 1.2.", 3},
        // Then every other ruled value that the request sends, in the order of the rules.
        {{{form->LabeledEdit_F_y_b, "0.051"}, {form->LabeledEdit_R_y_b, "2"}}, false,
         "Fy,b is allowable between 0tonf/mm^2 and 0.05tonf/mm^2.", 0},
        {{{form->LabeledEdit_R_y_b, "0.9"}, {form->LabeledEdit_Upper_CD, "10"}}, false,
         "Ry,b is allowable between 1 and 1.5.", 0},
        {{{form->LabeledEdit_Upper_CD, "376"}, {form->LabeledEdit_Lower_CD, "400"}}, false, kClear, 0},
        // The lower distance has bounds of its own and comes before the left one.
        {{{form->LabeledEdit_Lower_CD, "49"}, {form->LabeledEdit_Left_CD, "3000"}}, false,
         "The clear distance is allowable between 50mm and 350mm.", 0},
        {{{form->LabeledEdit_Left_CD, "3000"}, {form->LabeledEdit_Lbrb_revised_increment, "500"}}, false, kClear, 0},
        {{{form->LabeledEdit_Right_CD, "74"}}, false, kClear, 0},
        {{{form->LabeledEdit_Lbrb_revised_increment, "201"}, {form->Edit_LcToLwp, "0.1"}}, false,
         "The imcremental length is allowable between 1mm and 200mm.", 1, true},
        // Sent only while the stiffness adjustment is on.
        {{{form->Edit_LcToLwp, "0.1998"}}, false, "Min. \u03b1 is not less than 0.2.", 3, true},
        {{{form->LabeledEdit_Left_CD, "3000"}, {form->LabeledEdit_Slab_Thickness, "301"}}, false,
         "Thickness of slab is allowable between 0mm and 300mm.", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        Run();
        ASSERT_TRUE(design_run_tests::ShowsVerdict(*form));
        std::vector<std::pair<TEdit*, std::string>> kept;
        for (const auto& [edit, text] : c.texts) {
            kept.emplace_back(edit, edit->Text());
            edit->SetText(text);
        }
        form->CheckBox_adjust_Mat->SetCheckedSilent(c.material);
        form->CheckBox_adjust_Keff->SetCheckedSilent(c.keff);
        form->MagnifyControlTab(2);
        Forget();

        bool fresh = true;
        ui::Dispatch([&] { fresh = form->RunDesign(); });
        EXPECT_FALSE(fresh) << "the run says it read nothing";
        EXPECT_EQ(Boxes(), std::vector<Box>{NoticeBox(c.message)}) << "one message, no other box";
        EXPECT_EQ(ShownPage(), c.page);
        EXPECT_FALSE(form->InputsValid);
        EXPECT_EQ(RunCount(), 0);
        EXPECT_TRUE(design_run_tests::LampHidden(*form)) << "no verdict for inputs that were not designed";
        for (const auto& [edit, text] : c.texts) EXPECT_EQ(edit->Color(), clCream) << "nothing is committed";

        for (const auto& [edit, text] : kept) edit->SetText(text);
        form->CheckBox_adjust_Mat->SetCheckedSilent(false);
        form->CheckBox_adjust_Keff->SetCheckedSilent(false);
    }
    Forget();
    Run();
    EXPECT_TRUE(form->InputsValid) << "each check starts afresh";
    EXPECT_EQ(RunCount(), 1);
}

TEST_F(Validation, BoundsOfTheTestedRulesPass) {
    const std::pair<TEdit*, const char*> texts[] = {
        {form->LabeledEdit_H_col, "2000"},      {form->LabeledEdit_L_beam, "16000"},  // ratio 0.125
        {form->LabeledEdit_d_b_up, "0"},        {form->LabeledEdit_d_b_down, "1500"},
        {form->LabeledEdit_Slab_Thickness, "0"}, {form->LabeledEdit_d_c_left, "1500"},
        {form->LabeledEdit_d_c_right, "0"},     {form->LabeledEdit_Adjust_R_y_c, "1.5"},
        {form->LabeledEdit_Adjust_Omega_h, "1"}, {form->LabeledEdit_Adjust_Beta_f, "1.2"},
        {form->Edit_LcToLwp, "0.1999"},
    };
    for (const auto& [edit, text] : texts) edit->SetText(text);
    form->CheckBox_adjust_Mat->SetCheckedSilent(true);
    form->CheckBox_adjust_Keff->SetCheckedSilent(true);  // so the minimum alpha L is sent and tested
    Forget();
    Run();
    EXPECT_TRUE(form->InputsValid);
    EXPECT_EQ(RunCount(), 1);
    EXPECT_EQ(ErrorBoxes(), std::vector<Box>{});

    form->LabeledEdit_H_col->SetText("20000");
    form->LabeledEdit_L_beam->SetText("2500");  // ratio 8
    Forget();
    Run();
    EXPECT_EQ(RunCount(), 1);
}

TEST_F(Validation, MaterialFactorsAreTestedOnlyWhileMaterialAdjustmentIsOn) {
    form->LabeledEdit_Adjust_R_y_c->SetText("9");
    form->LabeledEdit_Adjust_Beta_f->SetText("abc");  // not even read
    Run();
    EXPECT_TRUE(form->InputsValid);
    EXPECT_EQ(RunCount(), 1);
    EXPECT_EQ(ErrorBoxes(), std::vector<Box>{});

    // The run wrote the core grade's own factors back into the edits.
    form->CheckBox_adjust_Mat->SetCheckedSilent(true);
    form->LabeledEdit_Adjust_R_y_c->SetText("9");
    form->LabeledEdit_Adjust_Beta_f->SetText("abc");
    Forget();
    Run();
    EXPECT_FALSE(form->InputsValid);
    EXPECT_EQ(RunCount(), 0);
    EXPECT_EQ(Boxes(), std::vector<Box>{NoticeBox("Ry,c is allowable between 1 and 1.5.")});

    form->LabeledEdit_Adjust_R_y_c->SetText("1.2");
    Run();
    EXPECT_EQ(Boxes(), std::vector<Box>{ErrorBox("'abc' is not a valid floating point value")});
    EXPECT_EQ(RunCount(), 0);
}

TEST_F(Validation, ATextThatDoesNotConvertEndsTheRunWithTheConversionError) {
    struct Case {
        TEdit* edit;
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        // A column catalogue depth with a fraction refuses every design.
        {form->LabeledEdit_d_c_left, "320.5", "'320.5' is not a valid integer value"},
        {form->LabeledEdit_H_col, "", "'' is not a valid integer value"},
        {form->LabeledEdit_d_b_down, "8 50", "'8 50' is not a valid integer value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string kept = c.edit->Text();
        c.edit->SetText(c.text);
        form->MagnifyControlTab(2);
        form->InputsValid = false;  // so that the check's own first step shows
        Forget();
        Run();
        EXPECT_EQ(Boxes(), std::vector<Box>{ErrorBox(c.error)}) << "no rule message";
        EXPECT_TRUE(form->InputsValid);
        EXPECT_EQ(ShownPage(), 2) << "no page is shown";
        EXPECT_EQ(RunCount(), 0);
        EXPECT_EQ(c.edit->Color(), clCream);
        c.edit->SetText(kept);
    }
}

TEST_F(Validation, APendingOutOfRangeDistanceStopsARunThatEnterOnAnotherEditStarts) {
    ui::UserTypeText(form->LabeledEdit_Left_CD, "0");  // 750, no Enter
    form->LabeledEdit_Slab_Thickness->SetText("160");
    Forget();
    ui::UserPressEnter(form->LabeledEdit_Slab_Thickness);
    EXPECT_EQ(Boxes(), std::vector<Box>{NoticeBox("The clear distance is allowable between 75mm and 375mm.")});
    EXPECT_EQ(ShownPage(), 0);
    EXPECT_EQ(RunCount(), 0);
    EXPECT_EQ(form->LabeledEdit_Left_CD->Color(), clCream) << "still waiting for the user";
    EXPECT_TRUE(form->LabeledEdit_Slab_Thickness->Enabled());

    ui::UserTypeText(form->LabeledEdit_Left_CD, "\b");
    ui::UserPressEnter(form->LabeledEdit_Left_CD);
    EXPECT_EQ(RunCount(), 1);
    EXPECT_EQ(LastRunRequest()["FRAME"]["col_left_gap_for_L_brb"], 75);
    EXPECT_EQ(LastRunRequest()["FRAME"]["default_thickness_of_slab_for_L_brb"], 160);
}

TEST_F(Validation, RulesOfValuesThatTheRequestDoesNotSendDoNotStopARun) {
    // Ry,g: the request sends the gusset grade's own Ry. The minimum alpha L: sent only
    // with the stiffness adjustment on.
    form->LabeledEdit_Adjust_R_y_g->SetText("3");
    form->Edit_LcToLwp->SetText("0.1");
    form->CheckBox_adjust_Mat->SetCheckedSilent(true);
    Forget();
    Run();
    EXPECT_TRUE(form->InputsValid);
    EXPECT_EQ(RunCount(), 1);
    const nlohmann::json request = LastRunRequest();
    EXPECT_NEAR(request["Gusset"]["R_y_g"].get<double>(), 1.2, 1e-6);
    EXPECT_FALSE(request["Adjust"].contains("Lc_lower_Limit"));

    // The beam stress rule is written in tonf/mm^2; in kN-mm the default 0.324 goes out.
    form->ComboBox_Units->SetItemIndex(1);
    form->LabeledEdit_F_y_b->SetText("0.324");
    Forget();
    Run();
    EXPECT_EQ(RunCount(), 1);
    EXPECT_EQ(LastRunRequest()["General_Information"]["Units"], "kN-mm");
    EXPECT_NEAR(LastRunRequest()["FRAME"]["F_y_b"].get<double>(), 0.324, 1e-9);
}

TEST_F(Validation, ABeamDesignationThatDoesNotReadStopsTheRun) {
    const std::string kCount = "Invalid Section! Type four numbers: db x wb x tw x tf.";
    struct Case {
        const char* name;
        const char *lower, *upper;
        std::vector<Box> boxes;
    };
    const Case cases[] = {
        {"a bad lower beam with a new upper beam", "H594 x 302 x 14", "H700 x 300 x 13 x 24",
         {{ui::BoxKind::Message, "Lower beam: " + kCount}}},
        {"a bad upper beam", "H594 x 302 x 14 x 23", "H700 x 300 x 0.5 x 24",
         {{ui::BoxKind::Message, "Upper beam: Invalid Section! Each number must be at least 1, not 0.5."}}},
        {"both, lower first", "594 x 302 x 14.5.2 x 23", "H700",
         {{ui::BoxKind::Message, "Lower beam: Error: '14.5.2' is not a number."},
          {ui::BoxKind::Message, "Upper beam: " + kCount}}},
        {"a range rule first", "H594 x 302 x 14", "H700", {NoticeBox("Lbeam is allowable between 2000mm and 30000mm.")}},
    };
    const nlohmann::json before = nlohmann::json::parse(form->RequestText);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(form->HaveResult);
        const bool range = c.boxes.front().kind == ui::BoxKind::Notice;
        if (range) form->LabeledEdit_L_beam->SetText("40000");
        form->LabeledEdit_Beam_down->SetText(c.lower);
        form->LabeledEdit_Beam_up->SetText(c.upper);
        form->MagnifyControlTab(3);
        Forget();
        bool fresh = true;
        ui::Dispatch([&] { fresh = form->RunDesign(); });
        EXPECT_FALSE(fresh);
        EXPECT_EQ(Boxes(), c.boxes);
        EXPECT_EQ(ShownPage(), 0) << "the page with the beam edits";
        EXPECT_FALSE(form->InputsValid);
        EXPECT_EQ(RunCount(), 0);
        EXPECT_TRUE(design_run_tests::LampHidden(*form));
        EXPECT_EQ(form->LabeledEdit_Beam_down->Text(), c.lower) << "the typed text stays for mending";
        EXPECT_EQ(form->LabeledEdit_Beam_up->Text(), c.upper);
        EXPECT_EQ(form->LabeledEdit_Beam_up->Color(), clCream);
        if (range) form->LabeledEdit_L_beam->SetText("5000");
    }
    EXPECT_EQ(nlohmann::json::parse(form->RequestText), before) << "no request was built";

    // Mended, the next run sends both beams as typed.
    form->LabeledEdit_Beam_down->SetText("H594 x 302 x 14 x 23");
    form->LabeledEdit_Beam_up->SetText("H700 x 300 x 13 x 24");
    Forget();
    Run();
    ASSERT_EQ(RunCount(), 1);
    const nlohmann::json frame = LastRunRequest()["FRAME"];
    EXPECT_EQ(frame["BeamType_up"], "H700x300x13x24");
    EXPECT_EQ(frame["d_b_up"], 700);
    EXPECT_EQ(frame["BeamType_down"], "H594x302x14x23");
    EXPECT_EQ(form->LabeledEdit_Beam_up->Color(), clMaroon);
}

TEST_F(Validation, EnterOnABeamThatDoesNotReadShowsItsMessageAndTakesNothing) {
    ui::UserTypeText(form->LabeledEdit_Beam_up, " x 5");
    Forget();
    ui::UserPressEnter(form->LabeledEdit_Beam_up);
    EXPECT_EQ(Boxes(), (std::vector<Box>{{ui::BoxKind::Message,
                                          "Upper beam: Invalid Section! Type four numbers: db x wb x tw x tf."}}));
    EXPECT_EQ(RunCount(), 0);
    EXPECT_EQ(form->LabeledEdit_Beam_up->Color(), clCream) << "still pending";
}

}  // namespace
