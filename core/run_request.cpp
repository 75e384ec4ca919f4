// The run request: every input of the window, in the order the service reads them.
#include "core/run_request.h"

#include <memory>

#include "app/DOVEREFORM.h"
#include "platform/json/json.h"
#include "platform/text/number_text.h"

TUnitConstants UnitConstantsFor(const std::string& units_text) {
    if (units_text == "kN-mm") return {"kN-mm", 0.48069, 200.124};
    return {"tonf-mm", 0.049, 20.4};
}

std::string CapacityClassText(int position, const std::string& class_name) {
    return "[" + FormatByPicture("000", position) + "]" + class_name;
}

std::string RequestTextFromArray(const std::string& array_text) {
    if (array_text.size() <= 3) return array_text;
    return "{" + array_text.substr(1, array_text.size() - 2) + "}";
}

namespace {

// Appends pairs to one member object of the request.
class Section {
public:
    explicit Section(std::string name) : name_(std::move(name)), object_(std::make_unique<json::Object>()) {}

    void Text(const char* key, const std::string& value) { Add(key, std::make_unique<json::String>(value)); }
    void Number(const char* key, double value) { Add(key, std::make_unique<json::Number>(value)); }
    void Integer(const char* key, int value) { Add(key, std::make_unique<json::Number>(value)); }
    void Switch(const char* key, bool value) { Add(key, std::make_unique<json::Bool>(value)); }
    // The edit's number as typed, at double precision.
    void Edit(const char* key, const TEdit* edit) { Number(key, ParseFloatText(edit->Text())); }
    void Box(const char* key, const TCheckBox* box) { Switch(key, box->Checked()); }

    std::unique_ptr<json::Pair> Take() { return std::make_unique<json::Pair>(name_, std::move(object_)); }

private:
    void Add(const char* key, std::unique_ptr<json::Value> value) { object_->AddPair(key, std::move(value)); }
    std::string name_;
    std::unique_ptr<json::Object> object_;
};

// The edit's number through a single-precision member, which keeps it.
float Single(const TEdit* edit, float& member) {
    member = ParseSingleText(edit->Text());
    return member;
}

}  // namespace

void DOVEREForm::BuildRunRequest() {
    Section client("Client_Information");
    client.Text("ClientID", ClientId);
    client.Text("ClientIpAddress", ClientIp);
    client.Text("ZORV_Proj_ID", ProjectId);
    client.Text("cfg", CfgText);
    client.Text("ctype", CtypeText);
    client.Switch("QuickViewMode", QuickView);
    client.Switch("Switch_of_Print_to_XLS", PrintToXls);
    client.Switch("Switch_of_Print_to_DXF", PrintToDxf);
    client.Switch("client_authorized", InputsValid);
    client.Text("Client_Version", ClientVersion);

    Section general("General_Information");
    const TUnitConstants units = UnitConstantsFor(ComboBox_Units->Text());
    UnitsText = units.Units;
    general.Text("Units", UnitsText);
    general.Number("F_exx", units.Fexx);
    general.Number("E", units.E);

    Section frame("FRAME");
    TFrameValues& fv = FrameValues;
    Single(LabeledEdit_Left_CD, fv.col_left_gap_for_L_brb);
    Single(LabeledEdit_Right_CD, fv.col_right_gap_for_L_brb);
    Single(LabeledEdit_Upper_CD, fv.beam_up_gap_for_L_brb);
    Single(LabeledEdit_Lower_CD, fv.beam_down_gap_for_L_brb);
    frame.Number("col_left_gap_for_L_brb", fv.col_left_gap_for_L_brb);
    frame.Number("col_right_gap_for_L_brb", fv.col_right_gap_for_L_brb);
    frame.Number("beam_up_gap_for_L_brb", fv.beam_up_gap_for_L_brb);
    frame.Number("beam_down_gap_for_L_brb", fv.beam_down_gap_for_L_brb);
    frame.Edit("default_thickness_of_slab_for_L_brb", LabeledEdit_Slab_Thickness);
    frame.Edit("default_gap_for_gusset_plate", LabeledEdit_Gap);
    frame.Edit("H_col", LabeledEdit_H_col);
    frame.Edit("d_c_left", LabeledEdit_d_c_left);
    frame.Edit("d_c_right", LabeledEdit_d_c_right);
    if (!SectionNames.LeftColumn.empty()) frame.Text("UC_Left_Column", SectionNames.LeftColumn);
    if (!SectionNames.RightColumn.empty()) frame.Text("UC_Right_Column", SectionNames.RightColumn);
    frame.Edit("L_beam", LabeledEdit_L_beam);
    ParseBeamSections();
    frame.Text("BeamType_up", BeamTypeUp);
    frame.Number("d_b_up", fv.d_b_up);
    frame.Number("b_w_b_up", fv.b_w_b_up);
    frame.Number("b_t_w_up", fv.b_t_w_up);
    frame.Number("b_t_f_up", fv.b_t_f_up);
    if (!SectionNames.UpperBeam.empty()) frame.Text("UB_Upper_Beam", SectionNames.UpperBeam);
    frame.Text("BeamType_down", BeamTypeDown);
    frame.Number("d_b_down", fv.d_b_down);
    frame.Number("b_w_b_down", fv.b_w_b_down);
    frame.Number("b_t_w_down", fv.b_t_w_down);
    frame.Number("b_t_f_down", fv.b_t_f_down);
    if (!SectionNames.LowerBeam.empty()) frame.Text("UB_Lower_Beam", SectionNames.LowerBeam);
    frame.Edit("F_y_b", LabeledEdit_F_y_b);
    frame.Edit("R_y_b", LabeledEdit_R_y_b);
    frame.Edit("I_b_up", LabeledEdit_Ib_up);
    frame.Edit("M_p_up", LabeledEdit_Mp_up);
    frame.Edit("I_b_down", LabeledEdit_Ib_down);
    frame.Edit("M_p_down", LabeledEdit_Mp_down);
    frame.Box("Switch_of_Design_With_Frame_Action", CheckBox_Frame_Action);
    frame.Box("Switch_of_Generalized_UFM", CheckBox_GUFM);

    Section brb("BRB");
    const bool cruciform = ComboBox_BRB_Type->ItemIndex() == 0;
    brb.Edit("Lbrb_revised_increment", LabeledEdit_Lbrb_revised_increment);
    brb.Text("WES_Type", cruciform ? "Cruciform" : "Flat");
    brb.Text("STEEL_CASING_Type", ComboBox_CASING_TYPE->ItemIndex() == 0 ? "Circular" : "Square");
    SetCoreSteelGrade();
    brb.Text("Mat_of_steel_core", CoreGrade.Name);
    brb.Number("F_y_c", CoreGrade.Fy);
    brb.Number("R_y_c", CoreGrade.Ry);
    brb.Number("Omega_h", CoreGrade.OmegaH);
    brb.Number("Beta_f", CoreGrade.Beta);
    const TComboBox* capacity = cruciform ? ComboBox_Py : ComboBox_SP_Py;
    WorkText = CapacityClassText(capacity->ItemIndex() + 1, capacity->Text());
    brb.Text("Type_of_BRB_capacity", WorkText);
    if (CtypeText == "Bolted") {
        TBoltedValues& bv = BoltedValues;
        brb.Number("Bolted_BRB_tc", Single(Bolted_BRB_tc, bv.tc));
        brb.Number("Bolted_BRB_Bc", Single(Bolted_BRB_Bc, bv.Bc));
        brb.Number("Bolted_BRB_tj", Single(Bolted_BRB_tj, bv.tj));
        bv.Dj = 0.0f;
        brb.Number("Bolted_BRB_Dj", bv.Dj);
        brb.Number("Bolted_BRB_et", Single(Bolted_BRB_et, bv.et));
        brb.Number("Bolted_BRB_el", Single(Bolted_BRB_el, bv.el));
        brb.Number("Bolted_BRB_s", Single(Bolted_BRB_s, bv.s));
        brb.Number("Bolted_BRB_g", Single(Bolted_BRB_g, bv.g));
        brb.Number("Bolted_BRB_Fy", CoreGrade.BoltedFy);
        brb.Number("Bolted_BRB_Fu", CoreGrade.BoltedFu);
        Single(Bolted_BRB_Fnt, BoltStrengths.Fnt);
        Single(Bolted_BRB_Fnv, BoltStrengths.Fnv);
        brb.Number("Bolted_BRB_Fnt", BoltStrengths.Fnt);
        brb.Number("Bolted_BRB_Fnv", BoltStrengths.Fnv);
        brb.Number("Bolted_BRB_d", Single(Bolted_BRB_d, bv.d));
        brb.Number("Bolted_BRB_dh", Single(Bolted_BRB_dh, bv.dh));
        SetGussetSteelGrade();
        brb.Number("Bolted_BRB_Fyg", GussetGrade.BoltedFy);
        brb.Number("Bolted_BRB_Fug", GussetGrade.BoltedFu);
        brb.Box("Staggered", CheckBox_Staggered);
    }

    Section gusset("Gusset");
    SetGussetSteelGrade();
    gusset.Text("Mat_of_gusset_plate", GussetGrade.Name);
    gusset.Number("F_y_g", GussetGrade.Fy);
    gusset.Number("F_u_g", GussetGrade.Fu);
    gusset.Number("R_y_g", GussetGrade.Ry);
    const int thickness_items = ComboBox_Gusset_Thickness->Items().Count();
    const int thickness = ComboBox_Gusset_Thickness->ItemIndex();
    if (thickness == thickness_items - 1) {
        // "Auto (tg >= tc)": the box follows; checking it runs its own handler.
        CheckBox_adjust_tg->SetChecked(true);
        gusset.Switch("tg_is_eq_to_tc", true);
    } else if (thickness == thickness_items - 2) {
        gusset.Switch("tg_is_eq_to_tc", true);
    } else {
        gusset.Switch("tg_is_eq_to_tc", false);
        gusset.Number("t_g", ParseFloatText(ComboBox_Gusset_Thickness->Text()));
    }
    gusset.Box("Stiffener", CheckBox_Stiffener);

    Section adjust("Adjust");
    const bool keff = CheckBox_adjust_Keff->Checked();
    adjust.Box("Switch_of_Auto_Adjust_The_L_w", CheckBox_adjust_L_w);
    adjust.Switch("Switch_of_Auto_Adjust_The_Upper_Right_Gusset_Plate_Size", true);
    adjust.Switch("Switch_of_Auto_Adjust_The_Lower_Left_Gusset_Plate_Size", true);
    adjust.Box("Switch_of_Auto_Adjust_The_B_j_and_D_j_Using_Amp_Factor", CheckBox_adjust_BjDj);
    adjust.Box("Switch_of_Auto_Adjust_The_Upper_Right_Distance_to_Work_Point", CheckBox_adjust_Lbrb);
    adjust.Box("Switch_of_Auto_Adjust_The_Lower_Left_Distance_to_Work_Point", CheckBox_adjust_Lbrb);
    adjust.Box("Switch_of_Auto_Adjust_The_t_g", CheckBox_adjust_tg);
    adjust.Box("Switch_of_Auto_Adjust_The_K_eff", CheckBox_adjust_Keff);
    if (keff) {
        adjust.Edit("K_eff_req", Edit_Keff_req);
        adjust.Edit("Lc_Length_lower_Limit", Edit_TargetLc);
        adjust.Edit("Lc_lower_Limit", Edit_LcToLwp);
    } else {
        adjust.Integer("K_eff_req", 0);
    }
    adjust.Switch("Switch_of_Adjust_The_K_eff_by_Target_Lc", keff && CheckBox_TargetLc->Checked());
    adjust.Switch("Switch_of_Adjust_The_K_eff_by_Lc_to_Lwp", keff && CheckBox_LcToLwp->Checked());

    json::Array request;
    request.Add(client.Take());
    request.Add(general.Take());
    request.Add(frame.Take());
    request.Add(brb.Take());
    request.Add(gusset.Take());
    request.Add(adjust.Take());
    RequestText = RequestTextFromArray(request.ToString());
}
