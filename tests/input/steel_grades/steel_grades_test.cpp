// The core and gusset grade tables: rows by selector item and unit system, the
// factors shown in or taken from the adjust edits, and the catalogue codes.
#include <gtest/gtest.h>

#include "design_service/methods.h"
#include "input/steel_grades.h"
#include "service/service_link.h"
#include "support/form_environment.h"

namespace {

using testing_support::FormEnvironment;

class SteelGrades : public ::testing::Test {
protected:
    void SetUp() override {
        form = env.Create();
        ASSERT_NE(form, nullptr);
    }
    std::vector<std::string> FactorTexts() const {
        return {form->LabeledEdit_Adjust_R_y_c->Text(), form->LabeledEdit_Adjust_Omega_h->Text(),
                form->LabeledEdit_Adjust_Beta_f->Text()};
    }
    FormEnvironment env;
    DOVEREForm* form = nullptr;
};

TEST_F(SteelGrades, WithoutAdjustmentTheEditsShowTheGradesFactors) {
    form->SetCoreSteelGrade();
    EXPECT_EQ(FactorTexts(), (std::vector<std::string>{"1.2", "1.3", "1.15"}));
    form->ComboBox_Mat->SetItemIndex(0);
    form->SetCoreSteelGrade();
    EXPECT_EQ(FactorTexts(), (std::vector<std::string>{"1.3", "1.5", "1.15"}));
    EXPECT_EQ(form->CoreGrade.Ry, 1.3f);
    EXPECT_EQ(form->CoreGrade.OmegaH, 1.5f);
    EXPECT_EQ(form->CoreGrade.Beta, 1.15f);
}

TEST_F(SteelGrades, WithAdjustmentTheTypedFactorsGoOutWhateverTheGrade) {
    form->CheckBox_adjust_Mat->SetCheckedSilent(true);
    form->LabeledEdit_Adjust_R_y_c->SetText("1.4");
    form->LabeledEdit_Adjust_Omega_h->SetText("1.25");
    form->LabeledEdit_Adjust_Beta_f->SetText("1.12");
    for (int item : {0, 3}) {
        form->ComboBox_Mat->SetItemIndex(item);
        form->SetCoreSteelGrade();
        EXPECT_EQ(form->CoreGrade.Ry, 1.4f);
        EXPECT_EQ(form->CoreGrade.OmegaH, 1.25f);
        EXPECT_EQ(form->CoreGrade.Beta, 1.12f);
        EXPECT_EQ(FactorTexts(), (std::vector<std::string>{"1.4", "1.25", "1.12"}));
    }
    form->BuildRunRequest();
    EXPECT_NE(form->RequestText.find("\"R_y_c\":1.39999997615814,\"Omega_h\":1.25,\"Beta_f\":1.12000000476837"),
              std::string::npos);

    form->LabeledEdit_Adjust_Omega_h->SetText("1,3");
    EXPECT_THROW(form->SetCoreSteelGrade(), EConvertError);
}

TEST_F(SteelGrades, EveryCoreRowInBothUnitSystems) {
    struct Stresses {
        float fy, bolted_fy, bolted_fu;
    };
    struct Case {
        int item;
        const char* label;
        const char* name;
        Stresses tonf, kn;
        float ry, omega_h, beta;
        std::vector<std::string> edits;  // Ry, Omega_h and Beta as the adjust edits show them
    };
    const Case cases[] = {
        // The first row keeps its own rounded values in both systems.
        {0, "CNS/JIS SN400 series", "CNS_SN400B", {0.024f, 0.024f, 0.0408f}, {0.235f, 0.235f, 0.4f}, 1.3f, 1.5f,
         1.15f, {"1.3", "1.5", "1.15"}},
        {1, "CNS/JIS SN490 series", "CNS_SN490B", {0.033f, 0.03312946f, 0.04994903f}, {0.32373f, 0.325f, 0.49f},
         1.2f, 1.3f, 1.15f, {"1.2", "1.3", "1.15"}},
        {2, "CNS/JIS/CSC SM570 series", "CNS_SM570", {0.0428f, 0.04281345f, 0.05810397f},
         {0.419868f, 0.42f, 0.57f}, 1.1f, 1.3f, 1.15f, {"1.1", "1.3", "1.15"}},
        {3, "ASTM A36", "ASTM_A36", {0.025f, 0.0254842f, 0.040774718f}, {0.24525f, 0.25f, 0.4f}, 1.3f, 1.5f, 1.15f,
         {"1.3", "1.5", "1.15"}},
        {4, "ASTM A572 GR50", "ASTM_A572_Gr.50", {0.035f, 0.035168197f, 0.04587156f}, {0.34335f, 0.345f, 0.45f},
         1.1f, 1.3f, 1.15f, {"1.1", "1.3", "1.15"}},
    };
    // Any unit text but "kN-mm" reads the tonf column.
    for (const char* units : {"kN-mm", "tonf-mm", "anything else"}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.label) + " in " + units);
            // Each row after one that differs in every factor it can.
            form->ComboBox_Mat->SetItemIndex(c.ry == 1.1f ? 0 : 4);
            form->SetCoreSteelGrade();
            form->ComboBox_Mat->SetItemIndex(c.item);
            ASSERT_EQ(form->ComboBox_Mat->Text(), c.label);
            form->ComboBox_Units->SetText(units);
            form->SetCoreSteelGrade();
            const TCoreGrade& g = form->CoreGrade;
            const Stresses& s = std::string(units) == "kN-mm" ? c.kn : c.tonf;
            EXPECT_EQ(g.Name, c.name);
            EXPECT_EQ(g.Fy, s.fy);
            EXPECT_EQ(g.BoltedFy, s.bolted_fy);
            EXPECT_EQ(g.BoltedFu, s.bolted_fu);
            EXPECT_EQ(g.Ry, c.ry);
            EXPECT_EQ(g.OmegaH, c.omega_h);
            EXPECT_EQ(g.Beta, c.beta);
            EXPECT_EQ(FactorTexts(), c.edits);
        }
    }
}

TEST_F(SteelGrades, EachGussetItemSelectsTheGradeItsLabelNames) {
    struct Case {
        int item;
        std::string units;
        const char* label;
        TGussetGrade grade;
    };
    const Case cases[] = {
        {0, "tonf-mm", "CNS/JIS SN490 series",
         {"CNS_SN490B", 0.033f, 0.05f, 1.2f, 0.03312946f, 0.04994903f}},
        {1, "tonf-mm", "CNS/JIS/CSC SM570 series",
         {"CNS_SM570", 0.0428f, 0.0581f, 1.1f, 0.04281345f, 0.05810397f}},
        {2, "tonf-mm", "ASTM A572 GR50", {"ASTM_A572_Gr.50", 0.035f, 0.046f, 1.1f, 0.035168197f, 0.04587156f}},
        {1, "kN-mm", "CNS/JIS/CSC SM570 series", {"CNS_SM570", 0.419868f, 0.569961f, 1.1f, 0.42f, 0.57f}},
        {2, "kN-mm", "ASTM A572 GR50", {"ASTM_A572_Gr.50", 0.34335f, 0.45126f, 1.1f, 0.345f, 0.45f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        form->ComboBox_Mat_Gusset_Plate->SetItemIndex(c.item);
        form->ComboBox_Units->SetText(c.units);
        ASSERT_EQ(form->ComboBox_Mat_Gusset_Plate->Text(), c.label);
        form->SetGussetSteelGrade();
        const TGussetGrade& g = form->GussetGrade;
        EXPECT_EQ(g.Name, c.grade.Name);
        EXPECT_EQ(g.Fy, c.grade.Fy);
        EXPECT_EQ(g.Fu, c.grade.Fu);
        EXPECT_EQ(g.Ry, c.grade.Ry);
        EXPECT_EQ(g.BoltedFy, c.grade.BoltedFy);
        EXPECT_EQ(g.BoltedFu, c.grade.BoltedFu);
    }
}

TEST_F(SteelGrades, NoSelectionIsAClearError) {
    form->ComboBox_Mat->Items().Clear();
    try {
        form->SetCoreSteelGrade();
        ADD_FAILURE() << "a grade without a selection";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "No core steel grade is selected.");
    }
    EXPECT_THROW(GussetGradeRowOf(kGussetGradeCount), Exception);
    EXPECT_THROW(CoreGradeRowOf(-1), Exception);
}

TEST(SteelGradeCodes, TheServiceHasAClassCatalogueForEveryCoreCode) {
    zorv_service::ServiceState state;
    for (int item = 0; item < kCoreGradeCount; ++item) {
        const std::string code = CoreGradeRowOf(item).CatalogueCode;
        SCOPED_TRACE(code);
        for (const char* path : {service_link::kCrossTypePath, service_link::kSinglePlatePath}) {
            const zorv_service::Reply reply = zorv_service::AnswerGet(path + code, state);
            EXPECT_EQ(reply.status, 200);
            EXPECT_EQ(reply.body.find("\"Error\""), std::string::npos) << reply.body.substr(0, 80);
        }
    }
}

}  // namespace
