#pragma once
// The demand/capacity checks of each connection family, compiled in, and the rules
// that every check table shares: when a check fails, how its ratio reads, and the
// cells of the all-checks list and of a detail view. Pure; the form's fillers write
// what these return into the check grid.
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/side_tables.h"
#include "input/unit_labels.h"

enum class TCheckUnit {
    SecondMoment,  // "mm^4" in every unit system
    Force,
    Stress,
};

struct TCheckEntry {
    int Place;                 // from 1: the detail view's option item; row Place - 1 of the list
    const char* Symbol;        // in the all-checks list
    const char* DetailSymbol;  // in the first row of the detail view
    const char* LimitState;
    const char* Part;        // "Upper", "Lower", "Middle", or nullptr
    const char* Connection;  // connection checks only, else nullptr
    const char* Item;        // with the connection
    TCheckUnit Unit;
    const char* Picture;  // of the demand and the capacity
    const char* Suffix;   // of the keys "DCR_", "Demand_" and "Capacity_"
    // False for a check that its family's result never carries: shown as not
    // computed and never counted.
    bool InResult = true;
};

// An ordered list of checks.
using CheckCatalogue = std::span<const TCheckEntry>;

CheckCatalogue WeldedCheckCatalogue();  // 21 checks of a welded connection
CheckCatalogue BoltedCheckCatalogue();  // 26 checks of a bolted connection
// A brace side of a Chevron bolted bay: the bolted list, whose upper-end connection
// checks (places 15 to 20) belong to the middle gusset and are not in the result.
CheckCatalogue ChevronBoltedSideCatalogue();
// A brace side of a Chevron welded bay: welded places 1-9 and 16-21, the upper-end
// connection being the middle gusset's.
CheckCatalogue ChevronWeldedSideCatalogue();
// The middle gusset of a Chevron bay, welded to the beam only.
CheckCatalogue WeldedMiddleCatalogue();
CheckCatalogue BoltedMiddleCatalogue();

std::string RatioKey(const TCheckEntry& check);
std::string DemandKey(const TCheckEntry& check);
std::string CapacityKey(const TCheckEntry& check);

// A ratio of 1 or more fails.
bool CheckFails(double ratio);

// The ratio as the tables show it: rounded to four decimals, cut to its first four
// characters; a passing ratio that would read "1.00" reads "0.99".
std::string CheckRatioText(double ratio);

std::string CheckUnitText(TCheckUnit unit, const TUnitLabels& labels);

// The mark in column 2 of a failed check's row in the all-checks list.
inline constexpr const char* kCheckFailMark = " NG";
// A number that the result should hold and does not, in place of its text; its
// row's mark in the all-checks list.
inline constexpr const char* kMissingNumberText = "?";
inline constexpr const char* kMissingRatioMark = " ?";
// Every number of a check that the family's result never carries.
inline constexpr const char* kNotComputedText = "n/a";

// A number of the result by key; nothing when the result holds no number there.
using TCheckValues = std::function<std::optional<double>(const std::string& key)>;

// The values of one side of the side table; an absent side or key reads nothing.
TCheckValues SideCheckValues(const SideValueTable& table, const std::string& side);

struct TCheckListRow {
    std::string Symbol;  // column 0
    std::string Ratio;   // column 1
    std::string Mark;    // column 2: empty, the fail mark or the missing ratio's
    bool operator==(const TCheckListRow&) const = default;
};

// The all-checks list, one row per check in list order. A ratio that is not a
// number reads "?" with its mark; a check not in the result reads "n/a" unmarked.
std::vector<TCheckListRow> CheckListRows(CheckCatalogue checks, const TCheckValues& values);

// Column 1 of the detail view of one check, from row 0: symbol, limit state, then
// part, connection and item where the check has them, unit, demand, capacity,
// ratio and the verdict "NG" or "OK" (7, 8 or 10 rows). A missing number reads "?"
// (a missing ratio makes the verdict "?" too); every number and the verdict of a
// check not in the result read "n/a".
std::vector<std::string> CheckDetailCells(const TCheckEntry& check, const TUnitLabels& labels,
                                          const TCheckValues& values);

// The checks of the list that fail; a check whose ratio is not a number counts as
// failed, since nothing shows that it passes. Checks not in the result do not count.
int CountFailingChecks(CheckCatalogue checks, const TCheckValues& values);

// The failed checks of a whole Chevron bay: each brace side over `side_checks`,
// then the middle gusset over `middle_checks`.
int CountFailedBayChecks(const SideValueTable& table, CheckCatalogue side_checks, CheckCatalogue middle_checks);
