#pragma once
// The unit texts of a unit system, as the check tables and the BRB grid show them.
#include <string>

struct TUnitLabels {
    std::string Force;
    std::string Length;
    std::string Stress;
    std::string Moment;
    std::string Stiffness;
    bool operator==(const TUnitLabels&) const = default;
};

// "kN-mm" gives the kN set; any other text the "tonf-mm" set.
TUnitLabels UnitLabelsFor(const std::string& units_text);
