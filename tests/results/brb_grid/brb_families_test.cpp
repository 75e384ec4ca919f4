// Each family's BRB grid against a result of that family, read as a run reads it
// and shown through the one entry point after every result: the top level, each
// brace and the middle plate hold values of their own, and so does every key, so a
// filler of another family, a side read for the top level or a row that reads
// another key shows another text.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <cstring>
#include <string>
#include <vector>

#include "support/fixtures.h"
#include "support/form_environment.h"

namespace {

using json = nlohmann::ordered_json;

// The numbers the grid shows. In a part of the result whose base is b, the n-th key
// (from 1) holds b + n + 0.4: 0.4 tells a number from a whole number, a picture "0"
// and a picture "0.00". The plate thickness stays below 20, where the welds show.
const char* const kNumberKeys[] = {
    // Summary, 1 to 10.
    "P_y", "P_max", "K_eff", "Q_factor", "Alpha_L", "Theda_y", "L_wp", "L_brb", "Le_lower", "Le_upper",
    // Core, 11 to 28.
    "L_c", "t_c", "B_c", "D_c", "A_c", "L_t", "A_t", "L_j", "L_x", "L_n", "L_w", "T_w", "t_j", "B_j", "D_j", "A_j",
    "L_s", "t_g_s",
    // Casing, 29 to 34.
    "D_t_required", "D_t", "t", "I_sc_required", "I_sc_designed", "L_sc",
    // Lower plate 35 to 41, upper plate 42 to 47, middle plate 48 to 51.
    "down_L_h", "down_T_b", "down_L_v", "down_T_c", "t_sf", "down_L_sf_h", "down_L_sf_v",
    "up_L_h", "up_T_b", "up_L_v", "up_T_c", "up_L_sf_h", "up_L_sf_v",
    "Lh_mid", "Lv_mid", "Tb_mid", "Lsf_mid",
};

void GiveOwnValues(json& part, int base) {
    int n = 0;
    for (const char* key : kNumberKeys) part[key] = base + ++n + 0.4;
    part["t_g"] = base / 100 + 10.4;
    part["Steel_Casing_Size"] = "casing " + std::to_string(base);
    part["Steel_Casing_Source"] = "product " + std::to_string(base);
}

struct Family {
    const char* name;  // also the sample's file
    const char* cfg;
    const char* ctype;
    int top, left, right;  // bases; a Diagonal result has no sides
};
const Family kFamilies[] = {
    {"diagonal-welded", "Diagonal", "Welded", 100, 0, 0},
    {"diagonal-bolted", "Diagonal", "Bolted", 200, 0, 0},
    {"chevron-welded", "Chevron", "Welded", 300, 400, 500},
    {"chevron-bolted", "Chevron", "Bolted", 600, 700, 800},
};

// A view's rows: the label without its indent, then the value shown by each family
// in the order above. The Chevron brace views show the side named with the table.
struct Row {
    const char* label;
    std::vector<std::string> values;
};

// Side item 2, "Right": the welded Chevron bay shows its right brace, the bolted one
// its top level.
const Row kSummary[] = {
    {"Py", {"101.4", "201.4", "501.4", "601.4"}},
    {"Pmax", {"102.4", "202.4", "502.4", "602.4"}},
    {"Keff", {"103.4", "203.4", "503.4", "603.4"}},
    {"Q", {"104.40", "204.40", "504.40", "604.40"}},
    {"\u03b1", {"105.40", "205.40", "505.40", "605.40"}},
    {"\u03b8y", {"106.4", "206.4", "506.4", "606.4"}},
    {"Lwp", {"107", "207", "507", "607"}},
    {"L_BRB", {"108.4", "208.4", "508.4", "608.4"}},
    {"Le,lower", {"109", "209", "509", "609"}},
    {"Le,upper", {"110", "210", "510", "610"}},
    {"Casing", {"casing 100", "casing 200", "casing 500", "casing 600"}},
};

// Side item 0, "Left"; the top level cuts the areas and joint sizes to whole numbers.
const Row kCore[] = {
    {"Core", {"", "", "", ""}},
    {"Lc", {"111.4", "211.4", "411.4", "611.4"}},
    {"tc", {"112.4", "212.4", "412.4", "612.4"}},
    {"Bc", {"113.4", "213.4", "413.4", "613.4"}},
    {"Dc", {"114.4", "214.4", "414.4", "614.4"}},
    {"Ac", {"115.4", "215.4", "415.4", "615.4"}},
    {"Transition", {"", "", "", ""}},
    {"Lt", {"116.4", "216.4", "416.4", "616.4"}},
    {"At", {"117", "217", "417.4", "617"}},
    {"Joint", {"", "", "", ""}},
    {"Lj", {"118.4", "218.4", "418.4", "618.4"}},
    {"Lx", {"119.4", "219.4", "419.4", "619.4"}},
    {"Ln", {"120.4", "220.4", "420.4", "620.4"}},
    {"Lw", {"121.4", "221.4", "421.4", "621.4"}},
    {"Tw", {"122.4", "222.4", "422.4", "622.4"}},
    {"tj", {"123.4", "223.4", "423.4", "623.4"}},
    {"Bj", {"124", "224", "424.4", "624"}},
    {"Dj", {"125", "225", "425.4", "625"}},
    {"Aj", {"126", "226", "426.4", "626"}},
    {"End Slot", {"", "", "", ""}},
    {"Ls", {"127.4", "227.4", "427.4", "627.4"}},
    {"tg,s", {"128.4", "228.4", "428.4", "628.4"}},
};

// Side item 2, "Right".
const Row kCasing[] = {
    {"Type", {"casing 100", "casing 200", "casing 500", "casing 600"}},
    {"Product", {"product 100", "product 200", "product 500", "product 600"}},
    {"Dt,req", {"129.4", "229.4", "529.4", "629.4"}},
    {"Dt", {"130.4", "230.4", "530.4", "630.4"}},
    {"t", {"131.4", "231.4", "531.4", "631.4"}},
    {"Isc,req", {"1.32E+02", "2.32E+02", "5.32E+02", "6.32E+02"}},
    {"Isc", {"1.33E+02", "2.33E+02", "5.33E+02", "6.33E+02"}},
    {"Lsc", {"134.4", "234.4", "534.4", "634.4"}},
};

// The Diagonal families' gusset view: the lower and the upper plate.
const Row kDiagonalGusset[] = {
    {"Lower", {"", ""}},
    {"tg", {"11.4", "12.4"}},
    {"Lh", {"135.4", "235.4"}},
    {"Tb", {"136.4", "236.4"}},
    {"Lv", {"137.4", "237.4"}},
    {"Tc", {"138.4", "238.4"}},
    {"tsf", {"139.4", "239.4"}},
    {"Lsf,h", {"140.4", "240.4"}},
    {"Lsf,v", {"141.4", "241.4"}},
    {"Upper", {"", ""}},
    {"tg", {"11.4", "12.4"}},
    {"Lh", {"142.4", "242.4"}},
    {"Tb", {"143.4", "243.4"}},
    {"Lv", {"144.4", "244.4"}},
    {"Tc", {"145.4", "245.4"}},
    {"tsf", {"139.4", "239.4"}},
    {"Lsf,h", {"146.4", "246.4"}},
    {"Lsf,v", {"147.4", "247.4"}},
};

// The Chevron families' gusset view, for each side item: the left brace's lower plate,
// the middle plate (its sizes from the top level, its thicknesses the right brace's)
// and the right brace's lower plate.
const Row kLeftGusset[] = {
    {"Left", {"", ""}},
    {"tg", {"14.4", "17.4"}},
    {"Lh", {"435.4", "735.4"}},
    {"Tb", {"436.4", "736.4"}},
    {"Lv", {"437.4", "737.4"}},
    {"Tc", {"438.4", "738.4"}},
    {"tsf", {"439.4", "739.4"}},
    {"Lsf,h", {"440.4", "740.4"}},
    {"Lsf,v", {"441.4", "741.4"}},
};
const Row kMiddleGusset[] = {
    {"Middle", {"", ""}},
    {"tg", {"15.4", "18.4"}},
    {"Lh,mid", {"348.4", "648.4"}},
    {"Lv,mid", {"349.4", "649.4"}},
    {"Tb,mid", {"350.4", "650.4"}},
    {"Lsf,mid", {"351.4", "651.4"}},
    {"tsf,mid", {"539.4", "839.4"}},
};
const Row kRightGusset[] = {
    {"Right", {"", ""}},
    {"tg", {"15.4", "18.4"}},
    {"Lh", {"535.4", "835.4"}},
    {"Tb", {"536.4", "836.4"}},
    {"Lv", {"537.4", "837.4"}},
    {"Tc", {"538.4", "838.4"}},
    {"tsf", {"539.4", "839.4"}},
    {"Lsf,h", {"540.4", "840.4"}},
    {"Lsf,v", {"541.4", "841.4"}},
};

std::string Unindented(const std::string& label) {
    const std::size_t text = label.find_first_not_of(' ');
    return text == std::string::npos ? "" : label.substr(text);
}

class BrbFamilies : public ::testing::Test {
protected:
    void SetUp() override {
        form = env.Create();
        ASSERT_NE(form, nullptr);
        env.Headless().TakeBoxes();
    }
    void TearDown() override {
        for (const auto& box : env.Headless().TakeBoxes()) ADD_FAILURE() << "unexpected box: " << box.text;
    }

    // The family's sample with values of its own.
    static json Sample(const Family& family) {
        json result = json::parse(testing_support::ReadFile(
            testing_support::FixturePath(std::string("run-result-") + family.name + ".json")));
        GiveOwnValues(result, family.top);
        if (family.left) {
            GiveOwnValues(result["LEFT"], family.left);
            GiveOwnValues(result["RIGHT"], family.right);
        }
        return result;
    }

    // A result read as a run of the family's bay reads it.
    bool ReadAs(const Family& family, const json& result) {
        form->CfgText = family.cfg;
        form->CtypeText = family.ctype;
        form->ReplyText = result.dump();
        return form->ReadRunResult();
    }
    void Read(const Family& family) {
        form->CfgText = family.cfg;
        form->FillPartRadio(2);
        ASSERT_TRUE(ReadAs(family, Sample(family)));
    }

    // A view and a side as the user picks them, then the grid filled afresh.
    void Show(int view, int side) {
        form->ComboBox_BRB_Output_Option->SetItemIndex(view);
        form->ComboBox_BRB_Output_OptionChange(form->ComboBox_BRB_Output_Option);
        if (form->CfgText == "Chevron") form->RadioGroup_Part->SetItemIndex(side);
        form->StringGrid_BRB->ClearCol(1);
        form->ShowCheckTables();
    }

    std::vector<std::string> ValueColumn() const {
        std::vector<std::string> texts;
        for (int r = 0; r < form->StringGrid_BRB->RowCount(); ++r) texts.push_back(form->StringGrid_BRB->Cells(1, r));
        return texts;
    }

    template <std::size_t N>
    void Expect(const Row (&rows)[N], std::size_t column) {
        const TStringGrid& grid = *form->StringGrid_BRB;
        ASSERT_EQ(grid.RowCount(), static_cast<int>(N));
        for (std::size_t r = 0; r < N; ++r) {
            SCOPED_TRACE(std::string("row ") + std::to_string(r) + " " + rows[r].label);
            EXPECT_EQ(Unindented(grid.Cells(0, static_cast<int>(r))), rows[r].label);
            EXPECT_EQ(grid.Cells(1, static_cast<int>(r)), rows[r].values.at(column));
        }
    }

    testing_support::FormEnvironment env;
    DOVEREForm* form = nullptr;
};

TEST_F(BrbFamilies, EachFamilyShowsItsOwnResultInEveryView) {
    for (std::size_t f = 0; f < std::size(kFamilies); ++f) {
        const Family& family = kFamilies[f];
        SCOPED_TRACE(family.name);
        Read(family);
        const bool chevron = family.left != 0;
        Show(0, 2);
        Expect(kSummary, f);
        Show(1, 0);
        Expect(kCore, f);
        Show(2, 2);
        Expect(kCasing, f);
        if (!chevron) {
            Show(3, 0);
            Expect(kDiagonalGusset, f);
            continue;
        }
        Show(3, 0);
        Expect(kLeftGusset, f - 2);
        Show(3, 1);
        Expect(kMiddleGusset, f - 2);
        Show(3, 2);
        Expect(kRightGusset, f - 2);
    }
}

// A number out of single precision under a key that one BRB view of the bay shows,
// and nothing else of the run reads: the result is refused whole, whichever view
// reads it. A Diagonal bay and a Chevron bolted bay's brace views read the top
// level; a Chevron welded bay and every Chevron gusset view read the side tables,
// whose reader refuses it.
struct OutOfRange {
    const char* side;  // the side object that holds the key; nullptr: the top level
    const char* key;
    double value;
    const char* shown;  // the value in the message
};
struct ViewCase {
    int view;  // 0 Summary, 1 Core, 2 Casing, 3 Gusset
    int part;  // the side item shown in a Chevron bay
    std::vector<OutOfRange> keys;
};

// Keys that, in a Diagonal bay, only the named view reads.
const std::vector<ViewCase> kDiagonalViews = {
    {0, 0, {{nullptr, "P_max", 1e300, "1e+300"}, {nullptr, "Theda_y", -1e300, "-1e+300"}}},
    {1, 0, {{nullptr, "T_w", 1e39, "1e+39"}, {nullptr, "L_s", -3.5e38, "-3.5e+38"}}},
    {2, 0, {{nullptr, "I_sc_required", 1e300, "1e+300"}, {nullptr, "I_sc_designed", 3.5e38, "3.5e+38"}}},
    {3,
     0,
     {{nullptr, "down_T_b", 1e300, "1e+300"},
      {nullptr, "down_T_c", -1e39, "-1e+39"},
      {nullptr, "down_L_sf_h", 1e39, "1e+39"},
      {nullptr, "down_L_sf_v", 1e300, "1e+300"},
      {nullptr, "up_T_b", -1e300, "-1e+300"},
      {nullptr, "up_T_c", 1e300, "1e+300"},
      {nullptr, "up_L_sf_h", 3.5e38, "3.5e+38"},
      {nullptr, "up_L_sf_v", 1e39, "1e+39"}}},
};

// A Chevron welded bay: every view reads a side, the middle plate's Tb the top level.
const std::vector<ViewCase> kChevronWeldedViews = {
    {0, 0, {{"LEFT", "P_max", 1e300, "1e+300"}}},
    {0, 2, {{"RIGHT", "Theda_y", -1e39, "-1e+39"}}},
    {1, 0, {{"LEFT", "T_w", 1e39, "1e+39"}}},
    {1, 2, {{"RIGHT", "L_s", 1e300, "1e+300"}}},
    {2, 0, {{"LEFT", "I_sc_designed", -1e300, "-1e+300"}}},
    {2, 2, {{"RIGHT", "I_sc_required", 3.5e38, "3.5e+38"}}},
    {3, 0, {{"LEFT", "down_T_b", 1e300, "1e+300"}}},
    {3, 1, {{nullptr, "Tb_mid", 1e39, "1e+39"}}},
    {3, 2, {{"RIGHT", "down_L_sf_v", -1e300, "-1e+300"}}},
};

// A Chevron bolted bay: its brace views read the top level, where nothing else of
// the run reads these keys; its gusset view reads the sides.
const std::vector<ViewCase> kChevronBoltedViews = {
    {0,
     2,
     {{nullptr, "P_y", 1e300, "1e+300"},
      {nullptr, "P_max", 1e39, "1e+39"},
      {nullptr, "Q_factor", -1e300, "-1e+300"},
      {nullptr, "Alpha_L", 1e300, "1e+300"},
      {nullptr, "Theda_y", 3.5e38, "3.5e+38"},
      {nullptr, "L_wp", 1e300, "1e+300"},
      {nullptr, "L_brb", -1e39, "-1e+39"},
      {nullptr, "Le_lower", 1e300, "1e+300"},
      {nullptr, "Le_upper", 1e39, "1e+39"}}},
    {1,
     0,
     {{nullptr, "L_c", 1e300, "1e+300"},   {nullptr, "t_c", 1e39, "1e+39"},     {nullptr, "B_c", -1e300, "-1e+300"},
      {nullptr, "D_c", 1e300, "1e+300"},   {nullptr, "A_c", 3.5e38, "3.5e+38"}, {nullptr, "L_t", 1e300, "1e+300"},
      {nullptr, "A_t", 1e39, "1e+39"},     {nullptr, "L_j", 1e300, "1e+300"},   {nullptr, "L_x", -1e39, "-1e+39"},
      {nullptr, "L_n", 1e300, "1e+300"},   {nullptr, "L_w", 1e300, "1e+300"},   {nullptr, "T_w", 1e39, "1e+39"},
      {nullptr, "t_j", 1e300, "1e+300"},   {nullptr, "B_j", -1e300, "-1e+300"}, {nullptr, "D_j", 1e300, "1e+300"},
      {nullptr, "A_j", 1e39, "1e+39"},     {nullptr, "L_s", 1e300, "1e+300"},   {nullptr, "t_g_s", 1e300, "1e+300"}}},
    {2,
     2,
     {{nullptr, "D_t_required", 1e300, "1e+300"},
      {nullptr, "D_t", 1e39, "1e+39"},
      {nullptr, "t", -1e300, "-1e+300"},
      {nullptr, "I_sc_required", 1e300, "1e+300"},
      {nullptr, "I_sc_designed", 3.5e38, "3.5e+38"},
      {nullptr, "L_sc", 1e300, "1e+300"}}},
    {3, 0, {{"LEFT", "down_T_c", 1e300, "1e+300"}}},
    {3, 1, {{nullptr, "Tb_mid", -1e39, "-1e+39"}}},
    {3, 2, {{"RIGHT", "down_L_sf_h", 1e39, "1e+39"}}},
};

TEST_F(BrbFamilies, ANumberOutOfRangeThatOneViewShowsRefusesTheResultAndKeepsThePreviousOne) {
    const std::vector<ViewCase>* views[] = {&kDiagonalViews, &kDiagonalViews, &kChevronWeldedViews,
                                            &kChevronBoltedViews};
    for (std::size_t f = 0; f < std::size(kFamilies); ++f) {
        const Family& family = kFamilies[f];
        const json sample = Sample(family);
        for (const ViewCase& view : *views[f]) {
            for (const OutOfRange& bad : view.keys) {
                SCOPED_TRACE(std::string(family.name) + ", view " + std::to_string(view.view) + ", part " +
                             std::to_string(view.part) + ": " + (bad.side ? bad.side : "top") + " " + bad.key);
                Read(family);
                Show(view.view, view.part);
                const std::vector<std::string> shown = ValueColumn();
                const double held = (bad.side ? sample.at(bad.side) : sample).at(bad.key).get<double>();
                const SideValueTable sides = form->SideValues;
                const TBraceValues brace = form->BraceValues;
                const std::size_t keys = form->ResultObject.size();

                json result = sample;
                (bad.side ? result[bad.side] : result)[bad.key] = bad.value;
                EXPECT_FALSE(ReadAs(family, result));
                const std::string where = bad.side ? std::string(" in \"") + bad.side + "\"" : "";
                EXPECT_EQ(env.Headless().TakeBoxes(),
                          (std::vector<ui::HeadlessBackend::Box>{testing_support::ErrorBox(
                              std::string("The design service answered without a complete result. Result key \"") +
                              bad.key + "\"" + where + " holds a number out of range: " + bad.shown + ".")}));

                // The grid, the result and the side tables are the previous result's.
                EXPECT_EQ(ValueColumn(), shown);
                const jsonxx::Object& kept = form->ResultObject;
                EXPECT_EQ(kept.size(), keys);
                EXPECT_EQ((bad.side ? kept.get<jsonxx::Object>(bad.side) : kept).get<double>(bad.key), held);
                EXPECT_EQ(form->SideValues, sides);
                EXPECT_EQ(std::memcmp(&brace, &form->BraceValues, sizeof brace), 0);
                Show(view.view, view.part);
                EXPECT_EQ(ValueColumn(), shown) << "filled again from the result held";
            }
        }
    }
}

}  // namespace
