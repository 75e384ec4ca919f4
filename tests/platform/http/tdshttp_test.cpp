// The HTTP client against the real local service over loopback.
#include "platform/http/TDSHTTP.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <list>
#include <new>
#include <stdexcept>

#include "design_service/local_service.h"
#include "platform/text/exception.h"
#include "support/scoped_environment.h"

namespace {

using testing_support::GetText;
using testing_support::kServiceRoot;
using testing_support::LocalService;
using testing_support::ScopedEnvironment;
using namespace testing_support;  // the fault helpers
using zorv_service::Fault;

const std::string kPath = "/datasnap/rest/TServerMethods1/";

TEST(TDSHTTP, SendsTheRequestTargetUnchangedAndNoFragment) {
    LocalService service;
    const std::string json = "{\"Client_Information\":{\"ClientID\":\"A B\",\"Name\":\"x?y\"},\"n\":[1,2.5,-3E-5]}";
    const std::string long_json = "{\"k\":\"" + std::string(6000, 'v') + " end\"}";
    struct Case {
        std::string sent, arrives;
    };
    const Case cases[] = {
        {kServiceRoot + "RUN_ZORV_PROJECT/" + json, kPath + "RUN_ZORV_PROJECT/" + json},
        {kServiceRoot + "RUN_ZORV_PROJECT/" + long_json, kPath + "RUN_ZORV_PROJECT/" + long_json},
        {kServiceRoot + "RUN_ZORV_PROJECT/{\"a\":\"b#c\"}", kPath + "RUN_ZORV_PROJECT/{\"a\":\"b"},
        {kServiceRoot + "Get_tcBc_Colls_for_Cross_Type/", kPath + "Get_tcBc_Colls_for_Cross_Type/"},
        {kServiceRoot + "Remove_Random_Client_FILES/-", kPath + "Remove_Random_Client_FILES/-"},
        {kServiceRoot + "Get_Server_Version/%7B?a=1&b", kPath + "Get_Server_Version/%7B?a=1&b"},
    };
    for (const Case& c : cases) {
        service->ClearRequestTargets();
        GetText(c.sent);
        ASSERT_EQ(service->RequestTargets(), std::vector<std::string>{c.arrives});
    }
}

TEST(TDSHTTP, FillsTheStreamWithTheBodyOnly) {
    LocalService service;
    service->FailNextRequest(BodyFault(std::string("\xEF\xBB\xBF{\"result\":[\"x\"]}\n", 19)));
    TDSHTTP client;
    std::vector<unsigned char> stream = {'o', 'l', 'd'};
    client.Get(kServiceRoot + "Get_Server_Version/", stream);
    EXPECT_EQ(std::string(stream.begin(), stream.end()), std::string("\xEF\xBB\xBF{\"result\":[\"x\"]}\n", 19));

    client.Get(kServiceRoot + "Get_Server_Version/", stream);  // replaced, not appended
    EXPECT_EQ(std::string(stream.begin(), stream.end()), "{\"result\":[\"S1.0.0-local\"]}");
}

TEST(TDSHTTP, OptionSetStartsEmptyAndTakesKeepOrigProtocol) {
    TDSHTTP client;
    EXPECT_FALSE(client.HTTPOptions.Contains(hoKeepOrigProtocol));
    client.HTTPOptions << hoKeepOrigProtocol;
    EXPECT_TRUE(client.HTTPOptions.Contains(hoKeepOrigProtocol));
}

// Every failure is an Exception, and the stream keeps what it held.
TEST(TDSHTTP, EveryFailureThrowsAndLeavesTheStreamAlone) {
    http::ScopedTimeouts quick(2000, 400);
    struct Case {
        const char* name;
        std::optional<Fault> fault;
        std::string method;
        std::string message_part;
    };
    const Case cases[] = {
        {"unknown method", std::nullopt, "No_Such_Method/", "404 Not Found"},
        {"server error", StatusFault(500), "Get_Server_Version/", "500 Internal Server Error"},
        {"error with a JSON body", StatusFault(503, "{\"result\":[\"busy\"]}"), "Get_Server_Version/",
         "503"},
        {"redirect not followed", StatusFault(302), "Get_Server_Version/", "302"},
        {"closed without reply", CloseFault(), "Get_Server_Version/", "without a reply"},
        {"body cut short", CutFault(10), "Get_tcBc_Colls_for_Cross_Type/SN490B", "cut short"},
        {"cut to nothing", CutFault(0), "Get_Server_Version/", "cut short"},
        {"no reply in time", DelayFault(5000), "Get_Server_Version/", "within 400 ms"},
    };
    LocalService service;
    for (const Case& c : cases) {
        service->ClearFaults();
        if (c.fault) service->FailNextRequest(*c.fault);
        TDSHTTP client;
        std::vector<unsigned char> stream = {'k', 'e', 'p', 't'};
        try {
            client.Get(kServiceRoot + c.method, stream);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const Exception& e) {
            EXPECT_NE(e.Message().find(c.message_part), std::string::npos) << c.name << ": " << e.Message();
        }
        EXPECT_EQ(std::string(stream.begin(), stream.end()), "kept") << c.name;
    }
}

// A client's own limit shortens the defaults and never lengthens them.
TEST(TDSHTTP, AClientsOwnTimeOutAppliesWhenItIsTheShorter) {
    struct Case {
        long default_ms, own_ms;
        const char* message_part;
    };
    const Case cases[] = {
        {400, 0, "within 400 ms"},
        {20000, 300, "within 300 ms"},
        {400, 3000, "within 400 ms"},
    };
    LocalService service;
    for (const Case& c : cases) {
        http::ScopedTimeouts limits(2000, c.default_ms);
        service->FailNextRequest(DelayFault(5000));
        TDSHTTP client;
        client.ResponseTimeout = c.own_ms;
        std::vector<unsigned char> stream;
        const auto start = std::chrono::steady_clock::now();
        try {
            client.Get(kServiceRoot + "Get_Server_Version/", stream);
            ADD_FAILURE() << c.own_ms << ": no error";
        } catch (const Exception& e) {
            EXPECT_NE(e.Message().find(c.message_part), std::string::npos) << e.Message();
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2500)) << c.own_ms;
    }
}

TEST(TDSHTTP, RefusedConnectionIsAnError) {
    http::ScopedConnectTo route({"localhost:8080:127.0.0.1:" + std::to_string(ClosedPort())});
    try {
        GetText(kServiceRoot + "Get_Server_Version/");
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_NE(e.Message().find("could not connect to localhost:8080"), std::string::npos) << e.Message();
    }
}

// The program reads no configuration: a proxy named in the environment, here one
// where nothing listens, is not asked.
TEST(TDSHTTP, GoesStraightToTheServiceWhateverTheProxyVariablesSay) {
    const std::string proxy = "http://127.0.0.1:" + std::to_string(ClosedPort());
    std::list<ScopedEnvironment> variables;
    for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"}) variables.emplace_back(name, proxy);
    for (const char* name : {"no_proxy", "NO_PROXY"}) variables.emplace_back(name, std::nullopt);
    LocalService service;
    EXPECT_EQ(GetText(kServiceRoot + "Get_Server_Version/"), "{\"result\":[\"S1.0.0-local\"]}");
    EXPECT_EQ(service->RequestTargets(), std::vector<std::string>{kPath + "Get_Server_Version/"});
}

TEST(TDSHTTP, UrlWithLineBreakIsRefusedBeforeAnythingIsSent) {
    LocalService service;
    for (const std::string& tail : std::vector<std::string>{"Remove_Random_Client_ID/a\r\nX-Injected: 1", "Remove_Random_Client_ID/a\nb",
                             "Remove_Random_Client_ID/a\rb", std::string("Remove_Random_Client_ID/a\0b", 27)}) {
        EXPECT_THROW(GetText(kServiceRoot + tail), Exception);
    }
    // The next good request is the first the service sees.
    GetText(kServiceRoot + "Get_Server_Version/");
    EXPECT_EQ(service->RequestTargets(), std::vector<std::string>{kPath + "Get_Server_Version/"});
}

TEST(TDSHTTP, ConnectToMappingAndTimeoutsAreRestoredAfterTheirScope) {
    const auto before = http::CurrentTimeouts();
    EXPECT_EQ(before.connect_ms, 5000) << "the program's own limits";
    EXPECT_EQ(before.total_ms, 60000);
    {
        http::ScopedTimeouts quick(10, 20);
        http::ScopedConnectTo route({"a:1:b:2"});
        EXPECT_EQ(http::CurrentTimeouts().total_ms, 20);
        EXPECT_EQ(http::ConnectToForTests(), std::vector<std::string>{"a:1:b:2"});
    }
    EXPECT_EQ(http::CurrentTimeouts().total_ms, before.total_ms);
    EXPECT_TRUE(http::ConnectToForTests().empty());
}

// A target that libcurl will not send as given must not go out as something else:
// over its option limit it used to be dropped, and the GET went out as "/".
TEST(TDSHTTP, ATargetTooLongToSendRaisesAndNothingGoesOut) {
    LocalService service;
    struct Case {
        std::size_t bytes;
        const char* message_part;
    };
    const Case cases[] = {
        {2'000'000, "HTTP GET failed"},  // longer than libcurl builds a request head
        {8'000'001, "the request target was refused"},
        {9'000'000, "the request target was refused"},
    };
    for (const Case& c : cases) {
        service->ClearRequestTargets();
        // Were anything sent, whatever its target, it would get a 200 answer.
        service->FailNextRequest(BodyFault("{\"result\":[\"removed\"]}"));
        const std::string tail = "Remove_Random_Client_ID/" + std::string(c.bytes, 'I');
        TDSHTTP client;
        std::vector<unsigned char> stream = {'k', 'e', 'p', 't'};
        try {
            client.Get(kServiceRoot + tail, stream);
            ADD_FAILURE() << c.bytes << ": no error";
        } catch (const Exception& e) {
            EXPECT_NE(e.Message().find(c.message_part), std::string::npos) << c.bytes << ": " << e.Message();
        }
        EXPECT_EQ(std::string(stream.begin(), stream.end()), "kept") << c.bytes;
        EXPECT_TRUE(service->RequestTargets().empty()) << c.bytes;
        service->ClearFaults();
    }
}

// 64 MiB is the most a reply may hold, whether its head announces the length or not.
TEST(TDSHTTP, AReplyOverSixtyFourMebibytesIsRefused) {
    constexpr std::size_t kMiB64 = 67'108'864;
    using zorv_service::BodyFraming;
    const struct {
        const char* name;
        BodyFraming framing;
    } cases[] = {
        {"with its length", BodyFraming::Length},
        {"in chunks", BodyFraming::Chunked},
        {"ended by the close", BodyFraming::Close},
    };
    LocalService service;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string body(kMiB64, 'b');
        body.back() = 'e';
        service->FailNextRequest(FramedFault(body, c.framing));
        TDSHTTP client;
        std::vector<unsigned char> stream;
        client.Get(kServiceRoot + "Get_Server_Version/", stream);
        ASSERT_EQ(stream.size(), kMiB64) << "a reply of exactly the limit is taken whole";
        EXPECT_EQ(stream.back(), 'e');

        body.push_back('b');
        service->FailNextRequest(FramedFault(std::move(body), c.framing));
        stream = {'k', 'e', 'p', 't'};
        try {
            client.Get(kServiceRoot + "Get_Server_Version/", stream);
            ADD_FAILURE() << "no error";
        } catch (const Exception& e) {
            EXPECT_NE(e.Message().find("larger than 67108864 bytes"), std::string::npos) << e.Message();
        }
        EXPECT_TRUE(std::string(stream.begin(), stream.end()) == "kept") << "the stream holds " << stream.size();
    }
}

// What a callback throws never crosses libcurl: it ends the GET as the client's error.
TEST(TDSHTTP, AFailureInsideAReplyCallbackIsTheClientsError) {
    struct Case {
        const char* name;
        http::ReplyPart part;
        std::function<void()> fail;
        const char* message_part;
    };
    const Case cases[] = {
        {"no memory for a header", http::ReplyPart::Header, [] { throw std::bad_alloc(); }, "not enough memory"},
        {"no memory for the body", http::ReplyPart::Body, [] { throw std::bad_alloc(); }, "not enough memory"},
        {"another failure in the body", http::ReplyPart::Body, [] { throw std::length_error("vector"); },
         "could not be stored"},
    };
    LocalService service;
    for (const Case& c : cases) {
        http::SetReceiveHookForTests([&c](http::ReplyPart part) {
            if (part == c.part) c.fail();
        });
        TDSHTTP client;
        std::vector<unsigned char> stream = {'k', 'e', 'p', 't'};
        try {
            client.Get(kServiceRoot + "Get_Server_Version/", stream);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const Exception& e) {
            EXPECT_NE(e.Message().find(c.message_part), std::string::npos) << c.name << ": " << e.Message();
            EXPECT_NE(e.Message().find("localhost:8080"), std::string::npos) << c.name << ": " << e.Message();
        }
        EXPECT_EQ(std::string(stream.begin(), stream.end()), "kept") << c.name;
    }
    http::SetReceiveHookForTests(nullptr);
    EXPECT_EQ(GetText(kServiceRoot + "Get_Server_Version/"), "{\"result\":[\"S1.0.0-local\"]}");
}

}  // namespace
