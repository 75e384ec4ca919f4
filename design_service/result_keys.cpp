#include "design_service/result_keys.h"

#include <set>

namespace zorv_service {
namespace {

std::vector<std::string> Numbered(const std::string& stem, int from, int to) {
    std::vector<std::string> out;
    for (int i = from; i <= to; ++i) out.push_back(stem + std::to_string(i));
    return out;
}

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> out;
    for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

void Add(std::vector<KeySpec>& out, KeyType type, std::initializer_list<const char*> keys) {
    for (const char* key : keys) out.push_back({key, type});
}

// The Be points of one plate end ("up" or "dw").
void AddBePoints(std::vector<KeySpec>& out, const std::string& be) {
    for (int i = 1; i <= 6; ++i) {
        out.push_back({"Be_" + be + "_x" + std::to_string(i), KeyType::kNumber});
        out.push_back({"Be_" + be + "_y" + std::to_string(i), KeyType::kNumber});
    }
    for (const char* f : {"fx1", "fy1", "fx2", "fy2"}) out.push_back({"Be_" + be + "_" + f, KeyType::kNumber});
}

void AddBucklingLines(std::vector<KeySpec>& out, const std::string& end) {
    for (int line = 1; line <= 3; ++line)
        for (const char* c : {"x0", "y0", "x1", "y1"})
            out.push_back({"L_" + std::to_string(line) + "_" + end + "_" + c, KeyType::kNumber});
}

void AddChecks(std::vector<KeySpec>& out, const std::vector<std::string>& suffixes) {
    for (const char* prefix : {"DCR_", "Demand_", "Capacity_"})
        for (const std::string& s : suffixes) out.push_back({prefix + s, KeyType::kNumber});
}

}  // namespace

Family FamilyOf(bool chevron, bool bolted) {
    if (chevron) return bolted ? Family::kChevronBolted : Family::kChevronWelded;
    return bolted ? Family::kDiagonalBolted : Family::kDiagonalWelded;
}

const char* FamilyName(Family f) {
    switch (f) {
        case Family::kDiagonalWelded: return "Diagonal Welded";
        case Family::kDiagonalBolted: return "Diagonal Bolted";
        case Family::kChevronWelded: return "Chevron Welded";
        case Family::kChevronBolted: return "Chevron Bolted";
    }
    return "?";
}

const std::vector<std::string>& BraceCheckSuffixes(Family f) {
    static const std::vector<std::string> diagonal_welded =
        Join({{"1", "2", "3_up", "3_down", "4", "5_up", "5_down", "6_up", "6_down"},
              Numbered("7_up_c", 1, 6), Numbered("7_down_c", 1, 6)});
    static const std::vector<std::string> chevron_welded =
        Join({{"1", "2", "3_up", "3_down", "4", "5_up", "5_down", "6_up", "6_down"}, Numbered("7_down_c", 1, 6)});
    static const std::vector<std::string> bolted_head = {"1", "2", "3", "4", "5", "6_up", "6_down", "7",
                                                         "8", "9", "10_up", "10_down", "11_up", "11_down"};
    static const std::vector<std::string> diagonal_bolted =
        Join({bolted_head, Numbered("12_up_c", 1, 6), Numbered("12_down_c", 1, 6)});
    static const std::vector<std::string> chevron_bolted = Join({bolted_head, Numbered("12_down_c", 1, 6)});
    switch (f) {
        case Family::kDiagonalWelded: return diagonal_welded;
        case Family::kDiagonalBolted: return diagonal_bolted;
        case Family::kChevronWelded: return chevron_welded;
        case Family::kChevronBolted: return chevron_bolted;
    }
    return diagonal_welded;
}

const std::vector<std::string>& MiddleCheckSuffixes(Family f) {
    static const std::vector<std::string> none;
    static const std::vector<std::string> welded = Numbered("7_mg_c", 1, 3);
    static const std::vector<std::string> bolted = Numbered("12_mg_c", 1, 3);
    if (!IsChevron(f)) return none;
    return IsBolted(f) ? bolted : welded;
}

std::vector<KeySpec> BraceKeys(Family f) {
    std::vector<KeySpec> out;
    // Frame of the brace and its type texts.
    Add(out, KeyType::kNumber, {"d_c_left", "d_c_right", "H_col", "L_beam"});
    Add(out, KeyType::kText, {"WES_Type", "Steel_Casing_Size", "Steel_Casing_Source", "STEEL_CASING_Type"});
    // Gusset plates: lower, then upper (for a Chevron bay the brace's half of the middle plate).
    Add(out, KeyType::kNumber,
        {"down_L_v", "down_L_h", "Gusset_Plate_down_x1", "Gusset_Plate_down_y1", "Gusset_Plate_down_x2",
         "Gusset_Plate_down_y2", "up_L_v", "up_L_h", "Gusset_Plate_up_x1", "Gusset_Plate_up_y1",
         "Gusset_Plate_up_x2", "Gusset_Plate_up_y2", "t_sf", "Le_upper", "Le_lower"});
    // Brace geometry, core, transition, joint and end slot.
    Add(out, KeyType::kNumber,
        {"tan_phi", "L_wp", "L_brb", "L_c", "L_t", "L_x", "L_n", "L_w", "L_j", "Shrink_Ratio_DOWN",
         "Shrink_Ratio_UP", "P_y", "A_c", "A_j", "A_t", "B_c", "B_j", "D_c", "D_j", "t_c", "t_j", "t_g", "t_g_s"});
    // Further brace values, stiffeners and welds of both plates.
    Add(out, KeyType::kNumber,
        {"P_max", "K_eff", "Q_factor", "Alpha_L", "Theda_y", "K_eff_h", "I_sc_required", "I_sc_designed",
         "down_L_sf_h", "down_L_sf_v", "down_T_b", "down_T_c", "up_L_sf_h", "up_L_sf_v", "up_T_b", "up_T_c",
         "L_s", "T_w"});
    if (IsBolted(f))
        Add(out, KeyType::kNumber, {"Bolted_Lbs", "Bolted_Wbs", "Bolted_et", "Bolted_el", "Bolted_s", "Bolted_n"});
    // Casing.
    Add(out, KeyType::kNumber, {"t", "D_t", "L_sc", "D_t_required"});
    // Drawing coordinates.
    AddBePoints(out, "up");
    AddBePoints(out, "dw");
    AddBucklingLines(out, "down");
    AddBucklingLines(out, "up");
    // Beam ratios, quantities of the workbook.
    Add(out, KeyType::kNumber,
        {"U_Beam_Ratio", "L_Beam_Ratio", "Core_Self_Volume", "Core_Self_Weight", "Casing_Self_Volume",
         "Casing_Self_Weight", "Motar_Self_Volume", "Motar_Self_Weight", "Gusset_UP_Area", "Gusset_UP_Volume",
         "Gusset_UP_Weight", "Gusset_DOWN_Area", "Gusset_DOWN_Volume", "Gusset_DOWN_Weight", "Total_Weight"});
    AddChecks(out, BraceCheckSuffixes(f));
    return out;
}

std::vector<KeySpec> TopLevelKeys(Family f) {
    std::vector<KeySpec> out;
    Add(out, KeyType::kText, {"SAVE_ZORV_FILE_PATH", "SAVE_ZORV_XLS_PATH", "SAVE_ZORV_DXF_PATH", "WES_Type",
                              "STEEL_CASING_Type"});
    Add(out, KeyType::kNumber,
        {"d_b_up", "d_b_down", "col_left_gap_for_L_brb", "col_right_gap_for_L_brb", "beam_up_gap_for_L_brb",
         "beam_down_gap_for_L_brb", "default_thickness_of_slab_for_L_brb", "default_gap_for_gusset_plate"});
    if (IsChevron(f)) {
        Add(out, KeyType::kNumber,
            {"MIDDLE_GUSSET_x1", "MIDDLE_GUSSET_y1", "MIDDLE_GUSSET_x2", "MIDDLE_GUSSET_y2", "MIDDLE_GUSSET_x3",
             "MIDDLE_GUSSET_y3", "MIDDLE_GUSSET_x4", "MIDDLE_GUSSET_y4", "Lh_mid", "Lv_mid", "Lsf_mid", "Tb_mid"});
        AddChecks(out, MiddleCheckSuffixes(f));
    }
    std::set<std::string> seen;
    for (const KeySpec& k : out) seen.insert(k.key);
    for (KeySpec& k : BraceKeys(f))
        if (seen.insert(k.key).second) out.push_back(std::move(k));
    return out;
}

}  // namespace zorv_service
