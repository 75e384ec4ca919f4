// Beam section designations: number tokens, the check and the normalised form.
#include "app/DOVEREFORM.h"
#include "platform/text/number_text.h"

std::vector<std::string> ExtractNumberTokens(const std::string& text) {
    std::vector<std::string> tokens;
    std::string current;
    for (char c : text) {
        if ((c >= '0' && c <= '9') || c == '.') {
            current += c;
        } else if (!current.empty()) {
            tokens.push_back(current);
            current.clear();
        }
    }
    if (!current.empty()) tokens.push_back(current);
    return tokens;
}

namespace {

constexpr const char* kPlaceholder = "db x wb x tw x tf";

enum class BeamParse { Valid, Invalid, Unconvertible };

struct ParsedBeam {
    BeamParse outcome = BeamParse::Invalid;
    std::string normalised;
    float numbers[4] = {0.0f, 0.0f, 0.0f, 0.0f};
};

// Four tokens of at least 1 each; the first failing token decides the outcome.
ParsedBeam ParseBeamText(const std::string& text) {
    ParsedBeam parsed;
    const std::vector<std::string> tokens = ExtractNumberTokens(text);
    if (tokens.size() != 4) return parsed;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        double value = 0.0;
        try {
            value = ParseSingleText(tokens[i]);  // a float member takes it
        } catch (const EConvertError&) {
            parsed.outcome = BeamParse::Unconvertible;
            return parsed;
        }
        if (value < 1.0) return parsed;
        parsed.normalised += (i == 0 ? "H" : "x");
        parsed.normalised += tokens[i];
        parsed.numbers[i] = static_cast<float>(value);
    }
    parsed.outcome = BeamParse::Valid;
    return parsed;
}

// The normalised text into the edit and the designation, the numbers into the
// beam's depth, flange width, web thickness and flange thickness.
void Store(const ParsedBeam& beam, TLabeledEdit* edit, std::string& designation, float* const (&numbers)[4]) {
    edit->SetText(beam.normalised);
    designation = beam.normalised;
    for (int i = 0; i < 4; ++i) *numbers[i] = beam.numbers[i];
}

}  // namespace

void DOVEREForm::ParseBeamSections() {
    const ParsedBeam lower = ParseBeamText(LabeledEdit_Beam_down->Text());
    if (lower.outcome == BeamParse::Invalid) {
        ShowMessage("Invalid Section!");
        LabeledEdit_Beam_down->SetText(kPlaceholder);
        return;
    }
    if (lower.outcome == BeamParse::Unconvertible) {
        ShowMessage("Error");
    } else {
        TFrameValues& v = FrameValues;
        Store(lower, LabeledEdit_Beam_down, BeamTypeDown, {&v.d_b_down, &v.b_w_b_down, &v.b_t_w_down, &v.b_t_f_down});
    }

    const ParsedBeam upper = ParseBeamText(LabeledEdit_Beam_up->Text());
    if (upper.outcome != BeamParse::Valid) {
        ShowMessage("Invalid Section!");
        if (upper.outcome == BeamParse::Invalid) LabeledEdit_Beam_up->SetText(kPlaceholder);
        return;
    }
    TFrameValues& v = FrameValues;
    Store(upper, LabeledEdit_Beam_up, BeamTypeUp, {&v.d_b_up, &v.b_w_b_up, &v.b_t_w_up, &v.b_t_f_up});
}
