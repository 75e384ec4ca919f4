// The run request: the exact text of the window's defaults, a bay whose sides all
// differ, the unit constants, the bolted keys, the gusset thickness rules, escaping
// and the precision of numbers.
#include <gtest/gtest.h>

#include "core/run_request.h"
#include "support/asymmetric_bay.h"
#include "support/form_environment.h"

namespace {

using testing_support::FormEnvironment;

// The text of one member object of the request ("{...}" after "\"name\":").
std::string MemberText(const std::string& request, const std::string& name) {
    const std::string head = "\"" + name + "\":{";
    const size_t at = request.find(head);
    if (at == std::string::npos) return "";
    const size_t begin = at + head.size() - 1;
    int depth = 0;
    bool in_string = false;
    for (size_t i = begin; i < request.size(); ++i) {
        const char c = request[i];
        if (in_string) {
            if (c == '\\') ++i;
            else if (c == '"') in_string = false;
        } else if (c == '"') {
            in_string = true;
        } else if (c == '{') {
            ++depth;
        } else if (c == '}' && --depth == 0) {
            return request.substr(begin, i - begin + 1);
        }
    }
    return "";
}

// Worked out from the layout's texts and selections: the hidden gap edit (25) and
// beam stiffness edits go out as typed, the clear distances and grades through
// single precision, the beam texts normalised, "Auto (tg >= tc)" with no "t_g".
const char kDefaultRequest[] =
    "{\"Client_Information\":{\"ClientID\":\"0123456789ABCDEF\",\"ClientIpAddress\":\"192.168.10.20\","
    "\"ZORV_Proj_ID\":\"my_zorv\",\"cfg\":\"Diagonal\",\"ctype\":\"Welded\",\"QuickViewMode\":true,"
    "\"Switch_of_Print_to_XLS\":false,\"Switch_of_Print_to_DXF\":false,\"client_authorized\":true,"
    "\"Client_Version\":\"NZC21062501\"},"
    "\"General_Information\":{\"Units\":\"tonf-mm\",\"F_exx\":0.049,\"E\":20.4},"
    "\"FRAME\":{\"col_left_gap_for_L_brb\":75,\"col_right_gap_for_L_brb\":75,\"beam_up_gap_for_L_brb\":75,"
    "\"beam_down_gap_for_L_brb\":50,\"default_thickness_of_slab_for_L_brb\":150,"
    "\"default_gap_for_gusset_plate\":25,\"H_col\":4000,\"d_c_left\":500,\"d_c_right\":500,\"L_beam\":5000,"
    "\"BeamType_up\":\"H594x302x14x23\",\"d_b_up\":594,\"b_w_b_up\":302,\"b_t_w_up\":14,\"b_t_f_up\":23,"
    "\"BeamType_down\":\"H594x302x14x23\",\"d_b_down\":594,\"b_w_b_down\":302,\"b_t_w_down\":14,"
    "\"b_t_f_down\":23,\"F_y_b\":0.033,\"R_y_b\":1.2,\"I_b_up\":1324947156,\"M_p_up\":165569,"
    "\"I_b_down\":1324947156,\"M_p_down\":165569,\"Switch_of_Design_With_Frame_Action\":true,"
    "\"Switch_of_Generalized_UFM\":true},"
    "\"BRB\":{\"Lbrb_revised_increment\":10,\"WES_Type\":\"Cruciform\",\"STEEL_CASING_Type\":\"Square\","
    "\"Mat_of_steel_core\":\"CNS_SN490B\",\"F_y_c\":0.0329999998211861,\"R_y_c\":1.20000004768372,"
    "\"Omega_h\":1.29999995231628,\"Beta_f\":1.14999997615814,"
    "\"Type_of_BRB_capacity\":\"[045]500tonf(tc=40mm)\"},"
    "\"Gusset\":{\"Mat_of_gusset_plate\":\"CNS_SN490B\",\"F_y_g\":0.0329999998211861,"
    "\"F_u_g\":0.0500000007450581,\"R_y_g\":1.20000004768372,\"tg_is_eq_to_tc\":true,\"Stiffener\":true},"
    "\"Adjust\":{\"Switch_of_Auto_Adjust_The_L_w\":true,"
    "\"Switch_of_Auto_Adjust_The_Upper_Right_Gusset_Plate_Size\":true,"
    "\"Switch_of_Auto_Adjust_The_Lower_Left_Gusset_Plate_Size\":true,"
    "\"Switch_of_Auto_Adjust_The_B_j_and_D_j_Using_Amp_Factor\":true,"
    "\"Switch_of_Auto_Adjust_The_Upper_Right_Distance_to_Work_Point\":false,"
    "\"Switch_of_Auto_Adjust_The_Lower_Left_Distance_to_Work_Point\":false,"
    "\"Switch_of_Auto_Adjust_The_t_g\":true,\"Switch_of_Auto_Adjust_The_K_eff\":false,\"K_eff_req\":0,"
    "\"Switch_of_Adjust_The_K_eff_by_Target_Lc\":false,\"Switch_of_Adjust_The_K_eff_by_Lc_to_Lwp\":false}}";

// A bolted bay whose core (ASTM A36) and gusset (ASTM A572 GR50) grades differ in every
// value, with all four catalogue sections named.
const char kGradesAndSectionsRequest[] =
    "{\"Client_Information\":{\"ClientID\":\"0123456789ABCDEF\",\"ClientIpAddress\":\"192.168.10.20\","
    "\"ZORV_Proj_ID\":\"my_zorv\",\"cfg\":\"Diagonal\",\"ctype\":\"Bolted\",\"QuickViewMode\":true,"
    "\"Switch_of_Print_to_XLS\":false,\"Switch_of_Print_to_DXF\":false,\"client_authorized\":true,"
    "\"Client_Version\":\"NZC21062501\"},"
    "\"General_Information\":{\"Units\":\"tonf-mm\",\"F_exx\":0.049,\"E\":20.4},"
    "\"FRAME\":{\"col_left_gap_for_L_brb\":75,\"col_right_gap_for_L_brb\":75,\"beam_up_gap_for_L_brb\":75,"
    "\"beam_down_gap_for_L_brb\":50,\"default_thickness_of_slab_for_L_brb\":150,"
    "\"default_gap_for_gusset_plate\":25,\"H_col\":4000,\"d_c_left\":500,\"d_c_right\":500,"
    "\"UC_Left_Column\":\"UC356x406x235\",\"UC_Right_Column\":\"UC305x305x118\",\"L_beam\":5000,"
    "\"BeamType_up\":\"H594x302x14x23\",\"d_b_up\":594,\"b_w_b_up\":302,\"b_t_w_up\":14,\"b_t_f_up\":23,"
    "\"UB_Upper_Beam\":\"UB610x229x101\",\"BeamType_down\":\"H594x302x14x23\",\"d_b_down\":594,"
    "\"b_w_b_down\":302,\"b_t_w_down\":14,\"b_t_f_down\":23,\"UB_Lower_Beam\":\"UB533x210x92\","
    "\"F_y_b\":0.033,\"R_y_b\":1.2,\"I_b_up\":1324947156,\"M_p_up\":165569,"
    "\"I_b_down\":1324947156,\"M_p_down\":165569,\"Switch_of_Design_With_Frame_Action\":true,"
    "\"Switch_of_Generalized_UFM\":true},"
    "\"BRB\":{\"Lbrb_revised_increment\":10,\"WES_Type\":\"Cruciform\",\"STEEL_CASING_Type\":\"Square\","
    "\"Mat_of_steel_core\":\"ASTM_A36\",\"F_y_c\":0.025000000372529,\"R_y_c\":1.29999995231628,"
    "\"Omega_h\":1.5,\"Beta_f\":1.14999997615814,"
    "\"Type_of_BRB_capacity\":\"[045]500tonf(tc=40mm)\","
    "\"Bolted_BRB_tc\":20,\"Bolted_BRB_Bc\":190,\"Bolted_BRB_tj\":12,\"Bolted_BRB_Dj\":0,"
    "\"Bolted_BRB_et\":40,\"Bolted_BRB_el\":40,\"Bolted_BRB_s\":70,\"Bolted_BRB_g\":80,"
    "\"Bolted_BRB_Fy\":0.0254842005670071,\"Bolted_BRB_Fu\":0.0407747179269791,"
    "\"Bolted_BRB_Fnt\":0.0631999969482422,\"Bolted_BRB_Fnv\":0.0465999990701675,"
    "\"Bolted_BRB_d\":22,\"Bolted_BRB_dh\":24,"
    "\"Bolted_BRB_Fyg\":0.0351681970059872,\"Bolted_BRB_Fug\":0.0458715595304966,\"Staggered\":true},"
    "\"Gusset\":{\"Mat_of_gusset_plate\":\"ASTM_A572_Gr.50\",\"F_y_g\":0.0350000001490116,"
    "\"F_u_g\":0.046000000089407,\"R_y_g\":1.10000002384186,\"tg_is_eq_to_tc\":true,\"Stiffener\":true},"
    "\"Adjust\":{\"Switch_of_Auto_Adjust_The_L_w\":true,"
    "\"Switch_of_Auto_Adjust_The_Upper_Right_Gusset_Plate_Size\":true,"
    "\"Switch_of_Auto_Adjust_The_Lower_Left_Gusset_Plate_Size\":true,"
    "\"Switch_of_Auto_Adjust_The_B_j_and_D_j_Using_Amp_Factor\":true,"
    "\"Switch_of_Auto_Adjust_The_Upper_Right_Distance_to_Work_Point\":false,"
    "\"Switch_of_Auto_Adjust_The_Lower_Left_Distance_to_Work_Point\":false,"
    "\"Switch_of_Auto_Adjust_The_t_g\":true,\"Switch_of_Auto_Adjust_The_K_eff\":false,\"K_eff_req\":0,"
    "\"Switch_of_Adjust_The_K_eff_by_Target_Lc\":false,\"Switch_of_Adjust_The_K_eff_by_Lc_to_Lwp\":false}}";

// The asymmetric bay's frame: each column, beam and clear distance under its own key.
const char kAsymmetricFrame[] =
    "{\"col_left_gap_for_L_brb\":80,\"col_right_gap_for_L_brb\":110,\"beam_up_gap_for_L_brb\":95,"
    "\"beam_down_gap_for_L_brb\":60,\"default_thickness_of_slab_for_L_brb\":140,"
    "\"default_gap_for_gusset_plate\":25,\"H_col\":3800,\"d_c_left\":400,\"d_c_right\":560,\"L_beam\":6000,"
    "\"BeamType_up\":\"H600x200x11x17\",\"d_b_up\":600,\"b_w_b_up\":200,\"b_t_w_up\":11,\"b_t_f_up\":17,"
    "\"BeamType_down\":\"H488x300x12x18\",\"d_b_down\":488,\"b_w_b_down\":300,\"b_t_w_down\":12,"
    "\"b_t_f_down\":18,\"F_y_b\":0.033,\"R_y_b\":1.2,\"I_b_up\":776000000,\"M_p_up\":98340,"
    "\"I_b_down\":710000000,\"M_p_down\":105600,\"Switch_of_Design_With_Frame_Action\":true,"
    "\"Switch_of_Generalized_UFM\":true}";

class RunRequest : public ::testing::Test {
protected:
    void SetUp() override {
        form = env.Create();
        ASSERT_NE(form, nullptr);
        env.Headless().TakeBoxes();
        env.Service().ClearRequestTargets();
        form->ClientId = "0123456789ABCDEF";
    }
    std::string Build() {
        form->BuildRunRequest();
        return form->RequestText;
    }
    int RunCount() const {
        int n = 0;
        for (const std::string& m : env.Methods()) n += m.rfind("RUN_ZORV_PROJECT/", 0) == 0;
        return n;
    }

    FormEnvironment env;
    DOVEREForm* form = nullptr;
};

TEST_F(RunRequest, TheWindowsDefaultsGiveTheExactText) {
    EXPECT_EQ(Build(), kDefaultRequest);
    EXPECT_TRUE(env.Headless().Boxes().empty());
    EXPECT_EQ(form->UnitsText, "tonf-mm");
    EXPECT_EQ(form->WorkText, "[045]500tonf(tc=40mm)");
    EXPECT_EQ(form->ProjectId, "my_zorv") << "set by the first design";
    // The first design sent the same inputs, with the identifier the service gave.
    const std::string sent = form->UrlTail;
    EXPECT_EQ(sent.substr(sent.find("\"ClientIpAddress\"")),
              std::string(kDefaultRequest).substr(std::string(kDefaultRequest).find("\"ClientIpAddress\"")));
}

TEST_F(RunRequest, AnAsymmetricBayGoesOutSideBySideAsTypedAndIsDesignedAsSent) {
    namespace bay = testing_support::asymmetric_bay;
    bay::Enter(*form);
    EXPECT_EQ(MemberText(Build(), "FRAME"), kAsymmetricFrame);
    EXPECT_TRUE(env.Headless().Boxes().empty());
    const TFrameValues& f = form->FrameValues;
    EXPECT_EQ(form->BeamTypeUp, "H600x200x11x17");
    EXPECT_EQ(form->BeamTypeDown, "H488x300x12x18");
    EXPECT_EQ(f.b_t_f_up, 17.0f);
    EXPECT_EQ(f.b_t_f_down, 18.0f);
    EXPECT_EQ(f.col_right_gap_for_L_brb, bay::kRightClear);
    EXPECT_EQ(f.beam_down_gap_for_L_brb, bay::kLowerClear);
    // A run sends the same frame, and the result brings the bay back into the members.
    ASSERT_TRUE(bay::Design(*form));
    EXPECT_EQ(MemberText(form->UrlTail, "FRAME"), kAsymmetricFrame);
}

TEST_F(RunRequest, CoreAndGussetGradesAndTheFourSectionNamesGiveTheExactText) {
    form->CtypeText = "Bolted";
    form->ComboBox_Mat->SetItemIndex(3);                // "ASTM A36"
    form->ComboBox_Mat_Gusset_Plate->SetItemIndex(2);   // "ASTM A572 GR50"
    form->SectionNames.UpperBeam = "UB610x229x101";
    form->SectionNames.LowerBeam = "UB533x210x92";
    form->SectionNames.LeftColumn = "UC356x406x235";
    form->SectionNames.RightColumn = "UC305x305x118";
    EXPECT_EQ(Build(), kGradesAndSectionsRequest);
    EXPECT_TRUE(env.Headless().Boxes().empty());
    // The core grade's factors go into their edits while material adjustment is off.
    EXPECT_EQ(form->LabeledEdit_Adjust_R_y_c->Text(), "1.3");
    EXPECT_EQ(form->LabeledEdit_Adjust_Omega_h->Text(), "1.5");
}

TEST_F(RunRequest, TheUnitSystemChoosesItsConstants) {
    struct Case {
        std::string units_text;
        std::string general;
    };
    const Case cases[] = {
        {"kN-mm", R"({"Units":"kN-mm","F_exx":0.48069,"E":200.124})"},
        {"tonf-mm", R"({"Units":"tonf-mm","F_exx":0.049,"E":20.4})"},
        {"lbf-in", R"({"Units":"tonf-mm","F_exx":0.049,"E":20.4})"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.units_text);
        form->ComboBox_Units->SetText(c.units_text);
        EXPECT_EQ(MemberText(Build(), "General_Information"), c.general);
    }
}

TEST_F(RunRequest, ABoltedConnectionAddsSeventeenKeysAfterTheCapacityClass) {
    form->CtypeText = "Bolted";
    form->BoltedValues.Dj = 7.0f;
    const std::string brb = MemberText(Build(), "BRB");
    const std::string tail = brb.substr(brb.find("\"Type_of_BRB_capacity\""));
    EXPECT_EQ(tail,
              "\"Type_of_BRB_capacity\":\"[045]500tonf(tc=40mm)\","
              "\"Bolted_BRB_tc\":20,\"Bolted_BRB_Bc\":190,\"Bolted_BRB_tj\":12,\"Bolted_BRB_Dj\":0,"
              "\"Bolted_BRB_et\":40,\"Bolted_BRB_el\":40,\"Bolted_BRB_s\":70,\"Bolted_BRB_g\":80,"
              "\"Bolted_BRB_Fy\":0.0331294611096382,\"Bolted_BRB_Fu\":0.0499490313231945,"
              "\"Bolted_BRB_Fnt\":0.0631999969482422,\"Bolted_BRB_Fnv\":0.0465999990701675,"
              "\"Bolted_BRB_d\":22,\"Bolted_BRB_dh\":24,"
              "\"Bolted_BRB_Fyg\":0.0331294611096382,\"Bolted_BRB_Fug\":0.0499490313231945,"
              "\"Staggered\":true}");
    EXPECT_EQ(form->BoltedValues.Dj, 0.0f);
    EXPECT_EQ(form->BoltedValues.tc, 20.0f);
    EXPECT_EQ(form->BoltedValues.dh, 24.0f);
    EXPECT_EQ(form->BoltStrengths.Fnt, 0.0632f);
    EXPECT_EQ(form->BoltStrengths.Fnv, 0.0466f);

    form->CtypeText = "Welded";
    EXPECT_EQ(MemberText(Build(), "BRB").find("Bolted_"), std::string::npos);
}

TEST_F(RunRequest, TheGussetThicknessRule) {
    TComboBox* t = form->ComboBox_Gusset_Thickness;
    const int n = t->Items().Count();
    ASSERT_EQ(n, 21);
    struct Case {
        int item;
        std::string tail;
    };
    const Case cases[] = {
        {n - 2, R"("R_y_g":1.20000004768372,"tg_is_eq_to_tc":true,"Stiffener":true})"},  // "tg = tc"
        {4, R"("R_y_g":1.20000004768372,"tg_is_eq_to_tc":false,"t_g":25,"Stiffener":true})"},
        {0, R"("R_y_g":1.20000004768372,"tg_is_eq_to_tc":false,"t_g":16,"Stiffener":true})"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(t->Items()[c.item]);
        t->SetItemIndex(c.item);
        const std::string gusset = MemberText(Build(), "Gusset");
        EXPECT_EQ(gusset.substr(gusset.find("\"R_y_g\"")), c.tail);
    }
    EXPECT_EQ(RunCount(), 0) << "only the last item touches the box";
}

TEST_F(RunRequest, AutoThicknessChecksTheBoxWhoseHandlerRunsADesignOfItsOwn) {
    // A change of gusset grade selects the last item and leaves the box as it was.
    form->CheckBox_adjust_tg->SetCheckedSilent(false);
    form->ComboBox_Gusset_Thickness->SetItemIndex(form->ComboBox_Gusset_Thickness->Items().Count() - 1);
    const std::string request = Build();
    EXPECT_TRUE(form->CheckBox_adjust_tg->Checked());
    EXPECT_NE(MemberText(request, "Adjust").find("\"Switch_of_Auto_Adjust_The_t_g\":true"), std::string::npos);
    EXPECT_NE(MemberText(request, "Gusset").find("\"tg_is_eq_to_tc\":true,\"Stiffener\""), std::string::npos);
    EXPECT_EQ(RunCount(), 1) << "the box's click handler designs once, inside this build";
    EXPECT_EQ(form->RequestText, request) << "the build goes on after the nested run and has the last word";
}

TEST_F(RunRequest, SectionNamesGoOutOnlyWhenSetWithTheirQuotesEscaped) {
    form->SectionNames.LeftColumn = "UC 305x305x97 \"Grade 50\"";
    form->SectionNames.UpperBeam = "UB 610x305x149";
    const std::string frame = MemberText(Build(), "FRAME");
    EXPECT_NE(frame.find(R"("d_c_right":500,"UC_Left_Column":"UC 305x305x97 \"Grade 50\"","L_beam":5000)"),
              std::string::npos)
        << frame;
    EXPECT_NE(frame.find(R"("b_t_f_up":23,"UB_Upper_Beam":"UB 610x305x149","BeamType_down")"), std::string::npos);
    EXPECT_EQ(frame.find("UC_Right_Column"), std::string::npos);
    EXPECT_EQ(frame.find("UB_Lower_Beam"), std::string::npos);
}

TEST_F(RunRequest, ClearDistancesGoThroughSinglePrecisionAndEditsGoOutAsTyped) {
    form->LabeledEdit_Left_CD->SetText("75.3");
    form->LabeledEdit_H_col->SetText("4000.5");
    const std::string frame = MemberText(Build(), "FRAME");
    EXPECT_NE(frame.find("\"col_left_gap_for_L_brb\":75.3000030517578,"), std::string::npos) << frame;
    EXPECT_NE(frame.find("\"H_col\":4000.5,"), std::string::npos) << frame;
    EXPECT_EQ(form->FrameValues.col_left_gap_for_L_brb, 75.3f);
}

TEST_F(RunRequest, StiffnessAdjustmentSendsItsTargetsAndSwitches) {
    form->CheckBox_adjust_Keff->SetCheckedSilent(true);
    form->Edit_Keff_req->SetText("12.5");
    form->CheckBox_TargetLc->SetCheckedSilent(true);
    const std::string adjust = MemberText(Build(), "Adjust");
    EXPECT_NE(adjust.find("\"Switch_of_Auto_Adjust_The_K_eff\":true,\"K_eff_req\":12.5,"
                          "\"Lc_Length_lower_Limit\":1840,\"Lc_lower_Limit\":0.3,"
                          "\"Switch_of_Adjust_The_K_eff_by_Target_Lc\":true,"
                          "\"Switch_of_Adjust_The_K_eff_by_Lc_to_Lwp\":true}"),
              std::string::npos)
        << adjust;
}

TEST_F(RunRequest, WithoutTheStiffnessAdjustmentNeitherOfItsWaysIsSwitchedOn) {
    form->CheckBox_adjust_Keff->SetCheckedSilent(false);
    form->Edit_Keff_req->SetText("12.5");
    form->CheckBox_TargetLc->SetCheckedSilent(true);
    form->CheckBox_LcToLwp->SetCheckedSilent(true);
    const std::string adjust = MemberText(Build(), "Adjust");
    EXPECT_NE(adjust.find("\"Switch_of_Auto_Adjust_The_K_eff\":false,\"K_eff_req\":0,"
                          "\"Switch_of_Adjust_The_K_eff_by_Target_Lc\":false,"
                          "\"Switch_of_Adjust_The_K_eff_by_Lc_to_Lwp\":false}"),
              std::string::npos)
        << adjust;
}

TEST_F(RunRequest, AnEditThatIsNoNumberStopsTheBuildAndKeepsTheLastText) {
    const std::string before = Build();
    form->LabeledEdit_F_y_b->SetText("0.03x");
    form->LabeledEdit_Left_CD->SetText("80");
    EXPECT_THROW(
        {
            try {
                form->BuildRunRequest();
            } catch (const EConvertError& e) {
                EXPECT_EQ(e.Message(), "'0.03x' is not a valid floating point value");
                throw;
            }
        },
        EConvertError);
    EXPECT_EQ(form->RequestText, before);
    EXPECT_EQ(form->FrameValues.col_left_gap_for_L_brb, 80.0f) << "what was read before the error stays";
}

TEST_F(RunRequest, AValueBeyondSinglePrecisionRaisesTheConversionErrorWithTheEditsOwnText) {
    const std::string digits45 = "1" + std::string(44, '0');
    form->CheckBox_adjust_Mat->SetCheckedSilent(true);
    struct Case {
        TEdit* edit;
        std::string text;
    };
    const Case cases[] = {
        {form->LabeledEdit_Left_CD, digits45},
        {form->LabeledEdit_Lower_CD, "-4e38"},
        {form->LabeledEdit_Adjust_R_y_c, "1e39"},
        {form->LabeledEdit_Adjust_Beta_f, digits45 + ".5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string before = c.edit->Text();
        c.edit->SetText(c.text);
        try {
            form->BuildRunRequest();
            ADD_FAILURE() << "built a request";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), "'" + c.text + "' is not a valid floating point value");
        }
        c.edit->SetText(before);
        EXPECT_NO_THROW(form->BuildRunRequest());
    }
    // Still in range: the largest single-precision number goes out as such.
    form->LabeledEdit_Upper_CD->SetText("3.4e38");
    EXPECT_NE(MemberText(Build(), "FRAME").find("\"beam_up_gap_for_L_brb\":3.39999995214436E38,"), std::string::npos)
        << MemberText(form->RequestText, "FRAME");
}

TEST_F(RunRequest, FlatCoreSendsTheSinglePlateClass) {
    form->ComboBox_BRB_Type->SetItemIndex(1);
    form->ComboBox_SP_Py->SetItemIndex(2);
    const std::string brb = MemberText(Build(), "BRB");
    EXPECT_NE(brb.find("\"WES_Type\":\"Flat\""), std::string::npos);
    EXPECT_NE(brb.find("\"Type_of_BRB_capacity\":\"[003]" + form->ComboBox_SP_Py->Text() + "\""), std::string::npos);
}

TEST(RunRequestRules, CapacityClassText) {
    struct Case {
        int position;
        const char* text;
    };
    for (const Case& c : {Case{45, "[045]500tonf(tc=40mm)"}, {1, "[001]500tonf(tc=40mm)"},
                          {0, "[000]500tonf(tc=40mm)"}, {1000, "[1000]500tonf(tc=40mm)"}}) {
        EXPECT_EQ(CapacityClassText(c.position, "500tonf(tc=40mm)"), c.text) << c.position;
    }
    EXPECT_EQ(CapacityClassText(0, ""), "[000]") << "no selection";
}

TEST(RunRequestRules, TheArrayOfPairsBecomesOneObject) {
    EXPECT_EQ(RequestTextFromArray(R"(["a":{},"b":{"c":1}])"), R"({"a":{},"b":{"c":1}})");
    EXPECT_EQ(RequestTextFromArray("[1]"), "[1]") << "three characters stay";
    EXPECT_EQ(RequestTextFromArray("[]"), "[]");
}

}  // namespace
