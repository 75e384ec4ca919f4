// The control and side-bar pages, the layer toggles, the response bars and the status
// lamp's clicks.
#include "input/tab_rows.h"

#include "app/DOVEREFORM.h"

std::vector<TTabPlace> TabRowPlaces(int count, int magnified, int full_size, int top, int first_left, int spacing) {
    std::vector<TTabPlace> places(count > 0 ? count : 0);
    const int a = magnified;
    for (int i = 0; i < count; ++i) {
        // (i + 0.5) / a x S before the magnified tab, (n - i + 0.5) / (n - a) x S after
        // it, in whole numbers: the quotients are never whole, so truncation is exact.
        if (i == a)
            places[i].Size = full_size;
        else if (i < a)
            places[i].Size = (2 * i + 1) * full_size / (2 * a);
        else
            places[i].Size = (2 * (count - i) + 1) * full_size / (2 * (count - a));
        places[i].Top = top;
        places[i].Left = i == 0 ? first_left : places[i - 1].Left + places[i - 1].Size + spacing;
    }
    return places;
}

int ControlTabSpacing(int gap) {
    // gap x 0.7 falls just short of a whole number when it would be one (30 x 0.7 is
    // 20.999... in extended precision), and the truncation then drops a pixel.
    return (7 * gap - 1) / 10;
}

int ResponseBarCount(int ms) {
    if (ms <= 200) return 4;
    if (ms <= 300) return 3;
    if (ms <= 500) return 2;
    if (ms <= 1000) return 1;
    return 0;
}

namespace {

void PlaceTabs(const std::vector<TPanel*>& tabs, const std::vector<TTabPlace>& places) {
    for (std::size_t i = 0; i < tabs.size() && i < places.size(); ++i)
        tabs[i]->SetBounds(places[i].Left, places[i].Top, places[i].Size, places[i].Size);
}

// On: cream with grey text; off: grey with cream text.
void PaintToggle(TPanel* toggle, bool on) {
    toggle->SetColor(on ? clCream : clGray);
    toggle->Font().Color = on ? clGray : clCream;
}

}  // namespace

void DOVEREForm::MagnifyControlTab(int a) {
    const int count = static_cast<int>(ControlTabs.size());
    PlaceTabs(ControlTabs, TabRowPlaces(count, a, ViewLayout.ControlTabSize, ViewLayout.ControlTabTop,
                                        ViewLayout.ControlTabGap, ControlTabSpacing(ViewLayout.ControlTabGap)));
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

void DOVEREForm::MagnifySideBarTab(int a) {
    const int count = static_cast<int>(SideBarTabs.size());
    PlaceTabs(SideBarTabs, TabRowPlaces(count, a, ViewLayout.SideBarTabSize, ViewLayout.SideBarTabTop,
                                        ViewLayout.SideBarTabGap, ViewLayout.SideBarTabGap));
    for (int i = 0; i < count; ++i) {
        TPanel* tab = SideBarTabs[i];
        const bool magnified = i == a;
        tab->Font().Size = magnified ? 16 : 10;
        tab->Font().Color = magnified ? clCream : clGray;
        tab->SetColor(magnified ? clRed : clCream);
    }
    ShowSideBarPage(a);
}

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
// "B" and "L" pages hold a view selector; whether it has the focus changes nothing.
void DOVEREForm::Panel_sb_Result_BRBMouseEnter(TObject*) { MagnifySideBarTab(0); }
void DOVEREForm::Panel_sb_CheckMouseEnter(TObject*) { MagnifySideBarTab(1); }
void DOVEREForm::Panel_sb_DesignMouseEnter(TObject*) { MagnifySideBarTab(2); }
void DOVEREForm::Panel_sb_AdjustMouseEnter(TObject*) { MagnifySideBarTab(3); }

namespace {

void FlipLayer(bool& flag, TPanel* toggle) {
    flag = !flag;
    PaintToggle(toggle, flag);
}

}  // namespace

void DOVEREForm::Panel_disp_FrameClick(TObject*) {
    FlipLayer(ShowFrame, Panel_disp_Frame);
    RedrawViews();
}

void DOVEREForm::Panel_disp_RLClick(TObject*) {
    FlipLayer(ShowRL, Panel_disp_RL);
    RedrawViews();
}

void DOVEREForm::Panel_disp_BRBClick(TObject*) {
    FlipLayer(ShowBRB, Panel_disp_BRB);
    RedrawViews();
}

void DOVEREForm::Panel_disp_GussetClick(TObject*) {
    FlipLayer(ShowGusset, Panel_disp_Gusset);
    RedrawViews();
}

void DOVEREForm::Panel_disp_LrClick(TObject*) {
    FlipLayer(ShowLr, Panel_disp_Lr);
    RedrawViews();
}

// The lamp opens the check page.
void DOVEREForm::Panel_RUNClick(TObject* Sender) { Panel_sb_CheckMouseEnter(Sender); }
void DOVEREForm::Panel_RUNDblClick(TObject* Sender) { Panel_sb_CheckMouseEnter(Sender); }

void DOVEREForm::ShowResponseSignal(int ms) {
    const int lit = ResponseBarCount(ms);
    // An unlit bar shows its parent's background and so disappears into the window.
    for (int k = 1; k <= static_cast<int>(SignalPanels.size()); ++k) SignalPanels[k - 1]->SetParentBackground(k > lit);
    RedrawViews();
}
