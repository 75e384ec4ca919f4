#pragma once
// Fitting a view's world box (mm) to its panel (pixels). Pure functions: the form's
// fits apply what they return.
#include <optional>

#include "core/result_members.h"
#include "core/side_tables.h"

// The box from (0, 0) to (Width, Height) mm shown on the panel, the panel's pixels
// per mm across and up, the smaller of the two that is used, and where the model's
// origin sits in the box.
struct TViewFit {
    float Width = 0.0f;
    float Height = 0.0f;
    float ScaleX = 0.0f;
    float ScaleY = 0.0f;
    float Scale = 0.0f;
    float OffsetX = 0.0f;
    float OffsetY = 0.0f;
};

// The wanted box w0 x h0 grown to the shape of a cw x ch panel: the side with the
// smaller scale keeps its extent, the other grows (on a tie the height keeps its
// extent). Offsets are left 0. Nothing for a zero extent, a panel without pixels, or
// a value beyond the float range.
std::optional<TViewFit> FitViewBox(int cw, int ch, float w0, float h0);

// The frame view: the bay with 15 % around it, its origin (the lower-left work point)
// centred in the box.
std::optional<TViewFit> FitFrameBox(int cw, int ch, const TFrameValues& frame);

// The detail view of a Diagonal bay: the brace between its two corner plates.
std::optional<TViewFit> FitDiagonalDetailBox(int cw, int ch, const TBraceValues& brace);

// The detail view of a Chevron bay: both braces and the middle plate side by side,
// from the side values, its height from the member D_j; nothing when a side value
// it needs is missing. OffsetX is that of the Diagonal fit, which the Chevron drawing
// ignores.
std::optional<TViewFit> FitChevronDetailBox(int cw, int ch, const TBraceValues& brace, const SideValueTable& sides);
