#include "design_service/run_project.h"

#include <nlohmann/json.hpp>

namespace zorv_service {
namespace {

using Json = nlohmann::ordered_json;

// Copies request[group][key] to the result when it is there.
void Echo(const Json& request, const char* group, const char* key, Json& result) {
    auto g = request.find(group);
    if (g == request.end() || !g->is_object()) return;
    auto v = g->find(key);
    if (v != g->end() && !v->is_object() && !v->is_array()) result[key] = *v;
}

}  // namespace

// Placeholder until the design itself is in place: it runs no design and
// only hands back the inputs it recognises, so that a client sees a
// well-formed object and a clear note of what happened.
std::string RunProjectResult(const std::string& request_json) {
    Json request = Json::parse(request_json, nullptr, /*allow_exceptions=*/false);
    Json result = Json::object();
    if (request.is_discarded() || !request.is_object()) {
        result["Error"] = "The design request is not a JSON object.";
        return result.dump(-1, ' ', false, Json::error_handler_t::replace);
    }
    result["Design_Status"] = "NOT_DESIGNED";
    result["Message"] = "The local design service does not design braces yet; inputs echoed.";
    Echo(request, "Client_Information", "ClientID", result);
    Echo(request, "Client_Information", "cfg", result);
    Echo(request, "Client_Information", "ctype", result);
    Echo(request, "General_Information", "Units", result);
    for (const char* key : {"H_col", "L_beam", "d_c_left", "d_c_right", "d_b_up", "d_b_down"})
        Echo(request, "FRAME", key, result);
    for (const char* key : {"WES_Type", "STEEL_CASING_Type", "Mat_of_steel_core", "Type_of_BRB_capacity"})
        Echo(request, "BRB", key, result);
    return result.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace zorv_service
