// Exact geometry of the elevation of the asymmetric bay through OpenGL's feedback
// mode: members and plates, stiffeners, the brace's stations, bolts, the mirrored right
// side of a Chevron bay without upper corner plates, and what a redraw names and copies.
#include <gtest/gtest.h>

#include "support/asymmetric_bay.h"
#include "support/form_environment.h"
#include "view_probe.h"

namespace {

using gl::FeedbackKind;
using testing_support::FormEnvironment;
using view_test::FrameProbe;
using view_test::Mirrored;
using view_test::OnBrace;
using view_test::Point;
using view_test::Rgb;
using view_test::RgbOf;
using view_test::SamePoints;

const Rgb kWhite{1, 1, 1};

namespace bay = testing_support::asymmetric_bay;

// A check box set from code without its click, which would run a design.
void SetQuietly(TCheckBox* box, bool checked) {
    const auto click = box->OnClick;
    box->OnClick = nullptr;
    box->SetChecked(checked);
    box->OnClick = click;
}

// A window with the local service's Diagonal result of the asymmetric bay and its
// contexts.
class Elevation : public ::testing::Test {
protected:
    void SetUp() override {
        form = env.Create();
        ASSERT_NE(form->FrameRC, nullptr);
        ASSERT_EQ(form->CfgText, "Diagonal");
        ASSERT_TRUE(bay::Design(*form));
    }

    FrameProbe Probe() const { return FrameProbe(*form, bay::kFrameBox); }
    std::vector<gl::FeedbackItem> Record(const std::function<void()>& draw) { return Probe().Record(*form, draw); }
    std::vector<Point> Polygons(const std::vector<gl::FeedbackItem>& items, const TGlColor& colour) {
        return Probe().Vertices(items, FeedbackKind::Polygon, RgbOf(colour));
    }
    std::vector<Point> Lines(const std::vector<gl::FeedbackItem>& items, Rgb colour) {
        return Probe().Vertices(items, FeedbackKind::Line, colour);
    }
    std::vector<Point> Points(const std::vector<gl::FeedbackItem>& items, Rgb colour) {
        return Probe().Vertices(items, FeedbackKind::Point, colour);
    }

    // The corners of a box.
    static std::vector<Point> Box(float x0, float y0, float x1, float y1) {
        return {{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}};
    }
    static std::vector<Point> Joined(std::vector<Point> a, const std::vector<Point>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }

    FormEnvironment env;
    DOVEREForm* form = nullptr;
};

TEST_F(Elevation, MembersAndCornerPlatesLieOnTheWorkLines) {
    const TBraceValues& b = form->BraceValues;
    const TGlPalette& p = form->GlPalette;
    // Columns 400 and 560 about x 0 and 6000, from under the 488 deep lower beam to the
    // top of the 600 deep upper one; the beams between the column faces 200 and 5720.
    struct Case {
        const char* part;
        void (DOVEREForm::*draw)();
        const TGlColor& colour;
        std::vector<Point> corners;
    };
    const Case cases[] = {
        {"left column", &DOVEREForm::DrawLeftColumn, p.LeftColumnColor, Box(-200, -244, 200, 4100)},
        {"right column", &DOVEREForm::DrawRightColumn, p.RightColumnColor, Box(5720, -244, 6280, 4100)},
        {"lower beam", &DOVEREForm::DrawLowerBeam, p.LowerBeamColor, Box(200, -244, 5720, 244)},
        {"upper beam", &DOVEREForm::DrawUpperBeam, p.UpperBeamColor, Box(200, 3500, 5720, 4100)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.part);
        EXPECT_TRUE(SamePoints(Polygons(Record([&] { (form->*c.draw)(); }), c.colour), c.corners));
    }

    // Both plates from their inner corners (200, 244) and (5720, 3500), the upper one
    // reaching into the bay.
    const float lx = 200, ly = 244, ux = 5720, uy = 3500;
    const std::vector<Point> plates = {
        {lx, ly},
        {lx, ly + b.down_L_v},
        {lx + b.Gusset_Plate_down_x2, ly + b.Gusset_Plate_down_y2},
        {lx + b.Gusset_Plate_down_x1, ly + b.Gusset_Plate_down_y1},
        {lx + b.down_L_h, ly},
        {ux, uy},
        {ux, uy - b.up_L_v},
        {ux - b.Gusset_Plate_up_x2, uy - b.Gusset_Plate_up_y2},
        {ux - b.Gusset_Plate_up_x1, uy - b.Gusset_Plate_up_y1},
        {ux - b.up_L_h, uy},
    };
    EXPECT_TRUE(SamePoints(Polygons(Record([&] { form->DrawGussetPlates(); }), p.GussetColor), plates));
}

TEST_F(Elevation, StiffenersRunAlongTheStraightFreeEdgesFiftyMillimetresShort) {
    TBraceValues& b = form->BraceValues;
    // The service's plates have a level and a plumb free edge each.
    ASSERT_EQ(b.Gusset_Plate_down_y2, b.down_L_v);
    ASSERT_EQ(b.Gusset_Plate_down_x1, b.down_L_h);
    ASSERT_EQ(b.Gusset_Plate_up_y2, b.up_L_v);
    ASSERT_EQ(b.Gusset_Plate_up_x1, b.up_L_h);
    const float t = b.t_sf;
    const float top = b.Gusset_Plate_down_x2 - 50, right = b.Gusset_Plate_down_y1 - 50;
    const float under = b.Gusset_Plate_up_x2 - 50, left = b.Gusset_Plate_up_y1 - 50;
    // From the inner corners (200, 244) and (5720, 3500). Level ones lie just beyond
    // their edge, plumb ones are centred on it.
    const float lx = 200, ly = 244, ux = 5720, uy = 3500;
    const std::vector<Point> plates = Joined(
        Joined(Box(lx, ly + b.down_L_v + t / 2, lx + top, ly + b.down_L_v + 1.5f * t),
               Box(lx + b.down_L_h - t / 2, ly, lx + b.down_L_h + t / 2, ly + right)),
        Joined(Box(ux - under, uy - b.up_L_v - 1.5f * t, ux, uy - b.up_L_v - t / 2),
               Box(ux - b.up_L_h - t / 2, uy - left, ux - b.up_L_h + t / 2, uy)));
    const std::vector<Point> lines = {
        {lx, ly + b.down_L_v + t / 2},        {lx + top, ly + b.down_L_v + t / 2},
        {lx + b.down_L_h + t / 2, ly},        {lx + b.down_L_h + t / 2, ly + right},
        {ux, uy - b.up_L_v - t / 2},          {ux - under, uy - b.up_L_v - t / 2},
        {ux - b.up_L_h - t / 2, uy},          {ux - b.up_L_h - t / 2, uy - left},
    };
    const auto items = Record([&] { form->DrawGussetStiffeners(); });
    EXPECT_TRUE(SamePoints(Polygons(items, form->GlPalette.StiffenerColor), plates));
    EXPECT_TRUE(SamePoints(Lines(items, RgbOf(form->GlPalette.StiffenerColor)), lines));
    GLfloat width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(width, 2.0f);
}

TEST_F(Elevation, AStiffenerThatWouldBeNoLongerThanNothingIsNotDrawnAndNoNumberGoesAstray) {
    TBraceValues& b = form->BraceValues;
    // The upper corner on the column face: its edge's slope would divide by zero.
    b.Gusset_Plate_up_x2 = 0;
    // A plumb lower edge shorter than the 50 mm the stiffener stops short of.
    b.Gusset_Plate_down_y1 = 40;
    const auto items = Record([&] { form->DrawGussetStiffeners(); });
    for (const gl::FeedbackItem& item : items)
        for (const gl::FeedbackVertex& v : item.vertices) ASSERT_TRUE(std::isfinite(v.x) && std::isfinite(v.y));
    // What is left: the lower plate's level edge and the upper plate's plumb one.
    EXPECT_EQ(Polygons(items, form->GlPalette.StiffenerColor).size(), 8u);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Elevation, TheBracePiecesFollowEachOtherAlongItsAxis) {
    TBraceValues& b = form->BraceValues;
    const TGlPalette& p = form->GlPalette;
    const float s0 = b.Shrink_Ratio_DOWN * b.L_wp;
    const float lx = s0 + b.L_w + b.L_n;
    const float tr = lx + b.L_x;
    const float core = tr + b.L_t;
    const float tr2 = core + b.L_c;
    const float lx2 = tr2 + b.L_t;
    const float ln2 = lx2 + b.L_x;
    const float joint2 = ln2 + b.L_n;
    auto on = [&](std::vector<std::pair<float, float>> local) {
        std::vector<Point> points;
        for (auto [along, across] : local) points.push_back(OnBrace(b.tan_phi, along, across));
        return points;
    };
    auto segment = [&](float x0, float len, float a, float c) {
        return on({{x0, -a / 2}, {x0, a / 2}, {x0 + len, c / 2}, {x0 + len, -c / 2}});
    };
    const float dj = b.D_j, dc = b.D_c, tj = b.t_j;
    struct Case {
        const char* piece;
        const TGlColor& colour;
        std::vector<Point> corners;
    };
    const Case cases[] = {
        {"core", p.CoreColor, segment(core, b.L_c, dc, dc)},
        {"transitions", p.TransitionColor, Joined(segment(tr, b.L_t, dj, dc), segment(tr2, b.L_t, dc, dj))},
        {"L_x", p.LxColor, Joined(segment(lx, b.L_x, dj, dj), segment(lx2, b.L_x, dj, dj))},
        {"L_n", p.LnColor, Joined(segment(s0 + b.L_w, b.L_n, dj, dj), segment(ln2, b.L_n, dj, dj))},
        // A welded joint fills from -t_j/2 up to D_j/2.
        {"joints", p.JointColor,
         Joined(on({{s0, -tj / 2}, {s0, dj / 2}, {s0 + b.L_w, dj / 2}, {s0 + b.L_w, -tj / 2}}),
                on({{joint2, -tj / 2}, {joint2, dj / 2}, {joint2 + b.L_w, dj / 2}, {joint2 + b.L_w, -tj / 2}}))},
        {"casing and its walls", p.CasingColor,
         Joined(segment(lx, b.L_sc, b.D_t, b.D_t),
                on({{lx, -b.D_t / 2 + b.t}, {lx + b.L_sc, -b.D_t / 2 + b.t}, {lx, b.D_t / 2 - b.t},
                    {lx + b.L_sc, b.D_t / 2 - b.t}}))},
    };
    const auto items = Record([&] { form->DrawBrb(); });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.piece);
        EXPECT_TRUE(SamePoints(Polygons(items, c.colour), c.corners));
    }
    // The dashed outline of a welded joint runs from -D_j/2 up to t_j/2.
    EXPECT_TRUE(SamePoints(Lines(items, kWhite),
                           Joined(on({{s0, tj / 2}, {s0, -dj / 2}, {s0 + b.L_w, -dj / 2}, {s0 + b.L_w, tj / 2}}),
                                  on({{joint2, tj / 2}, {joint2, -dj / 2}, {joint2 + b.L_w, -dj / 2},
                                      {joint2 + b.L_w, tj / 2}}))));
    // Welded joints have no bolts.
    EXPECT_TRUE(Points(items, {1, 1, 0}).empty());

    // Nothing at all without the brace layer.
    form->ShowBRB = false;
    EXPECT_TRUE(Record([&] { form->DrawBrb(); }).empty());
}

TEST_F(Elevation, ABoltedJointShowsItsBoltsInTwoRowsAndItsOwnShapes) {
    TBraceValues& b = form->BraceValues;
    form->CtypeText = "Bolted";
    form->BoltedValues.n = 4;
    form->BoltedValues.el = 50;
    form->BoltedValues.s = 70;
    form->BoltedValues.et = 40;
    b.t_c = 20;
    const float s0 = b.Shrink_Ratio_DOWN * b.L_wp;
    const float upper = s0 + b.L_w + b.L_n + b.L_x + b.L_t + b.L_c + b.L_t + b.L_x + b.L_n;
    auto bolts = [&](float y_odd) {
        std::vector<Point> points;
        for (auto [x, y] : std::vector<std::pair<float, float>>{{50, 50}, {120, y_odd}})
            for (float sign : {1.0f, -1.0f}) {
                points.push_back(OnBrace(b.tan_phi, s0 + x, sign * y));
                points.push_back(OnBrace(b.tan_phi, upper + b.L_w - x, sign * y));
            }
        return points;
    };
    const Rgb yellow{1, 1, 0};

    SetQuietly(form->CheckBox_Staggered, false);
    auto items = Record([&] { form->DrawBrb(); });
    EXPECT_TRUE(SamePoints(Points(items, yellow), bolts(50)));
    // The joint fills its whole depth; the dashed outline is the core plate's t_c.
    const float dj = b.D_j;
    auto box = [&](float x0, float half) {
        return std::vector<Point>{OnBrace(b.tan_phi, x0, -half), OnBrace(b.tan_phi, x0, half),
                                  OnBrace(b.tan_phi, x0 + b.L_w, half), OnBrace(b.tan_phi, x0 + b.L_w, -half)};
    };
    EXPECT_TRUE(SamePoints(Polygons(items, form->GlPalette.JointColor), Joined(box(s0, dj / 2), box(upper, dj / 2))));
    EXPECT_TRUE(SamePoints(Lines(items, kWhite), Joined(box(s0, 10), box(upper, 10))));

    SetQuietly(form->CheckBox_Staggered, true);
    items = Record([&] { form->DrawBrb(); });
    EXPECT_TRUE(SamePoints(Points(items, yellow), bolts(120)));
    EXPECT_FALSE(glIsEnabled(GL_POINT_SMOOTH));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

// A Chevron bay whose two sides differ in every value the elevation copies.
class ChevronElevation : public Elevation {
protected:
    void SetUp() override {
        Elevation::SetUp();
        view_test::ChooseChevron(form);
        ASSERT_EQ(form->CfgText, "Chevron");
        std::map<std::string, float>& left = form->SideValues["LEFT"];
        std::map<std::string, float>& right = form->SideValues["RIGHT"];
        ASSERT_EQ(left["d_c_left"], bay::kLeftColumn);
        ASSERT_EQ(right["d_c_right"], bay::kRightColumn);
        // The right side's plate and brace become those of a shallower, longer one.
        right["down_L_h"] = left["down_L_h"] + 120;
        right["Gusset_Plate_down_x1"] = right["down_L_h"];
        right["Gusset_Plate_down_x2"] = left["Gusset_Plate_down_x2"] + 60;
        right["tan_phi"] = left["tan_phi"] * 0.9f;
        right["D_j"] = left["D_j"] - 40;
        right["L_c"] = left["L_c"] + 200;
        // And a wider, thicker, longer casing and thicker stiffeners.
        right["D_t"] = left["D_t"] + 30;
        right["t"] = left["t"] + 3;
        right["L_sc"] = left["L_sc"] + 150;
        right["t_sf"] = left["t_sf"] + 6;
    }
};

TEST_F(ChevronElevation, TheRightSideIsTheLeftDrawingMirroredFromTheRightValues) {
    form->ShowFrame = form->ShowRL = form->ShowBRB = false;
    const float L = form->FrameValues.L_beam;
    const auto items = Record([&] { form->DrawFrameView(); });
    // Corner plates: the right one starts at its inner corner and grows to smaller x.
    auto plate = [&](std::map<std::string, float>& side, float column) {
        const float x = column / 2, y = form->FrameValues.d_b_down / 2;
        return std::vector<Point>{{x, y},
                                  {x, y + side["down_L_v"]},
                                  {x + side["Gusset_Plate_down_x2"], y + side["Gusset_Plate_down_y2"]},
                                  {x + side["Gusset_Plate_down_x1"], y + side["Gusset_Plate_down_y1"]},
                                  {x + side["down_L_h"], y}};
    };
    std::map<std::string, float>& left = form->SideValues["LEFT"];
    std::map<std::string, float>& right = form->SideValues["RIGHT"];
    std::vector<Point> corners = plate(left, left["d_c_left"]);
    for (Point p : plate(right, right["d_c_right"])) corners.push_back(Mirrored(p, L));
    // The middle plate is drawn once per side, the second time mirrored onto itself.
    const TBraceValues& b = form->BraceValues;
    const float mid = L / 2, hang = form->FrameValues.H_col - form->FrameValues.d_b_up / 2;
    for (Point p : std::vector<Point>{{mid - b.Lh_mid / 2, hang},
                                      {mid - b.Lh_mid / 2, hang - b.MIDDLE_GUSSET_y1},
                                      {mid - b.MIDDLE_GUSSET_x2, hang - b.Lv_mid},
                                      {mid + b.MIDDLE_GUSSET_x3, hang - b.Lv_mid},
                                      {mid + b.MIDDLE_GUSSET_x4, hang - b.MIDDLE_GUSSET_y4},
                                      {mid + b.MIDDLE_GUSSET_x4, hang}}) {
        // A symmetric plate's mirror image falls on its own corners.
        for (Point q : {p, Mirrored(p, L)})
            if (std::none_of(corners.begin(), corners.end(), [&](Point c) {
                    return std::fabs(c.x - q.x) < 0.01f && std::fabs(c.y - q.y) < 0.01f;
                }))
                corners.push_back(q);
    }
    EXPECT_TRUE(SamePoints(Polygons(items, form->GlPalette.GussetColor), corners));

    // The braces: each core from its own side's stations and angle.
    form->ShowGusset = false;
    form->ShowBRB = true;
    auto core = [&](std::map<std::string, float>& side) {
        const float start = side["Shrink_Ratio_DOWN"] * side["L_wp"] + side["L_w"] + side["L_n"] + side["L_x"] +
                            side["L_t"];
        const float half = form->BraceValues.D_c / 2;  // not copied per side
        return std::vector<Point>{OnBrace(side["tan_phi"], start, -half), OnBrace(side["tan_phi"], start, half),
                                  OnBrace(side["tan_phi"], start + side["L_c"], half),
                                  OnBrace(side["tan_phi"], start + side["L_c"], -half)};
    };
    std::vector<Point> cores = core(left);
    for (Point p : core(right)) cores.push_back(Mirrored(p, L));
    EXPECT_TRUE(SamePoints(Polygons(Record([&] { form->DrawFrameView(); }), form->GlPalette.CoreColor), cores));
}

TEST_F(ChevronElevation, EachBraceHasItsOwnCasingAndEachCornerPlateItsOwnStiffeners) {
    std::map<std::string, float>& left = form->SideValues["LEFT"];
    std::map<std::string, float>& right = form->SideValues["RIGHT"];
    const float L = form->FrameValues.L_beam;
    using Side = std::map<std::string, float>;

    // The casing from the end of L_n, its outer box and the inner faces of its walls.
    form->ShowFrame = form->ShowRL = form->ShowGusset = false;
    auto casing = [&](Side& side) {
        const float from = side["Shrink_Ratio_DOWN"] * side["L_wp"] + side["L_w"] + side["L_n"];
        const float to = from + side["L_sc"], half = side["D_t"] / 2, inner = half - side["t"];
        std::vector<Point> points;
        for (float y : {-half, half, -inner, inner})
            for (float x : {from, to}) points.push_back(OnBrace(side["tan_phi"], x, y));
        return points;
    };
    std::vector<Point> casings = casing(left);
    for (Point p : casing(right)) casings.push_back(Mirrored(p, L));
    EXPECT_TRUE(SamePoints(Polygons(Record([&] { form->DrawFrameView(); }), form->GlPalette.CasingColor), casings));

    // The lower corner plates' stiffeners, each as thick as its own side's t_sf, along
    // the level and the plumb free edge that each plate has.
    form->ShowBRB = false;
    form->ShowGusset = true;
    SetQuietly(form->CheckBox_Stiffener, true);
    auto stiffeners = [&](Side& side, float column) {
        EXPECT_EQ(side["Gusset_Plate_down_y2"], side["down_L_v"]);
        EXPECT_EQ(side["Gusset_Plate_down_x1"], side["down_L_h"]);
        const float x = column / 2, y = form->FrameValues.d_b_down / 2, t = side["t_sf"];
        return Joined(Box(x, y + side["down_L_v"] + t / 2, x + side["Gusset_Plate_down_x2"] - 50,
                          y + side["down_L_v"] + 1.5f * t),
                      Box(x + side["down_L_h"] - t / 2, y, x + side["down_L_h"] + t / 2,
                          y + side["Gusset_Plate_down_y1"] - 50));
    };
    std::vector<Point> plates = stiffeners(left, left["d_c_left"]);
    for (Point p : stiffeners(right, right["d_c_right"])) plates.push_back(Mirrored(p, L));
    // (The middle plate's own stiffener stands at mid-span.)
    std::vector<Point> corners;
    for (Point p : Polygons(Record([&] { form->DrawFrameView(); }), form->GlPalette.StiffenerColor))
        if (std::fabs(p.x - L / 2) > 500) corners.push_back(p);
    EXPECT_TRUE(SamePoints(corners, plates));
}

TEST_F(ChevronElevation, HasNoUpperCornerPlatesNorTheirStiffeners) {
    // Upper plate values with a level and a plumb free edge, as a Diagonal result would
    // leave them: drawn, the plates would bring their stiffeners along.
    TBraceValues& b = form->BraceValues;
    b.up_L_h = 700, b.up_L_v = 600;
    b.Gusset_Plate_up_x1 = 700, b.Gusset_Plate_up_y1 = 300;
    b.Gusset_Plate_up_x2 = 400, b.Gusset_Plate_up_y2 = 600;
    SetQuietly(form->CheckBox_Stiffener, true);
    form->ShowFrame = form->ShowRL = form->ShowBRB = false;
    // Under the upper beam (3500) by a plate's leg and a stiffener, beside either
    // column face (200, 5720) by the other leg and a stiffener.
    const float reach = 2 * std::max(b.t_sf, form->SideValues["RIGHT"]["t_sf"]) + 1;
    auto at_upper_corner = [&](Point p) {
        return p.y > 3500 - 600 - reach && p.y < 3500 + 1 &&
               ((p.x > 200 - 1 && p.x < 900 + reach) || (p.x > 5020 - reach && p.x < 5720 + 1));
    };
    auto count = [&](const std::vector<gl::FeedbackItem>& items) {
        int n = 0;
        for (const std::vector<Point>& points :
             {Polygons(items, form->GlPalette.GussetColor), Polygons(items, form->GlPalette.StiffenerColor),
              Lines(items, RgbOf(form->GlPalette.StiffenerColor))})
            n += static_cast<int>(std::count_if(points.begin(), points.end(), at_upper_corner));
        return n;
    };
    // The same values in a Diagonal bay put a plate and two stiffeners there.
    form->CfgText = "Diagonal";
    EXPECT_GE(count(Record([&] { form->DrawFrameView(); })), 5 + 8);
    form->CfgText = "Chevron";
    EXPECT_EQ(count(Record([&] { form->DrawFrameView(); })), 0);
}

TEST_F(ChevronElevation, ARedrawLeavesTheRightSideInTheMembersAndTheLeftColumnDepth) {
    form->ShowLr = true;
    std::map<std::string, float>& left = form->SideValues["LEFT"];
    std::map<std::string, float>& right = form->SideValues["RIGHT"];
    left["d_c_left"] = 480;
    right["Be_dw_fx1"] = left["Be_dw_fx1"] + 7;
    right["L_3_up_y1"] = left["L_3_up_y1"] + 9;
    form->RedrawViews();
    EXPECT_EQ(form->FrameValues.d_c_left, 480.0f);
    for (const char* key : {"down_L_v", "down_L_h", "t_sf", "Gusset_Plate_down_x1", "Gusset_Plate_down_x2",
                            "Gusset_Plate_down_y1", "Gusset_Plate_down_y2", "tan_phi", "Shrink_Ratio_DOWN",
                            "L_wp", "L_brb", "L_w", "L_n", "L_x", "L_t", "L_c", "D_j", "t", "D_t", "L_sc",
                            "Be_dw_fx1", "L_3_up_y1"})
        EXPECT_EQ(form->BraceValues.*TBraceValues::Member(key), right[key]) << key;

    // With every layer off the elevation copies only the braces' values (the detail
    // view, drawn after it in a redraw, copies the plate's legs of its own).
    form->ShowFrame = form->ShowRL = form->ShowBRB = form->ShowGusset = form->ShowLr = false;
    form->FrameValues.d_c_left = 333;
    form->BraceValues.down_L_h = 444;
    form->BraceValues.L_c = 555;
    ASSERT_TRUE(wglMakeCurrent(form->FrameDC, form->FrameRC));
    form->DrawFrameView();
    EXPECT_EQ(form->FrameValues.d_c_left, 333.0f);
    EXPECT_EQ(form->BraceValues.down_L_h, 444.0f);
    EXPECT_EQ(form->BraceValues.L_c, right["L_c"]);
}

TEST_F(ChevronElevation, TheMiddlePlateKeepsItsStiffenersWithoutTheStiffenerOption) {
    TBraceValues& b = form->BraceValues;
    b.Lsf_mid = b.Lv_mid / 2;  // the two-stiffener form
    form->ShowFrame = form->ShowRL = form->ShowBRB = false;
    SetQuietly(form->CheckBox_Stiffener, false);
    form->RedrawViews();  // the per-side copies, then record what a redraw draws
    const auto items = Record([&] { form->DrawFrameView(); });
    // Two lines, drawn once per side (the second mirrored onto the first); no plates.
    const float L = form->FrameValues.L_beam, mid = L / 2;
    const float top = form->FrameValues.H_col - form->FrameValues.d_b_up / 2, bottom = top - b.Lv_mid;
    EXPECT_TRUE(SamePoints(Lines(items, RgbOf(form->GlPalette.StiffenerColor)),
                           {{mid - b.Lsf_mid / 2, top}, {mid - b.Lsf_mid / 2, bottom}, {mid + b.Lsf_mid / 2, top},
                            {mid + b.Lsf_mid / 2, bottom}}));
    EXPECT_TRUE(Polygons(items, form->GlPalette.StiffenerColor).empty());

    // With it, the corner plates get theirs; the single middle stiffener gets a plate.
    SetQuietly(form->CheckBox_Stiffener, true);
    b.Lsf_mid = b.Lv_mid / 2 - 1;
    EXPECT_FALSE(Polygons(Record([&] { form->DrawFrameView(); }), form->GlPalette.StiffenerColor).empty());
}

// ---- Reference lines: outline, work lines, clear distances, Be and L_1 to L_3 ----

using view_test::Segment;
using view_test::SameSegments;

// The keys of the Be line and the three L lines of one plate, each line as x0, y0,
// x1, y1: Be, L_1, L_2, L_3.
const char* const kLowerLineKeys[] = {
    "Be_dw_fx1",   "Be_dw_fy1",   "Be_dw_fx2",   "Be_dw_fy2",   "L_1_down_x0", "L_1_down_y0",
    "L_1_down_x1", "L_1_down_y1", "L_2_down_x0", "L_2_down_y0", "L_2_down_x1", "L_2_down_y1",
    "L_3_down_x0", "L_3_down_y0", "L_3_down_x1", "L_3_down_y1"};
const char* const kUpperLineKeys[] = {
    "Be_up_fx1", "Be_up_fy1", "Be_up_fx2", "Be_up_fy2", "L_1_up_x0", "L_1_up_y0", "L_1_up_x1", "L_1_up_y1",
    "L_2_up_x0", "L_2_up_y0", "L_2_up_x1", "L_2_up_y1", "L_3_up_x0", "L_3_up_y0", "L_3_up_x1", "L_3_up_y1"};

// Sixteen distinct values from base, one per key, so no two lines share an end.
std::vector<float> LineValues(float base) {
    std::vector<float> v;
    for (int i = 0; i < 16; ++i) v.push_back(base + 19.0f * i);
    return v;
}

// Line n (0 Be, 1 L_1, 2 L_2, 3 L_3) of a plate's values, placed by `at`.
Segment PlateLine(const std::vector<float>& v, int n, const std::function<Point(float, float)>& at) {
    return {at(v[4 * n], v[4 * n + 1]), at(v[4 * n + 2], v[4 * n + 3])};
}

// The lines of the centre-line and L layers by colour, written out: the centre lines
// white, their dashes magenta, the work lines' dashes pink; Be grey under white
// dashes, L_1 blue, L_2 yellow, L_3 magenta.
struct ReferenceLines {
    std::vector<Segment> white, magenta, pink, grey, blue, yellow;
};

void ExpectReferenceLines(const DOVEREForm& form, const std::vector<gl::FeedbackItem>& items,
                          const ReferenceLines& lines) {
    const std::pair<Rgb, const std::vector<Segment>*> colours[] = {
        {kWhite, &lines.white}, {{1, 0, 1}, &lines.magenta}, {{1, 0.5f, 1}, &lines.pink},
        {{0.5f, 0.5f, 0.5f}, &lines.grey}, {{0, 0, 1}, &lines.blue}, {{1, 1, 0}, &lines.yellow},
    };
    for (const auto& [colour, segments] : colours) {
        SCOPED_TRACE(::testing::Message() << "colour " << colour.r << " " << colour.g << " " << colour.b);
        EXPECT_TRUE(SameSegments(FrameProbe(form, bay::kFrameBox).Segments(items, colour), *segments));
    }
}

// The outline and the five clear-distance lines of the asymmetric bay: x 200 and 5720
// are the column faces, y 244 and 3500 the beam faces.
std::vector<Segment> OutlineAndClearDistances() {
    const float L = 6000, H = 3800;
    return {
        {{0, 0}, {0, H}},
        {{L, 0}, {L, H}},
        {{0, H}, {L, H}},
        {{0, 0}, {L, 0}},
        {{280, 244}, {280, 3500}},    // left: face + 80
        {{5610, 244}, {5610, 3500}},  // right: face - 110
        {{200, 3405}, {5720, 3405}},  // upper: beam face - 95, below the beam
        {{200, 384}, {5720, 384}},    // slab top: face + 140
        {{200, 444}, {5720, 444}},    // lower: slab + 60
    };
}

TEST_F(Elevation, ReferenceLinesOfADiagonalBayLieWhereTheirValuesPutThem) {
    const std::vector<float> lower = LineValues(100), upper = LineValues(110);
    for (int i = 0; i < 16; ++i) {
        form->BraceValues.*TBraceValues::Member(kLowerLineKeys[i]) = lower[i];
        form->BraceValues.*TBraceValues::Member(kUpperLineKeys[i]) = upper[i];
    }
    form->ShowFrame = form->ShowBRB = form->ShowGusset = false;
    form->ShowLr = true;
    const auto items = Record([&] { form->DrawFrameView(); });
    const float L = 6000, H = 3800;

    // Lower lines from the lower work point; upper ones negated from (L, H).
    auto low = [](float x, float y) { return Point{x, y}; };
    auto up = [&](float x, float y) { return Point{L - x, H - y}; };
    const Segment work{{0, 0}, {L, H}};
    const Segment be_low = PlateLine(lower, 0, low), be_up = PlateLine(upper, 0, up);
    std::vector<Segment> magenta = OutlineAndClearDistances();
    magenta.push_back(PlateLine(lower, 3, low));
    magenta.push_back(PlateLine(upper, 3, up));
    const std::vector<Segment> white = {{{0, 0}, {0, H}}, {{0, H}, {L, H}}, {{L, H}, {L, 0}}, {{L, 0}, {0, 0}},
                                        work, be_low, be_up};
    ExpectReferenceLines(*form, items,
                         {white, magenta, {work}, {be_low, be_up}, {PlateLine(lower, 1, low), PlateLine(upper, 1, up)},
                          {PlateLine(lower, 2, low), PlateLine(upper, 2, up)}});
}

TEST_F(Elevation, ReferenceLinesOfAnAsymmetricChevronBayFollowEachSide) {
    view_test::ChooseChevron(form);
    ASSERT_EQ(form->CfgText, "Chevron");
    // Each side's plates have lines of their own.
    const std::vector<float> left_lower = LineValues(100), left_upper = LineValues(110);
    const std::vector<float> right_lower = LineValues(140), right_upper = LineValues(160);
    for (int i = 0; i < 16; ++i) {
        form->SideValues["LEFT"][kLowerLineKeys[i]] = left_lower[i];
        form->SideValues["LEFT"][kUpperLineKeys[i]] = left_upper[i];
        form->SideValues["RIGHT"][kLowerLineKeys[i]] = right_lower[i];
        form->SideValues["RIGHT"][kUpperLineKeys[i]] = right_upper[i];
    }
    form->ShowFrame = form->ShowBRB = form->ShowGusset = false;
    form->ShowLr = true;
    const auto items = Record([&] { form->DrawFrameView(); });
    const float L = 6000, H = 3800;

    // The left side's lower lines from (0, 0), its upper ones negated from (L/2, H);
    // the right side's are the same drawings mirrored about x = L/2.
    auto left_low = [](float x, float y) { return Point{x, y}; };
    auto left_up = [&](float x, float y) { return Point{L / 2 - x, H - y}; };
    auto right_low = [&](float x, float y) { return Point{L - x, y}; };
    auto right_up = [&](float x, float y) { return Point{L / 2 + x, H - y}; };
    auto lines = [&](int n) {
        return std::vector<Segment>{PlateLine(left_lower, n, left_low), PlateLine(left_upper, n, left_up),
                                    PlateLine(right_lower, n, right_low), PlateLine(right_upper, n, right_up)};
    };
    // Both work lines, drawn once more under the mirror onto themselves.
    const std::vector<Segment> work = {{{0, 0}, {L / 2, H}}, {{L / 2, H}, {L, 0}},
                                       {{0, 0}, {L / 2, H}}, {{L / 2, H}, {L, 0}}};
    std::vector<Segment> white = {{{0, 0}, {0, H}}, {{0, H}, {L, H}}, {{L, H}, {L, 0}}, {{L, 0}, {0, 0}}};
    white.insert(white.end(), work.begin(), work.end());
    for (const Segment& be : lines(0)) white.push_back(be);
    std::vector<Segment> magenta = OutlineAndClearDistances();
    for (const Segment& l3 : lines(3)) magenta.push_back(l3);
    ExpectReferenceLines(*form, items, {white, magenta, work, lines(0), lines(1), lines(2)});
}

TEST_F(Elevation, EachDrawerLeavesBlendingAndStippleOffAndTheMatrixStackAsItFoundIt) {
    form->ShowLr = true;
    form->CtypeText = "Bolted";
    form->BoltedValues.n = 4;
    using Drawer = void (DOVEREForm::*)();
    const std::pair<const char*, Drawer> drawers[] = {
        {"DrawBayOutline", &DOVEREForm::DrawBayOutline},
        {"DrawLeftColumn", &DOVEREForm::DrawLeftColumn},
        {"DrawRightColumn", &DOVEREForm::DrawRightColumn},
        {"DrawLowerBeam", &DOVEREForm::DrawLowerBeam},
        {"DrawUpperBeam", &DOVEREForm::DrawUpperBeam},
        {"DrawBraceWorkLines", &DOVEREForm::DrawBraceWorkLines},
        {"DrawGussetPlates", &DOVEREForm::DrawGussetPlates},
        {"DrawGussetStiffeners", &DOVEREForm::DrawGussetStiffeners},
        {"DrawClearDistanceLines", &DOVEREForm::DrawClearDistanceLines},
        {"DrawLowerBeLine", &DOVEREForm::DrawLowerBeLine},
        {"DrawUpperBeLine", &DOVEREForm::DrawUpperBeLine},
        {"DrawLowerBucklingLines", &DOVEREForm::DrawLowerBucklingLines},
        {"DrawUpperBucklingLines", &DOVEREForm::DrawUpperBucklingLines},
        {"DrawBrbLxSegments", &DOVEREForm::DrawBrbLxSegments},
        {"DrawBrbLnSegments", &DOVEREForm::DrawBrbLnSegments},
        {"DrawBrbJointPlates", &DOVEREForm::DrawBrbJointPlates},
        {"DrawBrbBolts", &DOVEREForm::DrawBrbBolts},
        {"DrawBrbTransitions", &DOVEREForm::DrawBrbTransitions},
        {"DrawBrbCore", &DOVEREForm::DrawBrbCore},
        {"DrawBrbCasing", &DOVEREForm::DrawBrbCasing},
        {"DrawFrameView", &DOVEREForm::DrawFrameView},
    };
    for (const char* cfg : {"Diagonal", "Chevron"}) {
        form->CfgText = cfg;
        for (const auto& [name, draw] : drawers) {
            SCOPED_TRACE(std::string(cfg) + " " + name);
            ASSERT_TRUE(wglMakeCurrent(form->FrameDC, form->FrameRC));
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
            GLfloat before[16], after[16];
            glGetFloatv(GL_MODELVIEW_MATRIX, before);
            (form->*draw)();
            glGetFloatv(GL_MODELVIEW_MATRIX, after);
            GLint depth = 0;
            glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
            EXPECT_EQ(depth, 1);
            EXPECT_TRUE(std::equal(before, before + 16, after));
            EXPECT_FALSE(glIsEnabled(GL_BLEND));
            EXPECT_FALSE(glIsEnabled(GL_LINE_STIPPLE));
            EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        }
    }
}

TEST_F(Elevation, PartsAreNamedInDrawingOrderAndOnlyForLayersThatRan) {
    using Names = PickNameMap;
    const Names diagonal_all = {{1, "Left Column"}, {2, "Right Column"},    {3, "Lower Beam"},
                                {4, "Upper Beam"},  {5, "Gusset"},          {6, "ROR-ERE"},
                                {7, "Be & Lr (Lower)"}, {8, "Be & Lr (Upper)"}};
    auto redraw = [&](bool frame, bool rl, bool brb, bool gusset, bool lr) {
        form->ShowFrame = frame;
        form->ShowRL = rl;
        form->ShowBRB = brb;
        form->ShowGusset = gusset;
        form->ShowLr = lr;
        form->RedrawViews();
        EXPECT_EQ(form->PickCount, static_cast<std::int32_t>(form->PickNames.size()));
        return form->PickNames;
    };
    EXPECT_EQ(redraw(true, true, true, true, true), diagonal_all);
    Names defaults = diagonal_all;
    defaults.erase(7);
    defaults.erase(8);
    EXPECT_EQ(redraw(true, true, true, true, false), defaults);
    EXPECT_EQ(redraw(false, false, false, false, false), (Names{{1, "ROR-ERE"}}));
    EXPECT_EQ(redraw(false, true, false, true, false), (Names{{1, "Gusset"}, {2, "ROR-ERE"}}));

    view_test::ChooseChevron(form);
    const Names chevron_all = {{1, "Left Column"},      {2, "Right Column"},     {3, "Lower Beam"},
                               {4, "Upper Beam"},       {5, "Gusset"},           {6, "Gusset"},
                               {7, "ROR-ERE(Left)"},    {8, "ROR-ERE(Right)"},   {9, "Be & Lr (Lower)"},
                               {10, "Be & Lr (Upper)"}, {11, "Be & Lr (Lower)"}, {12, "Be & Lr (Upper)"}};
    EXPECT_EQ(redraw(true, true, true, true, true), chevron_all);
    EXPECT_EQ(redraw(true, true, true, true, false).size(), 8u);
    EXPECT_EQ(redraw(false, false, false, false, false), (Names{{1, "ROR-ERE(Left)"}, {2, "ROR-ERE(Right)"}}));
}

}  // namespace
