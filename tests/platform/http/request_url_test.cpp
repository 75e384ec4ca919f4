#include "platform/http/request_url.h"

#include <gtest/gtest.h>

#include "platform/text/exception.h"

namespace {

struct SplitCase {
    std::string url, origin, target;
};

TEST(SplitRequestUrl, KeepsPathAndQueryByteForByteAndDropsTheFragment) {
    const SplitCase cases[] = {
        {"http://localhost:8080/datasnap/rest/TServerMethods1/Get_Server_Version/", "http://localhost:8080/",
         "/datasnap/rest/TServerMethods1/Get_Server_Version/"},
        {"http://h:8080/R/{\"a\":\"b c\",\"d\":[1,2]}", "http://h:8080/", "/R/{\"a\":\"b c\",\"d\":[1,2]}"},
        {"http://h/p/%20%7B", "http://h/", "/p/%20%7B"},           // no decoding either
        {"http://h/p/x?y=1?z", "http://h/", "/p/x?y=1?z"},         // every "?" kept
        {"http://h/p/{\"n\":\"a#b\"}", "http://h/", "/p/{\"n\":\"a"},  // fragment not sent
        {"http://h/p/#", "http://h/", "/p/"},
        {"http://h:1", "http://h:1/", "/"},
        {"http://h:1?q", "http://h:1/", "/?q"},
        {"http://h:1#f", "http://h:1/", "/"},
        {"HTTP://h/x", "http://h/", "/x"},
        {"http://h/\xC3\xA9\xE4\xB8\xAD", "http://h/", "/\xC3\xA9\xE4\xB8\xAD"},  // bytes above 127 as they are
    };
    for (const SplitCase& c : cases) {
        http::RequestUrl split = http::SplitRequestUrl(c.url);
        EXPECT_EQ(split.origin, c.origin) << c.url;
        EXPECT_EQ(split.target, c.target) << c.url;
    }
}

TEST(SplitRequestUrl, RefusesControlCharactersAndUrlsItCannotSend) {
    const std::string refused[] = {
        std::string("http://h/a\rb"), std::string("http://h/a\nHost: evil"), std::string("http://h/a\tb"),
        std::string("http://h/a\x7F"), std::string("http://h/a\x01"), std::string("http://h/a\0b", 11),
        std::string("http://h\r\n/a"),
        "ftp://h/a", "https://h/a", "h/a", "http://", "http:///a", "http://user@h/a", "http://h h/a",
    };
    for (const std::string& url : refused) EXPECT_THROW(http::SplitRequestUrl(url), Exception) << url;
}

TEST(SplitRequestUrl, NamesTheControlCharacterAndWhereItIs) {
    try {
        http::SplitRequestUrl("http://h/ab\ncd");
        FAIL();
    } catch (const Exception& e) {
        EXPECT_NE(e.Message().find("0x0A"), std::string::npos) << e.Message();
        EXPECT_NE(e.Message().find("position 11"), std::string::npos) << e.Message();
    }
    EXPECT_EQ(http::FindControlCharacter("http://h/{\"a b\"}"), std::nullopt);
    EXPECT_EQ(http::FindControlCharacter("x\ry"), 1u);
}

}  // namespace
