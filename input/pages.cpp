// The control and side-bar pages, the layer toggles and the status lamp's clicks.
#include "app/DOVEREFORM.h"

namespace {

void PaintToggle(TPanel* toggle, bool on) {
    toggle->SetColor(on ? clCream : clGray);
    toggle->Font().Color = on ? clGray : clCream;
}

}  // namespace

void DOVEREForm::MagnifyControlTab(int a) {
    // The tabs keep their size until the dock-like magnification is in.
    ShowControlPage(a);
}

void DOVEREForm::ShowControlPage(int a) {
    for (int i = 0; i < static_cast<int>(ControlPages.size()); ++i) {
        if (i == a) {
            ControlPages[i]->SetLeft(16);
            ControlPages[i]->SetTop(75);
            ControlPages[i]->SetVisible(true);
        } else {
            ControlPages[i]->SetVisible(false);
        }
    }
}

void DOVEREForm::MagnifySideBarTab(int a) { ShowSideBarPage(a); }

void DOVEREForm::ShowSideBarPage(int a) {
    for (int i = 0; i < static_cast<int>(SideBarPages.size()); ++i)
        if (i != a) SideBarPages[i]->SetVisible(false);
    if (a < 0 || a >= static_cast<int>(SideBarPages.size())) return;
    TGroupBox* page = SideBarPages[a];
    if (CfgText == "Chevron" && (a == 0 || a == 1)) {
        RadioGroup_Part->SetLeft(12);
        RadioGroup_Part->SetTop(70);
        RadioGroup_DCR->SetLeft(12);
        RadioGroup_DCR->SetTop(70);
        RadioGroup_Part->SetVisible(a == 0);
        RadioGroup_DCR->SetVisible(a == 1);
        page->SetLeft(12);
        page->SetTop(RadioGroup_Part->Height() + 75);
    } else {
        RadioGroup_Part->SetVisible(false);
        RadioGroup_DCR->SetVisible(false);
        page->SetLeft(12);
        page->SetTop(85);
    }
    page->SetVisible(true);
}

void DOVEREForm::RestoreControlTabs() {
    for (TPanel* tab : ControlTabs) tab->SetBounds(tab->Left(), tab->Top(), tab->Width(), tab->Height());
}

void DOVEREForm::PaintLayerToggles() {
    PaintToggle(Panel_disp_Frame, ShowFrame);
    PaintToggle(Panel_disp_RL, ShowRL);
    PaintToggle(Panel_disp_BRB, ShowBRB);
    PaintToggle(Panel_disp_Gusset, ShowGusset);
    PaintToggle(Panel_disp_Lr, ShowLr);
}

void DOVEREForm::Panel_control_FrameMouseEnter(TObject*) { MagnifyControlTab(0); }
void DOVEREForm::Panel_control_BRBMouseEnter(TObject*) { MagnifyControlTab(1); }
void DOVEREForm::Panel_control_GussetMouseEnter(TObject*) { MagnifyControlTab(2); }
void DOVEREForm::Panel_control_AdjustMouseEnter(TObject*) { MagnifyControlTab(3); }
void DOVEREForm::Panel_control_BoltMouseEnter(TObject*) { MagnifyControlTab(4); }
void DOVEREForm::Panel_sb_Result_BRBMouseEnter(TObject*) { MagnifySideBarTab(0); }
void DOVEREForm::Panel_sb_CheckMouseEnter(TObject*) { MagnifySideBarTab(1); }
void DOVEREForm::Panel_sb_DesignMouseEnter(TObject*) { MagnifySideBarTab(2); }
void DOVEREForm::Panel_sb_AdjustMouseEnter(TObject*) { MagnifySideBarTab(3); }

void DOVEREForm::Panel_disp_FrameClick(TObject*) {}
void DOVEREForm::Panel_disp_RLClick(TObject*) {}
void DOVEREForm::Panel_disp_BRBClick(TObject*) {}
void DOVEREForm::Panel_disp_GussetClick(TObject*) {}
void DOVEREForm::Panel_disp_LrClick(TObject*) {}

// The lamp opens the check page.
void DOVEREForm::Panel_RUNClick(TObject* Sender) { Panel_sb_CheckMouseEnter(Sender); }
void DOVEREForm::Panel_RUNDblClick(TObject* Sender) { Panel_sb_CheckMouseEnter(Sender); }

void DOVEREForm::ShowResponseSignal(int) { RedrawViews(); }
