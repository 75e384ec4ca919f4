#pragma once
// The design advisories that follow a run, from the values of the last result.
#include <string>
#include <vector>

// Single-precision values as the window stores them.
struct TAdvisoryInputs {
    bool Cruciform = false;  // the core type selector shows "Cruciform"
    float Bc = 0.0f;         // core plate width, thickness and gusset thickness
    float tc = 0.0f;
    float tg = 0.0f;
    float UpperBeamRatio = 0.0f;
    float LowerBeamRatio = 0.0f;
    bool Bolted = false;
    bool Chevron = false;
    float QFactor = 0.0f;  // Diagonal
    float AlphaL = 0.0f;
    float QLeft = 0.0f;  // Chevron, per brace
    float QRight = 0.0f;
    float AlphaLeft = 0.0f;
    float AlphaRight = 0.0f;
};

// The messages that apply, in the order they are shown.
std::vector<std::string> DesignAdvisories(const TAdvisoryInputs& in);
