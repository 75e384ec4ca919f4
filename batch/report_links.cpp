// The report buttons and the two web links.
#include "app/DOVEREFORM.h"

void DOVEREForm::Button16Click(TObject*) {}
void DOVEREForm::Button17Click(TObject*) {}
void DOVEREForm::Button18Click(TObject*) {}
void DOVEREForm::Image_Web_QRClick(TObject*) {}
