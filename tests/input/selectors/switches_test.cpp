// The configuration and connection switches: what each does before, during and after
// its design run, and how many runs reach the service.
#include <cstdio>

#include "platform/ui/input.h"
#include "selector_fixture.h"

namespace {

using selector_tests::SelectorTest;

using SwitchesTest = SelectorTest;

// What the window shows while a run's request is on its way.
struct DuringRun {
    bool selector_enabled;
    std::string cfg, ctype;
    bool design_page_shown;
    int option_count, option_index;
};

TEST_F(SwitchesTest, ConfigurationSwitchRunsOnceThenShowsTheBrbPageAndAllChecks) {
    form->Panel_sb_DesignMouseEnter(form->Panel_sb_Design);
    std::vector<DuringRun> seen;
    LookDuringRuns([&] {
        seen.push_back({form->ComboBox_cfg->Enabled(), form->CfgText, form->CtypeText,
                        form->GroupBox_sb_Design->Visible(), form->ComboBox_DCR_Output_Option->Items().Count(),
                        form->ComboBox_DCR_Output_Option->ItemIndex()});
    });
    form->ComboBox_cfg->SetItemIndex(1);
    form->ComboBox_cfgChange(form->ComboBox_cfg);

    ASSERT_EQ(seen.size(), 1u) << "the stiffness adjustment is off: one run";
    EXPECT_FALSE(seen[0].selector_enabled);
    EXPECT_EQ(seen[0].cfg, "Chevron");
    EXPECT_EQ(seen[0].ctype, "Welded");
    EXPECT_TRUE(seen[0].design_page_shown) << "the side bar changes only after the run";
    EXPECT_EQ(RunCount(), 1);

    EXPECT_TRUE(form->ComboBox_cfg->Enabled());
    EXPECT_EQ(form->CfgText, "Chevron");
    EXPECT_TRUE(form->GroupBox_sb_Result_BRB->Visible());
    EXPECT_FALSE(form->GroupBox_sb_Design->Visible());
    EXPECT_TRUE(form->RadioGroup_Part->Visible());
    EXPECT_EQ(form->Panel_sb_Result_BRB->Width(), 35);
    EXPECT_EQ(form->ComboBox_DCR_Output_Option->ItemIndex(), 0);
    EXPECT_EQ(form->ComboBox_DCR_Output_Option->Text(), "all");
}

TEST_F(SwitchesTest, ChevronSwitchWithStiffnessAdjustmentRunsTwiceAndLeavesItOff) {
    form->CheckBox_adjust_Keff->SetChecked(true);
    ASSERT_TRUE(form->CheckBox_adjust_Keff->Checked());
    Forget();
    std::vector<DuringRun> seen;
    LookDuringRuns([&] { seen.push_back({form->ComboBox_cfg->Enabled(), form->CfgText, form->CtypeText, false, 0, 0}); });
    form->ComboBox_cfg->SetItemIndex(1);
    form->ComboBox_cfgChange(form->ComboBox_cfg);

    EXPECT_EQ(RunCount(), 2) << "the check box's own run, then the switch's";
    ASSERT_EQ(seen.size(), 2u);
    for (const DuringRun& run : seen) {
        EXPECT_FALSE(run.selector_enabled);
        EXPECT_EQ(run.cfg, "Chevron") << "both runs are already Chevron runs";
    }
    EXPECT_FALSE(form->CheckBox_adjust_Keff->Checked());
}

// The ratio text of the all-checks list: four decimals, cut to four characters, and a
// passing "1.00" shown as "0.99".
std::string RatioText(double ratio) {
    char text[64];
    std::snprintf(text, sizeof text, "%.4f", ratio);
    std::string shown = std::string(text).substr(0, 4);
    if (ratio < 1.0 && shown == "1.00") shown = "0.99";
    return shown;
}

TEST_F(SwitchesTest, BackToDiagonalRunsOnceKeepsTheAdjustmentAndShowsAllChecksOfTheFullList) {
    form->ComboBox_cfg->SetItemIndex(1);
    form->ComboBox_cfgChange(form->ComboBox_cfg);
    form->CheckBox_adjust_Keff->SetChecked(true);
    // The middle gusset's short list, and one of its checks in detail.
    ui::UserMouseEnter(form->Panel_sb_Check);
    ui::UserChooseItem(form->RadioGroup_DCR, 1);
    TComboBox* view = form->ComboBox_DCR_Output_Option;
    ASSERT_EQ(view->Items().Count(), 4);
    view->SetItemIndex(2);
    form->ComboBox_DCR_Output_OptionChange(view);
    ASSERT_EQ(form->StringGrid_DCR->RowCount(), 10);
    Forget();

    ui::UserMouseEnter(form->Panel_control_BRB);
    ui::UserChooseItem(form->ComboBox_cfg, 0);
    EXPECT_EQ(RunCount(), 1);
    EXPECT_EQ(form->CfgText, "Diagonal");
    EXPECT_TRUE(form->CheckBox_adjust_Keff->Checked());
    EXPECT_FALSE(form->RadioGroup_Part->Visible());
    EXPECT_TRUE(form->GroupBox_sb_Result_BRB->Visible());
    EXPECT_EQ(form->GroupBox_sb_Result_BRB->Top(), 85);
    const TStrings& options = view->Items();
    ASSERT_EQ(options.Count(), 16) << "a Diagonal view is read by its place in the full list";
    EXPECT_EQ(options[10], "DCR-7-1");
    EXPECT_EQ(view->ItemIndex(), 0);
    EXPECT_EQ(view->Text(), "all");

    // The list of the new run's result, every row.
    const TStringGrid* grid = form->StringGrid_DCR;
    ASSERT_EQ(grid->ColCount(), 3);
    ASSERT_EQ(grid->RowCount(), 21);
    const char* const rows[21][2] = {
        {"DCR-1", "1"},           {"DCR-2", "2"},           {"DCR-3-Upper", "3_up"},  {"DCR-3-Lower", "3_down"},
        {"DCR-4", "4"},           {"DCR-5-Upper", "5_up"},  {"DCR-5-Lower", "5_down"}, {"DCR-6-Upper", "6_up"},
        {"DCR-6-Lower", "6_down"}, {"DCR-7-1-Upper", "7_up_c1"}, {"DCR-7-2-Upper", "7_up_c2"},
        {"DCR-7-3-Upper", "7_up_c3"}, {"DCR-7-4-Upper", "7_up_c4"}, {"DCR-7-5-Upper", "7_up_c5"},
        {"DCR-7-6-Upper", "7_up_c6"}, {"DCR-7-1-Lower", "7_down_c1"}, {"DCR-7-2-Lower", "7_down_c2"},
        {"DCR-7-3-Lower", "7_down_c3"}, {"DCR-7-4-Lower", "7_down_c4"}, {"DCR-7-5-Lower", "7_down_c5"},
        {"DCR-7-6-Lower", "7_down_c6"}};
    const jsonxx::Object& result = form->ResultObject;
    ASSERT_FALSE(result.has<jsonxx::Object>("LEFT")) << "the switch's own Diagonal result";
    for (int r = 0; r < 21; ++r) {
        SCOPED_TRACE(rows[r][0]);
        const std::string key = std::string("DCR_") + rows[r][1];
        ASSERT_TRUE(result.has<double>(key));
        const double ratio = result.get<double>(key);
        EXPECT_EQ(grid->Cells(0, r), rows[r][0]);
        EXPECT_EQ(grid->Cells(1, r), RatioText(ratio));
        EXPECT_EQ(grid->Cells(2, r), ratio >= 1.0 ? " NG" : "");
    }
}

TEST_F(SwitchesTest, ConnectionSwitchRefillsTheCheckListBeforeItsRunAndShowsTheBoltedGroup) {
    struct Case {
        int item;
        const char* ctype;
        bool bolted_group;
        int options;
        const char* last_option;
    };
    form->Panel_sb_DesignMouseEnter(form->Panel_sb_Design);
    std::vector<DuringRun> seen;
    LookDuringRuns([&] {
        seen.push_back({form->ComboBox_Connection_Type->Enabled(), form->CfgText, form->CtypeText,
                        form->GroupBox_sb_Design->Visible(), form->ComboBox_DCR_Output_Option->Items().Count(),
                        form->ComboBox_DCR_Output_Option->ItemIndex()});
    });
    for (const Case& c : {Case{1, "Bolted", true, 21, "DCR-12-6"}, Case{0, "Welded", false, 16, "DCR-7-6"}}) {
        seen.clear();
        Forget();
        form->ComboBox_Connection_Type->SetItemIndex(c.item);
        form->ComboBox_Connection_TypeChange(form->ComboBox_Connection_Type);
        ASSERT_EQ(seen.size(), 1u) << c.ctype;
        EXPECT_FALSE(seen[0].selector_enabled);
        EXPECT_EQ(seen[0].ctype, c.ctype);
        EXPECT_EQ(seen[0].cfg, "Diagonal");
        EXPECT_EQ(seen[0].option_count, c.options) << "the list is refilled before the run";
        EXPECT_EQ(seen[0].option_index, -1) << "and the run meets no view chosen yet";
        EXPECT_EQ(RunCount(), 1);

        EXPECT_EQ(form->CtypeText, c.ctype);
        EXPECT_EQ(form->GroupBox_Bolted_core->Visible(), c.bolted_group);
        const TStrings& options = form->ComboBox_DCR_Output_Option->Items();
        ASSERT_EQ(options.Count(), c.options);
        EXPECT_EQ(options[c.options - 1], c.last_option);
        EXPECT_TRUE(form->GroupBox_sb_Result_BRB->Visible());
        form->Panel_sb_DesignMouseEnter(form->Panel_sb_Design);
    }
}

TEST_F(SwitchesTest, ChevronConnectionSwitchClearsTheStiffnessAdjustmentFirst) {
    form->ComboBox_cfg->SetItemIndex(1);
    form->ComboBox_cfgChange(form->ComboBox_cfg);
    form->CheckBox_adjust_Keff->SetChecked(true);
    Forget();
    form->ComboBox_Connection_Type->SetItemIndex(1);
    form->ComboBox_Connection_TypeChange(form->ComboBox_Connection_Type);
    EXPECT_EQ(RunCount(), 2);
    EXPECT_FALSE(form->CheckBox_adjust_Keff->Checked());
    EXPECT_EQ(form->CfgText, "Chevron");
    EXPECT_EQ(form->CtypeText, "Bolted");
}

}  // namespace
