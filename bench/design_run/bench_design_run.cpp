// One design against the in-process service over loopback: the whole RunDesign, the
// client's own share of it (request, result reading, what it fills), its round trip
// through our HTTP layer, and a bare libcurl GET of the same URL. Prints the
// client's share per design (target below 1 ms) and the round trip against the bare
// GET (target within 2x). The two redraws of a run are left out of the share: the
// views have their own benchmark (bench/redraw) and target.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <cstdio>
#include <map>
#include <string>

#include "support/form_environment.h"

namespace {

testing_support::FormEnvironment* g_env = nullptr;
DOVEREForm* g_form = nullptr;
std::string g_reply;  // a run's reply as the sender leaves it
std::string g_target;

void BM_RunDesign(benchmark::State& state) {
    for (auto _ : state) {
        if (!g_form->RunDesign()) state.SkipWithError("the run read no result");
        g_env->Headless().TakeBoxes();
        g_env->Service().ClearRequestTargets();
    }
}

// Everything RunDesign does besides the send.
void BM_ClientShare(benchmark::State& state) {
    for (auto _ : state) {
        g_form->BuildRunRequest();
        g_form->UrlTail = g_form->RequestText;
        g_form->ReplyText = g_reply;
        if (!g_form->ReadRunResult()) state.SkipWithError("the reply did not read");
        g_form->CommitPendingFrameEdits();
        g_form->CommitPendingAdjustEdits();
        benchmark::DoNotOptimize(g_form->FailedCheckCount);
    }
}

// The send alone: URL, HTTP client, GET, unwrapping.
void BM_SendRunRequest(benchmark::State& state) {
    for (auto _ : state) {
        if (!g_form->SendRunRequest()) state.SkipWithError("the send failed");
        g_env->Service().ClearRequestTargets();
    }
}

size_t Discard(char*, size_t size, size_t count, void* total) {
    *static_cast<size_t*>(total) += size * count;
    return size * count;
}

// The same GET as the client: a new handle and a fresh connection each time.
void BM_BareCurlGet(benchmark::State& state) {
    const std::string origin = "http://127.0.0.1:" + std::to_string(g_env->Service().Port()) + "/";
    for (auto _ : state) {
        CURL* h = curl_easy_init();
        size_t bytes = 0;
        curl_easy_setopt(h, CURLOPT_URL, origin.c_str());
        curl_easy_setopt(h, CURLOPT_REQUEST_TARGET, g_target.c_str());
        curl_easy_setopt(h, CURLOPT_FRESH_CONNECT, 1L);
        curl_easy_setopt(h, CURLOPT_FORBID_REUSE, 1L);
        curl_easy_setopt(h, CURLOPT_PROXY, "");
        curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &Discard);
        curl_easy_setopt(h, CURLOPT_WRITEDATA, &bytes);
        long status = 0;
        if (curl_easy_perform(h) != CURLE_OK ||
            (curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status), status != 200))
            state.SkipWithError("the bare GET failed");
        curl_easy_cleanup(h);
        benchmark::DoNotOptimize(bytes);
    }
    g_env->Service().ClearRequestTargets();
}

class ShareReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const std::string name = run.run_name.str();
            if (run.run_type == Run::RT_Iteration && !medians_.count(name)) times_ms_[name] = Ms(run);
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                times_ms_[name] = Ms(run);
                medians_[name] = true;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    bool Summary() const {
        const auto full = times_ms_.find("BM_RunDesign");
        const auto share = times_ms_.find("BM_ClientShare");
        const auto send = times_ms_.find("BM_SendRunRequest");
        const auto bare = times_ms_.find("BM_BareCurlGet");
        if (full == times_ms_.end() || share == times_ms_.end() || send == times_ms_.end() ||
            bare == times_ms_.end())
            return true;
        const double ratio = send->second / bare->second;
        std::printf("client's own share per design: %.3f ms (target below 1 ms)%s\n", share->second,
                    share->second < 1.0 ? "" : "  OVER");
        std::printf("round trip / bare GET: %.3f ms / %.3f ms = %.2f (target within 2)%s\n", send->second,
                    bare->second, ratio, ratio <= 2.0 ? "" : "  OVER");
        std::printf("whole RunDesign with its two redraws: %.3f ms\n", full->second);
        return share->second < 1.0 && ratio <= 2.0;
    }

private:
    static double Ms(const Run& run) {
        return run.GetAdjustedRealTime() * benchmark::GetTimeUnitMultiplier(benchmark::kMillisecond) /
               benchmark::GetTimeUnitMultiplier(run.time_unit);
    }
    std::map<std::string, double> times_ms_;
    std::map<std::string, bool> medians_;
};

}  // namespace

int main(int argc, char** argv) {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    int code = 0;
    {
        testing_support::FormEnvironment env;
        g_env = &env;
        g_form = env.Create();
        if (!g_form || !g_form->HaveResult) {
            std::fprintf(stderr, "the window's first design read no result\n");
            return 1;
        }
        g_reply = g_form->ReplyText;
        g_target = g_form->RunPath + g_form->UrlTail;
        env.Headless().TakeBoxes();

        benchmark::RegisterBenchmark("BM_RunDesign", BM_RunDesign)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_ClientShare", BM_ClientShare)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_SendRunRequest", BM_SendRunRequest)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_BareCurlGet", BM_BareCurlGet)->Unit(benchmark::kMillisecond);
        benchmark::Initialize(&argc, argv);
        ShareReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        benchmark::Shutdown();
        code = reporter.Summary() ? 0 : 2;
    }
    curl_global_cleanup();
    return code;
}
