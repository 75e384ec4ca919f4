#include "platform/os/clock.h"

#include <atomic>
#include <chrono>

namespace os {
namespace {

constexpr int64_t kRealClock = -1;
std::atomic<int64_t> test_clock{kRealClock};

}  // namespace

uint32_t ProcessClockMs() {
    int64_t set = test_clock.load();
    if (set != kRealClock) return static_cast<uint32_t>(set);
    auto since_start = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since_start).count());
}

void SetTestClockMs(uint32_t now) { test_clock.store(now); }

void AdvanceTestClockMs(uint32_t milliseconds) {
    int64_t expected = test_clock.load();
    while (expected != kRealClock &&
           !test_clock.compare_exchange_weak(
               expected, static_cast<uint32_t>(static_cast<uint32_t>(expected) + milliseconds))) {
    }
}

void UseRealClock() { test_clock.store(kRealClock); }

}  // namespace os
