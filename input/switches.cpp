// The configuration and connection switches.
#include "app/DOVEREFORM.h"

void DOVEREForm::ComboBox_cfgChange(TObject*) {}
void DOVEREForm::ComboBox_Connection_TypeChange(TObject*) {}
