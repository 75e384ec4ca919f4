// A design run through the real server and HTTP client, and the report files
// that a report run leaves for the client's links.
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <gtest/gtest.h>

#include "design_service/local_service.h"
#include "design_service/methods.h"
#include "design_service/reports.h"
#include "design_service/run_support.h"
#include "platform/text/exception.h"

namespace {

using namespace testing_support;
using zorv_service::Family;
using zorv_service::ReportStore;

// A fresh folder under the temporary folder, removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zorv-reports-test-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
        path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// X of {"result":[X]}.
json Unwrap(const std::string& body) {
    EXPECT_EQ(body.substr(0, 11), "{\"result\":[");
    EXPECT_EQ(body.substr(body.size() - 2), "]}");
    return json::parse(body.substr(11, body.size() - 13));
}

// The browser's address of a report: the path with "/" for "\".
std::string ReportUrl(const std::string& path) {
    std::string url = path;
    std::replace(url.begin(), url.end(), '\\', '/');
    return "http://localhost:8080/" + url;
}

TEST(RunOverTheWire, EveryFamilyAnswersAsTheDesignDoes) {
    LocalService service;
    for (Family family : kFamilies) {
        SCOPED_TRACE(zorv_service::FamilyName(family));
        json request = FamilyRequest(family);
        request["Client_Information"]["ZORV_Proj_ID"] = "bay A 1";  // a blank travels raw in the path
        json reply = Unwrap(GetText(kServiceRoot + "RUN_ZORV_PROJECT/" + request.dump()));
        EXPECT_EQ(reply, Design(request));
        EXPECT_EQ(reply["SAVE_ZORV_FILE_PATH"], "Reports\\0123456789ABCDEF\\bay_A_1.txt");
        EXPECT_EQ(reply["SAVE_ZORV_XLS_PATH"], "Reports\\0123456789ABCDEF\\bay_A_1.xls");
        EXPECT_EQ(reply["SAVE_ZORV_DXF_PATH"], "Reports\\0123456789ABCDEF\\bay_A_1.dxf");
    }
    // A request the client cut short still gets the wrapper around an error object.
    json cut = Unwrap(GetText(kServiceRoot + "RUN_ZORV_PROJECT/{\"FRAME\":{\"UB_Upper_Beam\":\"A"));
    EXPECT_TRUE(cut["Error"].is_string());
}

TEST(RunOverTheWire, AReportRunLeavesFilesTheLinksReach) {
    LocalService service;
    json request = DefaultRequest();
    request["Client_Information"]["ClientID"] = "../../etc";
    json quick = Unwrap(GetText(kServiceRoot + "RUN_ZORV_PROJECT/" + request.dump()));
    const std::string text_path = quick["SAVE_ZORV_FILE_PATH"], sheet_path = quick["SAVE_ZORV_XLS_PATH"];
    EXPECT_EQ(text_path, "Reports\\______etc\\my_zorv.txt");
    EXPECT_THROW(GetText(ReportUrl(text_path)), Exception);  // a quick run writes nothing

    request["Client_Information"]["QuickViewMode"] = false;
    json text_run = Unwrap(GetText(kServiceRoot + "RUN_ZORV_PROJECT/" + request.dump()));
    EXPECT_EQ(text_run["SAVE_ZORV_FILE_PATH"], text_path);
    const std::string report = GetText(ReportUrl(text_path));
    EXPECT_NE(report.find("Zorv design report"), std::string::npos);
    EXPECT_NE(report.find("not a design code"), std::string::npos);
    EXPECT_NE(report.find("DCR_7_down_c6"), std::string::npos);
    EXPECT_THROW(GetText(ReportUrl(sheet_path)), Exception);  // only the text was asked for

    request["Client_Information"]["QuickViewMode"] = true;
    request["Client_Information"]["Switch_of_Print_to_XLS"] = true;
    Unwrap(GetText(kServiceRoot + "RUN_ZORV_PROJECT/" + request.dump()));
    const std::string sheet = GetText(ReportUrl(sheet_path));
    EXPECT_EQ(sheet.rfind("Key\tValue\n", 0), 0u);
    EXPECT_NE(sheet.find("\nP_y\t501.6\n"), std::string::npos) << sheet.substr(0, 400);

    // Dropping the client's files takes the reports away.
    Unwrap(GetText(kServiceRoot + "Remove_Random_Client_FILES/192.168.1.5-______etc"));
    EXPECT_THROW(GetText(ReportUrl(text_path)), Exception);
    EXPECT_THROW(GetText(ReportUrl(sheet_path)), Exception);
}

TEST(ReportServing, OnlyFilesInsideTheFolderAreServed) {
    // A folder of the test's own, with the report folder and a neighbour beside it.
    ScratchFolder scratch;
    zorv_service::ServiceState state;
    auto store = std::make_shared<ReportStore>(scratch.Path() / "reports");
    state.SetReports(store);
    std::string error;
    ASSERT_TRUE(store->Write("C1", "p.txt", "report text", error)) << error;
    std::filesystem::create_directories(scratch.Path() / "outside");
    {
        std::ofstream(scratch.Path() / "outside" / "p.txt") << "not a report";
    }
    struct Case {
        std::string target;
        int status;
    };
    const Case cases[] = {
        {"/Reports/C1/p.txt", 200},      {"/Reports/C1/q.txt", 404},        {"/Reports/C2/p.txt", 404},
        {"/Reports/C1", 404},            {"/Reports/", 400},                {"/Reports/../C1/p.txt", 400},
        {"/Reports/C1/../C1/p.txt", 400}, {"/Reports/C1/..", 400},          {"/Reports//etc/passwd", 400},
        {"/Reports/C1\\p.txt", 400},     {"/Reports/C1/p.txt/x", 404},      {"/Reports/C1/.p.txt", 404},
        {"/Reports/C1/%2e%2e", 404},     {"/Reports/../outside/p.txt", 400}, {"/Reports/outside/p.txt", 404},
    };
    for (const Case& c : cases) {
        zorv_service::Reply reply = zorv_service::AnswerGet(c.target, state);
        EXPECT_EQ(reply.status, c.status) << c.target;
        if (c.status == 200) {
            EXPECT_EQ(reply.body, "report text");
        }
    }
}

TEST(ReportServing, WritesAreWholeAndBounded) {
    auto store = ReportStore::Temporary();
    std::string error;
    EXPECT_FALSE(store->Write("C1", "../x.txt", "x", error));
    EXPECT_FALSE(store->Write("C1", "big.txt", std::string(zorv_service::kMaxReportBytes + 1, 'x'), error));
    EXPECT_TRUE(store->Root().empty()) << "no folder before the first report";
    for (std::size_t i = 0; i < zorv_service::kMaxReportsPerClient; ++i)
        ASSERT_TRUE(store->Write("C1", "r" + std::to_string(i) + ".txt", "x", error)) << error;
    const std::filesystem::path root = store->Root();
    ASSERT_FALSE(root.empty());
    EXPECT_FALSE(store->Write("C1", "one-more.txt", "x", error));
    EXPECT_TRUE(store->Write("C1", "r0.txt", "rewritten", error)) << error;  // an existing one may be replaced
    std::size_t files = 0;
    for (auto& entry : std::filesystem::directory_iterator(root / "C1")) {
        ++files;
        EXPECT_NE(entry.path().filename().string()[0], '.') << "a partial file was left: " << entry.path();
    }
    EXPECT_EQ(files, zorv_service::kMaxReportsPerClient);
    EXPECT_EQ(ReadFile((root / "C1" / "r0.txt").string()), "rewritten");
    EXPECT_EQ(ReportStore::SafeName("", "anonymous"), "anonymous");
    EXPECT_EQ(ReportStore::SafeName("a/b\\c d.e", "x"), "a_b_c_d_e");
    EXPECT_EQ(ReportStore::SafeName(std::string(100, 'a'), "x").size(), 64u);
    store.reset();
    EXPECT_FALSE(std::filesystem::exists(root));  // a temporary store goes with its service
}

}  // namespace
