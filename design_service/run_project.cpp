#include "design_service/run_project.h"

#include <exception>

#include "design_service/brace_design.h"
#include "design_service/design_request.h"
#include "design_service/reports.h"
#include "design_service/result_writer.h"

namespace zorv_service {

std::string RunProjectResult(const std::string& request_json) { return RunProjectResult(request_json, nullptr); }

std::string RunProjectResult(const std::string& request_json, ReportStore* reports) {
    DesignRequest request;
    std::string error;
    if (!ReadDesignRequest(request_json, request, error)) return ErrorResultJson(error);
    try {
        BayDesign bay = DesignBay(request);
        const std::string client = ReportStore::SafeName(request.client_id, "anonymous");
        const std::string project = ReportStore::SafeName(request.project_id, "project");
        ReportPaths paths{ReportStore::WirePath(client, project + ".txt"),
                          ReportStore::WirePath(client, project + ".xls"),
                          ReportStore::WirePath(client, project + ".dxf")};
        std::vector<std::string> notes = bay.notes;
        auto write = [&](const std::string& file, const std::string& content) {
            std::string why = "no report folder";
            if (!reports || !reports->Write(client, file, content, why))
                notes.push_back("The report " + file + " was not written: " + why + ".");
        };
        if (!request.quick_view) write(project + ".txt", WriteTextReport(request, bay));
        if (request.print_xls) write(project + ".xls", WriteSheetReport(request, bay));
        return WriteResultJson(request, bay, paths, notes);
    } catch (const std::exception& failure) {
        return ErrorResultJson(std::string("The design could not be completed: ") + failure.what());
    }
}

}  // namespace zorv_service
