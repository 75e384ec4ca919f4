#include "results/brb_views.h"

#include <cmath>

#include "platform/text/number_text.h"

namespace {

using F = TBrbForm;

const TBrbView kSummary{30, 70, 105,
                        {
                            {"Py", "P_y", F::Number, F::Number},
                            {"Pmax", "P_max", F::Number, F::Number},
                            {"Keff", "K_eff", F::Number, F::Number},
                            {"Q", "Q_factor", F::Picture, F::Picture, "0.00"},
                            {"\u03b1", "Alpha_L", F::Picture, F::Picture, "0.00"},
                            {"\u03b8y", "Theda_y", F::Picture, F::Picture, "0.####"},
                            {"Lwp", "L_wp", F::Picture, F::Picture, "0"},
                            {"L_BRB", "L_brb", F::Number, F::Number},
                            {"Le,lower", "Le_lower", F::Picture, F::Picture, "0"},
                            {"Le,upper", "Le_upper", F::Picture, F::Picture, "0"},
                            {"Casing", "Steel_Casing_Size", F::Text, F::Text},
                        }};

const TBrbView kCore{19, 95, 75,
                     {
                         {"Core", "", F::Empty, F::Empty},
                         {"        Lc", "L_c", F::Number, F::Number},
                         {"        tc", "t_c", F::Number, F::Number},
                         {"        Bc", "B_c", F::Number, F::Number},
                         {"        Dc", "D_c", F::Number, F::Number},
                         {"        Ac", "A_c", F::Number, F::Number},
                         {"Transition", "", F::Empty, F::Empty},
                         {"        Lt", "L_t", F::Number, F::Number},
                         {"        At", "A_t", F::Whole, F::Number},
                         {"Joint", "", F::Empty, F::Empty},
                         {"        Lj", "L_j", F::Number, F::Number},
                         {"        Lx", "L_x", F::Number, F::Number},
                         {"        Ln", "L_n", F::Number, F::Number},
                         {"        Lw", "L_w", F::Number, F::Number},
                         {"        Tw", "T_w", F::Number, F::Number},
                         {"        tj", "t_j", F::Number, F::Number},
                         {"        Bj", "B_j", F::Whole, F::Number},
                         {"        Dj", "D_j", F::Whole, F::Number},
                         {"        Aj", "A_j", F::Whole, F::Number},
                         {"End Slot", "", F::Empty, F::Empty},
                         {"        Ls", "L_s", F::Number, F::Number},
                         {"        tg,s", "t_g_s", F::Number, F::Number},
                     }};

const TBrbView kCasing{30, 60, 110,
                       {
                           {"Type", "Steel_Casing_Size", F::Text, F::Text},
                           {"Product", "Steel_Casing_Source", F::Text, F::Text},
                           {"Dt,req", "D_t_required", F::Number, F::Number},
                           {"Dt", "D_t", F::Number, F::Number},
                           {"t", "t", F::Number, F::Number},
                           {"Isc,req", "I_sc_required", F::Picture, F::Picture, "0.00E+00"},
                           {"Isc", "I_sc_designed", F::Picture, F::Picture, "0.00E+00"},
                           {"Lsc", "L_sc", F::Number, F::Number},
                       }};

// The plate rows of one end; the Diagonal tables weld with CJP from 20 mm on.
std::vector<TBrbRow> PlateRows(const char* heading, const char* prefix, TBrbForm weld) {
    auto key = [&](const char* name) { return std::string(prefix) + name; };
    return {
        {heading, "", F::Empty, F::Empty},
        {"    tg", "t_g", F::Number, F::Number},
        {"    Lh", key("L_h"), F::Number, F::Number},
        {"    Tb", key("T_b"), weld, F::Number},
        {"    Lv", key("L_v"), F::Number, F::Number},
        {"    Tc", key("T_c"), weld, F::Number},
        {"    tsf", "t_sf", F::Number, F::Number},
        {"    Lsf,h", key("L_sf_h"), F::Number, F::Number},
        {"    Lsf,v", key("L_sf_v"), F::Number, F::Number},
    };
}

TBrbView GussetView(std::vector<TBrbRow> rows) { return TBrbView{22, 80, 90, std::move(rows)}; }

const TBrbView& DiagonalGusset() {
    static const TBrbView view = [] {
        std::vector<TBrbRow> rows = PlateRows("Lower", "down_", F::NumberOrCjp);
        const std::vector<TBrbRow> upper = PlateRows("Upper", "up_", F::NumberOrCjp);
        rows.insert(rows.end(), upper.begin(), upper.end());
        return GussetView(std::move(rows));
    }();
    return view;
}

const TBrbView& SideGusset(bool left) {
    // Both braces read the lower plate's keys of their own side.
    static const TBrbView left_view = GussetView(PlateRows("Left", "down_", F::Number));
    static const TBrbView right_view = GussetView(PlateRows("Right", "down_", F::Number));
    return left ? left_view : right_view;
}

const TBrbView kMiddleGusset = GussetView({
    {"Middle", "", F::Empty, F::Empty},
    {"    tg", "t_g", F::Number, F::Number},
    {"    Lh,mid", "Lh_mid", F::Number, F::Number},
    {"    Lv,mid", "Lv_mid", F::Number, F::Number},
    {"    Tb,mid", "Tb_mid", F::MiddleTb, F::MiddleTb},
    {"    Lsf,mid", "Lsf_mid", F::MiddleLsf, F::MiddleLsf},
    {"    tsf,mid", "tsf_mid", F::Number, F::Number},
});

const TBrbView kNoSideGusset = GussetView({});

constexpr double kCjpThickness = 20.0;
const char* const kMissing = "?";

}  // namespace

const TBrbView& BrbView(TBrbTable table) {
    switch (table) {
        case TBrbTable::Summary: return kSummary;
        case TBrbTable::Core: return kCore;
        case TBrbTable::Casing: return kCasing;
        case TBrbTable::GussetDiagonal: return DiagonalGusset();
        case TBrbTable::GussetLeft: return SideGusset(true);
        case TBrbTable::GussetMiddle: return kMiddleGusset;
        case TBrbTable::GussetRight: return SideGusset(false);
        case TBrbTable::GussetNoSide: break;
    }
    return kNoSideGusset;
}

std::optional<TBrbTable> BrbLayoutTable(int view_index, bool chevron, int side_index) {
    switch (view_index) {
        case 0: return TBrbTable::Summary;
        case 1: return TBrbTable::Core;
        case 2: return TBrbTable::Casing;
        case 3:
            if (!chevron) return TBrbTable::GussetDiagonal;
            switch (side_index) {
                case 0: return TBrbTable::GussetLeft;
                case 1: return TBrbTable::GussetMiddle;
                case 2: return TBrbTable::GussetRight;
                default: return TBrbTable::GussetNoSide;
            }
        default: return std::nullopt;
    }
}

std::optional<TBrbTable> BrbSideFillTable(int view_index, int side_index) {
    if (view_index != 3) return BrbLayoutTable(view_index, true, side_index);
    if (side_index == 1) return TBrbTable::GussetMiddle;
    return side_index == 0 ? TBrbTable::GussetLeft : TBrbTable::GussetRight;
}

const char* BrbFillSide(TBrbTable table, int side_index) {
    switch (table) {
        case TBrbTable::GussetMiddle: return "MIDDLE";
        case TBrbTable::GussetLeft: return "LEFT";
        case TBrbTable::GussetRight: return "RIGHT";
        default: return side_index == 0 ? "LEFT" : "RIGHT";
    }
}

std::vector<std::string> BrbTopLevelNumberKeys(TCheckFamily bay) {
    std::vector<std::string> keys;
    if (bay == TCheckFamily::ChevronWelded) return keys;
    const int last_view = IsChevron(bay) ? 2 : 3;
    for (int view = 0; view <= last_view; ++view) {
        for (const TBrbRow& row : BrbView(*BrbLayoutTable(view, false, 0)).Rows) {
            if (row.Form == F::Empty || row.Form == F::Text || row.Key.empty()) continue;
            keys.push_back(row.Key);
            if (row.Form == F::NumberOrCjp) keys.push_back("t_g");
        }
    }
    return keys;
}

TBrbSource BrbTopLevelSource(const jsonxx::Object& result) {
    return {[&result](const std::string& key) -> std::optional<double> {
                if (!result.has<double>(key)) return std::nullopt;
                return result.get<double>(key);
            },
            [&result](const std::string& key) -> std::optional<std::string> {
                if (!result.has<std::string>(key)) return std::nullopt;
                return result.get<std::string>(key);
            }};
}

TBrbSource BrbSideSource(const SideValueTable& values, const SideTextTable& texts, const std::string& side) {
    return {[&values, side](const std::string& key) -> std::optional<double> {
                if (const float* v = FindSideEntry(values, side, key)) return *v;
                return std::nullopt;
            },
            [&texts, side](const std::string& key) -> std::optional<std::string> {
                if (const std::string* t = FindSideEntry(texts, side, key)) return *t;
                return std::nullopt;
            }};
}

std::vector<std::string> BrbValueTexts(TBrbTable table, bool side_forms, const TBrbSource& source,
                                       const TOutputFormats& formats) {
    const auto number_text = [&](double v) { return FormatOutputNumberWith(formats, static_cast<float>(v)); };
    const auto value_text = [&](const TBrbRow& row) -> std::string {
        const TBrbForm form = side_forms ? row.SideForm : row.Form;
        if (form == F::Empty || row.Key.empty()) return "";
        if (form == F::Text) return source.Text(row.Key).value_or(kMissing);
        const std::optional<double> v = source.Number(row.Key);
        if (!v) return kMissing;
        switch (form) {
            case F::Number: return number_text(*v);
            case F::Whole: return number_text(std::trunc(*v));
            case F::Picture: return FormatByPicture(row.Picture, *v);
            case F::NumberOrCjp:
            case F::MiddleTb: {
                const std::optional<double> tg = source.Number("t_g");
                if (!tg) return kMissing;
                return *tg < kCjpThickness ? number_text(*v) : "CJP";
            }
            case F::MiddleLsf: {
                const std::optional<double> lv = source.Number("Lv_mid");
                if (!lv) return kMissing;
                // Compared as the side table stores them, in single precision.
                return static_cast<float>(*v) >= 0.5f * static_cast<float>(*lv) ? number_text(*v) : "0";
            }
            default: return "";
        }
    };
    std::vector<std::string> texts;
    for (const TBrbRow& row : BrbView(table).Rows) texts.push_back(value_text(row));
    return texts;
}
