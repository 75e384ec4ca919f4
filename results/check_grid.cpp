// Layouts and painting of the check grid.
#include "app/DOVEREFORM.h"
#include "results/check_views.h"
#include "results/grid_sizing.h"

namespace {

// Shape and column 0 of one view; no other cell is touched.
void ApplyCheckView(TStringGrid* grid, TCheckViewKind kind, bool bolted) {
    const TCheckViewShape& shape = CheckViewShape(kind);
    grid->SetColCount(shape.ColCount);
    grid->SetRowCount(2);
    // Every row takes this height, so no tall row of an earlier view survives.
    grid->SetDefaultRowHeight(shape.RowHeight);
    grid->Font().Color = clCream;
    grid->Font().Size = shape.FontSize;
    for (int col = 0; col < shape.ColCount; ++col) grid->SetColWidths(col, shape.ColWidths[col]);
    const std::vector<std::string> titles = CheckViewTitles(kind, bolted);
    for (int row = 0; row < static_cast<int>(titles.size()); ++row) {
        grid->SetCells(0, row, titles[row]);
        if (row == 1 && shape.TallRowHeight > 0) grid->SetRowHeights(1, shape.TallRowHeight);
    }
    grid->SetRowCount(static_cast<int>(titles.size()));
    const int line = grid->GridLineWidth();
    const int tall_extra = shape.TallRowHeight > 0 ? shape.TallRowHeight - shape.RowHeight : 0;
    grid->SetHeight(GridHeightFor(shape.RowHeight, line, grid->RowCount(), tall_extra));
    grid->SetWidth(GridWidthFor(shape.ColWidths, line));
}

}  // namespace

void DOVEREForm::LayoutCheckGrid() {
    switch (CheckFamilyOf(CfgText, CtypeText)) {
        case TCheckFamily::ChevronBolted: LayoutCheckGridChevronBolted(); break;
        case TCheckFamily::ChevronWelded: LayoutCheckGridChevronWelded(); break;
        case TCheckFamily::DiagonalBolted: LayoutCheckGridDiagonalBolted(); break;
        case TCheckFamily::DiagonalWelded: LayoutCheckGridDiagonalWelded(); break;
    }
}

void DOVEREForm::LayoutCheckGridChevronBolted() {
    const auto kind = CheckViewFor(TCheckFamily::ChevronBolted, RadioGroup_DCR->ItemIndex(),
                                   ComboBox_DCR_Output_Option->ItemIndex());
    if (kind) ApplyCheckView(StringGrid_DCR, *kind, true);
}

void DOVEREForm::LayoutCheckGridChevronWelded() {
    const auto kind = CheckViewFor(TCheckFamily::ChevronWelded, RadioGroup_DCR->ItemIndex(),
                                   ComboBox_DCR_Output_Option->ItemIndex());
    if (kind) ApplyCheckView(StringGrid_DCR, *kind, false);
}

void DOVEREForm::LayoutCheckGridDiagonalWelded() {
    const auto kind = CheckViewFor(TCheckFamily::DiagonalWelded, 0, ComboBox_DCR_Output_Option->ItemIndex());
    if (kind) ApplyCheckView(StringGrid_DCR, *kind, false);
    // Also without a view, so the count of failed checks follows the view.
    ShowDiagonalWeldedChecks();
}

void DOVEREForm::LayoutCheckGridDiagonalBolted() {
    const auto kind = CheckViewFor(TCheckFamily::DiagonalBolted, 0, ComboBox_DCR_Output_Option->ItemIndex());
    if (kind) ApplyCheckView(StringGrid_DCR, *kind, true);
}

void DOVEREForm::StringGrid_DCRDrawCell(TObject*, int, int, const TRect&, TGridDrawState) {
    TStringGrid* grid = StringGrid_DCR;
    TCanvas* canvas = grid->Canvas();
    const bool list_view = ComboBox_DCR_Output_Option->ItemIndex() == 0;
    const TColor even = Panel_Color_3->Color();
    const TColor odd = Panel_Color_4->Color();
    for (int col = 0; col < grid->ColCount(); ++col) {
        for (int row = 0; row < grid->RowCount(); ++row) {
            const TRect rect = grid->CellRect(col, row);
            // The whole row takes the colour of its mark.
            canvas->Brush.Color =
                CheckRowColor(list_view, row, grid->RowCount(), grid->Cells(1, row), grid->Cells(2, row), even, odd);
            canvas->FillRect(rect);
            const std::string& text = grid->Cells(col, row);
            if (list_view)
                canvas->TextRect(rect, rect.Left + 2, rect.Top + 2, text);
            else
                canvas->DrawText(TRect(rect.Left + 2, rect.Top + 2, rect.Right, rect.Bottom), text, DT_CENTER);
        }
    }
}
