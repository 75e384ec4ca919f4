#pragma once
// Reading a run result into the result state of the main window. The readers work
// on a copy of that state, so a result that lacks a key leaves the window's state
// as it was: the caller commits the copy only after a complete read.
#include <optional>
#include <string>
#include <vector>

#include "app/form_types.h"
#include "core/result_members.h"
#include "core/side_tables.h"
#include "service/jsonxx/jsonxx.h"

// Everything a result sets besides the parsed object itself.
struct TResultState {
    TReportPaths ReportPaths;
    std::string CoreType;
    std::string CasingType;
    TFrameValues FrameValues;
    TBraceValues BraceValues;
    TBoltedValues BoltedValues;
    SideValueTable SideValues;
    SideTextTable SideTexts;
    TBeamRatios BeamRatios;
    float QFactor = 0.0f;
    float AlphaL = 0.0f;
    std::vector<float> GaugeValues;
};

// The configuration and connection of the request, and the check side chosen in
// RadioGroup_DCR (0 "Left", 1 "Mid.", 2 "Right", -1 none).
struct TResultFamily {
    std::string CfgText;
    std::string CtypeText;
    int CheckSide = -1;
};

// Reads every group of a result into `state`, the check ratios included; the side
// tables start afresh. Throws jsonxx::MissingKey at the first key that is absent
// or of another type; `state` is then partly written and must be dropped.
void ReadResultInto(const jsonxx::Object& result, const TResultFamily& family, TResultState& state);

// The check ratios alone: SideValues (Chevron), BeamRatios, QFactor and AlphaL
// (Diagonal) and GaugeValues. Throws as ReadResultInto does.
void ReadCheckRatiosInto(const jsonxx::Object& result, const TResultFamily& family, TResultState& state);

// The first number of the result's objects, at any depth, that has no finite
// single-precision value, described by its key and the objects around it; none
// when all fit. Members, side tables, grids and workbooks narrow result numbers
// to single precision, so such a result is not read at all.
std::optional<std::string> OutOfRangeResultNumber(const jsonxx::Object& result);

// Parses a reply text into `result`. False when the text is not one complete
// object; `result` may then hold part of it.
bool ParseResultText(const std::string& reply_text, jsonxx::Object& result);

// The message of a reply that could not be read: the service's own "Error" text
// when it sent one, else what was wrong with a key (a key missing, or a number out
// of range); empty when the text did not parse.
std::string ResultFailureMessage(const jsonxx::Object& result, const std::string& missing);
