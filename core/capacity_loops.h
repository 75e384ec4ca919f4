#pragma once
// The elapsed-time thread of the "Process" batch and the text it produces.
#include <cstdint>
#include <string>

#include "platform/os/thread.h"

// Seconds from one process-clock tick to a later one, by the picture "0.00"; the
// difference is taken as unsigned, so a wrap of the clock in between still counts.
std::string ElapsedSecondsText(std::int32_t start_tick, std::int32_t now_tick);

// Every 100 ms, until terminated: takes RunNowTick and hands the elapsed time since
// RunStartTick to the user-interface thread, which shows it on Panel_Timer at its next
// message pass. It reaches the window through RORERForm and touches no component.
class TZorvTimerThread : public TThread {
public:
    explicit TZorvTimerThread(bool CreateSuspended);
    ~TZorvTimerThread() override;

    // Asks this thread to end, unless it has already ended and freed itself.
    static void Stop(TZorvTimerThread* thread);
    // When the window goes: asks every timer thread to end. None reads or writes the
    // window after this returns, and the texts they queued are dropped with the
    // window's call owner.
    static void StopAll();
    // Timer threads that have not yet freed themselves.
    static int LiveCount();

protected:
    void Execute() override;
};
