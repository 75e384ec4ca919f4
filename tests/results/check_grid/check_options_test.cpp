// The check view selector: its item lists by connection and side, the two side
// selectors, the double click into a detail view, the ways back to the all-checks
// list and the gauge-row pictures.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/input.h"
#include "support/form_environment.h"

namespace {

std::vector<std::string> Items(const TComboBox* combo) { return combo->Items().List(); }

class CheckOptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = env.Create();
        ASSERT_NE(form, nullptr);
        options = form->ComboBox_DCR_Output_Option;
        grid = form->StringGrid_DCR;
    }

    void View(int item) {
        options->SetItemIndex(item);
        form->ComboBox_DCR_Output_OptionChange(options);
    }

    void MakeChevron() {
        form->ComboBox_cfg->SetItemIndex(1);
        form->ComboBox_cfgChange(form->ComboBox_cfg);
        ASSERT_EQ(form->CfgText, "Chevron");
    }

    void MakeBolted() {
        form->ComboBox_Connection_Type->SetItemIndex(1);
        form->ComboBox_Connection_TypeChange(form->ComboBox_Connection_Type);
        ASSERT_EQ(form->CtypeText, "Bolted");
    }

    void ShowCheckPage() { ui::UserMouseEnter(form->Panel_sb_Check); }

    testing_support::FormEnvironment env;
    DOVEREForm* form = nullptr;
    TComboBox* options = nullptr;
    TStringGrid* grid = nullptr;
};

TEST_F(CheckOptionsTest, TheWindowOffersTheWeldedListAndABoltedConnectionItsOwn) {
    EXPECT_EQ(options->Items().Count(), 16);
    EXPECT_EQ(options->Items()[15], "DCR-7-6");
    EXPECT_EQ(options->ItemIndex(), 0);
    EXPECT_EQ(options->Text(), "all");

    form->CtypeText = "Bolted";
    form->FillCheckOptions();
    EXPECT_EQ(options->Items().Count(), 21);
    EXPECT_EQ(options->Items()[20], "DCR-12-6");
    EXPECT_EQ(options->ItemIndex(), -1);
}

TEST_F(CheckOptionsTest, AChevronWeldedCheckSideChoosesTheMiddleOrTheSideList) {
    MakeChevron();
    ShowCheckPage();
    ASSERT_TRUE(form->RadioGroup_DCR->Visible());
    View(4);

    ui::UserChooseItem(form->RadioGroup_DCR, 1);
    EXPECT_EQ(Items(options), (std::vector<std::string>{"all", "DCR-7-1", "DCR-7-2", "DCR-7-3"}));
    EXPECT_EQ(options->ItemIndex(), 0);
    EXPECT_EQ(grid->RowCount(), 3);
    EXPECT_EQ(grid->Height(), 70);
    EXPECT_TRUE(options->Enabled());

    ui::UserChooseItem(form->RadioGroup_DCR, 2);
    ASSERT_EQ(options->Items().Count(), 16);
    EXPECT_EQ(options->Items()[3], "DCR-3-Upper");
    EXPECT_EQ(options->Items()[4], "DCR-3-Lower");
    EXPECT_EQ(options->ItemIndex(), 0);
    EXPECT_EQ(grid->RowCount(), 15);
}

TEST_F(CheckOptionsTest, AChevronCheckSidePickReadsTheGaugeRatiosOfThatSide) {
    MakeChevron();
    ShowCheckPage();
    const jsonxx::Object& r = form->ResultObject;
    ASSERT_TRUE(r.has<jsonxx::Object>("RIGHT")) << "the switch's own Chevron result";
    const auto ratio = [](const jsonxx::Object& from, const char* key) {
        return static_cast<float>(from.get<double>(key));
    };
    ASSERT_EQ(form->RadioGroup_DCR->ItemIndex(), 0);
    ASSERT_EQ(form->GaugeValues.size(), 15u);

    ui::UserChooseItem(form->RadioGroup_DCR, 1);
    EXPECT_EQ(form->GaugeValues,
              (std::vector<float>{ratio(r, "DCR_7_mg_c1"), ratio(r, "DCR_7_mg_c2"), ratio(r, "DCR_7_mg_c3")}));

    ui::UserChooseItem(form->RadioGroup_DCR, 2);
    const jsonxx::Object& right = r.get<jsonxx::Object>("RIGHT");
    ASSERT_EQ(form->GaugeValues.size(), 15u);
    EXPECT_EQ(form->GaugeValues.front(), ratio(right, "DCR_1"));
    EXPECT_EQ(form->GaugeValues[9], ratio(right, "DCR_7_down_c1"));
    EXPECT_EQ(form->GaugeValues.back(), ratio(right, "DCR_7_down_c6"));
}

TEST_F(CheckOptionsTest, TheCheckSideInADiagonalBayKeepsTheItemsAndShowsAllChecks) {
    options->Items().Assign({"all", "one", "two", "three"});
    View(2);
    form->RadioGroup_DCRClick(form->RadioGroup_DCR);
    EXPECT_EQ(Items(options), (std::vector<std::string>{"all", "one", "two", "three"}));
    EXPECT_EQ(options->ItemIndex(), 0);
    EXPECT_EQ(grid->RowCount(), 21);
}

TEST_F(CheckOptionsTest, ADoubleClickOnAListRowOpensItsCheckAndOnADetailDoesNothing) {
    ShowCheckPage();
    ui::UserDoubleClickCell(grid, 0, 0);
    EXPECT_EQ(options->ItemIndex(), 1);
    EXPECT_EQ(options->Text(), "DCR-1");
    EXPECT_EQ(grid->RowCount(), 7);

    ui::UserDoubleClickCell(grid, 1, 3);
    EXPECT_EQ(options->ItemIndex(), 1) << "a detail view stays";
    EXPECT_EQ(grid->RowCount(), 7);

    struct Case {
        int col, row;
        int item;  // 0: the list stays
        const char* text;
        int rows;
        const char* symbol;  // the detail's first value, or the list's first symbol
    };
    const Case cases[] = {
        {1, 8, 9, "DCR-6-lower", 8, "DCR-6-Lower"},
        {0, 13, 14, "DCR-7-5", 10, "DCR-7-5-Upper"},
        {2, 14, 15, "DCR-7-6", 10, "DCR-7-6-Upper"},  // the last item of the list
        {0, 15, 0, "all", 21, "DCR-1"},               // the first row past it
        {0, 18, 0, "all", 21, "DCR-1"},
        {1, 20, 0, "all", 21, "DCR-1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("row " + std::to_string(c.row));
        View(0);
        ui::UserDoubleClickCell(grid, c.col, c.row);
        EXPECT_EQ(options->ItemIndex(), c.item);
        EXPECT_EQ(options->Text(), c.text);
        EXPECT_EQ(grid->RowCount(), c.rows);
        EXPECT_EQ(grid->Cells(c.item ? 1 : 0, 0), c.symbol);
    }
}

TEST_F(CheckOptionsTest, ADoubleClickOnTheMiddlePlateListOpensItsFirstConnection) {
    MakeChevron();
    ShowCheckPage();
    ui::UserChooseItem(form->RadioGroup_DCR, 1);
    ui::UserDoubleClickCell(grid, 0, 0);
    EXPECT_EQ(options->Text(), "DCR-7-1");
    EXPECT_EQ(grid->RowCount(), 10);
}

TEST_F(CheckOptionsTest, TheBackgroundThePageAndItsEmptyAreaGoBackToAllChecksOnTheSamePage) {
    const std::vector<std::pair<const char*, std::function<void()>>> ways = {
        {"Image1", [&] { form->Image1DblClick(form->Image1); }},
        {"GroupBox_sb_Check", [&] { form->GroupBox_sb_CheckDblClick(form->GroupBox_sb_Check); }},
        {"ImageClick", [&] { form->ImageClickDblClick(form->ImageClick); }},
        {"Image2", [&] { form->Image2Click(form->Image2); }},
    };
    for (const auto& [name, way] : ways) {
        SCOPED_TRACE(name);
        ui::UserMouseEnter(form->Panel_sb_Design);
        View(10);
        ASSERT_EQ(grid->RowCount(), 10);
        way();
        EXPECT_EQ(options->ItemIndex(), 0);
        EXPECT_EQ(grid->RowCount(), 21);
        EXPECT_EQ(grid->RowHeights(1), 22);
        EXPECT_TRUE(form->GroupBox_sb_Design->Visible()) << "the side bar keeps its page";
        EXPECT_FALSE(form->GroupBox_sb_Check->Visible());
    }
    ui::UserMouseEnter(form->Panel_sb_Check);
    View(3);
    ui::UserDoubleClick(form->ImageClick);
    EXPECT_EQ(options->ItemIndex(), 0) << "through the window's own double click";
}

TEST_F(CheckOptionsTest, GaugePicturesBringTheCheckPageAndOpenTheirCheck) {
    ui::UserDoubleClick(form->Image_DCR_3_up);
    EXPECT_EQ(options->ItemIndex(), 4) << "the click's item, then the double click's";
    EXPECT_TRUE(form->GroupBox_sb_Check->Visible());

    form->Image_DCR_3_upClick(form->Image_DCR_3_up);
    EXPECT_EQ(options->ItemIndex(), 3);
    EXPECT_EQ(grid->RowCount(), 8);

    form->Image_DCR_7_down_c1Click(form->Image_DCR_7_down_c1);
    EXPECT_EQ(options->ItemIndex(), -1) << "the welded list has no item for the lower plate's joints";
    form->Image_DCR_7_down_c1DblClick(form->Image_DCR_7_down_c1);
    EXPECT_EQ(options->ItemIndex(), 10);
    EXPECT_EQ(grid->RowCount(), 10);
}

TEST_F(CheckOptionsTest, ThePartSelectorRebuildsTheListOfTheCheckSideAndShowsAllChecks) {
    MakeChevron();
    View(6);
    ui::UserChooseItem(form->RadioGroup_Part, 1);
    ASSERT_EQ(options->Items().Count(), 16);
    EXPECT_EQ(options->Items()[3], "DCR-3-upper");
    EXPECT_EQ(options->ItemIndex(), 0);
    EXPECT_EQ(grid->RowCount(), 15);

    form->RadioGroup_DCR->SetItemIndex(1);
    ui::UserChooseItem(form->RadioGroup_Part, 0);
    EXPECT_EQ(Items(options), (std::vector<std::string>{"all", "DCR-7-1", "DCR-7-2", "DCR-7-3"}));
    EXPECT_EQ(grid->RowCount(), 3);
}

TEST_F(CheckOptionsTest, AChevronBoltedBayOnlyEverGetsBoltedLists) {
    MakeChevron();
    MakeBolted();
    ASSERT_EQ(options->Items().Count(), 21);
    ui::UserChooseItem(form->RadioGroup_Part, 1);
    EXPECT_EQ(options->Items().Count(), 21);
    EXPECT_EQ(options->Items()[20], "DCR-12-6");
    EXPECT_EQ(grid->RowCount(), 26);

    ShowCheckPage();
    ui::UserChooseItem(form->RadioGroup_DCR, 1);
    EXPECT_EQ(Items(options), (std::vector<std::string>{"all", "DCR-12-1", "DCR-12-2", "DCR-12-3"}));
    ui::UserMouseEnter(form->Panel_sb_Result_BRB);
    ui::UserChooseItem(form->RadioGroup_Part, 0);
    EXPECT_EQ(Items(options), (std::vector<std::string>{"all", "DCR-12-1", "DCR-12-2", "DCR-12-3"}));
    EXPECT_EQ(grid->Cells(0, 0).substr(0, 6), "DCR-12");
}

}  // namespace
