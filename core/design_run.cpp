// The design run and the "Design" button.
#include "app/DOVEREFORM.h"

void DOVEREForm::RunDesign() {
    SetCursor(crHourGlass);
    Timer_Run_ZORV->SetEnabled(false);
    struct Arrow {
        DOVEREForm& form;
        ~Arrow() { form.SetCursor(crArrow); }
    } arrow{*this};
    if (!FormReady) return;
    // The request, the send and the result reading come with the run itself.
}

void DOVEREForm::Button_RefreshClick(TObject*) {
    Button_Refresh->SetEnabled(false);
    Panel_Timer_Small->SetColor(Panel_Run_Color->Color());
    Panel_Timer->SetColor(clRed);
    Panel_Timer->SetParentBackground(false);
    RunDesign();
    Button_Refresh->SetEnabled(true);
}

void DOVEREForm::Timer_Run_ZORVTimer(TObject*) {}

void DOVEREForm::Button14Click(TObject*) { RemoveClientFiles(); }
