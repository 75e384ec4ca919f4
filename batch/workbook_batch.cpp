// The workbook batch and its switch panels.
#include "app/DOVEREFORM.h"

void DOVEREForm::Button1Click(TObject*) {}
void DOVEREForm::Mode_PanelClick(TObject*) {}
void DOVEREForm::CheckListBox_BatchDblClick(TObject*) {}
