// The check grid's views as data: the view of every item per family and side, each
// view's size by the sizing formula, the row titles, the option lists and the colour
// rule of the painting.
#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "results/check_views.h"
#include "results/grid_sizing.h"

namespace {

using F = TCheckFamily;
using K = TCheckViewKind;

struct Size {
    int cols, rows, width, height;
    bool operator==(const Size&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Size& s) {
    return os << s.cols << " columns, " << s.rows << " rows, " << s.width << " x " << s.height;
}

Size SizeOf(K kind, bool bolted) {
    const TCheckViewShape& shape = CheckViewShape(kind);
    const int rows = static_cast<int>(CheckViewTitles(kind, bolted).size());
    const int extra = shape.TallRowHeight ? shape.TallRowHeight - shape.RowHeight : 0;
    return {shape.ColCount, rows, GridWidthFor(shape.ColWidths, 1), GridHeightFor(shape.RowHeight, 1, rows, extra)};
}

TEST(CheckViews, EveryItemOfEveryFamilyOpensItsViewSizedToItsCells) {
    struct Case {
        F family;
        int side;
        std::vector<int> items;
        std::optional<K> kind;
        Size size;
    };
    const Size list_bolted{3, 26, 168, 469}, list_diagonal{3, 21, 168, 484}, list_chevron{3, 15, 168, 346},
        list_middle{3, 3, 168, 70}, detail{2, 7, 173, 221}, tall{2, 7, 173, 256}, part{2, 8, 173, 250},
        part_tall{2, 8, 173, 285}, connection{2, 10, 178, 394}, none{};
    const Case cases[] = {
        {F::DiagonalWelded, 0, {0}, K::ListDiagonalWelded, list_diagonal},
        {F::DiagonalWelded, 1, {1, 5}, K::Detail, detail},
        {F::DiagonalWelded, 0, {2}, K::DetailTall, tall},
        {F::DiagonalWelded, 0, {3, 4}, K::DetailWithPartTall, part_tall},
        {F::DiagonalWelded, 0, {6, 7, 8, 9}, K::DetailWithPart, part},
        {F::DiagonalWelded, 0, {10, 15, 16, 21}, K::ConnectionDetail, connection},
        {F::DiagonalWelded, 0, {-1, 22}, std::nullopt, none},
        {F::ChevronWelded, 0, {0}, K::ListChevronWelded, list_chevron},
        {F::ChevronWelded, 2, {1, 5}, K::Detail, detail},
        {F::ChevronWelded, 2, {3, 4}, K::DetailWithPartTall, part_tall},
        {F::ChevronWelded, 0, {10, 15}, K::ConnectionDetail, connection},
        {F::ChevronWelded, 2, {-1, 16}, std::nullopt, none},
        {F::ChevronWelded, 1, {0}, K::ListMiddle, list_middle},
        {F::ChevronWelded, -1, {0}, K::ListMiddle, list_middle},
        {F::ChevronWelded, 1, {1, 3}, K::ConnectionDetail, connection},
        {F::ChevronWelded, 1, {-1, 4}, std::nullopt, none},
        {F::DiagonalBolted, 0, {0}, K::ListBolted, list_bolted},
        {F::ChevronBolted, 2, {0}, K::ListBolted, list_bolted},
        {F::DiagonalBolted, 0, {1, 8, 10}, K::Detail, detail},
        {F::ChevronBolted, 0, {2, 5}, K::DetailTall, tall},
        {F::DiagonalBolted, 0, {6, 7}, K::DetailWithPartTall, part_tall},
        {F::DiagonalBolted, 0, {11, 14}, K::DetailWithPart, part},
        {F::ChevronBolted, 0, {15, 20, 21, 26}, K::ConnectionDetail, connection},
        {F::DiagonalBolted, 0, {-1, 27}, std::nullopt, none},
        {F::ChevronBolted, 1, {0}, K::ListMiddle, list_middle},
        {F::ChevronBolted, 1, {2}, K::ConnectionDetail, connection},
    };
    for (const Case& c : cases) {
        for (int item : c.items) {
            SCOPED_TRACE("family " + std::to_string(static_cast<int>(c.family)) + " side " + std::to_string(c.side) +
                         " item " + std::to_string(item));
            const std::optional<K> kind = CheckViewFor(c.family, c.side, item);
            ASSERT_EQ(kind, c.kind);
            if (kind) {
                EXPECT_EQ(SizeOf(*kind, IsBolted(c.family)), c.size);
            }
        }
    }
}

TEST(CheckViews, ListShapesAndDetailRowsWithTheirTallLimitStateRow) {
    EXPECT_EQ(CheckViewShape(K::ListBolted).RowHeight, 17);
    EXPECT_EQ(CheckViewShape(K::ListBolted).FontSize, 7);
    EXPECT_EQ(CheckViewShape(K::ListDiagonalWelded).FontSize, 8);
    EXPECT_EQ(CheckViewShape(K::ListMiddle).ColWidths, (std::vector<int>{100, 30, 34}));
    EXPECT_EQ(CheckViewShape(K::DetailWithPart).TallRowHeight, 45);
    EXPECT_EQ(CheckViewShape(K::DetailTall).TallRowHeight, 80);
    EXPECT_EQ(CheckViewShape(K::ConnectionDetail).TallRowHeight, 95);
    EXPECT_EQ(CheckViewShape(K::ConnectionDetail).FontSize, 8);
    EXPECT_EQ(CheckViewShape(K::Detail).FontSize, 10);

    EXPECT_EQ(CheckViewTitles(K::Detail, false),
              (std::vector<std::string>{"Symbol", "Limit \nState", "Unit", "Demand", "Capacity", "DCR", "Check"}));
    EXPECT_EQ(CheckViewTitles(K::DetailWithPartTall, true),
              (std::vector<std::string>{"Symbol", "Limit \nState", "Part", "Unit", "Demand", "Capacity", "DCR",
                                        "Check"}));
    EXPECT_EQ(CheckViewTitles(K::ConnectionDetail, false),
              (std::vector<std::string>{"Symbol", "Limit \nState", "Part", "Connection", "Item", "Unit", "Demand",
                                        "Capacity", "DCR", "Check"}));
}

TEST(CheckViews, ListNamesPutLowerBeforeUpperExceptInAChevronSide) {
    const auto diagonal = CheckViewTitles(K::ListDiagonalWelded, false);
    EXPECT_EQ(diagonal[2], "DCR-3-Lower");
    EXPECT_EQ(diagonal[3], "DCR-3-Upper");
    EXPECT_EQ(diagonal[8], "DCR-6-Upper");
    EXPECT_EQ(diagonal[9], "DCR-7-1-Lower");
    EXPECT_EQ(diagonal[14], "DCR-7-6-Lower");
    EXPECT_EQ(diagonal[15], "DCR-7-1-Upper");
    EXPECT_EQ(diagonal[20], "DCR-7-6-Upper");

    const auto bolted = CheckViewTitles(K::ListBolted, true);
    EXPECT_EQ(bolted[4], "DCR-5");
    EXPECT_EQ(bolted[5], "DCR-6-Lower");
    EXPECT_EQ(bolted[13], "DCR-11-Upper");
    EXPECT_EQ(bolted[14], "DCR-12-1-Lower");
    EXPECT_EQ(bolted[25], "DCR-12-6-Upper");

    const auto chevron = CheckViewTitles(K::ListChevronWelded, false);
    EXPECT_EQ(chevron[2], "DCR-3-Upper");
    EXPECT_EQ(chevron[3], "DCR-3-Lower");
    EXPECT_EQ(chevron[9], "DCR-7-1");
    EXPECT_EQ(chevron[14], "DCR-7-6");

    EXPECT_EQ(CheckViewTitles(K::ListMiddle, false),
              (std::vector<std::string>{"DCR-7-1-Middle", "DCR-7-2-Middle", "DCR-7-3-Middle"}));
    EXPECT_EQ(CheckViewTitles(K::ListMiddle, true),
              (std::vector<std::string>{"DCR-12-1-Middle", "DCR-12-2-Middle", "DCR-12-3-Middle"}));
}

TEST(CheckViews, OptionListsByConnectionAndSide) {
    struct Case {
        TCheckOptionList list;
        size_t count;
        int probe;
        const char* item;
        const char* last;
    };
    const Case cases[] = {
        {TCheckOptionList::Bolted, 21, 6, "DCR-6-upper", "DCR-12-6"},
        {TCheckOptionList::Welded, 16, 3, "DCR-3-upper", "DCR-7-6"},
        {TCheckOptionList::WeldedSide, 16, 3, "DCR-3-Upper", "DCR-7-6"},
        {TCheckOptionList::BoltedMiddle, 4, 1, "DCR-12-1", "DCR-12-3"},
        {TCheckOptionList::WeldedMiddle, 4, 1, "DCR-7-1", "DCR-7-3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.last);
        const auto& items = CheckOptionItems(c.list);
        ASSERT_EQ(items.size(), c.count);
        EXPECT_EQ(items[0], "all");
        EXPECT_EQ(items[c.probe], c.item);
        EXPECT_EQ(items.back(), c.last);
    }
    // The welded list and the side list differ only in the case of upper and lower.
    auto lower = [](std::vector<std::string> items) {
        for (std::string& item : items)
            for (char& ch : item) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        return items;
    };
    EXPECT_NE(CheckOptionItems(TCheckOptionList::Welded), CheckOptionItems(TCheckOptionList::WeldedSide));
    EXPECT_EQ(lower(CheckOptionItems(TCheckOptionList::Welded)), lower(CheckOptionItems(TCheckOptionList::WeldedSide)));

    EXPECT_EQ(ChevronCheckOptionList(true, true, true), TCheckOptionList::BoltedMiddle);
    EXPECT_EQ(ChevronCheckOptionList(true, false, false), TCheckOptionList::Bolted);
    EXPECT_EQ(ChevronCheckOptionList(false, true, false), TCheckOptionList::WeldedMiddle);
    EXPECT_EQ(ChevronCheckOptionList(false, false, true), TCheckOptionList::WeldedSide);
    EXPECT_EQ(ChevronCheckOptionList(false, false, false), TCheckOptionList::Welded);
}

TEST(CheckViews, FamiliesAreChosenByExactText) {
    EXPECT_EQ(CheckFamilyOf("Chevron", "Bolted"), F::ChevronBolted);
    EXPECT_EQ(CheckFamilyOf("Chevron", "Welded"), F::ChevronWelded);
    EXPECT_EQ(CheckFamilyOf("Chevron", "bolted"), F::ChevronWelded);
    EXPECT_EQ(CheckFamilyOf("chevron", "Bolted"), F::DiagonalBolted);
    EXPECT_EQ(CheckFamilyOf("", ""), F::DiagonalWelded);
}

TEST(CheckViews, RowColoursOfListsAndDetailViews) {
    const TColor even = 8404992, odd = 16747546;
    struct Case {
        const char* what;
        bool list;
        int row, rows;
        const char* col1;
        const char* col2;
        TColor colour;
    };
    const Case cases[] = {
        {"a failed row of a list", true, 3, 21, "1.02", " NG", clRed},
        {"any text in column 2 marks it", true, 4, 21, "", "x", clRed},
        {"a passing even row", true, 2, 21, "0.51", "", even},
        {"a passing odd row", true, 1, 21, "0.51", "", odd},
        {"a list's last row ignores a verdict", true, 20, 21, "NG", "", even},
        {"a failed verdict", false, 6, 7, "NG", "", clRed},
        {"a passed verdict", false, 6, 7, "OK", "", clLime},
        {"no verdict is no pass", false, 9, 10, "", "", odd},
        {"an unknown verdict", false, 6, 7, "?", "", even},
        {"a check not computed", false, 7, 8, "n/a", "", odd},
        {"a verdict only when exact", false, 6, 7, " NG", "", even},
        {"marks left in column 2 no longer colour a detail row", false, 3, 7, "1.2", " NG", odd},
        {"detail rows alternate from row 0", false, 0, 7, "DCR-1", "", even},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckRowColor(c.list, c.row, c.rows, c.col1, c.col2, even, odd), c.colour) << c.what;
}

}  // namespace
