#pragma once
// Geometry of the bay elevation that is more than a straight copy of result values:
// the stiffeners along the gusset plates. Pure functions, in bay coordinates (mm).
#include <optional>
#include <vector>

#include "core/result_members.h"

// A corner-plate stiffener: its start (the drawing is translated there), its rotation
// about z in degrees and its length along the plate's edge.
struct TStiffener {
    float X = 0.0f;
    float Y = 0.0f;
    float AngleDeg = 0.0f;
    float Length = 0.0f;
    bool operator==(const TStiffener&) const = default;
};

// The stiffeners along the free edges of the corner plates. An edge gets one only
// where it is horizontal or vertical (its two values closer than 0.001 mm); its length
// is the edge less 50 mm, and an edge that leaves no positive length gets none.
struct TCornerStiffeners {
    std::optional<TStiffener> LowerTop;    // lower plate, top edge, from the column face
    std::optional<TStiffener> LowerRight;  // lower plate, right edge, from the beam face
    std::optional<TStiffener> UpperLower;  // upper plate (Diagonal), lower edge
    std::optional<TStiffener> UpperLeft;   // upper plate (Diagonal), left edge
};

// The lower plate's stiffeners and, with upper_plate, those of the upper plate.
TCornerStiffeners CornerStiffeners(const TFrameValues& frame, const TBraceValues& brace, bool upper_plate);

// The stiffeners of a Chevron bay's middle plate, hanging from the underside of the
// upper beam (Top) down to Bottom: one stiffener on x = L/2 with a t_sf wide plate to
// its left while Lv_mid/2 exceeds Lsf_mid, else two on x = L/2 -+ Lsf_mid/2. Empty
// when Lv_mid is not positive.
struct TMiddleStiffeners {
    float Top = 0.0f;
    float Bottom = 0.0f;
    std::vector<float> LineX;
    std::optional<float> PlateLeft;  // the single stiffener's plate, PlateLeft to LineX[0]
};
TMiddleStiffeners MiddleStiffeners(const TFrameValues& frame, const TBraceValues& brace);
