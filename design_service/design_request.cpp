#include "design_service/design_request.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <nlohmann/json.hpp>

namespace zorv_service {
namespace {

using Json = nlohmann::ordered_json;

struct Grade {
    const char* name;
    const char* code;
};
constexpr Grade kCoreGrades[] = {
    {"CNS_SN400B", "SN400B"}, {"CNS_SN490B", "SN490B"},        {"CNS_SM570", "SM570"},
    {"ASTM_A36", "A36"},      {"ASTM_A572_Gr.50", "A572Gr50"},
};

// Reads one group of the request; the first fault is kept and later reads
// return their defaults, so that a caller can read everything and then look.
class Reader {
public:
    explicit Reader(const Json& root) : root_(root) {}
    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    void Fail(const std::string& message) {
        if (error_.empty()) error_ = message;
    }

    double Number(const char* group, const char* key) {
        const Json* v = Find(group, key, true);
        if (!v) return 0;
        if (!v->is_number()) {
            Fail(Where(group, key) + " is not a number.");
            return 0;
        }
        double x = v->get<double>();
        if (!std::isfinite(x)) Fail(Where(group, key) + " is not a finite number.");
        return std::isfinite(x) ? x : 0;
    }
    // A number that divides or scales: it must be more than 0.
    double Positive(const char* group, const char* key) {
        double x = Number(group, key);
        if (ok() && !(x > 0)) Fail(Where(group, key) + " must be more than 0.");
        return x;
    }
    double OptionalNumber(const char* group, const char* key, double fallback) {
        const Json* v = Find(group, key, false);
        if (!v) return fallback;
        if (!v->is_number() || !std::isfinite(v->get<double>())) {
            Fail(Where(group, key) + " is not a number.");
            return fallback;
        }
        return v->get<double>();
    }
    bool Bool(const char* group, const char* key, bool fallback) {
        const Json* v = Find(group, key, false);
        if (!v) return fallback;
        if (!v->is_boolean()) {
            Fail(Where(group, key) + " is not true or false.");
            return fallback;
        }
        return v->get<bool>();
    }
    bool RequiredBool(const char* group, const char* key) {
        const Json* v = Find(group, key, true);
        if (v && !v->is_boolean()) Fail(Where(group, key) + " is not true or false.");
        return v && v->is_boolean() && v->get<bool>();
    }
    std::string Text(const char* group, const char* key, bool required = true) {
        const Json* v = Find(group, key, required);
        if (!v) return {};
        if (!v->is_string()) {
            Fail(Where(group, key) + " is not a text.");
            return {};
        }
        return v->get<std::string>();
    }

private:
    static std::string Where(const char* group, const char* key) {
        return std::string("\"") + group + "\".\"" + key + "\"";
    }
    const Json* Find(const char* group, const char* key, bool required) {
        auto g = root_.find(group);
        if (g == root_.end() || !g->is_object()) {
            if (required) Fail(std::string("The design request has no object \"") + group + "\".");
            return nullptr;
        }
        auto v = g->find(key);
        if (v == g->end()) {
            if (required) Fail("The design request has no " + Where(group, key) + ".");
            return nullptr;
        }
        return &*v;
    }

    const Json& root_;
    std::string error_;
};

// Keeps a value within what a bay can physically hold, noting any change.
double Clamp(double value, double low, double high, const char* name, std::vector<std::string>& notes) {
    double clamped = std::clamp(value, low, high);
    if (clamped != value) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", clamped);
        notes.push_back(std::string(name) + " taken as " + text + ".");
    }
    return clamped;
}

// "[045]500tonf(tc=40mm)" -> "500tonf(tc=40mm)"; the position is only the client's list place.
std::string ClassNameOf(const std::string& text) {
    if (!text.empty() && text[0] == '[') {
        std::size_t close = text.find(']');
        if (close != std::string::npos) return text.substr(close + 1);
    }
    return text;
}

}  // namespace

std::string CoreGradeCode(const std::string& grade_name) {
    for (const Grade& g : kCoreGrades)
        if (grade_name == g.name) return g.code;
    return {};
}

bool ReadDesignRequest(const std::string& text, DesignRequest& q, std::string& error) {
    Json root = Json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (root.is_discarded() || !root.is_object()) {
        error = "The design request is not a JSON object.";
        return false;
    }
    Reader r(root);
    auto& notes = q.notes;

    const char* ci = "Client_Information";
    std::string cfg = r.Text(ci, "cfg");
    std::string ctype = r.Text(ci, "ctype");
    if (r.ok() && cfg != "Diagonal" && cfg != "Chevron") r.Fail("\"cfg\" must be \"Diagonal\" or \"Chevron\".");
    if (r.ok() && ctype != "Welded" && ctype != "Bolted") r.Fail("\"ctype\" must be \"Welded\" or \"Bolted\".");
    q.chevron = cfg == "Chevron";
    q.bolted = ctype == "Bolted";
    q.client_id = r.Text(ci, "ClientID", false);
    q.project_id = r.Text(ci, "ZORV_Proj_ID", false);
    q.quick_view = r.Bool(ci, "QuickViewMode", true);
    q.print_xls = r.Bool(ci, "Switch_of_Print_to_XLS", false);
    q.print_dxf = r.Bool(ci, "Switch_of_Print_to_DXF", false);

    const char* gi = "General_Information";
    q.units = r.Text(gi, "Units", false);
    if (q.units.empty()) q.units = "tonf-mm";
    if (r.ok() && q.units != "tonf-mm" && q.units != "kN-mm") r.Fail("\"Units\" must be \"tonf-mm\" or \"kN-mm\".");
    q.f_exx = r.Positive(gi, "F_exx");
    q.e = r.Positive(gi, "E");

    const char* fr = "FRAME";
    q.gap_left = Clamp(r.Number(fr, "col_left_gap_for_L_brb"), 0, 2000, "col_left_gap_for_L_brb", notes);
    q.gap_right = Clamp(r.Number(fr, "col_right_gap_for_L_brb"), 0, 2000, "col_right_gap_for_L_brb", notes);
    q.gap_up = Clamp(r.Number(fr, "beam_up_gap_for_L_brb"), 0, 2000, "beam_up_gap_for_L_brb", notes);
    q.gap_down = Clamp(r.Number(fr, "beam_down_gap_for_L_brb"), 0, 2000, "beam_down_gap_for_L_brb", notes);
    q.slab = Clamp(r.Number(fr, "default_thickness_of_slab_for_L_brb"), 0, 1000, "slab thickness", notes);
    q.gusset_gap = Clamp(r.Number(fr, "default_gap_for_gusset_plate"), 0, 300, "default_gap_for_gusset_plate", notes);
    q.h_col = r.Number(fr, "H_col");
    q.l_beam = r.Number(fr, "L_beam");
    if (r.ok() && !(q.h_col >= 500 && q.h_col <= 100000)) r.Fail("\"H_col\" must be between 500 and 100000 mm.");
    if (r.ok() && !(q.l_beam >= 500 && q.l_beam <= 100000)) r.Fail("\"L_beam\" must be between 500 and 100000 mm.");
    q.dc_left = Clamp(r.Number(fr, "d_c_left"), 0, 3000, "d_c_left", notes);
    q.dc_right = Clamp(r.Number(fr, "d_c_right"), 0, 3000, "d_c_right", notes);
    auto beam = [&](const char* d, const char* bw, const char* tw, const char* tf, BeamSection& out) {
        out.d = Clamp(r.Number(fr, d), 0, 3000, d, notes);
        out.bw = Clamp(r.Number(fr, bw), 0, 3000, bw, notes);
        out.tw = Clamp(r.Number(fr, tw), 0, 500, tw, notes);
        out.tf = Clamp(r.Number(fr, tf), 0, 500, tf, notes);
    };
    beam("d_b_up", "b_w_b_up", "b_t_w_up", "b_t_f_up", q.beam_up);
    beam("d_b_down", "b_w_b_down", "b_t_w_down", "b_t_f_down", q.beam_down);
    q.fy_b = std::max(0.0, r.Number(fr, "F_y_b"));
    q.generalized_ufm = r.Bool(fr, "Switch_of_Generalized_UFM", true);

    const char* brb = "BRB";
    q.lbrb_increment = Clamp(r.OptionalNumber(brb, "Lbrb_revised_increment", 10), 1, 500, "Lbrb_revised_increment", notes);
    std::string wes = r.Text(brb, "WES_Type");
    std::string casing = r.Text(brb, "STEEL_CASING_Type");
    if (r.ok() && wes != "Cruciform" && wes != "Flat") r.Fail("\"WES_Type\" must be \"Cruciform\" or \"Flat\".");
    if (r.ok() && casing != "Circular" && casing != "Square")
        r.Fail("\"STEEL_CASING_Type\" must be \"Circular\" or \"Square\".");
    q.cruciform = wes == "Cruciform";
    q.circular = casing == "Circular";
    q.core_grade = r.Text(brb, "Mat_of_steel_core");
    if (r.ok()) {
        q.steel = FindCoreSteel(CoreGradeCode(q.core_grade));
        if (CoreGradeCode(q.core_grade).empty() || !q.steel) r.Fail("Unknown core steel \"" + q.core_grade + "\".");
    }
    q.fy_c = r.Positive(brb, "F_y_c");
    q.ry_c = r.Positive(brb, "R_y_c");
    q.omega_h = r.Positive(brb, "Omega_h");
    q.beta = r.Positive(brb, "Beta_f");
    q.class_text = r.Text(brb, "Type_of_BRB_capacity");
    if (r.ok()) {
        const CoreShape shape = q.cruciform ? CoreShape::kCruciform : CoreShape::kFlat;
        const std::string name = ClassNameOf(q.class_text);
        bool found = false;
        for (const CapacityClass& c : CapacityClasses(shape, q.steel->fy)) {
            if (ClassName(shape, c).substr(5) == name) {
                q.core_class = c;
                found = true;
                break;
            }
        }
        if (!found)
            r.Fail("The capacity class \"" + name + "\" is not in the catalogue of " + q.steel->code +
                   (q.cruciform ? " cruciform" : " flat") + " cores.");
    }
    if (q.bolted) {
        BoltedInput& b = q.bolt;
        b.tc = r.Number(brb, "Bolted_BRB_tc");
        b.bc = r.Number(brb, "Bolted_BRB_Bc");
        b.tj = r.Number(brb, "Bolted_BRB_tj");
        b.et = r.Positive(brb, "Bolted_BRB_et");
        b.el = r.Positive(brb, "Bolted_BRB_el");
        b.s = r.Positive(brb, "Bolted_BRB_s");
        b.g = r.Number(brb, "Bolted_BRB_g");
        b.fy = r.Positive(brb, "Bolted_BRB_Fy");
        b.fu = r.Positive(brb, "Bolted_BRB_Fu");
        b.fnt = r.Number(brb, "Bolted_BRB_Fnt");
        b.fnv = r.Positive(brb, "Bolted_BRB_Fnv");
        b.d = r.Positive(brb, "Bolted_BRB_d");
        b.dh = r.Number(brb, "Bolted_BRB_dh");
        b.fyg = r.Positive(brb, "Bolted_BRB_Fyg");
        b.fug = r.Positive(brb, "Bolted_BRB_Fug");
        b.staggered = r.Bool(brb, "Staggered", true);
        if (r.ok()) {
            b.d = Clamp(b.d, 6, 100, "Bolted_BRB_d", notes);
            b.dh = Clamp(b.dh, b.d, b.d + 10, "Bolted_BRB_dh", notes);
            b.s = Clamp(b.s, b.dh + 5, 1000, "Bolted_BRB_s", notes);
            b.el = Clamp(b.el, b.dh / 2 + 5, 1000, "Bolted_BRB_el", notes);
            b.et = Clamp(b.et, b.dh / 2 + 5, 1000, "Bolted_BRB_et", notes);
            if (b.staggered) b.g = Clamp(b.g, b.dh + 5, 1000, "Bolted_BRB_g", notes);
        }
    }

    const char* gu = "Gusset";
    q.gusset_grade = r.Text(gu, "Mat_of_gusset_plate", false);
    q.fy_g = r.Positive(gu, "F_y_g");
    q.fu_g = r.Positive(gu, "F_u_g");
    q.ry_g = r.OptionalNumber(gu, "R_y_g", 1.0);
    q.tg_equals_tc = r.RequiredBool(gu, "tg_is_eq_to_tc");
    if (r.ok() && !q.tg_equals_tc) q.t_g = Clamp(r.Positive(gu, "t_g"), 6, 200, "t_g", notes);
    q.stiffener = r.Bool(gu, "Stiffener", true);

    const char* ad = "Adjust";
    q.auto_lw = r.Bool(ad, "Switch_of_Auto_Adjust_The_L_w", true);
    q.auto_plate_upper = r.Bool(ad, "Switch_of_Auto_Adjust_The_Upper_Right_Gusset_Plate_Size", true);
    q.auto_plate_lower = r.Bool(ad, "Switch_of_Auto_Adjust_The_Lower_Left_Gusset_Plate_Size", true);
    q.auto_joint = r.Bool(ad, "Switch_of_Auto_Adjust_The_B_j_and_D_j_Using_Amp_Factor", true);
    q.auto_work_point = r.Bool(ad, "Switch_of_Auto_Adjust_The_Upper_Right_Distance_to_Work_Point", false) ||
                        r.Bool(ad, "Switch_of_Auto_Adjust_The_Lower_Left_Distance_to_Work_Point", false);
    q.auto_tg = r.Bool(ad, "Switch_of_Auto_Adjust_The_t_g", true);
    q.auto_keff = r.Bool(ad, "Switch_of_Auto_Adjust_The_K_eff", false);
    q.keff_req = std::max(0.0, r.OptionalNumber(ad, "K_eff_req", 0));
    q.keff_by_target_lc = r.Bool(ad, "Switch_of_Adjust_The_K_eff_by_Target_Lc", false);
    q.keff_by_lc_to_lwp = r.Bool(ad, "Switch_of_Adjust_The_K_eff_by_Lc_to_Lwp", false);
    q.lc_min_length = Clamp(r.OptionalNumber(ad, "Lc_Length_lower_Limit", 0), 0, 100000, "Lc_Length_lower_Limit", notes);
    q.lc_min_ratio = Clamp(r.OptionalNumber(ad, "Lc_lower_Limit", 0), 0, 0.95, "Lc_lower_Limit", notes);

    if (!r.ok()) {
        error = r.error();
        return false;
    }
    return true;
}

}  // namespace zorv_service
