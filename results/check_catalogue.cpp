// The check catalogues and the rules of the check tables.
#include "results/check_catalogue.h"

#include <array>

#include "platform/text/number_text.h"

namespace {

constexpr TCheckUnit kMm4 = TCheckUnit::SecondMoment;
constexpr TCheckUnit kForce = TCheckUnit::Force;
constexpr TCheckUnit kStress = TCheckUnit::Stress;

// The connection checks' texts; the dash is an en dash, straight before the line feed.
constexpr const char* kToBeam = "Gusset\u2013\nto-Beam";
constexpr const char* kToColumn = "Gusset\u2013\nto-Column";
constexpr const char* kVonMises = "von Mises \nYield Criterion";
constexpr const char* kTensile = "Tensile \nRupture";
constexpr const char* kShear = "Shear \nRupture";
constexpr const char* kGussetStrength = "Gusset Strength \nat the \nConnection \nto \nColumn or Beam";
constexpr const char* kMiddleStrength = "Gusset Strength \nat the \nConnection \nto \nBeam";
constexpr const char* kForcePicture = "0.#";
constexpr const char* kStressPicture = "0.####";
constexpr const char* kCasingPicture = "0.00E+00";

constexpr const char* kCasingBuckling = "Steel Casing \nBuckling";
constexpr const char* kCoreYielding = "Joint Region \nof \nSteel Core \nYielding";
constexpr const char* kCoreBuckling = "Joint Region \nof \nSteel Core \nBuckling";
constexpr const char* kGussetYielding = "Gusset Plate \nYielding";
constexpr const char* kGussetBuckling = "Gusset Plate \nBuckling";

// A check that shows one symbol in both views.
constexpr TCheckEntry Check(int place, const char* symbol, const char* limit_state, const char* part,
                            TCheckUnit unit, const char* picture, const char* suffix) {
    return {place, symbol, symbol, limit_state, part, nullptr, nullptr, unit, picture, suffix};
}

constexpr TCheckEntry Connection(int place, const char* symbol, const char* part, const char* connection,
                                 const char* item, const char* suffix) {
    return {place, symbol, symbol, kGussetStrength, part, connection, item, kStress, kStressPicture, suffix};
}

constexpr TCheckEntry Middle(int place, const char* symbol, const char* detail_symbol, const char* item,
                             const char* suffix) {
    return {place, symbol, detail_symbol, kMiddleStrength, "Middle", kToBeam, item, kStress, kStressPicture, suffix};
}

constexpr std::array<TCheckEntry, 21> kWelded = {{
    Check(1, "DCR-1", kCasingBuckling, nullptr, kMm4, kCasingPicture, "1"),
    Check(2, "DCR-2", kCoreYielding, nullptr, kForce, kForcePicture, "2"),
    Check(3, "DCR-3-Upper", kCoreBuckling, "Upper", kForce, kForcePicture, "3_up"),
    Check(4, "DCR-3-Lower", kCoreBuckling, "Lower", kForce, kForcePicture, "3_down"),
    Check(5, "DCR-4", "Gusset \nBlock Shear", nullptr, kForce, kForcePicture, "4"),
    Check(6, "DCR-5-Upper", kGussetYielding, "Upper", kForce, kForcePicture, "5_up"),
    Check(7, "DCR-5-Lower", kGussetYielding, "Lower", kForce, kForcePicture, "5_down"),
    Check(8, "DCR-6-Upper", kGussetBuckling, "Upper", kForce, kForcePicture, "6_up"),
    Check(9, "DCR-6-Lower", kGussetBuckling, "Lower", kForce, kForcePicture, "6_down"),
    Connection(10, "DCR-7-1-Upper", "Upper", kToBeam, kVonMises, "7_up_c1"),
    Connection(11, "DCR-7-2-Upper", "Upper", kToBeam, kTensile, "7_up_c2"),
    Connection(12, "DCR-7-3-Upper", "Upper", kToBeam, kShear, "7_up_c3"),
    Connection(13, "DCR-7-4-Upper", "Upper", kToColumn, kVonMises, "7_up_c4"),
    Connection(14, "DCR-7-5-Upper", "Upper", kToColumn, kTensile, "7_up_c5"),
    Connection(15, "DCR-7-6-Upper", "Upper", kToColumn, kShear, "7_up_c6"),
    Connection(16, "DCR-7-1-Lower", "Lower", kToBeam, kVonMises, "7_down_c1"),
    Connection(17, "DCR-7-2-Lower", "Lower", kToBeam, kTensile, "7_down_c2"),
    Connection(18, "DCR-7-3-Lower", "Lower", kToBeam, kShear, "7_down_c3"),
    Connection(19, "DCR-7-4-Lower", "Lower", kToColumn, kVonMises, "7_down_c4"),
    Connection(20, "DCR-7-5-Lower", "Lower", kToColumn, kTensile, "7_down_c5"),
    Connection(21, "DCR-7-6-Lower", "Lower", kToColumn, kShear, "7_down_c6"),
}};

constexpr std::array<TCheckEntry, 15> kChevronWeldedSide = {{
    kWelded[0], kWelded[1], kWelded[2], kWelded[3], kWelded[4], kWelded[5], kWelded[6], kWelded[7],
    kWelded[8], kWelded[15], kWelded[16], kWelded[17], kWelded[18], kWelded[19], kWelded[20],
}};

constexpr std::array<TCheckEntry, 26> kBolted = {{
    Check(1, "DCR-1", kCasingBuckling, nullptr, kMm4, kCasingPicture, "1"),
    Check(2, "DCR-2", "Shear \nStrength \nof Bolts", nullptr, kForce, kForcePicture, "2"),
    Check(3, "DCR-3", "Bearing \nStrength \nat BRB End \nBolt Hole", nullptr, kForce, kForcePicture, "3"),
    Check(4, "DCR-4", kCoreYielding, nullptr, kForce, kForcePicture, "4"),
    Check(5, "DCR-5", "Joint Region \nTensile \nRupture", nullptr, kForce, kForcePicture, "5"),
    Check(6, "DCR-6-Upper", kCoreBuckling, "Upper", kForce, kForcePicture, "6_up"),
    Check(7, "DCR-6-Lower", kCoreBuckling, "Lower", kForce, kForcePicture, "6_down"),
    Check(8, "DCR-7", "Joint \nRegion \nBlock \nShear Failure", nullptr, kForce, kForcePicture, "7"),
    Check(9, "DCR-8", "Bearing \nStrength \nat Gusset \nBolt Hole", nullptr, kForce, kForcePicture, "8"),
    Check(10, "DCR-9", "Gusset Plate \nBlock Shear \nFailure", nullptr, kForce, kForcePicture, "9"),
    Check(11, "DCR-10-Upper", kGussetYielding, "Upper", kForce, kForcePicture, "10_up"),
    Check(12, "DCR-10-Lower", kGussetYielding, "Lower", kForce, kForcePicture, "10_down"),
    Check(13, "DCR-11-Upper", kGussetBuckling, "Upper", kForce, kForcePicture, "11_up"),
    Check(14, "DCR-11-Lower", kGussetBuckling, "Lower", kForce, kForcePicture, "11_down"),
    Connection(15, "DCR-12-1-Upper", "Upper", kToBeam, kVonMises, "12_up_c1"),
    Connection(16, "DCR-12-2-Upper", "Upper", kToBeam, kTensile, "12_up_c2"),
    Connection(17, "DCR-12-3-Upper", "Upper", kToBeam, kShear, "12_up_c3"),
    Connection(18, "DCR-12-4-Upper", "Upper", kToColumn, kVonMises, "12_up_c4"),
    Connection(19, "DCR-12-5-Upper", "Upper", kToColumn, kTensile, "12_up_c5"),
    Connection(20, "DCR-12-6-Upper", "Upper", kToColumn, kShear, "12_up_c6"),
    Connection(21, "DCR-12-1-Lower", "Lower", kToBeam, kVonMises, "12_down_c1"),
    Connection(22, "DCR-12-2-Lower", "Lower", kToBeam, kTensile, "12_down_c2"),
    Connection(23, "DCR-12-3-Lower", "Lower", kToBeam, kShear, "12_down_c3"),
    Connection(24, "DCR-12-4-Lower", "Lower", kToColumn, kVonMises, "12_down_c4"),
    Connection(25, "DCR-12-5-Lower", "Lower", kToColumn, kTensile, "12_down_c5"),
    Connection(26, "DCR-12-6-Lower", "Lower", kToColumn, kShear, "12_down_c6"),
}};

constexpr std::array<TCheckEntry, 26> ChevronBoltedSide() {
    std::array<TCheckEntry, 26> side = kBolted;
    for (std::size_t i = 14; i < 20; ++i) side[i].InResult = false;
    return side;
}
constexpr std::array<TCheckEntry, 26> kChevronBoltedSide = ChevronBoltedSide();

constexpr std::array<TCheckEntry, 3> kWeldedMiddle = {{
    Middle(1, "DCR-7-1", "DCR-7-1-Middle", kVonMises, "7_mg_c1"),
    Middle(2, "DCR-7-2", "DCR-7-2-Middle", kTensile, "7_mg_c2"),
    Middle(3, "DCR-7-3", "DCR-7-3-Middle", kShear, "7_mg_c3"),
}};

constexpr std::array<TCheckEntry, 3> kBoltedMiddle = {{
    Middle(1, "DCR-12-1", "DCR-12-1-Middle", kVonMises, "12_mg_c1"),
    Middle(2, "DCR-12-2", "DCR-12-2-Middle", kTensile, "12_mg_c2"),
    Middle(3, "DCR-12-3", "DCR-12-3-Middle", kShear, "12_mg_c3"),
}};

}  // namespace

CheckCatalogue WeldedCheckCatalogue() { return kWelded; }
CheckCatalogue BoltedCheckCatalogue() { return kBolted; }
CheckCatalogue ChevronBoltedSideCatalogue() { return kChevronBoltedSide; }
CheckCatalogue ChevronWeldedSideCatalogue() { return kChevronWeldedSide; }
CheckCatalogue WeldedMiddleCatalogue() { return kWeldedMiddle; }
CheckCatalogue BoltedMiddleCatalogue() { return kBoltedMiddle; }

std::string RatioKey(const TCheckEntry& check) { return std::string("DCR_") + check.Suffix; }
std::string DemandKey(const TCheckEntry& check) { return std::string("Demand_") + check.Suffix; }
std::string CapacityKey(const TCheckEntry& check) { return std::string("Capacity_") + check.Suffix; }

bool CheckFails(double ratio) { return ratio >= 1.0; }

std::string CheckRatioText(double ratio) {
    std::string text = FormatByPicture("0.0000", ratio);
    if (text.size() > 4) text.resize(4);
    // The cut can round a passing ratio up to the limit; never show a pass as 1.00.
    if (!CheckFails(ratio) && text == FormatByPicture("0.00", 1.0)) text = FormatByPicture("0.00", 0.99);
    return text;
}

std::string CheckUnitText(TCheckUnit unit, const TUnitLabels& labels) {
    switch (unit) {
        case TCheckUnit::SecondMoment: return "mm^4";
        case TCheckUnit::Force: return labels.Force;
        case TCheckUnit::Stress: return labels.Stress;
    }
    return {};
}

TCheckValues SideCheckValues(const SideValueTable& table, const std::string& side) {
    // Reads without inserting: the side table stays as the result reader left it.
    return [&table, side](const std::string& key) -> std::optional<double> {
        if (const float* v = FindSideEntry(table, side, key)) return static_cast<double>(*v);
        return std::nullopt;
    };
}

std::vector<TCheckListRow> CheckListRows(CheckCatalogue checks, const TCheckValues& values) {
    std::vector<TCheckListRow> rows;
    rows.reserve(checks.size());
    for (const TCheckEntry& check : checks) {
        if (!check.InResult) {
            rows.push_back({check.Symbol, kNotComputedText, ""});
            continue;
        }
        const std::optional<double> ratio = values(RatioKey(check));
        if (!ratio)
            rows.push_back({check.Symbol, kMissingNumberText, kMissingRatioMark});
        else
            rows.push_back({check.Symbol, CheckRatioText(*ratio), CheckFails(*ratio) ? kCheckFailMark : ""});
    }
    return rows;
}

std::vector<std::string> CheckDetailCells(const TCheckEntry& check, const TUnitLabels& labels,
                                          const TCheckValues& values) {
    std::vector<std::string> cells = {check.DetailSymbol, check.LimitState};
    if (check.Part) cells.push_back(check.Part);
    if (check.Connection) {
        cells.push_back(check.Connection);
        cells.push_back(check.Item);
    }
    cells.push_back(CheckUnitText(check.Unit, labels));
    if (!check.InResult) {
        cells.insert(cells.end(), 4, kNotComputedText);
        return cells;
    }
    const auto number = [&](const std::string& key) -> std::string {
        const std::optional<double> v = values(key);
        return v ? FormatByPicture(check.Picture, *v) : kMissingNumberText;
    };
    cells.push_back(number(DemandKey(check)));
    cells.push_back(number(CapacityKey(check)));
    const std::optional<double> ratio = values(RatioKey(check));
    cells.push_back(ratio ? CheckRatioText(*ratio) : kMissingNumberText);
    cells.push_back(!ratio ? kMissingNumberText : CheckFails(*ratio) ? "NG" : "OK");
    return cells;
}

int CountFailingChecks(CheckCatalogue checks, const TCheckValues& values) {
    int failed = 0;
    for (const TCheckEntry& check : checks) {
        if (!check.InResult) continue;
        const std::optional<double> ratio = values(RatioKey(check));
        if (!ratio || CheckFails(*ratio)) ++failed;
    }
    return failed;
}

int CountFailedBayChecks(const SideValueTable& table, CheckCatalogue side_checks, CheckCatalogue middle_checks) {
    return CountFailingChecks(side_checks, SideCheckValues(table, "LEFT")) +
           CountFailingChecks(side_checks, SideCheckValues(table, "RIGHT")) +
           CountFailingChecks(middle_checks, SideCheckValues(table, "MIDDLE"));
}
