#include "platform/os/clock.h"

#include <gtest/gtest.h>

#include "platform/os/thread.h"

namespace {

TEST(ProcessClock, TestClockIsSetAdvancedAndWrapsIn32Bits) {
    os::SetTestClockMs(100);
    EXPECT_EQ(os::ProcessClockMs(), 100u);
    os::AdvanceTestClockMs(50);
    EXPECT_EQ(os::ProcessClockMs(), 150u);

    os::SetTestClockMs(0xFFFFFFF0u);
    const uint32_t start = os::ProcessClockMs();
    os::AdvanceTestClockMs(0x20);
    EXPECT_EQ(os::ProcessClockMs(), 0x10u);
    EXPECT_EQ(os::ProcessClockMs() - start, 0x20u);
    os::UseRealClock();
}

TEST(ProcessClock, RealClockCountsMilliseconds) {
    os::UseRealClock();
    const uint32_t before = os::ProcessClockMs();
    os::AdvanceTestClockMs(100000);  // no test clock: nothing to move
    TThread::Sleep(30);
    const uint32_t elapsed = os::ProcessClockMs() - before;
    EXPECT_GE(elapsed, 30u);
    EXPECT_LT(elapsed, 100000u);
}

}  // namespace
