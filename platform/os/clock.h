#pragma once
// The process clock: milliseconds from a fixed start, in 32 bits that wrap
// about every 49.7 days, so durations are taken as unsigned differences.
#include <cstdint>

namespace os {

uint32_t ProcessClockMs();

// Test clock: from SetTestClockMs on, ProcessClockMs returns the set value
// (moved on by AdvanceTestClockMs, which leaves the real clock alone) until
// UseRealClock. Safe across threads.
void SetTestClockMs(uint32_t now);
void AdvanceTestClockMs(uint32_t milliseconds);
void UseRealClock();

}  // namespace os
