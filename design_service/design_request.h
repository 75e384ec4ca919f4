#pragma once
// The run request as the design reads it: every input the mechanics use,
// checked for presence and type, with the client's defaults for switches it
// may leave out. Lengths mm; forces and stresses in the request's units.
#include <string>
#include <vector>

#include "design_service/catalogues.h"

namespace zorv_service {

struct BeamSection {
    double d = 0, bw = 0, tw = 0, tf = 0;  // depth, flange width, web and flange thickness
};

struct BoltedInput {
    double tc = 0, bc = 0, tj = 0;          // core plate of the bolted brace, splice thickness
    double et = 0, el = 0, s = 0, g = 0;    // bolt edge distance, end distance, pitch, gauge
    double d = 0, dh = 0;                   // bolt and hole diameter
    double fy = 0, fu = 0, fyg = 0, fug = 0;  // bolted block of core and gusset
    double fnt = 0, fnv = 0;                // bolt strengths
    bool staggered = false;
};

struct DesignRequest {
    bool chevron = false;
    bool bolted = false;
    std::string client_id, project_id;
    bool quick_view = true, print_xls = false, print_dxf = false;

    std::string units = "tonf-mm";
    double f_exx = 0, e = 0;

    double gap_left = 0, gap_right = 0, gap_up = 0, gap_down = 0;  // clear distances
    double slab = 0, gusset_gap = 0;
    double h_col = 0, l_beam = 0, dc_left = 0, dc_right = 0;
    BeamSection beam_up, beam_down;
    double fy_b = 0;
    bool generalized_ufm = true;

    double lbrb_increment = 10;
    bool cruciform = true, circular = false;
    std::string core_grade;    // as sent, e.g. "CNS_SN490B"
    const CoreSteel* steel = nullptr;  // its catalogue grade
    double fy_c = 0, ry_c = 0, omega_h = 0, beta = 0;
    std::string class_text;    // "[045]500tonf(tc=40mm)"
    CapacityClass core_class{};
    BoltedInput bolt;

    std::string gusset_grade;
    double fy_g = 0, fu_g = 0, ry_g = 0;
    bool tg_equals_tc = true;
    double t_g = 0;            // when tg_equals_tc is false
    bool stiffener = true;

    bool auto_lw = true, auto_plate_upper = true, auto_plate_lower = true, auto_joint = true;
    bool auto_work_point = false, auto_tg = true, auto_keff = false;
    double keff_req = 0;
    bool keff_by_target_lc = false, keff_by_lc_to_lwp = false;
    double lc_min_length = 0, lc_min_ratio = 0;

    // What the reader clamped or ignored, for the result's notes.
    std::vector<std::string> notes;
};

// Parses the request text. On failure returns false with a message that
// names the first missing or malformed input.
bool ReadDesignRequest(const std::string& text, DesignRequest& request, std::string& error);

// The catalogue code of a core grade name ("CNS_SN490B" -> "SN490B"), empty when unknown.
std::string CoreGradeCode(const std::string& grade_name);

}  // namespace zorv_service
