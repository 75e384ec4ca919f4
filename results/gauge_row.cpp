// The DCR gauge row: one gauge per check ratio with a picture over it and an "NG"
// label, magnified like a dock under the mouse. The routines walk DcrGauges,
// DcrImages and DcrLabels, which the window leaves empty, so on screen they change
// nothing; they work on whatever the lists hold.
#include <algorithm>
#include <cmath>
#include <limits>

#include "app/DOVEREFORM.h"

namespace {

constexpr TColor kGaugeColor = 0xF0CAA6;
constexpr TColor kFailedGaugeColor = 0x0000FF;  // red
constexpr int kRestSize = 39;
constexpr int kRestSpacing = 8;

// Cuts toward zero, as every position of the row does.
int Cut(double v) { return static_cast<int>(v); }

// A font size from a gauge height, never below 2.
int ScaledFontSize(int height, int per_60) {
    const int size = height * per_60 / 60;
    return size < 3 ? 2 : size;
}

void PlaceLabel(TLabel& label, const TCGauge& gauge, double left_share, int font_size) {
    label.SetTop(Cut(gauge.Top() + 0.2 * gauge.Height()));
    label.SetLeft(Cut(gauge.Left() + left_share * gauge.Width()));
    label.Font().Size = font_size;
}

// The three lists belong together by index; only the indexes all of them have count.
std::size_t GaugeCount(const DOVEREForm& f) {
    return std::min({f.DcrGauges.size(), f.DcrImages.size(), f.DcrLabels.size()});
}

}  // namespace

void DOVEREForm::UpdateDcrGauges() {
    const std::size_t n = std::min({DcrGauges.size(), DcrLabels.size(), GaugeValues.size()});
    for (std::size_t i = 0; i < n; ++i) {
        TCGauge& gauge = *DcrGauges[i];
        TLabel& label = *DcrLabels[i];
        const float ratio = GaugeValues[i];
        gauge.SetShowText(true);
        label.SetCaption("");
        if (ratio >= 1.0f) {
            gauge.SetShowText(false);
            gauge.SetForeColor(kFailedGaugeColor);
            label.SetCaption("NG");
            PlaceLabel(label, gauge, 0.13, ScaledFontSize(gauge.Height(), 20));
        } else {
            gauge.SetForeColor(kGaugeColor);
        }
        gauge.SetProgress(DcrPercent(ratio));  // the gauge keeps it within its range
    }
}

int DOVEREForm::DcrPercent(float r) {
    // The cut toward zero, held to the integer range: a ratio can be any float.
    const float percent = r * 100.0f;
    constexpr float kBeyondInt = 2147483648.0f;  // 2^31, exact in single precision
    if (std::isnan(percent)) return 0;
    if (percent >= kBeyondInt) return std::numeric_limits<int>::max();
    if (percent <= -kBeyondInt) return std::numeric_limits<int>::min();
    return static_cast<int>(percent);
}

void DOVEREForm::OverlayDcrImages() {
    const std::size_t n = GaugeCount(*this);
    for (std::size_t i = 0; i < n; ++i) {
        const TCGauge& gauge = *DcrGauges[i];
        DcrImages[i]->SetBounds(gauge.Left(), gauge.Top(), gauge.Width(), gauge.Height());
        PlaceLabel(*DcrLabels[i], gauge, 0.125, 8);
    }
}

void DOVEREForm::ResetDcrGaugeRow() {
    const std::size_t n = GaugeCount(*this);
    for (std::size_t i = 0; i < n; ++i) {
        TCGauge& gauge = *DcrGauges[i];
        const int left = i == 0 ? ViewLayout.GaugeGap + 3
                                : DcrGauges[i - 1]->Left() + DcrGauges[i - 1]->Width() + kRestSpacing;
        gauge.SetBounds(left, ViewLayout.GaugeRowTop, kRestSize, kRestSize);
        DcrImages[i]->SetBounds(gauge.Left(), gauge.Top(), gauge.Width(), gauge.Height());
        PlaceLabel(*DcrLabels[i], gauge, 0.125, 14);
    }
}

void DOVEREForm::MagnifyDcrGauge(int a) {
    const std::size_t count = GaugeCount(*this);
    const int n = static_cast<int>(count);
    const int full = ViewLayout.GaugeFocusSize;
    for (int i = 0; i < n; ++i) {
        // Smaller the farther from gauge a; a is never 0 below it nor n above it.
        int size = full;
        if (i < a) size = Cut((i + 0.5) / a * full);
        if (i > a) size = Cut((n - i + 0.5) / (n - a) * full);
        TCGauge& gauge = *DcrGauges[i];
        const int left = i == 0 ? ViewLayout.GaugeGap
                                : DcrGauges[i - 1]->Left() + DcrGauges[i - 1]->Width() + ViewLayout.GaugeGap;
        gauge.SetBounds(left, ViewLayout.GaugeRowTop, size, size);
        DcrImages[i]->SetBounds(gauge.Left(), gauge.Top(), gauge.Width(), gauge.Height());
        DcrImages[i]->BringToFront();
        PlaceLabel(*DcrLabels[i], gauge, 0.125, ScaledFontSize(gauge.Height(), 18));
    }
}

void DOVEREForm::FormClick(TObject*) { ResetDcrGaugeRow(); }

#define ZORV_GAUGE_PICTURE_HOVER(suffix, index, click, dblclick)                          \
    void DOVEREForm::Image_DCR_##suffix##MouseEnter(TObject*) { MagnifyDcrGauge(index); } \
    void DOVEREForm::Image_DCR_##suffix##MouseLeave(TObject*) {}
ZORV_DCR_GAUGES(ZORV_GAUGE_PICTURE_HOVER)
#undef ZORV_GAUGE_PICTURE_HOVER
