// The configuration and connection switches. Each runs one design for the new family,
// then lays the result grids out for it and fills them again.
#include "app/DOVEREFORM.h"
#include "platform/ui/scoped_disable.h"

namespace {

const char* CfgTextOf(const TComboBox* cfg) { return cfg->ItemIndex() == 1 ? "Chevron" : "Diagonal"; }
const char* CtypeTextOf(const TComboBox* connection) { return connection->ItemIndex() == 1 ? "Bolted" : "Welded"; }

// While a switch's run waits or its boxes are open, the grids and views show nothing
// of a result designed for another bay.
void ShowNothingOfAnotherBay(DOVEREForm& f) {
    if (f.ResultFitsBay()) return;
    f.ClearResultGrids();
    f.RedrawViews();
}

// The switch's run with its selector disabled, then the refresh for the new bay. The
// refresh follows however the run ends: after an error the grids must not keep the
// old bay's rows, or the next designs fill that shape. The run's error is the one
// reported; one of the refresh after it would only follow from it.
template <class Run, class Refresh>
void RunThenRefresh(TControl* selector, Run run, Refresh refresh) {
    try {
        const ui::ScopedDisable busy(selector);
        run();
    } catch (...) {
        try {
            refresh();
        } catch (...) {
        }
        throw;
    }
    refresh();
}

}  // namespace

void DOVEREForm::ComboBox_cfgChange(TObject* Sender) {
    RunThenRefresh(
        ComboBox_cfg,
        [this] {
            CfgText = CfgTextOf(ComboBox_cfg);
            CtypeText = CtypeTextOf(ComboBox_Connection_Type);
            ShowNothingOfAnotherBay(*this);
            // A Chevron bay starts without stiffness adjustment; clearing the box runs
            // its click handler, and with it a design, at once.
            if (CfgText == "Chevron") CheckBox_adjust_Keff->SetChecked(false);
            RunDesign();
        },
        [this, Sender] {
            MagnifySideBarTab(0);
            // The side radio takes the items of the BRB view for the new bay, so that
            // "Right" names the right brace in the gusset view too.
            if (CfgText == "Chevron") FillPartRadio(ComboBox_BRB_Output_Option->ItemIndex() == 3 ? 3 : 2);
            LayoutBrbGrid();
            LayoutCheckGrid();
            ShowCheckTables();
            // A Chevron side selection may have left the short list of the middle
            // gusset, whose items would name other checks than a Diagonal table shows
            // by position.
            if (CfgText != "Chevron") FillCheckOptions();
            RadioGroup_DCRClick(Sender);
        });
}

void DOVEREForm::ComboBox_Connection_TypeChange(TObject* Sender) {
    RunThenRefresh(
        ComboBox_Connection_Type,
        [this] {
            CfgText = CfgTextOf(ComboBox_cfg);
            CtypeText = CtypeTextOf(ComboBox_Connection_Type);
            GroupBox_Bolted_core->SetVisible(CtypeText == "Bolted");
            ShowNothingOfAnotherBay(*this);
            if (CfgText == "Chevron") CheckBox_adjust_Keff->SetChecked(false);
            FillCheckOptions();
            RunDesign();
        },
        [this, Sender] {
            MagnifySideBarTab(0);
            LayoutBrbGrid();
            LayoutCheckGrid();
            ShowCheckTables();
            RadioGroup_DCRClick(Sender);
        });
}
