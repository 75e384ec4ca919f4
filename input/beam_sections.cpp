// Beam section designations: number tokens, the check and the normalised form.
#include "input/beam_designation.h"

#include "app/DOVEREFORM.h"
#include "platform/text/number_text.h"
#include "platform/text/regional.h"

std::vector<std::string> ExtractNumberTokens(const std::string& text) {
    // The user's separator belongs to a number ("17,5" under a decimal comma); a
    // point stays in the token too, so that a point the user's conversion refuses
    // is reported rather than splitting the number in two.
    const char separator = text::DecimalSeparator();
    std::vector<std::string> tokens;
    std::string current;
    for (char c : text) {
        if ((c >= '0' && c <= '9') || c == '.' || c == separator) {
            current += c;
        } else if (!current.empty()) {
            tokens.push_back(current);
            current.clear();
        }
    }
    if (!current.empty()) tokens.push_back(current);
    return tokens;
}

TBeamDesignation ReadBeamDesignation(const std::string& text) {
    TBeamDesignation beam;
    const std::vector<std::string> tokens = ExtractNumberTokens(text);
    if (tokens.size() != 4) return beam;
    std::string normalised;
    std::string designation;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        double value = 0.0;
        float number = 0.0f;  // a float member takes it
        try {
            value = ParseFloatText(tokens[i]);
            number = NarrowToSingle(value, tokens[i]);
        } catch (const EConvertError&) {
            beam.Outcome = TBeamOutcome::Unconvertible;
            beam.Token = tokens[i];
            return beam;
        }
        // The number as read: narrowed, a token just below 1 would round up to 1.
        if (value < 1.0) {
            beam.Outcome = TBeamOutcome::BelowOne;
            beam.Token = tokens[i];
            return beam;
        }
        normalised += (i == 0 ? "H" : "x");
        normalised += tokens[i];
        designation += (i == 0 ? "H" : "x");
        designation += UserToServiceNumberText(tokens[i]);
        beam.Numbers[i] = number;
    }
    beam.Outcome = TBeamOutcome::Valid;
    beam.Normalised = normalised;
    beam.Designation = designation;
    return beam;
}

std::optional<std::string> BeamDesignationFailure(TBeamSide side, const TBeamDesignation& beam) {
    const bool upper = side == TBeamSide::Upper;
    const std::string name = upper ? "Upper beam: " : "Lower beam: ";
    switch (beam.Outcome) {
        case TBeamOutcome::Valid: return std::nullopt;
        case TBeamOutcome::WrongCount:
            return name + "Invalid Section! Type four numbers: db x wb x tw x tf.";
        case TBeamOutcome::BelowOne:
            return name + "Invalid Section! Each number must be at least 1, not " + beam.Token + ".";
        case TBeamOutcome::Unconvertible:
            // The lower beam calls this "Error", the upper "Invalid Section!".
            return name + (upper ? "Invalid Section! " : "Error: ") + "'" + beam.Token + "' is not a number.";
    }
    return std::nullopt;
}

namespace {

// The normalised text into the edit and the designation, the numbers into the
// beam's depth, flange width, web thickness and flange thickness. Normalising is
// not the user's edit, so the catalogue name that the edit's change drops stays.
void Store(const TBeamDesignation& beam, TLabeledEdit* edit, std::string& section_name, std::string& designation,
           float* const (&numbers)[4]) {
    const std::string name = section_name;
    edit->SetText(beam.Normalised);
    section_name = name;
    designation = beam.Designation;
    for (int i = 0; i < 4; ++i) *numbers[i] = beam.Numbers[i];
}

}  // namespace

bool IsBeamDesignation(const std::string& text) { return ReadBeamDesignation(text).Outcome == TBeamOutcome::Valid; }

// A run checks both designations before it builds its request and stops at a bad
// one; a beam whose text does not read keeps the numbers of its last valid parse.
void DOVEREForm::ParseBeamSections() {
    TFrameValues& v = FrameValues;
    const TBeamDesignation lower = ReadBeamDesignation(LabeledEdit_Beam_down->Text());
    if (lower.Outcome == TBeamOutcome::Valid)
        Store(lower, LabeledEdit_Beam_down, SectionNames.LowerBeam, BeamTypeDown,
              {&v.d_b_down, &v.b_w_b_down, &v.b_t_w_down, &v.b_t_f_down});
    const TBeamDesignation upper = ReadBeamDesignation(LabeledEdit_Beam_up->Text());
    if (upper.Outcome == TBeamOutcome::Valid)
        Store(upper, LabeledEdit_Beam_up, SectionNames.UpperBeam, BeamTypeUp,
              {&v.d_b_up, &v.b_w_b_up, &v.b_t_w_up, &v.b_t_f_up});
}
