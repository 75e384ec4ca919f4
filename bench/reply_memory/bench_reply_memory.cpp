// The memory that a long reply costs on top of the text it arrives as: the object
// cut of a 48 MB text (target: less than three times its size more), and a whole run
// send of a 48 MB reply through the window (GET, text, cut; target: within three
// times the reply's size), with a plain copy of the text as the peer. Counts what
// the measuring thread allocates through operator new while it measures; the local
// service's own threads are left out.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <new>
#include <string>

#include "service/service_link.h"
#include "support/form_environment.h"

namespace {

// Each block carries its size and the measurement it was allocated in (0: none).
struct alignas(16) BlockHead {
    std::size_t size;
    std::uint64_t measurement;
};
static_assert(sizeof(BlockHead) == 16);

std::atomic<std::uint64_t> g_measurement{0};
std::atomic<std::int64_t> g_live{0};
std::atomic<std::int64_t> g_peak{0};
thread_local bool t_measuring = false;

void* Allocate(std::size_t size) {
    auto* head = static_cast<BlockHead*>(std::malloc(sizeof(BlockHead) + size));
    if (!head) return nullptr;
    head->size = size;
    head->measurement = t_measuring ? g_measurement.load() : 0;
    if (head->measurement != 0) {
        const std::int64_t live = g_live += static_cast<std::int64_t>(size);
        std::int64_t peak = g_peak.load();
        while (live > peak && !g_peak.compare_exchange_weak(peak, live)) {
        }
    }
    return head + 1;
}

void Release(void* block) noexcept {
    if (!block) return;
    BlockHead* head = static_cast<BlockHead*>(block) - 1;
    if (head->measurement != 0 && head->measurement == g_measurement.load())
        g_live -= static_cast<std::int64_t>(head->size);
    std::free(head);
}

// The peak of what the calling thread allocated, and still held, while it lived.
class Measurement {
public:
    Measurement() {
        g_live = 0;
        g_peak = 0;
        g_measurement.fetch_add(1);
        t_measuring = true;
    }
    ~Measurement() { t_measuring = false; }
    std::int64_t Peak() const { return g_peak.load(); }
};

constexpr std::size_t kTextBytes = 48u << 20;

// An object reply as the service wraps it, and its text after the 11-byte skip.
std::string ObjectValue() {
    std::string value = "{\"Note\":\"";
    value.append(kTextBytes - value.size() - 2, 'x');
    value += "\"}";
    return value;
}

std::map<std::string, double> g_extra;  // peak extra bytes per byte of text, by name

void BM_CopyText(benchmark::State& state) {
    const std::string text = ObjectValue() + "]}";
    std::int64_t peak = 0;
    for (auto _ : state) {
        Measurement m;
        std::string copy = text;
        benchmark::DoNotOptimize(copy.data());
        peak = std::max(peak, m.Peak());
    }
    g_extra["copy"] = static_cast<double>(peak) / static_cast<double>(text.size());
    state.counters["extra_per_byte"] = g_extra["copy"];
}

void BM_RewrapObject(benchmark::State& state) {
    const std::string text = ObjectValue() + "]}";
    std::int64_t peak = 0;
    for (auto _ : state) {
        Measurement m;
        std::string object = service_link::RewrapObject(text);
        benchmark::DoNotOptimize(object.data());
        peak = std::max(peak, m.Peak());
    }
    g_extra["cut"] = static_cast<double>(peak) / static_cast<double>(text.size());
    state.counters["extra_per_byte"] = g_extra["cut"];
}

testing_support::FormEnvironment* g_env = nullptr;
DOVEREForm* g_form = nullptr;

void BM_SendRunRequest(benchmark::State& state) {
    const std::string reply = "{\"result\":[" + ObjectValue() + "]}";
    std::int64_t peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        g_env->Service().FailNextRequest(testing_support::ReplyFault(reply));
        g_form->ReplyText.clear();
        g_form->ReplyText.shrink_to_fit();
        state.ResumeTiming();
        {
            Measurement m;
            if (!g_form->SendRunRequest()) state.SkipWithError("the send failed");
            peak = std::max(peak, m.Peak());
        }
        g_env->Service().ClearRequestTargets();
    }
    // What stays is the reply text itself; the rest came and went.
    g_extra["send"] = static_cast<double>(peak) / static_cast<double>(reply.size());
    state.counters["peak_per_byte"] = g_extra["send"];
}

}  // namespace

void* operator new(std::size_t size) {
    if (void* p = Allocate(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }

int main(int argc, char** argv) {
    int code = 0;
    {
        testing_support::FormEnvironment env;
        g_env = &env;
        g_form = env.Create();
        if (!g_form || !g_form->HaveResult) {
            std::fprintf(stderr, "the window's first design read no result\n");
            return 1;
        }
        env.Headless().TakeBoxes();
        benchmark::RegisterBenchmark("BM_CopyText", BM_CopyText)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_RewrapObject", BM_RewrapObject)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_SendRunRequest", BM_SendRunRequest)->Unit(benchmark::kMillisecond);
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        if (g_extra.count("copy") && g_extra.count("cut") && g_extra.count("send")) {
            const bool cut_ok = g_extra["cut"] < 3.0;
            const bool send_ok = g_extra["send"] <= 3.0;
            std::printf("48 MB text: a copy takes %.2fx its size more, the object cut %.2fx (target below 3)%s\n",
                        g_extra["copy"], g_extra["cut"], cut_ok ? "" : "  OVER");
            std::printf("48 MB reply: the run send peaks at %.2fx its size (target within 3)%s\n", g_extra["send"],
                        send_ok ? "" : "  OVER");
            code = cut_ok && send_ok ? 0 : 2;
        }
    }
    return code;
}
