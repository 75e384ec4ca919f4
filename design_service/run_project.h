#pragma once
// The design run behind "RUN_ZORV_PROJECT": takes the request JSON exactly as
// it arrived in the path and returns the result object text (the value that
// the reply wraps). The server code only calls this; the design lives here.
#include <string>

namespace zorv_service {

class ReportStore;

// Designs the bay of the request. A report run (QuickViewMode false, or
// Switch_of_Print_to_XLS true) also writes its report files into the store;
// without a store the paths are named but nothing is written. A request that
// cannot be designed gets {"Error": "..."}.
std::string RunProjectResult(const std::string& request_json, ReportStore* reports);
std::string RunProjectResult(const std::string& request_json);

}  // namespace zorv_service
