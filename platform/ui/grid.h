#pragma once
// An owner-drawn grid of texts without scroll bars. Cells are kept whatever the
// current counts: a cell written outside ColCount/RowCount is there when the grid
// grows again, and shrinking the grid forgets nothing.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/canvas.h"
#include "platform/ui/components.h"

namespace ui {
// The colour between cells.
constexpr TColor kGridLineColor = clSilver;
}  // namespace ui

class TStringGrid : public TWinControl {
public:
    static constexpr const char* kClass = "TStringGrid";
    explicit TStringGrid(TComponent* owner);
    ~TStringGrid() override;
    std::string ClassName() const override { return kClass; }

    int ColCount() const { return static_cast<int>(col_widths_.size()); }
    void SetColCount(int count);
    int RowCount() const { return static_cast<int>(row_heights_.size()); }
    void SetRowCount(int count);
    int FixedCols() const { return fixed_cols_; }
    void SetFixedCols(int v) { fixed_cols_ = v < 0 ? 0 : v; }
    int FixedRows() const { return fixed_rows_; }
    void SetFixedRows(int v) { fixed_rows_ = v < 0 ? 0 : v; }

    // Setting a default width or height gives every column or row that size.
    int DefaultColWidth() const { return default_col_width_; }
    void SetDefaultColWidth(int width);
    int DefaultRowHeight() const { return default_row_height_; }
    void SetDefaultRowHeight(int height);
    // Throw for an index outside the current counts.
    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    int RowHeights(int row) const;
    void SetRowHeights(int row, int height);
    int GridLineWidth() const { return grid_line_width_; }
    void SetGridLineWidth(int v) { grid_line_width_ = v < 0 ? 0 : v; }

    // Cells are addressed (column, row) from 0; a negative index throws.
    const std::string& Cells(int col, int row) const;
    void SetCells(int col, int row, const std::string& text);
    // Empties column col in rows 0 to RowCount - 1.
    void ClearCol(int col);

    // The current cell, set by a click before OnClick and OnDblClick run.
    int Col() const { return col_; }
    int Row() const { return row_; }
    void SetCol(int col);
    void SetRow(int row);

    // The cell's rectangle in the grid's client area: columns and rows follow one
    // another with GridLineWidth between them. Empty outside the current counts.
    TRect CellRect(int col, int row) const;

    // The canvas of the paint under way (ui::PaintGrid); outside a paint, one that
    // draws nothing.
    TCanvas* Canvas() const { return canvas_; }

    // With DefaultDrawing each cell is filled with the grid colour and its text
    // written 2 pixels in before OnDrawCell runs.
    bool DefaultDrawing() const { return default_drawing_; }
    void SetDefaultDrawing(bool v) { default_drawing_ = v; }
    TScrollStyle ScrollBars() const { return scroll_bars_; }
    void SetScrollBars(TScrollStyle v) { scroll_bars_ = v; }

    TDrawCellEvent OnDrawCell;

    bool SetLayoutProperty(std::string_view name, const ui::LayoutValue& value) override;
    ui::EventSlot LayoutEvent(std::string_view name) override;

private:
    friend void PaintGridCells(TStringGrid& grid, TCanvas& canvas);
    void CheckCol(int col) const;
    void CheckRow(int row) const;

    std::vector<int> col_widths_;
    std::vector<int> row_heights_;
    int fixed_cols_ = 0, fixed_rows_ = 0;
    int default_col_width_ = 64, default_row_height_ = 24;
    int grid_line_width_ = 1;
    std::map<std::pair<int, int>, std::string> cells_;
    int col_ = 0, row_ = 0;
    bool default_drawing_ = true;
    TScrollStyle scroll_bars_ = ssNone;
    TCanvas* canvas_;
};

// Paints the grid: the client area in the grid-line colour, then every cell of the
// current counts, row by row and left to right: the canvas gets the grid's font and
// colour, the default drawing runs, then OnDrawCell. The handler runs directly (its
// exceptions propagate); ui::PaintGrid wraps the whole paint in the dispatcher.
void PaintGridCells(TStringGrid& grid, TCanvas& canvas);
