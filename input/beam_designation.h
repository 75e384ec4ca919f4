#pragma once
// A typed beam designation ("H594 x 302 x 14 x 23"): its four numbers, its
// normalised form, and the message that names the beam when it does not read.
#include <optional>
#include <string>

enum class TBeamOutcome {
    Valid,
    WrongCount,     // not exactly four number tokens
    BelowOne,       // a number below 1
    Unconvertible,  // a token that is no number, such as 14.5.2
};

struct TBeamDesignation {
    TBeamOutcome Outcome = TBeamOutcome::WrongCount;
    std::string Normalised;    // "H594x302x14x23" when valid, in the user's number form
    std::string Designation;   // the same in the service's number form, for the request
    float Numbers[4] = {};     // depth, flange width, web thickness, flange thickness
    std::string Token;         // the first failing token (below one or unconvertible)
};

// Reads the tokens in order; the first failing token decides the outcome.
TBeamDesignation ReadBeamDesignation(const std::string& text);

enum class TBeamSide { Upper, Lower };

// Nothing for a valid designation, else the message that names the beam.
std::optional<std::string> BeamDesignationFailure(TBeamSide side, const TBeamDesignation& beam);
