#pragma once
// The allowed range of every checked input (single precision, bounds included).

struct TLimit {
    float Min = 0.0f;
    float Max = 0.0f;
};

struct TInputLimits {
    TLimit ColumnHeight;
    TLimit BeamLength;
    TLimit ColumnDepth;  // both columns
    TLimit BeamDepth;    // both beams
    TLimit HeightToLength;
    TLimit CoreRy;
    TLimit CoreOmegaH;
    TLimit CoreBeta;
    TLimit GussetRy;
    TLimit SlabThickness;
    TLimit BeamFy;
    TLimit BeamRy;
    TLimit ClearLeft;
    TLimit ClearRight;
    TLimit ClearUpper;
    TLimit ClearLower;
};
