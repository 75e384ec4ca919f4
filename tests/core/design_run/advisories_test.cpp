// The design advisories at their thresholds, compared as the window stores them.
#include <gtest/gtest.h>

#include "core/advisories.h"

namespace {

const std::string kCorePlate = "Select a thinner core plate!";
const std::string kBothBeams =
    "The upper and lower beam axial load ratios are over 0.9. You may want to enter stronger beams.";
const std::string kUpperBeam = "The upper beam axial load ratio is over 0.9. You may want to enter a stronger beam.";
const std::string kLowerBeam = "The lower beam axial load ratio is over 0.9. You may want to enter a stronger beam.";
const std::string kStiffness =
    "The effective axial stiffness you specified does not match the BRB yield strength very well. You may want to "
    "enter a different axial stiffness or yield strength.";
const std::string kLength =
    "The energy dissipation section length is shorter than 30% of the BRB work point-to-point length. You may want "
    "to enter a different axial stiffness or yield strength.";
// Two blanks after "left BRB" and in the right length message, one in the right stiffness message.
const std::string kLeftStiffness =
    "The effective axial stiffness of left BRB  you specified does not match the BRB yield strength very well. You "
    "may want to enter a different axial stiffness or yield strength.";
const std::string kLeftLength =
    "The energy dissipation section length of left BRB  is shorter than 30% of the BRB work point-to-point length. "
    "You may want to enter a different axial stiffness or yield strength.";
const std::string kRightStiffness =
    "The effective axial stiffness of right BRB you specified does not match the BRB yield strength very well. You "
    "may want to enter a different axial stiffness or yield strength.";
const std::string kRightLength =
    "The energy dissipation section length of right BRB  is shorter than 30% of the BRB work point-to-point length. "
    "You may want to enter a different axial stiffness or yield strength.";

// A Diagonal welded bay that draws no advice.
TAdvisoryInputs Quiet() {
    TAdvisoryInputs in;
    in.Cruciform = true;
    in.Bc = 200;
    in.tc = 20;
    in.tg = 20;
    in.UpperBeamRatio = 0.5f;
    in.LowerBeamRatio = 0.5f;
    in.QFactor = 1.2f;
    in.AlphaL = 0.5f;
    in.QLeft = in.QRight = 1.2f;
    in.AlphaLeft = in.AlphaRight = 0.5f;
    return in;
}

struct Case {
    const char* name;
    void (*change)(TAdvisoryInputs&);
    std::vector<std::string> messages;
};

const Case kCases[] = {
    {"quiet", [](TAdvisoryInputs&) {}, {}},
    // (Bc - 2 tc - (tg + 3)) x 0.5 against 8.
    {"outstand exactly 8", [](TAdvisoryInputs& i) { i.Bc = 60, i.tc = 10, i.tg = 21; }, {}},
    {"outstand 7.5", [](TAdvisoryInputs& i) { i.Bc = 60, i.tc = 10, i.tg = 22; }, {kCorePlate}},
    {"flat core never",
     [](TAdvisoryInputs& i) {
         i.Cruciform = false;
         i.Bc = 0;
     },
     {}},
    {"beam ratio 0.9 is not over", [](TAdvisoryInputs& i) { i.UpperBeamRatio = i.LowerBeamRatio = 0.9f; }, {}},
    {"upper over", [](TAdvisoryInputs& i) { i.UpperBeamRatio = 0.91f; }, {kUpperBeam}},
    {"lower over", [](TAdvisoryInputs& i) { i.LowerBeamRatio = 0.91f; }, {kLowerBeam}},
    {"both over", [](TAdvisoryInputs& i) { i.UpperBeamRatio = i.LowerBeamRatio = 1.2f; }, {kBothBeams}},
    {"Q 1.6 is at least 1.6", [](TAdvisoryInputs& i) { i.QFactor = 1.6f; }, {kStiffness}},
    {"Q just below", [](TAdvisoryInputs& i) { i.QFactor = 1.5999f; }, {}},
    {"alpha 0.3 is above 0.3", [](TAdvisoryInputs& i) { i.AlphaL = 0.3f; }, {}},
    {"alpha just below", [](TAdvisoryInputs& i) { i.AlphaL = 0.2999f; }, {kLength}},
    {"stiffness before length",
     [](TAdvisoryInputs& i) {
         i.QFactor = 2;
         i.AlphaL = 0.1f;
     },
     {kStiffness}},
    {"all at once, in order",
     [](TAdvisoryInputs& i) {
         i.tg = 200;
         i.UpperBeamRatio = 1;
         i.QFactor = 2;
     },
     {kCorePlate, kUpperBeam, kStiffness}},
    {"bolted: plate and beams only",
     [](TAdvisoryInputs& i) {
         i.Bolted = true;
         i.tg = 200;
         i.LowerBeamRatio = 1;
         i.QFactor = 2;
         i.AlphaL = 0;
         i.Chevron = true;
         i.QLeft = i.QRight = 2;
     },
     {kCorePlate, kLowerBeam}},
    // Chevron reads the braces, not the Diagonal factors.
    {"Chevron ignores the Diagonal factors",
     [](TAdvisoryInputs& i) {
         i.Chevron = true;
         i.QFactor = 2;
         i.AlphaL = 0;
     },
     {}},
    {"Chevron both stiff: the common message only",
     [](TAdvisoryInputs& i) {
         i.Chevron = true;
         i.QLeft = i.QRight = 1.6f;
         i.AlphaLeft = i.AlphaRight = 0.1f;
     },
     {kStiffness}},
    {"Chevron both short: the common length message only",
     [](TAdvisoryInputs& i) {
         i.Chevron = true;
         i.QLeft = 1.6f;
         i.AlphaLeft = i.AlphaRight = 0.2999f;
     },
     {kLength}},
    {"Chevron left stiff, right short",
     [](TAdvisoryInputs& i) {
         i.Chevron = true;
         i.QLeft = 1.6f;
         i.AlphaRight = 0.2f;
     },
     {kLeftStiffness, kRightLength}},
    {"Chevron left short",
     [](TAdvisoryInputs& i) {
         i.Chevron = true;
         i.AlphaLeft = 0.2f;
     },
     {kLeftLength}},
    {"Chevron left stiff and short",
     [](TAdvisoryInputs& i) {
         i.Chevron = true;
         i.QLeft = 1.6f;
         i.AlphaLeft = 0.2f;
     },
     {kLeftStiffness}},
    {"Chevron right stiff and short",
     [](TAdvisoryInputs& i) {
         i.Chevron = true;
         i.QRight = 1.7f;
         i.AlphaRight = 0.2f;
     },
     {kRightStiffness}},
    {"Chevron alphas at 0.3 are above",
     [](TAdvisoryInputs& i) {
         i.Chevron = true;
         i.AlphaLeft = i.AlphaRight = 0.3f;
     },
     {}},
};

TEST(Advisories, AtTheirThresholds) {
    for (const Case& c : kCases) {
        TAdvisoryInputs in = Quiet();
        c.change(in);
        EXPECT_EQ(DesignAdvisories(in), c.messages) << c.name;
    }
}

}  // namespace
