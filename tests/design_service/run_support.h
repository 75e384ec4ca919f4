#pragma once
// Run requests for the design tests: the window's default request from the
// fixtures, edited per case, and the result parsed back.
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "design_service/result_keys.h"
#include "design_service/run_project.h"
#include "support/fixtures.h"

namespace testing_support {

using json = nlohmann::ordered_json;

// The request of the window's defaults (Diagonal, Welded).
inline json DefaultRequest() {
    json request = json::parse(ReadFile(FixturePath("run-request-defaults.json")));
    return request;
}

// The bolt page's keys, as the client adds them after "Type_of_BRB_capacity".
inline void MakeBolted(json& request) {
    request["Client_Information"]["ctype"] = "Bolted";
    json& brb = request["BRB"];
    const std::pair<const char*, double> keys[] = {
        {"Bolted_BRB_tc", 20},       {"Bolted_BRB_Bc", 190},     {"Bolted_BRB_tj", 12},
        {"Bolted_BRB_Dj", 0},        {"Bolted_BRB_et", 40},      {"Bolted_BRB_el", 50},
        {"Bolted_BRB_s", 70},        {"Bolted_BRB_g", 60},       {"Bolted_BRB_Fy", 0.0331294596195221},
        {"Bolted_BRB_Fu", 0.0499490313231945}, {"Bolted_BRB_Fnt", 0.0632008165121078},
        {"Bolted_BRB_Fnv", 0.046585123240947}, {"Bolted_BRB_d", 22}, {"Bolted_BRB_dh", 24},
        {"Bolted_BRB_Fyg", 0.0331294596195221}, {"Bolted_BRB_Fug", 0.0499490313231945},
    };
    for (const auto& [key, value] : keys) brb[key] = value;
    brb["Staggered"] = true;
}

inline json FamilyRequest(zorv_service::Family family) {
    json request = DefaultRequest();
    if (zorv_service::IsChevron(family)) request["Client_Information"]["cfg"] = "Chevron";
    if (zorv_service::IsBolted(family)) MakeBolted(request);
    return request;
}

inline const char* FamilyFile(zorv_service::Family family) {
    switch (family) {
        case zorv_service::Family::kDiagonalWelded: return "diagonal-welded";
        case zorv_service::Family::kDiagonalBolted: return "diagonal-bolted";
        case zorv_service::Family::kChevronWelded: return "chevron-welded";
        case zorv_service::Family::kChevronBolted: return "chevron-bolted";
    }
    return "";
}

inline json Design(const json& request) { return json::parse(zorv_service::RunProjectResult(request.dump())); }

// request[group][key] := value
inline json With(json request, const char* group, const char* key, json value) {
    request[group][key] = std::move(value);
    return request;
}

inline constexpr zorv_service::Family kFamilies[] = {
    zorv_service::Family::kDiagonalWelded, zorv_service::Family::kDiagonalBolted,
    zorv_service::Family::kChevronWelded, zorv_service::Family::kChevronBolted};

}  // namespace testing_support
