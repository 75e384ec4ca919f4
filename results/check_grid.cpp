// Layouts and painting of the check grid.
#include "app/DOVEREFORM.h"

// The grid keeps its stored shape until its layouts are in.
void DOVEREForm::LayoutCheckGrid() {}

void DOVEREForm::StringGrid_DCRDrawCell(TObject*, int, int, const TRect&, TGridDrawState) {}

void DOVEREForm::LayoutCheckGridChevronBolted() {}
void DOVEREForm::LayoutCheckGridChevronWelded() {}
void DOVEREForm::LayoutCheckGridDiagonalWelded() {}
void DOVEREForm::LayoutCheckGridDiagonalBolted() {}
