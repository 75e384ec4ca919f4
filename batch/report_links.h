#pragma once
// The texts that the report buttons and the web links hand to the browser.
#include <string>

// The download page and the home page of the program's web site.
inline constexpr const char* kDownloadPageAddress = "https://www.zorv.example/downloads/";
inline constexpr const char* kHomePageAddress = "https://www.zorv.example/";

// The path with every "\" turned into "/".
std::string ForwardSlashes(std::string path);

// A report file at the service's host: host, "/", path; no scheme and no port, as
// the service's web server expects.
std::string ReportAddress(const std::string& host, const std::string& path);
