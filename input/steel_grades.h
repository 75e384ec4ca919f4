#pragma once
// The steel grade values of the core and gusset plates that a request sends.
// Stresses are in the stress unit of the unit system.
#include <string>

struct TCoreGrade {
    std::string Name;      // "Mat_of_steel_core"
    float Fy = 0.0f;       // "F_y_c"
    float Ry = 0.0f;       // "R_y_c"
    float OmegaH = 0.0f;   // "Omega_h"
    float Beta = 0.0f;     // "Beta_f"
    float BoltedFy = 0.0f; // "Bolted_BRB_Fy"
    float BoltedFu = 0.0f; // "Bolted_BRB_Fu"
};

struct TGussetGrade {
    std::string Name;      // "Mat_of_gusset_plate"
    float Fy = 0.0f;       // "F_y_g"
    float Fu = 0.0f;       // "F_u_g"
    float Ry = 0.0f;       // "R_y_g"
    float BoltedFy = 0.0f; // "Bolted_BRB_Fyg"
    float BoltedFu = 0.0f; // "Bolted_BRB_Fug"
};

// Core plate stresses in one unit system.
struct CoreGradeStresses {
    float Fy;
    float BoltedFy;
    float BoltedFu;
};

// One grade of the core selector ComboBox_Mat, by item.
struct CoreGradeRow {
    const char* Name;           // grade name sent with the request, "CNS_SN490B"
    const char* CatalogueCode;  // last segment of the class catalogue GETs, "SN490B"
    CoreGradeStresses Tonf;     // "tonf-mm" column
    CoreGradeStresses KN;       // "kN-mm" column
    float Ry;
    float OmegaH;
    float Beta;
    // The column of a unit system: "kN-mm" gives KN, any other text Tonf.
    const CoreGradeStresses& In(const std::string& units_text) const;
};

// Gusset plate stresses in one unit system.
struct GussetGradeStresses {
    float Fy;
    float Fu;
    float BoltedFy;
    float BoltedFu;
};

// One grade of the gusset selector ComboBox_Mat_Gusset_Plate, by item.
struct GussetGradeRow {
    const char* Name;  // "CNS_SN490B"
    GussetGradeStresses Tonf;
    GussetGradeStresses KN;
    float Ry;
    const GussetGradeStresses& In(const std::string& units_text) const;
};

// Number of items of each selector.
constexpr int kCoreGradeCount = 5;
constexpr int kGussetGradeCount = 3;

// The row of a selector item. An item outside the list (-1 when nothing is
// selected) throws Exception, so a run never sends a grade nobody chose.
const CoreGradeRow& CoreGradeRowOf(int item);
const GussetGradeRow& GussetGradeRowOf(int item);

// Fills a grade record from a row in a unit system.
TCoreGrade CoreGradeFrom(const CoreGradeRow& row, const std::string& units_text);
TGussetGrade GussetGradeFrom(const GussetGradeRow& row, const std::string& units_text);
