#pragma once
// The single-precision member families of the main window, one member per
// result key and named after it. The key lists are X-macros so that readers
// that go by key (the result reader, the per-side copies of the drawing) and
// code that goes by member name share one definition.
#include <string_view>

// Frame geometry of the bay (keys of the request and the result).
#define ZORV_FRAME_VALUE_KEYS(X)                                                 \
    X(d_c_left) X(d_c_right) X(H_col) X(L_beam)                                 \
    X(d_b_up) X(b_w_b_up) X(b_t_w_up) X(b_t_f_up)                               \
    X(d_b_down) X(b_w_b_down) X(b_t_w_down) X(b_t_f_down)                       \
    X(col_left_gap_for_L_brb) X(col_right_gap_for_L_brb)                        \
    X(beam_up_gap_for_L_brb) X(beam_down_gap_for_L_brb)                         \
    X(default_thickness_of_slab_for_L_brb) X(default_gap_for_gusset_plate)

// Brace geometry and results: gusset plates, brace, casing, coordinates and
// the middle gusset of a Chevron bay.
#define ZORV_BRACE_VALUE_KEYS(X)                                                 \
    X(down_L_v) X(down_L_h) X(Gusset_Plate_down_x1) X(Gusset_Plate_down_y1)      \
    X(Gusset_Plate_down_x2) X(Gusset_Plate_down_y2)                             \
    X(up_L_v) X(up_L_h) X(Gusset_Plate_up_x1) X(Gusset_Plate_up_y1)              \
    X(Gusset_Plate_up_x2) X(Gusset_Plate_up_y2) X(t_sf) X(Le_upper) X(Le_lower)  \
    X(tan_phi) X(L_wp) X(L_brb) X(L_c) X(L_t) X(L_x) X(L_n) X(L_w) X(L_j)        \
    X(Shrink_Ratio_DOWN) X(Shrink_Ratio_UP) X(P_y) X(A_c) X(A_j) X(A_t)          \
    X(B_c) X(B_j) X(D_c) X(D_j) X(t_c) X(t_j) X(t_g) X(t_g_s)                    \
    X(t) X(D_t) X(L_sc) X(D_t_required)                                          \
    X(Be_up_x1) X(Be_up_y1) X(Be_up_x2) X(Be_up_y2) X(Be_up_x3) X(Be_up_y3)      \
    X(Be_up_x4) X(Be_up_y4) X(Be_up_x5) X(Be_up_y5) X(Be_up_x6) X(Be_up_y6)      \
    X(Be_up_fx1) X(Be_up_fy1) X(Be_up_fx2) X(Be_up_fy2)                          \
    X(Be_dw_x1) X(Be_dw_y1) X(Be_dw_x2) X(Be_dw_y2) X(Be_dw_x3) X(Be_dw_y3)      \
    X(Be_dw_x4) X(Be_dw_y4) X(Be_dw_x5) X(Be_dw_y5) X(Be_dw_x6) X(Be_dw_y6)      \
    X(Be_dw_fx1) X(Be_dw_fy1) X(Be_dw_fx2) X(Be_dw_fy2)                          \
    X(L_1_down_x0) X(L_1_down_y0) X(L_1_down_x1) X(L_1_down_y1)                  \
    X(L_2_down_x0) X(L_2_down_y0) X(L_2_down_x1) X(L_2_down_y1)                  \
    X(L_3_down_x0) X(L_3_down_y0) X(L_3_down_x1) X(L_3_down_y1)                  \
    X(L_1_up_x0) X(L_1_up_y0) X(L_1_up_x1) X(L_1_up_y1)                          \
    X(L_2_up_x0) X(L_2_up_y0) X(L_2_up_x1) X(L_2_up_y1)                          \
    X(L_3_up_x0) X(L_3_up_y0) X(L_3_up_x1) X(L_3_up_y1)                          \
    X(MIDDLE_GUSSET_x1) X(MIDDLE_GUSSET_y1) X(MIDDLE_GUSSET_x2)                  \
    X(MIDDLE_GUSSET_y2) X(MIDDLE_GUSSET_x3) X(MIDDLE_GUSSET_y3)                  \
    X(MIDDLE_GUSSET_x4) X(MIDDLE_GUSSET_y4) X(Lh_mid) X(Lv_mid) X(Lsf_mid)

// Bolted joint: the request's bolt dimensions (member, request key) and the
// bolted result (member, result key).
#define ZORV_BOLTED_VALUE_KEYS(X)                                                \
    X(tc, "Bolted_BRB_tc") X(Bc, "Bolted_BRB_Bc") X(tj, "Bolted_BRB_tj")         \
    X(Dj, "Bolted_BRB_Dj") X(et, "Bolted_et") X(el, "Bolted_el")                 \
    X(s, "Bolted_s") X(g, "Bolted_BRB_g") X(d, "Bolted_BRB_d")                   \
    X(dh, "Bolted_BRB_dh") X(n, "Bolted_n") X(Lbs, "Bolted_Lbs")                 \
    X(Wbs, "Bolted_Wbs")

#define ZORV_DECLARE_FLOAT(name) float name = 0.0f;
#define ZORV_DECLARE_FLOAT2(name, key) float name = 0.0f;

struct TFrameValues {
    ZORV_FRAME_VALUE_KEYS(ZORV_DECLARE_FLOAT)
    // The member of a result key, or nullptr when the family has none.
    static float TFrameValues::*Member(std::string_view key);
};

struct TBraceValues {
    ZORV_BRACE_VALUE_KEYS(ZORV_DECLARE_FLOAT)
    static float TBraceValues::*Member(std::string_view key);
};

struct TBoltedValues {
    ZORV_BOLTED_VALUE_KEYS(ZORV_DECLARE_FLOAT2)
    static float TBoltedValues::*Member(std::string_view key);
};

// Nominal bolt strengths of the bolt grade.
struct TBoltStrengths {
    float Fnt = 0.0f;
    float Fnv = 0.0f;
};

#undef ZORV_DECLARE_FLOAT
#undef ZORV_DECLARE_FLOAT2
