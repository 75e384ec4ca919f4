#pragma once
// Reading the section catalogues of the design service: the capacity classes of
// cross-type and single-plate cores, and the universal beam and column sections.
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace jsonxx {
class Object;
}

// Class or section name to its numbers in reply order ([tc, Bc] for a class,
// [D, W, tw, tf] for a section). A name that a reply repeats gets its numbers twice.
using SectionTable = std::map<std::string, std::vector<float>>;

namespace service_link {

// Entries are numbered "1", "2", ... up to this; the first missing number ends them.
inline constexpr int kMaxCatalogueEntries = 999;

struct CatalogueEntry {
    std::string name;
    std::vector<float> numbers;
    bool operator==(const CatalogueEntry&) const = default;
};

// The entries read, in order, and the message of the error that stopped the reading
// early, if one did. An entry that fails is not among the entries.
struct CatalogueRead {
    std::vector<CatalogueEntry> entries;
    std::optional<std::string> error;
};

// A class name without the five characters of its prefix ("[CR] 100tonf(...)").
std::string ClassName(const std::string& catalogue_name);

// Class catalogue: each entry's "Class" (string), "tc" and "Bc" (numbers).
CatalogueRead ReadClassCatalogue(const jsonxx::Object& reply);

// Section catalogue: each entry's "SEC" and its dimensions "D", "W", "tw", "tf",
// strings converted under the user's regional settings.
CatalogueRead ReadSectionCatalogue(const jsonxx::Object& reply);

// Parses a reply text (in the system code page, up to its first NUL) into `object`.
bool ParseReplyObject(const std::string& reply_text, jsonxx::Object& object);

}  // namespace service_link
