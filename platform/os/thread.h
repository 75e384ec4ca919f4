#pragma once
// A worker thread: derive, override Execute, and check Terminated() in its
// loop.
//
// A thread created not suspended starts as soon as its construction is over;
// C++ cannot start it from the base constructor (Execute is not yet callable
// there), so create such threads with TThread::Create<T>(...), which starts
// them. A suspended thread starts with Start().
//
// A thread with FreeOnTerminate deletes itself when Execute returns (at once,
// if it has already returned when the flag is set); its owner must not touch
// it after that, nor WaitFor it. Any other thread is deleted by its owner
// after Terminate() and WaitFor(): a C++ object loses its derived part before
// the base destructor runs, so the base cannot safely wait for an Execute
// that is still running (it asks it to end and waits all the same).
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TThread {
public:
    explicit TThread(bool CreateSuspended);
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // new T(args...), started unless it was constructed suspended.
    template <class T, class... Args>
    static T* Create(Args&&... args) {
        T* thread = new T(std::forward<Args>(args)...);
        try {
            thread->StartIfNotSuspended();
        } catch (...) {
            delete thread;
            throw;
        }
        return thread;
    }

    // Starts a thread that has not started yet; a second call does nothing.
    void Start();

    // Asks Execute to end; it sees the request through Terminated().
    void Terminate();
    bool Terminated() const { return terminated_.load(); }

    // Blocks until Execute has returned, then gives ReturnValue. Raises
    // Exception for a thread that frees itself or was never started.
    int WaitFor();

    bool Finished() const;

    // May be set before or after the start. The system may refuse to raise a
    // thread's priority without the right to do so; the thread then keeps the
    // nearest priority it may have. Priority() gives what was asked.
    void SetPriority(TThreadPriority priority);
    TThreadPriority Priority() const;

    void SetFreeOnTerminate(bool free);
    bool FreeOnTerminate() const;

    // What Execute raised, if it ended by an exception (the thread still ends).
    std::exception_ptr FatalException() const;

    static void Sleep(unsigned milliseconds);

protected:
    virtual void Execute() = 0;
    void SetReturnValue(int value) { return_value_ = value; }

private:
    void StartIfNotSuspended();
    void Run();
    void ApplyPriority();  // with mutex_ held, on a running thread

    const bool create_suspended_;
    std::atomic<bool> terminated_{false};
    mutable std::mutex mutex_;
    std::mutex join_mutex_;
    std::thread thread_;
    bool started_ = false;
    bool finished_ = false;
    bool free_on_terminate_ = false;
    TThreadPriority priority_ = tpNormal;
    int native_id_ = 0;
    std::exception_ptr fatal_;
    int return_value_ = 0;
};
