// The check ratio reader: per-side checks of a Chevron bay, beam ratios and the
// stiffness factors of a Diagonal bay, and the ratios of the gauge row.
#include "app/DOVEREFORM.h"
#include "core/result_reader.h"

namespace {

using SuffixList = std::initializer_list<const char*>;

constexpr SuffixList kWeldedBraceChecks = {"1",         "2",         "3_up",      "3_down",    "4",
                                           "5_up",      "5_down",    "6_up",      "6_down",    "7_down_c1",
                                           "7_down_c2", "7_down_c3", "7_down_c4", "7_down_c5", "7_down_c6"};
constexpr SuffixList kWeldedMiddleChecks = {"7_mg_c1", "7_mg_c2", "7_mg_c3"};
constexpr SuffixList kBoltedBraceChecks = {
    "1",       "2",       "3",          "4",          "5",          "6_up",       "6_down",
    "7",       "8",       "9",          "10_up",      "10_down",    "11_up",      "11_down",
    "12_down_c1", "12_down_c2", "12_down_c3", "12_down_c4", "12_down_c5", "12_down_c6"};
constexpr SuffixList kBoltedMiddleChecks = {"12_mg_c1", "12_mg_c2", "12_mg_c3"};
constexpr int kDiagonalGaugeCount = 21;

// `side` names the side object `from` is, nullptr for the top level.
void ReadChecks(const jsonxx::Object& from, const char* side, const char* prefix, SuffixList suffixes,
                std::map<std::string, float>& into) {
    for (const char* s : suffixes) {
        const std::string key = std::string(prefix) + s;
        into[key] = ResultNumber(from, key, side);
    }
}

}  // namespace

void ReadCheckRatiosInto(const jsonxx::Object& result, const TResultFamily& family, TResultState& state) {
    const bool chevron = family.CfgText == "Chevron";
    const bool bolted = family.CtypeText == "Bolted";
    if (!chevron || (!bolted && family.CtypeText != "Welded")) {
        state.QFactor = ResultNumber(result, "Q_factor", nullptr);
        state.AlphaL = ResultNumber(result, "Alpha_L", nullptr);
        state.BeamRatios.Upper = ResultNumber(result, "U_Beam_Ratio", nullptr);
        state.BeamRatios.Lower = ResultNumber(result, "L_Beam_Ratio", nullptr);
        // The gauge row shows nothing for a Diagonal bay.
        state.GaugeValues.assign(kDiagonalGaugeCount, 0.0f);
        return;
    }
    const SuffixList brace = bolted ? kBoltedBraceChecks : kWeldedBraceChecks;
    const SuffixList middle = bolted ? kBoltedMiddleChecks : kWeldedMiddleChecks;
    for (const char* side : {"LEFT", "RIGHT"}) {
        const jsonxx::Object& from = result.get<jsonxx::Object>(side);
        state.BeamRatios.Upper = ResultNumber(from, "U_Beam_Ratio", side);
        state.BeamRatios.Lower = ResultNumber(from, "L_Beam_Ratio", side);
        std::map<std::string, float>& into = state.SideValues[side];
        ReadChecks(from, side, "DCR_", brace, into);
        ReadChecks(from, side, "Capacity_", brace, into);
        ReadChecks(from, side, "Demand_", brace, into);
    }
    std::map<std::string, float>& mid = state.SideValues["MIDDLE"];
    ReadChecks(result, nullptr, "DCR_", middle, mid);
    ReadChecks(result, nullptr, "Demand_", middle, mid);
    ReadChecks(result, nullptr, "Capacity_", middle, mid);

    state.GaugeValues.clear();
    if (family.CheckSide == 1) {
        for (const char* s : middle) state.GaugeValues.push_back(mid[std::string("DCR_") + s]);
        return;
    }
    std::map<std::string, float>& side = state.SideValues[family.CheckSide == 0 ? "LEFT" : "RIGHT"];
    for (const char* s : brace) state.GaugeValues.push_back(side[std::string("DCR_") + s]);
}

void DOVEREForm::ReadCheckRatios() {
    // A result of another bay has no ratios for this one.
    if (!ResultFitsBay()) return;
    TResultState state;
    state.SideValues = SideValues;
    state.BeamRatios = BeamRatios;
    state.QFactor = QFactor;
    state.AlphaL = AlphaL;
    state.GaugeValues = GaugeValues;
    try {
        ReadCheckRatiosInto(ResultObject, {CfgText, CtypeText, RadioGroup_DCR->ItemIndex()}, state);
    } catch (const jsonxx::MissingKey&) {
        // The tables and gauges keep describing what they did.
        return;
    } catch (const ResultNumberOutOfRange&) {
        return;
    }
    SideValues = std::move(state.SideValues);
    BeamRatios = state.BeamRatios;
    QFactor = state.QFactor;
    AlphaL = state.AlphaL;
    GaugeValues = std::move(state.GaugeValues);
}
