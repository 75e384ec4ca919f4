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

// Every row of the Summary and Core views, each with a value of its own that the
// row's form writes differently from the other forms: a number with one decimal, a
// whole number cut toward zero, a picture. Written out by hand.
struct ValueRow {
    int view;  // 0 Summary, 1 Core
    const char* label;
    const char* key;  // empty for a heading
    double value;
    const char* top_level;  // ShowBrbResults
    const char* side;       // ShowChevronWeldedBrbResults
};

const ValueRow kValueRows[] = {
    {0, "Py", "P_y", 501.63, "501.6", "501.6"},
    {0, "Pmax", "P_max", 652.17, "652.2", "652.2"},
    {0, "Keff", "K_eff", 110.854, "110.9", "110.9"},
    {0, "Q", "Q_factor", 1.68632, "1.69", "1.69"},
    {0, "\u03b1", "Alpha_L", 0.7349, "0.73", "0.73"},
    {0, "\u03b8y", "Theda_y", 0.00222441, "0.0022", "0.0022"},
    {0, "Lwp", "L_wp", 4566.6, "4567", "4567"},
    {0, "L_BRB", "L_brb", 4012.34, "4012.3", "4012.3"},
    {0, "Le,lower", "Le_lower", 3123.7, "3124", "3124"},
    {0, "Le,upper", "Le_upper", 3345.2, "3345", "3345"},
    {0, "Casing", "Steel_Casing_Size", 0, "SHS 550x550x9", "SHS 550x550x9"},
    {1, "Core", "", 0, "", ""},
    {1, "        Lc", "L_c", 2712.46, "2712.5", "2712.5"},
    {1, "        tc", "t_c", 25, "25", "25"},
    {1, "        Bc", "B_c", 182.5, "182.5", "182.5"},
    {1, "        Dc", "D_c", 191.4, "191.4", "191.4"},
    {1, "        Ac", "A_c", 9125.6, "9125.6", "9125.6"},
    {1, "Transition", "", 0, "", ""},
    {1, "        Lt", "L_t", 150.3, "150.3", "150.3"},
    {1, "        At", "A_t", 412.9, "412", "412.9"},
    {1, "Joint", "", 0, "", ""},
    {1, "        Lj", "L_j", 620.7, "620.7", "620.7"},
    {1, "        Lx", "L_x", 95.2, "95.2", "95.2"},
    {1, "        Ln", "L_n", 70.8, "70.8", "70.8"},
    {1, "        Lw", "L_w", 410.6, "410.6", "410.6"},
    {1, "        Tw", "T_w", 12.3, "12.3", "12.3"},
    {1, "        tj", "t_j", 28.6, "28.6", "28.6"},
    {1, "        Bj", "B_j", 305.7, "305", "305.7"},
    {1, "        Dj", "D_j", 322.8, "322", "322.8"},
    {1, "        Aj", "A_j", 17650.9, "17650", "17650.9"},
    {1, "End Slot", "", 0, "", ""},
    {1, "        Ls", "L_s", 480.1, "480.1", "480.1"},
    {1, "        tg,s", "t_g_s", 30.4, "30.4", "30.4"},
};

const char* const kCasingSize = "SHS 550x550x9";

std::string ValueRowsJson() {
    std::ostringstream json;
    json.precision(17);
    json << "{\"Steel_Casing_Size\":\"" << kCasingSize << "\"";
    for (const ValueRow& row : kValueRows)
        if (*row.key && std::string(row.key) != "Steel_Casing_Size") json << ",\"" << row.key << "\":" << row.value;
    json << "}";
    return json.str();
}

TEST_F(BrbGridTest, EveryRowOfTheSummaryAndCoreViewsShowsItsOwnKeyInItsForm) {
    // The same values at the top level of a Diagonal result and on the left brace of
    // a Chevron bay, whose right brace holds others.
    for (const bool chevron : {false, true}) {
        SCOPED_TRACE(chevron ? "Chevron, left brace" : "Diagonal, top level");
        if (chevron) {
            form->CfgText = "Chevron";
            ASSERT_EQ(form->RadioGroup_Part->ItemIndex(), 0);
            form->ResultObject = ParseObject(R"({"P_y": 1})");
            form->SideValues.clear();
            form->SideTexts.clear();
            for (const ValueRow& row : kValueRows) {
                if (!*row.key) continue;
                form->SideValues["LEFT"][row.key] = static_cast<float>(row.value);
                form->SideValues["RIGHT"][row.key] = static_cast<float>(row.value) + 1000.0f;
            }
            form->SideValues["LEFT"].erase("Steel_Casing_Size");
            form->SideValues["RIGHT"].erase("Steel_Casing_Size");
            form->SideTexts["LEFT"]["Steel_Casing_Size"] = kCasingSize;
            form->SideTexts["RIGHT"]["Steel_Casing_Size"] = "SHS 300x300x6";
        } else {
            form->ResultObject = ParseObject(ValueRowsJson());
        }
        for (const int view : {0, 1}) {
            form->ComboBox_BRB_Output_Option->SetItemIndex(view);
            grid->ClearCol(1);
            form->LayoutBrbGrid();
            if (chevron)
                form->ShowChevronWeldedBrbResults();
            else
                form->ShowBrbResults();
            int row = 0;
            for (const ValueRow& expected : kValueRows) {
                if (expected.view != view) continue;
                SCOPED_TRACE(std::string("view ") + std::to_string(view) + " row " + std::to_string(row) + " " +
                             expected.label);
                EXPECT_EQ(grid->Cells(0, row), expected.label);
                EXPECT_EQ(grid->Cells(1, row), chevron ? expected.side : expected.top_level);
                ++row;
            }
            EXPECT_EQ(grid->RowCount(), row);
        }
    }
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
