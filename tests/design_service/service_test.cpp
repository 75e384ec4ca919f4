// The local service through the real HTTP client, and its server over raw sockets.
#include "design_service/design_service.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <nlohmann/json.hpp>
#include <set>
#include <thread>

#include "design_service/local_service.h"
#include "design_service/wire.h"
#include "platform/text/exception.h"

namespace {

using namespace testing_support;
using json = nlohmann::ordered_json;  // keeps member order, so dump() restores the text

// X of a reply {"result":[X]}, checked to be exactly that wrapper around
// compact JSON: no blank, line feed or byte-order mark anywhere outside strings.
json Unwrap(const std::string& body) {
    const std::string head = "{\"result\":[";
    EXPECT_EQ(body.substr(0, 11), head);
    EXPECT_GE(body.size(), 13u);
    EXPECT_EQ(body.substr(body.size() - 2), "]}");
    json value = json::parse(body.substr(11, body.size() - 13));
    EXPECT_EQ(body, head + value.dump() + "]}");
    return value;
}

bool AllOf(const std::string& text, const char* allowed) {
    return !text.empty() && text.find_first_not_of(allowed) == std::string::npos;
}

// "100tonf(tc=20mm)" -> 100 and 20; false for any other form.
bool ParseClassName(const std::string& name, std::string& capacity, std::string& tc) {
    std::size_t mid = name.find("tonf(tc=");
    if (mid == std::string::npos || name.size() < mid + 11 || name.substr(name.size() - 3) != "mm)") return false;
    capacity = name.substr(0, mid);
    tc = name.substr(mid + 8, name.size() - 3 - (mid + 8));
    return AllOf(capacity, "0123456789") && AllOf(tc, "0123456789");
}

// Digits, optionally a point and more digits.
bool IsDecimalText(const std::string& text) {
    std::size_t point = text.find('.');
    if (point == std::string::npos) return AllOf(text, "0123456789");
    return AllOf(text.substr(0, point), "0123456789") && AllOf(text.substr(point + 1), "0123456789");
}

// What the client reads of a numbered catalogue: members "1", "2", ... up to the first gap.
std::vector<json> Entries(const json& catalogue) {
    std::vector<json> entries;
    for (int i = 1; i <= 999; ++i) {
        auto it = catalogue.find(std::to_string(i));
        if (it == catalogue.end() || !it->is_object()) break;
        entries.push_back(*it);
    }
    return entries;
}

TEST(DesignServiceReplies, EveryMethodAnswersWithTheExactWrapper) {
    LocalService service;
    struct Case {
        std::string tail;
        bool string_value;  // else an object
    };
    const Case cases[] = {
        {"Get_Random_Client_ID/", true},
        {"Get_Server_Version/", true},
        {"Get_Latest_Client_Version/", true},
        {"Remove_Random_Client_FILES/192.168.1.5-0123", true},
        {"Remove_Random_Client_ID/0123", true},
        {"Get_tcBc_Colls_for_Cross_Type/", false},
        {"Get_tcBc_Colls_for_Single_Plate_Type/A36", false},
        {"Get_Universal_Beams/NZ", false},
        {"Get_Universal_Columns/NZ", false},
        {"RUN_ZORV_PROJECT/{\"Client_Information\":{\"ClientID\":\"\"},\"BRB\":{\"WES_Type\":\"Cruciform\"}}", false},
        {"RUN_ZORV_PROJECT/not json", false},
        {"Get_tcBc_Colls_for_Cross_Type/XYZ", false},
    };
    for (const Case& c : cases) {
        json value = Unwrap(GetText(kServiceRoot + c.tail));
        EXPECT_EQ(value.is_string(), c.string_value) << c.tail;
        EXPECT_EQ(value.is_object(), !c.string_value) << c.tail;
    }
}

TEST(DesignServiceReplies, StringValuesTheStartUpQueriesCut) {
    LocalService service;
    std::string id1 = Unwrap(GetText(kServiceRoot + "Get_Random_Client_ID/")).get<std::string>();
    std::string id2 = Unwrap(GetText(kServiceRoot + "Get_Random_Client_ID/")).get<std::string>();
    EXPECT_NE(id1, id2);
    // The identifier goes back into URLs and request texts unescaped.
    EXPECT_TRUE(id1.size() == 16 && AllOf(id1, "0123456789ABCDEF")) << id1;

    EXPECT_EQ(Unwrap(GetText(kServiceRoot + "Get_Latest_Client_Version/")), "C21062501");
    service->SetLatestClientVersion("C22010101");
    EXPECT_EQ(Unwrap(GetText(kServiceRoot + "Get_Latest_Client_Version/")), "C22010101");
    EXPECT_FALSE(Unwrap(GetText(kServiceRoot + "Get_Server_Version/")).get<std::string>().empty());

    EXPECT_TRUE(service->State().KnowsClient(id1));
    EXPECT_EQ(Unwrap(GetText(kServiceRoot + "Remove_Random_Client_ID/" + id1)), "Removed " + id1);
    EXPECT_FALSE(service->State().KnowsClient(id1));
    EXPECT_EQ(Unwrap(GetText(kServiceRoot + "Remove_Random_Client_ID/" + id1)), "Unknown client " + id1);
    // Files by address and identifier; an empty address leaves the leading hyphen.
    EXPECT_EQ(Unwrap(GetText(kServiceRoot + "Remove_Random_Client_FILES/-" + id2)), "Removed the files of " + id2);
    EXPECT_FALSE(service->State().KnowsClient(id2));
}

// Yield stresses by grade code, tonf/mm^2, as the client's grade table has them.
const std::map<std::string, double> kFy = {
    {"", 0.033}, {"SN400B", 0.024}, {"SN490B", 0.033}, {"SM570", 0.0428}, {"A36", 0.025}, {"A572Gr50", 0.035}};

TEST(DesignServiceCatalogues, ClassCataloguesHaveTheClientsShapeAndHoldTheirCapacity) {
    LocalService service;
    for (bool cruciform : {true, false}) {
        const std::string method =
            cruciform ? "Get_tcBc_Colls_for_Cross_Type/" : "Get_tcBc_Colls_for_Single_Plate_Type/";
        for (const auto& [code, fy] : kFy) {
            const std::string where = method + code;
            json catalogue = Unwrap(GetText(kServiceRoot + where));
            std::vector<json> entries = Entries(catalogue);
            EXPECT_EQ(entries.size(), catalogue.size()) << where << ": a gap or a stray member";
            EXPECT_GE(entries.size(), 60u) << where;
            std::set<std::string> names;
            for (const json& entry : entries) {
                ASSERT_TRUE(entry["Class"].is_string() && entry["tc"].is_number() && entry["Bc"].is_number())
                    << entry.dump();
                const std::string full = entry["Class"];
                ASSERT_GT(full.size(), 5u);
                const std::string name = full.substr(5);  // what the client keeps
                std::string capacity_text, tc_text;
                ASSERT_TRUE(ParseClassName(name, capacity_text, tc_text)) << full;
                EXPECT_TRUE(names.insert(name).second) << where << ": " << name << " twice";
                const double capacity = std::stod(capacity_text);
                const double tc = entry["tc"], bc = entry["Bc"];
                EXPECT_EQ(tc, std::stod(tc_text)) << full;
                const double area = cruciform ? 2 * tc * bc - tc * tc : tc * bc;
                const double py = area * fy;
                EXPECT_GE(py, capacity) << where << " " << full;
                EXPECT_LE(py, capacity * 1.25) << where << " " << full;
                EXPECT_GE(bc / tc, 4.0) << full;
                EXPECT_LE(bc / tc, 16.0) << full;
            }
        }
        EXPECT_EQ(GetText(kServiceRoot + method), GetText(kServiceRoot + method + "SN490B"));
    }
}

TEST(DesignServiceCatalogues, UnknownCodesAndRegionsGetAnErrorObject) {
    LocalService service;
    for (const char* tail : {"Get_tcBc_Colls_for_Cross_Type/sn490b", "Get_tcBc_Colls_for_Single_Plate_Type/X",
                             "Get_Universal_Beams/AU", "Get_Universal_Columns/"}) {
        json value = Unwrap(GetText(kServiceRoot + tail));
        EXPECT_TRUE(Entries(value).empty()) << tail;
        EXPECT_TRUE(value["Error"].is_string()) << tail;
    }
}

TEST(DesignServiceCatalogues, UniversalSectionsHaveDimensionTextsWithDecimalPoints) {
    LocalService service;
    for (const char* tail : {"Get_Universal_Beams/NZ", "Get_Universal_Columns/NZ"}) {
        json catalogue = Unwrap(GetText(kServiceRoot + tail));
        std::vector<json> entries = Entries(catalogue);
        EXPECT_EQ(entries.size(), catalogue.size()) << tail;
        EXPECT_GE(entries.size(), 30u) << tail;
        std::set<std::string> names;
        for (const json& entry : entries) {
            std::map<std::string, double> n;
            for (const char* key : {"SEC", "D", "W", "tw", "tf"}) ASSERT_TRUE(entry[key].is_string()) << entry.dump();
            for (const char* key : {"D", "W", "tw", "tf"}) {
                const std::string text = entry[key];
                ASSERT_TRUE(IsDecimalText(text)) << entry.dump();
                n[key] = std::stod(text);
            }
            EXPECT_TRUE(names.insert(entry["SEC"]).second) << entry.dump();
            EXPECT_GT(n["tf"], n["tw"]) << entry.dump();
            EXPECT_GT(n["D"], 2 * n["tf"] + 50) << entry.dump();
            EXPECT_GT(n["W"], 100);
            EXPECT_LT(n["D"], 1000);
        }
    }
}

TEST(DesignServiceFaults, NextRequestFaultAppliesOnceAndMethodFaultsUntilCleared) {
    LocalService service;
    const std::string version = kServiceRoot + "Get_Server_Version/";
    const std::string beams = kServiceRoot + "Get_Universal_Beams/NZ";
    const std::string normal = GetText(version);

    service->FailNextRequest(BodyFault("{\"result\":[\"x"));  // too short for the client's cut
    EXPECT_EQ(GetText(beams), "{\"result\":[\"x");
    EXPECT_EQ(GetText(version), normal);

    service->FailMethod("Get_Server_Version", BodyFault("not JSON at all"));
    EXPECT_EQ(GetText(version), "not JSON at all");
    EXPECT_EQ(GetText(version), "not JSON at all");
    Unwrap(GetText(beams));  // other methods unaffected
    service->ClearFaults();
    EXPECT_EQ(GetText(version), normal);

    service->FailMethod("Get_Server_Version", StatusFault(500));
    EXPECT_THROW(GetText(version), Exception);
    service->ClearFaults();
    EXPECT_EQ(GetText(version), normal);
}

TEST(DesignServiceFaults, StopEndsADelayedRequestAtOnce) {
    auto service = std::make_unique<LocalService>();
    (*service)->FailNextRequest(DelayFault(600000));
    std::atomic<bool> failed{false};
    std::thread client([&] {
        try {
            GetText(kServiceRoot + "Get_Server_Version/");
        } catch (const Exception&) {
            failed = true;
        }
    });
    while ((*service)->RequestTargets().empty()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    (*service)->Stop();
    client.join();
    EXPECT_TRUE(failed);
    EXPECT_FALSE((*service)->Running());
}

TEST(DesignServiceServer, AnswersClientsInParallel) {
    LocalService service;
    std::atomic<int> good{0};
    std::vector<std::thread> clients;
    for (int t = 0; t < 8; ++t)
        clients.emplace_back([&] {
            for (int i = 0; i < 5; ++i)
                if (GetText(kServiceRoot + "Get_Universal_Columns/NZ").size() > 1000) ++good;
        });
    for (auto& c : clients) c.join();
    EXPECT_EQ(good, 40);
    EXPECT_EQ(service->RequestTargets().size(), 40u);
}

// --- raw sockets, for what a well-behaved client never sends ---

int Connect(unsigned short port) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    ::inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
    EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    return fd;
}

// Everything the server sends until it closes (or 5 s pass).
std::string ReadToClose(int fd) {
    std::string out;
    char buffer[4096];
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0) return out + "<no close>";
        ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) return out;
        out.append(buffer, static_cast<std::size_t>(n));
    }
}

std::string Exchange(unsigned short port, const std::string& request) {
    int fd = Connect(port);
    ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
    std::string reply = ReadToClose(fd);
    ::close(fd);
    return reply;
}

TEST(DesignServiceServer, BadRequestsGetTheirStatusAndTheServerGoesOn) {
    zorv_service::ServiceOptions options;
    options.read_timeout = std::chrono::milliseconds(300);
    LocalService service(options);
    const unsigned short port = service->Port();
    struct Case {
        std::string request, status_line;
    };
    const Case cases[] = {
        {"GET /datasnap/rest/TServerMethods1/Get_Server_Version/ HTTP/1.1\r\nHost: x\r\n\r\n", "HTTP/1.1 200 OK"},
        {"GET /datasnap/rest/TServerMethods1/RUN_ZORV_PROJECT/{\"a\":\"b c\"} HTTP/1.1\r\n\r\n", "HTTP/1.1 200 OK"},
        {"GET /datasnap/rest/TServerMethods1/Nope/ HTTP/1.1\r\n\r\n", "HTTP/1.1 404 Not Found"},
        {"GET /favicon.ico HTTP/1.1\r\n\r\n", "HTTP/1.1 404 Not Found"},
        {"POST /datasnap/rest/TServerMethods1/Get_Server_Version/ HTTP/1.1\r\n\r\n",
         "HTTP/1.1 405 Method Not Allowed"},
        {"garbage\r\n\r\n", "HTTP/1.1 400 Bad Request"},
        {"GET /a\x01 HTTP/1.1\r\n\r\n", "HTTP/1.1 400 Bad Request"},
        {"GET /" + std::string(zorv_service::kMaxRequestLineBytes + 10, 'x') + " HTTP/1.1\r\n\r\n",
         "HTTP/1.1 400 Bad Request"},
        {"GET / HTTP/1.1\r\nHost: x\r\n", ""},  // head never ends: dropped after the time-out
        {"", ""},  // silent client: dropped after the time-out
    };
    for (const Case& c : cases) {
        std::string reply = Exchange(port, c.request);
        EXPECT_EQ(reply.substr(0, reply.find("\r\n")), c.status_line) << c.request.substr(0, 80);
    }
    // Headers past the limit are refused as well.
    std::string huge = "GET / HTTP/1.1\r\n";
    while (huge.size() <= zorv_service::kMaxHeadBytes) huge += "X-Filler: " + std::string(1000, 'z') + "\r\n";
    std::string reply = Exchange(port, huge + "\r\n");
    EXPECT_EQ(reply.substr(0, reply.find("\r\n")), "HTTP/1.1 400 Bad Request");

    EXPECT_EQ(GetText(kServiceRoot + "Get_Server_Version/"), "{\"result\":[\"S1.0.0-local\"]}");
}

}  // namespace
