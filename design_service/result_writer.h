#pragma once
// Lays a designed bay out as the run result, key by key in the order of the
// family's key lists, and as the two report files.
#include <string>

#include "design_service/brace_design.h"
#include "design_service/design_request.h"
#include "design_service/result_keys.h"

namespace zorv_service {

struct ReportPaths {
    std::string text, sheet, drawing;  // "Reports\<client>\<project>.txt" and so on
};

// The result object text. Throws std::logic_error when the design left a
// listed key without a value or with a value that is not finite.
std::string WriteResultJson(const DesignRequest& request, const BayDesign& bay, const ReportPaths& paths,
                            const std::vector<std::string>& notes);

// A calculation summary for a person to read.
std::string WriteTextReport(const DesignRequest& request, const BayDesign& bay);
// Every result key with its value, one a line, tab-separated (a spreadsheet opens it).
std::string WriteSheetReport(const DesignRequest& request, const BayDesign& bay);

// The text of {"Error": message}.
std::string ErrorResultJson(const std::string& message);

}  // namespace zorv_service
