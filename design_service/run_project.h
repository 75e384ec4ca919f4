#pragma once
// The design run behind "RUN_ZORV_PROJECT": takes the request JSON exactly as
// it arrived in the path and returns the result object text (the value that
// the reply wraps). The server code only calls this; the design lives here.
#include <string>

namespace zorv_service {

std::string RunProjectResult(const std::string& request_json);

}  // namespace zorv_service
