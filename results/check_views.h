#pragma once
// The views of the check grid as data: which view an item of the view selector opens
// for each family and side, the shape and row titles of every view, the selector's
// item lists, and the colour rule of the painting. Pure: the form applies them.
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/types.h"

enum class TCheckFamily { DiagonalWelded, DiagonalBolted, ChevronWelded, ChevronBolted };

// By exact text: anything but "Chevron" is Diagonal, anything but "Bolted" welded.
TCheckFamily CheckFamilyOf(const std::string& cfg, const std::string& ctype);
bool IsChevron(TCheckFamily family);
bool IsBolted(TCheckFamily family);

enum class TCheckViewKind {
    ListBolted,
    ListDiagonalWelded,
    ListChevronWelded,
    ListMiddle,
    Detail,              // short "Limit State" row
    DetailTall,
    DetailWithPart,
    DetailWithPartTall,
    ConnectionDetail,
};

struct TCheckViewShape {
    int ColCount;
    int RowHeight;
    int FontSize;
    std::vector<int> ColWidths;
    int TallRowHeight;  // height of row 1 in a detail view; 0 in a list
};

const TCheckViewShape& CheckViewShape(TCheckViewKind kind);

// Column 0 of the view, from row 0 down; "\n" breaks a title in a detail view. The
// middle list names the bolted or the welded middle checks.
std::vector<std::string> CheckViewTitles(TCheckViewKind kind, bool bolted);

// The view that an item index opens; nothing for an index without one (-1 too). In
// a Chevron bay every side item but 0 and 2 (none chosen too) means the middle plate.
std::optional<TCheckViewKind> CheckViewFor(TCheckFamily family, int side_index, int item_index);

bool IsCheckList(TCheckViewKind kind);

// The item lists of the view selector.
enum class TCheckOptionList {
    Bolted,        // every bolted family
    Welded,        // a welded bay, upper and lower in small letters
    WeldedSide,    // one side of a Chevron welded bay, Upper and Lower capitalised
    BoltedMiddle,  // the middle plate of a Chevron bolted bay
    WeldedMiddle,  // the middle plate of a Chevron welded bay
};

const std::vector<std::string>& CheckOptionItems(TCheckOptionList list);

// The list of a Chevron bay: the middle plate's, or a side's (a welded side's with
// Upper and Lower capitalised when asked).
TCheckOptionList ChevronCheckOptionList(bool bolted, bool middle, bool capitalised);

// The colour of a row of the check grid. In a list a row whose column 2 holds any
// text is red; in a detail view (or with no view) the last row is red when its
// column 1 reads "NG" and lime when it reads "OK"; every other row alternates even,
// odd.
TColor CheckRowColor(bool list_view, int row, int row_count, const std::string& col1, const std::string& col2,
                     TColor even, TColor odd);
