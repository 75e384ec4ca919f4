#pragma once
// A panel with a rendering context made as the window's create handler makes it.
#include <gtest/gtest.h>

#include "platform/gl/gl.h"
#include "platform/ui/controls.h"

namespace gl_test {

// 0x25 flags, RGBA, 32 colour and 24 depth bits, every other field 0.
inline PIXELFORMATDESCRIPTOR WindowDescriptor() {
    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    pfd.cDepthBits = 24;
    pfd.iLayerType = PFD_MAIN_PLANE;
    return pfd;
}

struct View {
    TPanel panel{nullptr};
    HDC dc = nullptr;
    HGLRC rc = nullptr;

    View(int width, int height) {
        panel.SetBounds(8, 235, width, height);
        dc = GetDC(&panel);
        const PIXELFORMATDESCRIPTOR pfd = WindowDescriptor();
        const int format = ChoosePixelFormat(dc, &pfd);
        EXPECT_NE(format, 0);
        EXPECT_TRUE(SetPixelFormat(dc, format, &pfd));
        rc = wglCreateContext(dc);
        EXPECT_NE(rc, nullptr);
        EXPECT_TRUE(wglMakeCurrent(dc, rc));
        glViewport(0, 0, panel.ClientWidth(), panel.ClientHeight());
    }
    ~View() {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(rc);
        ReleaseDC(&panel, dc);
    }
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    // World units are the panel's pixels, origin at the lower-left corner.
    void PixelProjection() {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, panel.ClientWidth(), 0, panel.ClientHeight(), 0, 1000);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
};

inline void FillRect(float x0, float y0, float x1, float y1) {
    glBegin(GL_QUADS);
    glVertex2f(x0, y0);
    glVertex2f(x1, y0);
    glVertex2f(x1, y1);
    glVertex2f(x0, y1);
    glEnd();
}

}  // namespace gl_test
