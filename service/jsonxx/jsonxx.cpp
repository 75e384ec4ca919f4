#include "service/jsonxx/jsonxx.h"

#include <charconv>
#include <istream>
#include <memory>
#include <streambuf>
#include <utility>

namespace jsonxx {

namespace {

using Traits = std::char_traits<char>;
constexpr Traits::int_type End = Traits::eof();

// The classic locale's space test, without consulting any locale.
bool is_space(Traits::int_type c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool is_digit(Traits::int_type c) { return c >= '0' && c <= '9'; }

// The reader works on the stream buffer directly: sgetc/sbumpc are inline
// while the buffer holds characters, where istream::get would build a sentry
// per character. The stream's state bits are kept as the stream's own
// operations would leave them.
void skip_space(std::istream& in, std::streambuf& buf) {
    Traits::int_type c = buf.sgetc();
    while (is_space(c)) c = buf.snextc();
    if (c == End) in.setstate(std::ios_base::eofbit);
}

bool match_on(std::istream& in, const char* pattern) {
    std::streambuf* buf = in.rdbuf();
    if (buf == nullptr || !in.good()) return false;
    skip_space(in, *buf);
    if (!in.good()) return false;
    const char* p = pattern;
    while (*p != '\0') {
        const Traits::int_type c = buf->sgetc();
        if (c == End) {
            in.setstate(std::ios_base::eofbit);
            break;
        }
        if (c != Traits::to_int_type(*p)) break;
        buf->sbumpc();
        ++p;
    }
    if (*p == '\0') return true;
    if (p == pattern) return false;
    // Give back what matched so that the next alternative sees it.
    while (p != pattern) {
        --p;
        if (buf->sputbackc(*p) == End) {
            in.setstate(std::ios_base::badbit);
            return false;
        }
    }
    in.clear(in.rdstate() & ~std::ios_base::eofbit);
    return false;
}

// The part of a string after its opening quote.
bool read_string_body(std::istream& in, std::string& value) {
    std::streambuf& buf = *in.rdbuf();
    for (;;) {
        Traits::int_type c = buf.sbumpc();
        if (c == '"') return true;
        if (c == '\\') {
            c = buf.sbumpc();
            switch (c) {
            case '"':
            case '/':
            case '\\': value.push_back(static_cast<char>(c)); continue;
            case 'b': value.push_back('\b'); continue;
            case 'f': value.push_back('\f'); continue;
            case 'n': value.push_back('\n'); continue;
            case 'r': value.push_back('\r'); continue;
            case 't': value.push_back('\t'); continue;
            case End: break;
            default:
                // Unknown escapes, \u included, keep both characters.
                value.push_back('\\');
                value.push_back(static_cast<char>(c));
                continue;
            }
        }
        if (c == End) {
            in.setstate(std::ios_base::eofbit | std::ios_base::failbit);
            return false;
        }
        value.push_back(static_cast<char>(c));
    }
}

// Characters of a number as the classic num_get collects them; short numbers
// stay off the heap.
class NumberText {
public:
    void push(char c) {
        if (size_ < sizeof small_) {
            small_[size_++] = c;
            return;
        }
        if (size_ == sizeof small_) long_.assign(small_, size_);
        long_.push_back(c);
        ++size_;
    }
    const char* begin() const { return size_ <= sizeof small_ ? small_ : long_.data(); }
    const char* end() const { return begin() + size_; }

private:
    char small_[64];
    std::size_t size_ = 0;
    std::string long_;
};

// Whether an out-of-range number is too large (rather than too small):
// `text` is [sign] digits [. digits] e [sign] digits, or without exponent.
bool is_overflow(const char* first, const char* last) {
    if (first != last && (*first == '+' || *first == '-')) ++first;
    long long magnitude = 0;  // decimal exponent of the first non-zero digit, plus one
    bool seen_point = false, seen_nonzero = false;
    const char* p = first;
    for (; p != last && *p != 'e'; ++p) {
        if (*p == '.') {
            seen_point = true;
        } else if (seen_nonzero) {
            if (!seen_point) ++magnitude;
        } else if (*p != '0') {
            // After the point the zeros before it have already counted down.
            seen_nonzero = true;
            if (!seen_point) magnitude = 1;
        } else if (seen_point) {
            --magnitude;
        }
    }
    if (p != last) {
        ++p;
        bool negative = false;
        if (p != last && (*p == '+' || *p == '-')) negative = *p++ == '-';
        long long exponent = 0;
        for (; p != last; ++p)
            if (exponent < 1'000'000'000) exponent = exponent * 10 + (*p - '0');
        magnitude += negative ? -exponent : exponent;
    }
    return magnitude > 0;
}

}  // namespace

// Recursive descent with the depth of enclosing containers carried along.
struct detail::Parser {
    static bool value(std::istream& in, Value& target, int depth);
    static bool object(std::istream& in, Object& target, int depth);
    static bool array(std::istream& in, Array& target, int depth);
};

MissingKey::MissingKey(std::string key, const char* expected)
    : Exception("Key \"" + key + "\" is missing or not " + expected), key_(std::move(key)), expected_(expected) {}

std::string MissingKey::Describe(std::string_view what) const {
    return std::string(what) + " \"" + key_ + "\" is missing or not " + expected_;
}

bool match(const char* pattern, std::istream& input) { return match_on(input, pattern); }

bool parse_string(std::istream& input, std::string& value) {
    if (!match_on(input, "\"")) return false;
    value.clear();
    return read_string_body(input, value);
}

// Mirrors the classic locale's extraction of a double: an optional sign,
// digits with one optional '.', then 'e' or 'E' with an optional sign once a
// digit has been seen. What was collected stays consumed even when it does
// not form a number ("-", "1e"). Too large fails; too small gives zero.
bool parse_number(std::istream& input, double& value) {
    std::streambuf* buf = input.rdbuf();
    if (buf != nullptr && input.good()) skip_space(input, *buf);
    if (buf == nullptr || !input.good()) {
        input.clear();
        return false;
    }
    NumberText text;
    Traits::int_type c = buf->sgetc();
    if (c == '+' || c == '-') {
        text.push(static_cast<char>(c));
        c = buf->snextc();
    }
    bool mantissa = false, point = false, exponent = false, exponent_digits = false;
    // Leading zeros collapse to one, as num_get collects them.
    while (c == '0') {
        if (!mantissa) text.push('0');
        mantissa = true;
        c = buf->snextc();
    }
    while (c != End) {
        if (is_digit(c)) {
            text.push(static_cast<char>(c));
            if (exponent)
                exponent_digits = true;
            else
                mantissa = true;
        } else if (c == '.' && !point && !exponent) {
            text.push('.');
            point = true;
        } else if ((c == 'e' || c == 'E') && !exponent && mantissa) {
            text.push('e');
            exponent = true;
            c = buf->snextc();
            if (c != '+' && c != '-') continue;
            text.push(static_cast<char>(c));
        } else {
            break;
        }
        c = buf->snextc();
    }
    if (c == End) input.setstate(std::ios_base::eofbit);
    if (!mantissa || (exponent && !exponent_digits)) {
        input.clear();
        return false;
    }
    const char* first = text.begin();
    const char* last = text.end();
    const bool negative = *first == '-';
    if (*first == '+' || *first == '-') ++first;
    double parsed = 0;
    const auto [ptr, ec] = std::from_chars(first, last, parsed);
    if (ec == std::errc::result_out_of_range) {
        if (is_overflow(first, last)) {
            input.clear();
            return false;
        }
        parsed = 0;
    } else if (ec != std::errc() || ptr != last) {
        input.clear();
        return false;
    }
    value = negative ? -parsed : parsed;
    return true;
}

bool parse_bool(std::istream& input, bool& value) {
    if (match_on(input, "true")) {
        value = true;
        return true;
    }
    if (match_on(input, "false")) {
        value = false;
        return true;
    }
    return false;
}

bool parse_null(std::istream& input) { return match_on(input, "null"); }

bool detail::Parser::value(std::istream& in, Value& target, int depth) {
    target.reset();
    // The alternatives are tried in the order string, number, boolean, null,
    // array, object. An alternative that cannot start with the next character
    // fails without touching the stream, so the first character tells where
    // to begin; the later alternatives remain as fallbacks.
    enum Step { String, Number, Boolean, Null, Bracket, Brace };
    Step step = String;
    std::streambuf* buf = in.rdbuf();
    if (buf != nullptr && in.good()) {
        skip_space(in, *buf);
        if (in.good()) {
            const Traits::int_type c = buf->sgetc();
            if (c == '"')
                step = String;
            else if (is_digit(c) || c == '-' || c == '+' || c == '.')
                step = Number;
            else if (c == 't' || c == 'f')
                step = Boolean;
            else if (c == 'n')
                step = Null;
            else if (c == '[')
                step = Bracket;
            else
                step = Brace;
        }
    }
    switch (step) {
    case String:
        if (match_on(in, "\"")) {
            auto text = std::make_unique<std::string>();
            if (read_string_body(in, *text)) {
                target.string_ = text.release();
                target.kind_ = Value::Kind::string;
                return true;
            }
        }
        [[fallthrough]];
    case Number: {
        double number = 0;
        if (parse_number(in, number)) {
            target.number_ = number;
            target.kind_ = Value::Kind::number;
            return true;
        }
    }
        [[fallthrough]];
    case Boolean: {
        bool boolean = false;
        if (parse_bool(in, boolean)) {
            target.boolean_ = boolean;
            target.kind_ = Value::Kind::boolean;
            return true;
        }
    }
        [[fallthrough]];
    case Null:
        if (parse_null(in)) {
            target.kind_ = Value::Kind::null;
            return true;
        }
        [[fallthrough]];
    case Bracket:
        // The attempts above have skipped the white space.
        buf = in.rdbuf();
        if (buf != nullptr && in.good() && buf->sgetc() == '[') {
            auto items = std::make_unique<Array>();
            if (array(in, *items, depth + 1)) {
                target.array_ = items.release();
                target.kind_ = Value::Kind::array;
                return true;
            }
            // A failed array leaves the stream where it stopped; the object
            // attempt goes on from there.
        }
        [[fallthrough]];
    case Brace: break;
    }
    auto members = std::make_unique<Object>();
    if (object(in, *members, depth + 1)) {
        target.object_ = members.release();
        target.kind_ = Value::Kind::object;
        return true;
    }
    return false;
}

bool detail::Parser::object(std::istream& in, Object& target, int depth) {
    target.clear();
    if (depth > MaxNestingDepth) return false;
    if (!match_on(in, "{")) return false;
    if (match_on(in, "}")) return true;
    do {
        std::string key;
        if (!parse_string(in, key)) return false;
        if (!match_on(in, ":")) return false;
        Value item;
        if (!value(in, item, depth)) break;
        // The last of duplicate keys wins; the earlier value is released.
        target.members_.insert_or_assign(std::move(key), std::move(item));
    } while (match_on(in, ","));
    return match_on(in, "}");
}

bool detail::Parser::array(std::istream& in, Array& target, int depth) {
    target.clear();
    if (depth > MaxNestingDepth) return false;
    if (!match_on(in, "[")) return false;
    do {
        Value item;
        if (!value(in, item, depth)) break;
        target.values_.push_back(std::move(item));
    } while (match_on(in, ","));
    return match_on(in, "]");
}

Object::Object() = default;
Object::~Object() = default;
Object::Object(Object&&) noexcept = default;
Object& Object::operator=(Object&&) noexcept = default;

bool Object::parse(std::istream& input, Object& object) { return detail::Parser::object(input, object, 1); }

const Value* Object::find(std::string_view key) const noexcept {
    const auto it = members_.find(key);
    return it == members_.end() ? nullptr : &it->second;
}

void Object::clear() noexcept { members_.clear(); }

template <>
bool Object::has<double>(std::string_view key) const {
    const Value* v = find(key);
    return v != nullptr && v->is<double>();
}

template <>
bool Object::has<std::string>(std::string_view key) const {
    const Value* v = find(key);
    return v != nullptr && v->is<std::string>();
}

template <>
bool Object::has<Object>(std::string_view key) const {
    const Value* v = find(key);
    return v != nullptr && v->is<Object>();
}

template <>
const double& Object::get<double>(std::string_view key) const {
    const Value* v = find(key);
    if (v == nullptr || v->number() == nullptr) throw MissingKey(std::string(key), "a number");
    return *v->number();
}

template <>
const std::string& Object::get<std::string>(std::string_view key) const {
    const Value* v = find(key);
    if (v == nullptr || v->string() == nullptr) throw MissingKey(std::string(key), "a text");
    return *v->string();
}

template <>
const Object& Object::get<Object>(std::string_view key) const {
    const Value* v = find(key);
    if (v == nullptr || v->object() == nullptr) throw MissingKey(std::string(key), "an object");
    return *v->object();
}

Array::Array() = default;
Array::~Array() = default;
Array::Array(Array&&) noexcept = default;
Array& Array::operator=(Array&&) noexcept = default;

bool Array::parse(std::istream& input, Array& array) { return detail::Parser::array(input, array, 1); }

const Value* Array::at(std::size_t index) const noexcept {
    return index < values_.size() ? &values_[index] : nullptr;
}

void Array::clear() noexcept { values_.clear(); }

Value::~Value() { reset(); }

Value::Value(Value&& other) noexcept { take(other); }

Value& Value::operator=(Value&& other) noexcept {
    if (this != &other) {
        reset();
        take(other);
    }
    return *this;
}

void Value::take(Value& other) noexcept {
    kind_ = other.kind_;
    switch (kind_) {
    case Kind::number: number_ = other.number_; break;
    case Kind::boolean: boolean_ = other.boolean_; break;
    case Kind::string: string_ = other.string_; break;
    case Kind::array: array_ = other.array_; break;
    case Kind::object: object_ = other.object_; break;
    default: break;
    }
    other.kind_ = Kind::invalid;
    other.number_ = 0;
}

void Value::reset() noexcept {
    switch (kind_) {
    case Kind::string: delete string_; break;
    case Kind::array: delete array_; break;
    case Kind::object: delete object_; break;
    default: break;
    }
    kind_ = Kind::invalid;
    number_ = 0;
}

bool Value::parse(std::istream& input, Value& value) { return detail::Parser::value(input, value, 0); }

}  // namespace jsonxx
