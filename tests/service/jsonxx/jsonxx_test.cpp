#include "service/jsonxx/jsonxx.h"

#include "live_blocks.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <locale>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using jsonxx::Array;
using jsonxx::MissingKey;
using jsonxx::Object;
using jsonxx::Value;

std::string dump(const Value& v);

std::string dump(const Object& o) {
    std::string out = "{";
    bool first = true;
    for (const auto& [key, value] : o.members()) {
        out += (first ? "\"" : ",\"") + key + "\":" + dump(value);
        first = false;
    }
    return out + "}";
}

// A canonical text of a tree: members in key order, strings with their raw
// bytes, numbers with %.17g.
std::string dump(const Value& v) {
    switch (v.kind()) {
    case Value::Kind::number: {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.17g", *v.number());
        return buf;
    }
    case Value::Kind::string: return "\"" + *v.string() + "\"";
    case Value::Kind::boolean: return *v.boolean() ? "true" : "false";
    case Value::Kind::null: return "null";
    case Value::Kind::array: {
        std::string out = "[";
        for (std::size_t i = 0; i < v.array()->size(); ++i) out += (i ? "," : "") + dump(*v.array()->at(i));
        return out + "]";
    }
    case Value::Kind::object: return dump(*v.object());
    case Value::Kind::invalid: return "invalid";
    }
    return "?";
}

// What the parse left unread.
std::string rest_of(std::istream& in) {
    in.clear();
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct ParseCase {
    const char* name;
    std::string text;
    bool ok;
    std::string tree;  // the tree after the parse, complete or not
    const char* rest;  // unread text, or nullptr when it does not matter
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }

class ObjectParse : public testing::TestWithParam<ParseCase> {};

TEST_P(ObjectParse, GivesResultTreeAndRest) {
    const ParseCase& c = GetParam();
    std::istringstream in(c.text);
    Object o;
    EXPECT_EQ(Object::parse(in, o), c.ok);
    EXPECT_EQ(dump(o), c.tree);
    if (c.rest != nullptr) {
        EXPECT_EQ(rest_of(in), c.rest);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, ObjectParse,
    testing::Values(
        ParseCase{"Empty", "{}", true, "{}", ""},
        ParseCase{"EmptyWithBlanks", "{  }", true, "{}", ""},
        ParseCase{"AllSpaceKinds", " \t\n\v\f\r{ \"a\" :\r\n 1\t}", true, "{\"a\":1}", ""},
        ParseCase{"FailedValueEndsMembers", R"({"a":})", true, "{}", ""},
        ParseCase{"FailedSecondValueKeepsFirst", R"({"a":1,"b":})", true, "{\"a\":1}", ""},
        ParseCase{"TrailingCommaInObject", R"({"a":1,})", false, "{\"a\":1}", "}"},
        ParseCase{"TrailingCommaInArray", R"({"a":[1,]})", true, "{\"a\":[1]}", ""},
        ParseCase{"EmptyArray", R"({"a":[]})", true, "{\"a\":[]}", ""},
        ParseCase{"LeadingCommaInArray", R"({"a":[,1]})", false, "{}", ",1]}"},
        ParseCase{"MissingComma", R"({"a":1 "b":2})", false, "{\"a\":1}", "\"b\":2}"},
        ParseCase{"TrailingTextIgnored", R"({"a":1}trailing)", true, "{\"a\":1}", "trailing"},
        ParseCase{"EmptyText", "", false, "{}", ""},
        ParseCase{"OnlyBlanks", " \n ", false, "{}", ""},
        ParseCase{"ArrayAtTop", "[1]", false, "{}", "[1]"},
        ParseCase{"NoOpeningBrace", "x{}", false, "{}", "x{}"},
        ParseCase{"UnquotedKey", "{a:1}", false, "{}", "a:1}"},
        ParseCase{"MissingColon", R"({"a" 1})", false, "{}", "1}"},
        ParseCase{"EmptyKey", R"({"":1})", true, "{\"\":1}", ""},
        ParseCase{"KeysAreCaseSensitive", R"({"A":1,"a":2})", true, "{\"A\":1,\"a\":2}", ""},
        ParseCase{"LastDuplicateWins", R"({"a":1,"a":2})", true, "{\"a\":2}", ""},
        ParseCase{"DuplicateOfOtherKind", R"({"a":{"b":"x"},"a":"y"})", true, "{\"a\":\"y\"}", ""},
        ParseCase{"UnicodeEscapeKept", R"({"s":"x\u0041"})", true, "{\"s\":\"x\\u0041\"}", ""},
        ParseCase{"EscapedSlash", R"({"s":"a\/b"})", true, "{\"s\":\"a/b\"}", ""},
        ParseCase{"KnownEscapes", R"({"s":"\"\\\b\f\n\r\t"})", true, "{\"s\":\"\"\\\b\f\n\r\t\"}", ""},
        ParseCase{"UnknownEscapeKept", R"({"s":"\q\x"})", true, "{\"s\":\"\\q\\x\"}", ""},
        ParseCase{"RawTabAndHighBytes", "{\"s\":\"a\tb\xe9\xff\"}", true, "{\"s\":\"a\tb\xe9\xff\"}", ""},
        ParseCase{"EscapedKey", R"({"a\"b":1})", true, "{\"a\"b\":1}", ""},
        ParseCase{"UnterminatedString", R"({"s":"abc)", false, "{}", ""},
        ParseCase{"BackslashAtEnd", R"({"s":"abc\)", false, "{}", ""},
        ParseCase{"UnterminatedKey", R"({"abc)", false, "{}", ""},
        ParseCase{"NumberForms", R"({"a":-1.5e2,"b":+3,"c":007,"d":.5,"e":5.,"f":1E+2,"g":-0,"h":0.e1})", true,
                  "{\"a\":-150,\"b\":3,\"c\":7,\"d\":0.5,\"e\":5,\"f\":100,\"g\":-0,\"h\":0}", ""},
        ParseCase{"LongestNumberPrefix", R"({"a":1.5.5})", false, "{\"a\":1.5}", ".5}"},
        ParseCase{"Literals", R"({"t":true,"f":false,"z":null})", true, "{\"f\":false,\"t\":true,\"z\":null}", ""},
        ParseCase{"LiteralFollowedByLetters", R"({"t":trueish})", false, "{\"t\":true}", "ish}"},
        ParseCase{"PartialLiteral", R"({"a":nul})", false, "{}", "nul}"},
        ParseCase{"LoneSignStaysConsumed", R"({"a":-})", true, "{}", ""},
        ParseCase{"SignBeforeLiteral", R"({"a":-true})", true, "{\"a\":true}", ""},
        ParseCase{"ExponentWithoutDigits", R"({"a":1e,"b":2})", false, "{}", ",\"b\":2}"},
        ParseCase{"TooLargeFails", R"({"a":1e400})", true, "{}", ""},
        ParseCase{"TooSmallIsZero", R"({"a":1e-400,"b":-1e-400})", true, "{\"a\":0,\"b\":-0}", ""},
        // Digits far behind the point read as zero, as the stream reads them; far
        // before it they are too large, with or without an exponent.
        ParseCase{"UnderflowPlain", "{\"a\":0." + std::string(330, '0') + "1}", true, "{\"a\":0}", ""},
        ParseCase{"UnderflowWithPositiveExponent", "{\"a\":0." + std::string(400, '0') + "1e50}", true,
                  "{\"a\":0}", ""},
        ParseCase{"UnderflowNegative", "{\"a\":-0." + std::string(330, '0') + "1,\"b\":1}", true,
                  "{\"a\":-0,\"b\":1}", ""},
        ParseCase{"UnderflowInArray", "{\"a\":[0." + std::string(330, '0') + "12E-5,2]}", true,
                  "{\"a\":[0,2]}", ""},
        ParseCase{"SubnormalKept", "{\"a\":0." + std::string(320, '0') + "1}", true,
                  "{\"a\":9.9801260459931802e-322}", ""},
        ParseCase{"OverflowPlainFails", "{\"a\":1" + std::string(310, '0') + ",\"b\":1}", false, "{}", ",\"b\":1}"},
        ParseCase{"OverflowWithPositiveExponentFails", "{\"a\":0.00001e400}", true, "{}", ""},
        ParseCase{"OverflowOfDigitsBeforeThePointFails", "{\"a\":-12" + std::string(320, '0') + ".5e-5}", true,
                  "{}", ""},
        ParseCase{"OverflowInArrayEndsIt", "{\"a\":[1,9" + std::string(400, '9') + "]}", true, "{\"a\":[1]}", ""},
        ParseCase{"FailedArrayFallsToObject", R"({"a":[1 {"b":2}})", true, "{\"a\":{\"b\":2}}", ""},
        ParseCase{"Nested", R"({"o":{"p":{"q":[null,"x",[]]}}})", true, "{\"o\":{\"p\":{\"q\":[null,\"x\",[]]}}}", ""},
        ParseCase{"WrongCloser", R"({"a":"b"])", false, "{\"a\":\"b\"}", "]"},
        // The failed inner object leaves its closing brace to the outer one.
        ParseCase{"NestedFailureEndsOuterMembers", R"({"a":1,"b":{"c":2,}})", true, "{\"a\":1}", "}"}),
    [](const testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

class ValueParse : public testing::TestWithParam<ParseCase> {};

TEST_P(ValueParse, GivesResultTreeAndRest) {
    const ParseCase& c = GetParam();
    std::istringstream in(c.text);
    Value v;
    EXPECT_EQ(Value::parse(in, v), c.ok);
    EXPECT_EQ(dump(v), c.tree);
    if (c.rest != nullptr) {
        EXPECT_EQ(rest_of(in), c.rest);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, ValueParse,
    testing::Values(ParseCase{"Number", "3", true, "3", ""}, ParseCase{"NumberAmidBlanks", "  -0.5 ", true, "-0.5", " "},
                    ParseCase{"String", "\"x\"", true, "\"x\"", ""}, ParseCase{"True", "true", true, "true", ""},
                    ParseCase{"False", " false", true, "false", ""}, ParseCase{"Null", "null", true, "null", ""},
                    ParseCase{"LiteralPrefix", "trueish", true, "true", "ish"},
                    ParseCase{"PartialLiteralGivenBack", "nul", false, "invalid", "nul"},
                    ParseCase{"Arrays", "[1,[2,],{}]", true, "[1,[2],{}]", ""},
                    ParseCase{"Object", "{}", true, "{}", ""}, ParseCase{"Empty", "", false, "invalid", ""},
                    ParseCase{"UnclosedArray", "[1", false, "invalid", ""},
                    ParseCase{"FailedArrayFallsToObject", "[1 {\"b\":2}", true, "{\"b\":2}", ""},
                    ParseCase{"SignBeforeLiteral", "-true", true, "true", ""},
                    ParseCase{"Underflow", "0." + std::string(330, '0') + "1 ", true, "0", " "},
                    ParseCase{"Overflow", "1" + std::string(330, '0') + " ", false, "invalid", ""}),
    [](const testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

TEST(ValueParse, ResetsTargetEvenOnFailure) {
    Value v;
    std::istringstream first("\"some text long enough to need the heap\"");
    ASSERT_TRUE(Value::parse(first, v));
    ASSERT_TRUE(v.is<std::string>());
    std::istringstream second("]");
    EXPECT_FALSE(Value::parse(second, v));
    EXPECT_EQ(v.kind(), Value::Kind::invalid);
    EXPECT_FALSE(v.is<std::string>());
    EXPECT_EQ(v.string(), nullptr);
}

TEST(ArrayParse, ReadsOneArrayAndEmptiesTargetFirst) {
    Array a;
    std::istringstream first("[1,2,3]");
    ASSERT_TRUE(Array::parse(first, a));
    EXPECT_EQ(a.size(), 3u);
    std::istringstream second(" [\"x\",]");
    ASSERT_TRUE(Array::parse(second, a));
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(*a.at(0)->string(), "x");
    EXPECT_EQ(a.at(1), nullptr);
    std::istringstream third("{}");
    EXPECT_FALSE(Array::parse(third, a));
    EXPECT_EQ(a.size(), 0u);
}

struct MatchCase {
    const char* pattern;
    const char* text;
    bool ok;
    const char* rest;
};

TEST(Match, GivesBackWhatItMatchedOnFailure) {
    const MatchCase cases[] = {
        {"true", "  true!", true, "!"},  {"true", "  trux", false, "trux"}, {"true", "tru", false, "tru"},
        {"{", "", false, ""},            {"{", " \n ", false, ""},          {"null", "NULL", false, "NULL"},
        {",", "\t,x", true, "x"},
    };
    for (const MatchCase& c : cases) {
        std::istringstream in(c.text);
        EXPECT_EQ(jsonxx::match(c.pattern, in), c.ok) << c.pattern << " on " << c.text;
        EXPECT_EQ(rest_of(in), c.rest) << c.pattern << " on " << c.text;
    }
}

TEST(Match, AfterGivingBackAtTheEndTheTextIsReadable) {
    std::istringstream in("fals");
    bool b = true;
    EXPECT_FALSE(jsonxx::parse_bool(in, b));
    std::string word;
    EXPECT_TRUE(in >> word);
    EXPECT_EQ(word, "fals");
}

TEST(Helpers, ParseStringAndLiterals) {
    std::istringstream in(R"( "a\tb" true false null "open)");
    std::string s = "old";
    ASSERT_TRUE(jsonxx::parse_string(in, s));
    EXPECT_EQ(s, "a\tb");
    bool b = false;
    ASSERT_TRUE(jsonxx::parse_bool(in, b));
    EXPECT_TRUE(b);
    ASSERT_TRUE(jsonxx::parse_bool(in, b));
    EXPECT_FALSE(b);
    EXPECT_TRUE(jsonxx::parse_null(in));
    EXPECT_FALSE(jsonxx::parse_string(in, s));
}

// The reference: the stream's own extraction of a double in the classic locale.
struct Extraction {
    bool ok;
    double value;
    std::streamoff consumed;
};

Extraction by_stream(const std::string& text) {
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    double d = 0;
    in >> d;
    const bool ok = !in.fail();
    in.clear();
    return {ok, d, static_cast<std::streamoff>(in.tellg())};
}

Extraction by_reader(const std::string& text) {
    std::istringstream in(text);
    double d = 0;
    const bool ok = jsonxx::parse_number(in, d);
    in.clear();
    return {ok, d, static_cast<std::streamoff>(in.tellg())};
}

void expect_same_extraction(const std::string& text) {
    const Extraction want = by_stream(text);
    const Extraction got = by_reader(text);
    EXPECT_EQ(got.ok, want.ok) << "[" << text << "]";
    EXPECT_EQ(got.consumed, want.consumed) << "[" << text << "]";
    if (want.ok && got.ok) {
        EXPECT_EQ(std::memcmp(&got.value, &want.value, sizeof(double)), 0) << "[" << text << "]";
    }
}

TEST(ParseNumber, AcceptsWhatTheClassicStreamExtractionAccepts) {
    const char* cases[] = {"+3", "007", "-1.5e2", "-", "+", ".", "-.", ".5", "5.", "1e", "1e+", "1E-3x", "0x10",
                           "1.5.5", "1e5e5", "--1", "+-1", "inf", "nan", "1e400", "-1e400", "1e-400", "-2e-324",
                           "4.9e-324", "1.7976931348623157e308", "1.8e308", "0.000000000000000000001e330",
                           "123456789012345678901234567890123456789012345678901234567890123456789012345",
                           "0000000000000000000000000000000000000000000000000000000000000000000000000001.5",
                           "  \n 42", "1e99999999999999999999999", "1e-99999999999999999999999", ""};
    for (const char* text : cases) expect_same_extraction(text);
}

TEST(ParseNumber, AgreesWithTheStreamOnRandomText) {
    std::mt19937 random(12345);
    const std::string alphabet = "0123456789+-.eE x";
    for (int n = 0; n < 200000; ++n) {
        std::string text(random() % 11, ' ');
        for (char& ch : text) ch = alphabet[random() % alphabet.size()];
        expect_same_extraction(text);
        if (HasFailure()) return;
    }
}

// Long numbers: runs of zeros before and after the point, hundreds of digits, and
// exponents that carry them back into range or out of it.
TEST(ParseNumber, AgreesWithTheStreamOnLongNumbers) {
    std::mt19937 random(67890);
    const auto run = [&](char digit, std::size_t max) { return std::string(random() % (max + 1), digit); };
    const auto digits = [&](std::size_t max) {
        std::string text(random() % (max + 1), '0');
        for (char& ch : text) ch = static_cast<char>('0' + random() % 10);
        return text;
    };
    for (int n = 0; n < 4000; ++n) {
        std::string text;
        if (random() % 3 == 0) text += random() % 2 ? '-' : '+';
        text += run('0', 400) + digits(random() % 4 ? 20 : 400);
        if (random() % 4) text += "." + run('0', 400) + digits(random() % 4 ? 20 : 400);
        if (random() % 2) {
            text += random() % 2 ? 'e' : 'E';
            if (random() % 2) text += random() % 2 ? '-' : '+';
            text += std::to_string(random() % 800);
        }
        if (random() % 2) text += ",";
        expect_same_extraction(text);
        if (HasFailure()) return;
    }
}

// A numpunct with a decimal comma, as a user's regional settings might give.
struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};

TEST(ParseNumber, IgnoresTheGlobalLocale) {
    const std::locale saved = std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    std::istringstream in(R"({"n":1.5,"m":2,5})");
    Object o;
    const bool ok = Object::parse(in, o);
    std::locale::global(saved);
    EXPECT_FALSE(ok);  // "2,5" is the number 2 and then a key is missing
    EXPECT_EQ(dump(o), "{\"m\":2,\"n\":1.5}");
}

Object parsed(const std::string& text) {
    std::istringstream in(text);
    Object o;
    EXPECT_TRUE(Object::parse(in, o)) << text;
    return o;
}

TEST(ObjectLookup, HasTellsKindWithoutThrowing) {
    const Object o = parsed(R"({"n":1,"s":"x","o":{},"b":true,"z":null,"a":[]})");
    struct {
        const char* key;
        bool number, text, object;
    } const cases[] = {
        {"n", true, false, false},  {"s", false, true, false},  {"o", false, false, true},
        {"b", false, false, false}, {"z", false, false, false}, {"a", false, false, false},
        {"N", false, false, false}, {"", false, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(o.has<double>(c.key), c.number) << c.key;
        EXPECT_EQ(o.has<std::string>(c.key), c.text) << c.key;
        EXPECT_EQ(o.has<Object>(c.key), c.object) << c.key;
    }
}

TEST(ObjectLookup, GetReturnsTheStoredValues) {
    const Object o = parsed(R"({"LEFT":{"P_y":270.5,"WES_Type":"Flat"},"K_eff":0.1})");
    EXPECT_EQ(o.get<double>("K_eff"), 0.1);
    const Object& left = o.get<Object>("LEFT");
    EXPECT_EQ(left.get<double>("P_y"), 270.5);
    EXPECT_EQ(left.get<std::string>("WES_Type"), "Flat");
    EXPECT_EQ(&left, o.find("LEFT")->object());
}

TEST(ObjectLookup, GetOfMissingOrMistypedKeyThrowsMissingKey) {
    const Object o = parsed(R"({"P_y":"12","s":1,"n":{}})");
    struct {
        std::function<void()> get;
        const char* message;
    } const cases[] = {
        {[&] { o.get<double>("P_y"); }, "Key \"P_y\" is missing or not a number"},
        {[&] { o.get<double>("absent"); }, "Key \"absent\" is missing or not a number"},
        {[&] { o.get<std::string>("s"); }, "Key \"s\" is missing or not a text"},
        {[&] { o.get<Object>("s"); }, "Key \"s\" is missing or not an object"},
        {[&] { o.get<double>("n"); }, "Key \"n\" is missing or not a number"},
    };
    for (const auto& c : cases) {
        try {
            c.get();
            ADD_FAILURE() << "no exception for: " << c.message;
        } catch (const MissingKey& e) {
            EXPECT_EQ(e.Message(), c.message);
            const Exception& shown = e;  // the dispatcher catches this base
            EXPECT_EQ(shown.Message(), c.message);
        }
    }
    try {
        o.get<Object>("absent");
        ADD_FAILURE() << "no exception";
    } catch (const MissingKey& e) {
        EXPECT_EQ(e.Key(), "absent");
        EXPECT_EQ(e.Describe("Result key"), "Result key \"absent\" is missing or not an object")
            << "callers name what they read";
    }
}

// Heap blocks that stay held after parsing the texts one after the other
// into one object.
long blocks_held_after(const std::vector<std::string>& texts) {
    std::vector<std::istringstream> streams;
    streams.reserve(texts.size());
    for (const std::string& t : texts) streams.emplace_back(t);
    Object o;
    const long before = LiveBlocks();
    for (auto& in : streams) Object::parse(in, o);
    return LiveBlocks() - before;
}

const std::string kLong(60, 'x');  // beyond any small-string buffer

TEST(Ownership, SecondParseReplacesFirst) {
    const std::string first = R"({"a":1,"b":{"c":")" + kLong + R"(","d":[1,2,"x"]}})";
    const std::string second = R"({"e":")" + kLong + R"("})";
    std::istringstream in1(first), in2(second);
    Object o;
    ASSERT_TRUE(Object::parse(in1, o));
    ASSERT_TRUE(Object::parse(in2, o));
    EXPECT_EQ(dump(o), "{\"e\":\"" + kLong + "\"}");
    EXPECT_EQ(blocks_held_after({first, second}), blocks_held_after({second}));
}

TEST(Ownership, MemberParseAndMovesKeepOneOwner) {
    std::istringstream in(R"({"o":{"s":")" + kLong + R"("}})");
    Object o;
    ASSERT_TRUE(o.parse(in));
    const std::string* text = o.get<Object>("o").find("s")->string();
    Object moved = std::move(o);
    EXPECT_EQ(moved.get<Object>("o").find("s")->string(), text);

    std::istringstream one("[\"" + kLong + "\"]");
    Value a, b;
    ASSERT_TRUE(Value::parse(one, a));
    const long before = LiveBlocks();
    b = std::move(a);
    EXPECT_EQ(a.kind(), Value::Kind::invalid);  // NOLINT(bugprone-use-after-move)
    EXPECT_EQ(b.array()->size(), 1u);
    EXPECT_EQ(LiveBlocks(), before);
}

TEST(Ownership, DuplicateKeyReleasesTheEarlierValue) {
    const std::string once = R"({"a":")" + kLong + R"("})";
    const std::string twice = R"({"a":{"b":")" + kLong + R"("},"a":")" + kLong + R"("})";
    EXPECT_EQ(blocks_held_after({twice}), blocks_held_after({once}));
}

TEST(Ownership, NothingStaysHeldAfterFailedParsesAndDestruction) {
    const std::string texts[] = {
        R"({"a":[1,2,{"b":")" + kLong + R"(")",
        R"({"a":")" + kLong + R"(","b":{"c":[")" + kLong + R"(",)",
        R"({"a":[")" + kLong + R"(" {"b":")" + kLong + R"("}})",
        R"({"a":[")" + kLong + R"(" ]}x)",
        R"({"k":1,"k":[")" + kLong + R"("],"k":{"x":")" + kLong + R"("}})",
    };
    for (const std::string& text : texts) {
        std::istringstream in(text), again(text);
        const long before = LiveBlocks();
        {
            Object o;
            Object::parse(in, o);
            Value v;
            Value::parse(again, v);
        }
        EXPECT_EQ(LiveBlocks() - before, 0) << text;
    }
}

std::string nested(int depth, const char* open, const char* close, const char* inner) {
    std::string s;
    for (int i = 0; i < depth; ++i) s += open;
    s += inner;
    for (int i = 0; i < depth; ++i) s += close;
    return s;
}

TEST(Nesting, DepthIsCappedWithoutExhaustingTheStack) {
    const int max = jsonxx::MaxNestingDepth;
    // The top-level object counts as one level.
    struct {
        std::string text;
        bool ok;
    } const cases[] = {
        {"{\"a\":" + nested(max - 1, "[", "]", "1") + "}", true},
        {"{\"a\":" + nested(max, "[", "]", "1") + "}", false},
        {nested(max, "{\"a\":", "}", "1"), true},
        {nested(max + 1, "{\"a\":", "}", "1"), false},
        {"{\"a\":" + std::string(100000, '['), false},
        {nested(100000, "{\"a\":", "}", "1"), false},
        {nested(100000, "{\"a\":[", "]}", "1"), false},
    };
    for (const auto& c : cases) {
        std::istringstream in(c.text);
        const long before = LiveBlocks();
        {
            Object o;
            EXPECT_EQ(Object::parse(in, o), c.ok) << c.text.size();
        }
        EXPECT_EQ(LiveBlocks() - before, 0);
    }
    std::istringstream deep(std::string(100000, '['));
    Value v;
    EXPECT_FALSE(Value::parse(deep, v));
    std::istringstream ok(nested(max, "[", "]", ""));
    EXPECT_TRUE(Value::parse(ok, v));
}

std::string fixture_text(const std::filesystem::path& path) { return testing_support::ReadFile(path.string()); }

// Compares a reply read by jsonxx with the same reply read by a strict
// reader; strings with \u escapes are left out (jsonxx keeps them as written).
void expect_same_tree(const Object& o, const nlohmann::json& j, const std::string& where) {
    ASSERT_TRUE(j.is_object()) << where;
    EXPECT_EQ(o.size(), j.size()) << where;
    for (const auto& [key, value] : j.items()) {
        const Value* v = o.find(key);
        ASSERT_NE(v, nullptr) << where << key;
        if (value.is_number()) {
            ASSERT_TRUE(v->is<double>()) << where << key;
            EXPECT_EQ(*v->number(), value.get<double>()) << where << key;
        } else if (value.is_string()) {
            ASSERT_TRUE(v->is<std::string>()) << where << key;
            if (v->string()->find("\\u") == std::string::npos) {
                EXPECT_EQ(*v->string(), value.get<std::string>()) << where << key;
            }
        } else if (value.is_object()) {
            ASSERT_TRUE(v->is<Object>()) << where << key;
            expect_same_tree(*v->object(), value, where + key + ".");
        }
    }
}

TEST(Replies, ServiceRepliesReadAsAStrictReaderReadsThem) {
    const std::filesystem::path dir = testing_support::FixturePath("jsonxx-corpus");
    int replies = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().filename().string().rfind("reply-", 0) != 0) continue;
        ++replies;
        const std::string text = fixture_text(entry.path());
        std::istringstream in(text);
        Object o;
        ASSERT_TRUE(Object::parse(in, o)) << entry.path();
        expect_same_tree(o, nlohmann::json::parse(text), entry.path().filename().string() + ": ");
    }
    EXPECT_GE(replies, 4);

    const Object chevron = parsed(fixture_text(dir / "reply-chevron-result.json"));
    EXPECT_TRUE(chevron.get<Object>("LEFT").has<double>("P_y"));
    EXPECT_EQ(chevron.get<Object>("RIGHT").get<std::string>("STEEL_CASING_Type"), "Circular");
    const Object classes = parsed(fixture_text(dir / "reply-cross-type-classes.json"));
    EXPECT_EQ(classes.get<Object>("1").get<std::string>("Class").substr(5), "50tonf(tc=16mm)");
    EXPECT_EQ(classes.get<Object>("2").get<double>("tc"), 20);
}

}  // namespace
