// Rules of the desktop backend that need no window, and the start without a display.
#include <gtest/gtest.h>

#include <FL/Enumerations.H>

#include <cstdlib>

#include "platform/ui/fltk/backdrop.h"
#include "platform/ui/fltk/fltk_backend.h"
#include "platform/ui/fltk/look.h"
#include "platform/ui/headless.h"

namespace {

TFont Font(std::string name, int size, TFontStyles style = 0) {
    TFont f;
    f.Name = std::move(name);
    f.Size = size;
    f.Style = style;
    return f;
}

TEST(ChooseFont, FamilyWeightAndPixelSize) {
    struct Case {
        TFont font;
        ui::FontChoice want;
    };
    const Case cases[] = {
        {Font("Arial Black", 10), {ui::FontFamily::Sans, true, false, 13}},
        {Font("Tahoma", 8), {ui::FontFamily::Sans, false, false, 11}},
        {Font("MS Sans Serif", 8, fsBold), {ui::FontFamily::Sans, true, false, 11}},
        {Font("Times New Roman", 12, fsItalic), {ui::FontFamily::Serif, false, true, 16}},
        {Font("Courier New", 9), {ui::FontFamily::Mono, false, false, 12}},
        {Font("Consolas", 14, fsBold | fsItalic), {ui::FontFamily::Mono, true, true, 19}},
    };
    for (const auto& c : cases) EXPECT_EQ(ui::ChooseFont(c.font), c.want) << c.font.Name << " " << c.font.Size;

    TFont from_height;
    from_height.Name = "Arial Black";
    from_height.SetHeight(-13);
    EXPECT_EQ(ui::ChooseFont(from_height).pixels, 13);
}

TEST(EscapeLabel, SymbolAndShortcutMarksShowAsTyped) {
    EXPECT_EQ(ui::EscapeLabel("plain text"), "plain text");
    EXPECT_EQ(ui::EscapeLabel("A/B_C|D&E"), "A/B_C|D&&E");
    EXPECT_EQ(ui::EscapeLabel("@-> mail@host"), "@@-> mail@@host");
    EXPECT_EQ(ui::EscapeLabel(""), "");
}

TEST(FileChooserFilter, DesktopFiltersBecomeChooserPatterns) {
    const std::pair<std::string, std::string> cases[] = {
        {"Workbooks (*.xlsx)|*.xlsx|All files (*.*)|*.*", "Workbooks (*.xlsx)\t*.xlsx\nAll files (*.*)\t*"},
        {"Excel (*.xls;*.xlsx)|*.xls;*.xlsx", "Excel (*.xls;*.xlsx)\t{*.xls,*.xlsx}"},
        {" Text | *.txt ", "Text\t*.txt"},
        {"", ""},
        // A description without a pattern, and an empty pattern, are left out.
        {"Workbooks|*.xlsx|Broken", "Workbooks\t*.xlsx"},
        {"Empty||Text|*.txt", "Text\t*.txt"},
        {"Tab\tin name|*.csv", "Tab in name\t*.csv"},
    };
    for (const auto& [filter, want] : cases) EXPECT_EQ(ui::FileChooserFilter(filter), want) << filter;
}

TEST(PointerShape, BusyFormCoversTheWindow) {
    EXPECT_EQ(ui::PointerShapeFor(crDefault, crDefault), ui::PointerShape::Arrow);
    EXPECT_EQ(ui::PointerShapeFor(crArrow, crDefault), ui::PointerShape::Arrow);
    EXPECT_EQ(ui::PointerShapeFor(crHourGlass, crDefault), ui::PointerShape::Busy);
    EXPECT_EQ(ui::PointerShapeFor(crAppStart, crArrow), ui::PointerShape::Busy);
    EXPECT_EQ(ui::PointerShapeFor(crDefault, crHourGlass), ui::PointerShape::Busy);
}

TEST(RadioItemRects, ItemsFillColumnsBelowTheCaption) {
    // Three items in three columns of a 200 x 50 group with 13-pixel text.
    const auto three = ui::RadioItemRects(200, 50, 13, 3, 3);
    ASSERT_EQ(three.size(), 3u);
    EXPECT_EQ(three[0], TRect(8, 14, 71, 46));
    EXPECT_EQ(three[1], TRect(71, 14, 134, 46));
    EXPECT_EQ(three[2], TRect(134, 14, 197, 46));

    // Five items in two columns: three down the first, two down the second.
    const auto five = ui::RadioItemRects(100, 100, 13, 5, 2);
    ASSERT_EQ(five.size(), 5u);
    EXPECT_EQ(five[0].Left, five[2].Left);
    EXPECT_EQ(five[3].Left, five[0].Left + 45);
    EXPECT_EQ(five[3].Top, five[0].Top);
    EXPECT_LT(five[0].Top, five[1].Top);

    // More columns than items, no items, a group too low for its items.
    EXPECT_EQ(ui::RadioItemRects(100, 40, 13, 2, 5).size(), 2u);
    EXPECT_TRUE(ui::RadioItemRects(100, 40, 13, 0, 1).empty());
    for (const TRect& r : ui::RadioItemRects(100, 10, 13, 4, 1)) EXPECT_GE(r.Height(), 1);
}

TEST(LabelLines, LineFeedsAndWordWrap) {
    auto width = [](std::string_view s) { return static_cast<int>(s.size()) * 10; };
    using Lines = std::vector<std::string>;
    EXPECT_EQ(ui::LabelLines("RUN\nnow", false, 100, width), (Lines{"RUN", "now"}));
    EXPECT_EQ(ui::LabelLines("a\r\nb", false, 100, width), (Lines{"a", "b"}));
    EXPECT_EQ(ui::LabelLines("The results are for reference only", false, 100, width),
              (Lines{"The results are for reference only"}));
    EXPECT_EQ(ui::LabelLines("The results are for reference only", true, 100, width),
              (Lines{"The", "results", "are for", "reference", "only"}));
    // A word longer than the width stays whole on its own line.
    EXPECT_EQ(ui::LabelLines("x extraordinarily y", true, 50, width), (Lines{"x", "extraordinarily", "y"}));
    EXPECT_EQ(ui::LabelLines("", true, 50, width), (Lines{""}));
}

TEST(ScalePixels, NearestPixelAndOpacity) {
    ui::PixelImage two;
    two.width = 2;
    two.height = 1;
    two.rgba = {255, 0, 0, 255, 0, 0, 255, 255};
    const auto wide = ui::ScalePixels(two, 4, 2);
    ASSERT_EQ(wide.width, 4);
    ASSERT_EQ(wide.height, 2);
    const std::vector<std::uint8_t> red = {255, 0, 0, 255}, blue = {0, 0, 255, 255};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) {
            const auto* p = &wide.rgba[static_cast<size_t>((y * 4 + x) * 4)];
            EXPECT_EQ(std::vector<std::uint8_t>(p, p + 4), x < 2 ? red : blue) << x << "," << y;
        }
    EXPECT_EQ(ui::ScalePixels(two, 2, 1), two);
    EXPECT_TRUE(ui::ScalePixels(two, 0, 3).Empty());
    EXPECT_TRUE(ui::ScalePixels(ui::PixelImage{}, 3, 3).Empty());

    EXPECT_TRUE(ui::IsOpaque(two));
    two.rgba[7] = 128;
    EXPECT_FALSE(ui::IsOpaque(two));
}

TEST(VirtualKeyFor, FltkKeysAsModelCodes) {
    const std::pair<int, std::uint16_t> cases[] = {
        {FL_Enter, VK_RETURN}, {FL_KP_Enter, VK_RETURN}, {FL_Tab, VK_TAB},    {FL_Escape, VK_ESCAPE},
        {FL_BackSpace, VK_BACK}, {FL_Up, VK_UP},          {FL_Down, VK_DOWN}, {FL_Left, VK_LEFT},
        {FL_Right, VK_RIGHT},  {' ', VK_SPACE},          {'a', 'A'},          {'z', 'Z'},
        {'7', '7'},            {FL_KP + '3', 99},        {FL_F + 1, 112},     {FL_Delete, 46},
        {FL_Home, 36},         {FL_Shift_L, 16},         {FL_Menu, 0},
    };
    for (const auto& [key, vk] : cases) EXPECT_EQ(ui::VirtualKeyFor(key), vk) << key;
    EXPECT_EQ(ui::ShiftStateFor(FL_SHIFT | FL_CTRL), ssShift | ssCtrl);
    EXPECT_EQ(ui::ShiftStateFor(FL_BUTTON1 | FL_ALT), ssLeft | ssAlt);
}

TEST(CalmBackdrop, StaysCloseToTheWindowColour) {
    const TColor base = 11372551;  // red 7, green 135, blue 173
    const auto image = ui::CalmBackdrop(200, 100, base);
    ASSERT_EQ(image.width, 200);
    ASSERT_EQ(image.height, 100);
    ASSERT_EQ(image.rgba.size(), 200u * 100u * 4u);
    EXPECT_TRUE(ui::IsOpaque(image));
    auto at = [&](int x, int y) { return &image.rgba[static_cast<size_t>((y * 200 + x) * 4)]; };
    const int want[3] = {7, 135, 173};
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            for (int c = 0; c < 3; ++c) ASSERT_LE(std::abs(at(x, y)[c] - want[c]), 30) << x << "," << y;
    // Lighter at the top than at the bottom, and a faint grid.
    EXPECT_GT(at(10, 1)[1], at(10, 98)[1]);
    EXPECT_GT(at(64, 10)[0], at(65, 10)[0]);
    EXPECT_GT(at(10, 64)[2], at(10, 65)[2]);
    EXPECT_TRUE(ui::CalmBackdrop(0, 10, base).Empty());
    EXPECT_TRUE(ui::CalmBackdrop(10, -1, base).Empty());
}

// Without a display the program must learn why and go on; FLTK's own handling
// would end the process.
TEST(OpenDisplay, ReportsAMissingDisplayWithoutEndingTheProcess) {
    ::unsetenv("DISPLAY");
    auto missing = ui::OpenDisplay();
    ASSERT_TRUE(missing.has_value());
    EXPECT_EQ(*missing, "no display: DISPLAY is not set");

    ::setenv("DISPLAY", "/nonexistent/zorv-test:0", 1);
    auto bad = ui::OpenDisplay();
    ASSERT_TRUE(bad.has_value());
    EXPECT_EQ(*bad, "no display: cannot open the X display /nonexistent/zorv-test:0");
    EXPECT_EQ(bad->find('\n'), std::string::npos);

    TApplication app;
    auto install = ui::InstallDesktopBackend(app);
    ASSERT_TRUE(install.has_value());
    EXPECT_NE(dynamic_cast<ui::HeadlessBackend*>(&app.Backend()), nullptr);
}

}  // namespace
