// The window's layout resource: every component the class names is there with its
// class, nothing else is, and the regions, edits and selectors start as the window
// has them.
#include <gtest/gtest.h>

#include <set>

#include "support/form_environment.h"

namespace {

using testing_support::FormEnvironment;

class LayoutTest : public ::testing::Test {
protected:
    FormEnvironment env{FormEnvironment::Reach::Unreachable};
    DOVEREForm* form = env.Create();
};

TEST_F(LayoutTest, EveryComponentOfTheClassIsLoadedWithItsOwnClassAndNoOther) {
    std::set<std::string> named;
    auto expect = [&](TComponent* component, const std::string& name, const char* cls) {
        named.insert(name);
        ASSERT_NE(component, nullptr) << name;
        EXPECT_EQ(component->Name(), name);
        EXPECT_EQ(component->ClassName(), cls) << name;
    };
#define ZORV_EXPECT_COMPONENT(cls, name) expect(form->name, #name, cls::kClass);
#define ZORV_EXPECT_GAUGE(suffix, index, click, dblclick)                               \
    expect(form->CGauge_DCR_##suffix, "CGauge_DCR_" #suffix, TCGauge::kClass);          \
    expect(form->Image_DCR_##suffix, "Image_DCR_" #suffix, TImage::kClass);
    ZORV_DOVERE_COMPONENTS(ZORV_EXPECT_COMPONENT)
    ZORV_DCR_GAUGES(ZORV_EXPECT_GAUGE)
#undef ZORV_EXPECT_COMPONENT
#undef ZORV_EXPECT_GAUGE

    std::set<std::string> loaded;
    for (int i = 0; i < form->ComponentCount(); ++i) loaded.insert(form->Components(i)->Name());
    EXPECT_EQ(loaded, named) << "the layout and the class name the same components";
    EXPECT_EQ(form->Components(0), form->Image1) << "the background picture comes first, behind everything";
}

TEST_F(LayoutTest, TheWindowAndItsRegionsSitWhereTheWindowHasThem) {
    EXPECT_EQ(form->ClientWidth(), 1014);
    EXPECT_EQ(form->ClientHeight(), 735);
    EXPECT_EQ(form->BorderStyle(), bsSingle);
    EXPECT_EQ(form->BorderIcons(), biSystemMenu | biMinimize);
    EXPECT_EQ(form->Position(), poDesktopCenter);
    EXPECT_EQ(form->FormStyle(), fsMDIForm);
    EXPECT_EQ(form->Color(), 11372551);
    EXPECT_EQ(form->Font().Name, "Arial Black");
    EXPECT_EQ(form->Font().Height(), -13);
    EXPECT_EQ(form->Font().Style, fsBold);
    EXPECT_EQ(form->Font().Color, clCream);
    EXPECT_TRUE(form->OnCreate && form->OnClose && form->OnPaint && form->OnClick);

    struct Region {
        TControl* control;
        int left, top, width, height;  // a width of 0: not checked
    };
    const Region regions[] = {
        {form->Image1, -3, -3, 1022, 741},
        {form->Label_Title, 440, 9, 0, 0},
        {form->InputGroupBox, 423, 15, 365, 514},
        {form->GroupBox_Side_Bar, 794, 14, 216, 709},
        {form->OpGLPanel, 8, 235, 409, 294},
        {form->OpGLPanel2, 8, 535, 779, 196},
        {form->GroupBoxRUN, 358, 191, 60, 39},
        {form->Button_Refresh, 1025, 689, 0, 0},
        {form->GroupBox_Command, 1023, 8, 224, 532},
        {form->DCRPieGroupBox, 1, 786, 0, 0},
        {form->Panel_disp_Frame, 28, 207, 22, 22},
        {form->Panel_disp_Lr, 147, 207, 22, 22},
        {form->Button1, 25, 8, 105, 40},
        {form->CheckListBox_Batch, 13, 73, 196, 429},
        {form->Button16, 9, 66, 172, 33},
        {form->Button17, 9, 105, 172, 33},
        {form->Button18, 10, 143, 172, 33},
        {form->GroupBox_Web_Site, 6, 351, 185, 163},
        {form->Image_Web_QR, 30, 30, 120, 120},
        // The constructor lays both grids out for their first views; the stored
        // sizes never show.
        {form->StringGrid_BRB, 10, 52, 0, 0},
        {form->StringGrid_DCR, 8, 45, 0, 0},
        {form->RadioGroup_Part, 12, 61, 194, 47},
        {form->Mode_Panel, 8, 7, 22, 22},
        {form->Panel2, 9, 35, 22, 22},
    };
    for (const Region& r : regions) {
        SCOPED_TRACE(r.control->Name());
        EXPECT_EQ(r.control->Left(), r.left);
        EXPECT_EQ(r.control->Top(), r.top);
        if (r.width) {
            EXPECT_EQ(r.control->Width(), r.width);
            EXPECT_EQ(r.control->Height(), r.height);
        }
    }
    EXPECT_EQ(form->Label_Title->Caption(), "Find your BRB");
    EXPECT_GT(form->Button_Refresh->Left(), form->ClientWidth()) << "the Design button lies beyond the right edge";
    EXPECT_GT(form->DCRPieGroupBox->Top(), form->ClientHeight()) << "the gauge row lies below the window";
    EXPECT_EQ(form->OpGLPanel->Color(), 16744576);
    EXPECT_EQ(form->OpGLPanel2->Color(), clActiveBorder);
    EXPECT_FALSE(form->Timer_Run_ZORV->Enabled());
    EXPECT_EQ(form->Timer_Run_ZORV->Interval(), 600u);
    EXPECT_EQ(form->Panel_Run_Color->Color(), 4459989);
    EXPECT_EQ(form->Panel_Ready_Color->Color(), 8404992);
    for (TControl* hidden : std::initializer_list<TControl*>{form->Button2, form->Button14, form->Button15, form->Button19,
                                                             form->Panel_Timer, form->Label_ZORV_Time, form->Mode_Panel,
                                                             form->Panel2, form->GroupBoxRUN, form->Panel_RUN,
                                                             form->Panel_control_Bolt, form->ComboBox_Units,
                                                             form->Label_Units, form->LabeledEdit_Gap})
        EXPECT_FALSE(hidden->Visible()) << hidden->Name();
}

TEST_F(LayoutTest, EditsStartCommittedWithTheirTexts) {
    struct EditCase {
        TEdit* edit;
        const char* text;
        bool digits_only;
    };
    const EditCase cases[] = {
        {form->LabeledEdit_H_col, "4000", true},
        {form->LabeledEdit_L_beam, "5000", true},
        {form->LabeledEdit_d_c_left, "500", true},
        {form->LabeledEdit_d_c_right, "500", true},
        {form->LabeledEdit_d_b_up, "850", true},
        {form->LabeledEdit_d_b_down, "850", true},
        {form->LabeledEdit_Slab_Thickness, "150", true},
        {form->LabeledEdit_Adjust_R_y_c, "1.2", false},
        {form->LabeledEdit_Adjust_Omega_h, "1.3", false},
        {form->LabeledEdit_Adjust_Beta_f, "1.15", false},
        // The first design has written the designations back in their normalised form.
        {form->LabeledEdit_Beam_up, "H594x302x14x23", false},
        {form->LabeledEdit_Beam_down, "H594x302x14x23", false},
        {form->LabeledEdit_F_y_b, "0.033", false},
        {form->LabeledEdit_R_y_b, "1.2", false},
        {form->Edit_Keff_req, "0", false},
        {form->Edit_TargetLc, "1840", false},
        {form->Edit_LcToLwp, "0.3", false},
        {form->LabeledEdit_Adjust_R_y_g, "1.2", false},
        {form->LabeledEdit_Upper_CD, "75", true},
        {form->LabeledEdit_Left_CD, "75", true},
        {form->LabeledEdit_Right_CD, "75", true},
        {form->LabeledEdit_Lower_CD, "50", true},
        {form->LabeledEdit_Lbrb_revised_increment, "10", true},
        {form->Bolted_BRB_tc, "20", true},
        {form->Bolted_BRB_Bc, "190", true},
        {form->Bolted_BRB_tj, "12", true},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.edit->Name());
        EXPECT_EQ(c.edit->Text(), c.text);
        EXPECT_EQ(c.edit->NumbersOnly(), c.digits_only);
        EXPECT_EQ(c.edit->Color(), c.edit == form->Bolted_BRB_tj ? clGreen : clMaroon);
        EXPECT_EQ(c.edit->Font().Color, clCream);
        EXPECT_TRUE(c.edit->OnChange && c.edit->OnKeyPress) << "every edit of the cycle has both handlers";
    }

    // The two beam depths lie beyond their group's visible part.
    for (TEdit* depth : {static_cast<TEdit*>(form->LabeledEdit_d_b_up), static_cast<TEdit*>(form->LabeledEdit_d_b_down)})
        EXPECT_GE(depth->Left(), form->GroupBox_Upper->ClientWidth());
    EXPECT_TRUE(form->LabeledEdit_d_b_up->CanFocus()) << "reached with Tab";

    // The bolt data never turn pending and press Enter through the slab handler.
    const TColor bolt_colours[] = {clOlive, clNavy, clTeal, clPurple};
    for (TLabeledEdit* e : {form->Bolted_BRB_et, form->Bolted_BRB_el, form->Bolted_BRB_s, form->Bolted_BRB_Fy,
                            form->Bolted_BRB_Fu, form->Bolted_BRB_Fnt, form->Bolted_BRB_Fnv, form->Bolted_BRB_d,
                            form->Bolted_BRB_dh, form->Bolted_BRB_Fyg, form->Bolted_BRB_Fug, form->Bolted_BRB_g}) {
        SCOPED_TRACE(e->Name());
        EXPECT_FALSE(e->OnChange);
        EXPECT_TRUE(e->OnKeyPress);
        EXPECT_NE(std::find(std::begin(bolt_colours), std::end(bolt_colours), e->Color()), std::end(bolt_colours));
    }
    EXPECT_EQ(form->Bolted_BRB_Fnt->Text(), "0.0632");
    EXPECT_EQ(form->Bolted_BRB_Fnv->Text(), "0.0466");
}

TEST_F(LayoutTest, SelectorsAndCheckBoxesHoldTheirItemsAndStates) {
    struct ListCase {
        TComboBox* box;
        std::vector<std::string> items;
    };
    const ListCase lists[] = {
        {form->ComboBox_cfg, {"Diagonal", "Chevron"}},
        {form->ComboBox_Connection_Type, {"Welded", "Bolted"}},
        {form->ComboBox_BRB_Type, {"Cruciform", "Flat"}},
        {form->ComboBox_CASING_TYPE, {"Circular Pipe", "Square Tube"}},
        {form->ComboBox_Mat,
         {"CNS/JIS SN400 series", "CNS/JIS SN490 series", "CNS/JIS/CSC SM570 series", "ASTM A36", "ASTM A572 GR50"}},
        {form->ComboBox_Mat_Gusset_Plate, {"CNS/JIS SN490 series", "CNS/JIS/CSC SM570 series", "ASTM A572 GR50"}},
        {form->ComboBox_Gusset_Thickness,
         {"16", "18", "20", "22", "25", "28", "30", "32", "35", "38", "40", "45", "50", "55", "60", "65", "70", "75",
          "80", "tg = tc", "Auto (tg >= tc)"}},
        {form->ComboBox_Units, {"tonf-mm", "kN-mm"}},
        {form->ComboBox_Bolt, {"ASTM A325", "ASTM A490"}},
        {form->ComboBox_BRB_Output_Option, {"Summary", "Core", "Casing", "Gusset"}},
    };
    for (const ListCase& c : lists) EXPECT_EQ(c.box->Items().List(), c.items) << c.box->Name();
    EXPECT_EQ(form->ComboBox_Gusset_Thickness->Text(), "Auto (tg >= tc)");
    EXPECT_EQ(form->ComboBox_Units->Text(), "tonf-mm");
    EXPECT_EQ(form->ComboBox_Bolt->ItemIndex(), 0);
    EXPECT_FALSE(form->ComboBox_Connection_Type->Enabled()) << "the connection stays welded";
    EXPECT_EQ(form->RadioGroup_Part->Items().List(), (std::vector<std::string>{"Left", "Right"}));
    EXPECT_EQ(form->RadioGroup_DCR->Items().List(), (std::vector<std::string>{"Left", "Mid.", "Right"}));
    EXPECT_EQ(form->CheckListBox_Batch->Items().List(), (std::vector<std::string>{"1", "2"}));

    struct BoxCase {
        TCheckBox* box;
        const char* caption;
        bool checked;
        bool visible;
    };
    const BoxCase boxes[] = {
        {form->CheckBox_adjust_L_w, "Lw", true, true},
        {form->CheckBox_adjust_BjDj, "Joint", true, true},
        {form->CheckBox_adjust_Lbrb, "Lbrb", false, true},
        {form->CheckBox_adjust_tg, "tg", true, true},
        {form->CheckBox_adjust_Mat, "Material", false, true},
        {form->CheckBox_TargetLc, "min. Lc", false, false},
        {form->CheckBox_LcToLwp, "min. \u03b1L", true, false},
        {form->CheckBox_Stiffener, "with stiffener", true, false},
        {form->CheckBox_GUFM, "Generalized UFM", true, false},
        {form->CheckBox_Frame_Action, "Frame Action", true, false},
        {form->CheckBox_Staggered, "Staggered", true, true},
    };
    for (const BoxCase& c : boxes) {
        SCOPED_TRACE(c.box->Name());
        EXPECT_EQ(c.box->Caption(), c.caption);
        EXPECT_EQ(c.box->Checked(), c.checked);
        EXPECT_EQ(c.box->Visible(), c.visible);
        EXPECT_TRUE(c.box->OnClick);
    }
    EXPECT_TRUE(form->CheckBox_adjust_Keff->Caption().starts_with("Keff"));
    EXPECT_FALSE(form->CheckBox_adjust_Keff->Checked());
    EXPECT_EQ(form->CheckBox_adjust_Keff->Top(), 32);
}

TEST_F(LayoutTest, GaugeRowHoldsTwentyOneGaugesWithAPictureEach) {
    int bars = 0, pies = 0;
#define ZORV_COUNT_GAUGE(suffix, index, click, dblclick)                                   \
    (form->CGauge_DCR_##suffix->Kind() == gkVerticalBar ? bars : pies)++;                   \
    EXPECT_EQ(form->CGauge_DCR_##suffix->Parent(), form->DCRPieGroupBox);                   \
    EXPECT_EQ(form->Image_DCR_##suffix->Left(), form->CGauge_DCR_##suffix->Left());         \
    EXPECT_TRUE(form->Image_DCR_##suffix->OnClick && form->Image_DCR_##suffix->OnDblClick); \
    EXPECT_TRUE(form->Image_DCR_##suffix->OnMouseEnter && form->Image_DCR_##suffix->OnMouseLeave);
    ZORV_DCR_GAUGES(ZORV_COUNT_GAUGE)
#undef ZORV_COUNT_GAUGE
    EXPECT_EQ(bars, 2);
    EXPECT_EQ(pies, 19);
    EXPECT_EQ(form->CGauge_DCR_1->Kind(), gkVerticalBar);
    EXPECT_EQ(form->CGauge_DCR_2->Kind(), gkVerticalBar);
}

}  // namespace
