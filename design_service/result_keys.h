#pragma once
// The keys of a run result, per family (Diagonal or Chevron, Welded or
// Bolted), with their JSON types. This is the one list the writer follows and
// the tests check; a key the client reads and this list lacks is a bug here.
#include <string>
#include <vector>

namespace zorv_service {

enum class Family { kDiagonalWelded, kDiagonalBolted, kChevronWelded, kChevronBolted };

inline bool IsChevron(Family f) { return f == Family::kChevronWelded || f == Family::kChevronBolted; }
inline bool IsBolted(Family f) { return f == Family::kDiagonalBolted || f == Family::kChevronBolted; }
Family FamilyOf(bool chevron, bool bolted);
const char* FamilyName(Family f);

enum class KeyType { kNumber, kText };

struct KeySpec {
    std::string key;
    KeyType type;
};

// Check suffixes of one brace, in the order the client reads them. For a
// Chevron bay the upper-end connection checks belong to the middle gusset.
const std::vector<std::string>& BraceCheckSuffixes(Family f);
// The middle gusset's three checks; empty for a Diagonal bay.
const std::vector<std::string>& MiddleCheckSuffixes(Family f);

// Keys of one brace: the top level of a Diagonal result, each of "LEFT" and
// "RIGHT" of a Chevron result. Checks come as "DCR_", "Demand_", "Capacity_".
std::vector<KeySpec> BraceKeys(Family f);
// Keys of the top level. A Chevron top level carries the bay's shared keys,
// the middle gusset and a copy of the governing brace (so that the check
// gates "DCR_1", "P_y", "K_eff" and every top-level reader find a brace).
std::vector<KeySpec> TopLevelKeys(Family f);

// The side objects of a Chevron result; none for a Diagonal one.
inline const char* const kSideKeys[] = {"LEFT", "RIGHT"};

}  // namespace zorv_service
