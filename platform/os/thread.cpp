#include "platform/os/thread.h"

#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>

#include "platform/text/exception.h"

namespace {

int NiceValue(TThreadPriority priority) {
    switch (priority) {
        case tpIdle:
        case tpLowest: return 19;
        case tpLower: return 10;
        case tpNormal: return 0;
        case tpHigher: return -5;
        case tpHighest: return -10;
        case tpTimeCritical: return -20;
    }
    return 0;
}

}  // namespace

TThread::TThread(bool CreateSuspended) : create_suspended_(CreateSuspended) {}

TThread::~TThread() {
    std::lock_guard join_lock(join_mutex_);
    if (!thread_.joinable()) return;
    if (thread_.get_id() == std::this_thread::get_id()) {
        thread_.detach();  // freeing itself at the end of Run
    } else {
        Terminate();
        thread_.join();
    }
}

void TThread::StartIfNotSuspended() {
    if (!create_suspended_) Start();
}

void TThread::Start() {
    std::lock_guard lock(mutex_);
    if (started_) return;
    // Run waits for mutex_, so thread_ is assigned before it looks at it.
    thread_ = std::thread(&TThread::Run, this);
    started_ = true;
}

void TThread::Terminate() { terminated_.store(true); }

int TThread::WaitFor() {
    {
        std::lock_guard lock(mutex_);
        if (free_on_terminate_) throw Exception("Cannot wait for a thread that frees itself");
        if (!started_) throw Exception("Cannot wait for a thread that has not started");
    }
    std::lock_guard join_lock(join_mutex_);
    if (thread_.get_id() == std::this_thread::get_id()) {
        throw Exception("A thread cannot wait for itself");
    }
    if (thread_.joinable()) thread_.join();
    return return_value_;
}

bool TThread::Finished() const {
    std::lock_guard lock(mutex_);
    return finished_;
}

void TThread::SetPriority(TThreadPriority priority) {
    std::lock_guard lock(mutex_);
    priority_ = priority;
    ApplyPriority();
}

TThreadPriority TThread::Priority() const {
    std::lock_guard lock(mutex_);
    return priority_;
}

void TThread::SetFreeOnTerminate(bool free) {
    bool free_now = false;
    {
        std::lock_guard lock(mutex_);
        free_on_terminate_ = free;
        free_now = free && finished_;
    }
    if (free_now) delete this;
}

bool TThread::FreeOnTerminate() const {
    std::lock_guard lock(mutex_);
    return free_on_terminate_;
}

std::exception_ptr TThread::FatalException() const {
    std::lock_guard lock(mutex_);
    return fatal_;
}

void TThread::Sleep(unsigned milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void TThread::ApplyPriority() {
    if (native_id_ == 0 || finished_) return;
    // Linux keeps the policy and the nice value per thread.
    sched_param param{};
    sched_setscheduler(native_id_, priority_ == tpIdle ? SCHED_IDLE : SCHED_OTHER, &param);
    setpriority(PRIO_PROCESS, static_cast<id_t>(native_id_), NiceValue(priority_));
}

void TThread::Run() {
    {
        std::lock_guard lock(mutex_);
        native_id_ = static_cast<int>(gettid());
        ApplyPriority();
    }
    std::exception_ptr fatal;
    try {
        Execute();
    } catch (...) {
        fatal = std::current_exception();
    }
    bool free_now = false;
    {
        std::lock_guard lock(mutex_);
        fatal_ = fatal;
        finished_ = true;
        free_now = free_on_terminate_;
    }
    if (free_now) delete this;
}
