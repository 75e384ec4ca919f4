#pragma once
// The sample results in tests/fixtures: what the service answers for each family,
// the Chevron ones for a bay whose two braces differ and then made to differ in
// every value, so that tests can tell the left brace, the right brace and the top
// level apart.
#include <cmath>
#include <cstdio>
#include <string>

#include "design_service/run_support.h"

namespace testing_support {

// The request of a family's sample: a Chevron bay with a shallower left column and
// a smaller left clear distance, so that the service designs two different braces.
inline json FixtureRequest(zorv_service::Family family) {
    json request = FamilyRequest(family);
    if (zorv_service::IsChevron(family)) {
        request["FRAME"]["d_c_left"] = 400;
        request["FRAME"]["col_left_gap_for_L_brb"] = 60;
    }
    return request;
}

namespace fixture_detail {

// v scaled by factor, to six significant digits, on the same side of 1 as v (a
// passing ratio stays a pass); a zero becomes `instead`.
inline double Shifted(double v, double factor, double instead) {
    if (v == 0) return instead;
    double shifted = v * factor;
    if ((v < 1) != (shifted < 1)) shifted = v * (2 - factor);
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", shifted);
    return std::stod(text);
}

// The core and casing types have two values each; every other text is marked.
inline std::string OtherText(const std::string& key, const std::string& text, const char* mark) {
    if (key == "WES_Type") return text == "Cruciform" ? "Flat" : "Cruciform";
    if (key == "STEEL_CASING_Type") return text == "Square" ? "Circular" : "Square";
    return text + mark;
}

}  // namespace fixture_detail

// A Chevron result with every "LEFT" value that equals its "RIGHT" value moved, and
// every top-level value that equals either side's moved too (the two type texts of
// the top level, which the window reads as the bay's types, excepted).
inline json Asymmetric(json result) {
    using namespace fixture_detail;
    if (!result.contains("LEFT")) return result;
    json& left = result["LEFT"];
    const json& right = result["RIGHT"];
    for (auto& [key, value] : left.items()) {
        if (!right.contains(key) || right[key] != value) continue;
        if (value.is_number()) value = Shifted(value.get<double>(), 0.96, 1.5);
        if (value.is_string()) value = OtherText(key, value.get<std::string>(), " (left)");
    }
    for (auto& [key, value] : result.items()) {
        if (!left.contains(key) || !right.contains(key) || (value != left[key] && value != right[key])) continue;
        if (value.is_number()) value = Shifted(right[key].get<double>(), 1.03, 2.5);
        if (value.is_string() && key != "WES_Type" && key != "STEEL_CASING_Type")
            value = right[key].get<std::string>() + " (bay)";
    }
    return result;
}

}  // namespace testing_support
