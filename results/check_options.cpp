// The check view options, the side selectors and the handlers that change the view.
#include "app/DOVEREFORM.h"

namespace {

const std::vector<std::string> kWeldedOptions = {
    "all",         "DCR-1",       "DCR-2",       "DCR-3-upper", "DCR-3-lower", "DCR-4",
    "DCR-5-upper", "DCR-5-lower", "DCR-6-upper", "DCR-6-lower", "DCR-7-1",     "DCR-7-2",
    "DCR-7-3",     "DCR-7-4",     "DCR-7-5",     "DCR-7-6"};

const std::vector<std::string> kBoltedOptions = {
    "all",          "DCR-1",        "DCR-2",        "DCR-3",        "DCR-4",       "DCR-5",
    "DCR-6-upper",  "DCR-6-lower",  "DCR-7",        "DCR-8",        "DCR-9",       "DCR-10-upper",
    "DCR-10-lower", "DCR-11-upper", "DCR-11-lower", "DCR-12-1",     "DCR-12-2",    "DCR-12-3",
    "DCR-12-4",     "DCR-12-5",     "DCR-12-6"};

}  // namespace

void DOVEREForm::FillCheckOptions() {
    // Leaves no item chosen.
    ComboBox_DCR_Output_Option->Items().Assign(CtypeText == "Bolted" ? kBoltedOptions : kWeldedOptions);
}

void DOVEREForm::RadioGroup_DCRClick(TObject*) {}
void DOVEREForm::RadioGroup_PartClick(TObject*) {}
void DOVEREForm::ComboBox_DCR_Output_OptionChange(TObject*) {}
void DOVEREForm::StringGrid_DCRDblClick(TObject*) {}

void DOVEREForm::Image1DblClick(TObject*) {}
void DOVEREForm::GroupBox_sb_CheckDblClick(TObject*) {}
void DOVEREForm::ImageClickDblClick(TObject*) {}
void DOVEREForm::Image2Click(TObject*) {}

#define ZORV_GAUGE_PICTURE_CLICKS(suffix, index, click, dblclick) \
    void DOVEREForm::Image_DCR_##suffix##Click(TObject*) {}         \
    void DOVEREForm::Image_DCR_##suffix##DblClick(TObject*) {}
ZORV_DCR_GAUGES(ZORV_GAUGE_PICTURE_CLICKS)
#undef ZORV_GAUGE_PICTURE_CLICKS
