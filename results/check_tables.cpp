// The check tables: the one entry point after every result and every change of view.
#include "app/DOVEREFORM.h"

void DOVEREForm::ShowCheckTables() {
    // Until the check tables exist nothing is counted; the designed stiffness is
    // still shown in its field.
    FailedCheckCount = 0;
    if (ResultObject.has<double>("K_eff"))
        Edit_Keff_req->SetText(FormatOutputNumber(static_cast<float>(ResultObject.get<double>("K_eff"))));
}

void DOVEREForm::CountFailedChecks() { FailedCheckCount = 0; }
void DOVEREForm::ShowDiagonalWeldedChecks() {}
void DOVEREForm::ShowDiagonalBoltedChecks() {}
void DOVEREForm::ShowChevronWeldedChecks() {}
void DOVEREForm::ShowMiddleWeldedChecks() {}
void DOVEREForm::ShowChevronBoltedChecks() {}
void DOVEREForm::ShowMiddleBoltedChecks() {}
