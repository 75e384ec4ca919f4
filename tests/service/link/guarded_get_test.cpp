// Every exchange is one guarded GET: the URL as composed, the reply cut by position,
// and on any failure the one connection message, once, with nothing of the failed
// reply kept.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>

#include "support/form_environment.h"

namespace {

using testing_support::ConnectionBox;
using testing_support::FormEnvironment;
using testing_support::ReplyFault;
using Box = ui::HeadlessBackend::Box;

class GuardedGetTest : public ::testing::Test {
protected:
    FormEnvironment env;
    DOVEREForm* form = env.Create();

    void SetUp() override {
        ASSERT_TRUE(env.Headless().TakeBoxes().empty());
        env.Service().ClearRequestTargets();
    }
};

TEST_F(GuardedGetTest, TheSendersRestoreTheResultObject) {
    struct SendCase {
        const char* body;
        const char* reply_text;
    };
    const SendCase cases[] = {
        {R"({"result":[{"a":1}]})", R"({"a":1})"},
        {R"({"result":[{}]})", "{}"},
        {"{}", "{}"},  // under 11 bytes
        {R"({"result":[{"t":"x y"}]})", R"({"t":"x y"})"},
    };
    for (const SendCase& c : cases) {
        env.Service().FailNextRequest(ReplyFault(c.body));
        EXPECT_TRUE(form->SendRunRequest());
        EXPECT_EQ(form->ReplyText, c.reply_text) << c.body;
        env.Service().FailNextRequest(ReplyFault(c.body));
        form->ReplyText.clear();
        EXPECT_TRUE(form->SendCatalogueRequest());
        EXPECT_EQ(form->ReplyText, c.reply_text) << c.body;
    }
    EXPECT_TRUE(env.Headless().Boxes().empty());
    EXPECT_EQ(form->HttpClient, nullptr);
}

TEST_F(GuardedGetTest, ARunRequestGoesOutAsOnePathSegmentUnchanged) {
    std::string request = R"({"Client_Information":{"ClientID":"","cfg":"Diagonal"},"FRAME":{"H_col":4000)";
    request += std::string(3000, '7') + R"(,"UB_Upper_Beam":"UB 914x419"}})";
    form->UrlTail = request;
    form->SendRunRequest();
    ASSERT_EQ(env.Methods().size(), 1u);
    EXPECT_EQ(env.Methods()[0], "RUN_ZORV_PROJECT/" + request);
    EXPECT_EQ(form->RequestUrl, "http://" ZORV_SERVICE_HOST ":8080" + std::string(service_link::kRunPath) + request);
}

TEST_F(GuardedGetTest, TheWindowShowsTheRunBeforeItsRequestGoesOut) {
    struct Seen {
        std::string lamp;
        TCursor cursor;
        bool edit_enabled;
        TColor edit_color;
        std::size_t requests;
    };
    std::vector<Seen> seen;
    env.Headless().SetOnPaintNow([&] {
        seen.push_back({form->Panel_RUN->Caption(), form->Cursor(), form->LabeledEdit_H_col->Enabled(),
                        form->LabeledEdit_H_col->Color(), env.Methods().size()});
    });
    ui::UserTypeText(form->LabeledEdit_H_col, "1");  // 40001: out of range
    ui::UserPressEnter(form->LabeledEdit_H_col);
    EXPECT_TRUE(seen.empty()) << "a run stopped by its checks sends nothing and waits for nothing";
    env.Headless().TakeBoxes();

    ui::UserKeyPress(form->LabeledEdit_H_col, '\b');
    ui::UserPressEnter(form->LabeledEdit_H_col);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].lamp, "RUN");
    EXPECT_EQ(seen[0].cursor, crHourGlass);
    EXPECT_FALSE(seen[0].edit_enabled) << "the edit is disabled for its run";
    EXPECT_EQ(seen[0].edit_color, clMaroon) << "and shows its value committed";
    EXPECT_EQ(seen[0].requests, 0u) << "before the request";
    ASSERT_EQ(env.Methods().size(), 1u);
    EXPECT_EQ(env.Methods()[0].rfind("RUN_ZORV_PROJECT/", 0), 0u);
}

TEST_F(GuardedGetTest, AnyFailureShowsTheConnectionMessageOnceAndKeepsTheLastReply) {
    struct FailureCase {
        const char* what;
        zorv_service::Fault fault;
    };
    zorv_service::Fault closed;
    closed.close_without_reply = true;
    zorv_service::Fault status;
    status.status = 500;
    zorv_service::Fault cut;
    cut.cut_body_after = 5;
    // 64 MiB and one byte.
    const zorv_service::Fault huge = ReplyFault("{\"result\":[{}]}" + std::string(67'108'865 - 15, ' '));
    const FailureCase cases[] = {
        {"no reply", closed}, {"an error status", status}, {"a body cut short", cut}, {"a body over 64 MiB", huge}};
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.what);
        form->ReplyText = "kept";
        form->UrlTail = "{}";
        env.Service().FailNextRequest(c.fault);
        EXPECT_FALSE(form->SendRunRequest());
        EXPECT_EQ(env.Headless().TakeBoxes(),
                  std::vector<Box>{testing_support::ErrorBox("[Error] Check the connection(Port: 80,8080,8081)!")});
        EXPECT_EQ(form->ReplyText, "kept");
        EXPECT_EQ(form->RequestUrl, "http://" ZORV_SERVICE_HOST ":8080" + std::string(service_link::kRunPath) + "{}");
        EXPECT_EQ(form->HttpClient, nullptr);
    }
}

TEST_F(GuardedGetTest, AFailureOfTheCallersUseOfTheReplyIsAFailedExchange) {
    form->ReplyText = "kept";
    EXPECT_FALSE(form->GuardedGet(service_link::kServerVersionPath, "", [](const std::string&) {
        throw jsonxx::MissingKey("tc", "a number");
    }));
    EXPECT_EQ(env.Headless().Boxes(), std::vector<Box>{ConnectionBox()});
    EXPECT_EQ(form->ReplyText, "kept");
}

TEST_F(GuardedGetTest, QueriesTakeTheStringValueWithoutItsQuotes) {
    env.Service().FailMethod("Get_Server_Version", ReplyFault(R"({"result":["1.2.3"]})"));
    form->QueryServerVersion();
    EXPECT_EQ(form->Label_Server_Version->Caption(), "1.2.3");
    EXPECT_EQ(form->ReplyText, "1.2.3");
    EXPECT_EQ(form->QueryPath, service_link::kServerVersionPath);

    env.Service().FailMethod("Get_Random_Client_ID", ReplyFault(R"({"result":["abc"]})"));
    const std::string caption = form->Caption();
    form->QueryRandomClientId();
    EXPECT_EQ(form->ClientId, "abc");
    EXPECT_EQ(form->Caption(), caption + " : abc");
    EXPECT_TRUE(env.Headless().Boxes().empty());

    // A failed query leaves its members as they were.
    zorv_service::Fault status;
    status.status = 404;
    env.Service().FailMethod("Get_Random_Client_ID", status);
    form->QueryRandomClientId();
    EXPECT_EQ(form->ClientId, "abc");
    EXPECT_EQ(form->Caption(), caption + " : abc");
    EXPECT_EQ(env.Headless().Boxes(), std::vector<Box>{ConnectionBox()});
}

TEST_F(GuardedGetTest, RemovalsNameTheClientAndKeepTheReplyUntrimmed) {
    form->ClientIp = "10.0.0.6";
    form->ClientId = "ABC";
    form->RemoveClientFiles();
    EXPECT_EQ(env.Methods().back(), "Remove_Random_Client_FILES/10.0.0.6-ABC");
    EXPECT_EQ(form->RemovePath, service_link::kRemoveClientFilesPath);
    EXPECT_TRUE(form->ReplyText.ends_with("]}")) << form->ReplyText;

    form->ClientId = "";
    form->RemoveClientFiles();
    EXPECT_EQ(env.Methods().back(), "Remove_Random_Client_FILES/10.0.0.6-");

    form->ClientId = "ABC";
    form->RemoveClientId();
    EXPECT_EQ(env.Methods().back(), "Remove_Random_Client_ID/ABC");
    EXPECT_EQ(form->ClientId, "ABC") << "the identifier stays for the life of the window";
    EXPECT_TRUE(env.Headless().Boxes().empty());
}

TEST_F(GuardedGetTest, TheHiddenClearButtonRemovesTheClientsFiles) {
    form->Button14Click(form->Button14);
    EXPECT_EQ(env.Methods().back(), "Remove_Random_Client_FILES/" + form->ClientIp + "-" + form->ClientId);
}

// The start-up queries, the catalogues and the removals wait 3 s to connect and in
// all; design runs keep the client's limits (here wider than the program's own).
TEST_F(GuardedGetTest, QueriesAndRemovalsWaitShortRunsLong) {
    http::ScopedTimeouts wide(20000, 90000);
    struct Case {
        const char* name;
        std::function<void()> call;
        long connect_ms, total_ms;
    };
    const Case cases[] = {
        {"client identifier", [&] { form->QueryRandomClientId(); }, 3000, 3000},
        {"server version", [&] { form->QueryServerVersion(); }, 3000, 3000},
        {"latest client version", [&] { form->CheckLatestClientVersion(); }, 3000, 3000},
        {"cross-type classes", [&] { form->LoadCrossTypeSections(); }, 3000, 3000},
        {"single-plate classes", [&] { form->LoadSinglePlateSections(); }, 3000, 3000},
        {"universal beams", [&] { form->LoadUniversalBeams(); }, 3000, 3000},
        {"universal columns", [&] { form->LoadUniversalColumns(); }, 3000, 3000},
        {"removal of the files", [&] { form->RemoveClientFiles(); }, 3000, 3000},
        {"removal of the identifier", [&] { form->RemoveClientId(); }, 3000, 3000},
        {"run request", [&] { form->SendRunRequest(); }, 20000, 90000},
        {"design button", [&] { ui::UserClick(form->Button_Refresh); }, 20000, 90000},
    };
    for (const Case& c : cases) {
        http::ResetLastTimeoutsForTests();
        c.call();
        EXPECT_EQ(http::LastTimeoutsForTests().connect_ms, c.connect_ms) << c.name;
        EXPECT_EQ(http::LastTimeoutsForTests().total_ms, c.total_ms) << c.name;
    }
}

// On the wire: a query answered after 1.5 s is heard, one not answered within 3 s is
// given up, and a run waits past that.
TEST_F(GuardedGetTest, ASlowServiceFailsAQueryButAnswersARun) {
    const auto slow = [](int ms, std::string body) {
        zorv_service::Fault fault = ReplyFault(std::move(body));
        fault.delay = std::chrono::milliseconds(ms);
        return fault;
    };
    env.Service().FailNextRequest(slow(1500, R"({"result":["S-after-1.5-s"]})"));
    form->QueryServerVersion();
    EXPECT_TRUE(env.Headless().TakeBoxes().empty());
    EXPECT_EQ(form->Label_Server_Version->Caption(), "S-after-1.5-s");

    env.Service().FailNextRequest(slow(4000, R"({"result":["S-after-4-s"]})"));
    const auto start = std::chrono::steady_clock::now();
    form->QueryServerVersion();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(3800));
    EXPECT_EQ(env.Headless().TakeBoxes(), std::vector<Box>{ConnectionBox()});
    EXPECT_EQ(form->Label_Server_Version->Caption(), "S-after-1.5-s") << "kept";

    env.Service().FailNextRequest(slow(4000, R"({"result":[{"a":4}]})"));
    EXPECT_TRUE(form->SendRunRequest());
    EXPECT_EQ(form->ReplyText, R"({"a":4})");
    EXPECT_TRUE(env.Headless().Boxes().empty());
}

// An identifier that the service handed out too long to send back: the removal fails
// as any failed exchange does, and nothing goes out in its place.
TEST_F(GuardedGetTest, ARemovalTooLongToSendFailsAndSendsNothing) {
    form->ClientId = std::string(8'000'001, 'I');
    form->ReplyText = "kept";
    env.Service().FailNextRequest(ReplyFault(R"({"result":["removed"]})"));
    form->RemoveClientId();
    EXPECT_EQ(env.Headless().TakeBoxes(), std::vector<Box>{ConnectionBox()});
    EXPECT_TRUE(env.Methods().empty());
    EXPECT_EQ(form->ReplyText, "kept");
    EXPECT_EQ(form->HttpClient, nullptr);
}

}  // namespace
