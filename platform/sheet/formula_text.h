#pragma once
// Formula texts as a worksheet stores them (A1 references, no leading "=").
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sheet {

// The formula as it reads in a cell that lies the given rows down and columns to the
// right of the cell it was written for: relative references move along, the parts
// marked absolute with "$" stay. Texts, sheet names, structured references, error
// values and function names are left as they are. Nothing when a reference would
// leave the grid or the text cannot be read with certainty.
//   ShiftFormula("A2*$B$1+SUM(C2:C9)", 1, 0) gives "A3*$B$1+SUM(C3:C10)".
std::optional<std::string> ShiftFormula(std::string_view formula, int rows, int columns);

// A block of cells that a formula reads.
struct FormulaArea {
    std::string sheet;         // as written; empty for the formula's own worksheet
    bool every_sheet = false;  // over a run of worksheets ("Jan:Dec!B2")
    int top = 0, left = 0, bottom = 0, right = 0;
    bool operator==(const FormulaArea&) const = default;
};

// The cells a formula reads, as far as its text tells: the blocks it names, and the
// defined names it uses. Unknown when it may read cells that the text does not
// name: INDIRECT, OFFSET, a table's columns, or a text that cannot be read.
// References to other workbooks are left out.
//   ReadFormulaReach("SUM(Cases!DD2:DD21)*Rate") gives the block DD2:DD21 of "Cases" and "Rate".
struct FormulaReach {
    std::vector<FormulaArea> areas;
    std::vector<std::string> names;
    bool unknown = false;
};
FormulaReach ReadFormulaReach(std::string_view formula);

}  // namespace sheet
