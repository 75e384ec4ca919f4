// The gauge row: with its lists empty, as the window has them, nothing moves; with
// gauges put into the lists, the update, the overlay, the rest layout and the dock
// magnifier place and colour them.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/result_reader.h"
#include "design_service/run_support.h"
#include "support/form_environment.h"

namespace {

using testing_support::FormEnvironment;

constexpr TColor kNormal = 0xF0CAA6;
constexpr TColor kRed = 0x0000FF;

struct Look {
    TRect bounds;
    int progress;
    TColor fore;
    bool show_text;
    bool operator==(const Look&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Look& l) {
    return out << "{" << l.bounds.Left << "," << l.bounds.Top << "," << l.bounds.Right << "," << l.bounds.Bottom
               << " progress " << l.progress << " fore " << l.fore << " text " << l.show_text << "}";
}

class GaugeRow : public ::testing::Test {
protected:
    void SetUp() override {
        form = env.Create();
        ASSERT_NE(form, nullptr);
#define ZORV_COLLECT(suffix, index, click, dblclick) \
    gauges.push_back(form->CGauge_DCR_##suffix);     \
    images.push_back(form->Image_DCR_##suffix);
        ZORV_DCR_GAUGES(ZORV_COLLECT)
#undef ZORV_COLLECT
    }

    // The first n gauges and pictures of the layout, with labels of their own.
    void FillLists(std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) {
            form->DcrGauges.push_back(gauges[i]);
            form->DcrImages.push_back(images[i]);
            auto* label = new TLabel(form);
            label->SetParent(form->DCRPieGroupBox);
            label->SetCaption("x");
            form->DcrLabels.push_back(label);
        }
    }

    std::vector<Look> Looks() const {
        std::vector<Look> looks;
        for (const TCGauge* g : gauges) looks.push_back({g->BoundsRect(), g->Progress(), g->ForeColor(), g->ShowText()});
        for (const TImage* i : images) looks.push_back({i->BoundsRect(), 0, 0, false});
        return looks;
    }

    FormEnvironment env;
    DOVEREForm* form = nullptr;
    std::vector<TCGauge*> gauges;
    std::vector<TImage*> images;
};

TEST_F(GaugeRow, WithTheWindowsEmptyListsNothingMoves) {
    EXPECT_TRUE(form->DcrGauges.empty());
    EXPECT_TRUE(form->DcrImages.empty());
    EXPECT_TRUE(form->DcrLabels.empty());
    // As the layout places them, after the constructor's overlay and magnifier.
    EXPECT_EQ(gauges[0]->BoundsRect(), TRect(15, 113, 45, 143));
    EXPECT_EQ(images[2]->BoundsRect(), TRect(105, 146, 135, 176));
    const std::vector<Look> before = Looks();

    EXPECT_TRUE(form->RunDesign());
    form->Click();
    for (TImage* image : images) {
        ASSERT_TRUE(image->OnMouseEnter);
        image->OnMouseEnter(image);
        image->OnMouseLeave(image);
    }
    form->ResetDcrGaugeRow();
    form->OverlayDcrImages();
    EXPECT_EQ(Looks(), before);
}

TEST_F(GaugeRow, PercentIsCutTowardZero) {
    const struct {
        float ratio;
        int percent;
    } cases[] = {{0.0f, 0},
                 {0.999f, 99},
                 {1.0f, 100},
                 {0.5f, 50},
                 {1.234f, 123},
                 {-0.255f, -25},
                 {0.29f, 29},  // the product in single precision
                 // Beyond the integer range the percentage stops at its ends.
                 {21000000.0f, 2100000000},
                 {21474836.0f, 2147483647},
                 {1e30f, 2147483647},
                 {-1e30f, -2147483647 - 1},
                 {std::numeric_limits<float>::infinity(), 2147483647},
                 {std::numeric_limits<float>::quiet_NaN(), 0}};
    for (const auto& c : cases) EXPECT_EQ(form->DcrPercent(c.ratio), c.percent) << c.ratio;
}

TEST_F(GaugeRow, AFailedRatioTurnsItsGaugeRedWithNg) {
    FillLists(4);
    // Wide enough that 0.13 of its width and 0.125 of it cut to different pixels.
    gauges[1]->SetBounds(60, 100, 100, 90);
    form->GaugeValues = {0.999f, 1.0f, 0.25f, 2.5f};
    form->UpdateDcrGauges();
    const TCGauge& pass = *gauges[0];
    EXPECT_EQ(pass.Progress(), 99);
    EXPECT_EQ(pass.ForeColor(), kNormal);
    EXPECT_TRUE(pass.ShowText());
    EXPECT_EQ(form->DcrLabels[0]->Caption(), "");

    const TCGauge& fail = *gauges[1];
    EXPECT_EQ(fail.Progress(), 100);
    EXPECT_EQ(fail.ForeColor(), kRed);
    EXPECT_FALSE(fail.ShowText());
    const TLabel& ng = *form->DcrLabels[1];
    EXPECT_EQ(ng.Caption(), "NG");
    EXPECT_EQ(ng.Top(), 118) << "100 + 0.2 x 90";
    EXPECT_EQ(ng.Left(), 73) << "60 + 0.13 x 100, where the overlay's 0.125 gives 72";
    EXPECT_EQ(ng.Font().Size, 30) << "90 x 20 / 60";
    const TLabel& ng_small = *form->DcrLabels[3];  // at 150, 113, 30 x 30
    EXPECT_EQ(ng_small.Caption(), "NG");
    EXPECT_EQ(ng_small.Top(), 119);
    EXPECT_EQ(ng_small.Left(), 153);
    EXPECT_EQ(ng_small.Font().Size, 10);
    EXPECT_EQ(form->DcrLabels[2]->Caption(), "");
    EXPECT_EQ(gauges[2]->Progress(), 25);
    EXPECT_EQ(gauges[3]->Progress(), 100) << "the gauge keeps its range";

    // A pass after a failure shows its text again.
    form->GaugeValues = {0.1f, 0.2f, 0.3f, 0.4f};
    form->UpdateDcrGauges();
    EXPECT_TRUE(gauges[1]->ShowText());
    EXPECT_EQ(gauges[1]->ForeColor(), kNormal);
    EXPECT_EQ(form->DcrLabels[1]->Caption(), "");
}

TEST_F(GaugeRow, OnlyGaugesWithARatioAreUpdated) {
    FillLists(21);
    // A Chevron bay with its middle gusset chosen: three ratios.
    form->CfgText = form->ResultCfgText = "Chevron";
    nlohmann::json result = nlohmann::json::parse(
        testing_support::ReadFile(testing_support::FixturePath("run-result-chevron-welded.json")));
    result["DCR_7_mg_c2"] = 1.5;
    ASSERT_TRUE(ParseResultText(result.dump(), form->ResultObject));
    form->RadioGroup_DCR->OnClick = nullptr;
    form->RadioGroup_DCR->SetItemIndex(1);
    form->ReadCheckRatios();
    ASSERT_EQ(form->GaugeValues.size(), 3u);
    const std::vector<Look> before = Looks();
    form->UpdateDcrGauges();
    EXPECT_EQ(gauges[0]->Progress(), 89);
    EXPECT_EQ(gauges[1]->ForeColor(), kRed);
    EXPECT_EQ(gauges[2]->Progress(), 55);
    const std::vector<Look> after = Looks();
    for (std::size_t i = 3; i < after.size(); ++i) EXPECT_EQ(after[i], before[i]) << i;
}

TEST_F(GaugeRow, EveryResultUpdatesTheGaugesInTheLists) {
    FillLists(21);
    for (TCGauge* gauge : gauges) gauge->SetProgress(77);
    ASSERT_TRUE(form->RunDesign());
    for (int i = 0; i < 21; ++i) EXPECT_EQ(gauges[i]->Progress(), 0) << "a Diagonal bay's zeros, gauge " << i;

    form->ComboBox_cfg->SetItemIndex(1);
    form->CfgText = "Chevron";
    ASSERT_EQ(form->RadioGroup_DCR->ItemIndex(), 0);
    ASSERT_TRUE(form->RunDesign());
    const jsonxx::Object& left = form->ResultObject.get<jsonxx::Object>("LEFT");
    const char* const keys[15] = {"DCR_1",         "DCR_2",         "DCR_3_up",      "DCR_3_down",
                                  "DCR_4",         "DCR_5_up",      "DCR_5_down",    "DCR_6_up",
                                  "DCR_6_down",    "DCR_7_down_c1", "DCR_7_down_c2", "DCR_7_down_c3",
                                  "DCR_7_down_c4", "DCR_7_down_c5", "DCR_7_down_c6"};
    int moved = 0;
    for (int i = 0; i < 15; ++i) {
        const float ratio = static_cast<float>(left.get<double>(keys[i]));
        EXPECT_EQ(gauges[i]->Progress(), static_cast<int>(std::trunc(ratio * 100.0f))) << keys[i];
        moved += gauges[i]->Progress() != 0;
    }
    EXPECT_GT(moved, 0) << "the ratios of the left brace are no zeros";
    for (int i = 15; i < 21; ++i) EXPECT_EQ(gauges[i]->Progress(), 0) << "no ratio for gauge " << i;
}

TEST_F(GaugeRow, TheOverlayAndTheRestLayoutPlacePicturesAndLabels) {
    FillLists(3);
    gauges[1]->SetBounds(60, 100, 40, 50);
    form->OverlayDcrImages();
    EXPECT_EQ(images[1]->BoundsRect(), gauges[1]->BoundsRect());
    EXPECT_EQ(form->DcrLabels[1]->Top(), 110);
    EXPECT_EQ(form->DcrLabels[1]->Left(), 65);
    EXPECT_EQ(form->DcrLabels[1]->Font().Size, 8);

    form->Click();  // the form's click lays the row out at rest
    const int lefts[] = {18, 65, 112};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(gauges[i]->BoundsRect(), TRect(lefts[i], 8, lefts[i] + 39, 47)) << i;
        EXPECT_EQ(images[i]->BoundsRect(), gauges[i]->BoundsRect()) << i;
        EXPECT_EQ(form->DcrLabels[i]->Top(), 15) << i;
        EXPECT_EQ(form->DcrLabels[i]->Left(), lefts[i] + 4) << i;
        EXPECT_EQ(form->DcrLabels[i]->Font().Size, 14) << i;
    }
    EXPECT_EQ(gauges[3]->BoundsRect(), TRect(150, 113, 180, 143)) << "not in the lists";
}

TEST_F(GaugeRow, TheMagnifierGrowsTheGaugeUnderTheMouse) {
    FillLists(3);
    images[1]->OnMouseEnter(images[1]);  // gauge 1
    // Sizes 30, 60, 45 from 15 with gaps of 15.
    const TRect expected[] = {TRect(15, 8, 45, 38), TRect(60, 8, 120, 68), TRect(135, 8, 180, 53)};
    const int fonts[] = {9, 18, 13};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(gauges[i]->BoundsRect(), expected[i]) << i;
        EXPECT_EQ(images[i]->BoundsRect(), expected[i]) << i;
        EXPECT_EQ(form->DcrLabels[i]->Font().Size, fonts[i]) << i;
    }
    EXPECT_EQ(form->DcrLabels[1]->Top(), 20);
    EXPECT_EQ(form->DcrLabels[1]->Left(), 67);
    const std::vector<TControl*>& front = form->DCRPieGroupBox->Controls();
    EXPECT_EQ(front.back(), images[2]) << "each picture comes to the front in turn";

    // Far from the gauge under the mouse a gauge shrinks to a pixel; its label's
    // font stays readable.
    form->DcrGauges.clear();
    form->DcrImages.clear();
    form->DcrLabels.clear();
    FillLists(21);
    form->MagnifyDcrGauge(20);
    EXPECT_EQ(gauges[0]->Width(), 1);
    EXPECT_EQ(form->DcrLabels[0]->Font().Size, 2);
    EXPECT_EQ(gauges[20]->Width(), 60);
    EXPECT_EQ(gauges[19]->Width(), 58);
    form->MagnifyDcrGauge(0);
    EXPECT_EQ(gauges[0]->Width(), 60);
    EXPECT_EQ(gauges[1]->Width(), 58) << "(21 - 1 + 0.5) / 21 of the full size, cut";
    EXPECT_EQ(gauges[20]->Width(), 4);
}

}  // namespace
