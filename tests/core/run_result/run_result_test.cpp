// Reading run results: every member, side table and gauge value of the four
// families, 32-bit narrowing, a second result replacing the first, and replies that
// are no complete result, which leave the previous result whole.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <regex>

#include <nlohmann/json.hpp>

#include "core/result_reader.h"
#include "support/fixtures.h"
#include "support/form_environment.h"

namespace {

using testing_support::FormEnvironment;
using testing_support::ReplyFault;
using Box = ui::HeadlessBackend::Box;

std::string Fixture(const std::string& name) { return testing_support::FixtureText(name); }

std::string Wrapped(const std::string& result) { return "{\"result\":[" + result + "]}"; }

// The fixture text with one key's pair removed (the key must hold a number).
std::string WithoutKey(const std::string& text, const std::string& key) {
    return std::regex_replace(text, std::regex("\"" + key + "\":[-0-9.eE+]+,"), "", std::regex_constants::format_first_only);
}

#define ZORV_KEY_NAME(name) #name,
const std::vector<std::string> kFrameKeys = {ZORV_FRAME_VALUE_KEYS(ZORV_KEY_NAME)};
const std::vector<std::string> kBraceKeys = {ZORV_BRACE_VALUE_KEYS(ZORV_KEY_NAME)};
#undef ZORV_KEY_NAME

float Narrow(const jsonxx::Object& o, const std::string& key) { return static_cast<float>(o.get<double>(key)); }

// Every member named after a result key holds that key's value narrowed to 32 bits:
// for Chevron the right brace's, or the top level's for the bay and the middle
// gusset. A key that the result lacks leaves its member at `untouched`.
void ExpectMembersFrom(const jsonxx::Object& result, bool chevron, const TFrameValues& frame,
                       const TBraceValues& brace, float untouched = 0.0f) {
    const jsonxx::Object* right = chevron ? &result.get<jsonxx::Object>("RIGHT") : nullptr;
    auto expected = [&](const std::string& key) -> std::optional<float> {
        if (right && right->has<double>(key)) return Narrow(*right, key);
        if (result.has<double>(key)) return Narrow(result, key);
        return std::nullopt;
    };
    for (const std::string& key : kFrameKeys) {
        const float value = frame.*TFrameValues::Member(key);
        if (key.find("gap") != std::string::npos || key.find("slab") != std::string::npos) {
            EXPECT_EQ(value, Narrow(result, key)) << key << ": the bay's keys come from the top level";
        } else if (auto e = expected(key)) {
            EXPECT_EQ(value, *e) << key;
        }
    }
    for (const std::string& key : kBraceKeys) {
        const float value = brace.*TBraceValues::Member(key);
        if (auto e = expected(key))
            EXPECT_EQ(value, *e) << key;
        else
            EXPECT_EQ(value, untouched) << key << " is not in this family's result";
    }
}

// The side tables of a Chevron result, side by side with the side objects.
void ExpectChevronSides(const jsonxx::Object& result, bool bolted, const SideValueTable& values,
                        const SideTextTable& texts) {
    const size_t checks = bolted ? 20 : 15;
    ASSERT_EQ(values.size(), 3u);
    for (const char* side : {"LEFT", "RIGHT"}) {
        SCOPED_TRACE(side);
        const jsonxx::Object& from = result.get<jsonxx::Object>(side);
        const std::map<std::string, float>& entries = values.at(side);
        // 4 frame + 6 + 9 gusset + 23 brace + 14 side-only + 4 casing + 56 coordinates,
        // and three numbers per check.
        EXPECT_EQ(entries.size(), 116u + 3 * checks);
        for (const auto& [key, value] : entries) EXPECT_EQ(value, Narrow(from, key)) << key;
        for (const char* key : {"P_max", "K_eff", "Q_factor", "Alpha_L", "Theda_y", "K_eff_h", "T_w", "L_s"})
            EXPECT_TRUE(entries.count(key)) << key;
        ASSERT_EQ(texts.at(side).size(), 4u);
        for (const char* key : {"WES_Type", "Steel_Casing_Size", "Steel_Casing_Source", "STEEL_CASING_Type"})
            EXPECT_EQ(texts.at(side).at(key), from.get<std::string>(key)) << key;
    }
    const std::map<std::string, float>& middle = values.at("MIDDLE");
    EXPECT_EQ(middle.size(), 4u + 2 + 9) << "sizes, t_g, tsf_mid and the three middle checks";
    EXPECT_EQ(middle.at("t_g"), values.at("RIGHT").at("t_g"));
    EXPECT_EQ(middle.at("tsf_mid"), values.at("RIGHT").at("t_sf"));
    for (const char* key : {"Lh_mid", "Lv_mid", "Lsf_mid", "Tb_mid"}) EXPECT_EQ(middle.at(key), Narrow(result, key));
    const std::string mg = bolted ? "12_mg_c" : "7_mg_c";
    for (const char* prefix : {"DCR_", "Demand_", "Capacity_"})
        for (int c = 1; c <= 3; ++c) {
            const std::string key = prefix + mg + std::to_string(c);
            EXPECT_EQ(middle.at(key), Narrow(result, key)) << key;
        }
}

struct FamilyCase {
    const char* fixture;
    TResultFamily family;
};

// ---- The reader on the sample results --------------------------------------------

TEST(ResultReader, EachFamilysSampleFillsItsMembersAndTables) {
    const FamilyCase cases[] = {
        {"run-result-diagonal-welded.json", {"Diagonal", "Welded", 0}},
        {"run-result-diagonal-bolted.json", {"Diagonal", "Bolted", 0}},
        {"run-result-chevron-welded.json", {"Chevron", "Welded", 2}},
        {"run-result-chevron-bolted.json", {"Chevron", "Bolted", 2}},
    };
    for (const FamilyCase& c : cases) {
        SCOPED_TRACE(c.fixture);
        jsonxx::Object result;
        ASSERT_TRUE(ParseResultText(Fixture(c.fixture), result));
        TResultState state;
        state.BoltedValues.et = -1.0f;
        state.QFactor = -1.0f;
        ReadResultInto(result, c.family, state);
        const bool chevron = c.family.CfgText == "Chevron";
        const bool bolted = c.family.CtypeText == "Bolted";
        ExpectMembersFrom(result, chevron, state.FrameValues, state.BraceValues);
        EXPECT_EQ(state.ReportPaths.TextReport, result.get<std::string>("SAVE_ZORV_FILE_PATH"));
        EXPECT_EQ(state.ReportPaths.Spreadsheet, result.get<std::string>("SAVE_ZORV_XLS_PATH"));
        EXPECT_EQ(state.ReportPaths.Drawing, result.get<std::string>("SAVE_ZORV_DXF_PATH"));
        EXPECT_EQ(state.CoreType, result.get<std::string>("WES_Type"));
        EXPECT_EQ(state.CasingType, result.get<std::string>("STEEL_CASING_Type"));
        if (chevron) {
            ExpectChevronSides(result, bolted, state.SideValues, state.SideTexts);
            const jsonxx::Object& right = result.get<jsonxx::Object>("RIGHT");
            EXPECT_EQ(state.BeamRatios.Upper, Narrow(right, "U_Beam_Ratio"));
            EXPECT_EQ(state.BeamRatios.Lower, Narrow(right, "L_Beam_Ratio"));
            EXPECT_EQ(state.QFactor, -1.0f) << "a Chevron result leaves the Diagonal factors alone";
            EXPECT_EQ(state.GaugeValues.size(), bolted ? 20u : 15u);
        } else {
            EXPECT_TRUE(state.SideValues.empty());
            EXPECT_TRUE(state.SideTexts.empty());
            EXPECT_EQ(state.GaugeValues, std::vector<float>(21, 0.0f)) << "whatever the ratios";
            EXPECT_EQ(state.QFactor, Narrow(result, "Q_factor"));
            EXPECT_EQ(state.AlphaL, Narrow(result, "Alpha_L"));
            EXPECT_EQ(state.BeamRatios.Upper, Narrow(result, "U_Beam_Ratio"));
            EXPECT_EQ(state.BeamRatios.Lower, Narrow(result, "L_Beam_Ratio"));
        }
        // Only a Diagonal bolted result carries the bolt pattern.
        if (!chevron && bolted) {
            EXPECT_EQ(state.BoltedValues.et, Narrow(result, "Bolted_et"));
            EXPECT_EQ(state.BoltedValues.n, Narrow(result, "Bolted_n"));
            EXPECT_EQ(state.BoltedValues.Lbs, Narrow(result, "Bolted_Lbs"));
            EXPECT_EQ(state.BoltedValues.Wbs, Narrow(result, "Bolted_Wbs"));
        } else {
            EXPECT_EQ(state.BoltedValues.et, -1.0f);
        }
    }
}

TEST(ResultReader, GaugeValuesFollowTheCheckSide) {
    struct Case {
        const char* fixture;
        const char* ctype;
        int side;
        std::vector<std::string> keys;  // where the values come from, in order
    };
    auto brace = [](const char* side, std::initializer_list<const char*> suffixes) {
        std::vector<std::string> keys;
        for (const char* s : suffixes) keys.push_back(std::string(side) + "/DCR_" + s);
        return keys;
    };
    const auto welded = {"1",         "2",         "3_up",      "3_down",    "4",
                         "5_up",      "5_down",    "6_up",      "6_down",    "7_down_c1",
                         "7_down_c2", "7_down_c3", "7_down_c4", "7_down_c5", "7_down_c6"};
    const auto bolted = {"1",          "2",          "3",          "4",          "5",
                         "6_up",       "6_down",     "7",          "8",          "9",
                         "10_up",      "10_down",    "11_up",      "11_down",    "12_down_c1",
                         "12_down_c2", "12_down_c3", "12_down_c4", "12_down_c5", "12_down_c6"};
    const Case cases[] = {
        {"run-result-chevron-welded.json", "Welded", 0, brace("LEFT", welded)},
        {"run-result-chevron-welded.json", "Welded", 2, brace("RIGHT", welded)},
        {"run-result-chevron-welded.json", "Welded", -1, brace("RIGHT", welded)},
        {"run-result-chevron-welded.json", "Welded", 1, {"/DCR_7_mg_c1", "/DCR_7_mg_c2", "/DCR_7_mg_c3"}},
        {"run-result-chevron-bolted.json", "Bolted", 2, brace("RIGHT", bolted)},
        {"run-result-chevron-bolted.json", "Bolted", 1, {"/DCR_12_mg_c1", "/DCR_12_mg_c2", "/DCR_12_mg_c3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.fixture) + " side " + std::to_string(c.side));
        jsonxx::Object result;
        ASSERT_TRUE(ParseResultText(Fixture(c.fixture), result));
        TResultState state;
        ReadCheckRatiosInto(result, {"Chevron", c.ctype, c.side}, state);
        std::vector<float> expected;
        for (const std::string& path : c.keys) {
            const std::string side = path.substr(0, path.find('/'));
            const std::string key = path.substr(path.find('/') + 1);
            expected.push_back(Narrow(side.empty() ? result : result.get<jsonxx::Object>(side), key));
        }
        EXPECT_EQ(state.GaugeValues, expected);
    }
}

TEST(ResultReader, NumbersAreNarrowedWhereTheyAreStored) {
    std::string text = Fixture("run-result-diagonal-welded.json");
    text = std::regex_replace(text, std::regex("\"tan_phi\":[-0-9.eE+]+"), "\"tan_phi\":0.1");
    jsonxx::Object result;
    ASSERT_TRUE(ParseResultText(text, result));
    TResultState state;
    ReadResultInto(result, {"Diagonal", "Welded", 0}, state);
    EXPECT_EQ(static_cast<double>(state.BraceValues.tan_phi), 0.10000000149011612);
    EXPECT_EQ(result.get<double>("tan_phi"), 0.1) << "readers of the result itself see the double";
}

TEST(ResultReader, TextAfterTheObjectAndUnknownKeysAreIgnored) {
    std::string text = Fixture("run-result-diagonal-welded.json");
    text.insert(1, "\"Not_A_Key\":{\"x\":[1,2]},");
    jsonxx::Object result;
    ASSERT_TRUE(ParseResultText(text + "]} trailing", result));
    TResultState state;
    EXPECT_NO_THROW(ReadResultInto(result, {"Diagonal", "Welded", 0}, state));
}

TEST(ResultReader, AMissingKeyOrSideIsReportedByName) {
    struct Case {
        const char* fixture;
        std::string text;
        TResultFamily family;
        std::string key;
    };
    const std::string diagonal = Fixture("run-result-diagonal-welded.json");
    const std::string chevron = Fixture("run-result-chevron-welded.json");
    const Case cases[] = {
        {"no L_wp", WithoutKey(diagonal, "L_wp"), {"Diagonal", "Welded", 0}, "L_wp"},
        {"empty object", "{}", {"Diagonal", "Welded", 0}, "SAVE_ZORV_FILE_PATH"},
        {"Diagonal result read as Chevron", diagonal, {"Chevron", "Welded", 0}, "LEFT"},
        {"no middle check", WithoutKey(chevron, "Capacity_7_mg_c2"), {"Chevron", "Welded", 0}, "Capacity_7_mg_c2"},
        {"no Tb_mid", WithoutKey(chevron, "Tb_mid"), {"Chevron", "Welded", 0}, "Tb_mid"},
        {"welded result read as bolted", chevron, {"Chevron", "Bolted", 0}, "DCR_3"},
        {"Diagonal bolted without its bolts", WithoutKey(Fixture("run-result-diagonal-bolted.json"), "Bolted_n"),
         {"Diagonal", "Bolted", 0}, "Bolted_n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixture);
        jsonxx::Object result;
        ASSERT_TRUE(ParseResultText(c.text, result));
        TResultState state;
        try {
            ReadResultInto(result, c.family, state);
            ADD_FAILURE() << "read without " << c.key;
        } catch (const jsonxx::MissingKey& e) {
            EXPECT_EQ(e.Key(), c.key);
        }
    }
}

TEST(ResultReader, FailureMessages) {
    jsonxx::Object error;
    ASSERT_TRUE(ParseResultText(R"({"Error":"Unknown core grade \"X\""})", error));
    EXPECT_EQ(ResultFailureMessage(error, "Result key \"SAVE_ZORV_FILE_PATH\" is missing or not a text"),
              "The design service could not design this bay: Unknown core grade \"X\"");
    jsonxx::Object empty;
    EXPECT_EQ(ResultFailureMessage(empty, ""), "The design service answered without a complete result.");
    EXPECT_EQ(ResultFailureMessage(empty, "Result key \"L_wp\" is missing or not a number"),
              "The design service answered without a complete result. Result key \"L_wp\" is missing or not a "
              "number.");
}

// ---- Through the window, against the local service --------------------------------

class RunResult : public ::testing::Test {
protected:
    void SetUp() override {
        form = env.Create();
        ASSERT_NE(form, nullptr);
        env.Headless().TakeBoxes();
    }
    void UseChevron() {
        form->ComboBox_cfg->SetItemIndex(1);
        form->CfgText = "Chevron";
    }

    FormEnvironment env;
    DOVEREForm* form = nullptr;
};

TEST_F(RunResult, ADiagonalRunFillsTheMembersFromTheTopLevel) {
    // The constructor's design has read the defaults' result.
    ASSERT_TRUE(form->HaveResult);
    EXPECT_TRUE(form->RunDesign());
    const jsonxx::Object& r = form->ResultObject;
    ExpectMembersFrom(r, false, form->FrameValues, form->BraceValues);
    EXPECT_TRUE(form->SideValues.empty());
    EXPECT_TRUE(form->SideTexts.empty());
    EXPECT_EQ(form->GaugeValues, std::vector<float>(21, 0.0f));
    EXPECT_EQ(form->QFactor, Narrow(r, "Q_factor"));
    EXPECT_EQ(form->AlphaL, Narrow(r, "Alpha_L"));
    EXPECT_EQ(form->CoreType, "Cruciform");
    EXPECT_EQ(form->CasingType, "Square");
    EXPECT_EQ(form->ReportPaths.TextReport, r.get<std::string>("SAVE_ZORV_FILE_PATH"));
}

TEST_F(RunResult, AChevronRunFillsTheSidesAndLeavesTheRightBraceInTheMembers) {
    UseChevron();
    form->RadioGroup_DCR->SetItemIndex(2);
    ASSERT_TRUE(form->RunDesign());
    const jsonxx::Object& r = form->ResultObject;
    ASSERT_TRUE(r.has<jsonxx::Object>("LEFT"));
    ExpectMembersFrom(r, true, form->FrameValues, form->BraceValues);
    ExpectChevronSides(r, false, form->SideValues, form->SideTexts);
    const jsonxx::Object& right = r.get<jsonxx::Object>("RIGHT");
    EXPECT_EQ(form->BeamRatios.Upper, Narrow(right, "U_Beam_Ratio"));
    ASSERT_EQ(form->GaugeValues.size(), 15u);
    EXPECT_EQ(form->GaugeValues.front(), Narrow(right, "DCR_1"));

    // Another check side re-reads the ratios of the same result; only the gauges move.
    const SideValueTable sides = form->SideValues;
    form->RadioGroup_DCR->SetItemIndex(1);
    form->ReadCheckRatios();
    EXPECT_EQ(form->GaugeValues, (std::vector<float>{Narrow(r, "DCR_7_mg_c1"), Narrow(r, "DCR_7_mg_c2"),
                                                      Narrow(r, "DCR_7_mg_c3")}));
    EXPECT_EQ(form->SideValues, sides);
}

TEST_F(RunResult, ASecondResultReplacesTheFirstCompletely) {
    UseChevron();
    ASSERT_TRUE(form->RunDesign());
    ASSERT_FALSE(form->SideValues.empty());
    form->ComboBox_cfg->SetItemIndex(0);
    form->CfgText = "Diagonal";
    ASSERT_TRUE(form->RunDesign());
    EXPECT_TRUE(form->SideValues.empty());
    EXPECT_TRUE(form->SideTexts.empty());
    EXPECT_FALSE(form->ResultObject.has<jsonxx::Object>("LEFT"));
    EXPECT_FALSE(form->ResultObject.has<double>("Tb_mid"));
    EXPECT_EQ(form->GaugeValues, std::vector<float>(21, 0.0f));
}

TEST_F(RunResult, AReplyThatIsNoCompleteResultKeepsThePreviousOneWhole) {
    const std::string diagonal = Fixture("run-result-diagonal-welded.json");
    struct Case {
        const char* name;
        std::string body;
        bool chevron;
        std::string message;
        const char* ctype = "Welded";
    };
    const std::string incomplete = "The design service answered without a complete result.";
    // A number that single precision cannot hold, on a side or at the top level.
    const auto with_number = [](std::string text, const char* side, const char* key, double value) {
        nlohmann::ordered_json result = nlohmann::ordered_json::parse(text);
        (side ? result[side] : result)[key] = value;
        return result.dump();
    };
    const std::string chevron = Fixture("run-result-chevron-welded.json");
    // A guard key removed, and a failed check where a stale list would show a pass.
    const auto without_check_guard = [](std::string text, const char* side, const char* key) {
        nlohmann::ordered_json result = nlohmann::ordered_json::parse(text);
        (side ? result[side] : result).erase(key);
        result["DCR_2"] = 3.0;
        if (result.contains("LEFT")) result["LEFT"]["DCR_2"] = 3.0;
        return result.dump();
    };
    const std::string diagonal_bolted = Fixture("run-result-diagonal-bolted.json");
    const Case cases[] = {
        {"a length beyond single precision", Wrapped(with_number(diagonal, nullptr, "L_wp", 1e39)), false,
         incomplete + " Result key \"L_wp\" holds a number out of range: 1e+39."},
        {"a stiffness far beyond it", Wrapped(with_number(diagonal, nullptr, "K_eff", -1e300)), false,
         incomplete + " Result key \"K_eff\" holds a number out of range: -1e+300."},
        // Numbers that only a grid of the bay shows are narrowed there too.
        {"a casing stiffness only the casing view shows", Wrapped(with_number(diagonal, nullptr, "I_sc_designed", 1e300)),
         false, incomplete + " Result key \"I_sc_designed\" holds a number out of range: 1e+300."},
        {"a demand only the check table shows", Wrapped(with_number(diagonal, nullptr, "Demand_7_up_c2", -1e39)),
         false, incomplete + " Result key \"Demand_7_up_c2\" holds a number out of range: -1e+39."},
        {"a check only a bolted bay's table shows", Wrapped(with_number(diagonal_bolted, nullptr, "DCR_8", 1e39)),
         false, incomplete + " Result key \"DCR_8\" holds a number out of range: 1e+39.", "Bolted"},

        {"empty object", Wrapped("{}"), false,
         incomplete + " Result key \"SAVE_ZORV_FILE_PATH\" is missing or not a text."},
        {"error object", Wrapped(R"({"Error":"Unknown class [999]"})"), false,
         "The design service could not design this bay: Unknown class [999]"},
        {"a missing number", Wrapped(WithoutKey(diagonal, "L_wp")), false,
         incomplete + " Result key \"L_wp\" is missing or not a number."},
        {"no stiffness for the check table", Wrapped(WithoutKey(diagonal, "K_eff")), false,
         incomplete + " Result key \"K_eff\" is missing or not a number."},
        {"not JSON", Wrapped("design failed"), false, incomplete},
        {"empty reply", "", false, incomplete + " Result key \"SAVE_ZORV_FILE_PATH\" is missing or not a text."},
        // The grids write nothing without these, so the last result's values
        // would stand beside the new one.
        {"no first check ratio, beside a failed check", Wrapped(without_check_guard(diagonal, nullptr, "DCR_1")),
         false, incomplete + " Result key \"DCR_1\" is missing or not a number."},
        {"a Chevron result without its top-level first check ratio",
         Wrapped(without_check_guard(chevron, nullptr, "DCR_1")), true,
         incomplete + " Result key \"DCR_1\" is missing or not a number."},
        {"a Chevron result without its top-level yield capacity", Wrapped(without_check_guard(chevron, nullptr, "P_y")),
         true, incomplete + " Result key \"P_y\" is missing or not a number."},
        {"a Chevron result without its sides", Wrapped(diagonal), true,
         incomplete + " Result key \"LEFT\" is missing or not an object."},
        {"a side's number beyond single precision", Wrapped(with_number(chevron, "RIGHT", "K_eff", 1e300)), true,
         incomplete + " Result key \"K_eff\" in \"RIGHT\" holds a number out of range: 1e+300."},
        {"a side's check ratio beyond it", Wrapped(with_number(chevron, "LEFT", "DCR_3_up", 1e300)), true,
         incomplete + " Result key \"DCR_3_up\" in \"LEFT\" holds a number out of range: 1e+300."},
        {"a middle gusset capacity beyond it", Wrapped(with_number(chevron, nullptr, "Capacity_7_mg_c1", 1e39)),
         true, incomplete + " Result key \"Capacity_7_mg_c1\" holds a number out of range: 1e+39."},
        {"a casing stiffness a Chevron bolted grid shows from the top level",
         Wrapped(with_number(Fixture("run-result-chevron-bolted.json"), nullptr, "I_sc_required", 1e39)), true,
         incomplete + " Result key \"I_sc_required\" holds a number out of range: 1e+39.", "Bolted"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.chevron) UseChevron();
        form->CtypeText = c.ctype;
        // The result of a run that succeeded, and what it left.
        env.Service().ClearFaults();
        ASSERT_TRUE(form->RunDesign());
        env.Headless().TakeBoxes();
        const size_t keys = form->ResultObject.size();
        const TFrameValues frame = form->FrameValues;
        const TBraceValues brace = form->BraceValues;
        const SideValueTable sides = form->SideValues;
        const TReportPaths paths = form->ReportPaths;
        const std::vector<float> gauges = form->GaugeValues;
        std::vector<std::string> checks, brb;
        for (int r = 0; r < 21; ++r) checks.push_back(form->StringGrid_DCR->Cells(1, r));
        for (int r = 0; r < 11; ++r) brb.push_back(form->StringGrid_BRB->Cells(1, r));

        env.Service().FailMethod("RUN_ZORV_PROJECT", ReplyFault(c.body));
        EXPECT_FALSE(form->RunDesign()) << "no fresh result";
        EXPECT_EQ(env.Headless().Boxes(), (std::vector<Box>{{ui::BoxKind::Error, c.message}}))
            << "and no advice of the last result";
        EXPECT_EQ(form->ResultObject.size(), keys);
        EXPECT_TRUE(form->ResultObject.has<double>("L_wp"));
        EXPECT_NO_THROW(form->BuildRunRequest()) << "the edits hold no number the user never typed";
        ExpectMembersFrom(form->ResultObject, c.chevron, form->FrameValues, form->BraceValues);
        EXPECT_EQ(std::memcmp(&frame, &form->FrameValues, sizeof frame), 0);
        EXPECT_EQ(std::memcmp(&brace, &form->BraceValues, sizeof brace), 0);
        EXPECT_EQ(form->SideValues, sides);
        EXPECT_EQ(form->ReportPaths.TextReport, paths.TextReport);
        EXPECT_EQ(form->GaugeValues, gauges);
        for (int r = 0; r < 21; ++r) EXPECT_EQ(form->StringGrid_DCR->Cells(1, r), checks[r]) << "check row " << r;
        for (int r = 0; r < 11; ++r) EXPECT_EQ(form->StringGrid_BRB->Cells(1, r), brb[r]) << "BRB row " << r;
        EXPECT_FALSE(form->Panel_RUN->Visible()) << "no verdict for inputs that were not designed";
        EXPECT_FALSE(form->GroupBoxRUN->Visible());
        env.Headless().TakeBoxes();
    }
}

// A number that no reader of the family narrows stays in the result as a double,
// however large, and the result designs.
TEST_F(RunResult, AnUnreadNumberBeyondSinglePrecisionStaysAndTheResultDesigns) {
    using nlohmann::ordered_json;
    struct Case {
        const char* name;
        const char* fixture;
        const char* ctype;
        std::function<void(ordered_json&)> add;
        std::vector<const char*> path;  // to the number
        double value;
    };
    const Case cases[] = {
        {"a debugging key", "run-result-diagonal-welded.json", "Welded",
         [](ordered_json& r) { r["zz_unused_debug"] = 1e300; }, {"zz_unused_debug"}, 1e300},
        {"inside an object no reader names", "run-result-diagonal-welded.json", "Welded",
         [](ordered_json& r) { r["zz_trace"] = {{"step", {{"big", -1e300}}}}; }, {"zz_trace", "step", "big"}, -1e300},
        {"the bolts of a welded bay", "run-result-diagonal-welded.json", "Welded",
         [](ordered_json& r) { r["Bolted_n"] = 1e39; }, {"Bolted_n"}, 1e39},
        {"the middle gusset of a Diagonal bay", "run-result-diagonal-welded.json", "Welded",
         [](ordered_json& r) { r["Tb_mid"] = 1e300; }, {"Tb_mid"}, 1e300},
        // Keys that other bays, or a workbook row, read.
        {"a check only a bolted bay reads", "run-result-diagonal-welded.json", "Welded",
         [](ordered_json& r) { r["DCR_8"] = 1e39; }, {"DCR_8"}, 1e39},
        {"a volume only a workbook row takes", "run-result-diagonal-welded.json", "Welded",
         [](ordered_json& r) { r["Motar_Self_Volume"] = 1e39; }, {"Motar_Self_Volume"}, 1e39},
        {"a weight only a workbook row takes", "run-result-diagonal-welded.json", "Welded",
         [](ordered_json& r) { r["Total_Weight"] = 1e300; }, {"Total_Weight"}, 1e300},
        {"a side's debugging key", "run-result-chevron-bolted.json", "Bolted",
         [](ordered_json& r) { r["LEFT"]["zz_side_debug"] = 1e300; }, {"LEFT", "zz_side_debug"}, 1e300},
        {"the top-level casing stiffness of a Chevron welded bay, whose grid reads the sides",
         "run-result-chevron-welded.json", "Welded", [](ordered_json& r) { r["I_sc_required"] = 1e39; },
         {"I_sc_required"}, 1e39},
        {"a top-level plate of a Chevron bolted bay, whose gusset view reads the sides",
         "run-result-chevron-bolted.json", "Bolted", [](ordered_json& r) { r["up_T_b"] = -1e39; }, {"up_T_b"},
         -1e39},
        {"the top-level check of a Chevron bay, whose tables read the sides", "run-result-chevron-bolted.json",
         "Bolted", [](ordered_json& r) { r["DCR_8"] = 1e39; }, {"DCR_8"}, 1e39},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool chevron = std::string(c.fixture).find("chevron") != std::string::npos;
        form->ComboBox_cfg->SetItemIndex(chevron ? 1 : 0);
        form->CfgText = chevron ? "Chevron" : "Diagonal";
        form->CtypeText = c.ctype;
        ordered_json result = ordered_json::parse(Fixture(c.fixture));
        c.add(result);
        env.Service().FailMethod("RUN_ZORV_PROJECT", ReplyFault(Wrapped(result.dump())));
        const TBoltedValues bolts = form->BoltedValues;
        EXPECT_TRUE(form->RunDesign());
        // (The advice of a sample's own values may follow.)
        for (const Box& box : env.Headless().TakeBoxes()) EXPECT_EQ(box.kind, ui::BoxKind::Message) << box.text;
        const jsonxx::Object* at = &form->ResultObject;
        for (std::size_t i = 0; i + 1 < c.path.size(); ++i) at = &at->get<jsonxx::Object>(c.path[i]);
        EXPECT_EQ(at->get<double>(c.path.back()), c.value) << "kept as it came";
        for (const auto& [side, entries] : form->SideValues) {
            const auto entry = entries.find(c.path.back());
            EXPECT_TRUE(entry == entries.end() || std::isfinite(entry->second)) << side << ": only a side's own value";
        }
        if (!chevron) {
            // (A Chevron bay's drawing puts each side's values back into the members.)
            ExpectMembersFrom(form->ResultObject, false, form->FrameValues, form->BraceValues);
            EXPECT_EQ(std::memcmp(&bolts, &form->BoltedValues, sizeof bolts), 0) << "a welded bay reads no bolts";
        }
        EXPECT_TRUE(form->Panel_RUN->Caption() == "DONE" || form->Panel_RUN->Caption() == "NG")
            << form->Panel_RUN->Caption();
    }
}

TEST_F(RunResult, CheckRatiosOfAResultOfAnotherConfigurationChangeNothing) {
    // A change to Chevron whose own run read nothing keeps the Diagonal result.
    const std::vector<float> gauges = form->GaugeValues;
    const float q = form->QFactor;
    UseChevron();
    form->RadioGroup_DCR->SetItemIndex(0);
    EXPECT_NO_THROW(form->ReadCheckRatios());
    EXPECT_EQ(form->GaugeValues, gauges);
    EXPECT_EQ(form->QFactor, q);
    EXPECT_TRUE(env.Headless().Boxes().empty());

    // A Chevron result held while the bay is Diagonal again: its top level carries
    // every key that a Diagonal read takes, so only the bay decides.
    ASSERT_TRUE(form->RunDesign());
    env.Headless().TakeBoxes();
    const jsonxx::Object& r = form->ResultObject;
    for (const char* key : {"Q_factor", "Alpha_L", "U_Beam_Ratio", "L_Beam_Ratio"})
        ASSERT_TRUE(r.has<double>(key)) << key;
    ASSERT_NE(Narrow(r, "Q_factor"), form->QFactor);
    const std::vector<float> left_gauges = form->GaugeValues;
    ASSERT_EQ(left_gauges.size(), 15u);
    const float chevron_q = form->QFactor, chevron_alpha = form->AlphaL;
    const TBeamRatios ratios = form->BeamRatios;
    const SideValueTable sides = form->SideValues;

    form->ComboBox_cfg->SetItemIndex(0);
    form->CfgText = "Diagonal";
    EXPECT_NO_THROW(form->ReadCheckRatios());
    EXPECT_EQ(form->GaugeValues, left_gauges) << "not the 21 zeros of a Diagonal bay";
    EXPECT_EQ(form->QFactor, chevron_q);
    EXPECT_EQ(form->AlphaL, chevron_alpha);
    EXPECT_EQ(form->BeamRatios.Upper, ratios.Upper);
    EXPECT_EQ(form->BeamRatios.Lower, ratios.Lower);
    EXPECT_EQ(form->SideValues, sides);
    EXPECT_TRUE(env.Headless().Boxes().empty());
}

TEST(RunResultWithoutService, CheckRatiosBeforeAnyResultChangeNothing) {
    FormEnvironment env(FormEnvironment::Reach::Unreachable);
    DOVEREForm* form = env.Create();
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(form->HaveResult);
    form->CfgText = "Chevron";
    EXPECT_NO_THROW(form->ReadCheckRatios());
    EXPECT_TRUE(form->GaugeValues.empty());
}

}  // namespace
