// The check view options, the side selectors and the handlers that change the view.
#include "app/DOVEREFORM.h"
#include "platform/ui/scoped_disable.h"
#include "results/check_views.h"

void DOVEREForm::FillCheckOptions() {
    // Leaves no item chosen.
    ComboBox_DCR_Output_Option->Items().Assign(
        CheckOptionItems(CtypeText == "Bolted" ? TCheckOptionList::Bolted : TCheckOptionList::Welded));
}

void DOVEREForm::RadioGroup_DCRClick(TObject*) {
    if (CfgText == "Chevron")
        ComboBox_DCR_Output_Option->Items().Assign(CheckOptionItems(
            ChevronCheckOptionList(CtypeText == "Bolted", RadioGroup_DCR->ItemIndex() == 1, true)));
    ComboBox_DCR_Output_Option->SetItemIndex(0);
    ComboBox_DCR_Output_OptionChange(ComboBox_DCR_Output_Option);
    LayoutCheckGrid();
    ShowCheckTables();
    ReadCheckRatios();
}

void DOVEREForm::RadioGroup_PartClick(TObject*) {
    LayoutBrbGrid();
    // The list follows the check side, which the check grid's layouts and fills read,
    // so that its items name the checks the grid shows.
    if (CfgText == "Chevron")
        ComboBox_DCR_Output_Option->Items().Assign(CheckOptionItems(
            ChevronCheckOptionList(CtypeText == "Bolted", RadioGroup_DCR->ItemIndex() == 1, false)));
    ComboBox_DCR_Output_Option->SetItemIndex(0);
    LayoutCheckGrid();
    ShowCheckTables();
    ComboBox_DCR_Output_OptionChange(ComboBox_DCR_Output_Option);
}

void DOVEREForm::ComboBox_DCR_Output_OptionChange(TObject*) {
    // Enabled again however the handler ends.
    ui::ScopedDisable busy(ComboBox_DCR_Output_Option);
    StringGrid_DCR->ClearCol(0);
    StringGrid_DCR->ClearCol(1);
    LayoutCheckGrid();
    ShowCheckTables();
    RedrawViews();
}

void DOVEREForm::StringGrid_DCRDblClick(TObject*) {
    if (ComboBox_DCR_Output_Option->ItemIndex() != 0) return;
    const int item = StringGrid_DCR->Row() + 1;
    // The last rows of some lists have no item of their own; their double click keeps
    // the list rather than leave the grid without a view.
    if (item >= ComboBox_DCR_Output_Option->Items().Count()) return;
    ComboBox_DCR_Output_Option->SetItemIndex(item);
    ComboBox_DCR_Output_OptionChange(ComboBox_DCR_Output_Option);
}

namespace {

void BackToAllChecks(DOVEREForm& form) {
    form.ResetDcrGaugeRow();
    form.ComboBox_DCR_Output_Option->SetItemIndex(0);
    form.ComboBox_DCR_Output_OptionChange(form.ComboBox_DCR_Output_Option);
}

void ShowCheckItem(DOVEREForm& form, int item) {
    form.Panel_sb_CheckMouseEnter(form.Panel_sb_Check);
    form.ComboBox_DCR_Output_Option->SetItemIndex(item);
    form.ComboBox_DCR_Output_OptionChange(form.ComboBox_DCR_Output_Option);
}

}  // namespace

void DOVEREForm::Image1DblClick(TObject*) { BackToAllChecks(*this); }
void DOVEREForm::GroupBox_sb_CheckDblClick(TObject*) { BackToAllChecks(*this); }
void DOVEREForm::ImageClickDblClick(TObject*) { BackToAllChecks(*this); }
void DOVEREForm::Image2Click(TObject*) { BackToAllChecks(*this); }

#define ZORV_GAUGE_PICTURE_CLICKS(suffix, index, click, dblclick)                          \
    void DOVEREForm::Image_DCR_##suffix##Click(TObject*) { ShowCheckItem(*this, click); } \
    void DOVEREForm::Image_DCR_##suffix##DblClick(TObject*) { ShowCheckItem(*this, dblclick); }
ZORV_DCR_GAUGES(ZORV_GAUGE_PICTURE_CLICKS)
#undef ZORV_GAUGE_PICTURE_CLICKS
