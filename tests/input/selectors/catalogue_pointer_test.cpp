// The catalogue selectors as the user reaches them: the pointer widens the selector it
// lands on and its group narrows it again, and a pick from the list applies the
// section, also the one each selector shows from the start.
#include "selector_fixture.h"

namespace {

using selector_tests::SelectorTest;

// The control's place in the form's client area.
TPoint Origin(const TControl* control) {
    TPoint at{0, 0};
    for (const TControl* c = control; c && !dynamic_cast<const TForm*>(c); c = c->Parent()) {
        at.X += c->Left();
        at.Y += c->Top();
    }
    return at;
}

TPoint Centre(const TControl* control) {
    const TPoint at = Origin(control);
    return {at.X + control->Width() / 2, at.Y + control->Height() / 2};
}

using CataloguePointerTest = SelectorTest;

TEST_F(CataloguePointerTest, OneJumpOntoASelectorWidensItAndItsGroupsFreeAreaNarrowsIt) {
    struct Case {
        TComboBox* selector;
        TGroupBox* group;  // the innermost group around it
        int wide_width, wide_left, rest_width, rest_left;
    };
    const std::vector<Case> cases = {
        {form->ComboBox_UpperBeam, form->GroupBox_Upper, 246, 56, 22, 280},
        {form->ComboBox_LowerBeam, form->GroupBox_Upper, 246, 56, 22, 280},
        {form->ComboBox_LeftColumn, form->GroupBox14, 136, 10, 22, 120},
        {form->ComboBox_RightColumn, form->GroupBox15, 138, 10, 22, 128},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.selector->Name());
        ASSERT_TRUE(c.selector->Visible()) << "the catalogue fills and shows the selector";
        ui::UserPointerLeft(form);
        const TPoint centre = Centre(c.selector);
        ASSERT_EQ(ui::ControlAtPoint(form, centre.X, centre.Y), c.selector);
        ui::UserPointAt(form, centre.X, centre.Y);
        EXPECT_EQ(c.selector->Width(), c.wide_width);
        EXPECT_EQ(c.selector->Left(), c.wide_left);
        // Along the widened selector, over where the edit is.
        ui::UserPointAt(form, Origin(c.selector).X + 5, centre.Y);
        EXPECT_EQ(c.selector->Width(), c.wide_width);
        // The group's free corner.
        const TPoint corner{Origin(c.group).X + 4, Origin(c.group).Y + c.group->Height() - 4};
        ASSERT_EQ(ui::ControlAtPoint(form, corner.X, corner.Y), c.group);
        ui::UserPointAt(form, corner.X, corner.Y);
        EXPECT_EQ(c.selector->Width(), c.rest_width);
        EXPECT_EQ(c.selector->Left(), c.rest_left);
    }
    // The side bar's tabs open their page on the same road.
    ui::UserPointAt(form, Centre(form->Panel_sb_Check).X, Centre(form->Panel_sb_Check).Y);
    EXPECT_TRUE(form->GroupBox_sb_Check->Visible());
    EXPECT_FALSE(form->GroupBox_sb_Result_BRB->Visible());
    EXPECT_EQ(RunCount(), 0) << "the pointer designs nothing";
}

// Catalogues whose first sections have whole-millimetre column depths.
class FirstItemTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.Service().FailMethod(
            "Get_Universal_Columns",
            testing_support::ReplyFault(R"({"result":[{"1":{"SEC":"UC305x305x97","D":"308","W":"305","tw":"9.9","tf":"15.4"},)"
                                        R"("2":{"SEC":"UC254x254x73","D":"254","W":"254.6","tw":"8.6","tf":"14.2"}}]})"));
        form = env.Create();
        ASSERT_NE(form, nullptr);
        env.Service().ClearRequestTargets();
        env.Headless().TakeBoxes();
    }

    nlohmann::json LastFrame() const {
        const std::vector<std::string> methods = env.Methods();
        for (auto m = methods.rbegin(); m != methods.rend(); ++m)
            if (m->rfind(selector_tests::kRunMethod, 0) == 0)
                return nlohmann::json::parse(m->substr(selector_tests::kRunMethod.size()))["FRAME"];
        ADD_FAILURE() << "no design run reached the service";
        return nlohmann::json::object();
    }

    testing_support::FormEnvironment env;
    DOVEREForm* form = nullptr;
};

TEST_F(FirstItemTest, PickingTheItemShownFromTheStartAppliesItsSection) {
    struct Case {
        TComboBox* selector;
        TLabeledEdit* edit;
        const char* section;
        const char* name_key;
        const char* number_key;
        double number;
        const char* edit_text;  // after the run's request build
    };
    const std::vector<Case> cases = {
        {form->ComboBox_UpperBeam, form->LabeledEdit_Beam_up, "UB914x419x388", "UB_Upper_Beam", "d_b_up", 921,
         "H921x421x21.4x36.6"},
        {form->ComboBox_LowerBeam, form->LabeledEdit_Beam_down, "UB914x419x388", "UB_Lower_Beam", "d_b_down", 921,
         "H921x421x21.4x36.6"},
        {form->ComboBox_LeftColumn, form->LabeledEdit_d_c_left, "UC305x305x97", "UC_Left_Column", "d_c_left", 308,
         "308"},
        {form->ComboBox_RightColumn, form->LabeledEdit_d_c_right, "UC305x305x97", "UC_Right_Column", "d_c_right", 308,
         "308"},
    };
    int runs = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section);
        ASSERT_EQ(c.selector->ItemIndex(), 0);
        ASSERT_EQ(c.selector->Text(), c.section);
        ui::UserChooseItem(c.selector, 0);
        EXPECT_EQ(c.edit->Text(), c.edit_text);
        for (const auto& box : env.Headless().TakeBoxes())
            EXPECT_NE(box.kind, ui::BoxKind::Error) << box.text;  // advice may come
        ++runs;
        int seen = 0;
        for (const std::string& m : env.Methods()) seen += m.rfind(selector_tests::kRunMethod, 0) == 0;
        ASSERT_EQ(seen, runs) << "one design per pick";
        const nlohmann::json frame = LastFrame();
        EXPECT_EQ(frame[c.name_key], c.section);
        EXPECT_EQ(frame[c.number_key], c.number);
    }
    // Picked again, the same section is designed again: the pick is the user's.
    ui::UserChooseItem(form->ComboBox_LeftColumn, 0);
    int seen = 0;
    for (const std::string& m : env.Methods()) seen += m.rfind(selector_tests::kRunMethod, 0) == 0;
    EXPECT_EQ(seen, runs + 1);
}

}  // namespace
