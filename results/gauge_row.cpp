// The DCR gauge row. Nothing fills its lists, so its routines change no control.
#include "app/DOVEREFORM.h"

void DOVEREForm::OverlayDcrImages() {}
void DOVEREForm::ResetDcrGaugeRow() {}
void DOVEREForm::MagnifyDcrGauge(int) {}

void DOVEREForm::FormClick(TObject*) { ResetDcrGaugeRow(); }

#define ZORV_GAUGE_PICTURE_HOVER(suffix, index, click, dblclick)                   \
    void DOVEREForm::Image_DCR_##suffix##MouseEnter(TObject*) { MagnifyDcrGauge(index); } \
    void DOVEREForm::Image_DCR_##suffix##MouseLeave(TObject*) {}
ZORV_DCR_GAUGES(ZORV_GAUGE_PICTURE_HOVER)
#undef ZORV_GAUGE_PICTURE_HOVER

void DOVEREForm::UpdateDcrGauges() {}

int DOVEREForm::DcrPercent(float r) { return static_cast<int>(r * 100.0f); }
