#pragma once
// Outer size of a result grid that has no scroll bars, so that every cell shows.
#include <numeric>
#include <vector>

// Rows of row_height with a line above, between and below them; a view with one
// taller row adds what that row has beyond the others.
inline int GridHeightFor(int row_height, int line_width, int row_count, int tall_row_extra = 0) {
    return (row_height + line_width) * row_count + line_width + tall_row_extra;
}

// The columns with a line at either side of each.
inline int GridWidthFor(const std::vector<int>& col_widths, int line_width) {
    return std::accumulate(col_widths.begin(), col_widths.end(), 0) +
           line_width * (static_cast<int>(col_widths.size()) + 1);
}
