// The two views: palette, rendering contexts, the redraw cycle and the fits, and the
// window's create, paint and close.
#include <optional>

#include "app/DOVEREFORM.h"
#include "drawing/view_fit.h"
#include "platform/gl/gl.h"

namespace {

constexpr const char* kFormatNotFound = "像點格式選取失敗!!";
constexpr const char* kFormatNotSet = "像點格式設定失敗!!";

PIXELFORMATDESCRIPTOR WindowPixelFormat() {
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

// The panel's device context and a rendering context on it, current. False (after
// its message) when the panel's device context takes no pixel format.
bool MakeViewContext(TPanel* panel, HDC& dc, HGLRC& rc) {
    dc = GetDC(panel);
    const PIXELFORMATDESCRIPTOR pfd = WindowPixelFormat();
    const int format = ChoosePixelFormat(dc, &pfd);
    if (format == 0) {
        ShowMessage(kFormatNotFound);
        return false;
    }
    if (!SetPixelFormat(dc, format, &pfd)) {
        ShowMessage(kFormatNotSet);
        return false;
    }
    // A context that cannot be made leaves the view undrawn, without a message.
    rc = wglCreateContext(dc);
    wglMakeCurrent(dc, rc);
    glViewport(0, 0, panel->ClientWidth(), panel->ClientHeight());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glEnable(GL_POINT_SMOOTH);
    return true;
}

void ReleaseViewContext(TPanel* panel, HDC& dc, HGLRC& rc) {
    if (rc) wglDeleteContext(rc);
    if (dc) ReleaseDC(panel, dc);
    rc = nullptr;
    dc = nullptr;
}

// Clears the view and sets its projection: the fitted box, or the identity when the
// fit failed, which leaves only the background at millimetre scale.
void BeginView(const TGlPalette& palette, TPanel* panel, bool fitted, float width, float height) {
    const TGlColor& bg = palette.BackgroundColor;
    glClearColor(bg.R, bg.G, bg.B, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (fitted) glOrtho(0, width, 0, height, 0, 1000);
    glViewport(0, 0, panel->ClientWidth(), panel->ClientHeight());
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

}  // namespace

void DOVEREForm::InitGlPalette() {
    GlPalette.BackgroundColor = {0.732f, 0.888f, 0.928f, 1.0f};
    GlPalette.OutlineColor = {1.0f, 1.0f, 1.0f, 1.0f};
    GlPalette.LeftColumnColor = {1.0f, 1.0f, 0.0f, 0.5f};
    GlPalette.RightColumnColor = {1.0f, 0.5f, 0.8f, 0.5f};
    GlPalette.UpperBeamColor = {0.3f, 1.0f, 1.0f, 0.5f};
    GlPalette.LowerBeamColor = {0.8f, 0.1f, 0.7f, 0.4f};
    GlPalette.CoreColor = {1.0f, 0.0f, 0.3f, 0.9f};
    GlPalette.JointColor = {0.8f, 0.3f, 0.8f, 0.7f};
    GlPalette.LnColor = {0.2f, 1.0f, 1.0f, 0.8f};
    GlPalette.LxColor = {0.6f, 0.2f, 0.4f, 0.5f};
    GlPalette.TransitionColor = {0.6f, 1.0f, 1.0f, 0.6f};
    GlPalette.CasingColor = {0.6f, 0.6f, 0.6f, 0.5f};
    GlPalette.GussetColor = {0.5f, 0.7f, 1.0f, 1.0f};
    GlPalette.StiffenerColor = {0.25f, 0.35f, 0.5f, 1.0f};
    // The three line colours are given as RGB.
    GlPalette.L1LineColor = {0.0f, 0.0f, 1.0f, 1.0f};
    GlPalette.L2LineColor = {1.0f, 1.0f, 0.0f, 1.0f};
    GlPalette.L3LineColor = {1.0f, 0.0f, 1.0f, 1.0f};
    GlPalette.DashFactor = 3;
    GlPalette.DashPattern = 0x5555;
    ViewOffset[0] = ViewOffset[1] = ViewOffset[2] = 0.0f;
}

namespace {

// A failed fit leaves the box, the scales and the offsets as they were.
bool ApplyFit(const std::optional<TViewFit>& fit, DOVEREForm& f) {
    if (!fit) return false;
    f.ViewWidth = fit->Width;
    f.ViewHeight = fit->Height;
    f.ViewScaleX = fit->ScaleX;
    f.ViewScaleY = fit->ScaleY;
    f.ViewScale = fit->Scale;
    f.ViewOffset[0] = fit->OffsetX;
    f.ViewOffset[1] = fit->OffsetY;
    return true;
}

}  // namespace

bool DOVEREForm::FitFrameView() {
    return ApplyFit(FitFrameBox(OpGLPanel->ClientWidth(), OpGLPanel->ClientHeight(), FrameValues), *this);
}

bool DOVEREForm::FitDetailView() {
    const int cw = OpGLPanel2->ClientWidth(), ch = OpGLPanel2->ClientHeight();
    if (CfgText == "Chevron") return ApplyFit(FitChevronDetailBox(cw, ch, BraceValues, SideValues), *this);
    return ApplyFit(FitDiagonalDetailBox(cw, ch, BraceValues), *this);
}

void DOVEREForm::RedrawViews() {
    PickCount = 0;
    PickNames.clear();
    // Without a context (before the create handler) no context is current: the gl
    // calls do nothing, while the drawers still make their copies into the members.
    wglMakeCurrent(FrameDC, FrameRC);
    // Only the bay the held result was designed for is drawn; for another one both
    // views show the background, and the members keep the result's values.
    const bool drawn = ResultFitsBay();
    const bool fitted = drawn && FitFrameView();
    BeginView(GlPalette, OpGLPanel, fitted, ViewWidth, ViewHeight);
    glTranslatef(ViewOffset[0], ViewOffset[1], ViewOffset[2]);
    glDisable(GL_DEPTH_TEST);
    if (drawn) DrawFrameView();
    glFlush();
    SwapBuffers(FrameDC);
    DrawDetailView();
}

void DOVEREForm::DrawDetailView() {
    wglMakeCurrent(DetailDC, DetailRC);
    const bool drawn = ResultFitsBay();
    const bool fitted = drawn && FitDetailView();
    BeginView(GlPalette, OpGLPanel2, fitted, ViewWidth, ViewHeight);
    if (drawn && CfgText == "Chevron") {
        // The Chevron layout places itself from the box's left edge.
        glTranslatef(0.0f, ViewOffset[1], ViewOffset[2]);
        glDisable(GL_DEPTH_TEST);
        DrawChevronDetails();
    } else if (drawn) {
        glTranslatef(ViewOffset[0], ViewOffset[1], ViewOffset[2]);
        glDisable(GL_DEPTH_TEST);
        DrawDiagonalDetails();
    }
    glFlush();
    SwapBuffers(DetailDC);
}

void DOVEREForm::FormCreate(TObject*) {
    // A failure on the frame view leaves both views without a context.
    if (!MakeViewContext(OpGLPanel, FrameDC, FrameRC)) return;
    MakeViewContext(OpGLPanel2, DetailDC, DetailRC);
}

void DOVEREForm::FormPaint(TObject*) { RedrawViews(); }

void DOVEREForm::ReleaseViewContexts() {
    ReleaseViewContext(OpGLPanel, FrameDC, FrameRC);
    ReleaseViewContext(OpGLPanel2, DetailDC, DetailRC);
}

DOVEREForm::TViewContextRelease::~TViewContextRelease() { Form->ReleaseViewContexts(); }

void DOVEREForm::FormClose(TObject*, TCloseAction& Action) {
    // The identifier is dropped whatever the service answers; a failure shows the
    // connection message and the window closes all the same.
    RemoveClientId();
    ReleaseViewContexts();
    Action = caFree;
}

// The views take no mouse input.
void DOVEREForm::OpGLPanelMouseUp(TObject*, TMouseButton, TShiftState, int, int) {}
void DOVEREForm::OpGLPanelMouseMove(TObject*, TShiftState, int, int) {}
