// The report buttons and the web links: one report run each against the local
// service, the address the browser is given, and the fixed pages.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "batch/report_links.h"
#include "platform/os/shell.h"
#include "support/form_environment.h"

namespace {

using testing_support::ConnectionBox;
using testing_support::ErrorBox;
using testing_support::FormEnvironment;
using Box = ui::HeadlessBackend::Box;

class ReportLinks : public ::testing::Test {
protected:
    void SetUp() override {
        os::SetBrowserOpenerForTests([this](const std::string& url) { opened.push_back(url); });
        form = env.Create();
        ASSERT_NE(form, nullptr);
        env.Headless().TakeBoxes();
        env.Service().ClearRequestTargets();
    }
    void TearDown() override { os::UseSystemBrowserOpener(); }

    bool Click(TControl* control) {
        return ui::Dispatch([control] { control->OnClick(control); });
    }
    std::vector<std::string> Runs() const {
        std::vector<std::string> runs;
        for (const std::string& m : env.Methods())
            if (m.rfind("RUN_ZORV_PROJECT/", 0) == 0) runs.push_back(m);
        return runs;
    }
    // The report file that the service wrote for a path of the result.
    std::filesystem::path ServedFile(const std::string& path) {
        const std::string prefix = "Reports\\";
        EXPECT_EQ(path.rfind(prefix, 0), 0u) << path;
        std::string rest = path.substr(prefix.size());
        std::replace(rest.begin(), rest.end(), '\\', '/');
        return std::filesystem::path(env.Service().ReportFolder()) / rest;
    }

    FormEnvironment env;
    DOVEREForm* form = nullptr;
    std::vector<std::string> opened;
};

TEST(ReportAddress, HostSlashAndThePathWithForwardSlashes) {
    const std::pair<const char*, const char*> cases[] = {
        {"Reports\\abc\\my_zorv.txt", "localhost/Reports/abc/my_zorv.txt"},
        {"\\Reports\\a.xls", "localhost//Reports/a.xls"},
        {"Reports/mixed\\x.txt", "localhost/Reports/mixed/x.txt"},
        {"", "localhost/"},
    };
    for (const auto& [path, address] : cases) EXPECT_EQ(ReportAddress("localhost", ForwardSlashes(path)), address);
}

TEST_F(ReportLinks, TheCalculationButtonRunsOnceForTheTextReportAndOpensIt) {
    ASSERT_TRUE(Click(form->Button16));
    const std::vector<std::string> runs = Runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_NE(runs[0].find("\"QuickViewMode\":false"), std::string::npos) << runs[0];
    EXPECT_NE(runs[0].find("\"Switch_of_Print_to_XLS\":false"), std::string::npos);
    EXPECT_TRUE(form->QuickView);
    EXPECT_FALSE(form->PrintToXls);
    const std::string path = form->ResultObject.get<std::string>("SAVE_ZORV_FILE_PATH");
    EXPECT_TRUE(std::filesystem::is_regular_file(ServedFile(path))) << path;
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], "localhost/" + ForwardSlashes(path));
    EXPECT_EQ(form->ReportPaths.TextReport, ForwardSlashes(path)) << "the member keeps the forward slashes";
    EXPECT_EQ(opened[0].find('\\'), std::string::npos);
    EXPECT_TRUE(env.Headless().TakeBoxes().empty());
}

TEST_F(ReportLinks, TheExcelButtonRunsOnceForTheSpreadsheetReportAndOpensIt) {
    ASSERT_TRUE(Click(form->Button17));
    const std::vector<std::string> runs = Runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_NE(runs[0].find("\"QuickViewMode\":true"), std::string::npos) << runs[0];
    EXPECT_NE(runs[0].find("\"Switch_of_Print_to_XLS\":true"), std::string::npos);
    EXPECT_TRUE(form->QuickView);
    EXPECT_FALSE(form->PrintToXls);
    const std::string path = form->ResultObject.get<std::string>("SAVE_ZORV_XLS_PATH");
    EXPECT_TRUE(std::filesystem::is_regular_file(ServedFile(path))) << path;
    EXPECT_EQ(opened, std::vector<std::string>{"localhost/" + ForwardSlashes(path)});
    EXPECT_EQ(form->ReportPaths.Spreadsheet, ForwardSlashes(path));
}

TEST_F(ReportLinks, NoBrowserForARunThatReadNoReport) {
    const std::string earlier = form->ReportPaths.TextReport;
    zorv_service::Fault fault;
    fault.status = 500;
    env.Service().FailMethod("RUN_ZORV_PROJECT", fault);
    ASSERT_TRUE(Click(form->Button16));
    ASSERT_TRUE(Click(form->Button17));
    EXPECT_EQ(Runs().size(), 2u);
    EXPECT_TRUE(opened.empty()) << "not the previous result's report";
    EXPECT_EQ(env.Headless().TakeBoxes(), (std::vector<Box>{ConnectionBox(), ConnectionBox()}));
    EXPECT_EQ(form->ReportPaths.TextReport, earlier);
    EXPECT_TRUE(form->QuickView);
    EXPECT_FALSE(form->PrintToXls);
}

TEST_F(ReportLinks, AnErrorInTheRunLeavesTheSwitchesOrdinary) {
    form->LabeledEdit_H_col->SetText("4000.5");
    EXPECT_FALSE(Click(form->Button16));
    EXPECT_FALSE(Click(form->Button17));
    EXPECT_EQ(env.Headless().TakeBoxes(),
              (std::vector<Box>{ErrorBox("'4000.5' is not a valid integer value"),
                                ErrorBox("'4000.5' is not a valid integer value")}));
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(form->QuickView);
    EXPECT_FALSE(form->PrintToXls);
    form->LabeledEdit_H_col->SetText("4000");
    ASSERT_TRUE(form->RunDesign());
    ASSERT_EQ(Runs().size(), 1u);
    EXPECT_NE(Runs()[0].find("\"QuickViewMode\":true"), std::string::npos) << "the next run is an ordinary one";
    EXPECT_NE(Runs()[0].find("\"Switch_of_Print_to_XLS\":false"), std::string::npos);
}

TEST_F(ReportLinks, TheFixedPagesOpenWithoutADesign) {
    form->QuickView = false;  // whatever the switches hold, the links leave them
    form->PrintToXls = true;
    ASSERT_TRUE(Click(form->Button18));
    ASSERT_TRUE(Click(form->Image_Web_QR));
    EXPECT_EQ(opened, (std::vector<std::string>{kDownloadPageAddress, kHomePageAddress}));
    EXPECT_TRUE(env.Methods().empty());
    EXPECT_FALSE(form->QuickView);
    EXPECT_TRUE(form->PrintToXls);
    EXPECT_TRUE(env.Headless().TakeBoxes().empty());
}

TEST_F(ReportLinks, ABrowserThatCannotStartIsShown) {
    os::UseSystemBrowserOpener();
    const char* old = std::getenv("PATH");
    const std::string saved = old ? old : "";
    setenv("PATH", "/nonexistent-zorv-folder", 1);
    EXPECT_FALSE(Click(form->Button18));
    setenv("PATH", saved.c_str(), 1);
    EXPECT_EQ(env.Headless().TakeBoxes(),
              (std::vector<Box>{ErrorBox(std::string("Cannot open \"") + kDownloadPageAddress +
                                         "\" in the web browser: the program xdg-open was not found (it comes with "
                                         "the package xdg-utils).")}));
}

}  // namespace
