// A redraw of both views (RedrawViews) after a Diagonal and after a Chevron result,
// every layer on, against the peer that only clears and swaps both panels: the
// difference is the drawing itself. Prints the median per redraw against its
// target (below 10 ms) and exits 2 when a median misses it.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "platform/gl/gl.h"
#include "support/form_environment.h"

namespace {

constexpr double kTargetMs = 10.0;

testing_support::FormEnvironment* g_env = nullptr;
DOVEREForm* g_form = nullptr;

void ShowEveryLayer(DOVEREForm& f) { f.ShowFrame = f.ShowRL = f.ShowBRB = f.ShowGusset = f.ShowLr = true; }

void Choose(int cfg) {
    if (g_form->ComboBox_cfg->ItemIndex() == cfg) return;
    g_form->ComboBox_cfg->SetItemIndex(cfg);
    ui::Dispatch([] { g_form->ComboBox_cfgChange(g_form->ComboBox_cfg); });
    g_env->Headless().TakeBoxes();
}

void Redraw(benchmark::State& state, int cfg) {
    Choose(cfg);
    if (!g_form->HaveResult) return state.SkipWithError("no result to draw");
    ShowEveryLayer(*g_form);
    for (auto _ : state) g_form->RedrawViews();
}

void BM_RedrawDiagonal(benchmark::State& state) { Redraw(state, 0); }
void BM_RedrawChevron(benchmark::State& state) { Redraw(state, 1); }

void Clear(const TGlPalette& palette) {
    const TGlColor& bg = palette.BackgroundColor;
    glClearColor(bg.R, bg.G, bg.B, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glFlush();
}

void BM_ClearAndSwapBoth(benchmark::State& state) {
    DOVEREForm& f = *g_form;
    for (auto _ : state) {
        wglMakeCurrent(f.FrameDC, f.FrameRC);
        Clear(f.GlPalette);
        SwapBuffers(f.FrameDC);
        wglMakeCurrent(f.DetailDC, f.DetailRC);
        Clear(f.GlPalette);
        SwapBuffers(f.DetailDC);
    }
}

class TargetReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (!run.error_occurred && run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medians_ms_[run.run_name.function_name] = run.GetAdjustedRealTime() *
                                                  benchmark::GetTimeUnitMultiplier(benchmark::kMillisecond) /
                                                  benchmark::GetTimeUnitMultiplier(run.time_unit);
        ConsoleReporter::ReportRuns(runs);
    }
    bool Summary() const {
        bool met = true;
        const auto peer = medians_ms_.find("BM_ClearAndSwapBoth");
        for (const char* name : {"BM_RedrawDiagonal", "BM_RedrawChevron"}) {
            const auto it = medians_ms_.find(name);
            if (it == medians_ms_.end()) continue;
            const bool ok = it->second < kTargetMs;
            met = met && ok;
            std::printf("%s: median %.3f ms per redraw (target below %.0f ms)%s", name, it->second, kTargetMs,
                        ok ? "" : "  OVER");
            if (peer != medians_ms_.end()) std::printf(", clear and swap alone %.3f ms", peer->second);
            std::printf("\n");
        }
        return met;
    }

private:
    std::map<std::string, double> medians_ms_;
};

}  // namespace

int main(int argc, char** argv) {
    testing_support::FormEnvironment env;
    g_env = &env;
    g_form = env.Create();
    if (!g_form || !g_form->HaveResult || !g_form->FrameRC || !g_form->DetailRC) {
        std::fprintf(stderr, "the window has no first design or no rendering contexts\n");
        return 1;
    }
    env.Headless().TakeBoxes();
    for (auto [name, fn] : {std::pair{"BM_ClearAndSwapBoth", &BM_ClearAndSwapBoth},
                            std::pair{"BM_RedrawDiagonal", &BM_RedrawDiagonal},
                            std::pair{"BM_RedrawChevron", &BM_RedrawChevron}})
        benchmark::RegisterBenchmark(name, fn)
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(9)
            ->ReportAggregatesOnly(true);
    benchmark::Initialize(&argc, argv);
    TargetReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.Summary() ? 0 : 2;
}
