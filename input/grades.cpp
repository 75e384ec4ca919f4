// Steel grades, units and bolt grades.
#include "app/DOVEREFORM.h"

TUnitLabels UnitLabelsFor(const std::string& units_text) {
    if (units_text == "kN-mm") return {"kN", "mm", "kN/mm^2", "kN-mm", "kN/mm"};
    return {"tonf", "mm", "tonf/mm^2", "tonf-mm", "tonf/mm"};
}

void DOVEREForm::ApplyUnitLabels() { UnitLabels = UnitLabelsFor(ComboBox_Units->Text()); }

void DOVEREForm::ComboBox_MatChange(TObject*) {}
void DOVEREForm::ComboBox_UnitsChange(TObject*) {}
void DOVEREForm::ComboBox_BoltChange(TObject*) {}

void DOVEREForm::FillGussetThicknessList() {}

void DOVEREForm::ApplyDefaultBeamFy() {}

void DOVEREForm::ApplyBoltGrade() {}
