// libFuzzer target for the JSON reader, built by scripts/test-extra/fuzz-jsonxx
// with clang outside the CMake build. Any input must parse or fail without a
// crash, a leak or a hang, lookups must throw only MissingKey, and numbers
// must be read exactly as the classic stream extraction reads them.
#include "service/jsonxx/jsonxx.h"

#include <cstdint>
#include <cstring>
#include <locale>
#include <sstream>
#include <string>

namespace {

const char* const kKeys[] = {"P_y", "K_eff", "LEFT", "RIGHT", "MIDDLE", "Class", "tc", "1", "a", ""};

template <typename T>
void look_up(const jsonxx::Object& o, const std::string& key) {
    const bool present = o.has<T>(key);
    try {
        const T& v = o.get<T>(key);
        (void)v;
        if (!present) __builtin_trap();
    } catch (const jsonxx::MissingKey&) {
        if (present) __builtin_trap();
    }
}

void walk(const jsonxx::Value& v);

void walk(const jsonxx::Object& o) {
    for (const char* key : kKeys) {
        look_up<double>(o, key);
        look_up<std::string>(o, key);
        look_up<jsonxx::Object>(o, key);
    }
    // Members are checked without throwing: an exception per member would
    // cost most of the run.
    for (const auto& [key, value] : o.members()) {
        if (o.has<double>(key) != value.is<double>() || o.has<std::string>(key) != value.is<std::string>() ||
            o.has<jsonxx::Object>(key) != value.is<jsonxx::Object>())
            __builtin_trap();
        if (value.is<double>() && &o.get<double>(key) != value.number()) __builtin_trap();
        if (value.is<std::string>() && &o.get<std::string>(key) != value.string()) __builtin_trap();
        if (value.is<jsonxx::Object>() && &o.get<jsonxx::Object>(key) != value.object()) __builtin_trap();
        walk(value);
    }
}

void walk(const jsonxx::Value& v) {
    if (const jsonxx::Object* o = v.object()) walk(*o);
    if (const jsonxx::Array* a = v.array())
        for (std::size_t i = 0; i < a->size(); ++i) walk(*a->at(i));
    if (v.kind() == jsonxx::Value::Kind::invalid && (v.number() || v.string() || v.boolean())) __builtin_trap();
}

void compare_number(const std::string& text) {
    std::istringstream by_stream(text);
    by_stream.imbue(std::locale::classic());
    double want = 0;
    by_stream >> want;
    const bool want_ok = !by_stream.fail();
    by_stream.clear();

    std::istringstream by_reader(text);
    double got = 0;
    const bool got_ok = jsonxx::parse_number(by_reader, got);
    by_reader.clear();

    if (want_ok != got_ok || by_stream.tellg() != by_reader.tellg()) __builtin_trap();
    if (want_ok && std::memcmp(&want, &got, sizeof want) != 0) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    {
        std::istringstream in(text);
        jsonxx::Object o;
        jsonxx::Object::parse(in, o);
        walk(o);
        // A second parse into the same object releases the first tree.
        std::istringstream again(text);
        jsonxx::Object::parse(again, o);
        walk(o);
    }
    {
        std::istringstream in(text);
        jsonxx::Value v;
        jsonxx::Value::parse(in, v);
        walk(v);
    }
    {
        std::istringstream in(text);
        jsonxx::Array a;
        jsonxx::Array::parse(in, a);
    }
    compare_number(text);
    return 0;
}
