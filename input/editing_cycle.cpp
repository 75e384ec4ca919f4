// The editing cycle of the input edits, the check boxes and the selectors of the
// input pages. An edit's state is its colours: committed on maroon (green for the
// joint plate thickness), pending on cream.
#include <initializer_list>
#include <optional>
#include <string>

#include "app/DOVEREFORM.h"
#include "input/beam_designation.h"
#include "input/edit_state.h"
#include "platform/ui/scoped_disable.h"

namespace {

constexpr char kEnter = 13;

// The first change after a commit makes the edit pending; true on that change.
bool MarkPending(TEdit* edit, TColor committed = clMaroon) {
    if (edit->Color() != committed) return false;
    edit->SetColor(clCream);
    edit->Font().Color = committed;
    return true;
}

bool IsPending(const TEdit* edit) { return IsPendingEdit(*edit); }

void MarkCommitted(TEdit* edit, TColor committed = clMaroon) {
    edit->SetColor(committed);
    edit->Font().Color = clCream;
}

}  // namespace

// ---- Change: a committed edit turns pending --------------------------------------------

void DOVEREForm::LabeledEdit_H_colChange(TObject*) { MarkPending(LabeledEdit_H_col); }
void DOVEREForm::LabeledEdit_L_beamChange(TObject*) { MarkPending(LabeledEdit_L_beam); }
// A typed depth or designation replaces the catalogue section, so its name goes on
// every change, also of an edit that is pending already; a catalogue choice writes
// the text first and sets the name after.
void DOVEREForm::LabeledEdit_d_c_leftChange(TObject*) {
    MarkPending(LabeledEdit_d_c_left);
    SectionNames.LeftColumn.clear();
}
void DOVEREForm::LabeledEdit_d_c_rightChange(TObject*) {
    MarkPending(LabeledEdit_d_c_right);
    SectionNames.RightColumn.clear();
}
void DOVEREForm::LabeledEdit_d_b_upChange(TObject*) { MarkPending(LabeledEdit_d_b_up); }
void DOVEREForm::LabeledEdit_d_b_downChange(TObject*) { MarkPending(LabeledEdit_d_b_down); }
void DOVEREForm::LabeledEdit_Slab_ThicknessChange(TObject*) { MarkPending(LabeledEdit_Slab_Thickness); }
void DOVEREForm::LabeledEdit_Adjust_R_y_cChange(TObject*) { MarkPending(LabeledEdit_Adjust_R_y_c); }
void DOVEREForm::LabeledEdit_Adjust_Omega_hChange(TObject*) { MarkPending(LabeledEdit_Adjust_Omega_h); }
void DOVEREForm::LabeledEdit_Adjust_Beta_fChange(TObject*) { MarkPending(LabeledEdit_Adjust_Beta_f); }
void DOVEREForm::LabeledEdit_Beam_upChange(TObject*) {
    MarkPending(LabeledEdit_Beam_up);
    SectionNames.UpperBeam.clear();
}
void DOVEREForm::LabeledEdit_Beam_downChange(TObject*) {
    MarkPending(LabeledEdit_Beam_down);
    SectionNames.LowerBeam.clear();
}
void DOVEREForm::LabeledEdit_F_y_bChange(TObject*) { MarkPending(LabeledEdit_F_y_b); }
void DOVEREForm::LabeledEdit_R_y_bChange(TObject*) { MarkPending(LabeledEdit_R_y_b); }
void DOVEREForm::Edit_Keff_reqChange(TObject*) { MarkPending(Edit_Keff_req); }
void DOVEREForm::Edit_TargetLcChange(TObject*) { MarkPending(Edit_TargetLc); }
void DOVEREForm::Edit_LcToLwpChange(TObject*) { MarkPending(Edit_LcToLwp); }
void DOVEREForm::LabeledEdit_Adjust_R_y_gChange(TObject*) { MarkPending(LabeledEdit_Adjust_R_y_g); }
void DOVEREForm::LabeledEdit_Upper_CDChange(TObject*) { MarkPending(LabeledEdit_Upper_CD); }
void DOVEREForm::LabeledEdit_Left_CDChange(TObject*) { MarkPending(LabeledEdit_Left_CD); }
void DOVEREForm::LabeledEdit_Right_CDChange(TObject*) { MarkPending(LabeledEdit_Right_CD); }
void DOVEREForm::LabeledEdit_Lower_CDChange(TObject*) { MarkPending(LabeledEdit_Lower_CD); }
void DOVEREForm::LabeledEdit_Lbrb_revised_incrementChange(TObject*) {
    MarkPending(LabeledEdit_Lbrb_revised_increment);
}
void DOVEREForm::Bolted_BRB_tcChange(TObject*) { MarkPending(Bolted_BRB_tc); }
void DOVEREForm::Bolted_BRB_BcChange(TObject*) { MarkPending(Bolted_BRB_Bc); }
void DOVEREForm::Bolted_BRB_tjChange(TObject*) { MarkPending(Bolted_BRB_tj, clGreen); }

// ---- Enter: test the rules, then commit a pending edit and run ---------------------------

namespace {

// The rules are tested on every Enter; a failure shows its message and changes
// nothing. Only a pending edit is committed; runs tells whether that runs a design.
void Enter(DOVEREForm& form, TEdit* edit, std::initializer_list<TRangeRuleId> rules, bool runs = true,
           TColor committed = clMaroon) {
    for (TRangeRuleId rule : rules) {
        if (const std::optional<std::string> message = form.RangeRuleFailure(rule)) {
            ShowNotice(*message);
            return;
        }
    }
    if (!IsPending(edit)) return;
    MarkCommitted(edit, committed);
    if (!runs) return;
    const ui::ScopedDisable busy(edit);
    form.RunDesign();
}

void EnterBeam(DOVEREForm& form, TEdit* edit, TBeamSide side) {
    if (const std::optional<std::string> message = BeamDesignationFailure(side, ReadBeamDesignation(edit->Text()))) {
        ShowMessage(*message);
        return;
    }
    Enter(form, edit, {});
}

}  // namespace

void DOVEREForm::LabeledEdit_H_colKeyPress(TObject*, char& Key) {
    if (Key != kEnter) return;
    Enter(*this, LabeledEdit_H_col, {TRangeRuleId::ColumnHeight, TRangeRuleId::HeightToLength});
}
void DOVEREForm::LabeledEdit_L_beamKeyPress(TObject*, char& Key) {
    if (Key != kEnter) return;
    Enter(*this, LabeledEdit_L_beam, {TRangeRuleId::BeamLength, TRangeRuleId::HeightToLength});
}
void DOVEREForm::LabeledEdit_d_c_leftKeyPress(TObject*, char& Key) {
    if (Key != kEnter) return;
    Enter(*this, LabeledEdit_d_c_left, {TRangeRuleId::LeftColumnDepth});
}
void DOVEREForm::LabeledEdit_d_c_rightKeyPress(TObject*, char& Key) {
    if (Key != kEnter) return;
    Enter(*this, LabeledEdit_d_c_right, {TRangeRuleId::RightColumnDepth});
}
void DOVEREForm::LabeledEdit_d_b_upKeyPress(TObject*, char& Key) {
    if (Key != kEnter) return;
    Enter(*this, LabeledEdit_d_b_up, {TRangeRuleId::UpperBeamDepth});
}
void DOVEREForm::LabeledEdit_d_b_downKeyPress(TObject*, char& Key) {
    if (Key != kEnter) return;
    Enter(*this, LabeledEdit_d_b_down, {TRangeRuleId::LowerBeamDepth});
}
// Also the Enter handler of the twelve bolt-data edits: it always acts on the slab.
void DOVEREForm::LabeledEdit_Slab_ThicknessKeyPress(TObject*, char& Key) {
    if (Key != kEnter) return;
    Enter(*this, LabeledEdit_Slab_Thickness, {TRangeRuleId::SlabThickness});
}
// The material factors count only while material adjustment is on.
void DOVEREForm::LabeledEdit_Adjust_R_y_cKeyPress(TObject*, char& Key) {
    if (Key != kEnter) return;
    Enter(*this, LabeledEdit_Adjust_R_y_c, {TRangeRuleId::CoreRy}, CheckBox_adjust_Mat->Checked());
}
void DOVEREForm::LabeledEdit_Adjust_Omega_hKeyPress(TObject*, char& Key) {
    if (Key != kEnter) return;
    Enter(*this, LabeledEdit_Adjust_Omega_h, {TRangeRuleId::CoreOmegaH}, CheckBox_adjust_Mat->Checked());
}
void DOVEREForm::LabeledEdit_Adjust_Beta_fKeyPress(TObject*, char& Key) {
    if (Key != kEnter) return;
    Enter(*this, LabeledEdit_Adjust_Beta_f, {TRangeRuleId::CoreBeta}, CheckBox_adjust_Mat->Checked());
}
void DOVEREForm::LabeledEdit_Adjust_R_y_gKeyPress(TObject*, char& Key) {
    if (Key != kEnter) return;
    Enter(*this, LabeledEdit_Adjust_R_y_g, {TRangeRuleId::GussetRy}, CheckBox_adjust_Mat->Checked());
}
// A designation that does not read is not taken, as a value out of its range.
void DOVEREForm::LabeledEdit_Beam_upKeyPress(TObject*, char& Key) {
    if (Key != kEnter) return;
    EnterBeam(*this, LabeledEdit_Beam_up, TBeamSide::Upper);
}
void DOVEREForm::LabeledEdit_Beam_downKeyPress(TObject*, char& Key) {
    if (Key != kEnter) return;
    EnterBeam(*this, LabeledEdit_Beam_down, TBeamSide::Lower);
}
void DOVEREForm::LabeledEdit_F_y_bKeyPress(TObject*, char& Key) {
    if (Key != kEnter) return;
    Enter(*this, LabeledEdit_F_y_b, {TRangeRuleId::BeamFy});
}
void DOVEREForm::LabeledEdit_R_y_bKeyPress(TObject*, char& Key) {
    if (Key != kEnter) return;
    Enter(*this, LabeledEdit_R_y_b, {TRangeRuleId::BeamRy});
}
// The stiffness targets count only while their adjustments are on.
void DOVEREForm::Edit_Keff_reqKeyPress(TObject*, char& Key) {
    if (Key != kEnter) return;
    Enter(*this, Edit_Keff_req, {}, CheckBox_adjust_Keff->Checked());
}
void DOVEREForm::Edit_TargetLcKeyPress(TObject*, char& Key) {
    if (Key != kEnter) return;
    Enter(*this, Edit_TargetLc, {}, CheckBox_adjust_Keff->Checked() && CheckBox_TargetLc->Checked());
}
void DOVEREForm::Edit_LcToLwpKeyPress(TObject*, char& Key) {
    if (Key != kEnter) return;
    Enter(*this, Edit_LcToLwp, {TRangeRuleId::MinAlphaL},
          CheckBox_adjust_Keff->Checked() && CheckBox_LcToLwp->Checked());
}
void DOVEREForm::LabeledEdit_Upper_CDKeyPress(TObject*, char& Key) {
    if (Key != kEnter) return;
    Enter(*this, LabeledEdit_Upper_CD, {TRangeRuleId::UpperClear});
}
void DOVEREForm::LabeledEdit_Left_CDKeyPress(TObject*, char& Key) {
    if (Key != kEnter) return;
    Enter(*this, LabeledEdit_Left_CD, {TRangeRuleId::LeftClear});
}
void DOVEREForm::LabeledEdit_Right_CDKeyPress(TObject*, char& Key) {
    if (Key != kEnter) return;
    Enter(*this, LabeledEdit_Right_CD, {TRangeRuleId::RightClear});
}
void DOVEREForm::LabeledEdit_Lower_CDKeyPress(TObject*, char& Key) {
    if (Key != kEnter) return;
    Enter(*this, LabeledEdit_Lower_CD, {TRangeRuleId::LowerClear});
}
void DOVEREForm::LabeledEdit_Lbrb_revised_incrementKeyPress(TObject*, char& Key) {
    if (Key != kEnter) return;
    Enter(*this, LabeledEdit_Lbrb_revised_increment, {TRangeRuleId::LengthIncrement});
}
void DOVEREForm::Bolted_BRB_tcKeyPress(TObject*, char& Key) {
    if (Key != kEnter) return;
    Enter(*this, Bolted_BRB_tc, {});
}
void DOVEREForm::Bolted_BRB_BcKeyPress(TObject*, char& Key) {
    if (Key != kEnter) return;
    Enter(*this, Bolted_BRB_Bc, {});
}
void DOVEREForm::Bolted_BRB_tjKeyPress(TObject*, char& Key) {
    if (Key != kEnter) return;
    Enter(*this, Bolted_BRB_tj, {}, true, clGreen);
}

// ---- Clicks ------------------------------------------------------------------------------

// A click into a pending stiffness target acts as Enter.
void DOVEREForm::Edit_Keff_reqClick(TObject*) { Enter(*this, Edit_Keff_req, {}, CheckBox_adjust_Keff->Checked()); }
void DOVEREForm::Edit_TargetLcClick(TObject*) {
    Enter(*this, Edit_TargetLc, {}, CheckBox_adjust_Keff->Checked() && CheckBox_TargetLc->Checked());
}
// A click into these edits does nothing.
void DOVEREForm::LabeledEdit_H_colClick(TObject*) {}
void DOVEREForm::LabeledEdit_L_beamClick(TObject*) {}
void DOVEREForm::LabeledEdit_Slab_ThicknessClick(TObject*) {}
void DOVEREForm::LabeledEdit_d_c_leftClick(TObject*) {}
void DOVEREForm::LabeledEdit_d_c_rightClick(TObject*) {}
void DOVEREForm::LabeledEdit_d_b_upClick(TObject*) {}
void DOVEREForm::LabeledEdit_d_b_downClick(TObject*) {}
void DOVEREForm::Edit_LcToLwpClick(TObject*) {}
void DOVEREForm::LabeledEdit_Adjust_R_y_cClick(TObject*) {}
void DOVEREForm::LabeledEdit_Adjust_Omega_hClick(TObject*) {}
void DOVEREForm::LabeledEdit_Adjust_Beta_fClick(TObject*) {}
void DOVEREForm::LabeledEdit_Adjust_R_y_gClick(TObject*) {}

// ---- Check boxes of the Auto Adjust page ---------------------------------------------------

namespace {

// The material box sits below the Keff box, lower while the Keff inputs are shown.
void PlaceMaterialBox(DOVEREForm& form) {
    const int below = form.CheckBox_adjust_Keff->Checked() ? 88 : 50;
    form.CheckBox_adjust_Mat->SetTop(form.CheckBox_adjust_Keff->Top() + below);
    form.GroupBox_adjust_Mat->SetTop(form.CheckBox_adjust_Mat->Top() - 5);
}

// The whole page waits for the run, so that no second box starts one meanwhile.
void RunWithPageDisabled(DOVEREForm& form) {
    const ui::ScopedDisable busy(form.GroupBox_Adjust);
    form.RunDesign();
}

}  // namespace

void DOVEREForm::CheckBox_adjust_L_wClick(TObject*) { RunWithPageDisabled(*this); }
void DOVEREForm::CheckBox_adjust_BjDjClick(TObject*) { RunWithPageDisabled(*this); }
void DOVEREForm::CheckBox_adjust_LbrbClick(TObject*) { RunWithPageDisabled(*this); }
void DOVEREForm::CheckBox_TargetLcClick(TObject*) { RunWithPageDisabled(*this); }
void DOVEREForm::CheckBox_LcToLwpClick(TObject*) { RunWithPageDisabled(*this); }

void DOVEREForm::CheckBox_adjust_tgClick(TObject*) {
    const ui::ScopedDisable busy(GroupBox_Adjust);
    // The list always ends with "tg = tc" and "Auto (tg >= tc)".
    const int count = ComboBox_Gusset_Thickness->Items().Count();
    ComboBox_Gusset_Thickness->SetItemIndex(CheckBox_adjust_tg->Checked() ? count - 1 : count - 2);
    RunDesign();
}

void DOVEREForm::CheckBox_adjust_KeffClick(TObject*) {
    // The run asks for no stiffness; the result's Keff replaces the 0 afterwards.
    Edit_Keff_req->SetText("0");
    PlaceMaterialBox(*this);
    const bool shown = CheckBox_adjust_Keff->Checked();
    GroupBox_Adjust_Keff->SetVisible(shown);
    Edit_Keff_req->SetVisible(shown);
    RunWithPageDisabled(*this);
}

void DOVEREForm::CheckBox_adjust_MatClick(TObject*) {
    PlaceMaterialBox(*this);
    GroupBox_adjust_Mat->SetVisible(CheckBox_adjust_Mat->Checked());
    RunWithPageDisabled(*this);
}

void DOVEREForm::CheckBox_StiffenerClick(TObject*) { RunDesign(); }
void DOVEREForm::CheckBox_GUFMClick(TObject*) { RunDesign(); }
void DOVEREForm::CheckBox_Frame_ActionClick(TObject*) { RunDesign(); }
void DOVEREForm::CheckBox_StaggeredClick(TObject*) { RunDesign(); }

// ---- Selectors -----------------------------------------------------------------------------

void DOVEREForm::ComboBox_CASING_TYPEChange(TObject*) {
    const ui::ScopedDisable busy(ComboBox_CASING_TYPE);
    RunDesign();
}

void DOVEREForm::ComboBox_Gusset_ThicknessChange(TObject*) {
    const ui::ScopedDisable busy(ComboBox_Gusset_Thickness);
    // Silent, so that the box's own handler does not move the selection again.
    const int last = ComboBox_Gusset_Thickness->Items().Count() - 1;
    CheckBox_adjust_tg->SetCheckedSilent(ComboBox_Gusset_Thickness->ItemIndex() == last);
    RunDesign();
}

void DOVEREForm::ComboBox_Mat_Gusset_PlateChange(TObject*) {
    FillGussetThicknessList();
    const ui::ScopedDisable busy(ComboBox_Mat_Gusset_Plate);
    RunDesign();
}

void DOVEREForm::ComboBox_PyChange(TObject*) {
    const ui::ScopedDisable busy(ComboBox_Py);
    ApplyCrossTypeSection();
    RunDesign();
}

// The list moves through the classes itself; each move is a change.
void DOVEREForm::ComboBox_PyKeyDown(TObject*, std::uint16_t&, TShiftState) {}

// ---- Commits after a run -------------------------------------------------------------------

void DOVEREForm::CommitPendingFrameEdits() {
    for (TLabeledEdit* edit : FrameEdits)
        if (IsPending(edit)) MarkCommitted(edit);
}

void DOVEREForm::CommitPendingAdjustEdits() {
    for (TEdit* edit : AdjustEdits)
        if (IsPending(edit)) MarkCommitted(edit);
}
