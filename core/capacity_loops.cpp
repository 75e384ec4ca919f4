// The batch commands over every capacity class.
#include "app/DOVEREFORM.h"

void DOVEREForm::Button2Click(TObject*) {}

void DOVEREForm::Button15Click(TObject*) {}

void DOVEREForm::RunBatch() {}
