// Layout and painting of the BRB summary grid and its view selector.
#include "app/DOVEREFORM.h"

// The grid keeps its stored shape until its layouts are in.
void DOVEREForm::LayoutBrbGrid() {}

void DOVEREForm::ComboBox_BRB_Output_OptionChange(TObject*) {}

void DOVEREForm::StringGrid_BRBDrawCell(TObject*, int, int, const TRect&, TGridDrawState) {}

void DOVEREForm::ShowBrbResults() {}

void DOVEREForm::ShowChevronWeldedBrbResults() {}

void DOVEREForm::FillPartRadio(std::int32_t) {}
