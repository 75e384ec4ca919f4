// The report buttons and the two web links.
#include "batch/report_links.h"

#include <algorithm>

#include "app/DOVEREFORM.h"
#include "platform/os/shell.h"

std::string ForwardSlashes(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::string ReportAddress(const std::string& host, const std::string& path) { return host + "/" + path; }

namespace {

// Sets a request switch for one run and puts its ordinary value back however the
// run ends, so that a failed report run leaves later runs ordinary.
class TSwitchForOneRun {
public:
    TSwitchForOneRun(bool& flag, bool during, bool after) : flag_(flag), after_(after) { flag_ = during; }
    ~TSwitchForOneRun() { flag_ = after_; }
    TSwitchForOneRun(const TSwitchForOneRun&) = delete;
    TSwitchForOneRun& operator=(const TSwitchForOneRun&) = delete;

private:
    bool& flag_;
    bool after_;
};

}  // namespace

void DOVEREForm::Button16Click(TObject*) {
    bool fresh = false;
    {
        const TSwitchForOneRun text_report(QuickView, false, true);
        fresh = RunDesign();
    }
    // A run that read no result names no report of its own; its message has been shown.
    if (!fresh) return;
    ReportPaths.TextReport = ForwardSlashes(ReportPaths.TextReport);
    os::OpenInBrowser(ReportAddress(ServiceHost, ReportPaths.TextReport));
}

void DOVEREForm::Button17Click(TObject*) {
    bool fresh = false;
    {
        const TSwitchForOneRun spreadsheet_report(PrintToXls, true, false);
        fresh = RunDesign();
    }
    if (!fresh) return;
    ReportPaths.Spreadsheet = ForwardSlashes(ReportPaths.Spreadsheet);
    os::OpenInBrowser(ReportAddress(ServiceHost, ReportPaths.Spreadsheet));
}

void DOVEREForm::Button18Click(TObject*) { os::OpenInBrowser(kDownloadPageAddress); }

void DOVEREForm::Image_Web_QRClick(TObject*) { os::OpenInBrowser(kHomePageAddress); }
