// The rows of the detail view, piece by piece, through feedback mode at the row's
// origin: fills and white lines of the side and plan pieces for each core and
// connection, the three transition forms, bolts, the slot, the sections with their
// casings; the dashed band as pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <sstream>
#include <string>

#include "detail_probe.h"
#include "detail_shapes.h"
#include "support/form_environment.h"

namespace {

using detail_test::Box;
using detail_test::Corners;
using detail_test::Distinct;
using detail_test::Joined;
using detail_test::Moved;
using detail_test::Recorder;
using detail_test::SetPieces;
using gl::FeedbackKind;
using testing_support::FormEnvironment;
using view_test::Point;
using view_test::Rgb;
using view_test::RgbOf;
using view_test::SamePoints;

using view_test::SameSegments;
using view_test::Segment;
const Rgb kWhite{1, 1, 1};

bool Close(Point a, Point b, float tolerance) {
    return std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance;
}

std::vector<Segment> Joined(std::vector<std::vector<Segment>> parts) {
    std::vector<Segment> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

Segment Seg(float x0, float y0, float x1, float y1) { return {{x0, y0}, {x1, y1}}; }
// Lines at y = h and y = -h from x0 to x1.
std::vector<Segment> Edges(float x0, float x1, float h) { return {Seg(x0, h, x1, h), Seg(x0, -h, x1, -h)}; }
// The four sides of a box.
std::vector<Segment> Outline(float x0, float y0, float x1, float y1) {
    return {Seg(x0, y0, x0, y1), Seg(x0, y1, x1, y1), Seg(x1, y1, x1, y0), Seg(x1, y0, x0, y0)};
}
std::vector<Point> Quad(Point a, Point b, Point c, Point d) { return {a, b, c, d}; }

// A check box set from code without its click, which would run a design.
void SetQuietly(TCheckBox* box, bool checked) {
    const auto click = box->OnClick;
    box->OnClick = nullptr;
    box->SetChecked(checked);
    box->OnClick = click;
}

// A brace of round numbers: stations a 300, b 350, c 550, d 650, e 1650, f 1750,
// g 1950, m 2000, to 2300; bands of the plan row at +-(12 to 32).
class DetailRows : public ::testing::Test {
protected:
    void SetUp() override {
        form = env.Create();
        ASSERT_NE(form->DetailRC, nullptr);
        TBraceValues& b = form->BraceValues;
        SetPieces(b, {300, 50, 200, 100, 1000});
        b.D_j = 200, b.D_c = 120, b.B_j = 180, b.B_c = 100;
        b.t_c = 20, b.t_j = 16, b.t_g_s = 24, b.D_t = 260, b.t = 6;
        form->CoreType = "Cruciform";
        form->CasingType = "Square";
        form->CtypeText = "Welded";
        rows.emplace(*form, Box{-200, -300, 2500, 300});
    }

    // Flat cores come with D_c equal to t_c.
    void MakeFlat() {
        form->CoreType = "Flat";
        form->BraceValues.D_c = form->BraceValues.t_c;
    }

    FormEnvironment env;
    DOVEREForm* form = nullptr;
    std::optional<Recorder> rows;  // the whole brace
};

TEST_F(DetailRows, EachSideAndPlanPieceFillsItsShapeAndDrawsItsLinesAtItsStations) {
    const TGlPalette& p = form->GlPalette;
    struct Case {
        const char* piece;
        void (DOVEREForm::*draw)();
        const char* core;
        const char* ctype;
        const TGlColor& colour;
        std::vector<Point> fills;
        std::vector<Point> blanks;  // opaque background fills
        std::vector<Segment> lines;
        // A flat core that keeps the D_c of the fixture, deeper than its plate.
        bool deep_flat = false;
    };
    const std::vector<Segment> bands_lx = Joined({Edges(350, 550, 12), Edges(350, 550, 32)});
    const Case cases[] = {
        {"side L_x", &DOVEREForm::DrawSideLxSegments, "Cruciform", "Welded", p.LxColor,
         Joined({Corners(350, -100, 550, 100), Corners(1750, -100, 1950, 100)}), {},
         Joined({Edges(350, 550, 100), Edges(350, 550, 10), Edges(1750, 1950, 100), Edges(1750, 1950, 10)})},
        {"side L_n", &DOVEREForm::DrawSideLnSegments, "Cruciform", "Welded", p.LnColor,
         Joined({Corners(300, -100, 350, 100), Corners(1950, -100, 2000, 100)}), {},
         Joined({Edges(300, 350, 100), Edges(300, 350, 10), Edges(1950, 2000, 100), Edges(1950, 2000, 10)})},
        {"side joints, each closed at its outer end", &DOVEREForm::DrawSideJoint, "Cruciform", "Welded",
         p.JointColor, Joined({Corners(0, -100, 300, 100), Corners(2000, -100, 2300, 100)}), {},
         Joined({{Seg(0, -100, 0, 100)}, Edges(0, 300, 100), Edges(0, 300, 10), {Seg(2300, -100, 2300, 100)},
                 Edges(2000, 2300, 100), Edges(2000, 2300, 10)})},
        {"side core, cruciform: D_c deep with the plate inside", &DOVEREForm::DrawSideCore, "Cruciform", "Welded",
         p.CoreColor, Corners(650, -60, 1650, 60), {}, Joined({Edges(650, 1650, 60), Outline(650, -10, 1650, 10)})},
        {"side core, flat: the plate alone", &DOVEREForm::DrawSideCore, "Flat", "Welded", p.CoreColor,
         Corners(650, -10, 1650, 10), {}, Outline(650, -10, 1650, 10)},
        {"side core, flat with a D_c deeper than the plate: still the plate alone", &DOVEREForm::DrawSideCore,
         "Flat", "Welded", p.CoreColor, Corners(650, -10, 1650, 10), {}, Outline(650, -10, 1650, 10), true},
        {"side transitions, cruciform", &DOVEREForm::DrawSideTransitions, "Cruciform", "Bolted", p.TransitionColor,
         Joined({Quad({550, -100}, {550, 100}, {650, 60}, {650, -60}),
                 Quad({1650, -60}, {1650, 60}, {1750, 100}, {1750, -100})}),
         {},
         Joined({{Seg(550, 100, 650, 60), Seg(550, -100, 650, -60)}, Outline(550, -10, 650, 10),
                 {Seg(1750, 100, 1650, 60), Seg(1750, -100, 1650, -60)}, Outline(1650, -10, 1750, 10)})},
        {"side transitions, flat welded: tapers stop 30 short of the core", &DOVEREForm::DrawSideTransitions,
         "Flat", "Welded", p.TransitionColor,
         Joined({Corners(550, -10, 650, 10), {{550, 100}, {620, 10}, {550, -100}, {620, -10}},
                 Corners(1650, -10, 1750, 10), {{1750, 100}, {1680, 10}, {1750, -100}, {1680, -10}}}),
         {},
         Joined({{Seg(550, 100, 620, 10), Seg(550, -100, 620, -10)}, Outline(550, -10, 650, 10),
                 {Seg(1750, 100, 1680, 10), Seg(1750, -100, 1680, -10)}, Outline(1650, -10, 1750, 10)})},
        {"side transitions, flat bolted: q = 80 from each joint, drawn open", &DOVEREForm::DrawSideTransitions,
         "Flat", "Bolted", p.TransitionColor,
         Joined({Corners(550, -10, 650, 10), {{550, 100}, {630, 20}, {630, 10}, {550, -100}, {630, -20}, {630, -10}},
                 Corners(1650, -10, 1750, 10),
                 {{1750, 100}, {1670, 20}, {1670, 10}, {1750, -100}, {1670, -20}, {1670, -10}}}),
         {},
         Joined({{Seg(550, 10, 550, 100), Seg(550, 100, 630, 20), Seg(630, 20, 630, 10)},
                 {Seg(550, -10, 550, -100), Seg(550, -100, 630, -20), Seg(630, -20, 630, -10)},
                 Outline(550, -10, 650, 10),
                 {Seg(1750, 10, 1750, 100), Seg(1750, 100, 1670, 20), Seg(1670, 20, 1670, 10)},
                 {Seg(1750, -10, 1750, -100), Seg(1750, -100, 1670, -20), Seg(1670, -20, 1670, -10)},
                 Outline(1650, -10, 1750, 10)})},
        {"plan L_x with both bands", &DOVEREForm::DrawPlanLxSegments, "Cruciform", "Welded", p.LxColor,
         Joined({Corners(350, -90, 550, 90), Corners(1750, -90, 1950, 90)}), {},
         Joined({Edges(350, 550, 90), bands_lx, Edges(1750, 1950, 90), Edges(1750, 1950, 12),
                 Edges(1750, 1950, 32)})},
        {"plan L_n with the slot's end blanked out", &DOVEREForm::DrawPlanLnSegments, "Cruciform", "Welded",
         p.LnColor, Joined({Corners(300, -90, 350, 90), Corners(1950, -90, 2000, 90)}),
         Joined({Corners(300, -12, 325, 12), Corners(1975, -12, 2000, 12)}),
         Joined({Edges(300, 350, 90), Edges(300, 350, 12), Edges(300, 350, 32), Edges(1950, 2000, 90),
                 Edges(1950, 2000, 12), Edges(1950, 2000, 32)})},
        {"plan joints: the slot open at the outer end and closed 25 into L_n", &DOVEREForm::DrawPlanJoint,
         "Cruciform", "Welded", p.JointColor, Joined({Corners(0, -90, 300, 90), Corners(2000, -90, 2300, 90)}),
         Joined({Corners(0, -12, 300, 12), Corners(2000, -12, 2300, 12)}),
         Joined({{Seg(0, -12, 0, -90), Seg(0, 12, 0, 90), Seg(0, -12, 325, -12), Seg(0, 12, 325, 12),
                  Seg(325, -12, 325, 12)},
                 Edges(0, 300, 90), Edges(0, 300, 12), Edges(0, 300, 32),
                 {Seg(2300, -12, 2300, -90), Seg(2300, 12, 2300, 90), Seg(2300, -12, 1975, -12),
                  Seg(2300, 12, 1975, 12), Seg(1975, -12, 1975, 12)},
                 Edges(2000, 2300, 90), Edges(2000, 2300, 12), Edges(2000, 2300, 32)})},
        {"plan transitions, cruciform: bands over the whole length", &DOVEREForm::DrawPlanTransitions, "Cruciform",
         "Welded", p.TransitionColor,
         Joined({Quad({550, -90}, {550, 90}, {650, 50}, {650, -50}),
                 Quad({1650, -50}, {1650, 50}, {1750, 90}, {1750, -90})}),
         {},
         Joined({{Seg(550, 90, 650, 50), Seg(550, -90, 650, -50)}, Outline(550, -32, 650, -12),
                 Outline(550, 12, 650, 32), {Seg(1750, 90, 1650, 50), Seg(1750, -90, 1650, -50)},
                 Outline(1650, -32, 1750, -12), Outline(1650, 12, 1750, 32)})},
        {"plan transitions, flat: bands stop 30 short of the core", &DOVEREForm::DrawPlanTransitions, "Flat",
         "Welded", p.TransitionColor,
         Joined({Quad({550, -90}, {550, 90}, {650, 50}, {650, -50}),
                 Quad({1650, -50}, {1650, 50}, {1750, 90}, {1750, -90})}),
         {},
         Joined({{Seg(550, 90, 650, 50), Seg(550, -90, 650, -50)}, Outline(550, -32, 620, -12),
                 Outline(550, 12, 620, 32), {Seg(1750, 90, 1650, 50), Seg(1750, -90, 1650, -50)},
                 Outline(1680, -32, 1750, -12), Outline(1680, 12, 1750, 32)})},
        {"plan core, cruciform with both bands", &DOVEREForm::DrawPlanCore, "Cruciform", "Bolted", p.CoreColor,
         Corners(650, -50, 1650, 50), {},
         Joined({Edges(650, 1650, 50), Outline(650, -32, 1650, -12), Outline(650, 12, 1650, 32)})},
        {"plan core, flat without bands", &DOVEREForm::DrawPlanCore, "Flat", "Welded", p.CoreColor,
         Corners(650, -50, 1650, 50), {}, Edges(650, 1650, 50)},
    };
    const TBraceValues brace = form->BraceValues;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.piece);
        form->BraceValues = brace;
        if (std::string(c.core) == "Flat" && !c.deep_flat) MakeFlat();
        form->CoreType = c.core;
        form->CtypeText = c.ctype;
        const auto items = rows->Record([&] { (form->*c.draw)(); });
        EXPECT_TRUE(SamePoints(rows->Vertices(items, FeedbackKind::Polygon, RgbOf(c.colour)), Distinct(c.fills)));
        EXPECT_TRUE(SamePoints(rows->Vertices(items, FeedbackKind::Polygon, RgbOf(p.BackgroundColor)),
                               Distinct(c.blanks)));
        EXPECT_TRUE(SameSegments(rows->Segments(items, kWhite), c.lines));
        // Blanking out is opaque; everything else is translucent.
        for (const gl::FeedbackItem& item : items)
            for (const gl::FeedbackVertex& v : item.vertices)
                if (detail_test::SameColour(v, RgbOf(p.BackgroundColor))) {
                    EXPECT_EQ(v.a, 1.0f);
                }
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
        EXPECT_FALSE(glIsEnabled(GL_LINE_STIPPLE));
    }
}

TEST_F(DetailRows, TheEndsOfARowAreItsLxSegmentsThenItsLnSegmentsThenItsJoints) {
    form->CtypeText = "Bolted";  // the joints with their bolts
    form->BoltedValues.n = 4;
    form->BoltedValues.el = 50;
    form->BoltedValues.s = 70;
    form->BoltedValues.et = 40;
    using Drawer = void (DOVEREForm::*)();
    struct Case {
        const char* row;
        Drawer ends;
        std::array<Drawer, 3> pieces;
    };
    const Case cases[] = {
        {"side", &DOVEREForm::DrawSideEnds,
         {&DOVEREForm::DrawSideLxSegments, &DOVEREForm::DrawSideLnSegments, &DOVEREForm::DrawSideJoint}},
        {"plan", &DOVEREForm::DrawPlanEnds,
         {&DOVEREForm::DrawPlanLxSegments, &DOVEREForm::DrawPlanLnSegments, &DOVEREForm::DrawPlanJoint}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        const auto pieces = rows->Record([&] {
            for (Drawer draw : c.pieces) (form->*draw)();
        });
        ASSERT_FALSE(pieces.empty());
        EXPECT_TRUE(detail_test::SameRecord(rows->Record([&] { (form->*c.ends)(); }), pieces));
    }
}

TEST_F(DetailRows, BoltsOfABoltedJointCountFromEachOuterEndAndMoveOutWhenStaggered) {
    form->CtypeText = "Bolted";
    form->BoltedValues.el = 50;
    form->BoltedValues.s = 70;
    form->BoltedValues.et = 40;
    // Joints from 0 and from 2000, each 300 long.
    auto pairs = [](std::vector<std::pair<float, float>> along) {
        std::vector<Point> points;
        for (auto [x, y] : along)
            for (float at : {x, 2300 - x})
                for (float sign : {1.0f, -1.0f}) points.push_back({at, sign * y});
        return points;
    };
    struct Case {
        float n;
        bool staggered;
        std::vector<Point> bolts;
    };
    const Case cases[] = {
        {4, false, pairs({{50, 50}, {120, 50}})},
        {4, true, pairs({{50, 50}, {120, 120}})},
        {5, false, pairs({{50, 50}, {120, 50}, {190, 50}})},
        {0, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.n << (c.staggered ? " staggered" : ""));
        form->BoltedValues.n = c.n;
        SetQuietly(form->CheckBox_Staggered, c.staggered);
        const auto items = rows->Record([&] { form->DrawSideJoint(); });
        EXPECT_TRUE(SamePoints(rows->Vertices(items, FeedbackKind::Point, {1, 1, 0}), c.bolts));
        EXPECT_FALSE(glIsEnabled(GL_POINT_SMOOTH));
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
    }
    // A welded joint has none.
    form->CtypeText = "Welded";
    form->BoltedValues.n = 4;
    EXPECT_TRUE(rows->Vertices(rows->Record([&] { form->DrawSideJoint(); }), FeedbackKind::Point, {1, 1, 0})
                    .empty());
}

TEST_F(DetailRows, SectionsStandAtTheirStationsWithTheirPlatesAndRibs) {
    const TGlPalette& p = form->GlPalette;
    const Recorder sections(*form, Box{-200, -300, 1400, 300});
    const std::vector<Point> casing = Corners(-130, -130, 130, 130);
    struct Case {
        const char* section;
        void (DOVEREForm::*draw)();
        const char* ctype;
        float centre;
        const TGlColor& colour;
        std::vector<Point> shapes;  // in the section's colour, about its centre
        bool cased;
    };
    // Ribs t_j 16 wide centred 20 off the middle, t_c 20 wide ones 22 off.
    const Case cases[] = {
        {"core", &DOVEREForm::DrawCoreCrossSection, "Welded", 1150, p.CoreColor,
         Joined({casing, Corners(-50, -10, 50, 10), Corners(-28, 10, -12, 60), Corners(12, -10, 28, -60)}), true},
        {"L_x, welded", &DOVEREForm::DrawLxCrossSection, "Welded", 450, p.LxColor,
         Joined({Corners(-90, -10, 90, 10), Corners(-28, 10, -12, 100), Corners(12, -10, 28, -100)}), true},
        {"L_x, bolted", &DOVEREForm::DrawLxCrossSection, "Bolted", 450, p.LxColor,
         Joined({Corners(-90, -10, 90, 10), Corners(-32, -90, -12, 90), Corners(12, -90, 32, 90)}), true},
        {"joint, welded", &DOVEREForm::DrawJointCrossSection, "Welded", 0, p.JointColor,
         Joined({Corners(-90, -10, -12, 10), Corners(12, -10, 90, 10), Corners(-28, 10, -12, 100),
                 Corners(12, -10, 28, -100)}),
         false},
        {"joint, bolted", &DOVEREForm::DrawJointCrossSection, "Bolted", 0, p.JointColor,
         Joined({Corners(-90, -10, -12, 10), Corners(12, -10, 90, 10), Corners(-28, -100, -12, 100),
                 Corners(12, -100, 28, 100)}),
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section);
        form->CtypeText = c.ctype;
        const auto items = sections.Record([&] { (form->*c.draw)(); });
        EXPECT_TRUE(SamePoints(sections.Vertices(items, FeedbackKind::Polygon, RgbOf(c.colour)),
                               Distinct(Moved(c.shapes, {c.centre, 0}))));
        // The square casing: its wall, the inside blanked out, a line along the middle
        // of the wall from its upper right corner round and back.
        const std::vector<Point> blanks = c.cased ? Moved(Corners(-124, -124, 124, 124), {c.centre, 0})
                                                  : std::vector<Point>{};
        EXPECT_TRUE(SamePoints(sections.Vertices(items, FeedbackKind::Polygon, RgbOf(p.BackgroundColor)), blanks));
        const auto wall = sections.Segments(items, RgbOf(p.CoreColor));
        if (!c.cased) {
            EXPECT_TRUE(wall.empty());
            continue;
        }
        const float x = c.centre;
        const std::vector<Segment> expected = {Seg(x + 127, 127, x - 127, 127), Seg(x - 127, 127, x - 127, -127),
                                               Seg(x - 127, -127, x + 127, -127), Seg(x + 127, -127, x + 127, 127)};
        ASSERT_EQ(wall.size(), 4u);
        for (size_t i = 0; i < 4; ++i) {
            EXPECT_TRUE(Close(wall[i].first, expected[i].first, 0.02f)) << i;
            EXPECT_TRUE(Close(wall[i].second, expected[i].second, 0.02f)) << i;
        }
        if (&c.colour != &p.CoreColor) {
            EXPECT_TRUE(SamePoints(sections.Vertices(items, FeedbackKind::Polygon, RgbOf(p.CoreColor)),
                                   Moved(casing, {c.centre, 0})));
        }
    }
}

TEST_F(DetailRows, ACircularCasingIsThreeHundredAndSixtyPointsCounterClockwiseFromThePositiveXAxis) {
    form->CasingType = "Circular";
    const TGlPalette& p = form->GlPalette;
    const Recorder sections(*form, Box{800, -300, 1500, 300});
    const auto items = sections.Record([&] { form->DrawCoreCrossSection(); });
    auto circle = [&](float r) {
        std::vector<Point> points;
        for (int i = 0; i < 360; ++i) {
            const double a = static_cast<float>(i) * form->DegToRad;
            points.push_back({static_cast<float>(1150 + r * std::cos(a)), static_cast<float>(r * std::sin(a))});
        }
        return points;
    };
    const std::vector<Point> plate_and_ribs =
        Moved(Joined({Corners(-50, -10, 50, 10), Corners(-28, 10, -12, 60), Corners(12, -10, 28, -60)}), {1150, 0});
    EXPECT_TRUE(SamePoints(sections.Vertices(items, FeedbackKind::Polygon, RgbOf(p.CoreColor)),
                           Joined({circle(130), Distinct(plate_and_ribs)})));
    EXPECT_TRUE(SamePoints(sections.Vertices(items, FeedbackKind::Polygon, RgbOf(p.BackgroundColor)), circle(124)));
    // The middle of the wall, closed: each segment starts where the last one ended.
    const auto wall = sections.Segments(items, RgbOf(p.CoreColor));
    const std::vector<Point> middle = circle(127);
    ASSERT_EQ(wall.size(), 360u);
    for (size_t i = 0; i < 360; ++i) {
        EXPECT_TRUE(Close(wall[i].first, middle[i], 0.02f)) << i;
        EXPECT_TRUE(Close(wall[i].second, middle[(i + 1) % 360], 0.02f)) << i;
    }
    EXPECT_GT(wall[0].second.y, 0.0f) << "counter-clockwise";
}

// The lengths of the white and other runs along an image row, from column from to to,
// starting with a white run (0 long when the row starts otherwise).
std::vector<int> WhiteRuns(const ui::PixelImage& image, int row, int from, int to) {
    std::vector<int> runs{0};
    bool white = true;
    for (int x = from; x <= to; ++x) {
        const bool here = gl::PixelAt(image, x, row) == gl::OpaqueColor(1, 1, 1);
        if (here != white) {
            runs.push_back(0);
            white = here;
        }
        ++runs.back();
    }
    return runs;
}

bool Solid(const std::vector<int>& runs) { return runs.size() == 1 && runs[0] > 0; }
// Three pixels on, three off; the runs at either end may be cut short.
bool Dashed(const std::vector<int>& runs) {
    if (runs.size() < 20) return false;
    for (size_t i = runs[0] == 0 ? 2 : 1; i + 1 < runs.size(); ++i)
        if (runs[i] != 3) return false;
    return true;
}

TEST_F(DetailRows, TheUpperBandIsDashedByConnectionInTheEndsAndAlwaysInACruciformCore) {
    struct Case {
        const char* piece;
        void (DOVEREForm::*draw)();
        const char* core;
        const char* ctype;
        float from, to;  // the left piece along the row
        bool upper_dashed;
    };
    const Case cases[] = {
        {"L_x welded", &DOVEREForm::DrawPlanLxSegments, "Cruciform", "Welded", 350, 550, true},
        {"L_x bolted", &DOVEREForm::DrawPlanLxSegments, "Cruciform", "Bolted", 350, 550, false},
        {"L_n welded", &DOVEREForm::DrawPlanLnSegments, "Cruciform", "Welded", 300, 350, true},
        {"L_n bolted", &DOVEREForm::DrawPlanLnSegments, "Cruciform", "Bolted", 300, 350, false},
        {"joint welded", &DOVEREForm::DrawPlanJoint, "Cruciform", "Welded", 0, 300, true},
        {"joint bolted", &DOVEREForm::DrawPlanJoint, "Cruciform", "Bolted", 0, 300, false},
        {"cruciform transition bolted", &DOVEREForm::DrawPlanTransitions, "Cruciform", "Bolted", 550, 650, true},
        {"flat transition welded", &DOVEREForm::DrawPlanTransitions, "Flat", "Welded", 550, 650, true},
        {"flat transition bolted", &DOVEREForm::DrawPlanTransitions, "Flat", "Bolted", 550, 650, false},
        {"cruciform core bolted", &DOVEREForm::DrawPlanCore, "Cruciform", "Bolted", 650, 1650, true},
    };
    const TBraceValues brace = form->BraceValues;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.piece);
        form->BraceValues = brace;
        if (std::string(c.core) == "Flat") MakeFlat();
        form->CoreType = c.core;
        form->CtypeText = c.ctype;
        // The piece across the panel; the outer lines of the two bands at y = +-32,
        // away from the slot's edges.
        const Box box{c.from, -50, c.to, 50};
        const ui::PixelImage& image = detail_test::Render(*form, box, [&] { (form->*c.draw)(); });
        auto row = [&](float y) { return image.height - 1 - static_cast<int>((y - box.y0) * image.height / 100); };
        const int left = image.width / 5, right = image.width * 3 / 5;
        const std::vector<int> upper = WhiteRuns(image, row(32), left, right);
        const std::vector<int> lower = WhiteRuns(image, row(-32), left, right);
        EXPECT_TRUE(Solid(lower)) << lower.size() << " runs";
        EXPECT_EQ(Dashed(upper), c.upper_dashed) << upper.size() << " runs";
        EXPECT_EQ(Solid(upper), !c.upper_dashed) << upper.size() << " runs";
    }
}

}  // namespace
