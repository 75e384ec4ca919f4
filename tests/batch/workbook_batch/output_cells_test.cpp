// The texts a batch row makes and the cells written after its run, from results
// made up for the purpose.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "batch/workbook_batch.h"
#include "input/input_limits.h"

namespace {

using sheet::Variant;

jsonxx::Object Parse(const std::string& text) {
    jsonxx::Object object;
    std::istringstream in(text);
    EXPECT_TRUE(object.parse(in)) << text;
    return object;
}

std::map<int, Variant> ByColumn(const std::vector<std::pair<int, Variant>>& cells) {
    return {cells.begin(), cells.end()};
}

// A Diagonal welded result with every key the batch reads.
std::string FullResult(double t_g) {
    std::ostringstream json;
    json << "{\"L_wp\":6403.124, \"P_max\":171.6, \"t_g\":" << t_g << ", \"t_c\":20, \"Steel_Casing_Size\":\"\xE2\x96\xA1-200x200x6\"";
    int n = 0;
    for (const char* key :
         {"DCR_1", "DCR_2", "DCR_3_up", "DCR_3_down", "DCR_4", "DCR_5_up", "DCR_5_down", "DCR_6_up", "DCR_6_down",
          "DCR_7_up_c1", "DCR_7_up_c2", "DCR_7_up_c3", "DCR_7_up_c4", "DCR_7_up_c5", "DCR_7_up_c6", "DCR_7_down_c1",
          "DCR_7_down_c2", "DCR_7_down_c3", "DCR_7_down_c4", "DCR_7_down_c5", "DCR_7_down_c6", "L_c", "Alpha_L",
          "K_eff", "Q_factor", "Theda_y", "P_y", "H_col", "L_beam", "Le_lower", "Le_upper", "L_brb", "t_j", "B_c",
          "D_c", "B_j", "D_j", "L_t", "L_x", "L_n", "L_w", "L_sc", "down_L_h", "down_T_b", "down_L_v", "down_T_c",
          "t_sf", "down_L_sf_h", "down_L_sf_v", "up_L_h", "up_T_b", "up_L_v", "up_T_c", "up_L_sf_h", "up_L_sf_v",
          "A_c", "A_t", "A_j", "Casing_Self_Volume", "Motar_Self_Volume", "Core_Self_Volume", "Casing_Self_Weight",
          "Motar_Self_Weight", "Core_Self_Weight", "Total_Weight", "Gusset_DOWN_Area", "Gusset_DOWN_Volume",
          "Gusset_DOWN_Weight", "Gusset_UP_Area", "Gusset_UP_Volume", "Gusset_UP_Weight"})
        json << ", \"" << key << "\":" << (++n + 0.033);
    json << "}";
    return json.str();
}

TBatchRunFacts Facts() {
    TBatchRunFacts facts;
    facts.Fresh = true;
    facts.FailedCheckCount = 0;
    facts.RunTimeMs = 187;
    facts.t_g = 25;
    facts.t_c = 20;
    facts.A_j = 9000;
    facts.A_c = 3200;
    facts.DateTime = "06/25/21 15:04:05";
    return facts;
}

Variant Single(double value) { return static_cast<double>(static_cast<float>(value)); }

TEST(BatchRowTexts, ListEntryAndClassText) {
    EXPECT_EQ(BatchListEntry("100", "20", "A1"), "100-20-A1");
    EXPECT_EQ(BatchListEntry("100", "20", ""), "100-20-");
    EXPECT_EQ(BatchListEntry("", "", ""), "--");
    EXPECT_EQ(BatchClassText("100", "20"), "100tonf(tc=20mm)");
    EXPECT_EQ(BatchClassText("100 ", "20"), "100 tonf(tc=20mm)");
}

TEST(BatchOutputCells, NinetyFiveColumnsInOrderAndNoneThatTheBatchKeeps) {
    const jsonxx::Object result = Parse(FullResult(25));
    const auto cells = BatchOutputCells(result, Facts());
    ASSERT_EQ(cells.size(), 95u);
    std::set<int> kept = {48, 100, 104, 109, 113};
    for (int c = 1; c <= 5; ++c) kept.insert(c);
    for (int c = 7; c <= 13; ++c) kept.insert(c);
    for (int c = 15; c <= 19; ++c) kept.insert(c);
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) {
            EXPECT_LT(cells[i - 1].first, cells[i].first);
        }
        EXPECT_FALSE(kept.count(cells[i].first)) << cells[i].first;
        EXPECT_LE(cells[i].first, 117);
    }
}

TEST(BatchOutputCells, ValuesOfAFreshRun) {
    const jsonxx::Object result = Parse(FullResult(25));
    const std::map<int, Variant> cells = ByColumn(BatchOutputCells(result, Facts()));
    const std::pair<int, Variant> cases[] = {
        {6, Single(6403.124)},
        {14, Single(171.6)},
        {20, Single(1.033)},  // DCR_1
        {28, Single(9.033)},  // DCR_6_down
        {29, Single(10.033)}, // DCR_7_up_c1
        {40, Single(21.033)}, // DCR_7_down_c6
        {41, Single(22.033)}, // L_c
        {42, Single(6403.124)},
        {46, Single(26.033)},  // Theda_y
        {47, std::string("OK")},
        {49, 187.0},
        {50, 20.0},
        {51, 25.0},
        {52, 1.25},
        {53, std::string("My Brace")},
        {54, std::string("Welded End-Slot BRB")},
        {55, Single(27.033)},  // P_y
        {56, Single(171.6)},
        {76, Single(41.033)},  // L_w
        {77, std::string("\xE2\x96\xA1-200x200x6")},
        {78, Single(42.033)},  // L_sc
        {79, 25.0},
        {81, std::string("CJP")},
        {82, Single(45.033)},  // down_L_v
        {83, std::string("CJP")},
        {87, 25.0},
        {89, std::string("CJP")},
        {91, std::string("CJP")},
        {95, Single(26.033)},  // Theda_y again
        {98, Single(58.033)},  // A_j
        {99, static_cast<double>(9000.0f / 3200.0f)},
        {101, Single(59.033)},
        {108, Single(65.033)},  // Total_Weight
        {116, Single(71.033)},
        {117, std::string("06/25/21 15:04:05")},
    };
    for (const auto& [column, value] : cases) EXPECT_EQ(cells.at(column), value) << "column " << column;
    EXPECT_EQ(std::get<double>(cells.at(20)), 1.0329999923706055) << "a single-precision value";
}

TEST(BatchOutputCells, WeldsOfAPlateOfTwentyOrLessAreNumbers) {
    const std::pair<double, bool> cases[] = {{20, false}, {19.5, false}, {20.5, true}, {20.0001, true}};
    for (const auto& [t_g, cjp] : cases) {
        const std::map<int, Variant> cells = ByColumn(BatchOutputCells(Parse(FullResult(t_g)), Facts()));
        EXPECT_EQ(cells.at(81), cjp ? Variant(std::string("CJP")) : Single(44.033)) << t_g;
        EXPECT_EQ(cells.at(83), cjp ? Variant(std::string("CJP")) : Single(46.033)) << t_g;
        EXPECT_EQ(cells.at(89), cjp ? Variant(std::string("CJP")) : Single(51.033)) << t_g;
        EXPECT_EQ(cells.at(91), cjp ? Variant(std::string("CJP")) : Single(53.033)) << t_g;
    }
}

TEST(BatchOutputCells, VerdictAndQuotients) {
    TBatchRunFacts facts = Facts();
    facts.FailedCheckCount = 3;
    facts.t_c = 0;
    facts.A_c = 0;
    facts.A_j = 0;
    const std::map<int, Variant> cells = ByColumn(BatchOutputCells(Parse(FullResult(25)), facts));
    EXPECT_EQ(cells.at(47), Variant(std::string("NG")));
    EXPECT_EQ(cells.at(52), Variant(std::monostate{})) << "25 / 0";
    EXPECT_EQ(cells.at(99), Variant(std::monostate{})) << "0 / 0";
}

TEST(BatchOutputCells, KeysTheResultLacksGiveEmptyCells) {
    const std::map<int, Variant> cells =
        ByColumn(BatchOutputCells(Parse("{\"L_wp\":\"text\", \"Steel_Casing_Size\":5}"), Facts()));
    for (const auto& [column, value] : cells) {
        const bool always = column == 47 || column == 49 || column == 52 || column == 53 || column == 54 ||
                            column == 99 || column == 117;
        EXPECT_EQ(std::holds_alternative<std::monostate>(value), !always) << column;
    }
}

TEST(BatchOutputCells, ARunWithoutAResultOfItsOwnWritesOnlyItsMarkAndDate) {
    TBatchRunFacts facts = Facts();
    facts.Fresh = false;
    facts.FailedCheckCount = 2;
    const std::vector<std::pair<int, Variant>> expected = {{47, std::string("NO RESULT")},
                                                           {117, std::string("06/25/21 15:04:05")}};
    EXPECT_EQ(BatchOutputCells(Parse(FullResult(25)), facts), expected);
}

TEST(BatchRowProblem, LengthsMustBeWholeNumbersAndTheBeamADesignation) {
    const TInputLimits limits;
    const TBatchInput beam{12, "H594 x 302 x 14 x 23"};
    struct Case {
        TBatchInput height;
        std::optional<std::string> problem;
    };
    const std::string tail = ". It is marked \"NO RESULT\".";
    const Case cases[] = {
        {{3, "4000"}, std::nullopt},
        {{3, " 4000 "}, std::nullopt},
        {{3, "1000"}, std::nullopt},  // out of range: the input check says so
        {{3, "4000.5"}, "Row 7 is not designed: the column height in cell C7, \"4000.5\", is not a whole number" + tail},
        {{3, "4000mm"}, "Row 7 is not designed: the column height in cell C7, \"4000mm\", is not a whole number" + tail},
        {{3, "99999999999"}, "Row 7 is not designed: the column height in cell C7, \"99999999999\", is not a whole "
                             "number" + tail},
        {{3, ""}, "Row 7 is not designed: the column height in cell C7 is empty" + tail},
        {{3, "", true}, "Row 7 is not designed: the column height in cell C7 is a formula without a calculated value" +
                            tail},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BatchRowProblem(7, c.height, {4, "5000"}, beam, {19, "500"}, limits), c.problem) << c.height.Text;
    EXPECT_EQ(BatchRowProblem(7, {3, "4000"}, {4, "5000"}, {12, "H594x302x14x0.5"}, {19, "x"}, limits),
              "Row 7 is not designed: the beam section in cell L7, \"H594x302x14x0.5\", is not a designation of four "
              "numbers (depth x width x web x flange thickness); the column depth in cell S7, \"x\", is not a whole "
              "number" + tail);
}

}  // namespace
