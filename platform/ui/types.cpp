#include "platform/ui/types.h"

#include <array>
#include <cstdlib>
#include <utility>

namespace ui {
namespace {

// Fixed values for the system colours, so that the same layout looks the same on
// every desktop and in the headless tests.
constexpr std::array<Rgb, 25> kSystemColors = {{
    {200, 200, 200},  // scroll bar
    {0, 0, 0},        // background
    {153, 180, 209},  // active caption
    {191, 205, 219},  // inactive caption
    {240, 240, 240},  // menu
    {255, 255, 255},  // window
    {100, 100, 100},  // window frame
    {0, 0, 0},        // menu text
    {0, 0, 0},        // window text
    {0, 0, 0},        // caption text
    {180, 180, 180},  // active border
    {244, 247, 252},  // inactive border
    {171, 171, 171},  // application work space
    {0, 120, 215},    // highlight
    {255, 255, 255},  // highlight text
    {240, 240, 240},  // button face
    {160, 160, 160},  // button shadow
    {109, 109, 109},  // grey text
    {0, 0, 0},        // button text
    {0, 0, 0},        // inactive caption text
    {255, 255, 255},  // button highlight
    {105, 105, 105},  // 3D dark shadow
    {227, 227, 227},  // 3D light
    {0, 0, 0},        // info text
    {255, 255, 225},  // info background
}};

constexpr std::pair<std::string_view, TColor> kNamedColors[] = {
    {"clBlack", clBlack},
    {"clMaroon", clMaroon},
    {"clGreen", clGreen},
    {"clOlive", clOlive},
    {"clNavy", clNavy},
    {"clPurple", clPurple},
    {"clTeal", clTeal},
    {"clGray", clGray},
    {"clSilver", clSilver},
    {"clRed", clRed},
    {"clLime", clLime},
    {"clYellow", clYellow},
    {"clBlue", clBlue},
    {"clFuchsia", clFuchsia},
    {"clAqua", clAqua},
    {"clWhite", clWhite},
    {"clMoneyGreen", clMoneyGreen},
    {"clSkyBlue", clSkyBlue},
    {"clCream", clCream},
    {"clMedGray", clMedGray},
    {"clScrollBar", clScrollBar},
    {"clBackground", clBackground},
    {"clActiveCaption", clActiveCaption},
    {"clInactiveCaption", clInactiveCaption},
    {"clMenu", clMenu},
    {"clWindow", clWindow},
    {"clWindowFrame", clWindowFrame},
    {"clMenuText", clMenuText},
    {"clWindowText", clWindowText},
    {"clCaptionText", clCaptionText},
    {"clActiveBorder", clActiveBorder},
    {"clInactiveBorder", clInactiveBorder},
    {"clAppWorkSpace", clAppWorkSpace},
    {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText},
    {"clBtnFace", clBtnFace},
    {"clBtnShadow", clBtnShadow},
    {"clGrayText", clGrayText},
    {"clBtnText", clBtnText},
    {"clInactiveCaptionText", clInactiveCaptionText},
    {"clBtnHighlight", clBtnHighlight},
    {"cl3DDkShadow", cl3DDkShadow},
    {"cl3DLight", cl3DLight},
    {"clInfoText", clInfoText},
    {"clInfoBk", clInfoBk},
};

// a * b / c rounded half away from zero, for non-negative values.
int MulDivRounded(int a, int b, int c) { return (a * b + c / 2) / c; }

}  // namespace

Rgb ColorToRgb(TColor color) {
    const auto bits = static_cast<std::uint32_t>(color);
    if ((bits & 0xFF000000u) == 0xFF000000u) {
        const auto index = bits & 0xFFu;
        return index < kSystemColors.size() ? kSystemColors[index] : Rgb{};
    }
    return Rgb{static_cast<std::uint8_t>(bits & 0xFF), static_cast<std::uint8_t>((bits >> 8) & 0xFF),
               static_cast<std::uint8_t>((bits >> 16) & 0xFF)};
}

std::optional<TColor> ColorFromName(std::string_view name) {
    for (const auto& [n, c] : kNamedColors)
        if (n == name) return c;
    return std::nullopt;
}

}  // namespace ui

int TFont::Height() const { return -ui::MulDivRounded(std::abs(Size), 96, 72); }

void TFont::SetHeight(int height) { Size = ui::MulDivRounded(std::abs(height), 72, 96); }
