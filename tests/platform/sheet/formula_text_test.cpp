// Formula texts carried to another cell: which parts move, which stay, and the
// texts that cannot be carried; and the cells a formula reads.
#include <gtest/gtest.h>

#include "platform/sheet/formula_text.h"

namespace {

struct Case {
    const char* formula;
    int rows, columns;
    std::optional<std::string> shifted;
};

TEST(ShiftFormula, RelativeReferencesMoveAndEverythingElseStays) {
    const Case cases[] = {
        {"A2*$B$1+SUM(C2:C9)", 1, 0, "A3*$B$1+SUM(C3:C10)"},
        {"A2", 0, 1, "B2"},
        {"$A2+A$2", 2, 3, "$A4+D$2"},
        {"B2+C3", -1, -1, "A1+B2"},
        {"a1*2", 1, 0, "A2*2"},
        {"SUM(A:A)+SUM($B:C)", 1, 1, "SUM(B:B)+SUM($B:D)"},
        {"SUM(2:3)+SUM($2:3)", 1, 0, "SUM(3:4)+SUM($2:4)"},
        {"A1:B2 C1:C5", 1, 0, "A2:B3 C2:C6"},
        {"\"A1\"&A1&\"say \"\"B2\"\"\"", 1, 0, "\"A1\"&A2&\"say \"\"B2\"\"\""},
        {"Sheet2!A1+'My Sheet'!B2+'It''s A1'!C3", 1, 0, "Sheet2!A2+'My Sheet'!B3+'It''s A1'!C4"},
        {"[1]Sheet1!A1", 1, 0, "[1]Sheet1!A2"},
        {"SUM(Jan:Dec!B2)+SUM(A:B)", 1, 1, "SUM(Jan:Dec!C3)+SUM(B:C)"},
        {"LOG10(A1)+ATAN2(B1,C1)", 1, 0, "LOG10(A2)+ATAN2(B2,C2)"},
        {"SUM(Table1[Col A1])+Table1[[#This Row],['[x']]]+A1", 1, 0,
         "SUM(Table1[Col A1])+Table1[[#This Row],['[x']]]+A2"},
        {"IFERROR(A1,#N/A)+#REF!+#DIV/0!", 1, 0, "IFERROR(A2,#N/A)+#REF!+#DIV/0!"},
        {"1.5E+3*A1+2+1E5", 1, 0, "1.5E+3*A2+2+1E5"},
        {"Rate*A1+TRUE+_xlfn.STDEV.S(B1:B3)", 1, 0, "Rate*A2+TRUE+_xlfn.STDEV.S(B2:B4)"},
        {"{1,2;3,4}*A1", 0, 2, "{1,2;3,4}*C1"},
        {"$A$1048576+$XFD$1", 1, 1, "$A$1048576+$XFD$1"},
        {"", 3, 3, ""},
        // References that would leave the grid, and texts that do not end.
        {"A1048576", 1, 0, std::nullopt},
        {"XFD1", 0, 1, std::nullopt},
        {"XFD:XFD", 0, 1, std::nullopt},
        {"A1", -1, 0, std::nullopt},
        {"\"open", 1, 0, std::nullopt},
        {"'Sheet!A1", 1, 0, std::nullopt},
        {"Table1[Col", 1, 0, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sheet::ShiftFormula(c.formula, c.rows, c.columns), c.shifted)
            << c.formula << " by " << c.rows << "," << c.columns;
}

TEST(ReadFormulaReach, TheBlocksAndNamesAFormulaReads) {
    using sheet::FormulaArea;
    constexpr int kRows = 1048576, kColumns = 16384;  // the grid
    struct Reach {
        const char* formula;
        std::vector<FormulaArea> areas;
        std::vector<std::string> names;
        bool unknown;
    };
    const Reach cases[] = {
        {"SUM(Cases!DD2:DD21)", {{"Cases", false, 2, 108, 21, 108}}, {}, false},
        {"SUM(cases!$DD$21:DD2)", {{"cases", false, 2, 108, 21, 108}}, {}, false},
        {"'My Cases'!B3*2+'It''s'!A1", {{"My Cases", false, 3, 2, 3, 2}, {"It's", false, 1, 1, 1, 1}}, {}, false},
        {"A1+$C$3:B2", {{"", false, 1, 1, 1, 1}, {"", false, 2, 2, 3, 3}}, {}, false},
        {"MAX(Cases!AU:AU)+SUM(3:2)", {{"Cases", false, 1, 47, kRows, 47}, {"", false, 2, 1, 3, kColumns}}, {}, false},
        {"SUM(Jan:Dec!B2)+'Q1:Q4'!C1", {{"Dec", true, 2, 2, 2, 2}, {"Q1:Q4", true, 1, 3, 1, 3}}, {"Jan"}, false},
        {"Weights*Rate+TRUE+1.5E+3-Cases!Total", {}, {"Weights", "Rate", "Total"}, false},
        {"LOG10(A1)+{1,2;3,4}*B1&TEXT(C1,\"[h]:mm\")",
         {{"", false, 1, 1, 1, 1}, {"", false, 1, 2, 1, 2}, {"", false, 1, 3, 1, 3}}, {}, false},
        // Other workbooks are not this one's business.
        {"[1]Cases!DD2+'[2]Other sheet'!A1+[1]!Total", {}, {}, false},
        // Cells that the text does not name.
        {"INDIRECT(\"Cases!DD\"&ROW())", {}, {}, true},
        {"SUM(OFFSET(A1,1,0,3))", {{"", false, 1, 1, 1, 1}}, {}, true},
        {"SUM(Weights[Total])", {}, {}, true},
        {"[@Total]*2", {}, {}, true},
        {"\"open", {}, {}, true},
    };
    for (const Reach& c : cases) {
        const sheet::FormulaReach reach = sheet::ReadFormulaReach(c.formula);
        EXPECT_EQ(reach.areas, c.areas) << c.formula;
        EXPECT_EQ(reach.names, c.names) << c.formula;
        EXPECT_EQ(reach.unknown, c.unknown) << c.formula;
    }
}

}  // namespace
