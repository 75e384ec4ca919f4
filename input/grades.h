#pragma once
// The gusset thickness choices, the default beam yield stress and the bolt strengths,
// by selector item and unit system. A unit text other than "kN-mm" is "tonf-mm".
#include <optional>
#include <string>
#include <vector>

#include "core/result_members.h"

// The thickness items for an item of the gusset grade selector: item 1 offers 50 mm
// and up, every other item 16 mm and up; both end with "tg = tc", "Auto (tg >= tc)".
const std::vector<std::string>& GussetThicknessItems(int gusset_item);

// The default text of the beam yield stress edit, in the user's number form.
std::string DefaultBeamFyText(const std::string& units_text);

// Fnt and Fnv of a bolt grade ("ASTM A325", "ASTM A490"); nothing for another text.
std::optional<TBoltStrengths> BoltStrengthsFor(const std::string& grade, const std::string& units_text);
