#pragma once
// The main window: the components of its layout, the whole design state, and every
// routine and event handler of the client. Each subsystem defines its section of the
// class in its own folder (see the section headings); keep to your own section.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/form_types.h"
#include "core/output_formats.h"
#include "core/result_members.h"
#include "core/side_tables.h"
#include "drawing/gl_state.h"
#include "input/input_limits.h"
#include "input/range_rules.h"
#include "input/steel_grades.h"
#include "input/unit_labels.h"
#include "platform/http/TDSHTTP.h"
#include "platform/ui/ui.h"
#include "service/catalogues.h"
#include "service/jsonxx/jsonxx.h"

class TZorvTimerThread;

// Every component of app/DOVEREFORM.layout, as (class, name), by region of the window.
// The form looks each one up by name after loading the layout.
#define ZORV_DOVERE_COMPONENTS(X) \
    /* Background and title */ \
    X(TImage, Image1) \
    X(TLabel, Label_Title) \
    /* Control tabs */ \
    X(TGroupBox, InputGroupBox) \
    X(TPanel, Panel_control_Frame) \
    X(TPanel, Panel_control_BRB) \
    X(TPanel, Panel_control_Gusset) \
    X(TPanel, Panel_control_Adjust) \
    X(TPanel, Panel_control_Bolt) \
    /* Frame page */ \
    X(TGroupBox, GroupBox_Frame) \
    X(TGroupBox, GroupBox_Bay) \
    X(TLabeledEdit, LabeledEdit_H_col) \
    X(TLabeledEdit, LabeledEdit_L_beam) \
    X(TLabeledEdit, LabeledEdit_Slab_Thickness) \
    X(TLabeledEdit, LabeledEdit_Gap) \
    X(TGroupBox, GroupBox1) \
    X(TGroupBox, GroupBox14) \
    X(TLabeledEdit, LabeledEdit_d_c_left) \
    X(TComboBox, ComboBox_LeftColumn) \
    X(TGroupBox, GroupBox15) \
    X(TLabeledEdit, LabeledEdit_d_c_right) \
    X(TComboBox, ComboBox_RightColumn) \
    X(TGroupBox, GroupBox_Upper) \
    X(TLabeledEdit, LabeledEdit_Beam_up) \
    X(TComboBox, ComboBox_UpperBeam) \
    X(TLabeledEdit, LabeledEdit_Beam_down) \
    X(TComboBox, ComboBox_LowerBeam) \
    X(TLabeledEdit, LabeledEdit_d_b_up) \
    X(TLabeledEdit, LabeledEdit_d_b_down) \
    X(TLabeledEdit, LabeledEdit_Ib_up) \
    X(TLabeledEdit, LabeledEdit_Mp_up) \
    X(TLabeledEdit, LabeledEdit_Ib_down) \
    X(TLabeledEdit, LabeledEdit_Mp_down) \
    X(TGroupBox, GroupBox_Beam_Steel) \
    X(TLabeledEdit, LabeledEdit_F_y_b) \
    X(TLabeledEdit, LabeledEdit_R_y_b) \
    X(TGroupBox, GroupBox_Clear_Distance) \
    X(TLabeledEdit, LabeledEdit_Upper_CD) \
    X(TLabeledEdit, LabeledEdit_Left_CD) \
    X(TLabeledEdit, LabeledEdit_Right_CD) \
    X(TLabeledEdit, LabeledEdit_Lower_CD) \
    /* BRB page */ \
    X(TGroupBox, GroupBox_BRB) \
    X(TLabel, Label_cfg) \
    X(TComboBox, ComboBox_cfg) \
    X(TLabel, Label_Connection) \
    X(TComboBox, ComboBox_Connection_Type) \
    X(TLabel, Label_BRB_Type) \
    X(TComboBox, ComboBox_BRB_Type) \
    X(TLabel, Label_Casing) \
    X(TComboBox, ComboBox_CASING_TYPE) \
    X(TLabel, Label_Mat) \
    X(TComboBox, ComboBox_Mat) \
    X(TGroupBox, GroupBox4) \
    X(TComboBox, ComboBox_Py) \
    X(TLabel, Label_tc) \
    X(TLabel, Label_Bc) \
    X(TGroupBox, GroupBox_SP) \
    X(TComboBox, ComboBox_SP_Py) \
    X(TLabel, Label_tc_sp) \
    X(TLabel, Label_Bc_sp) \
    X(TLabeledEdit, LabeledEdit_Lbrb_revised_increment) \
    X(TGroupBox, GroupBox_Bolted_core) \
    X(TLabeledEdit, Bolted_BRB_tc) \
    X(TLabeledEdit, Bolted_BRB_Bc) \
    X(TLabeledEdit, Bolted_BRB_tj) \
    X(TComboBox, ComboBox_Units) \
    /* Gusset page */ \
    X(TGroupBox, GroupBox_Gusset) \
    X(TLabel, Label_Mat_Gusset) \
    X(TComboBox, ComboBox_Mat_Gusset_Plate) \
    X(TLabel, Label_Gusset_Thickness) \
    X(TComboBox, ComboBox_Gusset_Thickness) \
    X(TCheckBox, CheckBox_Stiffener) \
    /* Adjust page */ \
    X(TGroupBox, GroupBox_Adjust) \
    X(TCheckBox, CheckBox_adjust_Keff) \
    X(TEdit, Edit_Keff_req) \
    X(TGroupBox, GroupBox_Adjust_Keff) \
    X(TLabel, Label_LcToLwp) \
    X(TEdit, Edit_LcToLwp) \
    X(TEdit, Edit_TargetLc) \
    X(TCheckBox, CheckBox_TargetLc) \
    X(TCheckBox, CheckBox_LcToLwp) \
    X(TGroupBox, GroupBox_adjust_Mat) \
    X(TLabeledEdit, LabeledEdit_Adjust_R_y_c) \
    X(TLabeledEdit, LabeledEdit_Adjust_Omega_h) \
    X(TLabeledEdit, LabeledEdit_Adjust_Beta_f) \
    X(TLabeledEdit, LabeledEdit_Adjust_R_y_g) \
    X(TCheckBox, CheckBox_adjust_Mat) \
    X(TCheckBox, CheckBox_adjust_L_w) \
    X(TCheckBox, CheckBox_adjust_BjDj) \
    X(TCheckBox, CheckBox_adjust_Lbrb) \
    X(TCheckBox, CheckBox_adjust_tg) \
    /* Bolt page */ \
    X(TGroupBox, GroupBox_Bolt) \
    X(TLabel, Label_Bolt) \
    X(TComboBox, ComboBox_Bolt) \
    X(TLabeledEdit, Bolted_BRB_et) \
    X(TLabeledEdit, Bolted_BRB_el) \
    X(TLabeledEdit, Bolted_BRB_s) \
    X(TLabeledEdit, Bolted_BRB_g) \
    X(TLabeledEdit, Bolted_BRB_d) \
    X(TLabeledEdit, Bolted_BRB_dh) \
    X(TLabeledEdit, Bolted_BRB_Fy) \
    X(TLabeledEdit, Bolted_BRB_Fu) \
    X(TLabeledEdit, Bolted_BRB_Fyg) \
    X(TLabeledEdit, Bolted_BRB_Fug) \
    X(TLabeledEdit, Bolted_BRB_Fnt) \
    X(TLabeledEdit, Bolted_BRB_Fnv) \
    X(TLabel, Label_Bolt_Stress_Unit) \
    X(TCheckBox, CheckBox_Staggered) \
    X(TCheckBox, CheckBox_GUFM) \
    X(TCheckBox, CheckBox_Frame_Action) \
    /* Side bar tabs and side selectors */ \
    X(TGroupBox, GroupBox_Side_Bar) \
    X(TPanel, Panel_sb_Result_BRB) \
    X(TPanel, Panel_sb_Check) \
    X(TPanel, Panel_sb_Design) \
    X(TPanel, Panel_sb_Adjust) \
    X(TRadioGroup, RadioGroup_Part) \
    X(TRadioGroup, RadioGroup_DCR) \
    /* BRB result page */ \
    X(TGroupBox, GroupBox_sb_Result_BRB) \
    X(TComboBox, ComboBox_BRB_Output_Option) \
    X(TStringGrid, StringGrid_BRB) \
    X(TLabel, Label_Units) \
    X(TPanel, Panel_Color_1) \
    X(TPanel, Panel_Color_2) \
    /* Check page */ \
    X(TGroupBox, GroupBox_sb_Check) \
    X(TComboBox, ComboBox_DCR_Output_Option) \
    X(TStringGrid, StringGrid_DCR) \
    X(TImage, ImageClick) \
    X(TPanel, Panel_Color_3) \
    X(TPanel, Panel_Color_4) \
    /* Report page and hidden commands */ \
    X(TGroupBox, GroupBox_sb_Design) \
    X(TLabel, Label_Download) \
    X(TLabel, Label_All_About) \
    X(TButton, Button16) \
    X(TButton, Button17) \
    X(TButton, Button18) \
    X(TButton, Button19) \
    X(TButton, Button2) \
    X(TButton, Button15) \
    X(TButton, Button14) \
    /* About page */ \
    X(TGroupBox, GroupBox_sb_Adjust) \
    X(TLabel, Label_About_Title) \
    X(TLabel, Label_About_Text) \
    X(TLabel, Label_Server_Caption) \
    X(TLabel, Label_Server_Version) \
    X(TLabel, Label_Client_Caption) \
    X(TLabel, Label_ZORV_Client) \
    X(TLabel, Label_Disclaimer) \
    X(TGroupBox, GroupBox_Web_Site) \
    X(TLabel, Label_Web_Site) \
    X(TImage, Image_Web_QR) \
    /* Drawings and layer toggles */ \
    X(TPanel, OpGLPanel) \
    X(TPanel, OpGLPanel2) \
    X(TPanel, Mode_Panel) \
    X(TPanel, Panel2) \
    X(TPanel, Panel_disp_Frame) \
    X(TPanel, Panel_disp_RL) \
    X(TPanel, Panel_disp_BRB) \
    X(TPanel, Panel_disp_Gusset) \
    X(TPanel, Panel_disp_Lr) \
    /* Response bars, status lamp, timing */ \
    X(TPanel, Panel_Signal_1) \
    X(TPanel, Panel_Signal_2) \
    X(TPanel, Panel_Signal_3) \
    X(TPanel, Panel_Signal_4) \
    X(TGroupBox, GroupBoxRUN) \
    X(TPanel, Panel_RUN) \
    X(TLabel, Label_ZORV_Time) \
    X(TPanel, Panel_Timer) \
    X(TPanel, Panel_Timer_Small) \
    X(TPanel, Panel_Run_Color) \
    X(TPanel, Panel_Ready_Color) \
    /* Design button and batch commands, beyond the right edge */ \
    X(TButton, Button_Refresh) \
    X(TGroupBox, GroupBox_Command) \
    X(TButton, Button1) \
    X(TCheckListBox, CheckListBox_Batch) \
    /* Gauge row, below the bottom edge (gauges and pictures: ZORV_DCR_GAUGES) */ \
    X(TGroupBox, DCRPieGroupBox) \
    X(TImage, Image2) \
    /* Timer and dialog */ \
    X(TTimer, Timer_Run_ZORV) \
    X(TOpenDialog, OpenDialog1)

// The gauge row: (check suffix, gauge index, option item of a picture's click, of its
// double click). Each gives the components CGauge_DCR_<suffix> and Image_DCR_<suffix>
// and the handlers Image_DCR_<suffix>Click, ...DblClick, ...MouseEnter, ...MouseLeave.
#define ZORV_DCR_GAUGES(X) \
    X(1, 0, 1, 1) \
    X(2, 1, 2, 2) \
    X(3_up, 2, 3, 4) \
    X(3_down, 3, 4, 3) \
    X(4, 4, 5, 5) \
    X(5_up, 5, 6, 7) \
    X(5_down, 6, 7, 6) \
    X(6_up, 7, 8, 9) \
    X(6_down, 8, 9, 8) \
    X(7_up_c1, 9, 10, 16) \
    X(7_up_c2, 10, 11, 17) \
    X(7_up_c3, 11, 12, 18) \
    X(7_up_c4, 12, 13, 19) \
    X(7_up_c5, 13, 14, 20) \
    X(7_up_c6, 14, 15, 21) \
    X(7_down_c1, 15, 16, 10) \
    X(7_down_c2, 16, 17, 11) \
    X(7_down_c3, 17, 18, 12) \
    X(7_down_c4, 18, 19, 13) \
    X(7_down_c5, 19, 20, 14) \
    X(7_down_c6, 20, 21, 15)

class DOVEREForm : public TForm {
public:
    static constexpr const char* kClass = "TDOVEREForm";
    std::string ClassName() const override { return kClass; }

    // Loads the layout, then brings the window up: start-up queries, catalogue
    // downloads, defaults, pages, and the first design (app/DOVEREFORM.cpp).
    explicit DOVEREForm(TComponent* owner);
    ~DOVEREForm() override;

    // ======== Components ==============================================================
#define ZORV_DECLARE_COMPONENT(cls, name) cls* name = nullptr;
#define ZORV_DECLARE_GAUGE(suffix, index, click, dblclick) \
    TCGauge* CGauge_DCR_##suffix = nullptr;                \
    TImage* Image_DCR_##suffix = nullptr;
    ZORV_DOVERE_COMPONENTS(ZORV_DECLARE_COMPONENT)
    ZORV_DCR_GAUGES(ZORV_DECLARE_GAUGE)
#undef ZORV_DECLARE_COMPONENT
#undef ZORV_DECLARE_GAUGE

    // ======== Design state, in the order of the window's data model =====================
    // Lists of controls that the routines walk; they point to components the layout
    // owns and never free them.
    std::vector<TCGauge*> DcrGauges;  // nothing fills the gauge lists
    std::vector<TImage*> DcrImages;
    std::vector<TLabel*> DcrLabels;
    std::vector<float> GaugeValues;
    std::vector<TPanel*> ControlTabs;
    std::vector<TGroupBox*> ControlPages;
    std::vector<TPanel*> SideBarTabs;
    std::vector<TGroupBox*> SideBarPages;
    std::vector<TLabeledEdit*> FrameEdits;  // committed after every run
    std::vector<TEdit*> AdjustEdits;        // committed after every run
    std::vector<TPanel*> SignalPanels;
    // Display layers of the views.
    bool ShowFrame = false;
    bool ShowRL = false;
    bool ShowBRB = false;
    bool ShowGusset = false;
    bool ShowLr = false;
    bool ModePanelLit = false;  // colour state of Mode_Panel
    std::string WorkString;     // scratch of the catalogue loaders
    float ClassTc = 0.0f;
    float ClassBc = 0.0f;
    std::string CoreType;    // "WES_Type" of the last result
    std::string CasingType;  // "STEEL_CASING_Type" of the last result
    std::string CfgText;     // "Diagonal" or "Chevron"
    std::string CtypeText;   // "Welded" or "Bolted"
    TFrameValues FrameValues;
    TInputLimits InputLimits;
    TCoreGrade CoreGrade;
    TGussetGrade GussetGrade;
    float AlphaL = 0.0f;
    float QFactor = 0.0f;
    TBraceValues BraceValues;
    SectionTable CrossTypeSectionTable;
    SectionTable SinglePlateSectionTable;
    TViewLayout ViewLayout;
    float DegToRad = 0.0f;
    TOutputFormats OutputFormats;
    std::unique_ptr<TDSHTTP> HttpClient;  // only while a GET is under way
    std::string ReplyText;
    std::string ClientVersion;
    std::string ClientId;
    std::string ClientIp;
    std::string ProjectId;
    std::string UnitsText;
    std::string RequestUrl;
    std::string ServiceHost;
    std::string ServicePort;
    std::string RunPath;
    std::string CataloguePath;
    std::string UrlTail;  // last path segment of the run or class catalogue GET
    std::string RequestText;
    std::string QueryPath;
    std::string RemovePath;
    jsonxx::Object ResultObject;
    TReportPaths ReportPaths;
    std::int32_t RunStartTick = 0;
    std::int32_t RunNowTick = 0;
    TZorvTimerThread* TimerThread = nullptr;
    bool FormReady = false;  // no design runs while false
    bool QuickView = false;
    bool PrintToXls = false;
    bool PrintToDxf = false;
    bool InputsValid = false;
    std::int32_t FailedCheckCount = 0;
    std::string WorkText;
    std::string BeamTypeUp;
    std::string BeamTypeDown;
    SideValueTable SideValues;
    SideTextTable SideTexts;
    std::int32_t RunTimeMs = 0;
    SectionTable UniversalBeamTable;
    SectionTable UniversalColumnTable;
    TSectionNames SectionNames;
    TBeamRatios BeamRatios;
    TBoltedValues BoltedValues;
    TBoltStrengths BoltStrengths;
    TUnitLabels UnitLabels;
    bool NzEdition = false;  // the edition with the universal section catalogues

    // ---- Drawing state of the two views ----
    // Null until the window's create handler makes them.
    HDC FrameDC = nullptr;
    HDC DetailDC = nullptr;
    HGLRC FrameRC = nullptr;
    HGLRC DetailRC = nullptr;
    float ViewWidth = 0.0f;   // world box, mm
    float ViewHeight = 0.0f;
    float ViewScaleX = 0.0f;  // pixels per mm
    float ViewScaleY = 0.0f;
    float ViewScale = 0.0f;
    float ViewOffset[3] = {0.0f, 0.0f, 0.0f};
    std::int32_t PickCount = 0;
    PickNameMap PickNames;
    TGlPalette GlPalette;
    // Gives the contexts back when the window goes without its close handler; declared
    // after the handles so that it runs while they and the panels still exist.
    struct TViewContextRelease {
        DOVEREForm* Form;
        ~TViewContextRelease();
    } ViewContextRelease{this};

    // ---- Workbook batch ----
    std::map<std::string, std::vector<std::string>> BatchStore;  // nothing fills it
    // Set while a workbook row's design runs: its result must fit the row's cells too.
    bool WorkbookRowRunning = false;

    // Loop counter of the tab and gauge routines.
    int LoopIndex = 0;

    // ======== Service link (service/) ==================================================
    // One guarded GET of path + argument: the reply text from its twelfth byte goes to
    // use_reply. Any failure of the GET or of use_reply shows the connection message
    // once, in the error box; false then.
    // A query waits the short time-out of service_link, a run the long one.
    enum class TServiceWait { Query, Run };
    bool GuardedGet(const std::string& path, const std::string& argument,
                    const std::function<void(const std::string& text)>& use_reply,
                    TServiceWait wait = TServiceWait::Query);
    // Some GET of this window got the service's answer; the constructor is at work.
    // A service that answered none of the start-up queries does not hold the window
    // back for a run's long time-out at its first design either.
    bool ServiceAnswered = false;
    bool StartingUp = true;
    bool SendRunRequest();
    bool SendCatalogueRequest();
    void QueryRandomClientId();
    void QueryServerVersion();
    void CheckLatestClientVersion();
    void RemoveClientFiles();
    void RemoveClientId();
    void FindClientIpAddress();
    void LoadCrossTypeSections();
    void LoadSinglePlateSections();
    void LoadUniversalBeams();
    void LoadUniversalColumns();

    // ======== Design core (core/) =====================================================
    // True once a run has read a complete result.
    bool HaveResult = false;
    // The configuration and connection that the held result was designed for; empty
    // before the first result. Grids, lamp, advice and drawings show the result only
    // while the window is set to this bay.
    std::string ResultCfgText;
    std::string ResultCtypeText;
    bool ResultFitsBay() const {
        return HaveResult && ResultCfgText == CfgText && ResultCtypeText == CtypeText;
    }
    // Set while ReadRunResult fills the tables with the result it has just read.
    bool ReadingRunResult = false;
    // One design from the window's inputs. True when this run read a fresh result of
    // its own, which alone lights a verdict and shows advice; false when a gate
    // stopped it, the send failed or the reply was no complete result (the previous
    // result then stays whole, and the lamp shows no verdict).
    bool RunDesign();
    void BuildRunRequest();
    // The reply into ResultObject and the result members, all or nothing; a reply
    // that is no complete result shows why and changes nothing. True when read.
    bool ReadRunResult();
    void ReadCheckRatios();
    std::string FormatOutputNumber(float value);
    std::string TrimTrailingZeros(std::string text);
    void RunBatch();
    // One design per capacity class of the selector of the current core type, each
    // run by run_design, with messages let through between runs. A close asked for
    // meanwhile stops the walk before its next run and happens once the walk is over.
    void WalkCapacityClasses(const std::function<void()>& run_design);
    // Owner of the calls that worker threads queue for this window: they are dropped
    // unrun once the window has gone.
    std::shared_ptr<const void> QueuedCallOwner = std::make_shared<int>(0);
    // Stops the timer threads before anything of the window goes.
    struct TTimerThreadStop {
        DOVEREForm* Form;
        ~TTimerThreadStop();
    } TimerThreadStop{this};
    void Button_RefreshClick(TObject* Sender);
    void Timer_Run_ZORVTimer(TObject* Sender);
    void Button14Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button15Click(TObject* Sender);

    // ======== Design input (input/) ===================================================
    // Pre-run check, commits, grades, units, bolts.
    void ValidateInputs();
    // The range test of one rule on the text its edit holds now: the message when it
    // fails, nothing when it passes; a text that does not convert raises EConvertError.
    std::optional<std::string> RangeRuleFailure(TRangeRuleId rule);
    void CommitPendingFrameEdits();
    void CommitPendingAdjustEdits();
    void SetCoreSteelGrade();
    void SetGussetSteelGrade();
    void FillGussetThicknessList();
    void ApplyUnitLabels();
    void ApplyDefaultBeamFy();
    void ApplyBoltGrade();
    // Sections and beam designations.
    void ApplyCrossTypeSection();
    void ApplySinglePlateSection();
    void ParseBeamSections();
    // Pages, layer toggles, response bars.
    void MagnifyControlTab(int a);
    void ShowControlPage(int a);
    void MagnifySideBarTab(int a);
    void ShowSideBarPage(int a);
    void RestoreControlTabs();
    void PaintLayerToggles();
    void ShowResponseSignal(int ms);

    // Editing cycle: change, Enter and click handlers of the edits.
    void LabeledEdit_H_colChange(TObject* Sender);
    void LabeledEdit_L_beamChange(TObject* Sender);
    void LabeledEdit_d_c_leftChange(TObject* Sender);
    void LabeledEdit_d_c_rightChange(TObject* Sender);
    void LabeledEdit_d_b_upChange(TObject* Sender);
    void LabeledEdit_d_b_downChange(TObject* Sender);
    void LabeledEdit_Slab_ThicknessChange(TObject* Sender);
    void LabeledEdit_Adjust_R_y_cChange(TObject* Sender);
    void LabeledEdit_Adjust_Omega_hChange(TObject* Sender);
    void LabeledEdit_Adjust_Beta_fChange(TObject* Sender);
    void LabeledEdit_Beam_upChange(TObject* Sender);
    void LabeledEdit_Beam_downChange(TObject* Sender);
    void LabeledEdit_F_y_bChange(TObject* Sender);
    void LabeledEdit_R_y_bChange(TObject* Sender);
    void Edit_Keff_reqChange(TObject* Sender);
    void Edit_TargetLcChange(TObject* Sender);
    void Edit_LcToLwpChange(TObject* Sender);
    void LabeledEdit_Adjust_R_y_gChange(TObject* Sender);
    void LabeledEdit_Upper_CDChange(TObject* Sender);
    void LabeledEdit_Left_CDChange(TObject* Sender);
    void LabeledEdit_Right_CDChange(TObject* Sender);
    void LabeledEdit_Lower_CDChange(TObject* Sender);
    void LabeledEdit_Lbrb_revised_incrementChange(TObject* Sender);
    void Bolted_BRB_tcChange(TObject* Sender);
    void Bolted_BRB_BcChange(TObject* Sender);
    void Bolted_BRB_tjChange(TObject* Sender);

    // The twelve bolt-data edits use LabeledEdit_Slab_ThicknessKeyPress.
    void LabeledEdit_H_colKeyPress(TObject* Sender, char& Key);
    void LabeledEdit_L_beamKeyPress(TObject* Sender, char& Key);
    void LabeledEdit_d_c_leftKeyPress(TObject* Sender, char& Key);
    void LabeledEdit_d_c_rightKeyPress(TObject* Sender, char& Key);
    void LabeledEdit_d_b_upKeyPress(TObject* Sender, char& Key);
    void LabeledEdit_d_b_downKeyPress(TObject* Sender, char& Key);
    void LabeledEdit_Slab_ThicknessKeyPress(TObject* Sender, char& Key);
    void LabeledEdit_Adjust_R_y_cKeyPress(TObject* Sender, char& Key);
    void LabeledEdit_Adjust_Omega_hKeyPress(TObject* Sender, char& Key);
    void LabeledEdit_Adjust_Beta_fKeyPress(TObject* Sender, char& Key);
    void LabeledEdit_Beam_upKeyPress(TObject* Sender, char& Key);
    void LabeledEdit_Beam_downKeyPress(TObject* Sender, char& Key);
    void LabeledEdit_F_y_bKeyPress(TObject* Sender, char& Key);
    void LabeledEdit_R_y_bKeyPress(TObject* Sender, char& Key);
    void Edit_Keff_reqKeyPress(TObject* Sender, char& Key);
    void Edit_TargetLcKeyPress(TObject* Sender, char& Key);
    void Edit_LcToLwpKeyPress(TObject* Sender, char& Key);
    void LabeledEdit_Adjust_R_y_gKeyPress(TObject* Sender, char& Key);
    void LabeledEdit_Upper_CDKeyPress(TObject* Sender, char& Key);
    void LabeledEdit_Left_CDKeyPress(TObject* Sender, char& Key);
    void LabeledEdit_Right_CDKeyPress(TObject* Sender, char& Key);
    void LabeledEdit_Lower_CDKeyPress(TObject* Sender, char& Key);
    void LabeledEdit_Lbrb_revised_incrementKeyPress(TObject* Sender, char& Key);
    void Bolted_BRB_tcKeyPress(TObject* Sender, char& Key);
    void Bolted_BRB_BcKeyPress(TObject* Sender, char& Key);
    void Bolted_BRB_tjKeyPress(TObject* Sender, char& Key);

    void Edit_Keff_reqClick(TObject* Sender);
    void Edit_TargetLcClick(TObject* Sender);
    void LabeledEdit_H_colClick(TObject* Sender);
    void LabeledEdit_L_beamClick(TObject* Sender);
    void LabeledEdit_Slab_ThicknessClick(TObject* Sender);
    void LabeledEdit_d_c_leftClick(TObject* Sender);
    void LabeledEdit_d_c_rightClick(TObject* Sender);
    void LabeledEdit_d_b_upClick(TObject* Sender);
    void LabeledEdit_d_b_downClick(TObject* Sender);
    void Edit_LcToLwpClick(TObject* Sender);
    void LabeledEdit_Adjust_R_y_cClick(TObject* Sender);
    void LabeledEdit_Adjust_Omega_hClick(TObject* Sender);
    void LabeledEdit_Adjust_Beta_fClick(TObject* Sender);
    void LabeledEdit_Adjust_R_y_gClick(TObject* Sender);
    void LabeledEdit_Beam_upDblClick(TObject* Sender);
    void LabeledEdit_Beam_downDblClick(TObject* Sender);
    void LabeledEdit_d_c_leftDblClick(TObject* Sender);
    void LabeledEdit_d_c_rightDblClick(TObject* Sender);

    // Check boxes.
    void CheckBox_adjust_L_wClick(TObject* Sender);
    void CheckBox_adjust_BjDjClick(TObject* Sender);
    void CheckBox_adjust_LbrbClick(TObject* Sender);
    void CheckBox_adjust_tgClick(TObject* Sender);
    void CheckBox_adjust_KeffClick(TObject* Sender);
    void CheckBox_TargetLcClick(TObject* Sender);
    void CheckBox_LcToLwpClick(TObject* Sender);
    void CheckBox_adjust_MatClick(TObject* Sender);
    void CheckBox_StiffenerClick(TObject* Sender);
    void CheckBox_GUFMClick(TObject* Sender);
    void CheckBox_Frame_ActionClick(TObject* Sender);
    void CheckBox_StaggeredClick(TObject* Sender);

    // Selectors.
    void ComboBox_CASING_TYPEChange(TObject* Sender);
    void ComboBox_Gusset_ThicknessChange(TObject* Sender);
    void ComboBox_Mat_Gusset_PlateChange(TObject* Sender);
    void ComboBox_PyChange(TObject* Sender);
    void ComboBox_PyKeyDown(TObject* Sender, std::uint16_t& Key, TShiftState Shift);
    void ComboBox_SP_PyChange(TObject* Sender);
    void ComboBox_BRB_TypeChange(TObject* Sender);
    void ComboBox_MatChange(TObject* Sender);
    void ComboBox_UnitsChange(TObject* Sender);
    void ComboBox_BoltChange(TObject* Sender);
    void ComboBox_cfgChange(TObject* Sender);
    void ComboBox_Connection_TypeChange(TObject* Sender);

    // Catalogue sections, and the selectors that widen under the mouse.
    void ComboBox_UpperBeamChange(TObject* Sender);
    void ComboBox_LowerBeamChange(TObject* Sender);
    void ComboBox_LeftColumnChange(TObject* Sender);
    void ComboBox_RightColumnChange(TObject* Sender);
    void ComboBox_LeftColumnClick(TObject* Sender);
    void ComboBox_UpperBeamMouseEnter(TObject* Sender);
    void ComboBox_LowerBeamMouseEnter(TObject* Sender);
    void ComboBox_LeftColumnMouseEnter(TObject* Sender);
    void ComboBox_RightColumnMouseEnter(TObject* Sender);
    void GroupBox_UpperMouseEnter(TObject* Sender);
    void GroupBox14MouseEnter(TObject* Sender);
    void GroupBox15MouseEnter(TObject* Sender);
    void GroupBox1MouseEnter(TObject* Sender);

    // Page tabs, layer toggles and the status lamp's clicks.
    void Panel_control_FrameMouseEnter(TObject* Sender);
    void Panel_control_BRBMouseEnter(TObject* Sender);
    void Panel_control_GussetMouseEnter(TObject* Sender);
    void Panel_control_AdjustMouseEnter(TObject* Sender);
    void Panel_control_BoltMouseEnter(TObject* Sender);
    void Panel_sb_Result_BRBMouseEnter(TObject* Sender);
    void Panel_sb_CheckMouseEnter(TObject* Sender);
    void Panel_sb_DesignMouseEnter(TObject* Sender);
    void Panel_sb_AdjustMouseEnter(TObject* Sender);
    void Panel_disp_FrameClick(TObject* Sender);
    void Panel_disp_RLClick(TObject* Sender);
    void Panel_disp_BRBClick(TObject* Sender);
    void Panel_disp_GussetClick(TObject* Sender);
    void Panel_disp_LrClick(TObject* Sender);
    void Panel_RUNClick(TObject* Sender);
    void Panel_RUNDblClick(TObject* Sender);

    // ======== Result presentation (results/) ============================================
    // Check tables and their fillers.
    void ShowCheckTables();
    // Empties the value and mark columns of both result grids, keeping their labels.
    void ClearResultGrids();
    void CountFailedChecks();
    void ShowDiagonalWeldedChecks();
    void ShowDiagonalBoltedChecks();
    void ShowChevronWeldedChecks();
    void ShowMiddleWeldedChecks();
    void ShowChevronBoltedChecks();
    void ShowMiddleBoltedChecks();
    void ShowBrbResults();
    void ShowChevronWeldedBrbResults();
    // Grid layouts and view options.
    void FillCheckOptions();
    void LayoutBrbGrid();
    void FillPartRadio(std::int32_t count);
    void LayoutCheckGrid();
    void LayoutCheckGridChevronBolted();
    void LayoutCheckGridChevronWelded();
    void LayoutCheckGridDiagonalWelded();
    void LayoutCheckGridDiagonalBolted();
    // Gauge row.
    void UpdateDcrGauges();
    int DcrPercent(float r);
    void OverlayDcrImages();
    void ResetDcrGaugeRow();
    void MagnifyDcrGauge(int a);

    void RadioGroup_DCRClick(TObject* Sender);
    void RadioGroup_PartClick(TObject* Sender);
    void ComboBox_DCR_Output_OptionChange(TObject* Sender);
    void ComboBox_BRB_Output_OptionChange(TObject* Sender);
    void StringGrid_DCRDblClick(TObject* Sender);
    void StringGrid_DCRDrawCell(TObject* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State);
    void StringGrid_BRBDrawCell(TObject* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State);
    // Back to the all-checks list.
    void Image1DblClick(TObject* Sender);
    void GroupBox_sb_CheckDblClick(TObject* Sender);
    void ImageClickDblClick(TObject* Sender);
    void Image2Click(TObject* Sender);
    void FormClick(TObject* Sender);
#define ZORV_DECLARE_GAUGE_HANDLERS(suffix, index, click, dblclick) \
    void Image_DCR_##suffix##Click(TObject* Sender);                  \
    void Image_DCR_##suffix##DblClick(TObject* Sender);               \
    void Image_DCR_##suffix##MouseEnter(TObject* Sender);             \
    void Image_DCR_##suffix##MouseLeave(TObject* Sender);
    ZORV_DCR_GAUGES(ZORV_DECLARE_GAUGE_HANDLERS)
#undef ZORV_DECLARE_GAUGE_HANDLERS

    // ======== Frame drawing (drawing/) ==================================================
    void InitGlPalette();
    void RedrawViews();
    void DrawDetailView();
    bool FitFrameView();
    bool FitDetailView();
    // Bay elevation.
    void DrawFrameView();
    void DrawBayOutline();
    void DrawLeftColumn();
    void DrawRightColumn();
    void DrawLowerBeam();
    void DrawUpperBeam();
    void DrawBraceWorkLines();
    void DrawGussetPlates();
    void DrawGussetStiffeners();
    void DrawClearDistanceLines();
    void DrawLowerBeLine();
    void DrawUpperBeLine();
    void DrawLowerBucklingLines();
    void DrawUpperBucklingLines();
    // Brace in the elevation.
    void DrawBrb();
    void DrawBrbEnds();
    void DrawBrbJointPlates();
    void DrawBrbBolts();
    void DrawBrbLxSegments();
    void DrawBrbLnSegments();
    void DrawBrbTransitions();
    void DrawBrbCore();
    void DrawBrbCasing();
    // Detail view.
    void DrawDiagonalDetails();
    void DrawChevronDetails();
    void DrawGussetDetails();
    void DrawDetailBucklingLines();
    void DrawSideEnds();
    void DrawSideLxSegments();
    void DrawSideLnSegments();
    void DrawSideJoint();
    void DrawSideTransitions();
    void DrawSideCore();
    void DrawPlanEnds();
    void DrawPlanLxSegments();
    void DrawPlanLnSegments();
    void DrawPlanJoint();
    void DrawPlanTransitions();
    void DrawPlanCore();
    void DrawCoreCrossSection();
    void DrawLxCrossSection();
    void DrawJointCrossSection();

    // Deletes both rendering contexts and gives both device contexts back.
    void ReleaseViewContexts();

    void FormCreate(TObject* Sender);
    void FormPaint(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void OpGLPanelMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void OpGLPanelMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);

    // ======== Batch runs and report links (batch/) =======================================
    void Button1Click(TObject* Sender);
    void Mode_PanelClick(TObject* Sender);
    void CheckListBox_BatchDblClick(TObject* Sender);
    void Button16Click(TObject* Sender);
    void Button17Click(TObject* Sender);
    void Button18Click(TObject* Sender);
    void Image_Web_QRClick(TObject* Sender);

private:
    ui::HandlerTable Handlers();
    void FindComponents();
    void LoadClassCatalogue(const char* path, SectionTable& table, TComboBox* selector);
    void LoadSectionCatalogue(const char* path, SectionTable& table, TComboBox* first, TComboBox* second);
};

// The number tokens of a beam designation, in order: runs of digits, points and the
// user's decimal separator.
std::vector<std::string> ExtractNumberTokens(const std::string& text);
// True for a text that the beam section check takes as a designation.
bool IsBeamDesignation(const std::string& text);

// The main window of the program.
extern DOVEREForm* RORERForm;
