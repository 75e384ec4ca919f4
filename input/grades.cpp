// Steel grades, units and bolt grades.
#include "input/grades.h"

#include "app/DOVEREFORM.h"
#include "platform/ui/scoped_disable.h"
#include "input/steel_grades.h"
#include "platform/text/number_text.h"

TUnitLabels UnitLabelsFor(const std::string& units_text) {
    if (units_text == "kN-mm") return {"kN", "mm", "kN/mm^2", "kN-mm", "kN/mm"};
    return {"tonf", "mm", "tonf/mm^2", "tonf-mm", "tonf/mm"};
}

const std::vector<std::string>& GussetThicknessItems(int gusset_item) {
    static const std::vector<std::string> from16 = {"16", "18", "20", "22", "25", "28", "30",
                                                    "32", "35", "38", "40", "45", "50", "55",
                                                    "60", "65", "70", "75", "80", "tg = tc", "Auto (tg >= tc)"};
    static const std::vector<std::string> from50 = {"50", "55", "60", "65", "70", "75", "80", "tg = tc", "Auto (tg >= tc)"};
    return gusset_item == 1 ? from50 : from16;
}

std::string DefaultBeamFyText(const std::string& units_text) {
    return ServiceToUserNumberText(units_text == "kN-mm" ? "0.324" : "0.033");
}

std::optional<TBoltStrengths> BoltStrengthsFor(const std::string& grade, const std::string& units_text) {
    // Nominal strengths in kN/mm^2; tonf/mm^2 is kN/mm^2 over 9.81.
    double fnt = 0.0, fnv = 0.0;
    if (grade == "ASTM A325") {
        fnt = 0.62;
        fnv = 0.457;
    } else if (grade == "ASTM A490") {
        fnt = 0.78;
        fnv = 0.579;
    } else {
        return std::nullopt;
    }
    const double per_unit = units_text == "kN-mm" ? 1.0 : 9.81;
    return TBoltStrengths{static_cast<float>(fnt / per_unit), static_cast<float>(fnv / per_unit)};
}

void DOVEREForm::ApplyUnitLabels() { UnitLabels = UnitLabelsFor(ComboBox_Units->Text()); }

void DOVEREForm::FillGussetThicknessList() {
    ComboBox_Gusset_Thickness->Items().Assign(GussetThicknessItems(ComboBox_Mat_Gusset_Plate->ItemIndex()));
    // Chosen from code: no change handler runs.
    ComboBox_Gusset_Thickness->SetItemIndex(ComboBox_Gusset_Thickness->Items().Count() - 1);
}

void DOVEREForm::ComboBox_MatChange(TObject*) {
    ComboBox_BRB_Type->SetEnabled(true);
    const int item = ComboBox_Mat->ItemIndex();
    UrlTail = CoreGradeRowOf(item).CatalogueCode;
    // An SM570 core is always cruciform, until another grade is chosen.
    if (item == 2) {
        ComboBox_BRB_Type->SetItemIndex(0);
        ComboBox_BRB_Type->SetEnabled(false);
        GroupBox4->SetVisible(true);
        GroupBox_SP->SetVisible(false);
    }
    // Disabled until the run is back, so a second change cannot start meanwhile.
    ui::ScopedDisable busy(ComboBox_Mat);
    LoadCrossTypeSections();
    LoadSinglePlateSections();
    RunDesign();
}

void DOVEREForm::ApplyDefaultBeamFy() { LabeledEdit_F_y_b->SetText(DefaultBeamFyText(ComboBox_Units->Text())); }

void DOVEREForm::ApplyBoltGrade() {
    if (const auto strengths = BoltStrengthsFor(ComboBox_Bolt->Text(), ComboBox_Units->Text()))
        BoltStrengths = *strengths;
    Bolted_BRB_Fnt->SetText(FormatByPicture("0.0000", BoltStrengths.Fnt));
    Bolted_BRB_Fnv->SetText(FormatByPicture("0.0000", BoltStrengths.Fnv));
}

void DOVEREForm::ComboBox_UnitsChange(TObject*) {
    ApplyUnitLabels();
    ApplyDefaultBeamFy();
    ApplyBoltGrade();
    RunDesign();
}

void DOVEREForm::ComboBox_BoltChange(TObject*) {
    ApplyBoltGrade();
    RunDesign();
}
