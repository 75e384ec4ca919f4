// The core type switch, the capacity classes and the catalogue sections.
#include "app/DOVEREFORM.h"

void DOVEREForm::ComboBox_BRB_TypeChange(TObject*) {
    ComboBox_BRB_Type->SetEnabled(false);
    const bool cruciform = ComboBox_BRB_Type->ItemIndex() == 0;
    GroupBox4->SetVisible(cruciform);
    GroupBox_SP->SetVisible(!cruciform);
    RunDesign();
    ComboBox_BRB_Type->SetEnabled(true);
}

void DOVEREForm::ComboBox_SP_PyChange(TObject*) {}

void DOVEREForm::ComboBox_UpperBeamChange(TObject*) {}
void DOVEREForm::ComboBox_LowerBeamChange(TObject*) {}
void DOVEREForm::ComboBox_LeftColumnChange(TObject*) {}
void DOVEREForm::ComboBox_RightColumnChange(TObject*) {}

// Bound in the layout; these do nothing.
void DOVEREForm::ComboBox_LeftColumnClick(TObject*) {}
void DOVEREForm::LabeledEdit_Beam_upDblClick(TObject*) {}
void DOVEREForm::LabeledEdit_Beam_downDblClick(TObject*) {}
void DOVEREForm::LabeledEdit_d_c_leftDblClick(TObject*) {}
void DOVEREForm::LabeledEdit_d_c_rightDblClick(TObject*) {}

void DOVEREForm::ComboBox_UpperBeamMouseEnter(TObject*) {}
void DOVEREForm::ComboBox_LowerBeamMouseEnter(TObject*) {}
void DOVEREForm::ComboBox_LeftColumnMouseEnter(TObject*) {}
void DOVEREForm::ComboBox_RightColumnMouseEnter(TObject*) {}
void DOVEREForm::GroupBox_UpperMouseEnter(TObject*) {}
void DOVEREForm::GroupBox14MouseEnter(TObject*) {}
void DOVEREForm::GroupBox15MouseEnter(TObject*) {}
void DOVEREForm::GroupBox1MouseEnter(TObject*) {}

void DOVEREForm::ApplyCrossTypeSection() {}

void DOVEREForm::ApplySinglePlateSection() {}
