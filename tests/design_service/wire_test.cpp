#include "design_service/wire.h"

#include <gtest/gtest.h>

#include "design_service/methods.h"

namespace {

using namespace zorv_service;

TEST(ScanHead, FindsTheBlankLineAndEnforcesTheLimits) {
    struct Case {
        std::string received;
        HeadScan scan;
        std::size_t head_end;
    };
    const std::string long_line = "GET /" + std::string(kMaxRequestLineBytes, 'a') + " HTTP/1.1\r\n\r\n";
    const std::string many_headers = "GET / HTTP/1.1\r\n" + std::string(kMaxHeadBytes, 'h') + "\r\n\r\n";
    const Case cases[] = {
        {"", HeadScan::kIncomplete, 0},
        {"GET / HTTP/1.1\r\n", HeadScan::kIncomplete, 0},
        {"GET / HTTP/1.1\r\nHost: a\r\n", HeadScan::kIncomplete, 0},
        {"GET / HTTP/1.1\r\n\r\n", HeadScan::kComplete, 18},
        {"GET / HTTP/1.1\r\nHost: a\r\n\r\nbody", HeadScan::kComplete, 27},
        {"GET / HTTP/1.1\n\n", HeadScan::kComplete, 16},
        {"GET /a b HTTP/1.1\r\nHost: a\r\n\r\n", HeadScan::kComplete, 30},
        {long_line, HeadScan::kTooLarge, 0},
        {long_line.substr(0, kMaxRequestLineBytes + 1), HeadScan::kTooLarge, 0},  // no line end yet, already too long
        {many_headers, HeadScan::kTooLarge, 0},
    };
    for (const Case& c : cases) {
        std::size_t end = 0;
        EXPECT_EQ(ScanHead(c.received, end), c.scan) << c.received.substr(0, 60);
        if (c.scan == HeadScan::kComplete) {
            EXPECT_EQ(end, c.head_end) << c.received;
        }
    }
}

TEST(ParseRequestLine, TargetIsEverythingBetweenTheFirstAndTheLastBlank) {
    struct Case {
        std::string head, method, target;
    };
    const Case cases[] = {
        {"GET /x HTTP/1.1\r\n\r\n", "GET", "/x"},
        {"GET /R/{\"a\":\"b c\",\"d\":\"e  f\"} HTTP/1.1\r\nHost: h\r\n\r\n", "GET", "/R/{\"a\":\"b c\",\"d\":\"e  f\"}"},
        {"GET /p/%20%7B?q=1 HTTP/1.0\n\n", "GET", "/p/%20%7B?q=1"},
        {"POST /x HTTP/1.1\r\n\r\n", "POST", "/x"},
        {"GET /a HTTP/1.1 HTTP/1.1\r\n\r\n", "GET", "/a HTTP/1.1"},
    };
    for (const Case& c : cases) {
        RequestLine line;
        std::string error;
        ASSERT_TRUE(ParseRequestLine(c.head, line, error)) << c.head << ": " << error;
        EXPECT_EQ(line.method, c.method);
        EXPECT_EQ(line.target, c.target);
    }
}

TEST(ParseRequestLine, RefusesMalformedLines) {
    const std::string refused[] = {
        "GET\r\n\r\n", "GET /x\r\n\r\n", " /x HTTP/1.1\r\n\r\n", "GET /x HTTP/2\r\n\r\n", "GET /x http/1.1\r\n\r\n",
        "GET x HTTP/1.1\r\n\r\n", "GET  HTTP/1.1\r\n\r\n", "GE{T /x HTTP/1.1\r\n\r\n",
        std::string("GET /a\x01 HTTP/1.1\r\n\r\n"), std::string("GET /a\rb HTTP/1.1\r\n\r\n"),
        std::string("GET /a\tb HTTP/1.1\r\n\r\n"),
    };
    for (const std::string& head : refused) {
        RequestLine line;
        std::string error;
        EXPECT_FALSE(ParseRequestLine(head, line, error)) << head;
        EXPECT_FALSE(error.empty());
    }
}

TEST(FormatReply, WritesLengthAndClosesTheConnection) {
    EXPECT_EQ(FormatReply(200, "application/json", "{\"result\":[\"S\"]}"),
              "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: 16\r\n"
              "Connection: close\r\n\r\n{\"result\":[\"S\"]}");
    EXPECT_EQ(FormatReply(404, "text/plain", "").substr(0, 24), "HTTP/1.1 404 Not Found\r\n");
}

// The fault mode of bodies without a length: a chunked body, or one that ends with
// the connection.
TEST(FormatReply, AHeadWithoutALengthAndTheChunksOfABody) {
    EXPECT_EQ(FormatReplyHead(200, "text/plain", 99, BodyFraming::Chunked),
              "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nTransfer-Encoding: chunked\r\n"
              "Connection: close\r\n\r\n");
    EXPECT_EQ(FormatReplyHead(200, "text/plain", 99, BodyFraming::Close),
              "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(FormatChunk(std::string(26, 'x')), "1a\r\n" + std::string(26, 'x') + "\r\n");
    EXPECT_EQ(FormatChunk(""), "0\r\n\r\n");
}

TEST(SplitMethod, MethodIsOneSegmentAndTheArgumentIsTheRestUnchanged) {
    struct Case {
        std::string target;
        bool under_path;
        std::string method, argument;
    };
    const std::string root = kMethodPath;
    const Case cases[] = {
        {root + "Get_Server_Version/", true, "Get_Server_Version", ""},
        {root + "Get_Server_Version", true, "Get_Server_Version", ""},
        {root + "Get_Universal_Beams/NZ", true, "Get_Universal_Beams", "NZ"},
        {root + "RUN_ZORV_PROJECT/{\"u\":\"tonf/mm^2\",\"q\":\"a?b\"}", true, "RUN_ZORV_PROJECT",
         "{\"u\":\"tonf/mm^2\",\"q\":\"a?b\"}"},
        {root + "Remove_Random_Client_FILES/10.0.0.2-AB12", true, "Remove_Random_Client_FILES", "10.0.0.2-AB12"},
        {root + "X/%41%20", true, "X", "%41%20"},
        {"/datasnap/rest/TServerMethods2/Get_Server_Version/", false, "", ""},
        {"/", false, "", ""},
    };
    for (const Case& c : cases) {
        std::string method, argument;
        EXPECT_EQ(SplitMethod(c.target, method, argument), c.under_path) << c.target;
        if (!c.under_path) continue;
        EXPECT_EQ(method, c.method) << c.target;
        EXPECT_EQ(argument, c.argument) << c.target;
    }
}

}  // namespace
