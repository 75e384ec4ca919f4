// The BRB grid in the window: its layout per view and side with the units label below
// it, the part selector of a Chevron bay, the values of both fills, and the painting.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/ui/input.h"
#include "support/form_environment.h"
#include "support/grid_paint.h"

namespace {

using Op = ui::RecordingCanvas::Op;
using Kind = ui::RecordingCanvas::Kind;
using testing_support::GridColumn;

jsonxx::Object ParseObject(const std::string& text) {
    jsonxx::Object object;
    std::istringstream in(text);
    EXPECT_TRUE(object.parse(in)) << text;
    return object;
}

std::vector<std::string> Items(const TRadioGroup* radio) { return radio->Items().List(); }

class BrbGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = env.Create();
        ASSERT_NE(form, nullptr);
        grid = form->StringGrid_BRB;
        env.Headless().TakeBoxes();
    }

    void TearDown() override {
        for (const auto& box : env.Headless().Boxes())
            ADD_FAILURE() << "unexpected box: " << box.text;
    }

    void ChooseView(int item) { ui::UserChooseItem(form->ComboBox_BRB_Output_Option, item); }

    void MakeChevron() {
        form->ComboBox_cfg->SetItemIndex(1);
        form->ComboBox_cfgChange(form->ComboBox_cfg);
        ASSERT_EQ(form->CfgText, "Chevron");
        ASSERT_TRUE(form->RadioGroup_Part->Visible());
        env.Headless().TakeBoxes();  // the run's advice
    }

    std::string Number(float value) { return form->FormatOutputNumber(value); }

    testing_support::FormEnvironment env;
    DOVEREForm* form = nullptr;
    TStringGrid* grid = nullptr;
};

TEST_F(BrbGridTest, TheWindowOpensOnTheSummaryLaidOutForItsElevenRows) {
    EXPECT_EQ(form->ComboBox_BRB_Output_Option->ItemIndex(), 0);
    EXPECT_EQ(grid->ColCount(), 2);
    EXPECT_EQ(grid->RowCount(), 11);
    EXPECT_EQ(grid->DefaultRowHeight(), 30);
    EXPECT_EQ(grid->RowHeights(10), 30);
    EXPECT_EQ(grid->ColWidths(0), 70);
    EXPECT_EQ(grid->ColWidths(1), 105);
    EXPECT_EQ(grid->Font().Color, 15793151);
    EXPECT_EQ(grid->Font().Size, 10);
    EXPECT_EQ(grid->Font().Name, "Arial Black");
    EXPECT_EQ(grid->Width(), 178);
    EXPECT_EQ(grid->Height(), 342);
    EXPECT_EQ(form->Label_Units->Left(), grid->Left());
    EXPECT_EQ(form->Label_Units->Top(), 397);
    EXPECT_FALSE(form->Label_Units->Visible());
    EXPECT_EQ(grid->Cells(0, 0), "Py");
    EXPECT_EQ(grid->Cells(0, 10), "Casing");
}

TEST_F(BrbGridTest, EveryViewOfADiagonalBaySizesTheGridAndLeavesTheHiddenPartSelectorAlone) {
    struct Case {
        int item;
        int rows, row_height, col0, col1, width, height, units_top;
        const char* first;
        const char* last;
    };
    const Case cases[] = {
        {1, 22, 19, 95, 75, 173, 441, 496, "Core", "        tg,s"},
        {2, 8, 30, 60, 110, 173, 249, 304, "Type", "Lsc"},
        {3, 18, 22, 80, 90, 173, 415, 470, "Lower", "    Lsf,v"},
        {0, 11, 30, 70, 105, 178, 342, 397, "Py", "Casing"},
    };
    const std::vector<std::string> radio_items = Items(form->RadioGroup_Part);
    const int radio_index = form->RadioGroup_Part->ItemIndex();
    for (const Case& c : cases) {
        SCOPED_TRACE("view " + std::to_string(c.item));
        ChooseView(c.item);
        ASSERT_EQ(form->ComboBox_BRB_Output_Option->ItemIndex(), c.item);
        EXPECT_TRUE(form->ComboBox_BRB_Output_Option->Enabled());
        EXPECT_EQ(grid->RowCount(), c.rows);
        EXPECT_EQ(grid->RowHeights(c.rows - 1), c.row_height);
        EXPECT_EQ(grid->ColWidths(0), c.col0);
        EXPECT_EQ(grid->ColWidths(1), c.col1);
        EXPECT_EQ(grid->Width(), c.width);
        EXPECT_EQ(grid->Height(), c.height);
        EXPECT_EQ(form->Label_Units->Top(), c.units_top);
        EXPECT_EQ(grid->Cells(0, 0), c.first);
        EXPECT_EQ(grid->Cells(0, c.rows - 1), c.last);
        EXPECT_EQ(Items(form->RadioGroup_Part), radio_items);
        EXPECT_EQ(form->RadioGroup_Part->ItemIndex(), radio_index);
    }
    ChooseView(3);
    EXPECT_EQ(grid->Cells(0, 9), "Upper");
}

TEST_F(BrbGridTest, DiagonalFillWritesTheTopLevelIntoTheViewShown) {
    const jsonxx::Object& r = form->ResultObject;
    form->ShowBrbResults();
    EXPECT_EQ(grid->Cells(1, 0), Number(static_cast<float>(r.get<double>("P_y"))));
    EXPECT_EQ(grid->Cells(1, 10), r.get<std::string>("Steel_Casing_Size"));

    form->ComboBox_BRB_Output_Option->SetItemIndex(1);
    form->LayoutBrbGrid();
    form->ShowBrbResults();
    EXPECT_EQ(grid->Cells(1, 0), "");
    EXPECT_EQ(grid->Cells(1, 8), Number(static_cast<float>(static_cast<long long>(r.get<double>("A_t")))));
    EXPECT_EQ(grid->Cells(1, 21), Number(static_cast<float>(r.get<double>("t_g_s"))));
}

TEST_F(BrbGridTest, AViewChangeEmptiesTheOldValuesAndFillsTheNewRows) {
    const jsonxx::Object& r = form->ResultObject;
    EXPECT_EQ(grid->Cells(1, 0), Number(static_cast<float>(r.get<double>("P_y")))) << "the first run's values";
    ChooseView(2);
    EXPECT_EQ(grid->Cells(1, 0), r.get<std::string>("Steel_Casing_Size"));
    EXPECT_EQ(grid->Cells(1, 7), Number(static_cast<float>(r.get<double>("L_sc"))));
    for (int row = 8; row < 11; ++row) EXPECT_EQ(grid->Cells(1, row), "") << "row " << row << " of the Summary";

    form->ResultObject = ParseObject(R"({"K_eff": 100})");
    ChooseView(1);
    EXPECT_EQ(grid->RowCount(), 22);
    EXPECT_EQ(GridColumn(grid, 1), std::vector<std::string>(22)) << "no result: the value column stays empty";
}

TEST_F(BrbGridTest, WithoutAResultOrAViewTheFillsKeepWhatTheGridShows) {
    grid->SetCells(1, 0, "kept");
    form->ResultObject = ParseObject(R"({"K_eff": 100, "P_y": "501.6"})");
    form->ShowBrbResults();
    form->ShowChevronWeldedBrbResults();
    EXPECT_EQ(grid->Cells(1, 0), "kept") << "P_y that is no number";

    form->ResultObject = ParseObject(R"({"P_y": 501.6})");
    form->ComboBox_BRB_Output_Option->SetItemIndex(-1);
    form->ShowBrbResults();
    form->ShowChevronWeldedBrbResults();
    EXPECT_EQ(grid->Cells(1, 0), "kept") << "no view chosen";
}

TEST_F(BrbGridTest, KeysMissingFromTheTopLevelShowAQuestionMarkAndTheFillGoesOn) {
    form->ResultObject = ParseObject(R"({"P_y": 501.6, "P_max": "a lot", "K_eff": 110.854, "Q_factor": 1.68632,
        "L_wp": 456.6, "Steel_Casing_Size": 12})");
    form->ShowBrbResults();
    EXPECT_EQ(GridColumn(grid, 1), (std::vector<std::string>{"501.6", "?", "110.9", "1.69", "?", "?", "457", "?", "?",
                                                         "?", "?"}));
}

TEST_F(BrbGridTest, WithNoViewTheLayoutKeepsSizeAndTextsAndOnlyMovesTheUnitsLabel) {
    ChooseView(1);
    form->ShowBrbResults();
    const std::vector<std::string> labels = GridColumn(grid, 0);
    const std::vector<std::string> values = GridColumn(grid, 1);
    form->ComboBox_BRB_Output_Option->SetItemIndex(-1);
    form->Label_Units->SetTop(0);
    form->LayoutBrbGrid();
    EXPECT_EQ(grid->RowCount(), 2);
    EXPECT_EQ(grid->ColCount(), 2);
    EXPECT_EQ(grid->Width(), 173);
    EXPECT_EQ(grid->Height(), 441);
    EXPECT_EQ(form->Label_Units->Top(), 496);
    grid->SetRowCount(22);
    EXPECT_EQ(GridColumn(grid, 0), labels);
    EXPECT_EQ(GridColumn(grid, 1), values);
}

TEST_F(BrbGridTest, ChevronGussetViewOffersTheMiddlePlateAndTheOtherViewsTwoSides) {
    MakeChevron();
    // A detail of the check grid, which every change of the BRB view resets.
    form->ComboBox_DCR_Output_Option->SetItemIndex(5);
    form->ComboBox_DCR_Output_OptionChange(form->ComboBox_DCR_Output_Option);

    ChooseView(3);
    EXPECT_EQ(Items(form->RadioGroup_Part), (std::vector<std::string>{"Left", "Mid.", "Right"}));
    EXPECT_EQ(form->RadioGroup_Part->Columns(), 3);
    EXPECT_EQ(form->RadioGroup_Part->ItemIndex(), 0);
    EXPECT_EQ(form->ComboBox_DCR_Output_Option->ItemIndex(), 0);
    EXPECT_EQ(grid->RowCount(), 9);
    EXPECT_EQ(grid->Cells(0, 0), "Left");
    EXPECT_EQ(grid->Height(), 208);

    struct Side {
        int item, rows, height;
        const char* heading;
    };
    for (const Side& s : {Side{1, 7, 162, "Middle"}, Side{2, 9, 208, "Right"}, Side{0, 9, 208, "Left"}}) {
        SCOPED_TRACE(s.heading);
        form->ComboBox_DCR_Output_Option->SetItemIndex(3);
        ui::UserChooseItem(form->RadioGroup_Part, s.item);
        EXPECT_EQ(grid->RowCount(), s.rows);
        EXPECT_EQ(grid->Height(), s.height);
        EXPECT_EQ(grid->Width(), 173);
        EXPECT_EQ(grid->Cells(0, 0), s.heading);
        EXPECT_EQ(form->ComboBox_DCR_Output_Option->ItemIndex(), 0) << "the check view goes back to its first item";
    }

    ChooseView(1);
    EXPECT_EQ(Items(form->RadioGroup_Part), (std::vector<std::string>{"Left", "Right"}));
    EXPECT_EQ(form->RadioGroup_Part->Columns(), 2);
    EXPECT_EQ(form->RadioGroup_Part->ItemIndex(), 0);
    EXPECT_EQ(grid->RowCount(), 22);
    EXPECT_TRUE(form->ComboBox_BRB_Output_Option->Enabled());
}

TEST_F(BrbGridTest, ChevronGussetViewWithNoSideChosenKeepsOneRow) {
    MakeChevron();
    ChooseView(3);
    grid->SetCells(0, 0, "as before");
    form->RadioGroup_Part->SetItemIndex(-1);
    form->LayoutBrbGrid();
    EXPECT_EQ(grid->RowCount(), 1);
    EXPECT_EQ(grid->Height(), 24);
    EXPECT_EQ(grid->Cells(0, 0), "as before");
}

TEST_F(BrbGridTest, ChevronFillShowsTheBraceOfTheChosenSideAndTheMiddlePlate) {
    MakeChevron();
    form->SideValues["LEFT"]["P_y"] = 100.0f;
    form->SideValues["RIGHT"]["P_y"] = 200.0f;
    form->SideTexts["RIGHT"]["Steel_Casing_Size"] = "SHS 500x500x9";
    form->SideValues["LEFT"].erase("Theda_y");
    form->ShowChevronWeldedBrbResults();
    EXPECT_EQ(grid->Cells(1, 0), "100");
    EXPECT_EQ(grid->Cells(1, 5), "?") << "a side without a drift shows none";
    EXPECT_EQ(form->SideValues["LEFT"].count("Theda_y"), 0u) << "and gets none entered";

    ui::UserChooseItem(form->RadioGroup_Part, 1);
    ASSERT_EQ(form->RadioGroup_Part->ItemIndex(), 1);
    form->ShowChevronWeldedBrbResults();
    EXPECT_EQ(grid->Cells(1, 0), "200");
    EXPECT_EQ(grid->Cells(1, 10), "SHS 500x500x9");

    ChooseView(3);
    ui::UserChooseItem(form->RadioGroup_Part, 1);
    form->SideValues["MIDDLE"]["Lh_mid"] = 1583.41f;
    form->ShowChevronWeldedBrbResults();
    ASSERT_EQ(grid->RowCount(), 7);
    EXPECT_EQ(grid->Cells(1, 0), "");
    EXPECT_EQ(grid->Cells(1, 2), "1583.4");
    for (int row = 1; row < 7; ++row) EXPECT_NE(grid->Cells(1, row), "") << "row " << row;
}

TEST_F(BrbGridTest, ChevronBoltedGussetViewIsFilledForTheSideItIsLaidOutFor) {
    form->CfgText = "Chevron";
    form->CtypeText = "Bolted";
    form->ComboBox_BRB_Output_Option->SetItemIndex(3);
    form->FillPartRadio(3);
    form->RadioGroup_Part->SetItemIndex(1);  // hidden in a Diagonal window: from code
    grid->SetRowCount(18);
    grid->ClearCol(1);
    form->LayoutBrbGrid();
    ASSERT_EQ(grid->RowCount(), 7);
    form->SideValues["MIDDLE"]["Lh_mid"] = 1827.21f;
    form->ShowBrbResults();
    EXPECT_EQ(grid->Cells(1, 2), "1827.2");
    for (int row = 7; row < 18; ++row) EXPECT_EQ(grid->Cells(1, row), "") << "row " << row << " lies outside";
}

TEST_F(BrbGridTest, RowsAlternateThePanelColoursWhateverTheirTexts) {
    ChooseView(1);
    form->ShowBrbResults();
    const testing_support::GridPaint paint = testing_support::PaintGridOnce(grid, 2);
    const int cells = grid->ColCount() * grid->RowCount();
    int handler_ops = 0;
    for (const Op& op : paint.all) handler_ops += op.kind == Kind::FrameRect;
    EXPECT_EQ(handler_ops, cells * cells) << "every call paints every cell";

    ASSERT_EQ(static_cast<int>(paint.last.size()), 2 * cells);
    for (int i = 0; i < cells; ++i) {
        const Op& frame = paint.last[2 * i];
        const Op& text = paint.last[2 * i + 1];
        const int col = i / grid->RowCount(), row = i % grid->RowCount();
        SCOPED_TRACE("cell " + std::to_string(col) + "," + std::to_string(row));
        const TRect rect = grid->CellRect(col, row);
        ASSERT_EQ(frame.kind, Kind::FrameRect);
        ASSERT_EQ(text.kind, Kind::TextRect);
        const TColor colour = row % 2 ? 5483007 : 33023;
        EXPECT_EQ(frame.brush, colour);
        EXPECT_EQ(text.brush, colour);
        EXPECT_EQ(text.rect, rect) << "the text's fill covers the cell, so the grid's own colour never shows";
        EXPECT_EQ(text.x, rect.Left + 2);
        EXPECT_EQ(text.y, rect.Top + 2);
        EXPECT_EQ(text.text, grid->Cells(col, row));
        EXPECT_EQ(text.font.Color, 15793151);
        EXPECT_EQ(text.font.Size, 10);
    }
    EXPECT_EQ(paint.last[3].text, "        Lc") << "column 0, row 1 keeps its leading blanks";

    form->Panel_Color_1->SetColor(clTeal);
    const testing_support::GridPaint repainted = testing_support::PaintGridOnce(grid, 2);
    EXPECT_EQ(repainted.last[0].brush, clTeal);
    EXPECT_EQ(repainted.last[2].brush, 5483007);
    EXPECT_EQ(repainted.last[4].brush, clTeal);
}

}  // namespace
