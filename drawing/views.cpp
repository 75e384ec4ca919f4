// The two views: palette, redraw cycle, and the window's create, paint and close.
#include "app/DOVEREFORM.h"

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

void DOVEREForm::RedrawViews() {
    PickCount = 0;
    PickNames.clear();
    // Nothing is drawn until the views have rendering contexts.
}

void DOVEREForm::FormCreate(TObject*) {}

void DOVEREForm::FormPaint(TObject*) { RedrawViews(); }

void DOVEREForm::FormClose(TObject*, TCloseAction& Action) {
    // The identifier is dropped whatever the service answers; a failure shows the
    // connection message and the window closes all the same.
    RemoveClientId();
    Action = caFree;
}

// The views take no mouse input.
void DOVEREForm::OpGLPanelMouseUp(TObject*, TMouseButton, TShiftState, int, int) {}
void DOVEREForm::OpGLPanelMouseMove(TObject*, TShiftState, int, int) {}
