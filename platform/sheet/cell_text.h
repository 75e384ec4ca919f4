#pragma once
// Cell names and the text forms that spreadsheet files store cells in.
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace sheet {

// The grid of a worksheet.
constexpr int kMaxRow = 1048576;
constexpr int kMaxColumn = 16384;  // "XFD"

// "A" is 1, "Z" 26, "AA" 27; 0 for anything that is no column of the grid.
int ColumnNumber(std::string_view letters);
// 1 is "A"; empty outside the grid.
std::string ColumnLetters(int column);
// (2, 1) is "A2".
std::string CellName(int row, int column);
// "B12" is {12, 2}; nullopt for a name that is no cell of the grid.
std::optional<std::pair<int, int>> ParseCellName(std::string_view name);

// The shortest decimal text that reads back as the same double ("0.5", "1e+20",
// "0.032999999821186066" for 0.033f widened). Finite values only.
std::string NumberText(double value);
// A stored number ("12", "-1.5E-3"); nullopt for anything else.
std::optional<double> ParseNumberText(std::string_view text);

// Stored texts spell characters that XML cannot hold as _xHHHH_ (_x000D_ a carriage
// return); a literal "_x" that would read as such is written _x005F_x.
std::string DecodeEscapes(std::string_view stored);
std::string EncodeEscapes(std::string_view text);

// The text with every byte sequence that is not UTF-8 replaced by U+FFFD.
std::string ValidUtf8(std::string_view text);

// Names in a workbook (worksheets, defined names, functions, parts) are the same
// whatever the letter case of their ASCII letters.
bool SameLetters(std::string_view a, std::string_view b);
std::string InCapitals(std::string_view name);

}  // namespace sheet
