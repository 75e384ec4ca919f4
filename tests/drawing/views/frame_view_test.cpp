// The two views as the window shows them: contexts made by the create handler and
// given back, the pixels of the frame view before and after a result of the
// asymmetric bay, the projections, the layer toggles, a symmetric Chevron bay,
// repeatable redraws and the state they leave.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <optional>
#include <set>

#include "platform/ui/input.h"
#include "support/asymmetric_bay.h"
#include "support/form_environment.h"
#include "view_probe.h"

namespace {

using testing_support::FormEnvironment;
using view_test::ColourNear;
using view_test::FrameProbe;
using view_test::Over;
using view_test::Rgb;
using view_test::RgbOf;
using view_test::ViewBox;

Rgb Background(const DOVEREForm& f) { return RgbOf(f.GlPalette.BackgroundColor); }

int CountExactly(const ui::PixelImage& image, Rgb colour) {
    return gl::CountPixels(image, gl::OpaqueColor(colour.r, colour.g, colour.b));
}

namespace bay = testing_support::asymmetric_bay;

// A window on the local service with the asymmetric bay designed.
DOVEREForm* DesignedBay(FormEnvironment& env) {
    DOVEREForm* form = env.Create();
    EXPECT_TRUE(bay::Design(*form));
    return form;
}

// Points of the asymmetric bay (6000 x 3800, columns 400 and 560, beams 600 and 488)
// that only one part covers, several pixels from every other part and line: inside
// each column and beam off its centre line, the right column and the upper beam near
// their outer faces; the lower gusset plate below the slab line; the brace core inside
// the casing, off the work line.
struct Samples {
    view_test::Point left_column{-100, 1900}, right_column{6245, 1900};
    view_test::Point lower_beam{3000, -122}, upper_beam{3000, 4070};
    view_test::Point plate, core;

    explicit Samples(const TBraceValues& b) : plate{200 + b.down_L_h * 0.66f, 244 + 70} {
        const float mid_core = b.Shrink_Ratio_DOWN * b.L_wp + b.L_w + b.L_n + b.L_x + b.L_t + b.L_c / 2;
        core = view_test::OnBrace(b.tan_phi, mid_core, 50);
    }
};

TEST(Views, BeforeTheFirstPaintNothingIsSwappedAndWithoutAResultOnlyTheBackgroundShows) {
    FormEnvironment env(FormEnvironment::Reach::Unreachable);
    DOVEREForm* form = env.Create();
    ASSERT_NE(form->FrameRC, nullptr);
    ASSERT_NE(form->DetailRC, nullptr);
    // The panels show their own colours until the first paint.
    EXPECT_EQ(form->OpGLPanel->SurfaceRevision(), 0u);
    EXPECT_EQ(form->OpGLPanel2->SurfaceRevision(), 0u);

    ui::PaintForm(form);
    const gl::Rgba bg = gl::OpaqueColor(0.732f, 0.888f, 0.928f);
    for (TPanel* panel : {form->OpGLPanel, form->OpGLPanel2}) {
        const ui::PixelImage& image = panel->Surface();
        EXPECT_EQ(image.width, panel->ClientWidth());
        EXPECT_EQ(image.height, panel->ClientHeight());
        EXPECT_EQ(gl::CountPixels(image, bg), image.width * image.height) << panel->Name();
    }
}

TEST(Views, ThePaletteHoldsEveryColourAndTheDash) {
    FormEnvironment env(FormEnvironment::Reach::Unreachable);
    DOVEREForm* form = env.Create();
    const TGlPalette& p = form->GlPalette;
    struct Entry {
        const char* name;
        TGlColor TGlPalette::*colour;
        float r, g, b;
        std::optional<float> a;  // the line colours are given as RGB
    };
    const Entry entries[] = {
        {"BackgroundColor", &TGlPalette::BackgroundColor, 0.732f, 0.888f, 0.928f, 1},
        {"OutlineColor", &TGlPalette::OutlineColor, 1, 1, 1, 1},
        {"LeftColumnColor", &TGlPalette::LeftColumnColor, 1, 1, 0, 0.5f},
        {"RightColumnColor", &TGlPalette::RightColumnColor, 1, 0.5f, 0.8f, 0.5f},
        {"UpperBeamColor", &TGlPalette::UpperBeamColor, 0.3f, 1, 1, 0.5f},
        {"LowerBeamColor", &TGlPalette::LowerBeamColor, 0.8f, 0.1f, 0.7f, 0.4f},
        {"CoreColor", &TGlPalette::CoreColor, 1, 0, 0.3f, 0.9f},
        {"JointColor", &TGlPalette::JointColor, 0.8f, 0.3f, 0.8f, 0.7f},
        {"LnColor", &TGlPalette::LnColor, 0.2f, 1, 1, 0.8f},
        {"LxColor", &TGlPalette::LxColor, 0.6f, 0.2f, 0.4f, 0.5f},
        {"TransitionColor", &TGlPalette::TransitionColor, 0.6f, 1, 1, 0.6f},
        {"CasingColor", &TGlPalette::CasingColor, 0.6f, 0.6f, 0.6f, 0.5f},
        {"GussetColor", &TGlPalette::GussetColor, 0.5f, 0.7f, 1, 1},
        {"StiffenerColor", &TGlPalette::StiffenerColor, 0.25f, 0.35f, 0.5f, 1},
        {"L1LineColor", &TGlPalette::L1LineColor, 0, 0, 1, std::nullopt},
        {"L2LineColor", &TGlPalette::L2LineColor, 1, 1, 0, std::nullopt},
        {"L3LineColor", &TGlPalette::L3LineColor, 1, 0, 1, std::nullopt},
    };
    for (const Entry& e : entries) {
        SCOPED_TRACE(e.name);
        const TGlColor& c = p.*e.colour;
        EXPECT_EQ(c.R, e.r);
        EXPECT_EQ(c.G, e.g);
        EXPECT_EQ(c.B, e.b);
        if (e.a) {
            EXPECT_EQ(c.A, *e.a);
        }
    }
    EXPECT_EQ(p.DashFactor, 3);
    EXPECT_EQ(p.DashPattern, 0x5555);
}

TEST(Views, ADiagonalResultShowsTheMembersAndPlatesInTheirBlendedColours) {
    FormEnvironment env;
    DOVEREForm* form = DesignedBay(env);
    ASSERT_EQ(form->CfgText, "Diagonal");
    ui::PaintForm(form);

    const FrameProbe probe(*form, bay::kFrameBox);
    const Samples s(form->BraceValues);
    const TGlPalette& p = form->GlPalette;
    const Rgb bg = Background(*form);
    EXPECT_TRUE(ColourNear(probe.At(s.left_column.x, s.left_column.y), Over(p.LeftColumnColor, bg)));
    EXPECT_TRUE(ColourNear(probe.At(s.right_column.x, s.right_column.y), Over(p.RightColumnColor, bg)));
    EXPECT_TRUE(ColourNear(probe.At(s.lower_beam.x, s.lower_beam.y), Over(p.LowerBeamColor, bg)));
    EXPECT_TRUE(ColourNear(probe.At(s.upper_beam.x, s.upper_beam.y), Over(p.UpperBeamColor, bg)));
    EXPECT_TRUE(ColourNear(probe.At(s.plate.x, s.plate.y), RgbOf(p.GussetColor)));
    EXPECT_TRUE(ColourNear(probe.At(s.core.x, s.core.y), Over(p.CasingColor, Over(p.CoreColor, bg))));
    // Beyond the left column's face, under the lower beam, and away from the bay, the
    // background stays.
    EXPECT_TRUE(ColourNear(probe.At(-245, 1900), bg, 0));
    EXPECT_TRUE(ColourNear(probe.At(3000, -275), bg, 0));
    EXPECT_TRUE(ColourNear(gl::PixelAt(form->OpGLPanel->Surface(), 2, 2), bg, 0));
}

// The projection a redraw left in a view's context: the scales of x and y (2 / box
// extent) and their offsets.
std::array<float, 4> Projection(HDC dc, HGLRC rc) {
    EXPECT_TRUE(wglMakeCurrent(dc, rc));
    GLfloat m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    return {m[0], m[5], m[12], m[13]};
}

TEST(Views, EachViewIsProjectedOntoItsOwnFittedBoxOrLeftAtTheIdentity) {
    FormEnvironment env;
    DOVEREForm* form = DesignedBay(env);
    // A brace whose detail box is worked out: S = 4000 + 300 + 300 + 2 x 80 = 4760,
    // 5236 x 396 wanted (4.5 D_j the tallest); 779 / 5236 is below 196 / 396, so the
    // height grows to 196 x 5236 / 779 = 1317.4018, the origin at (238, 1.2 D_j).
    TBraceValues& b = form->BraceValues;
    b.D_j = 80, b.L_brb = 4000, b.down_L_h = 300, b.up_L_h = 300, b.down_L_v = 200, b.up_L_v = 250;
    const ViewBox detail{5236, 1317.4018f, 238, 96};
    form->RedrawViews();
    using P = std::array<float, 4>;
    auto ortho = [](const ViewBox& box) { return P{2 / box.width, 2 / box.height, -1, -1}; };
    for (auto [actual, expected] : {std::pair{Projection(form->FrameDC, form->FrameRC), ortho(bay::kFrameBox)},
                                    std::pair{Projection(form->DetailDC, form->DetailRC), ortho(detail)}})
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-7f) << i;
    // The shared box and offsets hold the detail view's after a redraw.
    EXPECT_NEAR(form->ViewWidth, detail.width, 1e-3);
    EXPECT_NEAR(form->ViewOffset[0], detail.offset_x, 1e-3);
    EXPECT_NEAR(form->ViewOffset[1], detail.offset_y, 1e-3);

    // A detail fit that fails keeps the frame view's offsets and the identity.
    form->BraceValues = TBraceValues{};
    form->RedrawViews();
    EXPECT_EQ(Projection(form->DetailDC, form->DetailRC), (P{1, 1, 0, 0}));
    EXPECT_NEAR(form->ViewOffset[0], bay::kFrameBox.offset_x, 1e-3);
    EXPECT_NEAR(form->ViewOffset[1], bay::kFrameBox.offset_y, 1e-3);
}

TEST(Views, EachLayerToggleRemovesItsLayerAndBringsItBack) {
    FormEnvironment env;
    DOVEREForm* form = DesignedBay(env);
    ui::PaintForm(form);
    const ui::PixelImage all = form->OpGLPanel->Surface();
    const FrameProbe probe(*form, bay::kFrameBox);
    const Samples s(form->BraceValues);
    const TGlPalette& p = form->GlPalette;
    const Rgb bg = Background(*form);
    const Rgb magenta{1, 0, 1};
    ASSERT_GT(CountExactly(all, magenta), 0);

    struct Case {
        const char* layer;
        TPanel* toggle;
        bool DOVEREForm::*flag;
        float x, y;
        Rgb shown;
    };
    const Case cases[] = {
        {"frame", form->Panel_disp_Frame, &DOVEREForm::ShowFrame, s.left_column.x, s.left_column.y,
         Over(p.LeftColumnColor, bg)},
        {"gusset", form->Panel_disp_Gusset, &DOVEREForm::ShowGusset, s.plate.x, s.plate.y, RgbOf(p.GussetColor)},
        {"brace", form->Panel_disp_BRB, &DOVEREForm::ShowBRB, s.core.x, s.core.y,
         Over(p.CasingColor, Over(p.CoreColor, bg))},
        // The centre-line layer's dashes are the only magenta of the view.
        {"centre lines", form->Panel_disp_RL, &DOVEREForm::ShowRL, 0, 0, magenta},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.layer);
        const bool lines = c.flag == &DOVEREForm::ShowRL;
        if (!lines) {
            EXPECT_TRUE(ColourNear(probe.At(c.x, c.y), c.shown));
        }
        ui::UserClick(c.toggle);
        EXPECT_FALSE(form->*c.flag);
        const ui::PixelImage& without = form->OpGLPanel->Surface();
        if (lines) {
            EXPECT_EQ(CountExactly(without, magenta), 0);
        } else {
            EXPECT_TRUE(ColourNear(probe.At(c.x, c.y), bg, 0));
        }
        EXPECT_NE(without.rgba, all.rgba);
        ui::UserClick(c.toggle);
        EXPECT_TRUE(form->*c.flag);
        EXPECT_EQ(form->OpGLPanel->Surface().rgba, all.rgba);
    }
    // With every layer off, nothing but the background.
    for (TPanel* toggle : {form->Panel_disp_Frame, form->Panel_disp_RL, form->Panel_disp_BRB, form->Panel_disp_Gusset})
        ui::UserClick(toggle);
    const ui::PixelImage& none = form->OpGLPanel->Surface();
    EXPECT_EQ(gl::CountPixels(none, gl::OpaqueColor(bg.r, bg.g, bg.b)), none.width * none.height);
}

TEST(Views, TheLLayerShowsOnlyWithItsToggle) {
    FormEnvironment env;
    DOVEREForm* form = env.Create();
    ASSERT_FALSE(form->ShowLr);
    ui::PaintForm(form);
    const ui::PixelImage before = form->OpGLPanel->Surface();
    const Rgb l1 = RgbOf(form->GlPalette.L1LineColor), l2 = RgbOf(form->GlPalette.L2LineColor);
    EXPECT_EQ(CountExactly(before, l1), 0);
    EXPECT_EQ(CountExactly(before, l2), 0);

    ui::UserClick(form->Panel_disp_Lr);  // redraws at once
    EXPECT_TRUE(form->ShowLr);
    EXPECT_GT(CountExactly(form->OpGLPanel->Surface(), l1), 0);
    EXPECT_GT(CountExactly(form->OpGLPanel->Surface(), l2), 0);

    ui::UserClick(form->Panel_disp_Lr);
    EXPECT_EQ(form->OpGLPanel->Surface().rgba, before.rgba);
}

TEST(Views, ASymmetricChevronBayIsItsOwnMirrorImageWithinAPixel) {
    FormEnvironment env;
    DOVEREForm* form = env.Create();
    view_test::ChooseChevron(form);
    ASSERT_EQ(form->CfgText, "Chevron");
    ASSERT_EQ(form->SideValues["LEFT"]["d_c_left"], form->SideValues["RIGHT"]["d_c_right"]);
    ASSERT_EQ(form->SideValues["LEFT"]["tan_phi"], form->SideValues["RIGHT"]["tan_phi"]);
    // The columns have colours of their own and a dash runs from one end of its line:
    // the plates, stiffeners and braces are what mirrors.
    form->ShowFrame = false;
    form->ShowRL = false;
    form->RedrawViews();

    const ui::PixelImage& image = form->OpGLPanel->Surface();
    const Rgb bg = Background(*form);
    const gl::Rgba background = gl::OpaqueColor(bg.r, bg.g, bg.b);
    int drawn = 0, unmatched = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const gl::Rgba here = gl::PixelAt(image, x, y);
            if (here != background) ++drawn;
            const int mirror = image.width - 1 - x;  // L/2 is the panel's middle column
            bool matched = false;
            for (int dx = -1; dx <= 1 && !matched; ++dx) {
                if (mirror + dx < 0 || mirror + dx >= image.width) continue;
                matched = view_test::Near(here, gl::PixelAt(image, mirror + dx, y), 2);
            }
            if (!matched) ++unmatched;
        }
    }
    EXPECT_GT(drawn, 5000);
    EXPECT_EQ(unmatched, 0);
}

TEST(Views, DrawingTwiceGivesTheSamePicturesAndLeavesTheStateAsItWas) {
    FormEnvironment env;
    DOVEREForm* form = env.Create();
    form->ShowLr = true;
    for (const char* cfg : {"Diagonal", "Chevron"}) {
        SCOPED_TRACE(cfg);
        if (std::string(cfg) == "Chevron") view_test::ChooseChevron(form);
        // The bolted joint's bolts as well.
        form->CtypeText = "Bolted";
        form->BoltedValues.n = 4;
        form->BoltedValues.el = 50;
        form->BoltedValues.s = 70;
        form->RedrawViews();
        const ui::PixelImage frame = form->OpGLPanel->Surface();
        const ui::PixelImage detail = form->OpGLPanel2->Surface();
        const auto revision = form->OpGLPanel->SurfaceRevision();
        for (int i = 0; i < 3; ++i) form->RedrawViews();
        EXPECT_EQ(form->OpGLPanel->SurfaceRevision(), revision + 3);
        EXPECT_EQ(form->OpGLPanel->Surface().rgba, frame.rgba);
        EXPECT_EQ(form->OpGLPanel2->Surface().rgba, detail.rgba);

        for (auto [dc, rc] : {std::pair{form->FrameDC, form->FrameRC}, std::pair{form->DetailDC, form->DetailRC}}) {
            ASSERT_TRUE(wglMakeCurrent(dc, rc));
            GLint depth = 0;
            glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
            EXPECT_EQ(depth, 1);
            EXPECT_FALSE(glIsEnabled(GL_BLEND));
            EXPECT_FALSE(glIsEnabled(GL_LINE_STIPPLE));
            EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        }
    }
}

TEST(Views, ADashedLineShowsThreePixelDashesAndGaps) {
    FormEnvironment env;
    DOVEREForm* form = DesignedBay(env);
    ui::PaintForm(form);
    const FrameProbe probe(*form, bay::kFrameBox);
    // The slab line (244 + 140) runs level over everything drawn before it; between
    // the two plumb clear-distance lines (200 + 80 and 5720 - 110) nothing crosses it.
    const int row = probe.Row(384);
    const int from = probe.Column(280) + 2;
    const int to = probe.Column(5610) - 2;
    const ui::PixelImage& image = form->OpGLPanel->Surface();
    std::vector<int> runs;  // alternate lengths of dash and gap
    bool dash = false;
    for (int x = from; x <= to; ++x) {
        const bool magenta = gl::PixelAt(image, x, row) == gl::OpaqueColor(1, 0, 1);
        if (runs.empty() || magenta != dash) {
            runs.push_back(0);
            dash = magenta;
        }
        ++runs.back();
    }
    ASSERT_GT(runs.size(), 20u);
    // The first and last runs may be cut by the ends.
    for (size_t i = 1; i + 1 < runs.size(); ++i) EXPECT_EQ(runs[i], 3) << "run " << i << " of " << runs.size();
}

// The pixels of the colour within a pixel of the segment where the probe maps it, and
// the segment's length in pixels.
struct Along {
    int pixels, length;
};
Along CountAlong(const ui::PixelImage& image, const FrameProbe& probe, view_test::Point from, view_test::Point to,
                 Rgb colour, int tolerance) {
    const gl::Rgba wanted = gl::OpaqueColor(colour.r, colour.g, colour.b);
    const int length = std::max(std::abs(probe.Column(to.x) - probe.Column(from.x)),
                                std::abs(probe.Row(to.y) - probe.Row(from.y)));
    std::set<std::pair<int, int>> seen;
    for (int i = 0; i <= 4 * length; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(4 * length);
        const int column = probe.Column(from.x + t * (to.x - from.x));
        const int row = probe.Row(from.y + t * (to.y - from.y));
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if (view_test::Near(gl::PixelAt(image, column + dx, row + dy), wanted, tolerance))
                    seen.insert({column + dx, row + dy});
    }
    return {static_cast<int>(seen.size()), length};
}

TEST(Views, EachDashLiesOverItsSolidLine) {
    FormEnvironment env;
    DOVEREForm* form = DesignedBay(env);
    ui::PaintForm(form);
    const FrameProbe probe(*form, bay::kFrameBox);
    const Rgb white{1, 1, 1}, magenta{1, 0, 1}, pink{1, 0.5f, 1}, grey{0.5f, 0.5f, 0.5f};
    struct Line {
        const char* what;
        view_test::Point from, to;
        Rgb solid, dash;
    };
    // Three pixels of dash, three of line: a dash drawn first would show only where
    // the two lines happen to be rasterised apart.
    const auto expect = [&](const Line& line) {
        SCOPED_TRACE(line.what);
        const ui::PixelImage& image = form->OpGLPanel->Surface();
        const Along dash = CountAlong(image, probe, line.from, line.to, line.dash, 2);
        const Along solid = CountAlong(image, probe, line.from, line.to, line.solid, 2);
        ASSERT_GT(dash.length, 20);
        EXPECT_GT(dash.pixels, dash.length / 3) << "dashes over the line";
        EXPECT_GT(solid.pixels, solid.length / 3) << "the line between the dashes";
    };
    // The translucent left column lies over the outline's left side.
    const TGlColor& left = form->GlPalette.LeftColumnColor;
    expect({"bay outline under the left column", {0, 1000}, {0, 3000}, Over(left, white), Over(left, magenta)});

    // The centre lines alone, where no other line comes near: the brace's work line
    // in the middle of the bay and the outline's left side.
    for (TPanel* toggle : {form->Panel_disp_Frame, form->Panel_disp_BRB, form->Panel_disp_Gusset})
        ui::UserClick(toggle);
    expect({"work line", {1000, 633.3f}, {5000, 3166.7f}, white, pink});
    expect({"bay outline", {0, 1000}, {0, 3000}, white, magenta});

    // The L layer alone: the two Be lines, the upper one from the upper work point.
    ui::UserClick(form->Panel_disp_RL);
    ui::UserClick(form->Panel_disp_Lr);
    const TBraceValues& b = form->BraceValues;
    const float L = bay::kBeamLength, H = bay::kColumnHeight;
    expect({"lower Be line", {b.Be_dw_fx1, b.Be_dw_fy1}, {b.Be_dw_fx2, b.Be_dw_fy2}, grey, white});
    expect({"upper Be line", {L - b.Be_up_fx1, H - b.Be_up_fy1}, {L - b.Be_up_fx2, H - b.Be_up_fy2}, grey, white});
}

TEST(Views, ARedrawWithoutContextsDrawsNothingButStillCopiesTheSides) {
    FormEnvironment env;
    DOVEREForm* form = env.Create();
    view_test::ChooseChevron(form);
    form->ReleaseViewContexts();
    EXPECT_EQ(form->FrameRC, nullptr);
    EXPECT_EQ(form->FrameDC, nullptr);
    const auto revision = form->OpGLPanel->SurfaceRevision();
    form->SideValues["LEFT"]["d_c_left"] = 480;
    form->SideValues["RIGHT"]["tan_phi"] = 1.25f;
    form->RedrawViews();
    EXPECT_EQ(form->FrameValues.d_c_left, 480.0f);
    EXPECT_EQ(form->BraceValues.tan_phi, 1.25f);
    EXPECT_EQ(form->OpGLPanel->SurfaceRevision(), revision);
}

TEST(Views, AChevronDrawingWithoutSideValuesKeepsTheMembersAndEntersNothing) {
    FormEnvironment env;
    DOVEREForm* form = env.Create();
    ASSERT_TRUE(form->SideValues.empty()) << "a Diagonal result";
    form->CfgText = "Chevron";
    form->ShowGusset = form->ShowBRB = form->ShowLr = true;
    const TFrameValues frame = form->FrameValues;
    const TBraceValues brace = form->BraceValues;
    ASSERT_TRUE(wglMakeCurrent(form->FrameDC, form->FrameRC));
    form->DrawFrameView();
    ASSERT_TRUE(wglMakeCurrent(form->DetailDC, form->DetailRC));
    form->DrawChevronDetails();
    EXPECT_TRUE(form->SideValues.empty());
    EXPECT_EQ(form->FrameValues.d_c_left, frame.d_c_left);
    EXPECT_EQ(std::memcmp(&brace, &form->BraceValues, sizeof brace), 0) << "nothing copied from zeros";

    // With one side only, that side's values are copied and the other's stay.
    form->SideValues["LEFT"]["L_wp"] = 1234.0f;
    ASSERT_TRUE(wglMakeCurrent(form->FrameDC, form->FrameRC));
    form->DrawFrameView();
    EXPECT_EQ(form->BraceValues.L_wp, 1234.0f);
    EXPECT_EQ(form->BraceValues.tan_phi, brace.tan_phi);
    EXPECT_EQ(form->SideValues.size(), 1u);
    EXPECT_EQ(form->SideValues["LEFT"].size(), 1u);
}

TEST(Views, ClosingTheWindowGivesBackBothViewsContexts) {
    const int dcs = gl::LiveDeviceContexts(), rcs = gl::LiveRenderingContexts();
    {
        FormEnvironment env;
        DOVEREForm* form = env.Create();
        EXPECT_EQ(gl::LiveDeviceContexts(), dcs + 2);
        EXPECT_EQ(gl::LiveRenderingContexts(), rcs + 2);
        ui::UserClose(form);
        EXPECT_EQ(gl::LiveDeviceContexts(), dcs);
        EXPECT_EQ(gl::LiveRenderingContexts(), rcs);
    }
    {
        // Without a service: the connection message once, and the contexts go.
        FormEnvironment env(FormEnvironment::Reach::Unreachable);
        DOVEREForm* form = env.Create();
        env.Headless().TakeBoxes();
        ui::UserClose(form);
        EXPECT_EQ(env.Headless().Boxes(), std::vector{testing_support::ConnectionBox()});
        EXPECT_EQ(gl::LiveRenderingContexts(), rcs);
    }
    {
        // A window that goes without its close handler gives them back too.
        FormEnvironment env;
        env.Create();
        EXPECT_EQ(gl::LiveRenderingContexts(), rcs + 2);
    }
    EXPECT_EQ(gl::LiveDeviceContexts(), dcs);
    EXPECT_EQ(gl::LiveRenderingContexts(), rcs);
}

TEST(Views, APanelWithoutAPixelFormatShowsTheMessageAndStaysUndrawn) {
    FormEnvironment env;
    DOVEREForm* form = env.Create();
    env.Headless().TakeBoxes();
    form->ReleaseViewContexts();
    // A detail panel whose device context cannot be had.
    TPanel* detail = form->OpGLPanel2;
    form->OpGLPanel2 = nullptr;
    form->FormCreate(form);
    form->OpGLPanel2 = detail;
    ASSERT_EQ(env.Headless().Boxes().size(), 1u);
    EXPECT_EQ(env.Headless().Boxes()[0].text, "像點格式選取失敗!!");
    EXPECT_NE(form->FrameRC, nullptr);
    EXPECT_EQ(form->DetailRC, nullptr);

    const auto frame = form->OpGLPanel->SurfaceRevision(), details = detail->SurfaceRevision();
    ui::PaintForm(form);
    EXPECT_EQ(form->OpGLPanel->SurfaceRevision(), frame + 1);
    EXPECT_EQ(detail->SurfaceRevision(), details);
}

}  // namespace
