// The check grid in the window: its shape for each view, what a layout keeps when the
// item has no view, and the colours and texts of its painting.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/input.h"
#include "support/form_environment.h"
#include "support/grid_paint.h"

namespace {

using Op = ui::RecordingCanvas::Op;
using Kind = ui::RecordingCanvas::Kind;
using testing_support::GridColumn;
using testing_support::FormEnvironment;

constexpr TColor kColor3 = 8404992;
constexpr TColor kColor4 = 16747546;

std::vector<int> RowHeights(const TStringGrid* grid) {
    std::vector<int> heights;
    for (int row = 0; row < grid->RowCount(); ++row) heights.push_back(grid->RowHeights(row));
    return heights;
}

// The brush of each row's first cell as the last handler call painted it.
std::vector<TColor> RowBrushes(const testing_support::GridPaint& paint, int rows) {
    std::vector<TColor> brushes;
    for (int row = 0; row < rows; ++row) brushes.push_back(paint.last[2 * row].brush);
    return brushes;
}

class CheckGridTest : public ::testing::Test {
protected:
    void Start(FormEnvironment::Reach reach = FormEnvironment::Reach::Answers) {
        env.emplace(reach);
        form = env->Create();
        ASSERT_NE(form, nullptr);
        grid = form->StringGrid_DCR;
    }

    void View(int item) {
        form->ComboBox_DCR_Output_Option->SetItemIndex(item);
        form->ComboBox_DCR_Output_OptionChange(form->ComboBox_DCR_Output_Option);
    }

    void MakeChevron() {
        form->ComboBox_cfg->SetItemIndex(1);
        form->ComboBox_cfgChange(form->ComboBox_cfg);
        ASSERT_EQ(form->CfgText, "Chevron");
    }

    std::optional<FormEnvironment> env;
    DOVEREForm* form = nullptr;
    TStringGrid* grid = nullptr;
};

TEST_F(CheckGridTest, BeforeAnyResultTheGridIsTheDiagonalWeldedListWithItsOwnNames) {
    Start(FormEnvironment::Reach::Unreachable);
    EXPECT_EQ(grid->ColCount(), 3);
    EXPECT_EQ(grid->RowCount(), 21);
    EXPECT_EQ(RowHeights(grid), std::vector<int>(21, 22));
    EXPECT_EQ(grid->ColWidths(0), 94);
    EXPECT_EQ(grid->ColWidths(1), 30);
    EXPECT_EQ(grid->ColWidths(2), 40);
    EXPECT_EQ(grid->Width(), 168);
    EXPECT_EQ(grid->Height(), 484);
    EXPECT_EQ(grid->Left(), 8);
    EXPECT_EQ(grid->Top(), 45);
    EXPECT_EQ(grid->Font().Size, 8);
    EXPECT_EQ(grid->Font().Color, 15793151);
    EXPECT_EQ(grid->Cells(0, 2), "DCR-3-Lower");
    EXPECT_EQ(grid->Cells(0, 3), "DCR-3-Upper");

    const auto paint = testing_support::PaintGridOnce(grid, 2);
    const std::vector<TColor> rows = RowBrushes(paint, 3);
    EXPECT_EQ(rows, (std::vector<TColor>{kColor3, kColor4, kColor3}));
}

TEST_F(CheckGridTest, EachDetailViewTakesItsShapeAndTitles) {
    Start();
    struct Case {
        int item;
        int rows, row_height, tall, font, col0, col1, width, height;
        const char* row2;
    };
    const Case cases[] = {
        {1, 7, 28, 45, 10, 70, 100, 173, 221, "Unit"},
        {2, 7, 28, 80, 10, 70, 100, 173, 256, "Unit"},
        {3, 8, 28, 80, 10, 70, 100, 173, 285, "Part"},
        {6, 8, 28, 45, 10, 70, 100, 173, 250, "Part"},
        {10, 10, 32, 95, 8, 70, 105, 178, 394, "Part"},
        {15, 10, 32, 95, 8, 70, 105, 178, 394, "Part"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("item " + std::to_string(c.item));
        View(c.item);
        ASSERT_EQ(form->ComboBox_DCR_Output_Option->ItemIndex(), c.item);
        EXPECT_TRUE(form->ComboBox_DCR_Output_Option->Enabled());
        EXPECT_EQ(grid->ColCount(), 2);
        EXPECT_EQ(grid->RowCount(), c.rows);
        EXPECT_EQ(grid->DefaultRowHeight(), c.row_height);
        EXPECT_EQ(grid->RowHeights(0), c.row_height);
        EXPECT_EQ(grid->RowHeights(1), c.tall);
        EXPECT_EQ(grid->RowHeights(c.rows - 1), c.row_height);
        EXPECT_EQ(grid->Font().Size, c.font);
        EXPECT_EQ(grid->ColWidths(0), c.col0);
        EXPECT_EQ(grid->ColWidths(1), c.col1);
        EXPECT_EQ(grid->Width(), c.width);
        EXPECT_EQ(grid->Height(), c.height);
        EXPECT_EQ(grid->Cells(0, 0), "Symbol");
        EXPECT_EQ(grid->Cells(0, 1), "Limit \nState");
        EXPECT_EQ(grid->Cells(0, 2), c.row2);
        EXPECT_EQ(grid->Cells(0, c.rows - 1), "Check");
    }
    View(0);
    EXPECT_EQ(grid->ColCount(), 3);
    EXPECT_EQ(RowHeights(grid), std::vector<int>(21, 22)) << "no tall row survives the way back";
    EXPECT_EQ(grid->Height(), 484);
}

TEST_F(CheckGridTest, TheDiagonalWeldedLayoutFillsTheViewItLaysOut) {
    Start();
    const jsonxx::Object& r = form->ResultObject;
    ASSERT_TRUE(r.has<double>("DCR_1"));
    const char* verdict = r.get<double>("DCR_1") >= 1.0 ? "NG" : "OK";
    struct Case {
        int item;
        int col, row;  // a value cell of the view
        std::string text;
    };
    for (const Case& c : {Case{1, 1, 0, "DCR-1"}, Case{1, 1, 6, verdict}, Case{0, 0, 20, "DCR-7-6-Lower"}}) {
        SCOPED_TRACE("item " + std::to_string(c.item));
        form->ComboBox_DCR_Output_Option->SetItemIndex(c.item);
        grid->ClearCol(0);
        grid->ClearCol(1);
        form->LayoutCheckGrid();
        EXPECT_EQ(grid->Cells(c.col, c.row), c.text);
        EXPECT_NE(grid->Cells(1, 0), "");
    }
}

TEST_F(CheckGridTest, AnItemWithoutAViewLeavesShapeAndTexts) {
    Start();
    MakeChevron();
    View(10);
    ASSERT_EQ(grid->RowCount(), 10);
    const std::vector<std::string> titles = GridColumn(grid, 0);
    grid->SetCells(1, 4, "kept");
    const int height = grid->Height(), width = grid->Width();

    form->ComboBox_DCR_Output_Option->SetItemIndex(-1);
    form->LayoutCheckGrid();
    EXPECT_EQ(grid->RowCount(), 10);
    EXPECT_EQ(grid->Height(), height);
    EXPECT_EQ(grid->Width(), width);
    EXPECT_EQ(grid->RowHeights(1), 95);
    EXPECT_EQ(GridColumn(grid, 0), titles);
    EXPECT_EQ(grid->Cells(1, 4), "kept");
}

TEST_F(CheckGridTest, AChevronBayWithNoCheckSideChosenShowsTheMiddlePlate) {
    Start();
    MakeChevron();
    form->RadioGroup_DCR->SetItemIndex(-1);
    form->ComboBox_DCR_Output_Option->SetItemIndex(0);
    form->LayoutCheckGrid();
    EXPECT_EQ(grid->RowCount(), 3);
    EXPECT_EQ(grid->ColWidths(0), 100);
    EXPECT_EQ(grid->Width(), 168);
    EXPECT_EQ(grid->Height(), 70);
    EXPECT_EQ(grid->Cells(0, 0), "DCR-7-1-Middle");
}

TEST_F(CheckGridTest, AFailedRowOfTheListIsRedAcrossAndTextsStartTwoPixelsIn) {
    Start();
    View(0);
    grid->ClearCol(2);
    grid->SetCells(2, 3, " NG");
    const auto paint = testing_support::PaintGridOnce(grid, 2);
    const int rows = grid->RowCount(), cells = 3 * rows;
    ASSERT_EQ(static_cast<int>(paint.last.size()), 2 * cells);
    int fills = 0;
    for (const Op& op : paint.all) fills += op.kind == Kind::FillRect;
    EXPECT_EQ(fills, 1 + cells * cells) << "the grid's background, then every cell on every call";
    for (int i = 0; i < cells; ++i) {
        const int col = i / rows, row = i % rows;
        SCOPED_TRACE("cell " + std::to_string(col) + "," + std::to_string(row));
        const Op& fill = paint.last[2 * i];
        const Op& text = paint.last[2 * i + 1];
        const TRect rect = grid->CellRect(col, row);
        ASSERT_EQ(fill.kind, Kind::FillRect);
        EXPECT_EQ(fill.rect, rect);
        const TColor colour = row == 3 ? clRed : row % 2 ? kColor4 : kColor3;
        EXPECT_EQ(fill.brush, colour);
        ASSERT_EQ(text.kind, Kind::TextRect);
        EXPECT_EQ(text.x, rect.Left + 2);
        EXPECT_EQ(text.y, rect.Top + 2);
        EXPECT_EQ(text.text, grid->Cells(col, row));
        EXPECT_EQ(text.font.Size, 8);
        EXPECT_EQ(text.font.Color, 15793151);
    }
    EXPECT_EQ(paint.last[2 * (2 * rows + 3) + 1].text, " NG");
}

TEST_F(CheckGridTest, TheVerdictRowOfADetailIsRedForNgLimeForOkAndTextsAreCentredOnTheirLines) {
    Start();
    View(1);
    const int rows = grid->RowCount();
    ASSERT_EQ(rows, 7);
    for (const char* verdict : {"OK", "", "?", "NG"}) {
        SCOPED_TRACE(verdict);
        grid->SetCells(1, rows - 1, verdict);
        const auto paint = testing_support::PaintGridOnce(grid, 2);
        const std::vector<TColor> brushes = RowBrushes(paint, rows);
        const std::string v = verdict;
        const TColor last = v == "NG" ? clRed : v == "OK" ? clLime : kColor3;
        EXPECT_EQ(brushes, (std::vector<TColor>{kColor3, kColor4, kColor3, kColor4, kColor3, kColor4, last}));
        const Op& col1_last = paint.last[2 * (rows + rows - 1)];
        EXPECT_EQ(col1_last.brush, last) << "the mark colours every column of its row";
    }
    const auto paint = testing_support::PaintGridOnce(grid, 2);
    const Op& title = paint.last[3];  // column 0, row 1
    const TRect rect = grid->CellRect(0, 1);
    ASSERT_EQ(title.kind, Kind::DrawText);
    EXPECT_EQ(title.text, "Limit \nState");
    EXPECT_EQ(title.format, DT_CENTER);
    EXPECT_EQ(title.rect, TRect(rect.Left + 2, rect.Top + 2, rect.Right, rect.Bottom));
    EXPECT_EQ(title.font.Size, 10);
    EXPECT_EQ(title.font.Color, 15793151);
}

TEST_F(CheckGridTest, WithNoItemTheListKeepsItsShapeEmptyAndIsPaintedAsADetail) {
    Start();
    View(0);
    grid->SetCells(2, 3, " NG");
    form->ComboBox_DCR_Output_Option->Items().Clear();
    form->ComboBox_DCR_Output_OptionChange(form->ComboBox_DCR_Output_Option);
    ASSERT_EQ(form->ComboBox_DCR_Output_Option->ItemIndex(), -1);
    EXPECT_EQ(grid->RowCount(), 21);
    EXPECT_EQ(grid->ColCount(), 3);
    EXPECT_EQ(GridColumn(grid, 0), std::vector<std::string>(21));
    EXPECT_EQ(GridColumn(grid, 1), std::vector<std::string>(21));
    EXPECT_EQ(grid->Cells(2, 3), " NG");

    const auto paint = testing_support::PaintGridOnce(grid, 2);
    const std::vector<TColor> brushes = RowBrushes(paint, 21);
    EXPECT_EQ(brushes[3], kColor4) << "the mark no longer colours its row";
    EXPECT_EQ(brushes[20], kColor3) << "an empty last row says no pass";
    EXPECT_EQ(paint.last[1].kind, Kind::DrawText);
}

}  // namespace
