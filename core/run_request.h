#pragma once
// Small rules of the run request that need no window.
#include <string>

// The unit system a request names and its two material constants.
struct TUnitConstants {
    std::string Units;  // "tonf-mm" or "kN-mm"
    double Fexx;
    double E;
};

// "kN-mm" gives the kN constants; "tonf-mm" and any other text the tonf ones.
TUnitConstants UnitConstantsFor(const std::string& units_text);

// "[" + the position with at least three digits + "]" + the class name:
// position 45 of "500tonf(tc=40mm)" gives "[045]500tonf(tc=40mm)".
std::string CapacityClassText(int position, const std::string& class_name);

// The text of the array of the request's six pairs made one object: its
// brackets become braces. A text of three characters or fewer stays as it is.
std::string RequestTextFromArray(const std::string& array_text);
