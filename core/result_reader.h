#pragma once
// Reading a run result into the result state of the main window. The readers work
// on a copy of that state, so a result that lacks a key leaves the window's state
// as it was: the caller commits the copy only after a complete read.
#include <string>
#include <string_view>
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
// or of another type, and ResultNumberOutOfRange at the first number too large for
// its member or side entry; `state` is then partly written and must be dropped.
void ReadResultInto(const jsonxx::Object& result, const TResultFamily& family, TResultState& state);

// The check ratios alone: SideValues (Chevron), BeamRatios, QFactor and AlphaL
// (Diagonal) and GaugeValues. Throws as ReadResultInto does.
void ReadCheckRatiosInto(const jsonxx::Object& result, const TResultFamily& family, TResultState& state);

// A number that a reader narrows to single precision and that has no finite
// single-precision value. Numbers that no reader narrows stay in the result as
// doubles, whatever their size.
struct ResultNumberOutOfRange {
    std::string Key;
    std::string Side;  // the side object that holds it; empty for the top level
    double Value = 0.0;
    // Result key "K_eff" in "RIGHT" holds a number out of range: 1e+300
    std::string Describe() const;
};

// The number under `key` of `from` narrowed to single precision; `side` names the
// side object `from` is (nullptr for the top level). Throws jsonxx::MissingKey when
// there is no number, ResultNumberOutOfRange when it does not fit.
float ResultNumber(const jsonxx::Object& from, std::string_view key, const char* side);

// Throws ResultNumberOutOfRange for the first number at the top level of the result
// that the bay's grids, or the workbook when a workbook row runs, show in single
// precision and that does not fit; an absent key is theirs to show as missing.
void CheckShownNumbers(const jsonxx::Object& result, const TResultFamily& family, bool workbook_row);

// Parses a reply text into `result`. False when the text is not one complete
// object; `result` may then hold part of it.
bool ParseResultText(const std::string& reply_text, jsonxx::Object& result);

// The message of a reply that could not be read: the service's own "Error" text
// when it sent one, else what was wrong with a key (a key missing, or a number out
// of range); empty when the text did not parse.
std::string ResultFailureMessage(const jsonxx::Object& result, const std::string& missing);
