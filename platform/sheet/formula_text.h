#pragma once
// Formula texts as a worksheet stores them (A1 references, no leading "=").
#include <optional>
#include <string>
#include <string_view>

namespace sheet {

// The formula as it reads in a cell that lies the given rows down and columns to the
// right of the cell it was written for: relative references move along, the parts
// marked absolute with "$" stay. Texts, sheet names, structured references, error
// values and function names are left as they are. Nothing when a reference would
// leave the grid or the text cannot be read with certainty.
//   ShiftFormula("A2*$B$1+SUM(C2:C9)", 1, 0) gives "A3*$B$1+SUM(C3:C10)".
std::optional<std::string> ShiftFormula(std::string_view formula, int rows, int columns);

}  // namespace sheet
