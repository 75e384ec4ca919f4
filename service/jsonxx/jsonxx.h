#pragma once
// A small reading-only JSON library for the design service's replies: text
// from a character stream into a tree of owned values, typed presence tests
// and typed lookups by key. It writes no JSON.
//
// The grammar is deliberately not strict JSON: the result and catalogue
// readers accept exactly what it accepts (trailing comma in arrays, "+3",
// "007", backslash-u kept as written, text after the top-level object
// ignored). Parsing reports failure only by its result, never by throwing.
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text/exception.h"

namespace jsonxx {

class Value;
class Array;
class Object;
namespace detail {
struct Parser;
}

// Containers nested deeper than this fail the parse instead of exhausting
// the stack on a hostile or broken reply.
inline constexpr int MaxNestingDepth = 512;

// get<T> on a key that is missing or holds another kind of value. The caller
// ends its operation; the application's dispatcher shows the message, which
// says only "Key ..." since the library does not know what it reads: callers
// that do name it with Describe.
class MissingKey : public Exception {
public:
    MissingKey(std::string key, const char* expected);
    const std::string& Key() const { return key_; }
    // `what` followed by the quoted key and what is wrong with it, for example
    // Describe("Result key") gives: Result key "P_y" is missing or not a number.
    std::string Describe(std::string_view what) const;

private:
    std::string key_;
    const char* expected_;
};

// Parser helpers, each working on the input stream.
bool match(const char* pattern, std::istream& input);
bool parse_string(std::istream& input, std::string& value);
bool parse_number(std::istream& input, double& value);
bool parse_bool(std::istream& input, bool& value);
bool parse_null(std::istream& input);

class Value {
public:
    // Invalid is the kind of a value not yet parsed.
    enum class Kind : std::int32_t { number = 0, string = 1, boolean = 2, null = 3, array = 4, object = 5, invalid = 6 };

    Value() noexcept {}
    ~Value();
    // Moving hands the owned payload over and leaves the source invalid.
    Value(Value&& other) noexcept;
    Value& operator=(Value&& other) noexcept;
    Value(const Value&) = delete;
    Value& operator=(const Value&) = delete;

    // Resets `value`, then reads one value of any kind.
    static bool parse(std::istream& input, Value& value);

    // Releases what the value owns and makes it invalid.
    void reset() noexcept;

    Kind kind() const noexcept { return kind_; }
    // T is double, std::string or Object.
    template <typename T>
    bool is() const noexcept;

    // Read-only inspection: the payload, or nullptr for another kind.
    const double* number() const noexcept { return kind_ == Kind::number ? &number_ : nullptr; }
    const bool* boolean() const noexcept { return kind_ == Kind::boolean ? &boolean_ : nullptr; }
    const std::string* string() const noexcept { return kind_ == Kind::string ? string_ : nullptr; }
    const Array* array() const noexcept { return kind_ == Kind::array ? array_ : nullptr; }
    const Object* object() const noexcept { return kind_ == Kind::object ? object_ : nullptr; }

private:
    friend struct detail::Parser;
    // Requires this value to own nothing.
    void take(Value& other) noexcept;

    // The pointers are owned; reset() releases the one that `kind_` names.
    Kind kind_ = Kind::invalid;
    union {
        double number_ = 0;
        bool boolean_;
        std::string* string_;
        Array* array_;
        Object* object_;
    };
};

class Object {
public:
    // Each value lives in its map node, owned by the object.
    using Members = std::map<std::string, Value, std::less<>>;

    Object();
    ~Object();
    Object(Object&&) noexcept;
    Object& operator=(Object&&) noexcept;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    // Empties `object`, then reads one object; true when it was complete.
    // Members stored before a failure stay.
    static bool parse(std::istream& input, Object& object);
    bool parse(std::istream& input) { return parse(input, *this); }

    // T is double, std::string or Object.
    template <typename T>
    bool has(std::string_view key) const;
    // Throws MissingKey unless has<T>(key). The reference stays valid until
    // this object is emptied or destroyed.
    template <typename T>
    const T& get(std::string_view key) const;

    // Read-only inspection of the tree.
    std::size_t size() const noexcept { return members_.size(); }
    const Value* find(std::string_view key) const noexcept;
    const Members& members() const noexcept { return members_; }

private:
    friend struct detail::Parser;
    void clear() noexcept;
    Members members_;
};

class Array {
public:
    Array();
    ~Array();
    Array(Array&&) noexcept;
    Array& operator=(Array&&) noexcept;
    Array(const Array&) = delete;
    Array& operator=(const Array&) = delete;

    // Empties `array`, then reads one array.
    static bool parse(std::istream& input, Array& array);

    std::size_t size() const noexcept { return values_.size(); }
    const Value* at(std::size_t index) const noexcept;

private:
    friend struct detail::Parser;
    void clear() noexcept;
    std::vector<Value> values_;
};

template <> inline bool Value::is<double>() const noexcept { return kind_ == Kind::number; }
template <> inline bool Value::is<std::string>() const noexcept { return kind_ == Kind::string; }
template <> inline bool Value::is<Object>() const noexcept { return kind_ == Kind::object; }

template <> bool Object::has<double>(std::string_view key) const;
template <> bool Object::has<std::string>(std::string_view key) const;
template <> bool Object::has<Object>(std::string_view key) const;
template <> const double& Object::get<double>(std::string_view key) const;
template <> const std::string& Object::get<std::string>(std::string_view key) const;
template <> const Object& Object::get<Object>(std::string_view key) const;

}  // namespace jsonxx
