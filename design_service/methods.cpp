#include "design_service/methods.h"

#include <cstdio>

#include <nlohmann/json.hpp>

#include "design_service/catalogues.h"
#include "design_service/reports.h"
#include "design_service/run_project.h"
#include "design_service/sections.h"

namespace zorv_service {
namespace {

Reply Ok(const std::string& value) { return Reply{200, WrapResult(value)}; }

Reply NotFound(const std::string& what) { return Reply{404, what + "\n", "text/plain"}; }

// A request the service can name but not serve still gets the wrapper,
// with an error object in place of the value.
Reply ErrorObject(const std::string& message) {
    nlohmann::ordered_json error = {{"Error", message}};
    return Ok(error.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace));
}

Reply ClassCatalogue(CoreShape shape, const std::string& code) {
    const CoreSteel* steel = FindCoreSteel(code);
    if (!steel) return ErrorObject("Unknown core steel code: " + code);
    return Ok(ClassCatalogueJson(shape, *steel));
}

Reply SectionCatalogue(const std::vector<UniversalSection>& sections, const std::string& region) {
    if (region != "NZ") return ErrorObject("No section catalogue for the region: " + region);
    return Ok(SectionCatalogueJson(sections));
}

}  // namespace

ServiceState::ServiceState() : random_(std::random_device{}()) {}

std::string ServiceState::NewClientId() {
    std::lock_guard lock(mutex_);
    for (;;) {
        char text[17];
        std::snprintf(text, sizeof text, "%016llX", static_cast<unsigned long long>(random_()));
        if (clients_.insert(text).second) return text;
    }
}

bool ServiceState::ForgetClient(const std::string& id) {
    std::lock_guard lock(mutex_);
    return clients_.erase(id) > 0;
}

bool ServiceState::KnowsClient(const std::string& id) const {
    std::lock_guard lock(mutex_);
    return clients_.count(id) > 0;
}

void ServiceState::SetLatestClientVersion(const std::string& version) {
    std::lock_guard lock(mutex_);
    latest_client_version_ = version;
}

std::string ServiceState::LatestClientVersion() const {
    std::lock_guard lock(mutex_);
    return latest_client_version_;
}

void ServiceState::SetReports(std::shared_ptr<ReportStore> reports) {
    std::lock_guard lock(mutex_);
    reports_ = std::move(reports);
}

ReportStore* ServiceState::Reports() const {
    std::lock_guard lock(mutex_);
    return reports_.get();
}

std::string WrapResult(const std::string& value) { return "{\"result\":[" + value + "]}"; }

std::string JsonString(const std::string& text) {
    return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

bool SplitMethod(const std::string& target, std::string& method, std::string& argument) {
    const std::string prefix = kMethodPath;
    if (target.compare(0, prefix.size(), prefix) != 0) return false;
    std::size_t slash = target.find('/', prefix.size());
    if (slash == std::string::npos) {
        method = target.substr(prefix.size());
        argument.clear();
    } else {
        method = target.substr(prefix.size(), slash - prefix.size());
        argument = target.substr(slash + 1);
    }
    return true;
}

Reply AnswerGet(const std::string& target, ServiceState& state) {
    if (IsReportTarget(target)) {
        ReportStore* reports = state.Reports();
        if (!reports) return NotFound("No reports are kept");
        Reply reply;
        reply.status = reports->Read(target, reply.body, reply.content_type);
        return reply;
    }
    std::string method, argument;
    if (!SplitMethod(target, method, argument)) return NotFound("No such path");

    if (method == "RUN_ZORV_PROJECT") return Ok(RunProjectResult(argument, state.Reports()));
    if (method == "Get_tcBc_Colls_for_Cross_Type") return ClassCatalogue(CoreShape::kCruciform, argument);
    if (method == "Get_tcBc_Colls_for_Single_Plate_Type") return ClassCatalogue(CoreShape::kFlat, argument);
    if (method == "Get_Universal_Beams") return SectionCatalogue(UniversalBeams(), argument);
    if (method == "Get_Universal_Columns") return SectionCatalogue(UniversalColumns(), argument);
    if (method == "Get_Random_Client_ID") return Ok(JsonString(state.NewClientId()));
    if (method == "Get_Server_Version") return Ok(JsonString(kServerVersion));
    if (method == "Get_Latest_Client_Version") return Ok(JsonString(state.LatestClientVersion()));
    if (method == "Remove_Random_Client_FILES") {
        // The argument is the client's address, a hyphen and its identifier;
        // the identifier holds no hyphen, the address may be empty.
        std::size_t hyphen = argument.rfind('-');
        std::string id = hyphen == std::string::npos ? argument : argument.substr(hyphen + 1);
        bool known = state.ForgetClient(id);
        bool had_files = state.Reports() && state.Reports()->RemoveClient(id);
        return Ok(JsonString(known || had_files ? "Removed the files of " + id : "No files kept for " + id));
    }
    if (method == "Remove_Random_Client_ID") {
        bool known = state.ForgetClient(argument);
        return Ok(JsonString(known ? "Removed " + argument : "Unknown client " + argument));
    }
    return NotFound("No such method: " + method);
}

}  // namespace zorv_service
