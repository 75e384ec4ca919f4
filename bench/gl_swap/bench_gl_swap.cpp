// The fixed cost of one view's redraw: clear and swap into the panel's image, at the
// two panel sizes of the main window. The peer clears and finishes without the swap,
// so the difference is the copy into the panel.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "platform/gl/gl.h"
#include "platform/ui/controls.h"

namespace {

struct Context {
    TPanel panel{nullptr};
    HDC dc = nullptr;
    HGLRC rc = nullptr;

    Context(int width, int height) {
        panel.SetBounds(0, 0, width, height);
        dc = GetDC(&panel);
        PIXELFORMATDESCRIPTOR pfd{};
        pfd.nSize = sizeof pfd;
        pfd.nVersion = 1;
        pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        pfd.iPixelType = PFD_TYPE_RGBA;
        pfd.cColorBits = 32;
        pfd.cDepthBits = 24;
        SetPixelFormat(dc, ChoosePixelFormat(dc, &pfd), &pfd);
        rc = wglCreateContext(dc);
    }
    ~Context() {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(rc);
        ReleaseDC(&panel, dc);
    }
};

void Clear() {
    glClearColor(0.732f, 0.888f, 0.928f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void BM_ClearAndSwap(benchmark::State& state) {
    Context view(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    if (!view.rc || !wglMakeCurrent(view.dc, view.rc)) return state.SkipWithError("no rendering context");
    for (auto _ : state) {
        Clear();
        glFlush();
        SwapBuffers(view.dc);
    }
}

void BM_ClearAndFinish(benchmark::State& state) {
    Context view(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    if (!view.rc || !wglMakeCurrent(view.dc, view.rc)) return state.SkipWithError("no rendering context");
    for (auto _ : state) {
        Clear();
        glFinish();
    }
}

// Both views in turn, as every redraw does.
void BM_BothViewsClearAndSwap(benchmark::State& state) {
    Context frame(409, 294), detail(779, 196);
    if (!frame.rc || !detail.rc) return state.SkipWithError("no rendering context");
    for (auto _ : state) {
        wglMakeCurrent(frame.dc, frame.rc);
        Clear();
        SwapBuffers(frame.dc);
        wglMakeCurrent(detail.dc, detail.rc);
        Clear();
        SwapBuffers(detail.dc);
    }
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Args({409, 294})->Args({779, 196})->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_ClearAndSwap)->Apply(Sizes);
BENCHMARK(BM_ClearAndFinish)->Apply(Sizes);
BENCHMARK(BM_BothViewsClearAndSwap)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);  // write nothing to the home folder
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
