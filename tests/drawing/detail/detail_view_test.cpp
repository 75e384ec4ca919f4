// The detail view as the window shows it after designs from the local service: the
// three transition forms and the two casings as pixels, and every family with each
// core and casing drawn without GL errors, the same picture twice.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "detail_probe.h"
#include "support/form_environment.h"

namespace {

using testing_support::FormEnvironment;
using view_test::RgbOf;

// A selector's item chosen as a user's pick runs it, with its design.
void Pick(DOVEREForm* f, TComboBox* box, int item, void (DOVEREForm::*change)(TObject*)) {
    box->SetItemIndex(item);
    ui::Dispatch([&] { (f->*change)(box); });
}

class DetailPicture : public ::testing::Test {
protected:
    void SetUp() override {
        form = env.Create();
        ASSERT_NE(form->DetailRC, nullptr);
    }

    // cfg 0 Diagonal, 1 Chevron; ctype 0 Welded, 1 Bolted; core 0 Cruciform, 1 Flat;
    // casing 0 Circular, 1 Square.
    void Choose(int cfg, int ctype, int core, int casing) {
        Pick(form, form->ComboBox_cfg, cfg, &DOVEREForm::ComboBox_cfgChange);
        Pick(form, form->ComboBox_Connection_Type, ctype, &DOVEREForm::ComboBox_Connection_TypeChange);
        Pick(form, form->ComboBox_BRB_Type, core, &DOVEREForm::ComboBox_BRB_TypeChange);
        Pick(form, form->ComboBox_CASING_TYPE, casing, &DOVEREForm::ComboBox_CASING_TYPEChange);
        env.Headless().TakeBoxes();
        ASSERT_TRUE(form->HaveResult);
    }

    // A redraw of both views, which must leave no GL error in either context.
    void Redraw() {
        form->RedrawViews();
        for (auto [dc, rc] : {std::pair{form->FrameDC, form->FrameRC}, std::pair{form->DetailDC, form->DetailRC}}) {
            ASSERT_TRUE(wglMakeCurrent(dc, rc));
            EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        }
    }

    gl::Rgba Background() const {
        const TGlColor& bg = form->GlPalette.BackgroundColor;
        return gl::OpaqueColor(bg.R, bg.G, bg.B);
    }

    // The box of the view as drawn for the brace in the members, worked out apart
    // from the fit under test.
    view_test::ViewBox Box() const {
        return detail_test::DiagonalDetailBox(form->BraceValues, form->OpGLPanel2->ClientWidth(),
                                              form->OpGLPanel2->ClientHeight());
    }
    gl::Rgba PixelOf(float x, float y) const { return detail_test::PixelOf(*form, Box(), x, y); }

    // Millimetres per pixel of the detail view.
    float MmPerPixel() const { return Box().height / form->OpGLPanel2->ClientHeight(); }

    // How far above the side row's axis the drawing reaches at x (mm from the view's
    // origin): the top of the unbroken run of drawn pixels that starts at the axis.
    float DrawnHeight(float x) const {
        const TPanel& panel = *form->OpGLPanel2;
        const view_test::ViewBox box = Box();
        const int w = panel.ClientWidth(), h = panel.ClientHeight();
        const int column = static_cast<int>(std::floor((x + box.offset_x) * w / box.width));
        int top = static_cast<int>(std::floor(box.offset_y / MmPerPixel()));
        while (top + 1 < h && gl::PixelAt(panel.Surface(), column, h - 2 - top) != Background()) ++top;
        return (top + 1) * MmPerPixel() - box.offset_y;
    }

    FormEnvironment env;
    DOVEREForm* form = nullptr;
};

TEST_F(DetailPicture, EachTransitionFormShowsItsOutlineAcrossTheSideRow) {
    struct Case {
        const char* form;
        int ctype, core;
    };
    for (const Case& c : {Case{"cruciform", 0, 0}, Case{"flat welded", 0, 1}, Case{"flat bolted", 1, 1}}) {
        SCOPED_TRACE(c.form);
        Choose(0, c.ctype, c.core, 1);
        Redraw();
        const TBraceValues& b = form->BraceValues;
        const float o = static_cast<float>(form->ViewLayout.DetailOffset);
        const float q = (b.D_j - b.t_c) / 2 - 10;
        // The half depth drawn at u along the left transition, from its joint end.
        auto half = [&](float u) {
            if (form->CoreType == "Cruciform") return b.D_j / 2 + (b.D_c - b.D_j) / 2 * u / b.L_t;
            if (form->CtypeText != "Bolted")
                return u < b.L_t - o ? b.D_c / 2 + (b.D_j - b.D_c) / 2 * (1 - u / (b.L_t - o)) : b.D_c / 2;
            return u < q ? b.D_j / 2 + (b.t_c / 2 + 10 - b.D_j / 2) * u / q : b.t_c / 2;
        };
        const float start = b.D_j / 2 + b.down_L_h;  // the side row's origin
        const float left = start + b.L_w + b.L_n + b.L_x;
        const float right = left + b.L_t + b.L_c;
        for (float f : {0.2f, 0.5f, 0.9f}) {
            SCOPED_TRACE(f);
            const float u = f * b.L_t;
            EXPECT_NEAR(DrawnHeight(left + u), half(u), 2 * MmPerPixel());
            // The right transition is the left one mirrored.
            EXPECT_NEAR(DrawnHeight(right + b.L_t - u), half(u), 2 * MmPerPixel());
        }
    }
}

TEST_F(DetailPicture, ACasingFillsItsWallAndBlanksOutItsInsideAroundTheCoreAndTheLxSegment) {
    // A welded cruciform core and a bolted flat one, in either casing.
    for (int flat_bolted : {0, 1})
        for (int casing : {0, 1}) {
            Choose(0, flat_bolted, flat_bolted, casing);
            Redraw();
            const bool circular = form->CasingType == "Circular";
            SCOPED_TRACE(form->CoreType + " " + form->CasingType);
            ASSERT_EQ(circular, casing == 0);
            const TBraceValues& b = form->BraceValues;
            ASSERT_GE(b.D_j, 100);
            const float start = b.D_j / 2 + b.down_L_h;
            const float y = 2.9f * b.D_j;
            const float lx = start + b.L_w + b.L_n + b.L_x / 2;
            const float core_middle = start + b.L_w + b.L_n + b.L_x + b.L_t + b.L_c / 2;
            const float wall = (b.D_t - b.t) / 2;
            const float px = MmPerPixel();
            for (float x : {core_middle, lx}) {
                // The square's corner: the square fills it, the circle leaves it.
                int drawn = 0;
                for (int dx = -1; dx <= 1; ++dx)
                    for (int dy = -1; dy <= 1; ++dy)
                        drawn += PixelOf(x + wall + dx * px, y + wall + dy * px) != Background();
                if (circular)
                    EXPECT_EQ(drawn, 0);
                else
                    EXPECT_GT(drawn, 0);
                // Inside the wall, clear of the plate and the ribs: the background
                // itself, blanked out over the wall's fill.
                EXPECT_EQ(PixelOf(x + 0.3f * b.D_t, y + 0.3f * b.D_t), Background());
                EXPECT_EQ(PixelOf(x - 0.3f * b.D_t, y - 0.3f * b.D_t), Background());
                // The plate at the middle is drawn over the blank.
                EXPECT_NE(PixelOf(x, y), Background());
                // Both walls reach the top of the section.
                int top = 0;
                for (int dy = -1; dy <= 1; ++dy) top += PixelOf(x, y + wall + dy * px) != Background();
                EXPECT_GT(top, 0);
            }
        }
}

TEST_F(DetailPicture, EveryFamilyCoreAndCasingDrawsWithoutErrorsAndTheSameTwice) {
    const char* cfgs[] = {"Diagonal", "Chevron"};
    const char* ctypes[] = {"Welded", "Bolted"};
    for (int cfg : {0, 1})
        for (int ctype : {0, 1})
            for (int core : {0, 1})
                for (int casing : {0, 1}) {
                    Choose(cfg, ctype, core, casing);
                    SCOPED_TRACE(std::string(cfgs[cfg]) + " " + ctypes[ctype] + " " + form->CoreType + " " +
                                 form->CasingType);
                    ASSERT_EQ(form->CfgText, cfgs[cfg]);
                    ASSERT_EQ(form->CtypeText, ctypes[ctype]);
                    Redraw();
                    const ui::PixelImage first = form->OpGLPanel2->Surface();
                    Redraw();
                    EXPECT_EQ(form->OpGLPanel2->Surface().rgba, first.rgba);
                    const int pixels = first.width * first.height;
                    EXPECT_GT(pixels - gl::CountPixels(first, Background()), pixels / 20);
                    // Bolts only on a bolted joint.
                    EXPECT_EQ(gl::CountPixels(first, gl::OpaqueColor(1, 1, 0)) > 0, ctype == 1);
                    ASSERT_TRUE(wglMakeCurrent(form->DetailDC, form->DetailRC));
                    GLint depth = 0;
                    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
                    EXPECT_EQ(depth, 1);
                    EXPECT_FALSE(glIsEnabled(GL_BLEND));
                    EXPECT_FALSE(glIsEnabled(GL_LINE_STIPPLE));
                    if (cfg == 1) {
                        EXPECT_EQ(form->BraceValues.D_j, form->SideValues["RIGHT"]["D_j"]);
                    }
                }
}

}  // namespace
