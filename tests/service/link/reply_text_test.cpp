// The texts of the link: URLs as composed, the reply from its twelfth byte, and the
// cuts by position that each caller applies.
#include <gtest/gtest.h>

#include "service/catalogues.h"
#include "service/service_link.h"

namespace {

using namespace service_link;

std::vector<unsigned char> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

TEST(ReplyText, TheBodyIsReadFromItsTwelfthByteWithItsMark) {
    struct DecodeCase {
        std::vector<unsigned char> body;
        std::string text;
    };
    const std::string prefix = "{\"result\":[";
    ASSERT_EQ(prefix.size(), kReplyPrefixBytes);
    const DecodeCase cases[] = {
        {Bytes(""), ""},
        {Bytes("{}"), ""},  // shorter than the wrapper's opening
        {Bytes(prefix), ""},
        {Bytes(prefix + "\"abc\"]}"), "\"abc\"]}"},
        {Bytes(prefix + "\xEF\xBB\xBF\"x\"]}"), "\"x\"]}"},
        {Bytes(prefix + "\xC3\xA9]}"), "\xC3\xA9]}"},
        {[&] {
             auto b = Bytes(prefix + "\xFF\xFE");
             for (int c : {0x22, 0, 0xE9, 0, 0x22, 0}) b.push_back(static_cast<unsigned char>(c));
             return b;
         }(),
         "\"\xC3\xA9\""},
        {[&] {
             auto b = Bytes(prefix + "\xFE\xFF");
             for (int c : {0, 0x61, 0xD8, 0x3D, 0xDE, 0x00}) b.push_back(static_cast<unsigned char>(c));
             return b;
         }(),
         "a\xF0\x9F\x98\x80"},
        {[&] {
             auto b = Bytes(prefix + "\xFF\xFE");
             for (int c : {0x00, 0xD8, 0x61, 0x00, 0x62}) b.push_back(static_cast<unsigned char>(c));
             return b;
         }(),
         "\xEF\xBF\xBD" "a"},  // an unpaired surrogate, and an odd last byte dropped
        // Not UTF-8: each ill-formed part becomes U+FFFD, with or without a mark.
        {Bytes(prefix + "\"caf\xE9\"]}"), "\"caf\xEF\xBF\xBD\"]}"},
        {Bytes(prefix + "\xEF\xBB\xBF\xFF\xC3\xA9"), "\xEF\xBF\xBD\xC3\xA9"},
        {Bytes(prefix + "a\xE2\x82"), "a\xEF\xBF\xBD"},  // cut at the end of the body
    };
    for (const DecodeCase& c : cases) EXPECT_EQ(DecodeReplyText(c.body, kReplyPrefixBytes), c.text);
}

TEST(ReplyText, CutsByPositionCountCharactersAndGiveEmptyWhenTooShort) {
    struct CutCase {
        std::string text;
        std::size_t first, last;
        std::string cut;
    };
    const CutCase cases[] = {
        {"\"abc\"]}", 1, 3, "abc"},
        {"\"1.2.3\"]}", 1, 3, "1.2.3"},
        {"\"C21062501\"]}", 2, 3, "21062501"},
        {"\"C\"]}", 2, 3, ""},
        {"\"\"]}", 1, 3, ""},
        {"]}", 1, 3, ""},
        {"", 1, 3, ""},
        {"\"\xC3\xA9t\xC3\xA9\"]}", 1, 3, "\xC3\xA9t\xC3\xA9"},  // characters, not bytes
        {"\"a\\u0041\"]}", 1, 3, "a\\u0041"},               // escapes stay as written
        // Nothing cut at the end: up to the last character, none beyond it.
        {"NZC21062501", 3, 0, "21062501"},
        {"C21062501", 1, 0, "21062501"},
        {"abc", 0, 0, "abc"},
        {"\xC3\xA9t\xC3\xA9", 1, 0, "t\xC3\xA9"},
        {"NZC", 3, 0, ""},
        {"", 0, 0, ""},
    };
    for (const CutCase& c : cases) EXPECT_EQ(CutCharacters(c.text, c.first, c.last), c.cut) << c.text;
}

// Every text of up to six bytes over lead, continuation and plain bytes, cut every
// way up to three characters at each end, against a cut that first lists where every
// character starts.
TEST(ReplyText, CutsAgreeWithACountOfEveryCharacterOnEveryShortText) {
    const auto listed_cut = [](const std::string& text, std::size_t first, std::size_t last) {
        std::vector<std::size_t> starts;
        for (std::size_t i = 0; i < text.size(); ++i)
            if (i == 0 || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
        if (starts.size() <= first + last) return std::string();
        const std::size_t end = last == 0 ? text.size() : starts[starts.size() - last];
        return text.substr(starts[first], end - starts[first]);
    };
    const char bytes[] = {'a', '\xC3', '\xA9', '\xE2', '\x82'};
    std::vector<std::string> texts = {""};
    for (std::size_t from = 0; texts[from].size() < 6; ++from)
        for (char b : bytes) texts.push_back(texts[from] + b);
    for (const std::string& text : texts)
        for (std::size_t first = 0; first <= 3; ++first)
            for (std::size_t last = 0; last <= 3; ++last)
                ASSERT_EQ(CutCharacters(text, first, last), listed_cut(text, first, last))
                    << testing::PrintToString(text) << " " << first << " " << last;
}

TEST(ReplyText, ALongObjectReplyIsCutAtItsEndsOnly) {
    // 48 MB between two-byte characters at both ends of the value.
    const std::string inner = "{\"n\":\"\xC3\xA9" + std::string(48u << 20, 'x') + "\xC3\xA9\"}";
    const std::string object = RewrapObject(inner + "]}");
    EXPECT_EQ(object.size(), inner.size());
    EXPECT_TRUE(object == inner);
    EXPECT_EQ(CutCharacters("\"\xC3\xA9" + std::string(1u << 20, 'x') + "\xE2\x82\xAC\"]}", 2, 4),
              std::string(1u << 20, 'x'));
}

TEST(ReplyText, AnObjectReplyIsRestoredExactly) {
    EXPECT_EQ(RewrapObject("{\"a\":1}]}"), "{\"a\":1}");
    EXPECT_EQ(RewrapObject("{\"1\":{\"Class\":\"[CR] 280\"}}]}"), "{\"1\":{\"Class\":\"[CR] 280\"}}");
    EXPECT_EQ(RewrapObject("{}]}"), "{}");
    EXPECT_EQ(RewrapObject(""), "{}") << "a reply under 11 bytes";
    EXPECT_EQ(RewrapObject("\"Error\"]}"), "{Error}") << "another shape is cut all the same";
}

TEST(ReplyText, UrlsAreComposedByPlainConcatenation) {
    EXPECT_EQ(ServiceUrl("localhost", "8080", kRunPath, "{\"a\":\"b c\",\"d\":[1]}"),
              "http://localhost:8080/datasnap/rest/TServerMethods1/RUN_ZORV_PROJECT/{\"a\":\"b c\",\"d\":[1]}");
    EXPECT_EQ(ServiceUrl("localhost", "8080", kCrossTypePath, ""),
              "http://localhost:8080/datasnap/rest/TServerMethods1/Get_tcBc_Colls_for_Cross_Type/")
        << "an empty steel code ends the URL with the method's slash";
    EXPECT_EQ(ServiceUrl("h", "8080", kRemoveClientFilesPath, "10.0.0.6-"),
              "http://h:8080/datasnap/rest/TServerMethods1/Remove_Random_Client_FILES/10.0.0.6-");
}

TEST(ReplyText, VersionDigitsAndNotice) {
    EXPECT_EQ(OwnVersionDigits("NZC21062501", true), "21062501");
    EXPECT_EQ(OwnVersionDigits("C21062501", false), "21062501");
    EXPECT_EQ(OwnVersionDigits("NZ", true), "");
    EXPECT_EQ(UpdateNotice("21062502"),
              "The latest ZORV C21062502 is available now! Please visit the web site: " + std::string(kZorvWebSite));
}

TEST(ReplyText, ClassNamesLoseTheirFiveCharacterPrefix) {
    EXPECT_EQ(ClassName("[CR] 280"), "280");
    EXPECT_EQ(ClassName("[CR] 100tonf(tc=20mm)"), "100tonf(tc=20mm)");
    EXPECT_EQ(ClassName("[CR] "), "");
    EXPECT_EQ(ClassName("abc"), "");
}

}  // namespace
