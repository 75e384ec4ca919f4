#pragma once
// The views of the BRB summary grid as data: each row's label, the result key of its
// value and the form the value is written in, with the grid's metrics per view; and
// the texts of the value column. Pure: the form lays out and fills its grid from them.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/output_formats.h"
#include "core/side_tables.h"
#include "platform/ui/types.h"
#include "results/check_views.h"
#include "service/jsonxx/jsonxx.h"

// How a row's value is written.
enum class TBrbForm {
    Empty,        // a heading: the empty text
    Number,       // the display form of result numbers
    Whole,        // cut toward zero, then the display form
    Picture,      // by the row's picture
    Text,         // the stored text
    NumberOrCjp,  // "CJP" while the plate thickness "t_g" is 20 or more
    MiddleTb,     // the same rule on the middle plate's "t_g"
    MiddleLsf,    // the plain "0" while "Lsf_mid" is below half of "Lv_mid"
};

struct TBrbRow {
    std::string Label;
    std::string Key;    // empty for a heading
    TBrbForm Form;      // from the top level of a result
    TBrbForm SideForm;  // from the values of one side of a Chevron bay
    const char* Picture = nullptr;
};

enum class TBrbTable {
    Summary,
    Core,
    Casing,
    GussetDiagonal,  // lower and upper plate
    GussetLeft,      // a Chevron bay's left brace
    GussetMiddle,    // a Chevron bay's middle plate
    GussetRight,     // a Chevron bay's right brace
    GussetNoSide,    // a Chevron bay's gusset view with no side chosen: no rows
};

struct TBrbView {
    int RowHeight;
    int Col0Width;
    int Col1Width;
    std::vector<TBrbRow> Rows;
};

const TBrbView& BrbView(TBrbTable table);

// The table that the layout shows for a view item (0 Summary, 1 Core, 2 Casing,
// 3 Gusset) and, in a Chevron bay's gusset view, the side item (0 left, 1 middle,
// 2 right); nothing for any other view item.
std::optional<TBrbTable> BrbLayoutTable(int view_index, bool chevron, int side_index);

// The table that a Chevron bay's side fill writes: the gusset view reads the middle
// plate for side item 1, the left brace for 0 and the right brace for anything else.
std::optional<TBrbTable> BrbSideFillTable(int view_index, int side_index);

// The side key that a Chevron fill reads for the table: "MIDDLE", "LEFT" or "RIGHT";
// outside the gusset view the side item decides (0 left, else right).
const char* BrbFillSide(TBrbTable table, int side_index);

// Where the values come from: a number or a text by key, nothing when the key is
// absent or holds another kind of value.
struct TBrbSource {
    std::function<std::optional<double>(const std::string& key)> Number;
    std::function<std::optional<std::string>(const std::string& key)> Text;
};

// The window's sources. The top level of a result: a number or a text of the right
// kind. One side of a Chevron bay: its entries, read without entering what is
// missing. Both keep references to the tables they read.
TBrbSource BrbTopLevelSource(const jsonxx::Object& result);
TBrbSource BrbSideSource(const SideValueTable& values, const SideTextTable& texts, const std::string& side);

// The value column of a table, row by row: in the side forms when side_forms is
// set, else in the top-level forms. A value the source does not have shows "?".
std::vector<std::string> BrbValueTexts(TBrbTable table, bool side_forms, const TBrbSource& source,
                                       const TOutputFormats& formats);

// The keys of the numbers that the grid shows from the top level of a result of the
// bay: every view of a Diagonal bay, a Chevron bolted bay's views but the gusset
// view, nothing of a Chevron welded bay (its grid reads the sides).
std::vector<std::string> BrbTopLevelNumberKeys(TCheckFamily bay);

// The row colours of the BRB grid: even and odd rows, whatever the cells hold.
inline TColor BrbRowColor(int row, TColor even, TColor odd) { return row % 2 == 1 ? odd : even; }
