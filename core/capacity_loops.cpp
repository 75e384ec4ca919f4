// The batch commands over every capacity class, and the elapsed-time thread of
// "Process".
#include "core/capacity_loops.h"

#include <mutex>
#include <set>
#include <utility>

#include "app/DOVEREFORM.h"
#include "platform/os/clock.h"
#include "platform/os/main_thread_queue.h"
#include "platform/text/number_text.h"

std::string ElapsedSecondsText(std::int32_t start_tick, std::int32_t now_tick) {
    const std::uint32_t ms = static_cast<std::uint32_t>(now_tick) - static_cast<std::uint32_t>(start_tick);
    return FormatByPicture("0.00", ms * 0.001);
}

namespace {

struct TimerThreads {
    // Held by a thread while it works on the window, and by StopAll, so that a
    // window going away never meets a thread half way through its step.
    std::mutex mutex;
    std::set<const TZorvTimerThread*> live;
};

// Never destroyed: a thread may still free itself while the program ends.
TimerThreads& Threads() {
    static auto* threads = new TimerThreads;
    return *threads;
}

}  // namespace

TZorvTimerThread::TZorvTimerThread(bool CreateSuspended) : TThread(CreateSuspended) {
    std::lock_guard lock(Threads().mutex);
    Threads().live.insert(this);
}

TZorvTimerThread::~TZorvTimerThread() {
    std::lock_guard lock(Threads().mutex);
    Threads().live.erase(this);
}

void TZorvTimerThread::Stop(TZorvTimerThread* thread) {
    std::lock_guard lock(Threads().mutex);
    if (Threads().live.contains(thread)) thread->Terminate();
}

void TZorvTimerThread::StopAll() {
    std::lock_guard lock(Threads().mutex);
    for (const TZorvTimerThread* thread : Threads().live) const_cast<TZorvTimerThread*>(thread)->Terminate();
}

int TZorvTimerThread::LiveCount() {
    std::lock_guard lock(Threads().mutex);
    return static_cast<int>(Threads().live.size());
}

void TZorvTimerThread::Execute() {
    while (!Terminated()) {
        {
            std::lock_guard lock(Threads().mutex);
            if (Terminated()) break;
            if (DOVEREForm* form = RORERForm) {
                form->RunNowTick = static_cast<std::int32_t>(os::ProcessClockMs());
                std::string text = ElapsedSecondsText(form->RunStartTick, form->RunNowTick);
                os::QueueCall(form->QueuedCallOwner,
                              [form, text = std::move(text)] { form->Panel_Timer->SetCaption(text); });
            }
        }
        Sleep(100);
    }
}

DOVEREForm::TTimerThreadStop::~TTimerThreadStop() {
    TZorvTimerThread::StopAll();
    os::DropQueuedCalls(Form->QueuedCallOwner);
}

void DOVEREForm::WalkCapacityClasses(const std::function<void()>& run_design) {
    const ui::BusyScope busy(*this);
    SetCursor(crAppStart);
    TComboBox* classes = ComboBox_BRB_Type->ItemIndex() == 0 ? ComboBox_Py : ComboBox_SP_Py;
    const auto run = [&] {
        ProjectId = "my_zorv" + std::to_string(classes->ItemIndex());
        // Each run's result writes its K_eff here; every class starts from none.
        Edit_Keff_req->SetText("0");
        run_design();
    };
    classes->SetItemIndex(0);
    bool stopped = false;
    while (classes->ItemIndex() < classes->Items().Count() - 1) {
        run();
        Application->ProcessMessages();
        if (ClosePending()) {
            stopped = true;
            break;
        }
        classes->SetItemIndex(classes->ItemIndex() + 1);
    }
    if (!stopped) run();
    SetCursor(crArrow);
}

void DOVEREForm::Button2Click(TObject* Sender) {
    WalkCapacityClasses([this, Sender] { Button_RefreshClick(Sender); });
}

void DOVEREForm::RunBatch() {
    WalkCapacityClasses([this] { RunDesign(); });
}

void DOVEREForm::Button15Click(TObject*) {
    // First, so that a close asked for during the batch happens after everything below.
    const ui::BusyScope busy(*this);
    Button15->SetEnabled(false);
    Panel_Timer_Small->SetColor(Panel_Run_Color->Color());
    Panel_Timer->SetColor(clRed);
    Panel_Timer->SetParentBackground(false);
    // The thread ends and the panels and the button come back however the batch ends.
    struct AfterBatch {
        DOVEREForm& form;
        ~AfterBatch() {
            if (form.TimerThread) TZorvTimerThread::Stop(form.TimerThread);
            form.TimerThread = nullptr;  // it frees itself
            form.Panel_Timer_Small->SetColor(form.Panel_Ready_Color->Color());
            form.Panel_Timer->SetParentBackground(true);
            form.Button15->SetEnabled(true);
        }
    } after{*this};
    RunStartTick = static_cast<std::int32_t>(os::ProcessClockMs());
    TimerThread = TThread::Create<TZorvTimerThread>(false);
    TimerThread->SetPriority(tpLowest);
    TimerThread->SetFreeOnTerminate(true);
    RunBatch();
}
