// Property tables of the core and gusset plate steel grades.
#include "app/DOVEREFORM.h"

void DOVEREForm::SetCoreSteelGrade() {}

void DOVEREForm::SetGussetSteelGrade() {}
