// Where the detail view puts its rows and plates: running translations from the
// view's origin for a Diagonal bay on either side of the 100 mm joint depth, and for
// a Chevron bay whose two braces differ, each row whole; what a Chevron view copies;
// the sideways offset that only a Diagonal view takes; the L lines about the work
// points of the asymmetric bay; the view before any result.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "detail_probe.h"
#include "detail_shapes.h"
#include "support/asymmetric_bay.h"
#include "support/form_environment.h"

namespace {

using detail_test::Box;
using detail_test::Corners;
using detail_test::Distinct;
using detail_test::Joined;
using detail_test::Moved;
using detail_test::Pieces;
using detail_test::Recorder;
using detail_test::SameRecord;
using detail_test::SetPieces;
using detail_test::Without;
using gl::FeedbackKind;
using testing_support::FormEnvironment;
using view_test::Point;
using view_test::Rgb;
using view_test::RgbOf;
using view_test::SamePoints;

// What a welded brace leaves in the joint colour: both joints of the side row and of
// the plan row, and the joint's section, each from its row's origin.
std::vector<Point> JointShapes(const TBraceValues& b, Point side, Point plan, Point section) {
    const float m = b.L_brb - b.L_w;
    const float r = (b.t_g_s + b.t_j) / 2;
    return Joined({
        Moved(Joined({Corners(0, -b.D_j / 2, b.L_w, b.D_j / 2), Corners(m, -b.D_j / 2, b.L_brb, b.D_j / 2)}), side),
        Moved(Joined({Corners(0, -b.B_j / 2, b.L_w, b.B_j / 2), Corners(m, -b.B_j / 2, b.L_brb, b.B_j / 2)}), plan),
        Moved(Joined({Corners(-b.B_j / 2, -b.t_c / 2, -b.t_g_s / 2, b.t_c / 2),
                      Corners(b.t_g_s / 2, -b.t_c / 2, b.B_j / 2, b.t_c / 2),
                      Corners(-r - b.t_j / 2, b.t_c / 2, -r + b.t_j / 2, b.D_j / 2),
                      Corners(r - b.t_j / 2, -b.t_c / 2, r + b.t_j / 2, -b.D_j / 2)}),
              section),
    });
}

// The three drawers of each row, in the order a row calls them.
using RowDrawers = std::array<void (DOVEREForm::*)(), 3>;
const RowDrawers kSideRow = {&DOVEREForm::DrawSideEnds, &DOVEREForm::DrawSideTransitions, &DOVEREForm::DrawSideCore};
const RowDrawers kPlanRow = {&DOVEREForm::DrawPlanEnds, &DOVEREForm::DrawPlanTransitions, &DOVEREForm::DrawPlanCore};
const RowDrawers kSectionRow = {&DOVEREForm::DrawCoreCrossSection, &DOVEREForm::DrawLxCrossSection,
                                &DOVEREForm::DrawJointCrossSection};

// Each row drawn on its own from the origin given for it, one after another.
void DrawRowsAt(DOVEREForm& f, const std::vector<std::pair<Point, const RowDrawers*>>& rows) {
    for (const auto& [origin, drawers] : rows) {
        glPushMatrix();
        glTranslatef(origin.x, origin.y, 0.0f);
        for (auto draw : *drawers) (f.*draw)();
        glPopMatrix();
    }
}

// The lower corner plate from its inner corner; mirrored, it grows to smaller x.
std::vector<Point> LowerPlate(const TBraceValues& b, Point corner, float x_sign = 1) {
    std::vector<Point> points = {{0, 0},
                                 {0, b.down_L_v},
                                 {b.Gusset_Plate_down_x2, b.Gusset_Plate_down_y2},
                                 {b.Gusset_Plate_down_x1, b.Gusset_Plate_down_y1},
                                 {b.down_L_h, 0}};
    for (Point& p : points) p = {corner.x + x_sign * p.x, corner.y + p.y};
    return points;
}

std::array<float, 16> Modelview() {
    std::array<float, 16> m{};
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
    return m;
}

// The Diagonal bay of the worked examples: down_L_h 300, L_brb 4000, up_L_h 300,
// up_L_v 250, with joints D_j deep and 1.25 D_j wide.
void SetDiagonalExample(TBraceValues& b, float D_j) {
    SetPieces(b, {400, 50, 200, 250, 2200});
    b.down_L_h = 300;
    b.down_L_v = 200;
    b.Gusset_Plate_down_x1 = 300, b.Gusset_Plate_down_y1 = 100;
    b.Gusset_Plate_down_x2 = 120, b.Gusset_Plate_down_y2 = 200;
    b.up_L_h = 300;
    b.up_L_v = 250;
    b.Gusset_Plate_up_x1 = 300, b.Gusset_Plate_up_y1 = 110;
    b.Gusset_Plate_up_x2 = 130, b.Gusset_Plate_up_y2 = 250;
    b.D_j = D_j;
    b.B_j = 1.25f * D_j;
}

// The Chevron bay of the worked example: left D_j 60 and right 50, both down_L_h 250
// and L_brb 3000 in other pieces, Lh_mid 600, into the sides; the members hold the
// middle plate and the right brace's section sizes, as the result reader leaves them.
struct ChevronExample {
    TBraceValues members, left, right;
};

const char* const kChevronSideKeys[] = {"L_wp", "L_brb", "L_w", "L_n", "L_x", "L_t",
                                        "L_c", "D_j", "t", "D_t", "L_sc", "down_L_v",
                                        "down_L_h", "t_sf", "Gusset_Plate_down_x1", "Gusset_Plate_down_x2",
                                        "Gusset_Plate_down_y1", "Gusset_Plate_down_y2"};

ChevronExample SetChevronExample(DOVEREForm& form) {
    TBraceValues& b = form.BraceValues;
    // Widths and section sizes stay as the members hold them, for both braces.
    b.B_j = 70;
    b.Lh_mid = 600;
    b.Lv_mid = 400;
    b.MIDDLE_GUSSET_y1 = 250, b.MIDDLE_GUSSET_x2 = 120, b.MIDDLE_GUSSET_x3 = 130, b.MIDDLE_GUSSET_x4 = 300;
    b.MIDDLE_GUSSET_y4 = 240;
    auto side = [](float D, Pieces pieces, float plate_v, float D_t, float t) {
        TBraceValues s;
        SetPieces(s, pieces);
        s.D_j = D;
        s.down_L_h = 250;
        s.down_L_v = plate_v;
        s.Gusset_Plate_down_x1 = 250, s.Gusset_Plate_down_y1 = plate_v / 2;
        s.Gusset_Plate_down_x2 = 120, s.Gusset_Plate_down_y2 = plate_v;
        s.D_t = D_t;
        s.t = t;
        s.L_wp = 4000 + D;
        s.L_sc = pieces.L_c + 500;
        s.t_sf = D / 5;
        return s;
    };
    const ChevronExample example{b, side(60, {300, 50, 200, 250, 1400}, 200, 100, 5),
                                 side(50, {350, 40, 180, 230, 1400}, 220, 90, 4)};
    for (auto [name, values] : {std::pair{"LEFT", &example.left}, std::pair{"RIGHT", &example.right}})
        for (const char* key : kChevronSideKeys) form.SideValues[name][key] = values->*TBraceValues::Member(key);
    form.SideValues["MIDDLE"]["Lh_mid"] = b.Lh_mid;
    form.SideValues["MIDDLE"]["Lv_mid"] = b.Lv_mid;
    return example;
}

class DetailLayout : public ::testing::Test {
protected:
    void SetUp() override {
        form = env.Create();
        ASSERT_NE(form->DetailRC, nullptr);
        ASSERT_TRUE(form->HaveResult);
    }

    FormEnvironment env;
    DOVEREForm* form = nullptr;
};

TEST_F(DetailLayout, ADiagonalBayPlacesItsRowsAndPlatesByRunningSums) {
    struct Case {
        float D_j;
        Point side, plan, section, lower, upper;
    };
    // down_L_h 300, L_brb 4000, up_L_h 300, up_L_v 250. Below 100 mm the sections
    // stand 4 D_j above the plan row and lift the plates by 2.4 D_j; from 100 on, 1.6 D_j.
    const Case cases[] = {
        {80, {340, 0}, {340, 104}, {340, 424}, {-16, 192}, {4696, 482}},
        {120, {360, 0}, {360, 156}, {360, 348}, {-24, 0}, {4744, 310}},
        {100, {350, 0}, {350, 130}, {350, 290}, {-20, 0}, {4720, 300}},
        {99.9f, {349.95f, 0}, {349.95f, 129.87f}, {349.95f, 529.47f}, {-19.98f, 239.76f}, {4719.88f, 539.71f}},
    };
    TBraceValues& b = form->BraceValues;
    form->ShowLr = false;
    const Recorder recorder(*form, Box{-600, -600, 5400, 1200});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.D_j);
        SetDiagonalExample(b, c.D_j);
        std::array<float, 16> after{};
        const auto items = recorder.Record([&] {
            form->DrawDiagonalDetails();
            after = Modelview();
        });
        EXPECT_TRUE(SamePoints(recorder.Vertices(items, FeedbackKind::Polygon, RgbOf(form->GlPalette.JointColor)),
                               Distinct(JointShapes(b, c.side, c.plan, c.section))));
        // Apart from the plates, exactly the three rows, each whole from its origin.
        const Rgb plate = RgbOf(form->GlPalette.GussetColor);
        const auto rows = recorder.Record([&] {
            DrawRowsAt(*form, {{c.side, &kSideRow}, {c.plan, &kPlanRow}, {c.section, &kSectionRow}});
        });
        EXPECT_TRUE(SameRecord(Without(items, plate), Without(rows, plate)));
        const std::vector<Point> upper = {{c.upper.x, c.upper.y},
                                          {c.upper.x, c.upper.y - b.up_L_v},
                                          {c.upper.x - b.Gusset_Plate_up_x2, c.upper.y - b.Gusset_Plate_up_y2},
                                          {c.upper.x - b.Gusset_Plate_up_x1, c.upper.y - b.Gusset_Plate_up_y1},
                                          {c.upper.x - b.up_L_h, c.upper.y}};
        EXPECT_TRUE(SamePoints(recorder.Vertices(items, FeedbackKind::Polygon, RgbOf(form->GlPalette.GussetColor)),
                               Joined({LowerPlate(b, c.lower), upper})));
        // Nothing was saved at the top: the origin is left at the lower plate's corner.
        EXPECT_NEAR(after[12], c.lower.x, 0.01f);
        EXPECT_NEAR(after[13], c.lower.y, 0.01f);
    }
}

TEST_F(DetailLayout, AChevronBayDrawsEachBraceFromItsOwnSideBetweenTheTwoCornerPlates) {
    view_test::ChooseChevron(form);
    ASSERT_EQ(form->CfgText, "Chevron");
    form->ShowLr = true;  // no L lines in a Chevron detail view all the same
    TBraceValues& b = form->BraceValues;
    const ChevronExample example = SetChevronExample(*form);
    const TBraceValues& before = example.members;
    ASSERT_EQ(example.left.L_brb, 3000);
    ASSERT_EQ(example.right.L_brb, 3000);

    const Recorder recorder(*form, Box{-200, -300, 7800, 500});
    std::array<float, 16> after{};
    const auto items = recorder.Record([&] {
        form->DrawChevronDetails();
        after = Modelview();
    });
    auto with_sections = [&](const TBraceValues& s) {
        TBraceValues v = before;
        for (const char* key : kChevronSideKeys) v.*TBraceValues::Member(key) = s.*TBraceValues::Member(key);
        return v;
    };
    const TBraceValues l = with_sections(example.left), r = with_sections(example.right);
    EXPECT_TRUE(SamePoints(recorder.Vertices(items, FeedbackKind::Polygon, RgbOf(form->GlPalette.JointColor)),
                           Distinct(Joined({JointShapes(l, {370, 0}, {370, 78}, {370, 174}),
                                            JointShapes(r, {4080, 29}, {4080, 94}, {4080, 174})}))));
    const std::vector<Point> middle = Moved({{-300, 0}, {-300, -250}, {-120, -400}, {130, -400}, {300, -240}, {300, 0}},
                                            {3730, 174});
    EXPECT_TRUE(SamePoints(recorder.Vertices(items, FeedbackKind::Polygon, RgbOf(form->GlPalette.GussetColor)),
                           Joined({LowerPlate(l, {60, 0}), middle, LowerPlate(r, {7380, 29}, -1)})));
    // The right plate is drawn mirrored, and the view left so.
    EXPECT_NEAR(after[0], -1.0f, 1e-6f);
    EXPECT_NEAR(after[12], 7380, 0.01f);
    EXPECT_NEAR(after[13], 29, 0.01f);
    // No L lines: only white outlines and the bolts' colour could be lines here.
    for (const TGlColor* colour : {&form->GlPalette.L1LineColor, &form->GlPalette.L2LineColor,
                                   &form->GlPalette.L3LineColor})
        EXPECT_TRUE(recorder.Segments(items, RgbOf(*colour)).empty());

    // The copied members hold the right brace's values; nothing else was touched.
    EXPECT_EQ(0, std::memcmp(&b, &r, sizeof(TBraceValues)));

    // Apart from the plates, exactly each brace's three rows from their origins.
    const Rgb plate = RgbOf(form->GlPalette.GussetColor);
    const auto rows = recorder.Record([&] {
        b = l;
        DrawRowsAt(*form, {{{370, 0}, &kSideRow}, {{370, 78}, &kPlanRow}, {{370, 174}, &kSectionRow}});
        b = r;
        DrawRowsAt(*form, {{{4080, 29}, &kSideRow}, {{4080, 94}, &kPlanRow}, {{4080, 174}, &kSectionRow}});
    });
    EXPECT_TRUE(SameRecord(Without(items, plate), Without(rows, plate)));
}

// The first column from the left of the detail panel's last image that holds a drawn
// pixel, or -1.
int LeftmostDrawnColumn(const DOVEREForm& f) {
    const ui::PixelImage& image = f.OpGLPanel2->Surface();
    const TGlColor& bg = f.GlPalette.BackgroundColor;
    const gl::Rgba background = gl::OpaqueColor(bg.R, bg.G, bg.B);
    for (int x = 0; x < image.width; ++x)
        for (int y = 0; y < image.height; ++y)
            if (gl::PixelAt(image, x, y) != background) return x;
    return -1;
}

TEST_F(DetailLayout, ADiagonalViewIsMovedSidewaysByTheOffsetAndAChevronViewNever) {
    // Diagonal, D_j 80: the box is 5236 mm wide with the origin 238 mm in; the lower
    // plate's corner, the leftmost piece, lies at -0.2 D_j = -16 mm, 222 mm into the box.
    SetDiagonalExample(form->BraceValues, 80);
    form->RedrawViews();
    EXPECT_NEAR(LeftmostDrawnColumn(*form), 222.0 * 779 / 5236, 1.0);

    // Chevron: the box is 8167.5 mm wide, and the Diagonal offset of the members'
    // span 3350 puts x at 2408.75; the left plate's corner lies at D_j = 60 mm from
    // the box's left edge all the same.
    view_test::ChooseChevron(form);
    ASSERT_EQ(form->CfgText, "Chevron");
    SetChevronExample(*form);
    TBraceValues& b = form->BraceValues;
    b.D_j = 50, b.L_brb = 3000, b.down_L_h = 250, b.up_L_h = 0;
    form->RedrawViews();
    EXPECT_NEAR(form->ViewOffset[0], 2408.75, 0.01);
    EXPECT_NEAR(LeftmostDrawnColumn(*form), 60.0 * 779 / 8167.5, 1.0);
}

// Pixels of the L lines' own colours in the detail panel after a redraw.
int LLinePixels(const DOVEREForm& f) {
    int count = 0;
    for (const TGlColor* c : {&f.GlPalette.L1LineColor, &f.GlPalette.L3LineColor})
        count += gl::CountPixels(f.OpGLPanel2->Surface(), gl::OpaqueColor(c->R, c->G, c->B));
    return count;
}

TEST_F(DetailLayout, TheLLinesShowAboutEachWorkPointOfADiagonalViewOnlyWithTheirLayer) {
    ASSERT_TRUE(testing_support::asymmetric_bay::Design(*form));
    ui::PaintForm(form);
    EXPECT_EQ(LLinePixels(*form), 0);
    ui::UserClick(form->Panel_disp_Lr);
    ASSERT_TRUE(form->ShowLr);
    EXPECT_GT(LLinePixels(*form), 20);

    // Exactly: in the elevation's terms about the lower and the upper work point, half
    // the left column (400) and the lower beam (488) beyond the lower plate's inner
    // corner, half the right column (560) and the upper beam (600) beyond the upper's.
    const TBraceValues& b = form->BraceValues;
    ASSERT_GE(b.D_j, 100);
    const Point lower_corner{-0.2f * b.D_j, 0};
    const Point upper_corner{lower_corner.x + 1.4f * b.D_j + b.L_brb + b.up_L_h + b.down_L_h, 0.5f * b.D_j + b.up_L_v};
    const Point low{lower_corner.x - 200, lower_corner.y - 244};
    const Point up{upper_corner.x + 280, upper_corner.y + 300};
    const Recorder recorder(*form, Box{-3000, -3000, 12000, 4000});
    const auto items = recorder.Record([&] { form->DrawDiagonalDetails(); });
    struct Case {
        const TGlColor& colour;
        float lx0, ly0, lx1, ly1, ux0, uy0, ux1, uy1;
    };
    const Case cases[] = {
        {form->GlPalette.L1LineColor, b.L_1_down_x0, b.L_1_down_y0, b.L_1_down_x1, b.L_1_down_y1, b.L_1_up_x0,
         b.L_1_up_y0, b.L_1_up_x1, b.L_1_up_y1},
        {form->GlPalette.L2LineColor, b.L_2_down_x0, b.L_2_down_y0, b.L_2_down_x1, b.L_2_down_y1, b.L_2_up_x0,
         b.L_2_up_y0, b.L_2_up_x1, b.L_2_up_y1},
        {form->GlPalette.L3LineColor, b.L_3_down_x0, b.L_3_down_y0, b.L_3_down_x1, b.L_3_down_y1, b.L_3_up_x0,
         b.L_3_up_y0, b.L_3_up_x1, b.L_3_up_y1},
    };
    for (const Case& c : cases) {
        const auto segments = recorder.Segments(items, RgbOf(c.colour));
        ASSERT_EQ(segments.size(), 2u);
        EXPECT_TRUE(SamePoints({segments[0].first, segments[0].second, segments[1].first, segments[1].second},
                               {{low.x + c.lx0, low.y + c.ly0},
                                {low.x + c.lx1, low.y + c.ly1},
                                {up.x - c.ux0, up.y - c.uy0},
                                {up.x - c.ux1, up.y - c.uy1}},
                               0.05f));
    }
    // The Be lines: grey, with the white dashes over them.
    const auto grey = recorder.Segments(items, {0.5f, 0.5f, 0.5f});
    ASSERT_EQ(grey.size(), 2u);
    EXPECT_TRUE(SamePoints({grey[0].first, grey[0].second, grey[1].first, grey[1].second},
                           {{low.x + b.Be_dw_fx1, low.y + b.Be_dw_fy1},
                            {low.x + b.Be_dw_fx2, low.y + b.Be_dw_fy2},
                            {up.x - b.Be_up_fx1, up.y - b.Be_up_fy1},
                            {up.x - b.Be_up_fx2, up.y - b.Be_up_fy2}},
                           0.05f));

    // A Chevron bay's detail view never shows them.
    view_test::ChooseChevron(form);
    ASSERT_TRUE(form->ShowLr);
    form->RedrawViews();
    EXPECT_EQ(LLinePixels(*form), 0);
    EXPECT_GT(gl::CountPixels(form->OpGLPanel->Surface(), gl::OpaqueColor(0, 0, 1)), 0)
        << "while the elevation still shows them";
}

TEST(DetailView, BeforeAnyResultEveryFormOfTheViewShowsOnlyTheBackground) {
    FormEnvironment env(FormEnvironment::Reach::Unreachable);
    DOVEREForm* form = env.Create();
    ASSERT_FALSE(form->HaveResult);
    form->ShowLr = true;
    const TGlColor& bg = form->GlPalette.BackgroundColor;
    const gl::Rgba background = gl::OpaqueColor(bg.R, bg.G, bg.B);
    // A Chevron bay's sides as a result of zeros would enter them.
    SideValueTable zeros;
    for (const char* side : {"LEFT", "RIGHT"})
        for (const char* key : kChevronSideKeys) zeros[side][key] = 0;
    zeros["MIDDLE"]["Lh_mid"] = zeros["MIDDLE"]["Lv_mid"] = 0;
    for (const char* cfg : {"Diagonal", "Chevron"})
        for (const char* core : {"Cruciform", "Flat"})
            for (const char* casing : {"Circular", "Square"})
                for (const char* ctype : {"Welded", "Bolted"})
                    // Without a result, and then past the check that the held result
                    // suits the bay, as a result whose values are all 0 would leave the
                    // window: the drawers themselves must then draw nothing.
                    for (bool held : {false, true})
                        for (const SideValueTable& sides : {SideValueTable{}, zeros}) {
                            SCOPED_TRACE(std::string(cfg) + " " + core + " " + casing + " " + ctype +
                                         (held ? ", held" : "") + (sides.empty() ? "" : ", zero sides"));
                            form->CfgText = cfg;
                            form->CoreType = core;
                            form->CasingType = casing;
                            form->CtypeText = ctype;
                            form->HaveResult = held;
                            form->ResultCfgText = cfg;
                            form->ResultCtypeText = ctype;
                            form->SideValues = sides;
                            form->RedrawViews();
                            for (TPanel* panel : {form->OpGLPanel2, form->OpGLPanel}) {
                                const ui::PixelImage& image = panel->Surface();
                                EXPECT_EQ(gl::CountPixels(image, background), image.width * image.height)
                                    << panel->Name();
                            }
                            ASSERT_TRUE(wglMakeCurrent(form->DetailDC, form->DetailRC));
                            EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
                        }
}

}  // namespace
