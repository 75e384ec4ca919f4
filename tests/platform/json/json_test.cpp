#include "platform/json/json.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/text/regional.h"

namespace {

using json::Array;
using json::False;
using json::Number;
using json::Object;
using json::Pair;
using json::String;
using json::True;

std::unique_ptr<json::Value> Num(double v) { return std::make_unique<Number>(v); }
std::unique_ptr<json::Value> Str(const std::string& s) { return std::make_unique<String>(s); }

struct NumberCase {
    double value;
    const char* text;
};

TEST(JsonNumber, DoublesInGeneralFormWithPoint) {
    const NumberCase cases[] = {
        // Widened single-precision values keep their rounding error.
        {static_cast<double>(0.1f), "0.100000001490116"},
        {static_cast<double>(75.3f), "75.3000030517578"},
        {static_cast<double>(20.4f), "20.3999996185303"},
        {static_cast<double>(0.033f), "0.0329999998211861"},
        {static_cast<double>(75.0f), "75"},
        {4000.5, "4000.5"},
        {4000, "4000"},
        {0.033, "0.033"},
        {0.049, "0.049"},
        {20.4, "20.4"},
        {0.48069, "0.48069"},
        {200.124, "200.124"},
        {-2.5, "-2.5"},
        {0.0, "0"},
        {-0.0, "0"},
        {0.0001, "0.0001"},
        {0.00009, "9E-5"},
        {1.5e-5, "1.5E-5"},
        {-1e-7, "-1E-7"},
        {999999999999999, "999999999999999"},
        {123456789012345.6, "123456789012346"},
        {1e15, "1E15"},
        {1e20, "1E20"},
        {-2.5e300, "-2.5E300"},
    };
    for (const auto& c : cases) EXPECT_EQ(Number(c.value).ToString(), c.text) << c.text;
}

TEST(JsonNumber, RegionalSeparatorDoesNotReachTheText) {
    text::ScopedDecimalSeparator comma(',');
    EXPECT_EQ(Number(20.4).ToString(), "20.4");
    EXPECT_EQ(Number(1.5e-5).ToString(), "1.5E-5");
}

TEST(JsonNumber, IntegersAsDigits) {
    EXPECT_EQ(Number(0).ToString(), "0");
    EXPECT_EQ(Number(-17).ToString(), "-17");
    EXPECT_EQ(Number(std::numeric_limits<int64_t>::max()).ToString(), "9223372036854775807");
    EXPECT_EQ(Number(0u).ToString(), "0");
}

TEST(JsonNumber, NonFiniteDoubleIsRefused) {
    for (double v : {std::nan(""), HUGE_VAL, -HUGE_VAL}) {
        EXPECT_THROW(Number{v}, EConvertError);
    }
    try {
        Number n(HUGE_VAL);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'INF' is not a valid JSON number");
    }
}

TEST(JsonString, EscapesQuoteBackslashAndControlCharactersOnly) {
    struct Case {
        std::string text;
        const char* written;
    };
    const Case cases[] = {
        {"tonf-mm", R"("tonf-mm")"},
        {"", R"("")"},
        {"UB 457x191x67", R"("UB 457x191x67")"},
        {"a\"b", R"("a\"b")"},
        {"C:\\Reports\\run.txt", R"("C:\\Reports\\run.txt")"},
        {"\\\"", R"("\\\"")"},
        {"line\nnext", R"("line\u000Anext")"},
        {"\t\r", R"("\u0009\u000D")"},
        {std::string("\x01\x1f", 2), R"("\u0001\u001F")"},
        {std::string("a\0b", 3), R"("a\u0000b")"},
        {"\x7f/", "\"\x7f/\""},
        {"\xCE\xA9h \xCE\xB2", "\"\xCE\xA9h \xCE\xB2\""},
    };
    for (const auto& c : cases) EXPECT_EQ(String(c.text).ToString(), c.written) << c.written;
}

TEST(JsonObject, PairsInOrderWithoutBlanks) {
    Object general;
    general.AddPair("Units", Str("tonf-mm")).AddPair("F_exx", Num(0.049)).AddPair("E", Num(20.4));
    EXPECT_EQ(general.ToString(), R"({"Units":"tonf-mm","F_exx":0.049,"E":20.4})");

    Object adjust;
    adjust.AddPair("z", std::make_unique<True>())
        .AddPair("a", std::make_unique<False>())
        .AddPair("K_eff_req", std::make_unique<Number>(0))
        .AddPair("a", std::make_unique<json::Bool>(true))
        .AddPair("say \"x\"", std::make_unique<Object>())
        .AddPair("list", std::make_unique<Array>());
    EXPECT_EQ(adjust.ToString(),
              R"({"z":true,"a":false,"K_eff_req":0,"a":true,"say \"x\"":{},"list":[]})");
    EXPECT_EQ(adjust.Count(), 6u);
    EXPECT_EQ(adjust.Get(2).Key(), "K_eff_req");
}

TEST(JsonArray, ElementsAndPairsJoinedByCommas) {
    auto inner = std::make_unique<Object>();
    inner->AddPair("H_col", Num(4000));
    Array pairs;
    pairs.Add(std::make_unique<Pair>("FRAME", std::move(inner)))
        .Add(std::make_unique<Pair>("n", std::make_unique<Number>(3)));
    EXPECT_EQ(pairs.ToString(), R"(["FRAME":{"H_col":4000},"n":3])");

    Array mixed;
    mixed.Add(Num(1.5)).Add(Str("x")).Add(std::make_unique<Array>()).Add(std::make_unique<False>());
    EXPECT_EQ(mixed.ToString(), R"([1.5,"x",[],false])");
    EXPECT_EQ(mixed.Count(), 4u);
}

TEST(JsonModel, MissingChildrenAreRefused) {
    Object object;
    Array array;
    EXPECT_THROW(object.AddPair("k", nullptr), Exception);
    EXPECT_THROW(object.AddPair(std::unique_ptr<Pair>()), Exception);
    EXPECT_THROW(array.Add(nullptr), Exception);
    EXPECT_EQ(object.ToString(), "{}");
    EXPECT_EQ(array.ToString(), "[]");
}

}  // namespace
