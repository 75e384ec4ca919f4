// String grid storage and sizes, painting through OnDrawCell on the recording canvas,
// and the placing of centred multi-line text.
#include <gtest/gtest.h>

#include "platform/ui/ui.h"

namespace {

using Kind = ui::RecordingCanvas::Kind;

TEST(StringGrid, CellsOutsideTheCountsAreKept) {
    ui::ApplicationScope scope;
    TStringGrid grid(nullptr);
    grid.SetColCount(2);
    grid.SetRowCount(3);
    grid.SetCells(2, 25, " NG");  // outside both counts
    grid.SetCells(1, 2, "0.50");
    grid.SetRowCount(1);
    EXPECT_EQ(grid.Cells(1, 2), "0.50") << "shrinking forgets nothing";
    grid.SetColCount(3);
    grid.SetRowCount(26);
    EXPECT_EQ(grid.Cells(2, 25), " NG");
    EXPECT_EQ(grid.Cells(0, 0), "");
    EXPECT_THROW(grid.SetCells(-1, 0, "x"), Exception);
    EXPECT_THROW((void)grid.Cells(0, -1), Exception);
}

TEST(StringGrid, ClearColEmptiesTheCurrentRowsOnly) {
    ui::ApplicationScope scope;
    TStringGrid grid(nullptr);
    grid.SetColCount(3);
    grid.SetRowCount(2);
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 4; ++r) grid.SetCells(c, r, std::to_string(c) + std::to_string(r));
    grid.ClearCol(1);
    EXPECT_EQ(grid.Cells(1, 0), "");
    EXPECT_EQ(grid.Cells(1, 1), "");
    EXPECT_EQ(grid.Cells(1, 2), "12") << "a row past RowCount keeps its text";
    EXPECT_EQ(grid.Cells(0, 1), "01");
    EXPECT_EQ(grid.Cells(2, 1), "21");
}

TEST(StringGrid, DefaultRowHeightResetsEveryRowAndCellRectsFollowTheSizes) {
    ui::ApplicationScope scope;
    TStringGrid grid(nullptr);
    grid.SetColCount(2);
    grid.SetRowCount(7);
    grid.SetDefaultRowHeight(28);
    grid.SetColWidths(0, 70);
    grid.SetColWidths(1, 100);
    grid.SetRowHeights(1, 80);
    EXPECT_EQ(grid.RowHeights(1), 80);

    struct RectCase {
        int col, row;
        TRect rect;
    };
    for (const RectCase& c : {RectCase{0, 0, {0, 0, 70, 28}}, RectCase{1, 0, {71, 0, 171, 28}},
                              RectCase{0, 1, {0, 29, 70, 109}}, RectCase{1, 2, {71, 110, 171, 138}},
                              RectCase{2, 0, {}}, RectCase{0, 7, {}}})
        EXPECT_EQ(grid.CellRect(c.col, c.row), c.rect) << c.col << "," << c.row;

    grid.SetGridLineWidth(0);
    EXPECT_EQ(grid.CellRect(1, 1), TRect(70, 28, 170, 108));
    grid.SetDefaultRowHeight(22);
    EXPECT_EQ(grid.RowHeights(1), 22) << "no tall row survives a new default";
    grid.SetRowCount(9);
    EXPECT_EQ(grid.RowHeights(8), 22);
    EXPECT_THROW((void)grid.RowHeights(9), Exception);
}

TEST(StringGrid, PaintingRunsTheDefaultDrawingAndThenTheHandlerForEveryCell) {
    ui::ApplicationScope scope;
    TStringGrid grid(nullptr);
    grid.SetColCount(2);
    grid.SetRowCount(2);
    grid.SetDefaultColWidth(50);
    grid.SetDefaultRowHeight(20);
    grid.SetBounds(8, 45, 103, 43);
    grid.SetColor(clBackground);
    grid.Font().Color = clCream;
    grid.Font().Size = 8;
    grid.SetCells(1, 1, "DCR-1");
    std::vector<std::string> calls;
    grid.OnDrawCell = [&](TObject* sender, int col, int row, const TRect& rect, TGridDrawState state) {
        EXPECT_EQ(sender, &grid);
        EXPECT_EQ(rect, grid.CellRect(col, row));
        calls.push_back(std::to_string(col) + "," + std::to_string(row) + ((state & gdSelected) ? "*" : ""));
        TCanvas* canvas = grid.Canvas();
        EXPECT_EQ(canvas->Font.Color, clCream) << "each cell starts with the grid's font";
        canvas->Font.Color = clRed;  // must not leak into the next cell
        canvas->Brush.Color = row % 2 ? 16747546 : 8404992;
        canvas->FillRect(rect);
    };

    ui::RecordingCanvas canvas;
    ui::PaintGrid(&grid, canvas);
    EXPECT_EQ(calls, (std::vector<std::string>{"0,0*", "1,0", "0,1", "1,1"}));
    const auto& ops = canvas.Ops();
    ASSERT_EQ(ops.size(), 1u + 4 * 2);
    EXPECT_EQ(ops[0].kind, Kind::FillRect);
    EXPECT_EQ(ops[0].rect, TRect(0, 0, 103, 43));
    EXPECT_EQ(ops[0].brush, ui::kGridLineColor);
    // Cell (1,1): default text 2 pixels in, on the grid colour, then the handler's fill.
    EXPECT_EQ(ops[7].kind, Kind::TextRect);
    EXPECT_EQ(ops[7].text, "DCR-1");
    EXPECT_EQ(ops[7].x, 53);
    EXPECT_EQ(ops[7].y, 23);
    EXPECT_EQ(ops[7].brush, clBackground);
    EXPECT_EQ(ops[8].kind, Kind::FillRect);
    EXPECT_EQ(ops[8].brush, 16747546);
    EXPECT_EQ(dynamic_cast<ui::NullCanvas*>(grid.Canvas()) != nullptr, true) << "no canvas outside the paint";

    grid.SetDefaultDrawing(false);
    canvas.Clear();
    calls.clear();
    ui::PaintGrid(&grid, canvas);
    EXPECT_EQ(canvas.Ops().size(), 1u + 4);
}

// The check grid's painter: every cell on every call, by row colour rules.
TEST(StringGrid, OwnerDrawnListAndDetailViews) {
    ui::ApplicationScope scope;
    TStringGrid grid(nullptr);
    grid.SetColCount(3);
    grid.SetRowCount(3);
    grid.SetDefaultRowHeight(22);
    grid.SetDefaultDrawing(false);
    grid.SetCells(2, 1, " NG");
    grid.SetCells(0, 1, "Limit \nState");
    bool list_view = true;
    grid.OnDrawCell = [&](TObject*, int, int, const TRect&, TGridDrawState) {
        TCanvas& c = *grid.Canvas();
        for (int col = 0; col < grid.ColCount(); ++col)
            for (int row = 0; row < grid.RowCount(); ++row) {
                const TRect r = grid.CellRect(col, row);
                c.Brush.Color = !grid.Cells(2, row).empty() ? clRed : (row % 2 ? clGray : clBlack);
                c.FillRect(r);
                if (list_view) c.TextRect(r, r.Left + 2, r.Top + 2, grid.Cells(col, row));
                else c.DrawText(TRect(r.Left + 2, r.Top + 2, r.Right, r.Bottom), grid.Cells(col, row), DT_CENTER);
            }
    };
    ui::RecordingCanvas canvas;
    ui::PaintGrid(&grid, canvas);
    // 9 calls each paint 9 cells, two operations a cell, after the background.
    ASSERT_EQ(canvas.Ops().size(), 1u + 9 * 9 * 2);
    int red_fills = 0;
    for (size_t i = 1; i < 1 + 9 * 2; i += 2)
        if (canvas.Ops()[i].brush == clRed) ++red_fills;
    EXPECT_EQ(red_fills, 3) << "a mark colours every column of its row";

    list_view = false;
    canvas.Clear();
    ui::PaintGrid(&grid, canvas);
    const auto& label = canvas.Ops()[1 + 2 * 1 + 1];  // column 0, row 1, the text
    EXPECT_EQ(label.kind, Kind::DrawText);
    EXPECT_EQ(label.text, "Limit \nState");
    EXPECT_EQ(label.format, DT_CENTER);
    EXPECT_EQ(label.rect.Left, 2);
    EXPECT_EQ(label.rect.Top, 23 + 2);
}

TEST(StringGrid, AThrowingPainterIsShownOnceAndTheCanvasComesBack) {
    ui::ApplicationScope scope;
    scope.Headless().SetEcho(false);
    TStringGrid grid(nullptr);
    grid.SetColCount(3);
    grid.SetRowCount(3);
    grid.OnDrawCell = [](TObject*, int, int, const TRect&, TGridDrawState) { throw Exception("paint failed"); };
    ui::RecordingCanvas canvas;
    ui::PaintGrid(&grid, canvas);
    EXPECT_EQ(scope.Headless().Boxes(),
              (std::vector<ui::HeadlessBackend::Box>{{ui::BoxKind::Error, "paint failed"}}));
    EXPECT_NE(grid.Canvas(), &canvas);
}

TEST(PlaceTextLines, BreaksAtLineFeedsAndCentresEachLine) {
    // Every character 7 pixels wide; lines 13 pixels apart.
    auto width = [](std::string_view s) { return static_cast<int>(s.size()) * 7; };
    struct LineCase {
        const char* text;
        unsigned format;
        TRect rect;
        std::vector<ui::PlacedLine> lines;
    };
    const LineCase cases[] = {
        {"DCR", DT_CENTER, {10, 20, 110, 60}, {{"DCR", 49, 20}}},
        {"Limit \nState", DT_CENTER, {2, 2, 102, 80}, {{"Limit ", 31, 2}, {"State", 34, 15}}},
        {"a\r\nbb", DT_LEFT, {0, 0, 50, 50}, {{"a", 0, 0}, {"bb", 0, 13}}},
        {"", DT_CENTER, {0, 0, 50, 50}, {{"", 25, 0}}},
        {"tail\n", DT_CENTER, {0, 0, 50, 50}, {{"tail", 11, 0}, {"", 25, 13}}},
        {"much too wide", DT_CENTER, {0, 0, 21, 20}, {{"much too wide", -35, 0}}},
        {"1\n2\n3\n4", DT_LEFT, {0, 0, 20, 26}, {{"1", 0, 0}, {"2", 0, 13}}},
    };
    for (const auto& c : cases) EXPECT_EQ(ui::PlaceTextLines(c.rect, c.text, c.format, width, 13), c.lines) << c.text;
}

}  // namespace
