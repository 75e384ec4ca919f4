// The check tables: the one entry point after every result and every change of view,
// and the fillers of the four families.
//
// The held result is shown only for the bay (configuration and connection) it was
// designed for; for another bay both grids show no values and the count is 0. Every
// filler then passes the guard: without a number under "DCR_1" at the top of the
// result it writes nothing and the count is 0. Past the guard a view is written
// whole: a number the result lacks reads "?", and a check whose ratio is missing
// counts as failed, so such a result never lights "DONE".
//
// FailedCheckCount counts every failed check of the bay whatever view is shown: the
// lamp and the workbook's "NG" column must not depend on the view the user left open.
#include <algorithm>

#include "app/DOVEREFORM.h"
#include "input/edit_state.h"
#include "results/check_catalogue.h"
#include "results/check_views.h"

namespace {

bool HasCheckNumbers(const jsonxx::Object& result) { return result.has<double>("DCR_1"); }

TCheckValues TopLevelValues(const jsonxx::Object& result) {
    return [&result](const std::string& key) -> std::optional<double> {
        if (!result.has<double>(key)) return std::nullopt;
        return result.get<double>(key);
    };
}

// The brace side that the check side selector names: 0 "Left", 2 "Right"; nothing
// for "Mid." or no choice, which show the middle gusset as the grid's layout has it.
const char* BraceSideKey(int item_index) {
    if (item_index == 0) return "LEFT";
    if (item_index == 2) return "RIGHT";
    return nullptr;
}

// The view chosen in the option box: 0 the all-checks list, k the detail of check k;
// any other index writes no cell.
void WriteCheckView(TStringGrid& grid, int view, CheckCatalogue checks, const TUnitLabels& labels,
                    const TCheckValues& values) {
    if (view == 0) {
        const std::vector<TCheckListRow> rows = CheckListRows(checks, values);
        grid.ClearCol(2);
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const TCheckListRow& row = rows[r];
            const int at = static_cast<int>(r);
            grid.SetCells(1, at, row.Ratio);
            grid.SetCells(0, at, row.Symbol);
            // Also beyond the grid's row count, where ClearCol does not reach.
            grid.SetCells(2, at, row.Mark);
        }
        return;
    }
    if (view < 1 || static_cast<std::size_t>(view) > checks.size()) return;
    const std::vector<std::string> cells = CheckDetailCells(checks[view - 1], labels, values);
    for (std::size_t r = 0; r < cells.size(); ++r) grid.SetCells(1, static_cast<int>(r), cells[r]);
}

// A Diagonal filler: the guard, the count of every check, then the chosen view, all
// from the top level of the result.
void ShowDiagonalChecks(DOVEREForm& f, CheckCatalogue checks) {
    f.FailedCheckCount = 0;
    if (!HasCheckNumbers(f.ResultObject)) return;
    const TCheckValues values = TopLevelValues(f.ResultObject);
    f.FailedCheckCount = CountFailingChecks(checks, values);
    WriteCheckView(*f.StringGrid_DCR, f.ComboBox_DCR_Output_Option->ItemIndex(), checks, f.UnitLabels, values);
}

// A Chevron filler: the guard, the count of the whole bay, then the chosen brace
// side's view or the middle gusset's.
void ShowChevronChecks(DOVEREForm& f, CheckCatalogue side_checks, void (DOVEREForm::*show_middle)()) {
    f.FailedCheckCount = 0;
    if (!HasCheckNumbers(f.ResultObject)) return;
    f.CountFailedChecks();
    const char* side = BraceSideKey(f.RadioGroup_DCR->ItemIndex());
    if (!side) {
        (f.*show_middle)();
        return;
    }
    WriteCheckView(*f.StringGrid_DCR, f.ComboBox_DCR_Output_Option->ItemIndex(), side_checks, f.UnitLabels,
                   SideCheckValues(f.SideValues, side));
}

}  // namespace

void DOVEREForm::ShowCheckTables() {
    if (!ResultFitsBay()) {
        // Nothing has been designed for this bay yet: no values, no marks, no count.
        FailedCheckCount = 0;
        ClearResultGrids();
        return;
    }
    switch (CheckFamilyOf(CfgText, CtypeText)) {
        case TCheckFamily::ChevronBolted:
            ShowChevronBoltedChecks();
            ShowBrbResults();
            break;
        case TCheckFamily::ChevronWelded:
            ShowChevronWeldedChecks();
            ShowChevronWeldedBrbResults();
            break;
        case TCheckFamily::DiagonalBolted:
            ShowDiagonalBoltedChecks();
            ShowBrbResults();
            break;
        case TCheckFamily::DiagonalWelded:
            ShowDiagonalWeldedChecks();
            ShowBrbResults();
            break;
    }
    // With its adjustment box checked the edit holds the user's required stiffness,
    // and a pending text outside a run is the user's too: neither is overwritten.
    // The BRB grid shows the designed stiffness either way.
    if (CheckBox_adjust_Keff->Checked()) return;
    if (!ReadingRunResult && IsPendingEdit(*Edit_Keff_req)) return;
    if (ResultObject.has<double>("K_eff"))
        Edit_Keff_req->SetText(FormatOutputNumber(static_cast<float>(ResultObject.get<double>("K_eff"))));
}

void DOVEREForm::ClearResultGrids() {
    // Past the row count too, so that no old value comes back when a layout grows.
    const int longest = static_cast<int>(BoltedCheckCatalogue().size());
    const auto clear = [longest](TStringGrid* grid, int col) {
        for (int row = 0; row < std::max(grid->RowCount(), longest); ++row) grid->SetCells(col, row, "");
    };
    clear(StringGrid_DCR, 1);
    clear(StringGrid_DCR, 2);
    clear(StringGrid_BRB, 1);
}

void DOVEREForm::CountFailedChecks() {
    const bool bolted = IsBolted(CheckFamilyOf(CfgText, CtypeText));
    FailedCheckCount = CountFailedBayChecks(SideValues, bolted ? ChevronBoltedSideCatalogue() : ChevronWeldedSideCatalogue(),
                                            bolted ? BoltedMiddleCatalogue() : WeldedMiddleCatalogue());
}

void DOVEREForm::ShowDiagonalWeldedChecks() {
    // The bolted layout ends here too; its own filler follows.
    if (IsBolted(CheckFamilyOf(CfgText, CtypeText))) return;
    ShowDiagonalChecks(*this, WeldedCheckCatalogue());
}

void DOVEREForm::ShowDiagonalBoltedChecks() { ShowDiagonalChecks(*this, BoltedCheckCatalogue()); }

void DOVEREForm::ShowChevronWeldedChecks() {
    ShowChevronChecks(*this, ChevronWeldedSideCatalogue(), &DOVEREForm::ShowMiddleWeldedChecks);
}

void DOVEREForm::ShowMiddleWeldedChecks() {
    WriteCheckView(*StringGrid_DCR, ComboBox_DCR_Output_Option->ItemIndex(), WeldedMiddleCatalogue(), UnitLabels,
                   SideCheckValues(SideValues, "MIDDLE"));
}

void DOVEREForm::ShowChevronBoltedChecks() {
    ShowChevronChecks(*this, ChevronBoltedSideCatalogue(), &DOVEREForm::ShowMiddleBoltedChecks);
}

void DOVEREForm::ShowMiddleBoltedChecks() {
    WriteCheckView(*StringGrid_DCR, ComboBox_DCR_Output_Option->ItemIndex(), BoltedMiddleCatalogue(), UnitLabels,
                   SideCheckValues(SideValues, "MIDDLE"));
}
