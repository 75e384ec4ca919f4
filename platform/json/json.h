#pragma once
// The JSON object model with which the client builds its request text.
// Values own their children; the text follows fixed rules because the design
// service receives it byte for byte: no blanks between tokens, pairs in the
// order they were added, numbers in general format with '.' whatever the
// regional settings.
#include <concepts>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/text/exception.h"

namespace json {

class Value {
public:
    virtual ~Value() = default;
    std::string ToString() const;
    virtual void WriteTo(std::string& out) const = 0;
};

// A quoted string: '"' and '\' are escaped with a backslash, control
// characters as \u00XX; everything else, UTF-8 included, goes out unchanged.
class String : public Value {
public:
    explicit String(std::string text) : text_(std::move(text)) {}
    const std::string& Text() const { return text_; }
    void WriteTo(std::string& out) const override;

private:
    std::string text_;
};

// A number from a double: at most 15 significant digits, rounded, trailing
// zeros and point removed; plain from 0.0001 to below 1e15 and for zero, else
// "1E20" / "1.5E-5". A non-finite double raises EConvertError, since JSON has
// no text for it. A number from an integer is its decimal digits.
class Number : public Value {
public:
    explicit Number(double value);
    template <std::integral I>
        requires(!std::same_as<I, bool>)
    explicit Number(I value) : text_(std::to_string(value)) {}
    explicit Number(bool) = delete;

    const std::string& Text() const { return text_; }
    void WriteTo(std::string& out) const override;

private:
    std::string text_;
};

class Bool : public Value {
public:
    explicit Bool(bool value) : value_(value) {}
    bool AsBool() const { return value_; }
    void WriteTo(std::string& out) const override;

private:
    bool value_;
};

class True : public Bool {
public:
    True() : Bool(true) {}
};

class False : public Bool {
public:
    False() : Bool(false) {}
};

// "key":value. A pair is a value of its own, so it can also stand in an array.
class Pair : public Value {
public:
    Pair(std::string key, std::unique_ptr<Value> value);
    const std::string& Key() const { return key_.Text(); }
    const Value& JsonValue() const { return *value_; }
    void WriteTo(std::string& out) const override;

private:
    String key_;
    std::unique_ptr<Value> value_;
};

class Object : public Value {
public:
    // Appends the pair; a key already present is not replaced but repeated.
    Object& AddPair(std::string key, std::unique_ptr<Value> value);
    Object& AddPair(std::unique_ptr<Pair> pair);
    size_t Count() const { return pairs_.size(); }
    const Pair& Get(size_t index) const { return *pairs_.at(index); }
    void WriteTo(std::string& out) const override;

private:
    std::vector<std::unique_ptr<Pair>> pairs_;
};

class Array : public Value {
public:
    Array& Add(std::unique_ptr<Value> element);
    size_t Count() const { return elements_.size(); }
    const Value& Get(size_t index) const { return *elements_.at(index); }
    void WriteTo(std::string& out) const override;

private:
    std::vector<std::unique_ptr<Value>> elements_;
};

// The string writer alone, for texts assembled without the model.
void WriteString(std::string& out, const std::string& text);

}  // namespace json
