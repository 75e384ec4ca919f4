// The run result reader: the reply into ResultObject, the member families and the
// side tables, all or nothing.
#include <cstdio>
#include <iterator>
#include <locale>
#include <map>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "app/DOVEREFORM.h"
#include "batch/workbook_batch.h"
#include "core/result_reader.h"
#include "results/brb_views.h"
#include "results/check_catalogue.h"
#include "results/check_views.h"
#include "platform/text/code_page.h"
#include "platform/text/number_text.h"

namespace {

using KeyList = std::initializer_list<const char*>;

constexpr KeyList kFrameKeys = {"d_c_left", "d_c_right", "H_col", "L_beam"};
constexpr KeyList kFrameTexts = {"WES_Type", "Steel_Casing_Size", "Steel_Casing_Source", "STEEL_CASING_Type"};
constexpr KeyList kBayKeys = {"d_b_up",
                              "d_b_down",
                              "col_left_gap_for_L_brb",
                              "col_right_gap_for_L_brb",
                              "beam_up_gap_for_L_brb",
                              "beam_down_gap_for_L_brb",
                              "default_thickness_of_slab_for_L_brb",
                              "default_gap_for_gusset_plate"};
constexpr KeyList kLowerGussetKeys = {"down_L_v",
                                      "down_L_h",
                                      "Gusset_Plate_down_x1",
                                      "Gusset_Plate_down_y1",
                                      "Gusset_Plate_down_x2",
                                      "Gusset_Plate_down_y2"};
constexpr KeyList kUpperGussetKeys = {"up_L_v",
                                      "up_L_h",
                                      "Gusset_Plate_up_x1",
                                      "Gusset_Plate_up_y1",
                                      "Gusset_Plate_up_x2",
                                      "Gusset_Plate_up_y2",
                                      "t_sf",
                                      "Le_upper",
                                      "Le_lower"};
constexpr KeyList kBraceKeys = {"tan_phi", "L_wp", "L_brb", "L_c", "L_t", "L_x", "L_n", "L_w",
                                "L_j", "Shrink_Ratio_DOWN", "Shrink_Ratio_UP", "P_y", "A_c", "A_j",
                                "A_t", "B_c", "B_j", "D_c", "D_j", "t_c", "t_j", "t_g", "t_g_s"};
// Kept per side only.
constexpr KeyList kSideOnlyKeys = {"P_max", "K_eff", "Q_factor", "Alpha_L", "Theda_y", "K_eff_h", "I_sc_required",
                                   "I_sc_designed", "down_L_sf_h", "down_L_sf_v", "down_T_b", "down_T_c", "L_s", "T_w"};
constexpr KeyList kBoltedKeys = {"Bolted_Lbs", "Bolted_Wbs", "Bolted_et", "Bolted_el", "Bolted_s", "Bolted_n"};
constexpr KeyList kCasingKeys = {"t", "D_t", "L_sc", "D_t_required"};
constexpr KeyList kUpperPointKeys = {"Be_up_x1", "Be_up_y1", "Be_up_x2", "Be_up_y2", "Be_up_x3", "Be_up_y3",
                                     "Be_up_x4", "Be_up_y4", "Be_up_x5", "Be_up_y5", "Be_up_x6", "Be_up_y6",
                                     "Be_up_fx1", "Be_up_fy1", "Be_up_fx2", "Be_up_fy2"};
constexpr KeyList kLowerPointKeys = {"Be_dw_x1", "Be_dw_y1", "Be_dw_x2", "Be_dw_y2", "Be_dw_x3", "Be_dw_y3",
                                     "Be_dw_x4", "Be_dw_y4", "Be_dw_x5", "Be_dw_y5", "Be_dw_x6", "Be_dw_y6",
                                     "Be_dw_fx1", "Be_dw_fy1", "Be_dw_fx2", "Be_dw_fy2"};
constexpr KeyList kLowerLineKeys = {"L_1_down_x0", "L_1_down_y0", "L_1_down_x1", "L_1_down_y1",
                                    "L_2_down_x0", "L_2_down_y0", "L_2_down_x1", "L_2_down_y1",
                                    "L_3_down_x0", "L_3_down_y0", "L_3_down_x1", "L_3_down_y1"};
constexpr KeyList kUpperLineKeys = {"L_1_up_x0", "L_1_up_y0", "L_1_up_x1", "L_1_up_y1",
                                    "L_2_up_x0", "L_2_up_y0", "L_2_up_x1", "L_2_up_y1",
                                    "L_3_up_x0", "L_3_up_y0", "L_3_up_x1", "L_3_up_y1"};
constexpr KeyList kMiddlePointKeys = {"MIDDLE_GUSSET_x1", "MIDDLE_GUSSET_y1", "MIDDLE_GUSSET_x2",
                                      "MIDDLE_GUSSET_y2", "MIDDLE_GUSSET_x3", "MIDDLE_GUSSET_y3",
                                      "MIDDLE_GUSSET_x4", "MIDDLE_GUSSET_y4"};
constexpr KeyList kMiddleSizeKeys = {"Lh_mid", "Lv_mid", "Lsf_mid"};
constexpr const char* kSides[] = {"LEFT", "RIGHT"};

// An object of the result and the side it stands for (nullptr: the top level).
struct TPart {
    const jsonxx::Object& object;
    const char* side;
};

TPart Top(const jsonxx::Object& result) { return {result, nullptr}; }
TPart Side(const jsonxx::Object& result, const char* side) { return {result.get<jsonxx::Object>(side), side}; }

float Number(TPart from, const char* key) { return ResultNumber(from.object, key, from.side); }

// The member of a key; the key lists above and the member families must agree.
template <class Family>
float& MemberOf(Family& family, const char* key) {
    float Family::*member = Family::Member(key);
    if (member == nullptr) throw std::logic_error(std::string("no member for result key ") + key);
    return family.*member;
}

// Each key into its member and, when given, into the side's entry as well.
template <class Family>
void ReadSet(TPart from, KeyList keys, Family& members, std::map<std::string, float>* side) {
    for (const char* key : keys) {
        const float value = Number(from, key);
        MemberOf(members, key) = value;
        if (side) (*side)[key] = value;
    }
}

void ReadSideOnly(TPart from, KeyList keys, std::map<std::string, float>& side) {
    for (const char* key : keys) side[key] = Number(from, key);
}

// A set of brace keys: from the top level of a Diagonal result, per side of a
// Chevron result (left, then right, so the members keep the right brace's values).
void ReadBraceGroup(const jsonxx::Object& result, bool chevron, KeyList keys, TResultState& state) {
    if (!chevron) {
        ReadSet(Top(result), keys, state.BraceValues, nullptr);
        return;
    }
    for (const char* side : kSides) ReadSet(Side(result, side), keys, state.BraceValues, &state.SideValues[side]);
}

// The top-level numbers that the bay's other readers take in single precision: the
// stiffness edit in every bay, the check tables of a Diagonal bay (a Chevron bay's
// read the side table, which ReadResultInto fills), the BRB grid where it reads the
// top level, and the workbook's columns for a workbook row alone. Keys that none of
// them reads for this run are left as they came. Some keys listed are read as
// doubles and never narrowed (the check ratios, the grid's picture rows); a number
// out of range there is refused all the same.
std::vector<std::string> MakeShownKeys(TCheckFamily bay, bool workbook_row) {
    std::vector<std::string> keys = {"K_eff"};
    if (!IsChevron(bay)) {
        for (const TCheckEntry& check : IsBolted(bay) ? BoltedCheckCatalogue() : WeldedCheckCatalogue()) {
            if (!check.InResult) continue;
            keys.push_back(RatioKey(check));
            keys.push_back(DemandKey(check));
            keys.push_back(CapacityKey(check));
        }
    }
    const std::vector<std::string> grid = BrbTopLevelNumberKeys(bay);
    keys.insert(keys.end(), grid.begin(), grid.end());
    if (workbook_row) {
        const std::vector<std::string> columns = BatchNumberKeys();
        keys.insert(keys.end(), columns.begin(), columns.end());
    }
    return keys;
}

}  // namespace

bool ParseResultText(const std::string& reply_text, jsonxx::Object& result) {
    std::istringstream input(text::ToSystemCodePage(reply_text));
    input.imbue(std::locale::classic());
    return jsonxx::Object::parse(input, result);
}

std::string ResultNumberOutOfRange::Describe() const {
    char text[32];
    std::snprintf(text, sizeof text, "%g", Value);
    const std::string where = Side.empty() ? std::string() : " in \"" + Side + "\"";
    return "Result key \"" + Key + "\"" + where + " holds a number out of range: " + text;
}

float ResultNumber(const jsonxx::Object& from, std::string_view key, const char* side) {
    const double value = from.get<double>(key);
    if (!FitsSingle(value)) throw ResultNumberOutOfRange{std::string(key), side ? side : "", value};
    return static_cast<float>(value);
}

void CheckShownNumbers(const jsonxx::Object& result, const TResultFamily& family, bool workbook_row) {
    // One list per bay and kind of run, made once.
    static const auto lists = [] {
        std::map<std::pair<TCheckFamily, bool>, std::vector<std::string>> made;
        for (TCheckFamily bay : {TCheckFamily::DiagonalWelded, TCheckFamily::DiagonalBolted,
                                 TCheckFamily::ChevronWelded, TCheckFamily::ChevronBolted})
            for (bool row : {false, true}) made[{bay, row}] = MakeShownKeys(bay, row);
        return made;
    }();
    const TCheckFamily bay = CheckFamilyOf(family.CfgText, family.CtypeText);
    for (const std::string& key : lists.at({bay, workbook_row}))
        if (result.has<double>(key)) (void)ResultNumber(result, key, nullptr);
}

std::string ResultFailureMessage(const jsonxx::Object& result, const std::string& missing) {
    if (result.has<std::string>("Error"))
        return "The design service could not design this bay: " + result.get<std::string>("Error");
    std::string message = "The design service answered without a complete result.";
    if (!missing.empty()) message += " " + missing + ".";
    return message;
}

void ReadResultInto(const jsonxx::Object& result, const TResultFamily& family, TResultState& state) {
    const bool chevron = family.CfgText == "Chevron";
    state.SideValues.clear();
    state.SideTexts.clear();

    // Group 1: report paths and type texts. The code page is UTF-8, so the paths
    // need no conversion back.
    state.ReportPaths.TextReport = result.get<std::string>("SAVE_ZORV_FILE_PATH");
    state.ReportPaths.Spreadsheet = result.get<std::string>("SAVE_ZORV_XLS_PATH");
    state.ReportPaths.Drawing = result.get<std::string>("SAVE_ZORV_DXF_PATH");
    state.CoreType = result.get<std::string>("WES_Type");
    state.CasingType = result.get<std::string>("STEEL_CASING_Type");

    // Group 2: frame dimensions of a brace, with the side's texts for Chevron.
    if (chevron) {
        for (const char* side : kSides) {
            const TPart from = Side(result, side);
            ReadSet(from, kFrameKeys, state.FrameValues, &state.SideValues[side]);
            for (const char* key : kFrameTexts) state.SideTexts[side][key] = from.object.get<std::string>(key);
        }
    } else {
        ReadSet(Top(result), kFrameKeys, state.FrameValues, nullptr);
    }

    // Group 3: the bay, top level.
    ReadSet(Top(result), kBayKeys, state.FrameValues, nullptr);

    // Group 4: gusset plates.
    ReadBraceGroup(result, chevron, kLowerGussetKeys, state);
    ReadBraceGroup(result, chevron, kUpperGussetKeys, state);

    // Groups 5 and 6 (Chevron, per side) or 5 and 7 (Diagonal).
    if (chevron) {
        for (const char* side : kSides) {
            const TPart from = Side(result, side);
            ReadSet(from, kBraceKeys, state.BraceValues, &state.SideValues[side]);
            ReadSideOnly(from, kSideOnlyKeys, state.SideValues[side]);
        }
    } else {
        ReadSet(Top(result), kBraceKeys, state.BraceValues, nullptr);
        if (family.CtypeText == "Bolted") ReadSet(Top(result), kBoltedKeys, state.BoltedValues, nullptr);
    }

    // Group 8: casing. Group 9: coordinates.
    ReadBraceGroup(result, chevron, kCasingKeys, state);
    ReadBraceGroup(result, chevron, kUpperPointKeys, state);
    ReadBraceGroup(result, chevron, kLowerPointKeys, state);
    ReadBraceGroup(result, chevron, kLowerLineKeys, state);
    ReadBraceGroup(result, chevron, kUpperLineKeys, state);

    ReadCheckRatiosInto(result, family, state);

    // Group 10: the middle gusset, which takes the right brace's plate sizes.
    if (chevron) {
        ReadSet(Top(result), kMiddlePointKeys, state.BraceValues, nullptr);
        std::map<std::string, float>& middle = state.SideValues["MIDDLE"];
        ReadSet(Top(result), kMiddleSizeKeys, state.BraceValues, &middle);
        middle["t_g"] = state.BraceValues.t_g;
        middle["tsf_mid"] = state.BraceValues.t_sf;
        middle["Tb_mid"] = Number(Top(result), "Tb_mid");
    }
}

namespace {

TResultState ResultStateOf(const DOVEREForm& f) {
    TResultState s;
    s.ReportPaths = f.ReportPaths;
    s.CoreType = f.CoreType;
    s.CasingType = f.CasingType;
    s.FrameValues = f.FrameValues;
    s.BraceValues = f.BraceValues;
    s.BoltedValues = f.BoltedValues;
    // The side tables start afresh with each result.
    s.BeamRatios = f.BeamRatios;
    s.QFactor = f.QFactor;
    s.AlphaL = f.AlphaL;
    return s;
}

void Commit(DOVEREForm& f, TResultState&& s) {
    f.ReportPaths = std::move(s.ReportPaths);
    f.CoreType = std::move(s.CoreType);
    f.CasingType = std::move(s.CasingType);
    f.FrameValues = s.FrameValues;
    f.BraceValues = s.BraceValues;
    f.BoltedValues = s.BoltedValues;
    f.SideValues = std::move(s.SideValues);
    f.SideTexts = std::move(s.SideTexts);
    f.BeamRatios = s.BeamRatios;
    f.QFactor = s.QFactor;
    f.AlphaL = s.AlphaL;
    f.GaugeValues = std::move(s.GaugeValues);
}

}  // namespace

bool DOVEREForm::ReadRunResult() {
    jsonxx::Object parsed;
    TResultState state = ResultStateOf(*this);
    const TResultFamily family{CfgText, CtypeText, RadioGroup_DCR->ItemIndex()};
    bool complete = false;
    std::string missing;
    if (ParseResultText(ReplyText, parsed)) {
        try {
            ReadResultInto(parsed, family, state);
            // The check tables show it after every fill.
            (void)ResultNumber(parsed, "K_eff", nullptr);
            // Without these the check grid and the BRB grid write nothing and would
            // go on showing the last result's values beside this one.
            (void)ResultNumber(parsed, "DCR_1", nullptr);
            (void)ResultNumber(parsed, "P_y", nullptr);
            CheckShownNumbers(parsed, family, WorkbookRowRunning);
            complete = true;
        } catch (const jsonxx::MissingKey& e) {
            missing = e.Describe("Result key");
        } catch (const ResultNumberOutOfRange& e) {
            missing = e.Describe();
        }
    }
    if (!complete) {
        // The previous result stays whole; the run goes on as after a failed send.
        Application->ShowException(Exception(ResultFailureMessage(parsed, missing)));
        return false;
    }
    ResultObject = std::move(parsed);
    Commit(*this, std::move(state));
    HaveResult = true;
    ResultCfgText = family.CfgText;
    ResultCtypeText = family.CtypeText;
    UpdateDcrGauges();
    // The fill knows it shows the run's own result, also if it throws.
    ReadingRunResult = true;
    struct Reading {
        bool& flag;
        ~Reading() { flag = false; }
    } reading{ReadingRunResult};
    ShowCheckTables();
    return true;
}
