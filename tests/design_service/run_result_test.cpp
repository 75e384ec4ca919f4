// The run result of the local design service: its keys per family, the
// behaviour of its mechanics, its geometry and its refusals.
#include <cmath>
#include <functional>
#include <set>

#include <gtest/gtest.h>

#include "design_service/fixture_results.h"
#include "design_service/run_support.h"

namespace {

using namespace testing_support;
using zorv_service::BraceKeys;
using zorv_service::Family;
using zorv_service::KeySpec;
using zorv_service::KeyType;
using zorv_service::TopLevelKeys;

void ExpectKeys(const json& object, const std::vector<KeySpec>& keys, const std::string& where) {
    for (const KeySpec& k : keys) {
        auto it = object.find(k.key);
        ASSERT_NE(it, object.end()) << where << k.key;
        if (k.type == KeyType::kText) {
            EXPECT_TRUE(it->is_string()) << where << k.key;
        } else {
            ASSERT_TRUE(it->is_number()) << where << k.key;
            EXPECT_TRUE(std::isfinite(it->get<double>())) << where << k.key;
        }
    }
}

std::set<std::string> KeySet(const json& object) {
    std::set<std::string> keys;
    for (auto it = object.begin(); it != object.end(); ++it) keys.insert(it.key());
    return keys;
}

// Every number anywhere in the result is finite.
void ExpectFinite(const json& value, const std::string& where) {
    if (value.is_object()) {
        for (auto it = value.begin(); it != value.end(); ++it) ExpectFinite(it.value(), where + it.key() + ".");
    } else if (value.is_number()) {
        EXPECT_TRUE(std::isfinite(value.get<double>())) << where;
    }
}

// The largest "DCR_" number of an object.
double WorstRatio(const json& object) {
    double worst = 0;
    for (auto it = object.begin(); it != object.end(); ++it)
        if (it.key().rfind("DCR_", 0) == 0) worst = std::max(worst, it->get<double>());
    return worst;
}

TEST(RunResultKeys, EveryFamilyCarriesEveryListedKeyWithItsType) {
    for (Family family : kFamilies) {
        SCOPED_TRACE(zorv_service::FamilyName(family));
        json result = Design(FamilyRequest(family));
        ASSERT_FALSE(result.contains("Error")) << result.dump();
        ExpectKeys(result, TopLevelKeys(family), "");
        if (zorv_service::IsChevron(family)) {
            ASSERT_TRUE(result["LEFT"].is_object());
            ASSERT_TRUE(result["RIGHT"].is_object());
            ExpectKeys(result["LEFT"], BraceKeys(family), "LEFT.");
            ExpectKeys(result["RIGHT"], BraceKeys(family), "RIGHT.");
            EXPECT_EQ(KeySet(result["LEFT"]), KeySet(result["RIGHT"]));
        } else {
            EXPECT_FALSE(result.contains("LEFT"));
        }
    }
}

// Keys the client's readers name, written out here apart from the service's
// own list, so that a slip in that list shows.
TEST(RunResultKeys, TheListHoldsWhatTheReadersName) {
    struct Case {
        Family family;
        const char* where;  // "" top level, "LEFT" a side
        std::vector<const char*> keys;
        std::vector<const char*> absent;
    };
    const Case cases[] = {
        {Family::kDiagonalWelded, "",
         {"SAVE_ZORV_FILE_PATH", "d_b_down", "default_gap_for_gusset_plate", "Gusset_Plate_down_y2", "Le_lower",
          "Shrink_Ratio_UP", "t_g_s", "D_t_required", "Be_up_fx2", "Be_dw_y6", "L_3_up_y1", "L_1_down_x0",
          "Theda_y", "up_T_c", "DCR_7_up_c6", "Demand_7_down_c1", "Capacity_1", "U_Beam_Ratio",
          "Motar_Self_Weight", "Gusset_DOWN_Area", "Total_Weight", "Steel_Casing_Source"},
         {"LEFT", "Bolted_n", "DCR_12_up_c1", "MIDDLE_GUSSET_x1"}},
        {Family::kDiagonalBolted, "",
         {"Bolted_Lbs", "Bolted_Wbs", "Bolted_et", "Bolted_el", "Bolted_s", "Bolted_n", "DCR_3", "DCR_10_down",
          "Demand_12_up_c6", "Capacity_12_down_c6"},
         {"DCR_7_up_c1"}},
        {Family::kChevronWelded, "",
         {"MIDDLE_GUSSET_y4", "Lh_mid", "Lv_mid", "Lsf_mid", "Tb_mid", "DCR_7_mg_c3", "Capacity_7_mg_c1", "DCR_1",
          "P_y", "K_eff", "STEEL_CASING_Type"},
         {"DCR_12_mg_c1"}},
        {Family::kChevronWelded, "LEFT",
         {"WES_Type", "Steel_Casing_Size", "K_eff_h", "I_sc_required", "down_L_sf_v", "L_s", "T_w", "Q_factor",
          "DCR_7_down_c6", "L_Beam_Ratio"},
         {"DCR_7_up_c1", "MIDDLE_GUSSET_x1"}},
        {Family::kChevronBolted, "",
         {"DCR_12_mg_c1", "Demand_12_mg_c3", "DCR_1", "P_y", "K_eff"}, {"DCR_7_mg_c1"}},
        {Family::kChevronBolted, "RIGHT", {"DCR_12_down_c6", "DCR_11_up", "Bolted_n"}, {"DCR_12_up_c1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(zorv_service::FamilyName(c.family)) + " " + c.where);
        json result = Design(FamilyRequest(c.family));
        const json& object = c.where[0] ? result[c.where] : result;
        for (const char* key : c.keys) EXPECT_TRUE(object.contains(key)) << key;
        for (const char* key : c.absent) EXPECT_FALSE(object.contains(key)) << key;
    }
    EXPECT_EQ(zorv_service::BraceCheckSuffixes(Family::kDiagonalWelded).size(), 21u);
    EXPECT_EQ(zorv_service::BraceCheckSuffixes(Family::kDiagonalBolted).size(), 26u);
    EXPECT_EQ(zorv_service::BraceCheckSuffixes(Family::kChevronWelded).size(), 15u);
    EXPECT_EQ(zorv_service::BraceCheckSuffixes(Family::kChevronBolted).size(), 20u);
}

TEST(RunResultDesign, TheWindowDefaultsPassWithoutAnAdvisory) {
    json result = Design(DefaultRequest());
    ASSERT_FALSE(result.contains("Error")) << result.dump();
    EXPECT_LT(WorstRatio(result), 1.0);
    EXPECT_GT(WorstRatio(result), 0.5);  // a real design, not a trivial one
    EXPECT_EQ(result["Design_Status"], "OK");
    // What the run's advisories look at.
    EXPECT_LT(result["Q_factor"].get<double>(), 1.6);
    EXPECT_GT(result["Alpha_L"].get<double>(), 0.3);
    EXPECT_LE(result["U_Beam_Ratio"].get<double>(), 0.9);
    EXPECT_LE(result["L_Beam_Ratio"].get<double>(), 0.9);
    const double core_edge = (result["B_c"].get<double>() - 2 * result["t_c"].get<double>() -
                              (result["t_g"].get<double>() + 3)) * 0.5;
    EXPECT_GE(core_edge, 8);
    // The default class is 500 tonf of SN490B: P_y from the core area.
    EXPECT_NEAR(result["P_y"].get<double>(), (2 * 40 * 210 - 40 * 40) * 0.033, 0.5);
    EXPECT_DOUBLE_EQ(result["t_g"].get<double>(), 40);  // "Auto (tg >= tc)"
}

TEST(RunResultDesign, RealisticInputsFail) {
    struct Case {
        const char* name;
        std::function<void(json&)> edit;
    };
    const Case cases[] = {
        {"a 25 mm gusset for a 500 tonf brace",
         [](json& r) {
             r["Gusset"]["tg_is_eq_to_tc"] = false;
             r["Gusset"]["t_g"] = 25;
             r["Adjust"]["Switch_of_Auto_Adjust_The_t_g"] = false;
         }},
        {"a long flat bay with deep beams",
         [](json& r) {
             r["FRAME"]["H_col"] = 2000;
             r["FRAME"]["L_beam"] = 16000;
             r["FRAME"]["d_b_up"] = 1500;
             r["FRAME"]["d_b_down"] = 1500;
         }},
    };
    for (const Case& c : cases) {
        json request = DefaultRequest();
        c.edit(request);
        json result = Design(request);
        ASSERT_FALSE(result.contains("Error")) << c.name << result.dump();
        EXPECT_GE(WorstRatio(result), 1.0) << c.name;
        EXPECT_EQ(result["Design_Status"], "NG") << c.name;
    }
}

// A change of one input moves the named values up, others fixed.
TEST(RunResultDesign, InputsMoveTheRatiosTheWayAnEngineerExpects) {
    auto fixed_gusset = [](json r, double tg) {
        r["Gusset"]["tg_is_eq_to_tc"] = false;
        r["Gusset"]["t_g"] = tg;
        r["Adjust"]["Switch_of_Auto_Adjust_The_t_g"] = false;
        return r;
    };
    auto gusset_grade = [](json r, double fy, double fu) {
        r["Gusset"]["F_y_g"] = fy;
        r["Gusset"]["F_u_g"] = fu;
        return r;
    };
    auto capacity_class = [](json r, const char* name) { return With(r, "BRB", "Type_of_BRB_capacity", name); };
    const std::vector<const char*> gusset_ratios = {"DCR_4",       "DCR_5_up",    "DCR_5_down",  "DCR_6_up",
                                                    "DCR_6_down",  "DCR_7_up_c1", "DCR_7_up_c3", "DCR_7_up_c4",
                                                    "DCR_7_down_c1", "DCR_7_down_c6"};
    struct Case {
        const char* name;
        json smaller, larger;  // the request whose values should be lower, and the other
        std::vector<const char*> keys;
    };
    const json base = fixed_gusset(DefaultRequest(), 40);
    const Case cases[] = {
        {"a larger class", capacity_class(base, "[026]300tonf(tc=28mm)"), capacity_class(base, "[045]500tonf(tc=40mm)"),
         {"P_y", "P_max", "A_c", "Demand_2", "Demand_3_down", "Demand_4", "Demand_5_up", "Demand_6_down",
          "I_sc_required", "DCR_4", "DCR_5_up", "DCR_6_up"}},
        {"a larger class, gusset chosen by the service", capacity_class(DefaultRequest(), "[005]100tonf(tc=20mm)"),
         DefaultRequest(), {"P_y", "P_max", "D_j", "L_w", "t_g", "Demand_2", "Core_Self_Weight"}},
        {"a thinner gusset", base, fixed_gusset(DefaultRequest(), 32), gusset_ratios},
        {"a weaker gusset grade", gusset_grade(base, 0.0428, 0.0581), gusset_grade(base, 0.033, 0.05), gusset_ratios},
        {"larger material factors", base,
         With(With(base, "BRB", "R_y_c", 1.3), "BRB", "Omega_h", 1.5),
         {"P_max", "Demand_2", "DCR_4", "DCR_5_down", "DCR_6_down", "DCR_7_down_c1"}},
        {"no gusset stiffeners", base, With(base, "Gusset", "Stiffener", false), {"DCR_6_up", "DCR_6_down"}},
    };
    for (const Case& c : cases) {
        json low = Design(c.smaller), high = Design(c.larger);
        ASSERT_FALSE(low.contains("Error")) << c.name << low.dump();
        ASSERT_FALSE(high.contains("Error")) << c.name << high.dump();
        for (const char* key : c.keys)
            EXPECT_LT(low[key].get<double>(), high[key].get<double>()) << c.name << ": " << key;
    }
}

TEST(RunResultDesign, StiffnessAdjustmentMeetsTheRequestWithinTheCoreLimits) {
    json request = DefaultRequest();
    request["Adjust"]["Switch_of_Auto_Adjust_The_K_eff"] = true;
    const double natural = Design(request)["K_eff"].get<double>();  // a request of 0 asks for nothing
    EXPECT_NEAR(natural, Design(DefaultRequest())["K_eff"].get<double>(), 1e-9);

    request["Adjust"]["K_eff_req"] = natural * 1.1;
    json met = Design(request);
    EXPECT_NEAR(met["K_eff"].get<double>(), natural * 1.1, natural * 0.002);
    EXPECT_LT(met["L_c"].get<double>(), Design(DefaultRequest())["L_c"].get<double>());

    // The core may not be shorter than the limit: the stiffness falls short.
    request["Adjust"]["Switch_of_Adjust_The_K_eff_by_Lc_to_Lwp"] = true;
    request["Adjust"]["Lc_lower_Limit"] = 0.35;
    json limited = Design(request);
    EXPECT_NEAR(limited["Alpha_L"].get<double>(), 0.35, 1e-4);
    EXPECT_LT(limited["K_eff"].get<double>(), natural * 1.1);
    EXPECT_GT(limited["K_eff"].get<double>(), natural);

    request["Adjust"]["Switch_of_Adjust_The_K_eff_by_Lc_to_Lwp"] = false;
    request["Adjust"]["Switch_of_Adjust_The_K_eff_by_Target_Lc"] = true;
    request["Adjust"]["Lc_Length_lower_Limit"] = 2300;
    EXPECT_NEAR(Design(request)["L_c"].get<double>(), 2300, 0.5);

    // Softer than the longest core allows: the core stays as long as it can be.
    request["Adjust"]["K_eff_req"] = natural * 0.5;
    EXPECT_NEAR(Design(request)["K_eff"].get<double>(), natural, 1e-6);
}

TEST(RunResultDesign, SwitchesChangeWhatTheyName) {
    json square = Design(DefaultRequest());
    json circular = Design(With(DefaultRequest(), "BRB", "STEEL_CASING_Type", "Circular"));
    EXPECT_EQ(circular["STEEL_CASING_Type"], "Circular");
    EXPECT_EQ(circular["Steel_Casing_Size"].get<std::string>().rfind("CHS ", 0), 0u);
    EXPECT_EQ(square["Steel_Casing_Size"].get<std::string>().rfind("SHS ", 0), 0u);

    json flat = Design(With(With(DefaultRequest(), "BRB", "WES_Type", "Flat"), "BRB", "Type_of_BRB_capacity",
                         "[040]300tonf(tc=28mm)"));
    ASSERT_FALSE(flat.contains("Error")) << flat.dump();
    EXPECT_EQ(flat["WES_Type"], "Flat");
    EXPECT_EQ(flat["D_c"], flat["t_c"]);
    EXPECT_DOUBLE_EQ(flat["A_c"].get<double>(), flat["t_c"].get<double>() * flat["B_c"].get<double>());

    json equal = Design(With(With(DefaultRequest(), "Adjust", "Switch_of_Auto_Adjust_The_t_g", false), "Gusset",
                          "tg_is_eq_to_tc", true));
    EXPECT_EQ(equal["t_g"], equal["t_c"]);

    json bare = Design(With(DefaultRequest(), "Gusset", "Stiffener", false));
    EXPECT_EQ(bare["down_L_sf_h"], 0);
    EXPECT_EQ(bare["up_L_sf_v"], 0);
    EXPECT_GT(square["down_L_sf_h"].get<double>(), 0);

    json kilonewtons = DefaultRequest();
    kilonewtons["General_Information"] = {{"Units", "kN-mm"}, {"F_exx", 0.48069}, {"E", 200.124}};
    kilonewtons["BRB"]["F_y_c"] = 0.32373;
    kilonewtons["Gusset"]["F_y_g"] = 0.32373;
    kilonewtons["Gusset"]["F_u_g"] = 0.4905;
    kilonewtons["FRAME"]["F_y_b"] = 0.324;
    json kn = Design(kilonewtons);
    EXPECT_NEAR(kn["P_y"].get<double>() / square["P_y"].get<double>(), 9.81, 0.01);
    EXPECT_NEAR(kn["Total_Weight"].get<double>() / square["Total_Weight"].get<double>(), 9.80665, 0.05);
}

TEST(RunResultGeometry, ChevronSidesMirrorForASymmetricBay) {
    json request = FamilyRequest(Family::kChevronWelded);
    json result = Design(request);
    EXPECT_EQ(result["LEFT"], result["RIGHT"]);
    EXPECT_DOUBLE_EQ(result["MIDDLE_GUSSET_x1"].get<double>(), result["MIDDLE_GUSSET_x4"].get<double>());
    EXPECT_DOUBLE_EQ(result["MIDDLE_GUSSET_y1"].get<double>(), result["MIDDLE_GUSSET_y4"].get<double>());
    EXPECT_DOUBLE_EQ(result["MIDDLE_GUSSET_x2"].get<double>(), result["MIDDLE_GUSSET_x3"].get<double>());

    // A deeper right column changes the right brace's lower end only.
    request["FRAME"]["d_c_right"] = 700;
    json skew = Design(request);
    for (const char* key : {"down_L_v", "down_L_h", "Le_lower", "L_brb", "DCR_7_down_c1"})
        EXPECT_EQ(skew["LEFT"][key], result["LEFT"][key]) << key;
    EXPECT_GT(skew["RIGHT"]["Le_lower"], skew["LEFT"]["Le_lower"]);
    EXPECT_GT(skew["RIGHT"]["down_L_v"], skew["LEFT"]["down_L_v"]);
    EXPECT_EQ(skew["LEFT"]["L_wp"], skew["RIGHT"]["L_wp"]);
    EXPECT_EQ(skew["LEFT"]["up_L_v"], skew["RIGHT"]["up_L_v"]);
}

// The drawings place the plates at the inner corners and the brace on the work
// line; the numbers must make a bay that holds together drawn that way.
TEST(RunResultGeometry, PlatesSitInTheBayAndTheBraceRunsFromWorkPointToWorkPoint) {
    struct Case {
        const char* name;
        json request;
    };
    json wide = DefaultRequest();
    wide["FRAME"]["L_beam"] = 9000;
    wide["FRAME"]["d_c_left"] = 350;
    wide["FRAME"]["col_left_gap_for_L_brb"] = 200;
    const Case cases[] = {
        {"Diagonal", DefaultRequest()},
        {"Diagonal, wide bay", wide},
        {"Chevron", FamilyRequest(Family::kChevronWelded)},
        {"Chevron, wide bay", With(wide, "Client_Information", "cfg", "Chevron")},
        {"Diagonal bolted", FamilyRequest(Family::kDiagonalBolted)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        json result = Design(c.request);
        ASSERT_FALSE(result.contains("Error")) << result.dump();
        const bool chevron = result.contains("LEFT");
        const json& frame = c.request["FRAME"];
        const double h = frame["H_col"], l = frame["L_beam"], dcl = frame["d_c_left"], dcr = frame["d_c_right"];
        const double dbu = frame["d_b_up"], dbd = frame["d_b_down"];
        const json& b = chevron ? result["LEFT"] : result;
        const double run = chevron ? l / 2 : l;

        // Work line from corner to corner, the brace on it between its ends.
        EXPECT_NEAR(b["tan_phi"].get<double>(), h / run, 1e-4);
        EXPECT_NEAR(b["L_wp"].get<double>(), std::hypot(run, h), 0.01);
        const double lwp = b["L_wp"], le_low = b["Le_lower"], le_up = b["Le_upper"], lbrb = b["L_brb"];
        EXPECT_NEAR(le_low + lbrb + le_up, lwp, 0.02);
        EXPECT_NEAR(b["Shrink_Ratio_DOWN"].get<double>() * lwp, le_low, 0.02);
        EXPECT_NEAR(2 * (b["L_w"].get<double>() + b["L_n"].get<double>() + b["L_x"].get<double>() +
                         b["L_t"].get<double>()) + b["L_c"].get<double>(), lbrb, 0.02);
        EXPECT_NEAR(b["L_sc"].get<double>(), lbrb - 2 * (b["L_w"].get<double>() + b["L_n"].get<double>()), 0.02);
        EXPECT_NEAR(b["Alpha_L"].get<double>(), b["L_c"].get<double>() / lwp, 1e-5);

        // Lower plate, drawn from the inner corner (d_c_left/2, d_b_down/2).
        const double phi = std::atan(b["tan_phi"].get<double>()), cp = std::cos(phi), sp = std::sin(phi);
        auto check_plate = [&](const char* end, double a, double bb, double room_x, double room_y) {
            SCOPED_TRACE(end);
            const std::string e = end;
            const double lh = b[e + "_L_h"], lv = b[e + "_L_v"];
            const double x1 = b["Gusset_Plate_" + e + "_x1"], y1 = b["Gusset_Plate_" + e + "_y1"];
            const double x2 = b["Gusset_Plate_" + e + "_x2"], y2 = b["Gusset_Plate_" + e + "_y2"];
            EXPECT_GT(lh, 0);
            EXPECT_GT(lv, 0);
            EXPECT_LE(lh, room_x);
            EXPECT_LE(lv, room_y);
            EXPECT_GE(x2, 0);
            EXPECT_GE(y1, 0);
            // Straight edges where the stiffeners go (the drawing tests 0.001 mm).
            EXPECT_LT(std::abs(y2 - lv), 0.001);
            EXPECT_LT(std::abs(x1 - lh), 0.001);
            // The cut edge stands square to the brace, and the brace axis crosses it.
            EXPECT_NEAR((x1 - x2) * cp + (y1 - y2) * sp, 0, 0.05);
            const double along_1 = (x1 + a) * cp + (y1 + bb) * sp, along_2 = (x2 + a) * cp + (y2 + bb) * sp;
            EXPECT_NEAR(along_1, along_2, 0.05);
            const double across_1 = -(x1 + a) * sp + (y1 + bb) * cp, across_2 = -(x2 + a) * sp + (y2 + bb) * cp;
            EXPECT_LT(across_1, 0);
            EXPECT_GT(across_2, 0);
            // The brace end lies inside the plate, short of the cut edge.
            EXPECT_LT(e == "down" ? le_low : le_up, along_1);
            // The lines start on the Be line and end on a face (work-point frame).
            for (int i = 1; i <= 3; ++i) {
                const std::string stem = "L_" + std::to_string(i) + "_" + e + "_";
                const double ex = b[stem + "x1"], ey = b[stem + "y1"];
                EXPECT_TRUE(std::abs(ex - a) < 0.05 || std::abs(ey - bb) < 0.05) << stem << ex << "," << ey;
                EXPECT_GE(ex, a - 0.05);
                EXPECT_GE(ey, bb - 0.05);
            }
            const std::string be = e == "down" ? "dw" : "up";
            for (const char* f : {"1", "2"}) {
                const double bx = b["Be_" + be + "_fx" + f].get<double>() - a, by = b["Be_" + be + "_fy" + f].get<double>() - bb;
                EXPECT_GE(bx, -0.05);
                EXPECT_GE(by, -0.05);
                EXPECT_LE(bx, lh + 0.05);
                EXPECT_LE(by, lv + 0.05);
            }
        };
        const double clear_x = l - dcl / 2 - dcr / 2, clear_y = h - dbu / 2 - dbd / 2;
        check_plate("down", dcl / 2, dbd / 2, chevron ? clear_x / 2 : clear_x, clear_y);
        if (chevron) {
            check_plate("up", 0, dbu / 2, clear_x / 2, clear_y);
            EXPECT_NEAR(result["Lh_mid"].get<double>(),
                        result["MIDDLE_GUSSET_x1"].get<double>() + result["MIDDLE_GUSSET_x4"].get<double>(), 0.01);
            EXPECT_EQ(result["MIDDLE_GUSSET_y2"], result["Lv_mid"]);
            EXPECT_EQ(result["MIDDLE_GUSSET_y3"], result["Lv_mid"]);
            EXPECT_EQ(b["up_L_h"], result["MIDDLE_GUSSET_x1"]);
        } else {
            check_plate("up", dcr / 2, dbu / 2, clear_x, clear_y);
            // The two corner plates leave the beams room between them.
            EXPECT_LT(b["down_L_h"].get<double>() + b["up_L_h"].get<double>(), clear_x);
        }
        // The brace end clears the clear-distance lines.
        const json& fr = c.request["FRAME"];
        const double half = b["D_j"].get<double>() / 2;
        EXPECT_GE(le_low * cp - half * sp, dcl / 2 + fr["col_left_gap_for_L_brb"].get<double>() - 0.05);
        EXPECT_GE(le_low * sp - half * cp, dbd / 2 + fr["default_thickness_of_slab_for_L_brb"].get<double>() +
                                             fr["beam_down_gap_for_L_brb"].get<double>() - 0.05);
    }
}

TEST(RunResultValues, EveryNumberIsFiniteForInputsTheClientCanSend) {
    struct Edit {
        const char* group;
        const char* key;
        json value;
    };
    const std::vector<std::vector<Edit>> cases = {
        {{"FRAME", "H_col", 2000}, {"FRAME", "L_beam", 16000}},
        {{"FRAME", "H_col", 20000}, {"FRAME", "L_beam", 2500}},
        {{"FRAME", "H_col", 2000}, {"FRAME", "L_beam", 2000}, {"FRAME", "d_c_left", 1500}, {"FRAME", "d_c_right", 1500},
         {"FRAME", "d_b_up", 1500}, {"FRAME", "d_b_down", 1500}, {"BRB", "Type_of_BRB_capacity", "[075]1200tonf(tc=60mm)"}},
        {{"FRAME", "d_c_left", 0}, {"FRAME", "d_c_right", 0}, {"FRAME", "d_b_up", 0}, {"FRAME", "d_b_down", 0},
         {"FRAME", "b_w_b_up", 0}, {"FRAME", "F_y_b", 0}, {"FRAME", "default_thickness_of_slab_for_L_brb", 0}},
        {{"FRAME", "col_left_gap_for_L_brb", 375}, {"FRAME", "beam_down_gap_for_L_brb", 350},
         {"FRAME", "default_gap_for_gusset_plate", -40}, {"BRB", "Lbrb_revised_increment", 0}},
        {{"Adjust", "Switch_of_Auto_Adjust_The_K_eff", true}, {"Adjust", "K_eff_req", 1e9}},
        {{"Adjust", "Switch_of_Auto_Adjust_The_K_eff", true}, {"Adjust", "K_eff_req", 1e-9},
         {"Adjust", "Switch_of_Adjust_The_K_eff_by_Target_Lc", true}, {"Adjust", "Lc_Length_lower_Limit", 1e7}},
        {{"Gusset", "tg_is_eq_to_tc", false}, {"Gusset", "t_g", 1}, {"Adjust", "Switch_of_Auto_Adjust_The_t_g", false}},
        {{"Gusset", "Stiffener", false}, {"Adjust", "Switch_of_Auto_Adjust_The_L_w", false},
         {"Adjust", "Switch_of_Auto_Adjust_The_B_j_and_D_j_Using_Amp_Factor", false},
         {"Adjust", "Switch_of_Auto_Adjust_The_Upper_Right_Distance_to_Work_Point", true},
         {"FRAME", "Switch_of_Generalized_UFM", false}},
    };
    for (Family family : kFamilies) {
        for (const auto& edits : cases) {
            json request = FamilyRequest(family);
            std::string name = zorv_service::FamilyName(family);
            for (const Edit& e : edits) {
                request[e.group][e.key] = e.value;
                name += std::string(" ") + e.key + "=" + e.value.dump();
            }
            SCOPED_TRACE(name);
            json result = Design(request);
            ASSERT_FALSE(result.contains("Error")) << result.dump();
            ExpectKeys(result, TopLevelKeys(family), "");
            ExpectFinite(result, "");
        }
    }
}

TEST(RunResultErrors, ABadRequestGetsAnErrorObjectAndNothingElse) {
    auto without = [](const char* group, const char* key) {
        json r = DefaultRequest();
        r[group].erase(key);
        return r.dump();
    };
    auto with = [](const char* group, const char* key, json value) {
        return With(DefaultRequest(), group, key, std::move(value)).dump();
    };
    json bolted_bare = DefaultRequest();
    bolted_bare["Client_Information"]["ctype"] = "Bolted";
    const std::string cases[] = {
        "",
        "not json",
        "[1,2]",
        "{}",
        "{\"FRAME\":{\"UB_Upper_Beam\":\"A",  // cut at a "#" by the client
        DefaultRequest().dump().substr(0, 300),
        without("Client_Information", "cfg"),
        with("Client_Information", "cfg", "Portal"),
        with("Client_Information", "ctype", "Riveted"),
        without("FRAME", "H_col"),
        with("FRAME", "H_col", "4000"),
        with("FRAME", "H_col", 0),
        with("FRAME", "L_beam", -5000),
        with("FRAME", "L_beam", 1e300),
        with("General_Information", "E", 0),
        with("BRB", "F_y_c", -0.033),
        with("BRB", "Type_of_BRB_capacity", "[000]"),
        with("BRB", "Type_of_BRB_capacity", "[045]501tonf(tc=40mm)"),
        with("BRB", "Mat_of_steel_core", "CNS_SN999"),
        with("BRB", "WES_Type", "Round"),
        with("Gusset", "tg_is_eq_to_tc", false),  // and no "t_g"
        without("Gusset", "tg_is_eq_to_tc"),
        with("Adjust", "K_eff_req", "fast"),
        bolted_bare.dump(),
    };
    for (const std::string& request : cases) {
        std::string text = zorv_service::RunProjectResult(request);
        json result = json::parse(text, nullptr, false);
        ASSERT_TRUE(result.is_object()) << request << " -> " << text;
        ASSERT_EQ(result.size(), 1u) << request << " -> " << text;
        ASSERT_TRUE(result["Error"].is_string()) << request << " -> " << text;
        EXPECT_FALSE(result["Error"].get<std::string>().empty());
    }
    // The message names what is wrong.
    EXPECT_NE(json::parse(zorv_service::RunProjectResult(without("FRAME", "H_col")))["Error"].get<std::string>().find(
                  "H_col"),
              std::string::npos);
}

// The fixtures other tests read are what the service answers today (the Chevron
// ones made asymmetric); set ZORV_UPDATE_FIXTURES=1 to write them anew after a change
// of the mechanics.
TEST(RunResultFixtures, SampleResultsMatchTheService) {
    const bool update = std::getenv("ZORV_UPDATE_FIXTURES") != nullptr;
    for (Family family : kFamilies) {
        const std::string stem = FamilyFile(family);
        const json request = FixtureRequest(family);
        const json result = Asymmetric(json::parse(zorv_service::RunProjectResult(request.dump())));
        const std::string result_path = FixturePath("run-result-" + stem + ".json");
        const std::string request_path = FixturePath("run-request-" + stem + ".json");
        if (update) {
            std::ofstream(result_path, std::ios::binary) << result.dump() << "\n";
            std::ofstream(request_path, std::ios::binary) << request.dump() << "\n";
        }
        EXPECT_EQ(json::parse(ReadFile(request_path)), request) << request_path;
        EXPECT_EQ(json::parse(ReadFile(result_path)), result) << result_path;
    }
}

// The Chevron samples tell the two braces and the top level apart in every value.
TEST(RunResultFixtures, ChevronSamplesDifferBySideInEveryValue) {
    for (const char* stem : {"chevron-welded", "chevron-bolted"}) {
        SCOPED_TRACE(stem);
        const json result = json::parse(ReadFile(FixturePath(std::string("run-result-") + stem + ".json")));
        const json& left = result.at("LEFT");
        const json& right = result.at("RIGHT");
        ASSERT_EQ(left.size(), right.size());
        ASSERT_GT(left.size(), 150u);
        for (const auto& [key, value] : left.items()) {
            ASSERT_TRUE(right.contains(key)) << key;
            EXPECT_NE(value, right[key]) << key;
            const bool type_text = key == "WES_Type" || key == "STEEL_CASING_Type";
            if (result.contains(key) && !type_text) {
                EXPECT_NE(result[key], value) << key;
                EXPECT_NE(result[key], right[key]) << key;
            }
        }
    }
}

}  // namespace
