// The main window's construction and destruction.
#include "app/DOVEREFORM.h"

#include "embedded/DovereFormLayout.h"
#include "service/service_link.h"

DOVEREForm* RORERForm = nullptr;

ui::HandlerTable DOVEREForm::Handlers() {
    ui::HandlerTable h;
#define ZORV_BIND(name) h.Bind(#name, this, &DOVEREForm::name)
    ZORV_BIND(FormClick);
    ZORV_BIND(FormClose);
    ZORV_BIND(FormCreate);
    ZORV_BIND(FormPaint);
    ZORV_BIND(Image1DblClick);
    ZORV_BIND(Panel_control_FrameMouseEnter);
    ZORV_BIND(Panel_control_BRBMouseEnter);
    ZORV_BIND(Panel_control_GussetMouseEnter);
    ZORV_BIND(Panel_control_AdjustMouseEnter);
    ZORV_BIND(Panel_control_BoltMouseEnter);
    ZORV_BIND(LabeledEdit_H_colChange);
    ZORV_BIND(LabeledEdit_H_colClick);
    ZORV_BIND(LabeledEdit_H_colKeyPress);
    ZORV_BIND(LabeledEdit_L_beamChange);
    ZORV_BIND(LabeledEdit_L_beamClick);
    ZORV_BIND(LabeledEdit_L_beamKeyPress);
    ZORV_BIND(LabeledEdit_Slab_ThicknessChange);
    ZORV_BIND(LabeledEdit_Slab_ThicknessClick);
    ZORV_BIND(LabeledEdit_Slab_ThicknessKeyPress);
    ZORV_BIND(GroupBox1MouseEnter);
    ZORV_BIND(GroupBox14MouseEnter);
    ZORV_BIND(LabeledEdit_d_c_leftChange);
    ZORV_BIND(LabeledEdit_d_c_leftClick);
    ZORV_BIND(LabeledEdit_d_c_leftDblClick);
    ZORV_BIND(LabeledEdit_d_c_leftKeyPress);
    ZORV_BIND(ComboBox_LeftColumnChange);
    ZORV_BIND(ComboBox_LeftColumnClick);
    ZORV_BIND(ComboBox_LeftColumnMouseEnter);
    ZORV_BIND(GroupBox15MouseEnter);
    ZORV_BIND(LabeledEdit_d_c_rightChange);
    ZORV_BIND(LabeledEdit_d_c_rightClick);
    ZORV_BIND(LabeledEdit_d_c_rightDblClick);
    ZORV_BIND(LabeledEdit_d_c_rightKeyPress);
    ZORV_BIND(ComboBox_RightColumnChange);
    ZORV_BIND(ComboBox_RightColumnMouseEnter);
    ZORV_BIND(GroupBox_UpperMouseEnter);
    ZORV_BIND(LabeledEdit_Beam_upChange);
    ZORV_BIND(LabeledEdit_Beam_upDblClick);
    ZORV_BIND(LabeledEdit_Beam_upKeyPress);
    ZORV_BIND(ComboBox_UpperBeamChange);
    ZORV_BIND(ComboBox_UpperBeamMouseEnter);
    ZORV_BIND(LabeledEdit_Beam_downChange);
    ZORV_BIND(LabeledEdit_Beam_downDblClick);
    ZORV_BIND(LabeledEdit_Beam_downKeyPress);
    ZORV_BIND(ComboBox_LowerBeamChange);
    ZORV_BIND(ComboBox_LowerBeamMouseEnter);
    ZORV_BIND(LabeledEdit_d_b_upChange);
    ZORV_BIND(LabeledEdit_d_b_upClick);
    ZORV_BIND(LabeledEdit_d_b_upKeyPress);
    ZORV_BIND(LabeledEdit_d_b_downChange);
    ZORV_BIND(LabeledEdit_d_b_downClick);
    ZORV_BIND(LabeledEdit_d_b_downKeyPress);
    ZORV_BIND(LabeledEdit_F_y_bChange);
    ZORV_BIND(LabeledEdit_F_y_bKeyPress);
    ZORV_BIND(LabeledEdit_R_y_bChange);
    ZORV_BIND(LabeledEdit_R_y_bKeyPress);
    ZORV_BIND(LabeledEdit_Upper_CDChange);
    ZORV_BIND(LabeledEdit_Upper_CDKeyPress);
    ZORV_BIND(LabeledEdit_Left_CDChange);
    ZORV_BIND(LabeledEdit_Left_CDKeyPress);
    ZORV_BIND(LabeledEdit_Right_CDChange);
    ZORV_BIND(LabeledEdit_Right_CDKeyPress);
    ZORV_BIND(LabeledEdit_Lower_CDChange);
    ZORV_BIND(LabeledEdit_Lower_CDKeyPress);
    ZORV_BIND(ComboBox_cfgChange);
    ZORV_BIND(ComboBox_Connection_TypeChange);
    ZORV_BIND(ComboBox_BRB_TypeChange);
    ZORV_BIND(ComboBox_CASING_TYPEChange);
    ZORV_BIND(ComboBox_MatChange);
    ZORV_BIND(ComboBox_PyChange);
    ZORV_BIND(ComboBox_PyKeyDown);
    ZORV_BIND(ComboBox_SP_PyChange);
    ZORV_BIND(LabeledEdit_Lbrb_revised_incrementChange);
    ZORV_BIND(LabeledEdit_Lbrb_revised_incrementKeyPress);
    ZORV_BIND(Bolted_BRB_tcChange);
    ZORV_BIND(Bolted_BRB_tcKeyPress);
    ZORV_BIND(Bolted_BRB_BcChange);
    ZORV_BIND(Bolted_BRB_BcKeyPress);
    ZORV_BIND(Bolted_BRB_tjChange);
    ZORV_BIND(Bolted_BRB_tjKeyPress);
    ZORV_BIND(ComboBox_UnitsChange);
    ZORV_BIND(ComboBox_Mat_Gusset_PlateChange);
    ZORV_BIND(ComboBox_Gusset_ThicknessChange);
    ZORV_BIND(CheckBox_StiffenerClick);
    ZORV_BIND(CheckBox_adjust_KeffClick);
    ZORV_BIND(Edit_Keff_reqChange);
    ZORV_BIND(Edit_Keff_reqClick);
    ZORV_BIND(Edit_Keff_reqKeyPress);
    ZORV_BIND(Edit_LcToLwpChange);
    ZORV_BIND(Edit_LcToLwpClick);
    ZORV_BIND(Edit_LcToLwpKeyPress);
    ZORV_BIND(Edit_TargetLcChange);
    ZORV_BIND(Edit_TargetLcClick);
    ZORV_BIND(Edit_TargetLcKeyPress);
    ZORV_BIND(CheckBox_TargetLcClick);
    ZORV_BIND(CheckBox_LcToLwpClick);
    ZORV_BIND(LabeledEdit_Adjust_R_y_cChange);
    ZORV_BIND(LabeledEdit_Adjust_R_y_cClick);
    ZORV_BIND(LabeledEdit_Adjust_R_y_cKeyPress);
    ZORV_BIND(LabeledEdit_Adjust_Omega_hChange);
    ZORV_BIND(LabeledEdit_Adjust_Omega_hClick);
    ZORV_BIND(LabeledEdit_Adjust_Omega_hKeyPress);
    ZORV_BIND(LabeledEdit_Adjust_Beta_fChange);
    ZORV_BIND(LabeledEdit_Adjust_Beta_fClick);
    ZORV_BIND(LabeledEdit_Adjust_Beta_fKeyPress);
    ZORV_BIND(LabeledEdit_Adjust_R_y_gChange);
    ZORV_BIND(LabeledEdit_Adjust_R_y_gClick);
    ZORV_BIND(LabeledEdit_Adjust_R_y_gKeyPress);
    ZORV_BIND(CheckBox_adjust_MatClick);
    ZORV_BIND(CheckBox_adjust_L_wClick);
    ZORV_BIND(CheckBox_adjust_BjDjClick);
    ZORV_BIND(CheckBox_adjust_LbrbClick);
    ZORV_BIND(CheckBox_adjust_tgClick);
    ZORV_BIND(ComboBox_BoltChange);
    ZORV_BIND(CheckBox_StaggeredClick);
    ZORV_BIND(CheckBox_GUFMClick);
    ZORV_BIND(CheckBox_Frame_ActionClick);
    ZORV_BIND(Panel_sb_Result_BRBMouseEnter);
    ZORV_BIND(Panel_sb_CheckMouseEnter);
    ZORV_BIND(Panel_sb_DesignMouseEnter);
    ZORV_BIND(Panel_sb_AdjustMouseEnter);
    ZORV_BIND(RadioGroup_PartClick);
    ZORV_BIND(RadioGroup_DCRClick);
    ZORV_BIND(ComboBox_BRB_Output_OptionChange);
    ZORV_BIND(StringGrid_BRBDrawCell);
    ZORV_BIND(GroupBox_sb_CheckDblClick);
    ZORV_BIND(ComboBox_DCR_Output_OptionChange);
    ZORV_BIND(StringGrid_DCRDblClick);
    ZORV_BIND(StringGrid_DCRDrawCell);
    ZORV_BIND(ImageClickDblClick);
    ZORV_BIND(Button16Click);
    ZORV_BIND(Button17Click);
    ZORV_BIND(Button18Click);
    ZORV_BIND(Button2Click);
    ZORV_BIND(Button15Click);
    ZORV_BIND(Button14Click);
    ZORV_BIND(Image_Web_QRClick);
    ZORV_BIND(OpGLPanelMouseMove);
    ZORV_BIND(OpGLPanelMouseUp);
    ZORV_BIND(Mode_PanelClick);
    ZORV_BIND(Panel_disp_FrameClick);
    ZORV_BIND(Panel_disp_RLClick);
    ZORV_BIND(Panel_disp_BRBClick);
    ZORV_BIND(Panel_disp_GussetClick);
    ZORV_BIND(Panel_disp_LrClick);
    ZORV_BIND(Panel_RUNClick);
    ZORV_BIND(Panel_RUNDblClick);
    ZORV_BIND(Button_RefreshClick);
    ZORV_BIND(Button1Click);
    ZORV_BIND(CheckListBox_BatchDblClick);
    ZORV_BIND(Image2Click);
    ZORV_BIND(Timer_Run_ZORVTimer);
#define ZORV_BIND_GAUGE(suffix, index, click, dblclick) \
    ZORV_BIND(Image_DCR_##suffix##Click);               \
    ZORV_BIND(Image_DCR_##suffix##DblClick);            \
    ZORV_BIND(Image_DCR_##suffix##MouseEnter);          \
    ZORV_BIND(Image_DCR_##suffix##MouseLeave);
    ZORV_DCR_GAUGES(ZORV_BIND_GAUGE)
#undef ZORV_BIND_GAUGE
#undef ZORV_BIND
    return h;
}

void DOVEREForm::FindComponents() {
#define ZORV_FIND(cls, name) name = FindComponent<cls>(#name);
#define ZORV_FIND_GAUGE(suffix, index, click, dblclick)                    \
    CGauge_DCR_##suffix = FindComponent<TCGauge>("CGauge_DCR_" #suffix); \
    Image_DCR_##suffix = FindComponent<TImage>("Image_DCR_" #suffix);
    ZORV_DOVERE_COMPONENTS(ZORV_FIND)
    ZORV_DCR_GAUGES(ZORV_FIND_GAUGE)
#undef ZORV_FIND_GAUGE
#undef ZORV_FIND
}

DOVEREForm::DOVEREForm(TComponent* owner) : TForm(owner) {
    LoadLayout("DOVEREFORM.layout", embedded::DovereFormLayout, Handlers());
    FindComponents();

    // 1. The member containers and texts start empty.
    // 2. Unit labels of the units selector's system.
    ApplyUnitLabels();
    // 3. Core type, connection and configuration; selecting from code runs no handler.
    ComboBox_BRB_Type->SetItemIndex(0);
    ComboBox_Connection_Type->SetItemIndex(0);
    CtypeText = "Welded";
    ComboBox_cfg->SetItemIndex(0);
    CfgText = "Diagonal";
    // 4.
    FillCheckOptions();
    // 5. Request switches.
    ModePanelLit = true;
    QuickView = true;
    PrintToXls = false;
    PrintToDxf = false;
    InputsValid = true;
    // 6. Grades and output views.
    ComboBox_Mat->SetItemIndex(1);
    ComboBox_Mat_Gusset_Plate->SetItemIndex(0);
    ComboBox_BRB_Output_Option->SetItemIndex(0);
    ComboBox_DCR_Output_Option->SetItemIndex(0);
    // 7.
    SectionNames = TSectionNames{};
    // 8. The hidden run-time label and elapsed-time panel.
    Label_ZORV_Time->SetBounds(368, 123, 48, 30);
    Panel_Timer->SetBounds(252, 191, 115, 40);
    // 9. No design runs until construction is done.
    FormReady = false;
    // 10.
    LayoutBrbGrid();
    LayoutCheckGrid();
    // 11. The service's address and paths.
    ServiceHost = ZORV_SERVICE_HOST;
    ServicePort = service_link::kServicePort;
    RunPath = service_link::kRunPath;
    CataloguePath = service_link::kCrossTypePath;
    // 12.
    QueryRandomClientId();
    QueryServerVersion();
    // 13. The edition with the universal section catalogues.
    NzEdition = true;
    ClientVersion = service_link::kClientVersion;
    ComboBox_UpperBeam->SetVisible(true);
    ComboBox_LowerBeam->SetVisible(true);
    ComboBox_LeftColumn->SetVisible(true);
    ComboBox_RightColumn->SetVisible(true);
    // 14.
    CheckLatestClientVersion();
    // 15. The catalogues; the class catalogues go out with the empty steel code.
    LoadCrossTypeSections();
    LoadSinglePlateSections();
    LoadUniversalBeams();
    LoadUniversalColumns();
    // 16. The 45th class, which a shorter catalogue leaves unselected.
    ComboBox_Py->SetItemIndex(44);
    ComboBox_CASING_TYPE->SetItemIndex(1);
    // 17. Allowed ranges.
    InputLimits.ColumnHeight = {2000.0f, 20000.0f};
    InputLimits.BeamLength = {2000.0f, 30000.0f};
    InputLimits.ColumnDepth = {0.0f, 1500.0f};
    InputLimits.BeamDepth = {0.0f, 1500.0f};
    InputLimits.HeightToLength = {0.125f, 8.0f};
    InputLimits.CoreRy = {1.0f, 1.5f};
    InputLimits.CoreOmegaH = {1.0f, 1.5f};
    InputLimits.CoreBeta = {1.09999f, 1.2f};
    InputLimits.GussetRy = {1.0f, 1.5f};
    InputLimits.SlabThickness = {0.0f, 300.0f};
    InputLimits.BeamFy = {0.0f, 0.05f};
    InputLimits.BeamRy = {1.0f, 1.5f};
    // 18. Display form of result numbers.
    OutputFormats.OutputLowLimit = 0.00999f;
    OutputFormats.OutputHighLimit = 1e10f;
    OutputFormats.OutputLowPicture = "0.000E+00";
    OutputFormats.OutputHighPicture = "0.000E+00";
    OutputFormats.OutputPlainPicture = "0.0";
    // 19. Layout constants.
    ViewLayout.GaugeRowTop = 8;
    ViewLayout.GaugeGap = 15;
    ViewLayout.GaugeFocusSize = 60;
    ViewLayout.ControlTabTop = 35;
    ViewLayout.ControlTabGap = 30;
    ViewLayout.ControlTabSize = 35;
    ViewLayout.SideBarTabTop = 30;
    ViewLayout.SideBarTabGap = 16;
    ViewLayout.SideBarTabSize = 35;
    // 20.
    SetCursor(crArrow);
    // 21.
    DegToRad = static_cast<float>(3.1415927 / 180);
    // 22. Clear gaps and slab of the brace length, the detail offset, clear-distance ranges.
    FrameValues.col_left_gap_for_L_brb = 75.0f;
    FrameValues.col_right_gap_for_L_brb = 75.0f;
    FrameValues.beam_up_gap_for_L_brb = 75.0f;
    FrameValues.beam_down_gap_for_L_brb = 50.0f;
    FrameValues.default_thickness_of_slab_for_L_brb = 150.0f;
    ViewLayout.DetailOffset = 30;
    InputLimits.ClearLeft = {75.0f, 375.0f};
    InputLimits.ClearRight = {75.0f, 375.0f};
    InputLimits.ClearUpper = {75.0f, 375.0f};
    InputLimits.ClearLower = {50.0f, 350.0f};
    // 23.
    InitGlPalette();
    // 24. The lists of controls.
    ControlTabs = {Panel_control_Frame, Panel_control_BRB, Panel_control_Gusset, Panel_control_Adjust,
                   Panel_control_Bolt};
    ControlPages = {GroupBox_Frame, GroupBox_BRB, GroupBox_Gusset, GroupBox_Adjust, GroupBox_Bolt};
    SideBarTabs = {Panel_sb_Result_BRB, Panel_sb_Check, Panel_sb_Design, Panel_sb_Adjust};
    SideBarPages = {GroupBox_sb_Result_BRB, GroupBox_sb_Check, GroupBox_sb_Design, GroupBox_sb_Adjust};
    FrameEdits = {LabeledEdit_H_col,          LabeledEdit_L_beam,         LabeledEdit_d_c_left,
                  LabeledEdit_d_c_right,      LabeledEdit_d_b_up,         LabeledEdit_d_b_down,
                  LabeledEdit_Slab_Thickness, LabeledEdit_Adjust_R_y_c,   LabeledEdit_Adjust_Omega_h,
                  LabeledEdit_Adjust_Beta_f,  LabeledEdit_Beam_up,        LabeledEdit_Beam_down,
                  LabeledEdit_F_y_b,          LabeledEdit_R_y_b};
    AdjustEdits = {Edit_Keff_req, Edit_TargetLc, Edit_LcToLwp};
    SignalPanels = {Panel_Signal_1, Panel_Signal_2, Panel_Signal_3, Panel_Signal_4};
    // 25. Display layers.
    ShowFrame = true;
    ShowRL = true;
    ShowBRB = true;
    ShowGusset = true;
    ShowLr = false;
    // 26. The "Frame" control page and the BRB result page.
    PaintLayerToggles();
    RestoreControlTabs();
    Panel_control_FrameMouseEnter(Panel_control_Frame);
    Panel_sb_Result_BRBMouseEnter(Panel_sb_Result_BRB);
    // 27.
    OverlayDcrImages();
    // 28. Shows the capacity selector of the core type; its run stops at the FormReady gate.
    ComboBox_BRB_TypeChange(ComboBox_BRB_Type);
    // 29.
    FindClientIpAddress();
    // 30, 31. The first design.
    FormReady = true;
    Button_RefreshClick(Button_Refresh);
    // 32. The material adjustment box below the Keff box.
    CheckBox_adjust_Mat->SetTop(CheckBox_adjust_Keff->Top() + (CheckBox_adjust_Keff->Checked() ? 88 : 50));
    GroupBox_adjust_Mat->SetTop(CheckBox_adjust_Mat->Top() - 5);
    // 33, 34.
    MagnifyDcrGauge(10);
    RedrawViews();
    StartingUp = false;
}

// The members go in the reverse order of their declaration, then the form with the
// components it owns; the lists never free what they point to.
DOVEREForm::~DOVEREForm() = default;
