// Capacity classes, the core type switch and the catalogue beam and column sections.
#include "platform/text/number_text.h"
#include "selector_fixture.h"

namespace {

using selector_tests::SelectorTest;
using Box = ui::HeadlessBackend::Box;

using SectionsTest = SelectorTest;

TEST_F(SectionsTest, ClassChoiceCopiesTcAndBcIntoTheBraceAndTheHiddenLabels) {
    struct Case {
        TComboBox* selector;
        const SectionTable* table;
        TLabel *tc, *bc;
        std::function<void()> apply;
    };
    const std::vector<Case> cases = {
        {form->ComboBox_Py, &form->CrossTypeSectionTable, form->Label_tc, form->Label_Bc,
         [&] { form->ApplyCrossTypeSection(); }},
        {form->ComboBox_SP_Py, &form->SinglePlateSectionTable, form->Label_tc_sp, form->Label_Bc_sp,
         [&] { form->ApplySinglePlateSection(); }},
    };
    for (const Case& c : cases) {
        c.selector->SetItemIndex(c.selector->Items().Count() - 1);
        const std::vector<float>& entry = c.table->at(c.selector->Text());
        ASSERT_EQ(entry.size(), 2u);
        c.apply();
        EXPECT_EQ(form->ClassTc, entry[0]);
        EXPECT_EQ(form->ClassBc, entry[1]);
        EXPECT_EQ(form->BraceValues.t_c, entry[0]);
        EXPECT_EQ(form->BraceValues.B_c, entry[1]);
        EXPECT_EQ(c.tc->Caption(), "tc = " + FloatToGeneralText(entry[0]));
        EXPECT_EQ(c.bc->Caption(), "Bc = " + FloatToGeneralText(entry[1]));
        EXPECT_FALSE(c.tc->Visible());
        EXPECT_FALSE(c.bc->Visible());
    }
    EXPECT_EQ(env.Headless().Boxes(), std::vector<Box>{});
    EXPECT_EQ(RunCount(), 0) << "applying a class runs no design";
}

TEST_F(SectionsTest, ClassWithoutTwoNumbersShowsTheCountAndLeavesTheTableAsItWas) {
    form->ComboBox_Py->SetItemIndex(0);
    form->ApplyCrossTypeSection();
    const float tc = form->ClassTc, bc = form->ClassBc;
    const std::string tc_caption = form->Label_tc->Caption();

    form->CrossTypeSectionTable["three numbers"] = {20, 190, 1};
    const SectionTable before = form->CrossTypeSectionTable;
    form->ComboBox_Py->Items().Add("not in the catalogue");
    form->ComboBox_Py->Items().Add("three numbers");
    for (const char* name : {"not in the catalogue", "three numbers"}) {
        form->ComboBox_Py->SetText(name);
        form->ApplyCrossTypeSection();
    }
    EXPECT_EQ(env.Headless().Boxes(), (std::vector<Box>{{ui::BoxKind::Message, "0"}, {ui::BoxKind::Message, "3"}}));
    EXPECT_EQ(form->CrossTypeSectionTable, before) << "a missing name gets no entry";
    EXPECT_EQ(form->ClassTc, tc);
    EXPECT_EQ(form->ClassBc, bc);
    EXPECT_EQ(form->BraceValues.t_c, tc);
    EXPECT_EQ(form->Label_tc->Caption(), tc_caption);
}

TEST_F(SectionsTest, SinglePlateChoiceAppliesItsClassAndRunsWithTheSelectorDisabled) {
    std::vector<bool> enabled_during_run;
    LookDuringRuns([&] { enabled_during_run.push_back(form->ComboBox_SP_Py->Enabled()); });
    form->ComboBox_SP_Py->SetItemIndex(1);
    form->ComboBox_SP_PyChange(form->ComboBox_SP_Py);
    EXPECT_EQ(enabled_during_run, std::vector<bool>{false});
    EXPECT_TRUE(form->ComboBox_SP_Py->Enabled());
    EXPECT_EQ(form->ClassTc, form->SinglePlateSectionTable.at(form->ComboBox_SP_Py->Text())[0]);
    EXPECT_EQ(RunCount(), 1);
}

TEST_F(SectionsTest, CoreTypeShowsTheClassListOfItsTypeAndTheRequestSendsThatClass) {
    form->ComboBox_SP_Py->SetItemIndex(2);
    form->ComboBox_BRB_Type->SetItemIndex(1);
    std::vector<bool> enabled_during_run;
    LookDuringRuns([&] { enabled_during_run.push_back(form->ComboBox_BRB_Type->Enabled()); });
    form->ComboBox_BRB_TypeChange(form->ComboBox_BRB_Type);
    EXPECT_EQ(enabled_during_run, std::vector<bool>{false});
    EXPECT_TRUE(form->ComboBox_BRB_Type->Enabled());
    EXPECT_TRUE(form->GroupBox_SP->Visible());
    EXPECT_FALSE(form->GroupBox4->Visible());

    env.Service().ClearFaults();
    env.Headless().SetWhileBoxOpen(nullptr);
    form->ComboBox_BRB_Type->SetItemIndex(0);
    form->ComboBox_BRB_TypeChange(form->ComboBox_BRB_Type);
    EXPECT_TRUE(form->GroupBox4->Visible());
    EXPECT_FALSE(form->GroupBox_SP->Visible());
    EXPECT_EQ(RunCount(), 2);
}

TEST_F(SectionsTest, CatalogueBeamChoiceWritesTheEditAndSendsTheSectionName) {
    struct Case {
        TComboBox* selector;
        TLabeledEdit* edit;
        std::string TSectionNames::*name;
        const char* request_key;
        std::function<void()> choose;
    };
    const std::vector<Case> cases = {
        {form->ComboBox_UpperBeam, form->LabeledEdit_Beam_up, &TSectionNames::UpperBeam, "UB_Upper_Beam",
         [&] { form->ComboBox_UpperBeamChange(form->ComboBox_UpperBeam); }},
        {form->ComboBox_LowerBeam, form->LabeledEdit_Beam_down, &TSectionNames::LowerBeam, "UB_Lower_Beam",
         [&] { form->ComboBox_LowerBeamChange(form->ComboBox_LowerBeam); }},
    };
    for (const Case& c : cases) {
        Forget();
        c.selector->SetItemIndex(c.selector->Items().Count() / 2);
        const std::string section = c.selector->Text();
        const std::vector<float>& dims = form->UniversalBeamTable.at(section);
        ASSERT_GE(dims.size(), 4u);

        // The edit's text changes four times, the way typing would change it.
        std::vector<std::string> texts;
        const TNotifyEvent handler = c.edit->OnChange;
        c.edit->OnChange = [&](TObject* sender) {
            texts.push_back(c.edit->Text());
            if (handler) handler(sender);
        };
        c.choose();
        c.edit->OnChange = handler;
        const std::string d = FormatByPicture("0", dims[0]), w = FormatByPicture("0", dims[1]);
        const std::string tw = FormatByPicture("0.##", dims[2]), tf = FormatByPicture("0.##", dims[3]);
        ASSERT_GE(texts.size(), 4u);
        EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.begin() + 4),
                  (std::vector<std::string>{d, d + " " + w, d + " " + w + " " + tw, d + " " + w + " " + tw + " " + tf}));

        EXPECT_EQ(form->SectionNames.*c.name, section) << "the name outlives the edit's own changes";
        EXPECT_EQ(RunCount(), 1);
        const nlohmann::json frame = LastRunRequest()["FRAME"];
        EXPECT_EQ(frame[c.request_key], section);
        EXPECT_EQ(c.selector->Width(), 22);
        EXPECT_EQ(c.selector->Left(), 280);
        EXPECT_EQ(ErrorBoxes(), std::vector<Box>{});
    }
}

TEST_F(SectionsTest, CatalogueColumnChoiceWritesTheDepthInWholeMillimetresAndSendsTheName) {
    struct Case {
        const char* section;
        bool left;
        const char* depth;  // the catalogue's depth rounded half away from zero
    };
    const Case cases[] = {
        {"UC305x305x137", true, "321"},   // 320.5
        {"UC356x406x551", false, "456"},  // 455.6, held as 455.600006103516
        {"UC356x406x393", true, "419"},   // 419.0
        {"UC254x254x73", false, "254"},   // 254.1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section);
        TComboBox* selector = c.left ? form->ComboBox_LeftColumn : form->ComboBox_RightColumn;
        TLabeledEdit* edit = c.left ? form->LabeledEdit_d_c_left : form->LabeledEdit_d_c_right;
        TLabeledEdit* other = c.left ? form->LabeledEdit_d_c_right : form->LabeledEdit_d_c_left;
        const std::string other_depth = other->Text();
        Forget();
        selector->SetText(c.section);
        ASSERT_EQ(selector->Text(), c.section);
        EXPECT_TRUE(ui::Dispatch([&] { selector->OnSelect(selector); }));
        EXPECT_EQ(edit->Text(), c.depth);
        EXPECT_EQ(env.Headless().Boxes(), std::vector<Box>{}) << "no conversion error";
        ASSERT_EQ(RunCount(), 1);
        const nlohmann::json frame = LastRunRequest()["FRAME"];
        EXPECT_EQ(frame[c.left ? "d_c_left" : "d_c_right"], std::stoi(c.depth));
        EXPECT_EQ(frame[c.left ? "UC_Left_Column" : "UC_Right_Column"], c.section);
        EXPECT_EQ(frame[c.left ? "d_c_right" : "d_c_left"], std::stoi(other_depth)) << "the other column keeps its own";
        EXPECT_EQ(selector->Width(), 22);
        EXPECT_EQ(selector->Left(), c.left ? 120 : 128);
        EXPECT_TRUE(selector->Enabled());
    }
}

TEST_F(SectionsTest, ACatalogueSelectorGoesBackToRestWhenItsRunFails) {
    struct Case {
        const char* name;
        TComboBox* selector;
        std::function<void()> widen;
        int left;
    };
    const std::vector<Case> cases = {
        {"upper beam", form->ComboBox_UpperBeam, [&] { form->ComboBox_UpperBeamMouseEnter(nullptr); }, 280},
        {"lower beam", form->ComboBox_LowerBeam, [&] { form->ComboBox_LowerBeamMouseEnter(nullptr); }, 280},
        {"left column", form->ComboBox_LeftColumn, [&] { form->ComboBox_LeftColumnMouseEnter(nullptr); }, 120},
        {"right column", form->ComboBox_RightColumn, [&] { form->ComboBox_RightColumnMouseEnter(nullptr); }, 128},
    };
    // A run that throws on its way (a text that does not convert), and one that its
    // check refuses.
    const std::pair<const char*, const char*> failures[] = {{"", "'' is not a valid integer value"},
                                                            {"1000", "Hcol is allowable between 2000mm and 20000mm."}};
    for (const auto& [height, message] : failures) {
        form->LabeledEdit_H_col->SetText(height);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " / " + message);
            Forget();
            c.widen();
            ASSERT_NE(c.selector->Width(), 22);
            c.selector->SetItemIndex(c.selector->Items().Count() - 2);
            ui::Dispatch([&] { c.selector->OnSelect(c.selector); });
            ASSERT_EQ(env.Headless().Boxes().size(), 1u);
            EXPECT_EQ(env.Headless().Boxes()[0].text, message);
            EXPECT_EQ(RunCount(), 0);
            EXPECT_EQ(c.selector->Width(), 22);
            EXPECT_EQ(c.selector->Left(), c.left);
        }
    }
}

TEST_F(SectionsTest, AValueTypedAfterARefusedChoiceDropsTheCatalogueName) {
    struct Case {
        const char* name;
        TComboBox* selector;
        TLabeledEdit* edit;
        const char* typed;  // in place of the catalogue's text
        const char* name_key;
        const char* value_key;
        nlohmann::json sent;
    };
    const std::vector<Case> cases = {
        {"left column", form->ComboBox_LeftColumn, form->LabeledEdit_d_c_left, "500", "UC_Left_Column", "d_c_left",
         500},
        {"upper beam", form->ComboBox_UpperBeam, form->LabeledEdit_Beam_up, "H700 x 300 x 13 x 24", "UB_Upper_Beam",
         "BeamType_up", "H700x300x13x24"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The choice's run is refused: its edit stays pending with the section's name.
        Forget();
        form->LabeledEdit_H_col->SetText("1000");
        c.selector->SetItemIndex(1);
        ui::Dispatch([&] { c.selector->OnSelect(c.selector); });
        ASSERT_EQ(form->LabeledEdit_H_col->Text(), "1000");
        ASSERT_EQ(c.edit->Color(), clCream);
        ASSERT_EQ(RunCount(), 0);
        ASSERT_EQ(form->SectionNames.LeftColumn + form->SectionNames.UpperBeam, c.selector->Text());

        ui::UserTypeText(c.edit, std::string(c.edit->Text().size(), '\b') + c.typed);
        form->LabeledEdit_H_col->SetText("4000");
        Forget();
        ui::UserPressEnter(c.edit);
        ASSERT_EQ(RunCount(), 1) << env.Headless().Boxes().size();
        const nlohmann::json frame = LastRunRequest()["FRAME"];
        EXPECT_FALSE(frame.contains(c.name_key)) << "the typed value is not the catalogue's section";
        EXPECT_EQ(frame[c.value_key], c.sent);
    }
}

TEST_F(SectionsTest, SectionMissingFromItsCatalogueShowsTheCountAndChangesNothing) {
    const std::string beam_text = form->LabeledEdit_Beam_up->Text();
    const std::string depth_text = form->LabeledEdit_d_c_left->Text();
    const std::size_t beams = form->UniversalBeamTable.size();
    form->ComboBox_UpperBeam->Items().Add("UB unknown");
    form->ComboBox_UpperBeam->SetText("UB unknown");
    form->ComboBox_UpperBeamMouseEnter(form->ComboBox_UpperBeam);
    form->ComboBox_UpperBeamChange(form->ComboBox_UpperBeam);
    form->UniversalColumnTable["UC short"] = {};
    form->ComboBox_LeftColumn->Items().Add("UC short");
    form->ComboBox_LeftColumn->SetText("UC short");
    form->ComboBox_LeftColumnChange(form->ComboBox_LeftColumn);

    EXPECT_EQ(env.Headless().Boxes(), (std::vector<Box>{{ui::BoxKind::Message, "0"}, {ui::BoxKind::Message, "0"}}));
    EXPECT_EQ(form->LabeledEdit_Beam_up->Text(), beam_text);
    EXPECT_EQ(form->LabeledEdit_d_c_left->Text(), depth_text);
    EXPECT_EQ(form->SectionNames.UpperBeam, "");
    EXPECT_EQ(form->SectionNames.LeftColumn, "");
    EXPECT_EQ(form->UniversalBeamTable.size(), beams) << "a missing name gets no entry";
    EXPECT_EQ(RunCount(), 0);
    EXPECT_EQ(form->ComboBox_UpperBeam->Width(), 22) << "the selector goes back to rest";
}

TEST_F(SectionsTest, CatalogueSelectorsWidenUnderTheMouseAndNarrowInTheirGroup) {
    struct Step {
        std::function<void()> enter;
        TComboBox* selector;
        int width, left;
    };
    const std::vector<Step> steps = {
        {[&] { form->ComboBox_UpperBeamMouseEnter(nullptr); }, form->ComboBox_UpperBeam, 246, 56},
        {[&] { form->ComboBox_LowerBeamMouseEnter(nullptr); }, form->ComboBox_LowerBeam, 246, 56},
        {[&] { form->GroupBox_UpperMouseEnter(nullptr); }, form->ComboBox_UpperBeam, 22, 280},
        {[] {}, form->ComboBox_LowerBeam, 22, 280},
        {[&] { form->ComboBox_LeftColumnMouseEnter(nullptr); }, form->ComboBox_LeftColumn, 136, 10},
        {[&] { form->ComboBox_RightColumnMouseEnter(nullptr); }, form->ComboBox_RightColumn, 138, 10},
        {[&] { form->GroupBox14MouseEnter(nullptr); }, form->ComboBox_LeftColumn, 22, 120},
        {[] {}, form->ComboBox_RightColumn, 138, 10},
        {[&] { form->GroupBox15MouseEnter(nullptr); }, form->ComboBox_RightColumn, 22, 128},
        {[&] { form->ComboBox_LeftColumnMouseEnter(nullptr); }, form->ComboBox_LeftColumn, 136, 10},
        {[&] { form->ComboBox_RightColumnMouseEnter(nullptr); }, form->ComboBox_RightColumn, 138, 10},
        {[&] { form->GroupBox1MouseEnter(nullptr); }, form->ComboBox_LeftColumn, 22, 120},
        {[] {}, form->ComboBox_RightColumn, 22, 128},
    };
    // At rest as the layout has them.
    EXPECT_EQ(form->ComboBox_UpperBeam->Left(), 279);
    EXPECT_EQ(form->ComboBox_LeftColumn->Width(), 24);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        steps[i].enter();
        EXPECT_EQ(steps[i].selector->Width(), steps[i].width) << "step " << i;
        EXPECT_EQ(steps[i].selector->Left(), steps[i].left) << "step " << i;
    }
}

}  // namespace
