// The editing cycle of the input edits, the check boxes and the selectors of the
// input pages.
#include "app/DOVEREFORM.h"

void DOVEREForm::LabeledEdit_H_colChange(TObject*) {}
void DOVEREForm::LabeledEdit_L_beamChange(TObject*) {}
void DOVEREForm::LabeledEdit_d_c_leftChange(TObject*) {}
void DOVEREForm::LabeledEdit_d_c_rightChange(TObject*) {}
void DOVEREForm::LabeledEdit_d_b_upChange(TObject*) {}
void DOVEREForm::LabeledEdit_d_b_downChange(TObject*) {}
void DOVEREForm::LabeledEdit_Slab_ThicknessChange(TObject*) {}
void DOVEREForm::LabeledEdit_Adjust_R_y_cChange(TObject*) {}
void DOVEREForm::LabeledEdit_Adjust_Omega_hChange(TObject*) {}
void DOVEREForm::LabeledEdit_Adjust_Beta_fChange(TObject*) {}
void DOVEREForm::LabeledEdit_Beam_upChange(TObject*) {}
void DOVEREForm::LabeledEdit_Beam_downChange(TObject*) {}
void DOVEREForm::LabeledEdit_F_y_bChange(TObject*) {}
void DOVEREForm::LabeledEdit_R_y_bChange(TObject*) {}
void DOVEREForm::Edit_Keff_reqChange(TObject*) {}
void DOVEREForm::Edit_TargetLcChange(TObject*) {}
void DOVEREForm::Edit_LcToLwpChange(TObject*) {}
void DOVEREForm::LabeledEdit_Adjust_R_y_gChange(TObject*) {}
void DOVEREForm::LabeledEdit_Upper_CDChange(TObject*) {}
void DOVEREForm::LabeledEdit_Left_CDChange(TObject*) {}
void DOVEREForm::LabeledEdit_Right_CDChange(TObject*) {}
void DOVEREForm::LabeledEdit_Lower_CDChange(TObject*) {}
void DOVEREForm::LabeledEdit_Lbrb_revised_incrementChange(TObject*) {}
void DOVEREForm::Bolted_BRB_tcChange(TObject*) {}
void DOVEREForm::Bolted_BRB_BcChange(TObject*) {}
void DOVEREForm::Bolted_BRB_tjChange(TObject*) {}

void DOVEREForm::LabeledEdit_H_colKeyPress(TObject*, char&) {}
void DOVEREForm::LabeledEdit_L_beamKeyPress(TObject*, char&) {}
void DOVEREForm::LabeledEdit_d_c_leftKeyPress(TObject*, char&) {}
void DOVEREForm::LabeledEdit_d_c_rightKeyPress(TObject*, char&) {}
void DOVEREForm::LabeledEdit_d_b_upKeyPress(TObject*, char&) {}
void DOVEREForm::LabeledEdit_d_b_downKeyPress(TObject*, char&) {}
void DOVEREForm::LabeledEdit_Slab_ThicknessKeyPress(TObject*, char&) {}
void DOVEREForm::LabeledEdit_Adjust_R_y_cKeyPress(TObject*, char&) {}
void DOVEREForm::LabeledEdit_Adjust_Omega_hKeyPress(TObject*, char&) {}
void DOVEREForm::LabeledEdit_Adjust_Beta_fKeyPress(TObject*, char&) {}
void DOVEREForm::LabeledEdit_Beam_upKeyPress(TObject*, char&) {}
void DOVEREForm::LabeledEdit_Beam_downKeyPress(TObject*, char&) {}
void DOVEREForm::LabeledEdit_F_y_bKeyPress(TObject*, char&) {}
void DOVEREForm::LabeledEdit_R_y_bKeyPress(TObject*, char&) {}
void DOVEREForm::Edit_Keff_reqKeyPress(TObject*, char&) {}
void DOVEREForm::Edit_TargetLcKeyPress(TObject*, char&) {}
void DOVEREForm::Edit_LcToLwpKeyPress(TObject*, char&) {}
void DOVEREForm::LabeledEdit_Adjust_R_y_gKeyPress(TObject*, char&) {}
void DOVEREForm::LabeledEdit_Upper_CDKeyPress(TObject*, char&) {}
void DOVEREForm::LabeledEdit_Left_CDKeyPress(TObject*, char&) {}
void DOVEREForm::LabeledEdit_Right_CDKeyPress(TObject*, char&) {}
void DOVEREForm::LabeledEdit_Lower_CDKeyPress(TObject*, char&) {}
void DOVEREForm::LabeledEdit_Lbrb_revised_incrementKeyPress(TObject*, char&) {}
void DOVEREForm::Bolted_BRB_tcKeyPress(TObject*, char&) {}
void DOVEREForm::Bolted_BRB_BcKeyPress(TObject*, char&) {}
void DOVEREForm::Bolted_BRB_tjKeyPress(TObject*, char&) {}

void DOVEREForm::Edit_Keff_reqClick(TObject*) {}
void DOVEREForm::Edit_TargetLcClick(TObject*) {}
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

void DOVEREForm::CheckBox_adjust_L_wClick(TObject*) {}
void DOVEREForm::CheckBox_adjust_BjDjClick(TObject*) {}
void DOVEREForm::CheckBox_adjust_LbrbClick(TObject*) {}
void DOVEREForm::CheckBox_adjust_tgClick(TObject*) {}
void DOVEREForm::CheckBox_adjust_KeffClick(TObject*) {}
void DOVEREForm::CheckBox_TargetLcClick(TObject*) {}
void DOVEREForm::CheckBox_LcToLwpClick(TObject*) {}
void DOVEREForm::CheckBox_adjust_MatClick(TObject*) {}
void DOVEREForm::CheckBox_StiffenerClick(TObject*) {}
void DOVEREForm::CheckBox_GUFMClick(TObject*) {}
void DOVEREForm::CheckBox_Frame_ActionClick(TObject*) {}
void DOVEREForm::CheckBox_StaggeredClick(TObject*) {}

void DOVEREForm::ComboBox_CASING_TYPEChange(TObject*) {}
void DOVEREForm::ComboBox_Gusset_ThicknessChange(TObject*) {}
void DOVEREForm::ComboBox_Mat_Gusset_PlateChange(TObject*) {}
void DOVEREForm::ComboBox_PyChange(TObject*) {}
// The list moves through the classes itself; each move is a change.
void DOVEREForm::ComboBox_PyKeyDown(TObject*, std::uint16_t&, TShiftState) {}

void DOVEREForm::CommitPendingFrameEdits() {}

void DOVEREForm::CommitPendingAdjustEdits() {}
