#pragma once
// Result values by brace side ("LEFT", "RIGHT") and the middle gusset ("MIDDLE").
// operator[] on either level inserts what is missing, so reading an absent entry
// gives 0 or the empty text and leaves the entry in the table.
#include <map>
#include <string>

using SideValueTable = std::map<std::string, std::map<std::string, float>>;
using SideTextTable = std::map<std::string, std::map<std::string, std::string>>;
