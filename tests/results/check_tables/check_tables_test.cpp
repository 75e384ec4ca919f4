// The check tables in the main window: the all-checks list and detail views of each
// family on the service's sample results, the fail marks and the failed-check count
// in every view, the guard, results that lack a number, repeated fills, and the
// status lamp after real runs.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <nlohmann/json.hpp>

#include "core/result_reader.h"
#include "design_service/run_support.h"
#include "results/check_catalogue.h"
#include "support/form_environment.h"

namespace {

using json = nlohmann::ordered_json;
using testing_support::FormEnvironment;

const std::string kG = "Gusset Strength \nat the \nConnection \nto \nColumn or Beam";
const std::string kM = "Gusset Strength \nat the \nConnection \nto \nBeam";
const std::string kToBeam = "Gusset\xE2\x80\x93\nto-Beam";
const std::string kToColumn = "Gusset\xE2\x80\x93\nto-Column";
const std::string kVonMises = "von Mises \nYield Criterion";
const std::string kTensile = "Tensile \nRupture";
const std::string kStress = "tonf/mm^2";

constexpr int kLeft = 0, kMid = 1, kRight = 2;
constexpr int kKeptRows = 30;  // rows compared when a fill must leave the grid alone

std::string Fixture(const std::string& name) {
    return testing_support::ReadFile(testing_support::FixturePath(name));
}

struct Family {
    const char* file;
    const char* cfg;
    const char* ctype;
};
const Family kDiagonalWelded{"diagonal-welded", "Diagonal", "Welded"};
const Family kDiagonalBolted{"diagonal-bolted", "Diagonal", "Bolted"};
const Family kChevronWelded{"chevron-welded", "Chevron", "Welded"};
const Family kChevronBolted{"chevron-bolted", "Chevron", "Bolted"};

using Cells = std::map<std::pair<int, int>, std::string>;

class CheckTables : public ::testing::Test {
protected:
    void SetUp() override {
        form = env.Create();
        ASSERT_NE(form, nullptr);
        grid = form->StringGrid_DCR;
        env.Headless().TakeBoxes();
        env.Service().ClearRequestTargets();
        // Views are chosen here directly; the side selector's own handler would lay
        // the grid out and fill it on its way.
        form->RadioGroup_DCR->OnClick = nullptr;
        std::vector<std::string> items = {"all"};
        for (int i = 1; i <= 30; ++i) items.push_back("item " + std::to_string(i));
        form->ComboBox_DCR_Output_Option->Items().Assign(items);
    }

    // A sample result of the family, edited, as the window holds it after reading it.
    void Load(const Family& family, const std::function<void(json&)>& edit = {}) {
        json result = json::parse(Fixture(std::string("run-result-") + family.file + ".json"));
        if (edit) edit(result);
        form->CfgText = form->ResultCfgText = family.cfg;
        form->CtypeText = form->ResultCtypeText = family.ctype;
        ASSERT_TRUE(ParseResultText(result.dump(), form->ResultObject));
        form->SideValues.clear();
        form->ReadCheckRatios();
    }

    // Side, view and the grid's shape, as the layouts leave them.
    void View(int side, int item, int cols, int rows) {
        form->RadioGroup_DCR->SetItemIndex(side);
        form->ComboBox_DCR_Output_Option->SetItemIndex(item);
        grid->SetColCount(cols);
        grid->SetRowCount(rows);
    }

    std::vector<std::string> Column(int col, int rows) const {
        std::vector<std::string> texts;
        for (int r = 0; r < rows; ++r) texts.push_back(grid->Cells(col, r));
        return texts;
    }

    // The rows of the grid that the painter shows red in a list.
    std::vector<int> MarkedRows() const {
        std::vector<int> rows;
        for (int r = 0; r < grid->RowCount(); ++r)
            if (!grid->Cells(2, r).empty()) rows.push_back(r);
        return rows;
    }

    Cells Snapshot() const {
        Cells cells;
        for (int c = 0; c < 3; ++c)
            for (int r = 0; r < kKeptRows; ++r) cells[{c, r}] = grid->Cells(c, r);
        return cells;
    }

    // Every cell a fill could touch holds a marker.
    void Scribble() {
        for (int c = 0; c < 3; ++c)
            for (int r = 0; r < kKeptRows; ++r) grid->SetCells(c, r, "old");
    }

    FormEnvironment env;
    DOVEREForm* form = nullptr;
    TStringGrid* grid = nullptr;
};

std::vector<std::string> Symbols(CheckCatalogue checks) {
    std::vector<std::string> symbols;
    for (const TCheckEntry& c : checks) symbols.push_back(c.Symbol);
    return symbols;
}

void SetAllSideRatios(SideValueTable& values, const char* side, CheckCatalogue checks, float ratio) {
    for (const TCheckEntry& c : checks) values[side][RatioKey(c)] = ratio;
}

// ---- The first design ------------------------------------------------------------

TEST_F(CheckTables, TheFirstDesignFillsTheDiagonalWeldedListAndLightsDone) {
    EXPECT_EQ(Column(0, 21), Symbols(WeldedCheckCatalogue()));
    const std::vector<std::string> ratios = Column(1, 21);
    for (std::size_t r = 0; r < ratios.size(); ++r) {
        const double ratio = form->ResultObject.get<double>(RatioKey(WeldedCheckCatalogue()[r]));
        EXPECT_EQ(ratios[r], CheckRatioText(ratio)) << r;
        EXPECT_LT(ratio, 1.0);
    }
    EXPECT_EQ(MarkedRows(), std::vector<int>{});
    EXPECT_EQ(form->FailedCheckCount, 0);
    EXPECT_EQ(form->Panel_RUN->Caption(), "DONE");
    EXPECT_EQ(form->Edit_Keff_req->Text(),
              form->FormatOutputNumber(static_cast<float>(form->ResultObject.get<double>("K_eff"))));
}

// ---- Views of each family on the sample results ----------------------------------

TEST_F(CheckTables, AllChecksListsOfEachFamily) {
    const struct {
        const Family& family;
        int side;
        CheckCatalogue checks;
        std::map<int, std::string> ratios;  // some rows' ratio texts
    } cases[] = {
        {kDiagonalWelded, kLeft, WeldedCheckCatalogue(), {{0, "0.13"}, {4, "0.70"}, {20, "0.42"}}},
        {kDiagonalBolted, kLeft, BoltedCheckCatalogue(), {{0, "0.04"}, {5, "0.92"}, {15, "0.10"}, {25, "0.32"}}},
        // The sample's braces differ: each side shows its own ratios.
        {kChevronWelded, kLeft, ChevronWeldedSideCatalogue(), {{0, "0.07"}, {4, "0.60"}, {9, "0.61"}, {14, "0.47"}}},
        {kChevronWelded, kRight, ChevronWeldedSideCatalogue(), {{4, "0.62"}}},
        {kChevronWelded, kMid, WeldedMiddleCatalogue(), {{0, "0.89"}, {1, "0.41"}, {2, "0.55"}}},
        // The service writes no upper-end connection checks for a Chevron side: they
        // show as not computed, never as a pass.
        {kChevronBolted, kRight, BoltedCheckCatalogue(), {{0, "0.02"}, {14, "n/a"}, {19, "n/a"}, {21, "0.15"}}},
        {kChevronBolted, kMid, BoltedMiddleCatalogue(), {{1, "0.30"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.family.file) + " side " + std::to_string(c.side));
        Load(c.family);
        Scribble();
        const int rows = static_cast<int>(c.checks.size());
        View(c.side, 0, 3, rows);
        form->ShowCheckTables();
        EXPECT_EQ(Column(0, rows), Symbols(c.checks));
        for (const auto& [row, text] : c.ratios) EXPECT_EQ(grid->Cells(1, row), text) << "row " << row;
        EXPECT_EQ(MarkedRows(), std::vector<int>{}) << "old marks are gone";
        EXPECT_EQ(grid->Cells(0, rows), "old") << "the row after the list";
        EXPECT_EQ(form->FailedCheckCount, 0);
    }
}

TEST_F(CheckTables, DetailViewsOfEachFamily) {
    const struct {
        const Family& family;
        int side;
        int item;
        std::vector<std::string> cells;
    } cases[] = {
        {kDiagonalWelded, kLeft, 5, {"DCR-4", "Gusset \nBlock Shear", "tonf", "899.9", "1272.1", "0.70", "OK"}},
        {kDiagonalWelded, kLeft, 11,
         {"DCR-7-2-Upper", kG, "Upper", kToBeam, kTensile, kStress, "0.0062", "0.0375", "0.16", "OK"}},
        // The lower gusset's connection checks have detail views too.
        {kDiagonalWelded, kLeft, 21,
         {"DCR-7-6-Lower", kG, "Lower", kToColumn, "Shear \nRupture", kStress, "0.0095", "0.0225", "0.42", "OK"}},
        {kDiagonalBolted, kLeft, 1, {"DCR-1", "Steel Casing \nBuckling", "mm^4", "6.04E+07", "1.24E+09", "0.04", "OK"}},
        {kDiagonalBolted, kLeft, 16,
         {"DCR-12-2-Upper", kG, "Upper", kToBeam, kTensile, kStress, "0.0041", "0.0375", "0.10", "OK"}},
        {kChevronWelded, kLeft, 10,
         {"DCR-7-1-Lower", kG, "Lower", kToBeam, kVonMises, kStress, "0.0183", "0.0285", "0.61", "OK"}},
        {kChevronWelded, kLeft, 13,
         {"DCR-7-4-Lower", kG, "Lower", kToColumn, kVonMises, kStress, "0.019", "0.0285", "0.63", "OK"}},
        {kChevronWelded, kRight, 5, {"DCR-4", "Gusset \nBlock Shear", "tonf", "899.9", "1439.6", "0.62", "OK"}},
        {kChevronWelded, kMid, 1,
         {"DCR-7-1-Middle", kM, "Middle", kToBeam, kVonMises, kStress, "0.0266", "0.0297", "0.89", "OK"}},
        {kChevronBolted, kRight, 1, {"DCR-1", "Steel Casing \nBuckling", "mm^4", "3.01E+07", "1.24E+09", "0.02", "OK"}},
        {kChevronBolted, kRight, 22,
         {"DCR-12-2-Lower", kG, "Lower", kToBeam, kTensile, kStress, "0.0059", "0.0375", "0.15", "OK"}},
        {kChevronBolted, kLeft, 16,
         {"DCR-12-2-Upper", kG, "Upper", kToBeam, kTensile, kStress, "n/a", "n/a", "n/a", "n/a"}},
        {kChevronBolted, kMid, 2,
         {"DCR-12-2-Middle", kM, "Middle", kToBeam, kTensile, kStress, "0.0114", "0.0375", "0.30", "OK"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.family.file) + " side " + std::to_string(c.side) + " item " +
                     std::to_string(c.item));
        Load(c.family);
        Scribble();
        const int rows = static_cast<int>(c.cells.size());
        View(c.side, c.item, 2, rows);
        form->ShowCheckTables();
        EXPECT_EQ(Column(1, rows), c.cells);
        EXPECT_EQ(grid->Cells(1, rows), "old");
        EXPECT_EQ(Column(0, rows), std::vector<std::string>(rows, "old")) << "the layout's titles stay";
        EXPECT_EQ(Column(2, kKeptRows), std::vector<std::string>(kKeptRows, "old")) << "column 2 untouched";
    }
}

TEST_F(CheckTables, AViewTheListDoesNotHaveWritesNoCell) {
    const struct {
        const Family& family;
        int side;
        int item;
    } cases[] = {
        {kDiagonalWelded, kLeft, -1},  {kDiagonalWelded, kLeft, 22}, {kDiagonalBolted, kLeft, 27},
        {kChevronWelded, kLeft, 16},   {kChevronWelded, kRight, -1}, {kChevronWelded, kMid, 4},
        {kChevronBolted, kRight, 27},  {kChevronBolted, kLeft, -1},  {kChevronBolted, kMid, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.family.file) + " side " + std::to_string(c.side) + " item " +
                     std::to_string(c.item));
        Load(c.family, [](json& r) { r["DCR_1"] = 1.5; });  // a failure for the count
        Scribble();
        View(c.side, c.item, 3, 21);
        form->ShowCheckTables();
        for (const auto& [cell, text] : Snapshot()) EXPECT_EQ(text, "old") << cell.first << "," << cell.second;
    }
}

// ---- Fail marks and the count ----------------------------------------------------

TEST_F(CheckTables, DiagonalFailuresAreMarkedAndCountedInEveryView) {
    Load(kDiagonalWelded, [](json& r) {
        r["DCR_4"] = 1.0;
        r["DCR_7_down_c1"] = 1.3;
        r["DCR_7_up_c3"] = 0.99999;
    });
    View(kLeft, 0, 3, 21);
    grid->SetCells(2, 7, " NG");  // a mark of the previous fill
    form->FailedCheckCount = 9;
    form->ShowCheckTables();
    EXPECT_EQ(MarkedRows(), (std::vector<int>{4, 15}));
    EXPECT_EQ(grid->Cells(2, 4), " NG");
    EXPECT_EQ(grid->Cells(1, 4), "1.00");
    EXPECT_EQ(grid->Cells(1, 11), "0.99");
    EXPECT_EQ(form->FailedCheckCount, 2);

    // A design run left in a detail view, or with no view, still counts the bay.
    View(kLeft, 5, 2, 7);
    form->ShowCheckTables();
    EXPECT_EQ(Column(1, 7), (std::vector<std::string>{"DCR-4", "Gusset \nBlock Shear", "tonf", "899.9", "1272.1",
                                                      "1.00", "NG"}));
    EXPECT_EQ(form->FailedCheckCount, 2);
    View(kLeft, 12, 2, 10);
    form->ShowCheckTables();
    EXPECT_EQ(grid->Cells(1, 8), "0.99");
    EXPECT_EQ(grid->Cells(1, 9), "OK");
    EXPECT_EQ(form->FailedCheckCount, 2);
    form->ComboBox_DCR_Output_Option->SetItemIndex(-1);
    form->ShowCheckTables();
    EXPECT_EQ(form->FailedCheckCount, 2);

    Load(kDiagonalBolted, [](json& r) {
        r["DCR_6_down"] = 1.0;
        r["DCR_9"] = 2.5;
        r["DCR_12_down_c2"] = 1.01;
        r["DCR_2"] = 0.99996;
    });
    View(kLeft, 0, 3, 26);
    form->ShowCheckTables();
    EXPECT_EQ(MarkedRows(), (std::vector<int>{6, 9, 21}));
    EXPECT_EQ(grid->Cells(1, 1), "0.99");
    EXPECT_EQ(form->FailedCheckCount, 3);
    View(kLeft, 7, 2, 8);
    form->ShowCheckTables();
    EXPECT_EQ(grid->Cells(1, 7), "NG");
    EXPECT_EQ(form->FailedCheckCount, 3);
}

TEST_F(CheckTables, AChevronWeldedBayCountsBothSidesAndTheMiddleWhateverTheView) {
    Load(kChevronWelded, [](json& r) {
        r["RIGHT"]["DCR_4"] = 1.2;
        r["DCR_7_mg_c2"] = 1.05;
        // Upper-end connection checks of a side are neither shown nor counted.
        r["LEFT"]["DCR_7_up_c1"] = 5.0;
    });
    View(kLeft, 0, 3, 15);
    form->ShowCheckTables();
    EXPECT_EQ(MarkedRows(), std::vector<int>{}) << "both failures lie elsewhere";
    EXPECT_EQ(form->FailedCheckCount, 2);
    View(kRight, 0, 3, 15);
    form->ShowCheckTables();
    EXPECT_EQ(MarkedRows(), std::vector<int>{4});
    EXPECT_EQ(form->FailedCheckCount, 2);
    View(kRight, 3, 2, 8);
    form->ShowCheckTables();
    EXPECT_EQ(form->FailedCheckCount, 2);
    View(kMid, 0, 3, 3);
    form->ShowCheckTables();
    EXPECT_EQ(MarkedRows(), std::vector<int>{1});
    EXPECT_EQ(form->FailedCheckCount, 2);

    // Every check fails.
    SetAllSideRatios(form->SideValues, "LEFT", WeldedCheckCatalogue(), 1.0f);
    SetAllSideRatios(form->SideValues, "RIGHT", WeldedCheckCatalogue(), 3.0f);
    SetAllSideRatios(form->SideValues, "MIDDLE", WeldedMiddleCatalogue(), 1.0f);
    form->CountFailedChecks();
    EXPECT_EQ(form->FailedCheckCount, 33);
    View(kMid, 0, 3, 3);
    form->ShowCheckTables();
    EXPECT_EQ(Column(1, 3), (std::vector<std::string>(3, "1.00")));
    EXPECT_EQ(Column(2, 3), (std::vector<std::string>(3, " NG")));
    EXPECT_EQ(form->FailedCheckCount, 33);
}

TEST_F(CheckTables, TheMiddleListAfterASidesMarksShowsOnlyItsOwn) {
    Load(kChevronWelded, [](json& r) {
        for (const char* key : {"DCR_1", "DCR_2", "DCR_3_up"}) r["LEFT"][key] = 1.4;
    });
    View(kLeft, 0, 3, 15);
    form->ShowCheckTables();
    EXPECT_EQ(MarkedRows(), (std::vector<int>{0, 1, 2}));
    View(kMid, 0, 3, 3);
    form->ShowCheckTables();
    EXPECT_EQ(MarkedRows(), std::vector<int>{});
    EXPECT_EQ(Column(0, 3), (std::vector<std::string>{"DCR-7-1", "DCR-7-2", "DCR-7-3"}));
    EXPECT_EQ(form->FailedCheckCount, 3);
}

TEST_F(CheckTables, AChevronBoltedBayCountsEveryFailedCheckOnce) {
    Load(kChevronBolted, [](json& r) {
        r["RIGHT"]["DCR_12_down_c2"] = 1.1;
        r["RIGHT"]["DCR_3"] = 1.0;
        r["DCR_12_mg_c2"] = 1.2;
    });
    View(kRight, 0, 3, 26);
    form->ShowCheckTables();
    EXPECT_EQ(MarkedRows(), (std::vector<int>{2, 21}));
    EXPECT_EQ(form->FailedCheckCount, 3);
    const struct {
        int side, item, cols, rows;
    } views[] = {{kLeft, 0, 3, 26}, {kRight, 3, 2, 7}, {kLeft, 16, 2, 10}, {kMid, 0, 3, 3}, {kMid, 2, 2, 10}};
    for (const auto& v : views) {
        View(v.side, v.item, v.cols, v.rows);
        form->ShowCheckTables();
        EXPECT_EQ(form->FailedCheckCount, 3) << "side " << v.side << " item " << v.item;
    }
    View(kMid, 0, 3, 3);
    form->ShowCheckTables();
    EXPECT_EQ(MarkedRows(), std::vector<int>{1});
    EXPECT_EQ(Column(0, 3), (std::vector<std::string>{"DCR-12-1", "DCR-12-2", "DCR-12-3"}));
}

// ---- The guard and incomplete results --------------------------------------------

TEST_F(CheckTables, WithoutDcr1NothingIsWrittenAndNothingCounted) {
    for (const Family* family : {&kDiagonalWelded, &kDiagonalBolted, &kChevronWelded, &kChevronBolted}) {
        SCOPED_TRACE(family->file);
        Load(*family, [](json& r) {
            r.erase("DCR_1");
            if (r.contains("LEFT")) r["LEFT"]["DCR_2"] = r["RIGHT"]["DCR_2"] = 2.0;
        });
        Scribble();
        View(kRight, 0, 3, 26);
        form->FailedCheckCount = 7;
        form->ShowCheckTables();
        for (const auto& [cell, text] : Snapshot()) ASSERT_EQ(text, "old") << cell.first << "," << cell.second;
        EXPECT_EQ(form->FailedCheckCount, 0);
    }
    // The bolted layout calls the welded filler too, which then leaves everything.
    Load(kDiagonalWelded, [](json& r) { r["DCR_2"] = 2.0; });
    form->CtypeText = "Bolted";
    form->FailedCheckCount = 3;
    Scribble();
    View(kLeft, 0, 3, 21);
    form->ShowDiagonalWeldedChecks();
    EXPECT_EQ(form->FailedCheckCount, 3);
    EXPECT_EQ(grid->Cells(1, 1), "old");
}

TEST_F(CheckTables, AResultLackingANumberShowsItAsUnknownAndIsNotDone) {
    // The list of another result with marks where this one has none.
    View(kLeft, 0, 3, 21);
    Scribble();
    for (int r = 0; r < 21; ++r) grid->SetCells(2, r, " NG");
    Load(kDiagonalWelded, [](json& r) {
        r.erase("DCR_7_up_c3");
        r["DCR_2"] = 1.5;
    });
    form->ShowCheckTables();
    EXPECT_EQ(Column(0, 21), Symbols(WeldedCheckCatalogue()));
    EXPECT_EQ(grid->Cells(1, 11), "?");
    EXPECT_EQ(grid->Cells(1, 1), "1.50");
    EXPECT_EQ(grid->Cells(1, 0), "0.13");
    EXPECT_EQ(MarkedRows(), (std::vector<int>{1, 11})) << "the old marks are gone";
    EXPECT_EQ(grid->Cells(2, 11), " ?");
    EXPECT_EQ(form->FailedCheckCount, 2) << "the failure and the check without a ratio";

    // A detail view writes every row it can and "?" for the rest.
    Load(kDiagonalBolted, [](json& r) { r.erase("Capacity_4"); });
    Scribble();
    View(kLeft, 4, 2, 7);
    form->ShowCheckTables();
    EXPECT_EQ(Column(1, 7), (std::vector<std::string>{"DCR-4", "Joint Region \nof \nSteel Core \nYielding", "tonf",
                                                      "426.3", "?", "0.90", "OK"}));
    EXPECT_EQ(form->FailedCheckCount, 0) << "every ratio is there and passes";
    EXPECT_TRUE(env.Headless().Boxes().empty());
}

TEST_F(CheckTables, FillingAViewAgainGivesTheSameAndAsksTheServiceNothing) {
    const struct {
        const Family& family;
        int side, item, cols, rows;
    } cases[] = {
        {kDiagonalWelded, kLeft, 0, 3, 21}, {kDiagonalWelded, kLeft, 11, 2, 10}, {kDiagonalBolted, kLeft, 0, 3, 26},
        {kChevronWelded, kRight, 0, 3, 15}, {kChevronWelded, kMid, 3, 2, 10},    {kChevronBolted, kLeft, 8, 2, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.family.file) + " item " + std::to_string(c.item));
        Load(c.family, [](json& r) { r["DCR_1"] = 1.0; });
        View(c.side, c.item, c.cols, c.rows);
        form->ShowCheckTables();
        const Cells first = Snapshot();
        const int count = form->FailedCheckCount;
        form->ShowCheckTables();
        EXPECT_EQ(Snapshot(), first);
        EXPECT_EQ(form->FailedCheckCount, count);
    }
    EXPECT_TRUE(env.Service().RequestTargets().empty());
}

// ---- The lamp after real runs ----------------------------------------------------

TEST_F(CheckTables, AThinGussetFailsChecksAndTheLampSaysSoInAnyView) {
    View(kLeft, 0, 3, 21);
    form->ComboBox_Gusset_Thickness->SetItemIndex(0);
    ASSERT_EQ(form->ComboBox_Gusset_Thickness->Text(), "16");
    form->ComboBox_Gusset_Thickness->OnChange(form->ComboBox_Gusset_Thickness);
    EXPECT_GT(form->FailedCheckCount, 0);
    EXPECT_EQ(MarkedRows().size(), static_cast<std::size_t>(form->FailedCheckCount));
    EXPECT_EQ(form->Panel_RUN->Caption(), "NG");

    View(kLeft, 1, 2, 7);
    EXPECT_TRUE(form->RunDesign());
    EXPECT_EQ(form->Panel_RUN->Caption(), "NG") << "a detail view hides no failure";

    const int last = form->ComboBox_Gusset_Thickness->Items().Count() - 1;
    form->ComboBox_Gusset_Thickness->SetItemIndex(last);
    form->ComboBox_Gusset_Thickness->OnChange(form->ComboBox_Gusset_Thickness);
    EXPECT_EQ(form->FailedCheckCount, 0);
    EXPECT_EQ(form->Panel_RUN->Caption(), "DONE");
}

// ---- Through the window's own selectors -----------------------------------------

TEST(CheckTablesInTheWindow, TheSelectorsShowTheListsAndDetailsOfARunsResult) {
    FormEnvironment env;
    DOVEREForm* form = env.Create();
    ASSERT_NE(form, nullptr);
    TStringGrid* grid = form->StringGrid_DCR;
    auto column = [&](int col) {
        std::vector<std::string> texts;
        for (int r = 0; r < grid->RowCount(); ++r) texts.push_back(grid->Cells(col, r));
        return texts;
    };

    // A double click on a row of the list opens that check.
    grid->SetRow(4);
    grid->DblClick();
    EXPECT_EQ(column(1).front(), "DCR-4");
    EXPECT_EQ(column(1).back(), "OK");
    EXPECT_EQ(column(0).front(), "Symbol");

    form->ComboBox_cfg->SetItemIndex(1);
    form->ComboBox_cfg->OnChange(form->ComboBox_cfg);
    ASSERT_EQ(form->CfgText, "Chevron");
    EXPECT_EQ(form->Panel_RUN->Caption(), "DONE");
    EXPECT_EQ(form->FailedCheckCount, 0);
    EXPECT_EQ(column(0), Symbols(ChevronWeldedSideCatalogue()));
    const std::map<std::string, float>& left = form->SideValues["LEFT"];
    EXPECT_EQ(grid->Cells(1, 9), CheckRatioText(left.at("DCR_7_down_c1")));

    form->RadioGroup_DCR->SetItemIndex(kMid);
    EXPECT_EQ(column(0), Symbols(WeldedMiddleCatalogue()));
    EXPECT_EQ(grid->Cells(1, 2), CheckRatioText(form->SideValues["MIDDLE"]["DCR_7_mg_c3"]));
    grid->SetRow(0);
    grid->DblClick();
    ASSERT_EQ(grid->RowCount(), 10);
    EXPECT_EQ(column(1)[0], "DCR-7-1-Middle");
    EXPECT_EQ(column(1)[2], "Middle");
}

}  // namespace
