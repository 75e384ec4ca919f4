// The BRB summary grid: its layout per view and side, its values, its painting, and
// the view selector with the side selector of a Chevron bay.
#include "app/DOVEREFORM.h"
#include "platform/ui/scoped_disable.h"
#include "results/brb_views.h"
#include "results/grid_sizing.h"

namespace {

void WriteValueColumn(TStringGrid* grid, const std::vector<std::string>& texts) {
    for (int row = 0; row < static_cast<int>(texts.size()); ++row) grid->SetCells(1, row, texts[row]);
}

}  // namespace

void DOVEREForm::LayoutBrbGrid() {
    TStringGrid* grid = StringGrid_BRB;
    grid->SetColCount(2);
    grid->SetRowCount(2);
    const std::optional<TBrbTable> table =
        BrbLayoutTable(ComboBox_BRB_Output_Option->ItemIndex(), CfgText == "Chevron", RadioGroup_Part->ItemIndex());
    if (table) {
        const TBrbView& view = BrbView(*table);
        grid->SetDefaultRowHeight(view.RowHeight);
        grid->SetColWidths(0, view.Col0Width);
        grid->SetColWidths(1, view.Col1Width);
        grid->Font().Color = clCream;
        grid->Font().Size = 10;
        for (int row = 0; row < static_cast<int>(view.Rows.size()); ++row) grid->SetCells(0, row, view.Rows[row].Label);
        grid->SetRowCount(static_cast<int>(view.Rows.size()));  // one row at least
        const int line = grid->GridLineWidth();
        grid->SetHeight(GridHeightFor(view.RowHeight, line, grid->RowCount()));
        grid->SetWidth(GridWidthFor({view.Col0Width, view.Col1Width}, line));
    }
    Label_Units->SetLeft(grid->Left());
    Label_Units->SetTop(grid->Top() + grid->Height() + 3);
}

void DOVEREForm::FillPartRadio(std::int32_t count) {
    if (CfgText != "Chevron") return;
    TRadioGroup* radio = RadioGroup_Part;
    if (count == 3) {
        radio->Items().Assign({"Left", "Mid.", "Right"});
        radio->SetColumns(3);
    } else {
        radio->Items().Assign({"Left", "Right"});
        radio->SetColumns(2);
    }
    // The emptied radio has no selection, so this runs its click handler.
    radio->SetItemIndex(0);
}

void DOVEREForm::ComboBox_BRB_Output_OptionChange(TObject*) {
    // Enabled again however the handler ends.
    ui::ScopedDisable busy(ComboBox_BRB_Output_Option);
    FillPartRadio(ComboBox_BRB_Output_Option->ItemIndex() == 3 ? 3 : 2);
    StringGrid_BRB->ClearCol(1);
    LayoutBrbGrid();
    ShowCheckTables();
    RedrawViews();
}

void DOVEREForm::StringGrid_BRBDrawCell(TObject*, int, int, const TRect&, TGridDrawState) {
    TStringGrid* grid = StringGrid_BRB;
    TCanvas* canvas = grid->Canvas();
    for (int col = 0; col < grid->ColCount(); ++col) {
        for (int row = 0; row < grid->RowCount(); ++row) {
            const TRect rect = grid->CellRect(col, row);
            canvas->Brush.Color = BrbRowColor(row, Panel_Color_1->Color(), Panel_Color_2->Color());
            canvas->FrameRect(rect);
            canvas->TextRect(rect, rect.Left + 2, rect.Top + 2, grid->Cells(col, row));
        }
    }
}

void DOVEREForm::ShowBrbResults() {
    if (!ResultObject.has<double>("P_y")) return;
    const int view = ComboBox_BRB_Output_Option->ItemIndex();
    // A Chevron bay's gusset view is laid out for one side or the middle plate, so its
    // rows come from that side whatever the connection.
    if (CfgText == "Chevron" && view == 3) {
        const int side = RadioGroup_Part->ItemIndex();
        const TBrbTable table = *BrbSideFillTable(view, side);
        WriteValueColumn(StringGrid_BRB,
                         BrbValueTexts(table, true, BrbSideSource(SideValues, SideTexts, BrbFillSide(table, side)),
                                       OutputFormats));
        return;
    }
    const std::optional<TBrbTable> table = BrbLayoutTable(view, false, 0);
    if (!table) return;
    WriteValueColumn(StringGrid_BRB, BrbValueTexts(*table, false, BrbTopLevelSource(ResultObject), OutputFormats));
}

void DOVEREForm::ShowChevronWeldedBrbResults() {
    if (!ResultObject.has<double>("P_y")) return;
    const int view = ComboBox_BRB_Output_Option->ItemIndex();
    const int side = RadioGroup_Part->ItemIndex();
    const std::optional<TBrbTable> table = BrbSideFillTable(view, side);
    if (!table) return;
    WriteValueColumn(StringGrid_BRB,
                     BrbValueTexts(*table, true, BrbSideSource(SideValues, SideTexts, BrbFillSide(*table, side)),
                                   OutputFormats));
}
