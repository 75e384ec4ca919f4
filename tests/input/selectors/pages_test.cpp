// The control and side-bar tab rows, their pages, the layer toggles, the status lamp's
// click and the response bars.
#include "input/tab_rows.h"
#include "selector_fixture.h"

namespace {

using selector_tests::SelectorTest;

struct Place {
    int left, size;
};

std::vector<Place> PlacesOf(const std::vector<TPanel*>& tabs, int top) {
    std::vector<Place> places;
    for (TPanel* tab : tabs) {
        EXPECT_EQ(tab->Top(), top) << tab->Name();
        EXPECT_EQ(tab->Width(), tab->Height()) << tab->Name() << " stays square";
        places.push_back({tab->Left(), tab->Width()});
    }
    return places;
}

void ExpectPlaces(const std::vector<Place>& got, const std::vector<Place>& want, int a) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].left, want[i].left) << "tab " << i << " with tab " << a << " magnified";
        EXPECT_EQ(got[i].size, want[i].size) << "tab " << i << " with tab " << a << " magnified";
    }
}

using PagesTest = SelectorTest;

TEST_F(PagesTest, ControlRowTakesItsWorkedPlacesWithASpacingOfTwentyPixels) {
    // (left, size) of tabs 0 to 4 for each magnified tab.
    const std::vector<std::vector<Place>> table = {
        {{30, 35}, {85, 31}, {136, 24}, {180, 17}, {217, 10}},
        {{30, 17}, {67, 35}, {122, 30}, {172, 21}, {213, 13}},
        {{30, 8}, {58, 26}, {104, 35}, {159, 29}, {208, 17}},
        {{30, 5}, {55, 17}, {92, 29}, {141, 35}, {196, 26}},
        {{30, 4}, {54, 13}, {87, 21}, {128, 30}, {178, 35}},
    };
    const std::vector<std::function<void()>> enter = {
        [&] { form->Panel_control_FrameMouseEnter(form->Panel_control_Frame); },
        [&] { form->Panel_control_BRBMouseEnter(form->Panel_control_BRB); },
        [&] { form->Panel_control_GussetMouseEnter(form->Panel_control_Gusset); },
        [&] { form->Panel_control_AdjustMouseEnter(form->Panel_control_Adjust); },
        [&] { form->Panel_control_BoltMouseEnter(form->Panel_control_Bolt); },
    };
    // Entered out of order, so that no place is left over from the tab before.
    for (int a : {3, 0, 4, 1, 2}) {
        enter[a]();
        ExpectPlaces(PlacesOf(form->ControlTabs, 35), table[a], a);
        for (int i = 0; i < 5; ++i) {
            TGroupBox* page = form->ControlPages[i];
            EXPECT_EQ(page->Visible(), i == a) << page->Name() << " with tab " << a;
            if (i == a) {
                EXPECT_EQ(page->Left(), 16);
                EXPECT_EQ(page->Top(), 75);
            }
        }
    }
    EXPECT_FALSE(form->Panel_control_Bolt->Visible()) << "the bolt tab is placed but stays hidden";
    EXPECT_TRUE(form->Panel_control_Frame->Font() == form->Panel_control_Adjust->Font())
        << "the control tabs keep the layout's fonts";
    EXPECT_EQ(form->Panel_control_Frame->Color(), clCream);
    EXPECT_EQ(ControlTabSpacing(30), 20);
    EXPECT_EQ(ControlTabSpacing(31), 21);
}

TEST_F(PagesTest, SideBarRowTakesItsWorkedPlacesAndColoursOnlyTheMagnifiedTabRed) {
    const std::vector<std::vector<Place>> table = {
        {{16, 35}, {67, 30}, {113, 21}, {150, 13}},
        {{16, 17}, {49, 35}, {100, 29}, {145, 17}},
        {{16, 8}, {40, 26}, {82, 35}, {133, 26}},
        {{16, 5}, {37, 17}, {70, 29}, {115, 35}},
    };
    const std::vector<std::function<void()>> enter = {
        [&] { form->Panel_sb_Result_BRBMouseEnter(form->Panel_sb_Result_BRB); },
        [&] { form->Panel_sb_CheckMouseEnter(form->Panel_sb_Check); },
        [&] { form->Panel_sb_DesignMouseEnter(form->Panel_sb_Design); },
        [&] { form->Panel_sb_AdjustMouseEnter(form->Panel_sb_Adjust); },
    };
    for (int a : {2, 0, 3, 1}) {
        enter[a]();
        ExpectPlaces(PlacesOf(form->SideBarTabs, 30), table[a], a);
        for (int i = 0; i < 4; ++i) {
            TPanel* tab = form->SideBarTabs[i];
            const bool magnified = i == a;
            EXPECT_EQ(tab->Font().Size, magnified ? 16 : 10) << tab->Name();
            EXPECT_EQ(tab->Font().Color, magnified ? 0xF0FBFF : 0x808080) << tab->Name();
            EXPECT_EQ(tab->Color(), magnified ? 0x0000FF : 0xF0FBFF) << tab->Name();
            TGroupBox* page = form->SideBarPages[i];
            EXPECT_EQ(page->Visible(), magnified) << page->Name();
            if (magnified) {
                EXPECT_EQ(page->Left(), 12);
                EXPECT_EQ(page->Top(), 85) << "a Diagonal bay has no side selector above its pages";
            }
        }
        EXPECT_FALSE(form->RadioGroup_Part->Visible());
        EXPECT_FALSE(form->RadioGroup_DCR->Visible());
    }
}

TEST_F(PagesTest, WindowOpensOnTheFramePageAndTheBrbResultPage) {
    ExpectPlaces(PlacesOf(form->ControlTabs, 35), {{30, 35}, {85, 31}, {136, 24}, {180, 17}, {217, 10}}, 0);
    ExpectPlaces(PlacesOf(form->SideBarTabs, 30), {{16, 35}, {67, 30}, {113, 21}, {150, 13}}, 0);
    EXPECT_TRUE(form->GroupBox_Frame->Visible());
    for (TGroupBox* page : {form->GroupBox_BRB, form->GroupBox_Gusset, form->GroupBox_Adjust, form->GroupBox_Bolt})
        EXPECT_FALSE(page->Visible()) << page->Name();
    EXPECT_TRUE(form->GroupBox_sb_Result_BRB->Visible());
    for (TGroupBox* page : {form->GroupBox_sb_Check, form->GroupBox_sb_Design, form->GroupBox_sb_Adjust})
        EXPECT_FALSE(page->Visible()) << page->Name();
}

TEST_F(PagesTest, ChevronPagesSitBelowTheirSideSelector) {
    form->CfgText = "Chevron";
    ASSERT_EQ(form->RadioGroup_Part->Height(), 47);

    form->Panel_sb_Result_BRBMouseEnter(form->Panel_sb_Result_BRB);
    EXPECT_TRUE(form->RadioGroup_Part->Visible());
    EXPECT_FALSE(form->RadioGroup_DCR->Visible());
    EXPECT_EQ(form->RadioGroup_Part->Left(), 12);
    EXPECT_EQ(form->RadioGroup_Part->Top(), 70);
    EXPECT_EQ(form->GroupBox_sb_Result_BRB->Left(), 12);
    EXPECT_EQ(form->GroupBox_sb_Result_BRB->Top(), 122);

    form->Panel_sb_CheckMouseEnter(form->Panel_sb_Check);
    EXPECT_FALSE(form->RadioGroup_Part->Visible());
    EXPECT_TRUE(form->RadioGroup_DCR->Visible());
    EXPECT_EQ(form->RadioGroup_DCR->Left(), 12);
    EXPECT_EQ(form->RadioGroup_DCR->Top(), 70);
    EXPECT_EQ(form->GroupBox_sb_Check->Top(), 122);
    EXPECT_FALSE(form->GroupBox_sb_Result_BRB->Visible());

    form->Panel_sb_DesignMouseEnter(form->Panel_sb_Design);
    EXPECT_FALSE(form->RadioGroup_Part->Visible());
    EXPECT_FALSE(form->RadioGroup_DCR->Visible());
    EXPECT_EQ(form->GroupBox_sb_Design->Top(), 85);

    // The page follows the part selector's height, whichever selector is shown.
    form->RadioGroup_Part->SetHeight(60);
    form->Panel_sb_CheckMouseEnter(form->Panel_sb_Check);
    EXPECT_EQ(form->GroupBox_sb_Check->Top(), 135);
}

TEST_F(PagesTest, StatusLampClicksOpenTheCheckPage) {
    for (bool dbl : {false, true}) {
        form->Panel_sb_AdjustMouseEnter(form->Panel_sb_Adjust);
        if (dbl)
            form->Panel_RUN->DblClick();
        else
            form->Panel_RUN->Click();
        EXPECT_TRUE(form->GroupBox_sb_Check->Visible()) << (dbl ? "double click" : "click");
        EXPECT_FALSE(form->GroupBox_sb_Adjust->Visible());
        EXPECT_EQ(form->Panel_sb_Check->Width(), 35);
        EXPECT_EQ(form->Panel_sb_Check->Color(), clRed);
    }
    EXPECT_EQ(RunCount(), 0) << "opening a page runs no design";
}

TEST_F(PagesTest, LayerTogglesFlipTheirLayerAndColourAndComeBackOnASecondClick) {
    struct Toggle {
        TPanel* panel;
        bool DOVEREForm::*flag;
        bool starts_on;
    };
    const std::vector<Toggle> toggles = {
        {form->Panel_disp_Frame, &DOVEREForm::ShowFrame, true},
        {form->Panel_disp_RL, &DOVEREForm::ShowRL, true},
        {form->Panel_disp_BRB, &DOVEREForm::ShowBRB, true},
        {form->Panel_disp_Gusset, &DOVEREForm::ShowGusset, true},
        {form->Panel_disp_Lr, &DOVEREForm::ShowLr, false},
    };
    auto expect_painted = [&](const Toggle& t, bool on, const char* when) {
        EXPECT_EQ(form->*t.flag, on) << t.panel->Name() << " " << when;
        EXPECT_EQ(t.panel->Color(), on ? clCream : clGray) << t.panel->Name() << " " << when;
        EXPECT_EQ(t.panel->Font().Color, on ? clGray : clCream) << t.panel->Name() << " " << when;
    };
    for (const Toggle& t : toggles) {
        expect_painted(t, t.starts_on, "at start");
        const std::uint64_t frame_swaps = form->OpGLPanel->SurfaceRevision();
        t.panel->Click();
        expect_painted(t, !t.starts_on, "after one click");
        for (const Toggle& other : toggles) {
            if (other.panel != t.panel) {
                EXPECT_EQ(form->*other.flag, other.starts_on) << "one layer per toggle";
            }
        }
        t.panel->Click();
        expect_painted(t, t.starts_on, "after two clicks");
        EXPECT_EQ(form->OpGLPanel->SurfaceRevision(), frame_swaps + 2) << t.panel->Name() << ": one redraw a click";
    }
    EXPECT_EQ(RunCount(), 0) << "a layer toggle runs no design";
}

TEST_F(PagesTest, ResponseBarsLightByTheRunTime) {
    struct Case {
        int ms;
        int lit;
    };
    for (const Case& c : {Case{0, 4}, {200, 4}, {201, 3}, {300, 3}, {301, 2}, {500, 2}, {501, 1}, {1000, 1},
                          {1001, 0}, {60000, 0}}) {
        form->ShowResponseSignal(c.ms);
        ASSERT_EQ(form->SignalPanels.size(), 4u);
        for (int k = 1; k <= 4; ++k)
            EXPECT_EQ(form->SignalPanels[k - 1]->ParentBackground(), k > c.lit)
                << "bar " << k << " after " << c.ms << " ms";
    }
    EXPECT_EQ(form->SignalPanels[0], form->Panel_Signal_1);
    EXPECT_EQ(form->SignalPanels[3], form->Panel_Signal_4);
}

}  // namespace
