#include "platform/ui/grid.h"

#include <algorithm>

using ui::LayoutValue;

namespace {

ui::NullCanvas& IdleCanvas() {
    static ui::NullCanvas canvas;
    return canvas;
}

const std::string kEmpty;

}  // namespace

TStringGrid::TStringGrid(TComponent* owner) : TWinControl(owner), canvas_(&IdleCanvas()) {
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(0, 0, 320, 120);
    col_widths_.assign(5, default_col_width_);
    row_heights_.assign(5, default_row_height_);
}

TStringGrid::~TStringGrid() = default;

void TStringGrid::SetColCount(int count) {
    count = std::max(count, 1);
    col_widths_.resize(static_cast<size_t>(count), default_col_width_);
}

void TStringGrid::SetRowCount(int count) {
    count = std::max(count, 1);
    row_heights_.resize(static_cast<size_t>(count), default_row_height_);
}

void TStringGrid::SetDefaultColWidth(int width) {
    default_col_width_ = width;
    std::fill(col_widths_.begin(), col_widths_.end(), width);
}

void TStringGrid::SetDefaultRowHeight(int height) {
    default_row_height_ = height;
    std::fill(row_heights_.begin(), row_heights_.end(), height);
}

void TStringGrid::CheckCol(int col) const {
    if (col < 0 || col >= ColCount()) throw Exception("Grid index out of range");
}

void TStringGrid::CheckRow(int row) const {
    if (row < 0 || row >= RowCount()) throw Exception("Grid index out of range");
}

int TStringGrid::ColWidths(int col) const {
    CheckCol(col);
    return col_widths_[static_cast<size_t>(col)];
}

void TStringGrid::SetColWidths(int col, int width) {
    CheckCol(col);
    col_widths_[static_cast<size_t>(col)] = width;
}

int TStringGrid::RowHeights(int row) const {
    CheckRow(row);
    return row_heights_[static_cast<size_t>(row)];
}

void TStringGrid::SetRowHeights(int row, int height) {
    CheckRow(row);
    row_heights_[static_cast<size_t>(row)] = height;
}

const std::string& TStringGrid::Cells(int col, int row) const {
    if (col < 0 || row < 0) throw Exception("Grid index out of range");
    auto it = cells_.find({col, row});
    return it == cells_.end() ? kEmpty : it->second;
}

void TStringGrid::SetCells(int col, int row, const std::string& text) {
    if (col < 0 || row < 0) throw Exception("Grid index out of range");
    if (text.empty()) cells_.erase({col, row});
    else cells_[{col, row}] = text;
}

void TStringGrid::ClearCol(int col) {
    if (col < 0) throw Exception("Grid index out of range");
    for (int row = 0; row < RowCount(); ++row) cells_.erase({col, row});
}

void TStringGrid::SetCol(int col) { col_ = std::clamp(col, 0, ColCount() - 1); }

void TStringGrid::SetRow(int row) { row_ = std::clamp(row, 0, RowCount() - 1); }

TRect TStringGrid::CellRect(int col, int row) const {
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) return {};
    int left = 0;
    for (int c = 0; c < col; ++c) left += col_widths_[static_cast<size_t>(c)] + grid_line_width_;
    int top = 0;
    for (int r = 0; r < row; ++r) top += row_heights_[static_cast<size_t>(r)] + grid_line_width_;
    return TRect(left, top, left + col_widths_[static_cast<size_t>(col)], top + row_heights_[static_cast<size_t>(row)]);
}

bool TStringGrid::SetLayoutProperty(std::string_view name, const LayoutValue& v) {
    if (name == "ColCount") SetColCount(ui::AsInt(v, name));
    else if (name == "RowCount") SetRowCount(ui::AsInt(v, name));
    else if (name == "FixedCols") SetFixedCols(ui::AsInt(v, name));
    else if (name == "FixedRows") SetFixedRows(ui::AsInt(v, name));
    else if (name == "DefaultColWidth") SetDefaultColWidth(ui::AsInt(v, name));
    else if (name == "DefaultRowHeight") SetDefaultRowHeight(ui::AsInt(v, name));
    else if (name == "GridLineWidth") SetGridLineWidth(ui::AsInt(v, name));
    else if (name == "DefaultDrawing") SetDefaultDrawing(ui::AsBool(v, name));
    else if (name == "ScrollBars")
        SetScrollBars(ui::AsEnum<TScrollStyle>(
            v, name, {{"ssNone", ssNone}, {"ssHorizontal", ssHorizontal}, {"ssVertical", ssVertical}, {"ssBoth", ssBoth}}));
    else return TWinControl::SetLayoutProperty(name, v);
    return true;
}

ui::EventSlot TStringGrid::LayoutEvent(std::string_view name) {
    if (name == "OnDrawCell") return &OnDrawCell;
    return TWinControl::LayoutEvent(name);
}

void PaintGridCells(TStringGrid& grid, TCanvas& canvas) {
    struct Restore {
        TStringGrid& g;
        TCanvas* previous;
        ~Restore() { g.canvas_ = previous; }
    } restore{grid, grid.canvas_};
    grid.canvas_ = &canvas;

    canvas.Brush.Color = ui::kGridLineColor;
    canvas.FillRect(grid.ClientRect());
    for (int row = 0; row < grid.RowCount(); ++row) {
        for (int col = 0; col < grid.ColCount(); ++col) {
            const TRect rect = grid.CellRect(col, row);
            TGridDrawState state = 0;
            if (col < grid.FixedCols() || row < grid.FixedRows()) state |= gdFixed;
            if (col == grid.Col() && row == grid.Row()) state |= gdSelected;
            if (state & gdSelected && grid.Focused()) state |= gdFocused;
            canvas.Font = grid.Font();
            canvas.Brush.Color = grid.Color();
            if (grid.DefaultDrawing()) canvas.TextRect(rect, rect.Left + 2, rect.Top + 2, grid.Cells(col, row));
            if (grid.OnDrawCell) grid.OnDrawCell(&grid, col, row, rect, state);
        }
    }
}
