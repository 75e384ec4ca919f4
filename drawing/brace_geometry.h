#pragma once
// Where the pieces of a brace lie along its axis, and its bolts. Pure functions, in
// the brace's own frame: x along the axis from the lower work point, y across it (mm).
#include <vector>

#include "core/result_members.h"

// The start of each piece along the axis. Along the brace: joint, L_n, L_x,
// transition, core, transition, L_x, L_n, joint; the casing starts where the lower
// L_x does.
struct TBraceStations {
    float LowerJoint = 0.0f;  // where the brace begins
    float LowerLn = 0.0f;
    float LowerLx = 0.0f;
    float LowerTransition = 0.0f;
    float Core = 0.0f;
    float UpperTransition = 0.0f;
    float UpperLx = 0.0f;
    float UpperLn = 0.0f;
    float UpperJoint = 0.0f;
    float Casing = 0.0f;
};
TBraceStations BraceStations(const TBraceValues& brace);

// The angle of the brace axis with the x axis, in degrees counter-clockwise.
float BraceAngleDegrees(float tan_phi);

struct TBoltPoint {
    float X = 0.0f;
    float Y = 0.0f;
    bool operator==(const TBoltPoint&) const = default;
};

// The bolts of one joint, from the joint's start: two rows, one each side of the
// axis, with the positions i = 0, 1, ... below n/2 (counted back from the outer end
// at the upper joint); staggered moves every odd position outward by the pitch. Each
// position gives (x, y), then (x, -y).
std::vector<TBoltPoint> JointBoltPoints(const TBoltedValues& bolts, float t_c, float L_w, bool upper_joint,
                                        bool staggered);
