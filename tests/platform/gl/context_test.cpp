#include <gtest/gtest.h>

#include <thread>

#include "platform/gl/gl.h"
#include "platform/gl/testing.h"
#include "view_fixture.h"

namespace {

using gl::OpaqueColor;
using gl::PixelAt;
using gl_test::FillRect;
using gl_test::View;
using gl_test::WindowDescriptor;

TEST(GlContext, ClearAndSwapFillEveryPixelOfThePanel) {
    View view(409, 294);
    glClearColor(0.732f, 0.888f, 0.928f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    ASSERT_TRUE(SwapBuffers(view.dc));

    const ui::PixelImage& image = view.panel.Surface();
    ASSERT_EQ(image.width, 409);
    ASSERT_EQ(image.height, 294);
    EXPECT_EQ(gl::CountPixels(image, OpaqueColor(0.732f, 0.888f, 0.928f)), 409 * 294);

    // Whatever alpha the drawing leaves, the panel shows the colour opaque.
    const auto revision = view.panel.SurfaceRevision();
    glClearColor(0.2f, 0.4f, 0.6f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    ASSERT_TRUE(SwapBuffers(view.dc));
    EXPECT_EQ(view.panel.SurfaceRevision(), revision + 1);
    EXPECT_EQ(gl::CountPixels(view.panel.Surface(), OpaqueColor(0.2f, 0.4f, 0.6f)), 409 * 294);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(GlContext, WorldBottomIsTheSurfaceBottom) {
    View view(409, 294);
    view.PixelProjection();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 0, 0);
    FillRect(0, 0, 20, 10);  // lower-left corner of the world
    glColor3f(0, 1, 0);
    FillRect(399, 284, 409, 294);  // upper-right
    ASSERT_TRUE(SwapBuffers(view.dc));

    const ui::PixelImage& image = view.panel.Surface();
    const gl::Rgba red = OpaqueColor(1, 0, 0), green = OpaqueColor(0, 1, 0), black = OpaqueColor(0, 0, 0);
    // Surface rows count from the top: the 10 bottom rows are 284 to 293.
    EXPECT_EQ(PixelAt(image, 0, 293), red);
    EXPECT_EQ(PixelAt(image, 19, 284), red);
    EXPECT_EQ(PixelAt(image, 0, 283), black);
    EXPECT_EQ(PixelAt(image, 20, 293), black);
    EXPECT_EQ(PixelAt(image, 0, 0), black);
    EXPECT_EQ(PixelAt(image, 408, 0), green);
    EXPECT_EQ(PixelAt(image, 399, 9), green);
    EXPECT_EQ(PixelAt(image, 408, 10), black);
    EXPECT_EQ(gl::CountPixels(image, red), 200);
    EXPECT_EQ(gl::CountPixels(image, green), 100);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(GlContext, TwoPanelsKeepTheirOwnPictures) {
    View frame(409, 294);
    View detail(779, 196);
    const float shades[] = {0.25f, 0.5f, 0.75f};
    for (float shade : shades) {
        ASSERT_TRUE(wglMakeCurrent(frame.dc, frame.rc));
        frame.PixelProjection();
        glClearColor(shade, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glColor3f(1, 1, 1);
        FillRect(0, 0, 10, 10);
        glFlush();
        ASSERT_TRUE(SwapBuffers(frame.dc));

        ASSERT_TRUE(wglMakeCurrent(detail.dc, detail.rc));
        detail.PixelProjection();
        glClearColor(0, 0, shade, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glFlush();
        ASSERT_TRUE(SwapBuffers(detail.dc));

        const ui::PixelImage& f = frame.panel.Surface();
        const ui::PixelImage& d = detail.panel.Surface();
        ASSERT_EQ(d.width, 779);
        ASSERT_EQ(d.height, 196);
        EXPECT_EQ(gl::CountPixels(f, OpaqueColor(shade, 0, 0)), 409 * 294 - 100);
        EXPECT_EQ(gl::CountPixels(f, OpaqueColor(1, 1, 1)), 100);
        EXPECT_EQ(gl::CountPixels(d, OpaqueColor(0, 0, shade)), 779 * 196);
    }

    // Switching away in the middle of a picture keeps what was drawn so far.
    ASSERT_TRUE(wglMakeCurrent(frame.dc, frame.rc));
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    ASSERT_TRUE(wglMakeCurrent(detail.dc, detail.rc));
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    ASSERT_TRUE(wglMakeCurrent(frame.dc, frame.rc));
    glColor3f(0, 0, 1);
    FillRect(0, 0, 10, 10);
    ASSERT_TRUE(SwapBuffers(frame.dc));
    EXPECT_EQ(gl::CountPixels(frame.panel.Surface(), OpaqueColor(1, 0, 0)), 409 * 294 - 100);
    EXPECT_EQ(gl::CountPixels(frame.panel.Surface(), OpaqueColor(0, 0, 1)), 100);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    ASSERT_TRUE(wglMakeCurrent(detail.dc, detail.rc));
    ASSERT_TRUE(SwapBuffers(detail.dc));
    EXPECT_EQ(gl::CountPixels(detail.panel.Surface(), OpaqueColor(0, 1, 0)), 779 * 196);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(GlContext, PixelFormatIsRefusedForWhatTheRendererLacks) {
    TPanel panel(nullptr);
    panel.SetBounds(0, 0, 40, 30);
    HDC dc = GetDC(&panel);
    ASSERT_NE(dc, nullptr);
    const PIXELFORMATDESCRIPTOR wanted = WindowDescriptor();
    EXPECT_EQ(ChoosePixelFormat(dc, &wanted), 1);

    PIXELFORMATDESCRIPTOR modest = wanted;
    modest.cColorBits = 24, modest.cDepthBits = 16, modest.cStencilBits = 8, modest.cAlphaBits = 8;
    EXPECT_EQ(ChoosePixelFormat(dc, &modest), 1);

    struct Case {
        const char* what;
        void (*change)(PIXELFORMATDESCRIPTOR&);
    };
    const Case refused[] = {
        {"size", [](PIXELFORMATDESCRIPTOR& p) { p.nSize = 36; }},
        {"version", [](PIXELFORMATDESCRIPTOR& p) { p.nVersion = 2; }},
        {"no OpenGL", [](PIXELFORMATDESCRIPTOR& p) { p.dwFlags = PFD_DRAW_TO_WINDOW | PFD_DOUBLEBUFFER; }},
        {"GDI drawing", [](PIXELFORMATDESCRIPTOR& p) { p.dwFlags |= 0x10; }},
        {"bitmap drawing", [](PIXELFORMATDESCRIPTOR& p) { p.dwFlags |= 0x08; }},
        {"stereo", [](PIXELFORMATDESCRIPTOR& p) { p.dwFlags |= 0x02; }},
        {"colour index", [](PIXELFORMATDESCRIPTOR& p) { p.iPixelType = 1; }},
        {"overlay plane", [](PIXELFORMATDESCRIPTOR& p) { p.iLayerType = 1; }},
        {"48 colour bits", [](PIXELFORMATDESCRIPTOR& p) { p.cColorBits = 48; }},
        {"16 red bits", [](PIXELFORMATDESCRIPTOR& p) { p.cRedBits = 16; }},
        {"32 depth bits", [](PIXELFORMATDESCRIPTOR& p) { p.cDepthBits = 32; }},
        {"16 stencil bits", [](PIXELFORMATDESCRIPTOR& p) { p.cStencilBits = 16; }},
        {"accumulation", [](PIXELFORMATDESCRIPTOR& p) { p.cAccumBits = 32; }},
        {"auxiliary buffers", [](PIXELFORMATDESCRIPTOR& p) { p.cAuxBuffers = 1; }},
    };
    for (const Case& c : refused) {
        PIXELFORMATDESCRIPTOR pfd = wanted;
        c.change(pfd);
        EXPECT_EQ(ChoosePixelFormat(dc, &pfd), 0) << c.what;
    }
    EXPECT_EQ(ChoosePixelFormat(dc, nullptr), 0);
    EXPECT_EQ(ChoosePixelFormat(nullptr, &wanted), 0);

    EXPECT_FALSE(SetPixelFormat(dc, 0, &wanted));
    EXPECT_FALSE(SetPixelFormat(dc, 2, &wanted));
    EXPECT_EQ(wglCreateContext(dc), nullptr) << "no format set yet";
    EXPECT_TRUE(SetPixelFormat(dc, 1, &wanted));
    EXPECT_TRUE(SetPixelFormat(dc, 1, nullptr));
    EXPECT_EQ(ReleaseDC(&panel, dc), 1);
    EXPECT_FALSE(SetPixelFormat(dc, 1, &wanted));
    EXPECT_EQ(ChoosePixelFormat(dc, &wanted), 0);
}

// The device context of a panel of that size, with its format set.
HDC FormattedDc(TPanel& panel, int width, int height) {
    panel.SetBounds(0, 0, width, height);
    HDC dc = GetDC(&panel);
    const PIXELFORMATDESCRIPTOR pfd = WindowDescriptor();
    EXPECT_TRUE(SetPixelFormat(dc, ChoosePixelFormat(dc, &pfd), &pfd));
    return dc;
}

TEST(GlContext, NoContextForAPanelWithoutClientAreaOrTooLarge) {
    const int sizes[][2] = {{0, 294}, {409, 0}, {0, 0}, {-5, 10}, {16385, 10}, {10, 20000}};
    for (const auto& size : sizes) {
        TPanel panel(nullptr);
        HDC dc = FormattedDc(panel, size[0], size[1]);
        EXPECT_EQ(wglCreateContext(dc), nullptr) << size[0] << " x " << size[1];
        EXPECT_FALSE(SwapBuffers(dc));
        EXPECT_TRUE(panel.Surface().Empty());
        ReleaseDC(&panel, dc);
    }
    EXPECT_EQ(GetDC(nullptr), nullptr);
    EXPECT_EQ(wglCreateContext(nullptr), nullptr);
}

TEST(GlContext, StaleHandlesAreRefused) {
    View a(40, 30);
    View b(50, 20);

    // A context belongs to its panel's device contexts; a second one of the same
    // panel serves as well.
    EXPECT_FALSE(wglMakeCurrent(b.dc, a.rc));
    EXPECT_FALSE(SwapBuffers(a.dc)) << "a failed make-current leaves none current";
    HDC again = GetDC(&a.panel);
    ASSERT_TRUE(SetPixelFormat(again, 1, nullptr));
    EXPECT_TRUE(wglMakeCurrent(again, a.rc));
    EXPECT_TRUE(wglMakeCurrent(again, a.rc));
    EXPECT_TRUE(SwapBuffers(a.dc));
    EXPECT_FALSE(SwapBuffers(b.dc)) << "b's panel has no current context";
    EXPECT_EQ(ReleaseDC(&b.panel, again), 0) << "taken from another panel";
    EXPECT_EQ(ReleaseDC(&a.panel, again), 1);
    EXPECT_EQ(ReleaseDC(&a.panel, again), 0);
    EXPECT_FALSE(wglMakeCurrent(again, a.rc));

    // A deleted context cannot be made current or deleted again.
    TPanel panel(nullptr);
    HDC dc = FormattedDc(panel, 30, 20);
    HGLRC rc = wglCreateContext(dc);
    ASSERT_NE(rc, nullptr);
    ASSERT_TRUE(wglMakeCurrent(dc, rc));
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    ASSERT_TRUE(SwapBuffers(dc));
    EXPECT_TRUE(wglDeleteContext(rc));
    EXPECT_FALSE(SwapBuffers(dc)) << "deleting the current context leaves none current";
    EXPECT_FALSE(wglMakeCurrent(dc, rc));
    EXPECT_FALSE(wglDeleteContext(rc));
    EXPECT_FALSE(wglDeleteContext(nullptr));
    EXPECT_FALSE(wglMakeCurrent(dc, reinterpret_cast<HGLRC>(dc))) << "a device context is no rendering context";

    // With no context current, OpenGL calls do nothing and the panel keeps its picture.
    EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glFlush();
    EXPECT_FALSE(SwapBuffers(dc));
    EXPECT_EQ(gl::CountPixels(panel.Surface(), OpaqueColor(0, 1, 0)), 30 * 20);
    ReleaseDC(&panel, dc);
}

TEST(GlContext, AContextIsCurrentOnOneThreadAtATime) {
    View view(40, 30);
    bool made_current = true, deleted = true, own = false;
    std::thread other([&] {
        made_current = wglMakeCurrent(view.dc, view.rc);
        deleted = wglDeleteContext(view.rc);
        // The other thread's own context works beside it.
        TPanel panel(nullptr);
        HDC dc = FormattedDc(panel, 20, 10);
        HGLRC rc = wglCreateContext(dc);
        own = wglMakeCurrent(dc, rc) && SwapBuffers(dc) && wglDeleteContext(rc);
        ReleaseDC(&panel, dc);
    });
    other.join();
    EXPECT_FALSE(made_current);
    EXPECT_FALSE(deleted);
    EXPECT_TRUE(own);
    EXPECT_TRUE(SwapBuffers(view.dc)) << "still current here";
}

TEST(GlContext, RecreatingContextsGivesEveryHandleBack) {
    const int dcs = gl::LiveDeviceContexts();
    const int rcs = gl::LiveRenderingContexts();
    for (int i = 0; i < 25; ++i) {
        View frame(409, 294);
        View detail(779, 196);
        glClearColor(0.1f * (i % 10), 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        ASSERT_TRUE(SwapBuffers(detail.dc));
        EXPECT_EQ(gl::LiveDeviceContexts(), dcs + 2);
        EXPECT_EQ(gl::LiveRenderingContexts(), rcs + 2);
    }
    EXPECT_EQ(gl::LiveDeviceContexts(), dcs);
    EXPECT_EQ(gl::LiveRenderingContexts(), rcs);
}

}  // namespace
