#pragma once
// The dock-like tab rows of the control area and the side bar, and the response bars.
#include <vector>

struct TTabPlace {
    int Left = 0;
    int Top = 0;
    int Size = 0;  // tabs are square
    bool operator==(const TTabPlace&) const = default;
};

// The places of a row of `count` tabs with tab `magnified` at full size and the
// others shrinking with their distance from it; each tab starts `spacing` pixels
// after the end of the one before.
std::vector<TTabPlace> TabRowPlaces(int count, int magnified, int full_size, int top, int first_left, int spacing);

// The control row's spacing for its gap: the whole pixels below gap x 0.7, where 0.7
// is the nearest double, just under 0.7 (30 gives 20, not 21).
int ControlTabSpacing(int gap);

// How many of the four response bars a run of `ms` milliseconds lights.
int ResponseBarCount(int ms);
