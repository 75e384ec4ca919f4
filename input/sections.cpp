// The core type switch, the capacity classes and the catalogue sections.
#include "app/DOVEREFORM.h"
#include "platform/ui/scoped_disable.h"
#include "platform/text/code_page.h"
#include "platform/text/number_text.h"

namespace {

// The entry of the selector's name, looked up without adding one for a missing name.
const std::vector<float>* SectionEntry(const SectionTable& table, const TComboBox* selector) {
    const auto found = table.find(text::ToSystemCodePage(selector->Text()));
    return found == table.end() ? nullptr : &found->second;
}

std::size_t NumberCount(const std::vector<float>* entry) { return entry ? entry->size() : 0; }

// Widths and lefts of the catalogue selectors, widened under the mouse or at rest.
constexpr int kRestingWidth = 22;
constexpr int kBeamRestingLeft = 280;
constexpr int kLeftColumnRestingLeft = 120;
constexpr int kRightColumnRestingLeft = 128;

void Place(TComboBox* selector, int width, int left) {
    selector->SetWidth(width);
    selector->SetLeft(left);
}

// Puts a catalogue selector back to rest on every way out of its handler, a refused
// or failed run included, so that it never stays over the edit it wrote.
class RestOnExit {
public:
    RestOnExit(TComboBox* selector, int left) : selector_(selector), left_(left) {}
    ~RestOnExit() { Place(selector_, kRestingWidth, left_); }
    RestOnExit(const RestOnExit&) = delete;
    RestOnExit& operator=(const RestOnExit&) = delete;

private:
    TComboBox* selector_;
    int left_;
};

// A class chosen: tc and Bc into the design state and the hidden labels. An entry
// without exactly two numbers shows its count and changes nothing.
void ApplyClass(const SectionTable& table, const TComboBox* selector, TLabel* tc_label, TLabel* bc_label,
                float& class_tc, float& class_bc, TBraceValues& brace) {
    const std::vector<float>* entry = SectionEntry(table, selector);
    if (NumberCount(entry) != 2) {
        ShowMessage(std::to_string(NumberCount(entry)));
        return;
    }
    class_tc = (*entry)[0];
    class_bc = (*entry)[1];
    tc_label->SetCaption("tc = " + FloatToGeneralText(class_tc));
    bc_label->SetCaption("Bc = " + FloatToGeneralText(class_bc));
    brace.t_c = class_tc;
    brace.B_c = class_bc;
}

// A catalogue section chosen: its dimensions into the edit, then its name, which each
// change of the edit's text clears. An entry without the numbers needed shows their
// count, as a class does, and changes nothing. True when the section was written.
bool WriteChosenBeam(const SectionTable& table, const TComboBox* selector, TLabeledEdit* edit, std::string& name) {
    const std::vector<float>* entry = SectionEntry(table, selector);
    if (NumberCount(entry) < 4) {
        ShowMessage(std::to_string(NumberCount(entry)));
        return false;
    }
    const std::vector<float>& dims = *entry;
    // D, W, tw, tf in four text changes, as typing them would be.
    edit->SetText(FormatByPicture("0", dims[0]));
    edit->SetText(edit->Text() + " " + FormatByPicture("0", dims[1]));
    edit->SetText(edit->Text() + " " + FormatByPicture("0.##", dims[2]));
    edit->SetText(edit->Text() + " " + FormatByPicture("0.##", dims[3]));
    name = selector->Text();
    return true;
}

bool WriteChosenColumn(const SectionTable& table, const TComboBox* selector, TLabeledEdit* edit, std::string& name) {
    const std::vector<float>* entry = SectionEntry(table, selector);
    if (NumberCount(entry) < 1) {
        ShowMessage("0");
        return false;
    }
    // Whole millimetres, half away from zero: the depth rule reads the edit as a whole
    // number, and the section's name tells the service the exact size.
    edit->SetText(FormatByPicture("0", (*entry)[0]));
    name = selector->Text();
    return true;
}

}  // namespace

void DOVEREForm::ApplyCrossTypeSection() {
    ApplyClass(CrossTypeSectionTable, ComboBox_Py, Label_tc, Label_Bc, ClassTc, ClassBc, BraceValues);
}

void DOVEREForm::ApplySinglePlateSection() {
    ApplyClass(SinglePlateSectionTable, ComboBox_SP_Py, Label_tc_sp, Label_Bc_sp, ClassTc, ClassBc, BraceValues);
}

void DOVEREForm::ComboBox_SP_PyChange(TObject*) {
    ui::ScopedDisable busy(ComboBox_SP_Py);
    ApplySinglePlateSection();
    RunDesign();
}

void DOVEREForm::ComboBox_BRB_TypeChange(TObject*) {
    ui::ScopedDisable busy(ComboBox_BRB_Type);
    const bool cruciform = ComboBox_BRB_Type->ItemIndex() == 0;
    GroupBox4->SetVisible(cruciform);
    GroupBox_SP->SetVisible(!cruciform);
    RunDesign();
}

void DOVEREForm::ComboBox_UpperBeamChange(TObject*) {
    const RestOnExit rest(ComboBox_UpperBeam, kBeamRestingLeft);
    if (WriteChosenBeam(UniversalBeamTable, ComboBox_UpperBeam, LabeledEdit_Beam_up, SectionNames.UpperBeam))
        RunDesign();
}

void DOVEREForm::ComboBox_LowerBeamChange(TObject*) {
    const RestOnExit rest(ComboBox_LowerBeam, kBeamRestingLeft);
    if (WriteChosenBeam(UniversalBeamTable, ComboBox_LowerBeam, LabeledEdit_Beam_down, SectionNames.LowerBeam))
        RunDesign();
}

void DOVEREForm::ComboBox_LeftColumnChange(TObject*) {
    const RestOnExit rest(ComboBox_LeftColumn, kLeftColumnRestingLeft);
    if (WriteChosenColumn(UniversalColumnTable, ComboBox_LeftColumn, LabeledEdit_d_c_left, SectionNames.LeftColumn))
        RunDesign();
}

void DOVEREForm::ComboBox_RightColumnChange(TObject*) {
    const RestOnExit rest(ComboBox_RightColumn, kRightColumnRestingLeft);
    if (WriteChosenColumn(UniversalColumnTable, ComboBox_RightColumn, LabeledEdit_d_c_right,
                          SectionNames.RightColumn))
        RunDesign();
}

// Bound in the layout; these do nothing.
void DOVEREForm::ComboBox_LeftColumnClick(TObject*) {}
void DOVEREForm::LabeledEdit_Beam_upDblClick(TObject*) {}
void DOVEREForm::LabeledEdit_Beam_downDblClick(TObject*) {}
void DOVEREForm::LabeledEdit_d_c_leftDblClick(TObject*) {}
void DOVEREForm::LabeledEdit_d_c_rightDblClick(TObject*) {}

// Widened, a beam selector covers its beam edit and a column selector its depth edit;
// entering the group around them narrows them again.
void DOVEREForm::ComboBox_UpperBeamMouseEnter(TObject*) { Place(ComboBox_UpperBeam, 246, 56); }
void DOVEREForm::ComboBox_LowerBeamMouseEnter(TObject*) { Place(ComboBox_LowerBeam, 246, 56); }
void DOVEREForm::ComboBox_LeftColumnMouseEnter(TObject*) { Place(ComboBox_LeftColumn, 136, 10); }
void DOVEREForm::ComboBox_RightColumnMouseEnter(TObject*) { Place(ComboBox_RightColumn, 138, 10); }

void DOVEREForm::GroupBox_UpperMouseEnter(TObject*) {
    Place(ComboBox_UpperBeam, kRestingWidth, kBeamRestingLeft);
    Place(ComboBox_LowerBeam, kRestingWidth, kBeamRestingLeft);
}

void DOVEREForm::GroupBox14MouseEnter(TObject*) { Place(ComboBox_LeftColumn, kRestingWidth, kLeftColumnRestingLeft); }
void DOVEREForm::GroupBox15MouseEnter(TObject*) { Place(ComboBox_RightColumn, kRestingWidth, kRightColumnRestingLeft); }

void DOVEREForm::GroupBox1MouseEnter(TObject*) {
    Place(ComboBox_LeftColumn, kRestingWidth, kLeftColumnRestingLeft);
    Place(ComboBox_RightColumn, kRestingWidth, kRightColumnRestingLeft);
}
