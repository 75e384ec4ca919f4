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
