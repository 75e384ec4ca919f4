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

// Sets a request switch for one run and puts its ordinary value (the other one) back
// however the run ends, so that a failed report run leaves later runs ordinary.
class TSwitchForOneRun {
public:
    TSwitchForOneRun(bool& flag, bool during) : flag_(flag), after_(!during) { flag_ = during; }
    ~TSwitchForOneRun() { flag_ = after_; }
    TSwitchForOneRun(const TSwitchForOneRun&) = delete;
    TSwitchForOneRun& operator=(const TSwitchForOneRun&) = delete;

private:
    bool& flag_;
    bool after_;
};

// Runs the design with the switch set for one run, then opens the report the result
// names at that path. A run that read no result names no report of its own (its
// message has been shown), so nothing is opened then.
void RunForReport(DOVEREForm& form, bool& flag, bool during, std::string TReportPaths::*report) {
    bool fresh = false;
    {
        const TSwitchForOneRun report_run(flag, during);
        fresh = form.RunDesign();
    }
    if (!fresh) return;
    std::string& path = form.ReportPaths.*report;
    path = ForwardSlashes(path);
    os::OpenInBrowser(ReportAddress(form.ServiceHost, path));
}

}  // namespace

void DOVEREForm::Button16Click(TObject*) { RunForReport(*this, QuickView, false, &TReportPaths::TextReport); }

void DOVEREForm::Button17Click(TObject*) { RunForReport(*this, PrintToXls, true, &TReportPaths::Spreadsheet); }

void DOVEREForm::Button18Click(TObject*) { os::OpenInBrowser(kDownloadPageAddress); }

void DOVEREForm::Image_Web_QRClick(TObject*) { os::OpenInBrowser(kHomePageAddress); }
