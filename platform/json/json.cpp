#include "platform/json/json.h"

#include <cmath>

#include "platform/text/decimal_form.h"

namespace json {
namespace {

template <class Items>
void WriteJoined(std::string& out, char open, const Items& items, char close) {
    out += open;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out += ',';
        items[i]->WriteTo(out);
    }
    out += close;
}

}  // namespace

std::string Value::ToString() const {
    std::string out;
    WriteTo(out);
    return out;
}

void WriteString(std::string& out, const std::string& text) {
    static const char hex[] = "0123456789ABCDEF";
    out += '"';
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            out += "\\u00";
            out += hex[byte >> 4];
            out += hex[byte & 0xF];
        } else {
            out += c;
        }
    }
    out += '"';
}

void String::WriteTo(std::string& out) const { WriteString(out, text_); }

Number::Number(double value) {
    if (!std::isfinite(value)) {
        throw EConvertError("'" + text::NonFiniteText(value) + "' is not a valid JSON number");
    }
    text_ = text::FormatGeneral(value, '.');
}

void Number::WriteTo(std::string& out) const { out += text_; }

void Bool::WriteTo(std::string& out) const { out += value_ ? "true" : "false"; }

Pair::Pair(std::string key, std::unique_ptr<Value> value)
    : key_(std::move(key)), value_(std::move(value)) {
    if (!value_) throw Exception("JSON pair '" + key_.Text() + "' has no value");
}

void Pair::WriteTo(std::string& out) const {
    key_.WriteTo(out);
    out += ':';
    value_->WriteTo(out);
}

Object& Object::AddPair(std::string key, std::unique_ptr<Value> value) {
    return AddPair(std::make_unique<Pair>(std::move(key), std::move(value)));
}

Object& Object::AddPair(std::unique_ptr<Pair> pair) {
    if (!pair) throw Exception("JSON object given no pair");
    pairs_.push_back(std::move(pair));
    return *this;
}

void Object::WriteTo(std::string& out) const { WriteJoined(out, '{', pairs_, '}'); }

Array& Array::Add(std::unique_ptr<Value> element) {
    if (!element) throw Exception("JSON array given no value");
    elements_.push_back(std::move(element));
    return *this;
}

void Array::WriteTo(std::string& out) const { WriteJoined(out, '[', elements_, ']'); }

}  // namespace json
