// Bringing the main window up against the local design service: the start-up GETs in
// order, the client identity and versions, the catalogues, the defaults of every
// member, a service that does not answer, and the close.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "platform/text/regional.h"
#include "support/form_environment.h"

namespace {

using testing_support::ConnectionBox;
using testing_support::ErrorBox;
using testing_support::FormEnvironment;
using testing_support::NoticeBox;
using Box = ui::HeadlessBackend::Box;

const std::vector<std::string> kStartupMethods = {
    "Get_Random_Client_ID/",
    "Get_Server_Version/",
    "Get_Latest_Client_Version/",
    "Get_tcBc_Colls_for_Cross_Type/",
    "Get_tcBc_Colls_for_Single_Plate_Type/",
    "Get_Universal_Beams/NZ",
    "Get_Universal_Columns/NZ",
};

// What construction leaves, whether or not the service answered.
void ExpectConstructedState(DOVEREForm& f) {
    EXPECT_TRUE(f.FormReady);
    EXPECT_EQ(f.CfgText, "Diagonal");
    EXPECT_EQ(f.CtypeText, "Welded");
    EXPECT_TRUE(f.QuickView);
    EXPECT_FALSE(f.PrintToXls);
    EXPECT_FALSE(f.PrintToDxf);
    EXPECT_TRUE(f.InputsValid);
    EXPECT_TRUE(f.ModePanelLit);
    EXPECT_TRUE(f.NzEdition);
    EXPECT_EQ(f.ClientVersion, "NZC21062501");
    EXPECT_EQ(f.ServiceHost, ZORV_SERVICE_HOST);
    EXPECT_EQ(f.ServicePort, "8080");
    EXPECT_EQ(f.RunPath, "/datasnap/rest/TServerMethods1/RUN_ZORV_PROJECT/");
    EXPECT_EQ(f.CataloguePath, "/datasnap/rest/TServerMethods1/Get_tcBc_Colls_for_Single_Plate_Type/")
        << "each class download stores its own path";
    // The downloads went out with an empty steel code; the first design then made
    // its request the last path segment.
    EXPECT_EQ(f.UrlTail, f.RequestText);
    EXPECT_FALSE(f.RequestText.empty());
    EXPECT_EQ(f.UnitLabels, (TUnitLabels{"tonf", "mm", "tonf/mm^2", "tonf-mm", "tonf/mm"}));
    EXPECT_EQ(f.ClientIp, "192.168.10.20");

    // Selections made from code.
    EXPECT_EQ(f.ComboBox_BRB_Type->Text(), "Cruciform");
    EXPECT_EQ(f.ComboBox_Connection_Type->Text(), "Welded");
    EXPECT_EQ(f.ComboBox_cfg->Text(), "Diagonal");
    EXPECT_EQ(f.ComboBox_Mat->Text(), "CNS/JIS SN490 series");
    EXPECT_EQ(f.ComboBox_Mat_Gusset_Plate->Text(), "CNS/JIS SN490 series");
    EXPECT_EQ(f.ComboBox_BRB_Output_Option->Text(), "Summary");
    EXPECT_EQ(f.ComboBox_DCR_Output_Option->Text(), "all");
    EXPECT_EQ(f.ComboBox_DCR_Output_Option->Items().Count(), 16) << "the welded view options";
    EXPECT_EQ(f.ComboBox_CASING_TYPE->Text(), "Square Tube");
    for (TComboBox* c : {f.ComboBox_UpperBeam, f.ComboBox_LowerBeam, f.ComboBox_LeftColumn, f.ComboBox_RightColumn})
        EXPECT_TRUE(c->Visible()) << c->Name();

    // Ranges, formats and layout constants.
    struct LimitCase {
        TLimit limit;
        float min, max;
    };
    const TInputLimits& l = f.InputLimits;
    for (const LimitCase& c : {LimitCase{l.ColumnHeight, 2000, 20000}, {l.BeamLength, 2000, 30000},
                               {l.ColumnDepth, 0, 1500}, {l.BeamDepth, 0, 1500}, {l.HeightToLength, 0.125f, 8},
                               {l.CoreRy, 1, 1.5f}, {l.CoreOmegaH, 1, 1.5f}, {l.CoreBeta, 1.09999f, 1.2f},
                               {l.GussetRy, 1, 1.5f}, {l.SlabThickness, 0, 300}, {l.BeamFy, 0, 0.05f},
                               {l.BeamRy, 1, 1.5f}, {l.ClearLeft, 75, 375}, {l.ClearRight, 75, 375},
                               {l.ClearUpper, 75, 375}, {l.ClearLower, 50, 350}}) {
        EXPECT_EQ(c.limit.Min, c.min);
        EXPECT_EQ(c.limit.Max, c.max);
    }
    EXPECT_EQ(f.OutputFormats.OutputHighLimit, 1e10f);
    EXPECT_EQ(f.OutputFormats.OutputLowLimit, 0.00999f);
    EXPECT_EQ(f.OutputFormats.OutputLowPicture, "0.000E+00");
    EXPECT_EQ(f.OutputFormats.OutputHighPicture, "0.000E+00");
    EXPECT_EQ(f.OutputFormats.OutputPlainPicture, "0.0");
    const TViewLayout& v = f.ViewLayout;
    EXPECT_EQ((std::vector<int>{v.GaugeRowTop, v.GaugeGap, v.GaugeFocusSize, v.DetailOffset, v.ControlTabTop,
                                v.ControlTabGap, v.ControlTabSize, v.SideBarTabTop, v.SideBarTabGap, v.SideBarTabSize}),
              (std::vector<int>{8, 15, 60, 30, 35, 30, 35, 30, 16, 35}));
    EXPECT_FLOAT_EQ(f.DegToRad, static_cast<float>(M_PI / 180));
    EXPECT_EQ(f.FrameValues.col_left_gap_for_L_brb, 75);
    EXPECT_EQ(f.FrameValues.col_right_gap_for_L_brb, 75);
    EXPECT_EQ(f.FrameValues.beam_up_gap_for_L_brb, 75);
    EXPECT_EQ(f.FrameValues.beam_down_gap_for_L_brb, 50);
    EXPECT_EQ(f.FrameValues.default_thickness_of_slab_for_L_brb, 150);
    EXPECT_EQ(f.GlPalette.DashFactor, 3);
    EXPECT_EQ(f.GlPalette.DashPattern, 0x5555);
    EXPECT_EQ(f.GlPalette.BackgroundColor, (TGlColor{0.732f, 0.888f, 0.928f, 1.0f}));
    EXPECT_EQ(f.GlPalette.LowerBeamColor, (TGlColor{0.8f, 0.1f, 0.7f, 0.4f}));

    // Lists, layers, pages.
    EXPECT_EQ(f.ControlTabs, (std::vector<TPanel*>{f.Panel_control_Frame, f.Panel_control_BRB, f.Panel_control_Gusset,
                                                   f.Panel_control_Adjust, f.Panel_control_Bolt}));
    EXPECT_EQ(f.ControlPages, (std::vector<TGroupBox*>{f.GroupBox_Frame, f.GroupBox_BRB, f.GroupBox_Gusset,
                                                       f.GroupBox_Adjust, f.GroupBox_Bolt}));
    EXPECT_EQ(f.SideBarTabs, (std::vector<TPanel*>{f.Panel_sb_Result_BRB, f.Panel_sb_Check, f.Panel_sb_Design,
                                                   f.Panel_sb_Adjust}));
    EXPECT_EQ(f.SideBarPages, (std::vector<TGroupBox*>{f.GroupBox_sb_Result_BRB, f.GroupBox_sb_Check,
                                                       f.GroupBox_sb_Design, f.GroupBox_sb_Adjust}));
    EXPECT_EQ(f.FrameEdits,
              (std::vector<TLabeledEdit*>{f.LabeledEdit_H_col, f.LabeledEdit_L_beam, f.LabeledEdit_d_c_left,
                                          f.LabeledEdit_d_c_right, f.LabeledEdit_d_b_up, f.LabeledEdit_d_b_down,
                                          f.LabeledEdit_Slab_Thickness, f.LabeledEdit_Adjust_R_y_c,
                                          f.LabeledEdit_Adjust_Omega_h, f.LabeledEdit_Adjust_Beta_f,
                                          f.LabeledEdit_Beam_up, f.LabeledEdit_Beam_down, f.LabeledEdit_F_y_b,
                                          f.LabeledEdit_R_y_b}));
    EXPECT_EQ(f.AdjustEdits, (std::vector<TEdit*>{f.Edit_Keff_req, f.Edit_TargetLc, f.Edit_LcToLwp}));
    EXPECT_EQ(f.SignalPanels,
              (std::vector<TPanel*>{f.Panel_Signal_1, f.Panel_Signal_2, f.Panel_Signal_3, f.Panel_Signal_4}));
    EXPECT_TRUE(f.DcrGauges.empty() && f.DcrImages.empty() && f.DcrLabels.empty());
    EXPECT_EQ((std::vector<bool>{f.ShowFrame, f.ShowRL, f.ShowBRB, f.ShowGusset, f.ShowLr}),
              (std::vector<bool>{true, true, true, true, false}));
    EXPECT_EQ(f.Panel_disp_Lr->Color(), clGray) << "the L layer starts off";
    EXPECT_EQ(f.Panel_disp_Frame->Color(), clCream);
    for (TGroupBox* page : f.ControlPages) EXPECT_EQ(page->Visible(), page == f.GroupBox_Frame) << page->Name();
    for (TGroupBox* page : f.SideBarPages)
        EXPECT_EQ(page->Visible(), page == f.GroupBox_sb_Result_BRB) << page->Name();
    EXPECT_EQ(f.GroupBox_sb_Result_BRB->Left(), 12);
    EXPECT_EQ(f.GroupBox_sb_Result_BRB->Top(), 85);
    EXPECT_TRUE(f.GroupBox4->Visible()) << "the capacity selector of a cruciform core";
    EXPECT_FALSE(f.GroupBox_SP->Visible());
    EXPECT_TRUE(f.ComboBox_BRB_Type->Enabled());
    EXPECT_TRUE(f.Button_Refresh->Enabled());

    // Hidden timing controls and the material box.
    EXPECT_EQ(f.Label_ZORV_Time->BoundsRect(), TRect(368, 123, 368 + 48, 123 + 30));
    EXPECT_EQ(f.Panel_Timer->BoundsRect(), TRect(252, 191, 252 + 115, 191 + 40));
    EXPECT_EQ(f.CheckBox_adjust_Mat->Top(), 82);
    EXPECT_EQ(f.GroupBox_adjust_Mat->Top(), 77);
    EXPECT_TRUE(ui::IsArrowCursor(f.Cursor()));
    EXPECT_FALSE(f.Timer_Run_ZORV->Enabled());
    EXPECT_EQ(f.HttpClient, nullptr) << "no client outlives its GET";
}

TEST(Startup, QueriesAndDownloadsGoOutInTheConstructorsOrder) {
    FormEnvironment env;
    DOVEREForm* form = env.Create();
    ASSERT_NE(form, nullptr);
    const std::vector<std::string> methods = env.Methods();
    // Then exactly one design: the core type handler's run stops at the readiness gate.
    ASSERT_EQ(methods.size(), kStartupMethods.size() + 1);
    EXPECT_EQ(std::vector<std::string>(methods.begin(), methods.begin() + kStartupMethods.size()), kStartupMethods);
    EXPECT_TRUE(methods.back().starts_with("RUN_ZORV_PROJECT/")) << methods.back();
    EXPECT_EQ(form->RequestUrl.rfind("http://" ZORV_SERVICE_HOST ":8080/datasnap/rest/TServerMethods1/", 0), 0u);
}

TEST(Startup, TheWindowCarriesTheClientIdentityAndTheVersions) {
    FormEnvironment env;
    DOVEREForm* form = env.Create();
    EXPECT_EQ(form->ClientId.size(), 16u);
    EXPECT_TRUE(env.Service().State().KnowsClient(form->ClientId));
    EXPECT_EQ(form->Caption(), "Zorv : " + form->ClientId);
    EXPECT_EQ(form->Label_Server_Version->Caption(), zorv_service::kServerVersion);
    EXPECT_EQ(form->Label_ZORV_Client->Caption(), "NZC21062501");
    EXPECT_TRUE(env.Headless().Boxes().empty()) << "the latest version is this one: no notice";
    ExpectConstructedState(*form);
}

TEST(Startup, TheLatestVersionCheckShowsANoticeOnlyForAHigherVersion) {
    const std::string notice = "The latest ZORV C21062502 is available now! Please visit the web site: " +
                               std::string(service_link::kZorvWebSite);
    struct VersionCase {
        const char* latest;
        std::vector<Box> boxes;
    };
    const VersionCase cases[] = {
        {"C21062502", {NoticeBox(notice)}},
        {"C21062501", {}},
        {"C1", {}},
        // Not "C" and digits: the conversion fails and counts as a failed exchange.
        {"C", {ConnectionBox()}},
        {"version", {ConnectionBox()}},
        {"C2106250x", {ConnectionBox()}},
        {"C99999999999", {ConnectionBox()}},
    };
    for (const VersionCase& c : cases) {
        SCOPED_TRACE(c.latest);
        FormEnvironment env;
        env.Service().SetLatestClientVersion(c.latest);
        DOVEREForm* form = env.Create();
        EXPECT_EQ(env.Headless().Boxes(), c.boxes);
        EXPECT_EQ(form->Label_ZORV_Client->Caption(), "NZC21062501") << "shown whatever the check finds";
        EXPECT_TRUE(form->FormReady);
    }
}

TEST(Startup, TheFourCataloguesFillTheirTablesAndSelectors) {
    FormEnvironment env;
    DOVEREForm* form = env.Create();

    struct ClassCase {
        SectionTable& table;
        TComboBox* selector;
        int selected;
    };
    for (const ClassCase& c : {ClassCase{form->CrossTypeSectionTable, form->ComboBox_Py, 44},
                               ClassCase{form->SinglePlateSectionTable, form->ComboBox_SP_Py, 0}}) {
        SCOPED_TRACE(c.selector->Name());
        ASSERT_GE(c.selector->Items().Count(), 45);
        EXPECT_EQ(c.selector->ItemIndex(), c.selected);
        for (const std::string& item : c.selector->Items().List()) {
            EXPECT_FALSE(item.starts_with("[")) << "the prefix is cut: " << item;
            ASSERT_TRUE(c.table.count(item)) << item;
            EXPECT_EQ(c.table.at(item).size(), 2u) << item;
        }
        EXPECT_EQ(c.table.size(), static_cast<size_t>(c.selector->Items().Count()));
    }
    // The class scratch keeps the last class read, of the single-plate catalogue.
    const std::string last = form->ComboBox_SP_Py->Items().List().back();
    EXPECT_EQ(form->ClassTc, form->SinglePlateSectionTable.at(last)[0]);
    EXPECT_EQ(form->ClassBc, form->SinglePlateSectionTable.at(last)[1]);

    struct SectionCase {
        SectionTable& table;
        TComboBox* first;
        TComboBox* second;
    };
    for (const SectionCase& c : {SectionCase{form->UniversalBeamTable, form->ComboBox_UpperBeam, form->ComboBox_LowerBeam},
                                 SectionCase{form->UniversalColumnTable, form->ComboBox_LeftColumn,
                                             form->ComboBox_RightColumn}}) {
        SCOPED_TRACE(c.first->Name());
        ASSERT_GT(c.first->Items().Count(), 0);
        EXPECT_EQ(c.first->Items().List(), c.second->Items().List());
        EXPECT_EQ(c.first->ItemIndex(), 0);
        EXPECT_EQ(c.second->ItemIndex(), 0);
        EXPECT_EQ(c.table.size(), static_cast<size_t>(c.first->Items().Count()));
        for (const auto& [name, numbers] : c.table) EXPECT_EQ(numbers.size(), 4u) << name;
    }
    const std::vector<float>& ub914 = form->UniversalBeamTable.at("UB914x419x388");
    EXPECT_EQ(ub914, (std::vector<float>{921.0f, 420.5f, 21.4f, 36.6f}));
}

TEST(Startup, ACatalogueDimensionThatDoesNotConvertKeepsTheSectionsBeforeIt) {
    for (const char separator : {'.', ','}) {
        SCOPED_TRACE(separator);
        text::ScopedDecimalSeparator regional(separator);
        FormEnvironment env;
        // The service writes its numbers with a point: a comma is no number of its
        // form, whatever the user's settings.
        env.Service().FailMethod(
            "Get_Universal_Beams",
            testing_support::ReplyFault(R"({"result":[{"1":{"SEC":"B1","D":"600.5","W":"300","tw":"12","tf":"20"},)"
                                        R"("2":{"SEC":"B2","D":"600,5","W":"300","tw":"12","tf":"20"},)"
                                        R"("3":{"SEC":"B3","D":"700","W":"300","tw":"12","tf":"20"}}]})"));
        DOVEREForm* form = env.Create();
        ASSERT_NE(form, nullptr) << "the program goes on";
        EXPECT_TRUE(form->FormReady);
        EXPECT_EQ(env.Headless().Boxes(), (std::vector<Box>{ErrorBox("'600,5' is not a valid floating point value")}))
            << "the columns load and the first design needs no box";
        EXPECT_EQ(form->UniversalBeamTable, (SectionTable{{"B1", {600.5f, 300, 12, 20}}}));
        EXPECT_EQ(form->ComboBox_UpperBeam->Items().List(), (std::vector<std::string>{"B1"}));
        EXPECT_EQ(form->ComboBox_LowerBeam->Items().List(), (std::vector<std::string>{"B1"}));
        EXPECT_EQ(form->ComboBox_UpperBeam->ItemIndex(), 0);
        EXPECT_EQ(form->UniversalColumnTable.at("UC356x406x551"), (std::vector<float>{455.6f, 418.5f, 42.1f, 67.5f}));
        EXPECT_GT(form->ComboBox_LeftColumn->Items().Count(), 0);
        EXPECT_TRUE(env.Methods().back().starts_with("RUN_ZORV_PROJECT/"));
    }
}

TEST(Startup, ADesignAskedForBeforeTheWindowIsReadyOnlyStopsTheBlinkTimer) {
    FormEnvironment env;
    DOVEREForm* form = env.Create();
    env.Service().ClearRequestTargets();
    form->FormReady = false;
    form->Timer_Run_ZORV->SetEnabled(true);
    form->SetCursor(crHourGlass);
    form->ComboBox_BRB_Type->SetItemIndex(1);
    form->ComboBox_BRB_TypeChange(form->ComboBox_BRB_Type);
    EXPECT_FALSE(form->Timer_Run_ZORV->Enabled());
    EXPECT_TRUE(ui::IsArrowCursor(form->Cursor()));
    EXPECT_TRUE(env.Service().RequestTargets().empty());
    EXPECT_TRUE(form->GroupBox_SP->Visible()) << "the core type switch still shows its selector";
    EXPECT_FALSE(form->GroupBox4->Visible());
    EXPECT_TRUE(form->ComboBox_BRB_Type->Enabled());
}

TEST(Startup, TheClientAddressSkipsTheLoopbackAdapterAndTakesTheLastAddress) {
    struct AdapterCase {
        std::vector<os::Adapter> adapters;
        const char* address;
    };
    const AdapterCase cases[] = {
        {{{"lo", true, {"127.0.0.1"}}, {"eth0", false, {"10.0.0.5", "10.0.0.6"}}}, "10.0.0.6"},
        {{{"eth0", false, {"10.1.1.1"}}, {"wlan0", false, {"10.2.2.2"}}}, "10.1.1.1"},
        {{{"lo", true, {"127.0.0.1"}}}, ""},
        {{}, ""},
    };
    for (const AdapterCase& c : cases) {
        FormEnvironment env;
        os::SetAdaptersForTest(c.adapters);
        DOVEREForm* form = env.Create();
        EXPECT_EQ(form->ClientIp, c.address);
    }
}

TEST(Startup, ClosingTheWindowDropsTheClientIdentifier) {
    FormEnvironment env;
    DOVEREForm* form = env.Create();
    const std::string id = form->ClientId;
    ui::UserClose(form);
    EXPECT_EQ(env.Methods().back(), "Remove_Random_Client_ID/" + id);
    EXPECT_FALSE(env.Service().State().KnowsClient(id));
    EXPECT_TRUE(env.App().Terminated()) << "closing the main window ends the program";
    EXPECT_TRUE(env.Headless().Boxes().empty());
}

// The time-out box of a run (here the same box after a run the service dropped) is
// open when the user closes the window: the close waits for the box and the run, and
// then drops the identifier and ends the program as any close does.
TEST(Startup, ACloseAskedForDuringARunsErrorBoxClosesTheWindowAfterTheRun) {
    FormEnvironment env;
    DOVEREForm* form = env.Create();
    const std::string id = form->ClientId;
    env.Service().ClearRequestTargets();
    zorv_service::Fault dropped;
    dropped.close_without_reply = true;
    env.Service().FailNextRequest(dropped);
    bool ended_during_box = true;
    std::size_t requests_during_box = 0;
    env.Headless().SetWhileBoxOpen([&](const Box& box) {
        if (box != ConnectionBox()) return;
        ui::UserClose(form);
        ended_during_box = env.App().Terminated();
        requests_during_box = env.Methods().size();
    });
    ui::UserClick(form->Button_Refresh);
    EXPECT_FALSE(ended_during_box);
    EXPECT_EQ(requests_during_box, 1u) << "no removal while the box was open";
    EXPECT_EQ(env.Headless().Boxes(), std::vector<Box>{ConnectionBox()});
    EXPECT_TRUE(env.App().Terminated()) << "the close was carried out after the run";
    const std::vector<std::string> methods = env.Methods();
    ASSERT_EQ(methods.size(), 2u);
    EXPECT_TRUE(methods[0].starts_with("RUN_ZORV_PROJECT/"));
    EXPECT_EQ(methods[1], "Remove_Random_Client_ID/" + id);
    EXPECT_TRUE(form->Button_Refresh->Enabled()) << "the run ended as it always does";
    EXPECT_EQ(form->Cursor(), crArrow);
    EXPECT_EQ(form->FrameRC, nullptr) << "the close gave the views' contexts back";
}

// A service that answered none of the start-up queries (here: nothing listens) gets
// the short limit for the first design too, so that a hung one does not hold the
// window back for a run's long wait; one that answered gets the long limit.
TEST(Startup, TheFirstDesignWaitsLongOnlyForAServiceThatAnsweredAtStartUp) {
    for (const auto reach : {FormEnvironment::Reach::Answers, FormEnvironment::Reach::Unreachable}) {
        const bool answers = reach == FormEnvironment::Reach::Answers;
        SCOPED_TRACE(answers ? "answers" : "unreachable");
        FormEnvironment env(reach);
        http::ScopedTimeouts wide(20000, 90000);
        const long query_ms = 3000;
        const long run_ms = 90000;
        DOVEREForm* form = env.Create();
        EXPECT_EQ(http::LastTimeoutsForTests().total_ms, answers ? run_ms : query_ms) << "the first design";
        EXPECT_FALSE(form->StartingUp);
        env.Headless().TakeBoxes();
        ui::UserClick(form->Button_Refresh);
        EXPECT_EQ(http::LastTimeoutsForTests().total_ms, run_ms) << "the user's designs wait long";
    }
}

TEST(Unreachable, EveryQueryAndDownloadShowsTheConnectionMessageOnceAndConstructionCompletes) {
    FormEnvironment env(FormEnvironment::Reach::Unreachable);
    DOVEREForm* form = env.Create();
    ASSERT_NE(form, nullptr);
    const std::vector<Box> boxes = env.Headless().Boxes();
    ASSERT_GE(boxes.size(), kStartupMethods.size());
    EXPECT_EQ(std::vector<Box>(boxes.begin(), boxes.begin() + kStartupMethods.size()),
              std::vector<Box>(kStartupMethods.size(), ConnectionBox()))
        << "two queries, the version check, four downloads";
    for (size_t i = kStartupMethods.size(); i < boxes.size(); ++i)
        EXPECT_NE(boxes[i].kind, ui::BoxKind::Notice) << boxes[i].text;

    EXPECT_EQ(form->ClientId, "");
    EXPECT_EQ(form->Caption(), "Zorv");
    EXPECT_EQ(form->Label_Server_Version->Caption(), "SXXX");
    EXPECT_EQ(form->Label_ZORV_Client->Caption(), "NZC21062501");
    EXPECT_EQ(form->ReplyText, "");
    EXPECT_TRUE(form->CrossTypeSectionTable.empty() && form->SinglePlateSectionTable.empty());
    EXPECT_TRUE(form->UniversalBeamTable.empty() && form->UniversalColumnTable.empty());
    EXPECT_EQ(form->ComboBox_Py->Items().Count(), 0);
    EXPECT_EQ(form->ComboBox_Py->ItemIndex(), -1) << "no 45th class to select";
    EXPECT_EQ(form->ComboBox_UpperBeam->Items().Count(), 0);
    ExpectConstructedState(*form);

    env.Headless().TakeBoxes();
    ui::UserClose(form);
    EXPECT_EQ(env.Headless().Boxes(), std::vector<Box>{ConnectionBox()});
    EXPECT_TRUE(env.App().Terminated()) << "the window closes all the same";
}

}  // namespace
