// Property tables of the core and gusset plate steel grades.
#include "input/steel_grades.h"

#include "app/DOVEREFORM.h"
#include "platform/text/exception.h"
#include "platform/text/number_text.h"

namespace {

// By item of ComboBox_Mat. Row 0 keeps its own rounded values; rows 1 to 4 give the
// bolted-block strengths as MPa / 9810 and the kN Fy as the tonf Fy x 9.81.
constexpr CoreGradeRow kCoreGrades[kCoreGradeCount] = {
    {"CNS_SN400B", "SN400B", {0.024f, 0.024f, 0.0408f}, {0.235f, 0.235f, 0.4f}, 1.3f, 1.5f, 1.15f},
    {"CNS_SN490B", "SN490B", {0.033f, 0.03312946f, 0.04994903f}, {0.32373f, 0.325f, 0.49f}, 1.2f, 1.3f, 1.15f},
    {"CNS_SM570", "SM570", {0.0428f, 0.04281345f, 0.05810397f}, {0.419868f, 0.42f, 0.57f}, 1.1f, 1.3f, 1.15f},
    {"ASTM_A36", "A36", {0.025f, 0.0254842f, 0.040774718f}, {0.24525f, 0.25f, 0.4f}, 1.3f, 1.5f, 1.15f},
    {"ASTM_A572_Gr.50", "A572Gr50", {0.035f, 0.035168197f, 0.04587156f}, {0.34335f, 0.345f, 0.45f}, 1.1f, 1.3f, 1.15f},
};

// By item of ComboBox_Mat_Gusset_Plate, in the order its labels name them:
// "CNS/JIS SN490 series", "CNS/JIS/CSC SM570 series", "ASTM A572 GR50".
constexpr GussetGradeRow kGussetGrades[kGussetGradeCount] = {
    {"CNS_SN490B", {0.033f, 0.05f, 0.03312946f, 0.04994903f}, {0.32373f, 0.4905f, 0.325f, 0.49f}, 1.2f},
    {"CNS_SM570", {0.0428f, 0.0581f, 0.04281345f, 0.05810397f}, {0.419868f, 0.569961f, 0.42f, 0.57f}, 1.1f},
    {"ASTM_A572_Gr.50", {0.035f, 0.046f, 0.035168197f, 0.04587156f}, {0.34335f, 0.45126f, 0.345f, 0.45f}, 1.1f},
};

bool IsKiloNewton(const std::string& units_text) { return units_text == "kN-mm"; }

}  // namespace

const CoreGradeStresses& CoreGradeRow::In(const std::string& units_text) const {
    return IsKiloNewton(units_text) ? KN : Tonf;
}

const GussetGradeStresses& GussetGradeRow::In(const std::string& units_text) const {
    return IsKiloNewton(units_text) ? KN : Tonf;
}

const CoreGradeRow& CoreGradeRowOf(int item) {
    if (item < 0 || item >= kCoreGradeCount) throw Exception("No core steel grade is selected.");
    return kCoreGrades[item];
}

const GussetGradeRow& GussetGradeRowOf(int item) {
    if (item < 0 || item >= kGussetGradeCount) throw Exception("No gusset plate steel grade is selected.");
    return kGussetGrades[item];
}

TCoreGrade CoreGradeFrom(const CoreGradeRow& row, const std::string& units_text) {
    const CoreGradeStresses& s = row.In(units_text);
    TCoreGrade grade;
    grade.Name = row.Name;
    grade.Fy = s.Fy;
    grade.BoltedFy = s.BoltedFy;
    grade.BoltedFu = s.BoltedFu;
    grade.Ry = row.Ry;
    grade.OmegaH = row.OmegaH;
    grade.Beta = row.Beta;
    return grade;
}

TGussetGrade GussetGradeFrom(const GussetGradeRow& row, const std::string& units_text) {
    const GussetGradeStresses& s = row.In(units_text);
    TGussetGrade grade;
    grade.Name = row.Name;
    grade.Fy = s.Fy;
    grade.Fu = s.Fu;
    grade.BoltedFy = s.BoltedFy;
    grade.BoltedFu = s.BoltedFu;
    grade.Ry = row.Ry;
    return grade;
}

void DOVEREForm::SetCoreSteelGrade() {
    CoreGrade = CoreGradeFrom(CoreGradeRowOf(ComboBox_Mat->ItemIndex()), ComboBox_Units->Text());
    if (CheckBox_adjust_Mat->Checked()) {
        // The pre-run check has already held these to their ranges.
        CoreGrade.Ry = ParseSingleText(LabeledEdit_Adjust_R_y_c->Text());
        CoreGrade.OmegaH = ParseSingleText(LabeledEdit_Adjust_Omega_h->Text());
        CoreGrade.Beta = ParseSingleText(LabeledEdit_Adjust_Beta_f->Text());
    } else {
        // Show the grade's factors; a changed text turns the edit pending until the
        // commit after the run.
        LabeledEdit_Adjust_R_y_c->SetText(FormatByPicture("0.###", CoreGrade.Ry));
        LabeledEdit_Adjust_Omega_h->SetText(FormatByPicture("0.###", CoreGrade.OmegaH));
        LabeledEdit_Adjust_Beta_f->SetText(FormatByPicture("0.###", CoreGrade.Beta));
    }
}

void DOVEREForm::SetGussetSteelGrade() {
    GussetGrade = GussetGradeFrom(GussetGradeRowOf(ComboBox_Mat_Gusset_Plate->ItemIndex()),
                                  ComboBox_Units->Text());
}
