// The check lists against the keys the service writes, the ratio text and fail rule,
// the rows of the all-checks list, the cells of detail views, and the counts.
#include <gtest/gtest.h>

#include <map>

#include "core/result_reader.h"
#include "design_service/run_support.h"
#include "platform/text/regional.h"
#include "results/check_catalogue.h"

namespace {

const TUnitLabels kTonf{"tonf", "mm", "tonf/mm^2", "tonf-mm", "tonf/mm"};
const std::string kG = "Gusset Strength \nat the \nConnection \nto \nColumn or Beam";
const std::string kToBeam = "Gusset\xE2\x80\x93\nto-Beam";  // en dash, then the line feed
const std::string kToColumn = "Gusset\xE2\x80\x93\nto-Column";

std::string Fixture(const std::string& name) {
    return testing_support::ReadFile(testing_support::FixturePath(name));
}

TCheckValues MapValues(const std::map<std::string, double>& values) {
    return [values](const std::string& key) -> std::optional<double> {
        const auto v = values.find(key);
        if (v == values.end()) return std::nullopt;
        return v->second;
    };
}

// Every check's ratio, demand and capacity as values of `check` itself.
TCheckValues Uniform(double ratio, double demand = 1, double capacity = 1) {
    return [=](const std::string& key) -> std::optional<double> {
        if (key.rfind("DCR_", 0) == 0) return ratio;
        return key.rfind("Demand_", 0) == 0 ? demand : capacity;
    };
}

std::vector<std::string> Symbols(CheckCatalogue checks) {
    std::vector<std::string> symbols;
    for (const TCheckEntry& c : checks) symbols.push_back(c.Symbol);
    return symbols;
}

// ---- The lists ------------------------------------------------------------------

TEST(CheckCatalogues, ListsRunInPlaceOrderUpperBeforeLower) {
    EXPECT_EQ(Symbols(WeldedCheckCatalogue()),
              (std::vector<std::string>{"DCR-1", "DCR-2", "DCR-3-Upper", "DCR-3-Lower", "DCR-4", "DCR-5-Upper",
                                        "DCR-5-Lower", "DCR-6-Upper", "DCR-6-Lower", "DCR-7-1-Upper",
                                        "DCR-7-2-Upper", "DCR-7-3-Upper", "DCR-7-4-Upper", "DCR-7-5-Upper",
                                        "DCR-7-6-Upper", "DCR-7-1-Lower", "DCR-7-2-Lower", "DCR-7-3-Lower",
                                        "DCR-7-4-Lower", "DCR-7-5-Lower", "DCR-7-6-Lower"}));
    EXPECT_EQ(Symbols(BoltedCheckCatalogue()),
              (std::vector<std::string>{"DCR-1", "DCR-2", "DCR-3", "DCR-4", "DCR-5", "DCR-6-Upper", "DCR-6-Lower",
                                        "DCR-7", "DCR-8", "DCR-9", "DCR-10-Upper", "DCR-10-Lower", "DCR-11-Upper",
                                        "DCR-11-Lower", "DCR-12-1-Upper", "DCR-12-2-Upper", "DCR-12-3-Upper",
                                        "DCR-12-4-Upper", "DCR-12-5-Upper", "DCR-12-6-Upper", "DCR-12-1-Lower",
                                        "DCR-12-2-Lower", "DCR-12-3-Lower", "DCR-12-4-Lower", "DCR-12-5-Lower",
                                        "DCR-12-6-Lower"}));
    // A Chevron side: places 1-9, then the lower end's connection checks.
    const CheckCatalogue side = ChevronWeldedSideCatalogue();
    ASSERT_EQ(side.size(), 15u);
    for (std::size_t i = 0; i < side.size(); ++i) EXPECT_EQ(side[i].Place, i < 9 ? int(i) + 1 : int(i) + 7);
    EXPECT_EQ(Symbols(WeldedMiddleCatalogue()), (std::vector<std::string>{"DCR-7-1", "DCR-7-2", "DCR-7-3"}));
    EXPECT_EQ(Symbols(BoltedMiddleCatalogue()), (std::vector<std::string>{"DCR-12-1", "DCR-12-2", "DCR-12-3"}));
    for (CheckCatalogue list : {WeldedCheckCatalogue(), BoltedCheckCatalogue(), WeldedMiddleCatalogue()})
        for (std::size_t i = 0; i < list.size(); ++i) EXPECT_EQ(list[i].Place, int(i) + 1) << list[i].Symbol;
}

// The keys of each list are those the service writes for its family and side.
TEST(CheckCatalogues, EveryKeyIsANumberOfTheServicesResult) {
    struct Case {
        const char* fixture;
        CheckCatalogue checks;
        const char* side;  // nullptr: the top level
    } cases[] = {
        {"run-result-diagonal-welded.json", WeldedCheckCatalogue(), nullptr},
        {"run-result-diagonal-bolted.json", BoltedCheckCatalogue(), nullptr},
        {"run-result-chevron-welded.json", ChevronWeldedSideCatalogue(), "LEFT"},
        {"run-result-chevron-welded.json", WeldedMiddleCatalogue(), nullptr},
        {"run-result-chevron-bolted.json", BoltedMiddleCatalogue(), nullptr},
    };
    for (const Case& c : cases) {
        jsonxx::Object result;
        ASSERT_TRUE(ParseResultText(Fixture(c.fixture), result)) << c.fixture;
        const jsonxx::Object& from = c.side ? result.get<jsonxx::Object>(c.side) : result;
        for (const TCheckEntry& check : c.checks)
            for (const std::string& key : {RatioKey(check), DemandKey(check), CapacityKey(check)})
                EXPECT_TRUE(from.has<double>(key)) << c.fixture << ": " << key;
    }
}

TEST(CheckCatalogues, TextsKeepTheirBlanksBeforeLineFeedsAndTheEnDash) {
    for (CheckCatalogue list : {WeldedCheckCatalogue(), BoltedCheckCatalogue(), WeldedMiddleCatalogue(),
                                BoltedMiddleCatalogue()}) {
        for (const TCheckEntry& c : list) {
            const std::string limit = c.LimitState;
            for (std::size_t at = limit.find('\n'); at != std::string::npos; at = limit.find('\n', at + 1))
                EXPECT_EQ(limit[at - 1], ' ') << c.Symbol;
            if (c.Connection) {
                EXPECT_TRUE(c.Connection == kToBeam || c.Connection == kToColumn) << c.Symbol;
                EXPECT_EQ(c.Unit, TCheckUnit::Stress) << c.Symbol;
                EXPECT_STREQ(c.Picture, "0.####") << c.Symbol;
            }
        }
    }
    EXPECT_EQ(BoltedCheckCatalogue()[7].LimitState, std::string("Joint \nRegion \nBlock \nShear Failure"));
    EXPECT_EQ(WeldedMiddleCatalogue()[0].LimitState, std::string("Gusset Strength \nat the \nConnection \nto \nBeam"));
}

// ---- Every entry against the tables it was written from ------------------------

// One check as the grid shows it: the symbol of the all-checks list, the texts of its
// detail view down to the unit (an empty text has no row), its number picture and
// its key suffix.
struct CheckRow {
    std::string symbol;
    std::string detail_symbol;  // empty: the same as symbol
    std::string limit_state;
    std::string part;
    std::string connection;
    std::string item;
    std::string unit;
    std::string picture;
    std::string suffix;
};

const std::string kM = "Gusset Strength \nat the \nConnection \nto \nBeam";
const std::string kVon = "von Mises \nYield Criterion";
const std::string kTension = "Tensile \nRupture";
const std::string kShear = "Shear \nRupture";
const std::string kMm4 = "mm^4";
const std::string kForce = "tonf";
const std::string kStress = "tonf/mm^2";
const std::string kCasing = "Steel Casing \nBuckling";
const std::string kCoreBuckling = "Joint Region \nof \nSteel Core \nBuckling";

const std::vector<CheckRow> kWeldedTable = {
    {"DCR-1", "", kCasing, "", "", "", kMm4, "0.00E+00", "1"},
    {"DCR-2", "", "Joint Region \nof \nSteel Core \nYielding", "", "", "", kForce, "0.#", "2"},
    {"DCR-3-Upper", "", kCoreBuckling, "Upper", "", "", kForce, "0.#", "3_up"},
    {"DCR-3-Lower", "", kCoreBuckling, "Lower", "", "", kForce, "0.#", "3_down"},
    {"DCR-4", "", "Gusset \nBlock Shear", "", "", "", kForce, "0.#", "4"},
    {"DCR-5-Upper", "", "Gusset Plate \nYielding", "Upper", "", "", kForce, "0.#", "5_up"},
    {"DCR-5-Lower", "", "Gusset Plate \nYielding", "Lower", "", "", kForce, "0.#", "5_down"},
    {"DCR-6-Upper", "", "Gusset Plate \nBuckling", "Upper", "", "", kForce, "0.#", "6_up"},
    {"DCR-6-Lower", "", "Gusset Plate \nBuckling", "Lower", "", "", kForce, "0.#", "6_down"},
    {"DCR-7-1-Upper", "", kG, "Upper", kToBeam, kVon, kStress, "0.####", "7_up_c1"},
    {"DCR-7-2-Upper", "", kG, "Upper", kToBeam, kTension, kStress, "0.####", "7_up_c2"},
    {"DCR-7-3-Upper", "", kG, "Upper", kToBeam, kShear, kStress, "0.####", "7_up_c3"},
    {"DCR-7-4-Upper", "", kG, "Upper", kToColumn, kVon, kStress, "0.####", "7_up_c4"},
    {"DCR-7-5-Upper", "", kG, "Upper", kToColumn, kTension, kStress, "0.####", "7_up_c5"},
    {"DCR-7-6-Upper", "", kG, "Upper", kToColumn, kShear, kStress, "0.####", "7_up_c6"},
    {"DCR-7-1-Lower", "", kG, "Lower", kToBeam, kVon, kStress, "0.####", "7_down_c1"},
    {"DCR-7-2-Lower", "", kG, "Lower", kToBeam, kTension, kStress, "0.####", "7_down_c2"},
    {"DCR-7-3-Lower", "", kG, "Lower", kToBeam, kShear, kStress, "0.####", "7_down_c3"},
    {"DCR-7-4-Lower", "", kG, "Lower", kToColumn, kVon, kStress, "0.####", "7_down_c4"},
    {"DCR-7-5-Lower", "", kG, "Lower", kToColumn, kTension, kStress, "0.####", "7_down_c5"},
    {"DCR-7-6-Lower", "", kG, "Lower", kToColumn, kShear, kStress, "0.####", "7_down_c6"},
};

// Shared by the Diagonal and the Chevron bolted tables.
const std::vector<CheckRow> kBoltedTable = {
    {"DCR-1", "", kCasing, "", "", "", kMm4, "0.00E+00", "1"},
    {"DCR-2", "", "Shear \nStrength \nof Bolts", "", "", "", kForce, "0.#", "2"},
    {"DCR-3", "", "Bearing \nStrength \nat BRB End \nBolt Hole", "", "", "", kForce, "0.#", "3"},
    {"DCR-4", "", "Joint Region \nof \nSteel Core \nYielding", "", "", "", kForce, "0.#", "4"},
    {"DCR-5", "", "Joint Region \nTensile \nRupture", "", "", "", kForce, "0.#", "5"},
    {"DCR-6-Upper", "", kCoreBuckling, "Upper", "", "", kForce, "0.#", "6_up"},
    {"DCR-6-Lower", "", kCoreBuckling, "Lower", "", "", kForce, "0.#", "6_down"},
    {"DCR-7", "", "Joint \nRegion \nBlock \nShear Failure", "", "", "", kForce, "0.#", "7"},
    {"DCR-8", "", "Bearing \nStrength \nat Gusset \nBolt Hole", "", "", "", kForce, "0.#", "8"},
    {"DCR-9", "", "Gusset Plate \nBlock Shear \nFailure", "", "", "", kForce, "0.#", "9"},
    {"DCR-10-Upper", "", "Gusset Plate \nYielding", "Upper", "", "", kForce, "0.#", "10_up"},
    {"DCR-10-Lower", "", "Gusset Plate \nYielding", "Lower", "", "", kForce, "0.#", "10_down"},
    {"DCR-11-Upper", "", "Gusset Plate \nBuckling", "Upper", "", "", kForce, "0.#", "11_up"},
    {"DCR-11-Lower", "", "Gusset Plate \nBuckling", "Lower", "", "", kForce, "0.#", "11_down"},
    {"DCR-12-1-Upper", "", kG, "Upper", kToBeam, kVon, kStress, "0.####", "12_up_c1"},
    {"DCR-12-2-Upper", "", kG, "Upper", kToBeam, kTension, kStress, "0.####", "12_up_c2"},
    {"DCR-12-3-Upper", "", kG, "Upper", kToBeam, kShear, kStress, "0.####", "12_up_c3"},
    {"DCR-12-4-Upper", "", kG, "Upper", kToColumn, kVon, kStress, "0.####", "12_up_c4"},
    {"DCR-12-5-Upper", "", kG, "Upper", kToColumn, kTension, kStress, "0.####", "12_up_c5"},
    {"DCR-12-6-Upper", "", kG, "Upper", kToColumn, kShear, kStress, "0.####", "12_up_c6"},
    {"DCR-12-1-Lower", "", kG, "Lower", kToBeam, kVon, kStress, "0.####", "12_down_c1"},
    {"DCR-12-2-Lower", "", kG, "Lower", kToBeam, kTension, kStress, "0.####", "12_down_c2"},
    {"DCR-12-3-Lower", "", kG, "Lower", kToBeam, kShear, kStress, "0.####", "12_down_c3"},
    {"DCR-12-4-Lower", "", kG, "Lower", kToColumn, kVon, kStress, "0.####", "12_down_c4"},
    {"DCR-12-5-Lower", "", kG, "Lower", kToColumn, kTension, kStress, "0.####", "12_down_c5"},
    {"DCR-12-6-Lower", "", kG, "Lower", kToColumn, kShear, kStress, "0.####", "12_down_c6"},
};

const std::vector<CheckRow> kWeldedMiddleTable = {
    {"DCR-7-1", "DCR-7-1-Middle", kM, "Middle", kToBeam, kVon, kStress, "0.####", "7_mg_c1"},
    {"DCR-7-2", "DCR-7-2-Middle", kM, "Middle", kToBeam, kTension, kStress, "0.####", "7_mg_c2"},
    {"DCR-7-3", "DCR-7-3-Middle", kM, "Middle", kToBeam, kShear, kStress, "0.####", "7_mg_c3"},
};

const std::vector<CheckRow> kBoltedMiddleTable = {
    {"DCR-12-1", "DCR-12-1-Middle", kM, "Middle", kToBeam, kVon, kStress, "0.####", "12_mg_c1"},
    {"DCR-12-2", "DCR-12-2-Middle", kM, "Middle", kToBeam, kTension, kStress, "0.####", "12_mg_c2"},
    {"DCR-12-3", "DCR-12-3-Middle", kM, "Middle", kToBeam, kShear, kStress, "0.####", "12_mg_c3"},
};

// A Chevron welded side: places 1 to 9, then the lower end's connection, 16 to 21.
std::vector<CheckRow> ChevronWeldedSideTable() {
    std::vector<CheckRow> rows;
    for (int place : {1, 2, 3, 4, 5, 6, 7, 8, 9, 16, 17, 18, 19, 20, 21}) rows.push_back(kWeldedTable[place - 1]);
    return rows;
}

// A demand of 1234.5678 and a capacity of 2469.1357 as each picture writes them.
std::pair<std::string, std::string> NumbersBy(const std::string& picture) {
    if (picture == "0.00E+00") return {"1.23E+03", "2.47E+03"};
    if (picture == "0.#") return {"1234.6", "2469.1"};
    if (picture == "0.####") return {"1234.5678", "2469.1357"};
    ADD_FAILURE() << "no such picture in the tables: " << picture;
    return {};
}

TEST(CheckCatalogues, EveryEntryShowsTheTextsOfItsTable) {
    struct Case {
        const char* list;
        CheckCatalogue checks;
        std::vector<CheckRow> table;
    } cases[] = {
        {"welded", WeldedCheckCatalogue(), kWeldedTable},
        {"bolted", BoltedCheckCatalogue(), kBoltedTable},
        {"Chevron welded side", ChevronWeldedSideCatalogue(), ChevronWeldedSideTable()},
        {"welded middle gusset", WeldedMiddleCatalogue(), kWeldedMiddleTable},
        {"bolted middle gusset", BoltedMiddleCatalogue(), kBoltedMiddleTable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        ASSERT_EQ(c.checks.size(), c.table.size());
        // Only the table's own keys answer, so a check reading another key shows nothing.
        std::map<std::string, double> values;
        for (const CheckRow& row : c.table) {
            values["DCR_" + row.suffix] = 0.5;
            values["Demand_" + row.suffix] = 1234.5678;
            values["Capacity_" + row.suffix] = 2469.1357;
        }
        const std::vector<TCheckListRow> list = CheckListRows(c.checks, MapValues(values));
        ASSERT_EQ(list.size(), c.table.size());
        for (std::size_t i = 0; i < c.table.size(); ++i) {
            const CheckRow& row = c.table[i];
            SCOPED_TRACE(row.symbol);
            EXPECT_EQ(list[i].Symbol, row.symbol);
            std::vector<std::string> cells = {row.detail_symbol.empty() ? row.symbol : row.detail_symbol,
                                              row.limit_state};
            for (const std::string& optional : {row.part, row.connection, row.item})
                if (!optional.empty()) cells.push_back(optional);
            const auto [demand, capacity] = NumbersBy(row.picture);
            cells.insert(cells.end(), {row.unit, demand, capacity, "0.50", "OK"});
            EXPECT_EQ(CheckDetailCells(c.checks[i], kTonf, MapValues(values)), cells);
        }
    }
}

// ---- Rules ----------------------------------------------------------------------

TEST(CheckRatio, TextIsCutAfterRoundingAndAPassNeverReadsOne) {
    const struct {
        double ratio;
        const char* text;
        bool fails;
    } cases[] = {
        {0, "0.00", false},        {0.5, "0.50", false},      {0.98766, "0.98", false},
        {0.989, "0.98", false},    {0.99996, "0.99", false},  {0.99999, "0.99", false},
        {1.0, "1.00", true},       {1.00004, "1.00", true},   {1.23456, "1.23", true},
        {12.3456, "12.3", true},   {123.45, "123.", true},    {1234.5, "1234", true},
        {12345.6, "1234", true},   {-0.25, "-0.2", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckRatioText(c.ratio), c.text) << c.ratio;
        EXPECT_EQ(CheckFails(c.ratio), c.fails) << c.ratio;
    }
    // A passing single-precision ratio just below 1, as the side tables hold it.
    EXPECT_EQ(CheckRatioText(0.99996f), "0.99");
    EXPECT_FALSE(CheckFails(0.99996f));

    // The same rule in the user's decimal form.
    text::ScopedDecimalSeparator comma(',');
    for (const auto& [ratio, shown] : {std::pair{0.99996, "0,99"}, {1.00004, "1,00"}, {0.5, "0,50"}, {12.3456, "12,3"}})
        EXPECT_EQ(CheckRatioText(ratio), shown) << ratio;
}

// ---- Row forms ------------------------------------------------------------------

TEST(CheckListRows, OneRowPerCheckWithItsMark) {
    std::map<std::string, double> values;
    for (const TCheckEntry& c : WeldedCheckCatalogue()) values[RatioKey(c)] = 0.5;
    values["DCR_4"] = 1.0;
    values["DCR_7_down_c1"] = 1.7;
    values["DCR_7_up_c3"] = 0.99999;
    std::vector<TCheckListRow> rows = CheckListRows(WeldedCheckCatalogue(), MapValues(values));
    ASSERT_EQ(rows.size(), 21u);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const bool fails = r == 4 || r == 15;
        EXPECT_EQ(rows[r].Mark, fails ? " NG" : "") << r;
        EXPECT_EQ(rows[r].Symbol, WeldedCheckCatalogue()[r].Symbol);
    }
    EXPECT_EQ(rows[4], (TCheckListRow{"DCR-4", "1.00", " NG"}));
    EXPECT_EQ(rows[11], (TCheckListRow{"DCR-7-3-Upper", "0.99", ""}));
    EXPECT_EQ(rows[15].Ratio, "1.70");

    // A ratio that is no number reads "?" and is marked; the other rows stay whole.
    values.erase("DCR_6_down");
    rows = CheckListRows(WeldedCheckCatalogue(), MapValues(values));
    ASSERT_EQ(rows.size(), 21u);
    EXPECT_EQ(rows[8], (TCheckListRow{"DCR-6-Lower", "?", " ?"}));
    EXPECT_EQ(rows[7], (TCheckListRow{"DCR-6-Upper", "0.50", ""}));
    EXPECT_EQ(rows[4].Mark, " NG");
}

TEST(CheckListRows, AChevronBoltedSideShowsItsUpperConnectionChecksAsNotComputed) {
    const CheckCatalogue side = ChevronBoltedSideCatalogue();
    ASSERT_EQ(side.size(), 26u);
    EXPECT_EQ(Symbols(side), Symbols(BoltedCheckCatalogue()));
    // Even a result that held numbers for them shows none: the service never designs
    // them for a side, so any such number is not the side's.
    const std::vector<TCheckListRow> rows = CheckListRows(side, Uniform(0.4));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const bool computed = r < 14 || r >= 20;
        EXPECT_EQ(rows[r].Ratio, computed ? "0.40" : "n/a") << r;
        EXPECT_EQ(rows[r].Mark, "") << r;
    }
    EXPECT_EQ(CountFailingChecks(side, Uniform(2.0)), 20);
    EXPECT_EQ(CountFailingChecks(side, MapValues({})), 20) << "the 20 the result should carry";
    EXPECT_EQ(CheckDetailCells(side[15], kTonf, Uniform(0.4)),
              (std::vector<std::string>{"DCR-12-2-Upper", kG, "Upper", kToBeam, "Tensile \nRupture", "tonf/mm^2",
                                        "n/a", "n/a", "n/a", "n/a"}));
    EXPECT_EQ(CheckDetailCells(side[21], kTonf, Uniform(0.4, 0.1, 0.2)).back(), "OK");
}

TEST(CheckDetailCells, RowsByKindOfCheck) {
    const struct {
        const char* name;
        const TCheckEntry& check;
        double demand, capacity, ratio;
        std::vector<std::string> cells;
    } cases[] = {
        {"no part, casing picture", WeldedCheckCatalogue()[0], 12345678, 950305000, 0.138448,
         {"DCR-1", "Steel Casing \nBuckling", "mm^4", "1.23E+07", "9.50E+08", "0.13", "OK"}},
        {"no part, force picture", WeldedCheckCatalogue()[4], 12, 12.34, 1.0,
         {"DCR-4", "Gusset \nBlock Shear", "tonf", "12", "12.3", "1.00", "NG"}},
        {"with part", WeldedCheckCatalogue()[2], 899.87, 981.307, 0.917012,
         {"DCR-3-Upper", "Joint Region \nof \nSteel Core \nBuckling", "Upper", "tonf", "899.9", "981.3", "0.91",
          "OK"}},
        {"connection", WeldedCheckCatalogue()[10], 0.00622758, 0.0375, 0.166069,
         {"DCR-7-2-Upper", kG, "Upper", kToBeam, "Tensile \nRupture", "tonf/mm^2", "0.0062", "0.0375", "0.16", "OK"}},
        {"lower connection", WeldedCheckCatalogue()[18], 0.1, 0.2, 0.5,
         {"DCR-7-4-Lower", kG, "Lower", kToColumn, "von Mises \nYield Criterion", "tonf/mm^2", "0.1", "0.2", "0.50",
          "OK"}},
        {"bolted connection", BoltedCheckCatalogue()[15], 0.0040962, 0.0375, 0.109232,
         {"DCR-12-2-Upper", kG, "Upper", kToBeam, "Tensile \nRupture", "tonf/mm^2", "0.0041", "0.0375", "0.10",
          "OK"}},
        {"bolted casing", BoltedCheckCatalogue()[0], 1234567, 1238840000, 0.99996,
         {"DCR-1", "Steel Casing \nBuckling", "mm^4", "1.23E+06", "1.24E+09", "0.99", "OK"}},
        {"middle gusset", WeldedMiddleCatalogue()[0], 0.0266351, 0.0297, 0.896804,
         {"DCR-7-1-Middle", "Gusset Strength \nat the \nConnection \nto \nBeam", "Middle", kToBeam,
          "von Mises \nYield Criterion", "tonf/mm^2", "0.0266", "0.0297", "0.89", "OK"}},
        {"bolted middle gusset", BoltedMiddleCatalogue()[2], 0.02, 0.01, 2.0,
         {"DCR-12-3-Middle", "Gusset Strength \nat the \nConnection \nto \nBeam", "Middle", kToBeam,
          "Shear \nRupture", "tonf/mm^2", "0.02", "0.01", "2.00", "NG"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CheckDetailCells(c.check, kTonf, Uniform(c.ratio, c.demand, c.capacity)), c.cells);
    }
    const TUnitLabels kn{"kN", "mm", "kN/mm^2", "kN-mm", "kN/mm"};
    EXPECT_EQ(CheckDetailCells(BoltedCheckCatalogue()[0], kn, Uniform(0.1))[2], "mm^4");
    EXPECT_EQ(CheckDetailCells(BoltedCheckCatalogue()[1], kn, Uniform(0.1))[2], "kN");
    EXPECT_EQ(CheckDetailCells(BoltedCheckCatalogue()[25], kn, Uniform(0.1))[5], "kN/mm^2");
}

TEST(CheckDetailCells, AMissingNumberReadsAsUnknownNeverAsAPass) {
    const TCheckEntry& check = WeldedCheckCatalogue()[4];
    const std::map<std::string, double> all = {{"DCR_4", 0.5}, {"Demand_4", 1}, {"Capacity_4", 2}};
    const std::vector<std::string> head = {"DCR-4", "Gusset \nBlock Shear", "tonf"};
    const struct {
        const char* missing;
        std::vector<std::string> tail;  // demand, capacity, ratio, verdict
    } cases[] = {
        {"", {"1", "2", "0.50", "OK"}},
        {"DCR_4", {"1", "2", "?", "?"}},
        {"Demand_4", {"?", "2", "0.50", "OK"}},
        {"Capacity_4", {"1", "?", "0.50", "OK"}},
    };
    for (const auto& c : cases) {
        std::map<std::string, double> values = all;
        values.erase(c.missing);
        std::vector<std::string> expected = head;
        expected.insert(expected.end(), c.tail.begin(), c.tail.end());
        EXPECT_EQ(CheckDetailCells(check, kTonf, MapValues(values)), expected) << c.missing;
    }
}

// ---- Counts ---------------------------------------------------------------------

TEST(CheckCounts, FailingAndUnreadableRatiosCount) {
    EXPECT_EQ(CountFailingChecks(WeldedCheckCatalogue(), Uniform(0.99996)), 0);
    EXPECT_EQ(CountFailingChecks(WeldedCheckCatalogue(), Uniform(1.0)), 21);
    EXPECT_EQ(CountFailingChecks(BoltedCheckCatalogue(), Uniform(3.0)), 26);
    // Nothing shows that a check without a ratio passes.
    EXPECT_EQ(CountFailingChecks(WeldedCheckCatalogue(), MapValues({{"DCR_1", 0.2}})), 20);
}

TEST(CheckCounts, AChevronBayCountsBothSidesAndTheMiddleOnce) {
    SideValueTable table;
    for (const char* side : {"LEFT", "RIGHT"})
        for (const TCheckEntry& c : WeldedCheckCatalogue()) table[side][RatioKey(c)] = 1.5f;
    for (const TCheckEntry& c : WeldedMiddleCatalogue()) table["MIDDLE"][RatioKey(c)] = 1.0f;
    // The upper-end connection keys of a side are the middle gusset's business.
    EXPECT_EQ(CountFailedBayChecks(table, ChevronWeldedSideCatalogue(), WeldedMiddleCatalogue()), 33);

    // Absent sides and keys count as failed, since nothing shows they pass, and
    // reading adds no entry.
    SideValueTable partial = table;
    for (const TCheckEntry& c : WeldedCheckCatalogue()) partial["LEFT"][RatioKey(c)] = 0.5f;
    for (const TCheckEntry& c : WeldedCheckCatalogue()) partial["RIGHT"][RatioKey(c)] = 0.5f;
    partial["RIGHT"]["DCR_4"] = 1.2f;
    partial["LEFT"].erase("DCR_2");
    partial.erase("MIDDLE");
    EXPECT_EQ(CountFailedBayChecks(partial, ChevronWeldedSideCatalogue(), WeldedMiddleCatalogue()), 1 + 1 + 3);
    EXPECT_EQ(partial.size(), 2u);
    EXPECT_EQ(partial["LEFT"].count("DCR_2"), 0u);

    SideValueTable bolted;
    for (const char* side : {"LEFT", "RIGHT"})
        for (const TCheckEntry& c : BoltedCheckCatalogue())
            if (c.Place < 15 || c.Place > 20) bolted[side][RatioKey(c)] = 0.5f;
    for (const TCheckEntry& c : BoltedMiddleCatalogue()) bolted["MIDDLE"][RatioKey(c)] = 0.5f;
    bolted["LEFT"]["DCR_12_down_c2"] = 1.1f;
    bolted["RIGHT"]["DCR_3"] = 1.0f;
    bolted["MIDDLE"]["DCR_12_mg_c2"] = 1.05f;
    bolted["MIDDLE"]["DCR_7_mg_c2"] = 4.0f;  // a welded key in a bolted bay
    EXPECT_EQ(CountFailedBayChecks(bolted, ChevronBoltedSideCatalogue(), BoltedMiddleCatalogue()), 3)
        << "the upper connection checks a side never carries do not count";
}

}  // namespace
