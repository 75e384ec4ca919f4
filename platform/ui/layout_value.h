#pragma once
// A property value as the layout loader reads it, and the conversions that the
// components use when they apply one.
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "platform/text/exception.h"
#include "platform/ui/types.h"

namespace ui {

struct LayoutValue {
    enum class Kind { Number, Text, Identifier, Set, List };
    Kind kind = Kind::Number;
    double number = 0;
    bool integral = true;           // a number written without a fraction or exponent
    std::string text;               // Text or Identifier
    std::vector<std::string> items; // members of a Set, texts of a List

    static LayoutValue Number(double v, bool integral);
    static LayoutValue Text(std::string v);
    static LayoutValue Identifier(std::string v);
};

// A value that does not suit its property; the loader adds the file and line.
class LayoutValueError : public Exception {
public:
    using Exception::Exception;
};

int AsInt(const LayoutValue& v, std::string_view property);
bool AsBool(const LayoutValue& v, std::string_view property);
std::string AsText(const LayoutValue& v, std::string_view property);
std::vector<std::string> AsTextList(const LayoutValue& v, std::string_view property);
TColor AsColor(const LayoutValue& v, std::string_view property);
TCursor AsCursor(const LayoutValue& v, std::string_view property);

template <class E>
using EnumNames = std::initializer_list<std::pair<std::string_view, E>>;

// An identifier that names one of the values.
template <class E>
E AsEnum(const LayoutValue& v, std::string_view property, EnumNames<E> names) {
    if (v.kind == LayoutValue::Kind::Identifier)
        for (const auto& [name, value] : names)
            if (name == v.text) return value;
    throw LayoutValueError("invalid value for " + std::string(property));
}

// A set such as [fsBold, fsItalic]: the members' flags or'ed together.
unsigned AsFlags(const LayoutValue& v, std::string_view property, EnumNames<unsigned> names);

}  // namespace ui

namespace ui {
// Where the loader stores a handler: the event member of one component, by kind.
using EventSlot = std::variant<std::monostate, TNotifyEvent*, TKeyPressEvent*, TKeyEvent*, TMouseEvent*,
                               TMouseMoveEvent*, TDrawCellEvent*, TCloseEvent*>;
}  // namespace ui
