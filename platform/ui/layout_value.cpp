#include "platform/ui/layout_value.h"

#include <cmath>
#include <limits>

namespace ui {

LayoutValue LayoutValue::Number(double v, bool integral) {
    LayoutValue value;
    value.kind = Kind::Number;
    value.number = v;
    value.integral = integral;
    return value;
}

LayoutValue LayoutValue::Text(std::string v) {
    LayoutValue value;
    value.kind = Kind::Text;
    value.text = std::move(v);
    return value;
}

LayoutValue LayoutValue::Identifier(std::string v) {
    LayoutValue value;
    value.kind = Kind::Identifier;
    value.text = std::move(v);
    return value;
}

namespace {

[[noreturn]] void Fail(std::string_view property, std::string_view wanted) {
    throw LayoutValueError(std::string(property) + " expects " + std::string(wanted));
}

}  // namespace

int AsInt(const LayoutValue& v, std::string_view property) {
    if (v.kind != LayoutValue::Kind::Number || !v.integral ||
        v.number < static_cast<double>(std::numeric_limits<int>::min()) ||
        v.number > static_cast<double>(std::numeric_limits<int>::max()))
        Fail(property, "a whole number");
    return static_cast<int>(v.number);
}

bool AsBool(const LayoutValue& v, std::string_view property) {
    if (v.kind == LayoutValue::Kind::Identifier) {
        if (v.text == "True") return true;
        if (v.text == "False") return false;
    }
    Fail(property, "True or False");
}

std::string AsText(const LayoutValue& v, std::string_view property) {
    if (v.kind != LayoutValue::Kind::Text) Fail(property, "a quoted text");
    return v.text;
}

std::vector<std::string> AsTextList(const LayoutValue& v, std::string_view property) {
    if (v.kind != LayoutValue::Kind::List) Fail(property, "a list of quoted texts");
    return v.items;
}

TColor AsColor(const LayoutValue& v, std::string_view property) {
    if (v.kind == LayoutValue::Kind::Identifier) {
        if (auto c = ColorFromName(v.text)) return *c;
        throw LayoutValueError("unknown colour " + v.text + " for " + std::string(property));
    }
    if (v.kind == LayoutValue::Kind::Number && v.integral && v.number >= -2147483648.0 && v.number <= 4294967295.0)
        return static_cast<TColor>(static_cast<std::uint32_t>(static_cast<std::int64_t>(v.number)));
    Fail(property, "a colour name or number");
}

TCursor AsCursor(const LayoutValue& v, std::string_view property) {
    return AsEnum<TCursor>(v, property,
                           {{"crDefault", crDefault}, {"crArrow", crArrow}, {"crHourGlass", crHourGlass},
                            {"crAppStart", crAppStart}});
}

unsigned AsFlags(const LayoutValue& v, std::string_view property, EnumNames<unsigned> names) {
    if (v.kind != LayoutValue::Kind::Set) Fail(property, "a set such as [a, b]");
    unsigned flags = 0;
    for (const auto& member : v.items) {
        bool known = false;
        for (const auto& [name, flag] : names)
            if (name == member) {
                flags |= flag;
                known = true;
            }
        if (!known) throw LayoutValueError("unknown member " + member + " of " + std::string(property));
    }
    return flags;
}

}  // namespace ui
