#pragma once
// A grid painted onto a recording canvas, with what the last call of its cell handler
// drew: an owner-drawn grid's handler paints every cell on every call, so the last
// call's drawing is what stays on screen.
#include <string>
#include <vector>

#include "platform/ui/canvas.h"
#include "platform/ui/grid.h"
#include "platform/ui/input.h"

namespace testing_support {

struct GridPaint {
    std::vector<ui::RecordingCanvas::Op> all;   // the whole paint
    std::vector<ui::RecordingCanvas::Op> last;  // the last handler call
};

// ops_per_cell: how many canvas calls the handler makes for each cell.
inline GridPaint PaintGridOnce(TStringGrid* grid, int ops_per_cell) {
    ui::RecordingCanvas canvas;
    ui::PaintGrid(grid, canvas);
    GridPaint paint;
    paint.all = canvas.Ops();
    const size_t tail = static_cast<size_t>(grid->ColCount() * grid->RowCount() * ops_per_cell);
    if (tail <= paint.all.size()) paint.last.assign(paint.all.end() - static_cast<long>(tail), paint.all.end());
    return paint;
}

// Column col of the grid's current rows.
inline std::vector<std::string> GridColumn(const TStringGrid* grid, int col) {
    std::vector<std::string> texts;
    for (int row = 0; row < grid->RowCount(); ++row) texts.push_back(grid->Cells(col, row));
    return texts;
}

}  // namespace testing_support
