#include "platform/os/thread.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <stdexcept>

#include "platform/text/exception.h"
#include "wait_until.h"

namespace {

// Counts its turns until asked to end. The counters belong to the test, so
// they outlive a thread that frees itself.
class CountingThread : public TThread {
public:
    CountingThread(bool suspended, std::atomic<int>* turns, std::atomic<bool>* destroyed)
        : TThread(suspended), turns_(turns), destroyed_(destroyed) {}
    ~CountingThread() override { destroyed_->store(true); }

protected:
    void Execute() override {
        while (!Terminated()) {
            ++*turns_;
            Sleep(1);
        }
        SetReturnValue(7);
    }

private:
    std::atomic<int>* turns_;
    std::atomic<bool>* destroyed_;
};

// Ends as soon as it starts.
class BriefThread : public TThread {
public:
    explicit BriefThread(std::atomic<bool>* destroyed) : TThread(false), destroyed_(destroyed) {}
    ~BriefThread() override { destroyed_->store(true); }

protected:
    void Execute() override {}

private:
    std::atomic<bool>* destroyed_;
};

TEST(TThread, StartsAtCreationUnlessSuspended) {
    std::atomic<int> turns{0};
    std::atomic<bool> destroyed{false};
    auto* running = TThread::Create<CountingThread>(false, &turns, &destroyed);
    EXPECT_TRUE(WaitUntil([&] { return turns > 0; }));
    EXPECT_FALSE(running->Finished());
    running->Terminate();
    EXPECT_TRUE(running->Terminated());
    EXPECT_EQ(running->WaitFor(), 7);
    EXPECT_TRUE(running->Finished());
    EXPECT_EQ(running->WaitFor(), 7);
    delete running;
    EXPECT_TRUE(destroyed);

    std::atomic<int> waiting_turns{0};
    std::atomic<bool> waiting_destroyed{false};
    auto* waiting = TThread::Create<CountingThread>(true, &waiting_turns, &waiting_destroyed);
    TThread::Sleep(30);
    EXPECT_EQ(waiting_turns, 0);
    waiting->Start();
    waiting->Start();
    EXPECT_TRUE(WaitUntil([&] { return waiting_turns > 0; }));
    waiting->Terminate();
    EXPECT_EQ(waiting->WaitFor(), 7);
    delete waiting;
}

TEST(TThread, FreeOnTerminateDeletesTheThreadWhenExecuteEnds) {
    std::atomic<int> turns{0};
    std::atomic<bool> destroyed{false};
    auto* thread = TThread::Create<CountingThread>(false, &turns, &destroyed);
    thread->SetPriority(tpLowest);
    thread->SetFreeOnTerminate(true);
    EXPECT_TRUE(thread->FreeOnTerminate());
    EXPECT_THROW(thread->WaitFor(), Exception);
    EXPECT_TRUE(WaitUntil([&] { return turns > 0; }));
    EXPECT_FALSE(destroyed);
    thread->Terminate();
    EXPECT_TRUE(WaitUntil([&] { return destroyed.load(); }));

    // Set only after Execute has already returned: freed at once.
    std::atomic<bool> brief_destroyed{false};
    auto* brief = TThread::Create<BriefThread>(&brief_destroyed);
    EXPECT_TRUE(WaitUntil([&] { return brief->Finished(); }));
    EXPECT_FALSE(brief_destroyed);
    brief->SetFreeOnTerminate(true);
    EXPECT_TRUE(brief_destroyed);
}

TEST(TThread, WaitingForAThreadThatNeverStartedIsRefused) {
    std::atomic<int> turns{0};
    std::atomic<bool> destroyed{false};
    auto* thread = TThread::Create<CountingThread>(true, &turns, &destroyed);
    EXPECT_THROW(thread->WaitFor(), Exception);
    delete thread;
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(turns, 0);
}

TEST(TThread, DeletingAFinishedThreadWithoutWaitingIsSafe) {
    std::atomic<bool> destroyed{false};
    auto* thread = TThread::Create<BriefThread>(&destroyed);
    EXPECT_TRUE(WaitUntil([&] { return thread->Finished(); }));
    delete thread;
    EXPECT_TRUE(destroyed);
}

class FailingThread : public TThread {
public:
    FailingThread() : TThread(false) {}

protected:
    void Execute() override { throw std::runtime_error("worker failed"); }
};

TEST(TThread, AnExceptionInExecuteEndsTheThreadAndIsKept) {
    auto* thread = TThread::Create<FailingThread>();
    thread->WaitFor();
    ASSERT_TRUE(thread->FatalException());
    try {
        std::rethrow_exception(thread->FatalException());
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "worker failed");
    }
    delete thread;
}

// Reports its own nice value, which Linux keeps per thread.
class NiceProbe : public TThread {
public:
    NiceProbe(bool suspended, std::atomic<int>* nice) : TThread(suspended), nice_(nice) {}

protected:
    void Execute() override {
        while (!Terminated()) {
            nice_->store(getpriority(PRIO_PROCESS, static_cast<id_t>(gettid())));
            Sleep(1);
        }
    }

private:
    std::atomic<int>* nice_;
};

TEST(TThread, LowestPriorityAppliesBeforeAndAfterTheStart) {
    constexpr int kUnset = 100;
    std::atomic<int> nice{kUnset};
    auto* before = TThread::Create<NiceProbe>(true, &nice);
    before->SetPriority(tpLowest);
    EXPECT_EQ(before->Priority(), tpLowest);
    before->Start();
    EXPECT_TRUE(WaitUntil([&] { return nice == 19; })) << nice;
    before->Terminate();
    before->WaitFor();
    delete before;

    nice = kUnset;
    const int own = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
    auto* after = TThread::Create<NiceProbe>(false, &nice);
    EXPECT_EQ(after->Priority(), tpNormal);
    EXPECT_TRUE(WaitUntil([&] { return nice != kUnset; }));
    if (own == 0) {
        EXPECT_EQ(nice, 0);
    }
    after->SetPriority(tpLowest);
    EXPECT_TRUE(WaitUntil([&] { return nice == 19; })) << nice;
    after->Terminate();
    after->WaitFor();
    delete after;
}

TEST(TThread, SleepWaitsAtLeastTheGivenTime) {
    auto start = std::chrono::steady_clock::now();
    TThread::Sleep(40);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(40));
}

}  // namespace
