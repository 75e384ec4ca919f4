#pragma once
// Result values by brace side ("LEFT", "RIGHT") and the middle gusset ("MIDDLE").
// operator[] on either level inserts what is missing, so reading an absent entry
// gives 0 or the empty text and leaves the entry in the table; FindSideEntry reads
// without entering anything.
#include <map>
#include <string>

using SideValueTable = std::map<std::string, std::map<std::string, float>>;
using SideTextTable = std::map<std::string, std::map<std::string, std::string>>;

// The entry of a side under a key; null when the side or the key is absent.
template <class Table>
const typename Table::mapped_type::mapped_type* FindSideEntry(const Table& table, const std::string& side,
                                                              const std::string& key) {
    const auto s = table.find(side);
    if (s == table.end()) return nullptr;
    const auto v = s->second.find(key);
    return v == s->second.end() ? nullptr : &v->second;
}
