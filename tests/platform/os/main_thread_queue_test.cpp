#include "platform/os/main_thread_queue.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/os/clock.h"
#include "platform/os/thread.h"
#include "platform/text/number_text.h"
#include "platform/text/regional.h"
#include "wait_until.h"

namespace {

class MainThreadQueue : public ::testing::Test {
protected:
    void SetUp() override {
        while (os::RunQueuedCalls() > 0 || os::QueuedCallCount() > 0) {
        }
    }
};

TEST_F(MainThreadQueue, RunsCallsInOrderAndSkipsThoseWhoseOwnerIsGone) {
    auto form = std::make_shared<int>(0);
    auto closed = std::make_shared<int>(0);
    std::vector<std::string> ran;
    os::QueueCall(form, [&] { ran.push_back("a"); });
    os::QueueCall(closed, [&] { ran.push_back("gone"); });
    os::QueueCall(form, [&] { ran.push_back("b"); });
    EXPECT_EQ(os::QueuedCallCount(), 3);
    closed.reset();

    EXPECT_EQ(os::RunQueuedCalls(), 2);
    EXPECT_EQ(ran, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(os::QueuedCallCount(), 0);
}

TEST_F(MainThreadQueue, DropsThePendingCallsOfOneOwner) {
    auto form = std::make_shared<int>(0);
    auto other = std::make_shared<int>(0);
    int form_calls = 0;
    int other_calls = 0;
    os::QueueCall(form, [&] { ++form_calls; });
    os::QueueCall(other, [&] { ++other_calls; });
    os::QueueCall(form, [&] { ++form_calls; });
    os::DropQueuedCalls(form);
    EXPECT_EQ(os::QueuedCallCount(), 1);
    EXPECT_EQ(os::RunQueuedCalls(), 1);
    EXPECT_EQ(form_calls, 0);
    EXPECT_EQ(other_calls, 1);
}

TEST_F(MainThreadQueue, CallsQueuedDuringAPassWaitForTheNext) {
    auto form = std::make_shared<int>(0);
    int runs = 0;
    os::QueueCall(form, [&] {
        ++runs;
        os::QueueCall(form, [&] { ++runs; });
    });
    EXPECT_EQ(os::RunQueuedCalls(), 1);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(os::RunQueuedCalls(), 1);
    EXPECT_EQ(runs, 2);
}

TEST_F(MainThreadQueue, AFailingCallLeavesTheRestForTheNextPass) {
    auto form = std::make_shared<int>(0);
    std::vector<int> ran;
    os::QueueCall(form, [&] { ran.push_back(1); });
    os::QueueCall(form, [&] { throw std::runtime_error("handler failed"); });
    os::QueueCall(form, [&] { ran.push_back(3); });
    EXPECT_THROW(os::RunQueuedCalls(), std::runtime_error);
    EXPECT_EQ(ran, std::vector<int>{1});
    EXPECT_EQ(os::RunQueuedCalls(), 1);
    EXPECT_EQ(ran, (std::vector<int>{1, 3}));
}

// A worker hands texts to the user-interface thread, which sees them only
// when it runs the queue; texts for a form that has closed are dropped.
class ElapsedTextThread : public TThread {
public:
    ElapsedTextThread(std::weak_ptr<std::string> caption, uint32_t start, int count)
        : TThread(true), caption_(std::move(caption)), start_(start), count_(count) {}

protected:
    void Execute() override {
        for (int i = 0; i < count_ && !Terminated(); ++i) {
            std::string text = FormatByPicture("0.00", (os::ProcessClockMs() - start_) * 0.001);
            os::QueueCall(caption_, [caption = caption_, text] {
                if (auto target = caption.lock()) *target = text;
            });
            os::AdvanceTestClockMs(100);
        }
    }

private:
    std::weak_ptr<std::string> caption_;
    uint32_t start_;
    int count_;
};

TEST_F(MainThreadQueue, WorkerTextsReachTheInterfaceThreadOnlyThroughTheQueue) {
    text::ScopedDecimalSeparator dot('.');
    os::SetTestClockMs(5000);
    auto caption = std::make_shared<std::string>("-");
    ElapsedTextThread worker(caption, os::ProcessClockMs(), 3);
    worker.Start();
    worker.WaitFor();
    EXPECT_EQ(*caption, "-");
    EXPECT_EQ(os::QueuedCallCount(), 3);
    EXPECT_EQ(os::RunQueuedCalls(), 3);
    EXPECT_EQ(*caption, "0.20");

    ElapsedTextThread late(caption, os::ProcessClockMs(), 2);
    late.Start();
    late.WaitFor();
    caption.reset();
    EXPECT_EQ(os::RunQueuedCalls(), 0);
    EXPECT_EQ(os::QueuedCallCount(), 0);
    os::UseRealClock();
}

}  // namespace
