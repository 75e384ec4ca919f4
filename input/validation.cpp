// Range rules of the inputs and the check before every design run.
#include <utility>
#include <vector>

#include "app/DOVEREFORM.h"
#include "input/beam_designation.h"
#include "platform/text/number_text.h"

namespace {

struct TCheckStep {
    TRangeRuleId Rule;
    int Page;  // the control page that holds the edit
};

constexpr TCheckStep kFrameSteps[] = {
    {TRangeRuleId::ColumnHeight, 0},   {TRangeRuleId::BeamLength, 0},      {TRangeRuleId::HeightToLength, 0},
    {TRangeRuleId::UpperBeamDepth, 0}, {TRangeRuleId::LowerBeamDepth, 0},  {TRangeRuleId::SlabThickness, 0},
    {TRangeRuleId::LeftColumnDepth, 0}, {TRangeRuleId::RightColumnDepth, 0},
};

constexpr TCheckStep kMaterialSteps[] = {
    {TRangeRuleId::CoreRy, 3},
    {TRangeRuleId::CoreOmegaH, 3},
    {TRangeRuleId::CoreBeta, 3},
};

// The other ruled edits whose text the request sends, in the order of the rules.
// Ry,g is not among them: the request sends the gusset grade's own Ry.
constexpr TCheckStep kSentSteps[] = {
    {TRangeRuleId::BeamFy, 0},     {TRangeRuleId::BeamRy, 0},          {TRangeRuleId::UpperClear, 0},
    {TRangeRuleId::LowerClear, 0}, {TRangeRuleId::LeftClear, 0},       {TRangeRuleId::RightClear, 0},
    {TRangeRuleId::LengthIncrement, 1}, {TRangeRuleId::MinAlphaL, 3},
};

constexpr int kFramePage = 0;

}  // namespace

std::optional<std::string> DOVEREForm::RangeRuleFailure(TRangeRuleId id) {
    const TRangeRule rule = RangeRuleOf(id, InputLimits);
    TEdit* edit = nullptr;
    switch (id) {
        case TRangeRuleId::ColumnHeight: edit = LabeledEdit_H_col; break;
        case TRangeRuleId::BeamLength: edit = LabeledEdit_L_beam; break;
        case TRangeRuleId::HeightToLength: {
            const double height = ParseFloatText(LabeledEdit_H_col->Text());
            const double length = ParseFloatText(LabeledEdit_L_beam->Text());
            return RangeFailure(rule, height / length);
        }
        case TRangeRuleId::UpperBeamDepth: edit = LabeledEdit_d_b_up; break;
        case TRangeRuleId::LowerBeamDepth: edit = LabeledEdit_d_b_down; break;
        case TRangeRuleId::SlabThickness: edit = LabeledEdit_Slab_Thickness; break;
        case TRangeRuleId::LeftColumnDepth: edit = LabeledEdit_d_c_left; break;
        case TRangeRuleId::RightColumnDepth: edit = LabeledEdit_d_c_right; break;
        case TRangeRuleId::CoreRy: edit = LabeledEdit_Adjust_R_y_c; break;
        case TRangeRuleId::CoreOmegaH: edit = LabeledEdit_Adjust_Omega_h; break;
        case TRangeRuleId::CoreBeta: edit = LabeledEdit_Adjust_Beta_f; break;
        case TRangeRuleId::GussetRy: edit = LabeledEdit_Adjust_R_y_g; break;
        case TRangeRuleId::BeamFy: edit = LabeledEdit_F_y_b; break;
        case TRangeRuleId::BeamRy: edit = LabeledEdit_R_y_b; break;
        case TRangeRuleId::UpperClear: edit = LabeledEdit_Upper_CD; break;
        case TRangeRuleId::LowerClear: edit = LabeledEdit_Lower_CD; break;
        case TRangeRuleId::LeftClear: edit = LabeledEdit_Left_CD; break;
        case TRangeRuleId::RightClear: edit = LabeledEdit_Right_CD; break;
        case TRangeRuleId::LengthIncrement: edit = LabeledEdit_Lbrb_revised_increment; break;
        case TRangeRuleId::MinAlphaL: edit = Edit_LcToLwp; break;
    }
    return RangeFailure(rule, ReadRuleValue(rule, edit->Text()));
}

void DOVEREForm::ValidateInputs() {
    InputsValid = true;
    const auto fails = [this](const TCheckStep& step) {
        const std::optional<std::string> message = RangeRuleFailure(step.Rule);
        if (!message) return false;
        MagnifyControlTab(step.Page);
        ShowNotice(*message);
        InputsValid = false;
        return true;
    };
    for (const TCheckStep& step : kFrameSteps)
        if (fails(step)) return;
    if (CheckBox_adjust_Mat->Checked()) {
        for (const TCheckStep& step : kMaterialSteps)
            if (fails(step)) return;
    }

    // No request carries a value that its own rule refuses.
    const bool sends_alpha_l = CheckBox_adjust_Keff->Checked();
    // The beam stress rule is written in tonf/mm^2 and holds only in that system.
    const bool beam_fy_in_tonf = ComboBox_Units->Text() != "kN-mm";
    for (const TCheckStep& step : kSentSteps) {
        if (step.Rule == TRangeRuleId::MinAlphaL && !sends_alpha_l) continue;
        if (step.Rule == TRangeRuleId::BeamFy && !beam_fy_in_tonf) continue;
        if (fails(step)) return;
    }

    // Both designations, so that a bad lower beam does not hide the upper one.
    std::vector<std::string> beam_messages;
    const std::pair<TBeamSide, const TLabeledEdit*> beams[] = {
        {TBeamSide::Lower, LabeledEdit_Beam_down},
        {TBeamSide::Upper, LabeledEdit_Beam_up},
    };
    for (const auto& [side, edit] : beams)
        if (auto message = BeamDesignationFailure(side, ReadBeamDesignation(edit->Text())))
            beam_messages.push_back(*message);
    if (beam_messages.empty()) return;
    MagnifyControlTab(kFramePage);
    for (const std::string& message : beam_messages) ShowMessage(message);
    InputsValid = false;
}
