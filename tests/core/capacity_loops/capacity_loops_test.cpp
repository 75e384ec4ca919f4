// The two walks over the capacity classes against the local service: one run per
// class in order, message passes between runs, the elapsed-time thread and its text,
// errors on the way, and a close of the window during a walk.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <sstream>
#include <thread>

#include "core/capacity_loops.h"
#include "platform/os/clock.h"
#include "platform/os/main_thread_queue.h"
#include "support/form_environment.h"

namespace {

using testing_support::ConnectionBox;
using testing_support::ErrorBox;
using testing_support::FormEnvironment;

enum class Walk { Loop, Process };

}  // namespace

namespace ui {
void PrintTo(const HeadlessBackend::Box& box, std::ostream* out) { *out << BoxKindName(box.kind) << " \"" << box.text << "\""; }
}  // namespace ui

namespace {

std::string Name(Walk walk) { return walk == Walk::Loop ? "Loop" : "Process"; }

// What the service received of one run request.
struct RunRequest {
    std::string project;
    std::string capacity;
    double keff = -1;
};

std::vector<RunRequest> RunRequests(const FormEnvironment& env) {
    const std::string method = "RUN_ZORV_PROJECT/";
    std::vector<RunRequest> runs;
    for (const std::string& target : env.Methods()) {
        if (!target.starts_with(method)) continue;
        std::istringstream in(target.substr(method.size()));
        jsonxx::Object request;
        EXPECT_TRUE(request.parse(in)) << target;
        RunRequest run;
        run.project = request.get<jsonxx::Object>("Client_Information").get<std::string>("ZORV_Proj_ID");
        run.capacity = request.get<jsonxx::Object>("BRB").get<std::string>("Type_of_BRB_capacity");
        run.keff = request.get<jsonxx::Object>("Adjust").get<double>("K_eff_req");
        runs.push_back(run);
    }
    return runs;
}

std::vector<std::string> Projects(const std::vector<RunRequest>& runs) {
    std::vector<std::string> ids;
    for (const RunRequest& r : runs) ids.push_back(r.project);
    return ids;
}

// Waits, on real time, until the condition holds or five seconds have gone.
template <class Condition>
bool WaitFor(Condition condition) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// The first n classes of the selector only.
std::vector<std::string> KeepClasses(TComboBox* selector, int n) {
    std::vector<std::string> items = selector->Items().List();
    EXPECT_GE(static_cast<int>(items.size()), n);
    items.resize(n);
    selector->Items().Assign(items);
    return items;
}

class CapacityLoops : public ::testing::Test {
protected:
    void SetUp() override {
        form = env.Create();
        ASSERT_NE(form, nullptr);
        env.Headless().TakeBoxes();
        env.Service().ClearRequestTargets();
    }
    void TearDown() override {
        EXPECT_TRUE(WaitFor([] { return TZorvTimerThread::LiveCount() == 0; })) << "the timer thread ended";
        os::DropQueuedCalls(owner);
        os::UseRealClock();
    }

    // As a click runs it: through the dispatcher.
    void Click(Walk walk) {
        ui::Dispatch([&] {
            if (walk == Walk::Loop) form->Button2Click(form->Button2);
            else form->Button15Click(form->Button15);
        });
    }

    // Records the text of every change of Edit_Keff_req with whether the "Design"
    // button was enabled then, and passes it on to the form's own handler.
    void WatchKeff(const std::function<void(const std::string&)>& also = {}) {
        auto original = form->Edit_Keff_req->OnChange;
        form->Edit_Keff_req->OnChange = [this, original, also](TObject* sender) {
            keff_writes.push_back({form->Edit_Keff_req->Text(), form->Button_Refresh->Enabled()});
            if (also) also(form->Edit_Keff_req->Text());
            if (original) original(sender);
        };
    }

    struct KeffWrite {
        std::string text;
        bool design_enabled;
    };

    FormEnvironment env;
    DOVEREForm* form = nullptr;
    std::shared_ptr<int> owner = std::make_shared<int>(0);
    std::vector<KeffWrite> keff_writes;
};

TEST(ElapsedSecondsText, SecondsWithTwoDecimalsAcrossAWrapOfTheClock) {
    struct Case {
        std::int32_t start, now;
        const char* text;
    };
    const Case cases[] = {
        {10000, 10000, "0.00"},   {0, 4, "0.00"},
        {0, 5, "0.01"},           // half away from zero
        {1000, 1099, "0.10"},     {0, 1234, "1.23"},
        {0, 3600000, "3600.00"},  {INT32_MAX, INT32_MIN + 99, "0.10"},
        {-10, 90, "0.10"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ElapsedSecondsText(c.start, c.now), c.text) << c.start << " to " << c.now;
}

TEST_F(CapacityLoops, EveryClassRunsOnceInItemOrderWithItsProjectIdentifier) {
    struct Case {
        Walk walk;
        bool flat;
        int classes;
    };
    const Case cases[] = {{Walk::Loop, false, 3}, {Walk::Process, false, 3}, {Walk::Loop, false, 1},
                          {Walk::Process, false, 0}, {Walk::Process, true, 2}, {Walk::Loop, true, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(Name(c.walk) + (c.flat ? " flat " : " cruciform ") + std::to_string(c.classes));
        form->ComboBox_BRB_Type->SetItemIndex(c.flat ? 1 : 0);
        TComboBox* walked = c.flat ? form->ComboBox_SP_Py : form->ComboBox_Py;
        TComboBox* other = c.flat ? form->ComboBox_Py : form->ComboBox_SP_Py;
        const std::vector<std::string> items = KeepClasses(walked, c.classes);
        const int other_index = other->ItemIndex();
        env.Service().ClearRequestTargets();

        Click(c.walk);

        const std::vector<RunRequest> runs = RunRequests(env);
        std::vector<std::string> expected;
        for (int i = 0; i < c.classes; ++i) expected.push_back("my_zorv" + std::to_string(i));
        if (c.classes == 0) expected = {"my_zorv-1"};
        EXPECT_EQ(Projects(runs), expected);
        for (int i = 0; i < c.classes && i < static_cast<int>(runs.size()); ++i)
            EXPECT_EQ(runs[i].capacity, "[00" + std::to_string(i + 1) + "]" + items[i]);
        EXPECT_EQ(walked->ItemIndex(), c.classes - 1) << "the last class stays selected";
        EXPECT_EQ(form->ProjectId, expected.back());
        EXPECT_EQ(other->ItemIndex(), other_index);
        EXPECT_TRUE(ui::IsArrowCursor(form->Cursor()));
        EXPECT_TRUE(form->Button15->Enabled());
        EXPECT_TRUE(form->Button_Refresh->Enabled());
        EXPECT_EQ(form->TimerThread, nullptr);
        // The service refuses the empty class of an empty selector; the others design.
        const auto boxes = env.Headless().TakeBoxes();
        EXPECT_EQ(boxes.size(), c.classes == 0 ? 1u : 0u);
    }
}

// Each result writes its K_eff while its run is under way: "Loop" runs each class as
// the "Design" button does, disabled, while "Process" leaves the button alone.
TEST_F(CapacityLoops, TheLoopLocksTheDesignButtonForEachRunAndTheProcessLeavesIt) {
    KeepClasses(form->ComboBox_Py, 2);
    WatchKeff();
    for (Walk walk : {Walk::Loop, Walk::Process}) {
        SCOPED_TRACE(Name(walk));
        keff_writes.clear();
        Click(walk);
        ASSERT_EQ(keff_writes.size(), 4u) << "before each run \"0\", during it the result's K_eff";
        for (std::size_t i = 0; i < keff_writes.size(); ++i) {
            const bool before_run = i % 2 == 0;
            EXPECT_EQ(keff_writes[i].text == "0", before_run) << i;
            EXPECT_EQ(keff_writes[i].design_enabled, before_run || walk == Walk::Process) << i;
        }
        EXPECT_TRUE(form->Button_Refresh->Enabled());
    }
}

TEST_F(CapacityLoops, MessagesGoThroughBetweenRunsAndEachRunStartsFromNoStiffness) {
    // With the stiffness adjustment on, the request carries the edit's number, which
    // every result overwrites with its own K_eff.
    form->CheckBox_adjust_Keff->SetChecked(true);
    KeepClasses(form->ComboBox_Py, 3);
    WatchKeff();
    for (Walk walk : {Walk::Loop, Walk::Process}) {
        SCOPED_TRACE(Name(walk));
        env.Service().ClearRequestTargets();
        env.Headless().TakeBoxes();
        form->Edit_Keff_req->SetText("75");  // the user's requirement
        keff_writes.clear();
        // One pass, one entry: the runs so far and the state of the "Design" button.
        std::vector<std::pair<std::size_t, bool>> passes;
        std::function<void()> watch = [&] {
            passes.push_back({RunRequests(env).size(), form->Button_Refresh->Enabled()});
            os::QueueCall(owner, watch);
        };
        os::QueueCall(owner, watch);

        Click(walk);
        os::DropQueuedCalls(owner);

        EXPECT_EQ(env.Headless().Boxes(), std::vector<ui::HeadlessBackend::Box>{}) << "no box passed messages";
        EXPECT_EQ(passes, (std::vector<std::pair<std::size_t, bool>>{{1, true}, {2, true}}))
            << "one pass after every run but the last";
        const std::vector<RunRequest> runs = RunRequests(env);
        ASSERT_EQ(runs.size(), 3u);
        for (const RunRequest& run : runs) EXPECT_EQ(run.keff, 0.0) << run.project;
        // The walk writes "0" before its first run; with the adjustment on the edit is
        // the user's, so no result writes its K_eff there and "0" stays.
        ASSERT_EQ(keff_writes.size(), 1u);
        EXPECT_EQ(keff_writes[0].text, "0");
        EXPECT_TRUE(keff_writes[0].design_enabled);
        EXPECT_EQ(form->Edit_Keff_req->Text(), "0");
    }
}

TEST_F(CapacityLoops, TheElapsedTimeReachesThePanelOnlyThroughTheWalksMessagePasses) {
    KeepClasses(form->ComboBox_Py, 3);
    form->Panel_Timer->SetCaption("before");
    os::SetTestClockMs(10000);
    std::vector<std::string> before_run, after_wait;
    bool running_look = true;
    WatchKeff([&](const std::string& text) {
        if (text != "0") return;
        running_look = running_look && form->Panel_Timer->Color() == clRed && !form->Panel_Timer->ParentBackground() &&
                       form->Panel_Timer_Small->Color() == form->Panel_Run_Color->Color() &&
                       !form->Button15->Enabled() && form->TimerThread != nullptr;
        before_run.push_back(form->Panel_Timer->Caption());
        // The thread queues a text at once and then every 100 ms. Two more queued calls
        // mean a whole step of the thread after the clock moved.
        if (before_run.size() == 2) os::AdvanceTestClockMs(1234);
        const int queued = os::QueuedCallCount();
        EXPECT_TRUE(WaitFor([&] { return os::QueuedCallCount() >= queued + 2; }));
        after_wait.push_back(form->Panel_Timer->Caption());
    });

    Click(Walk::Process);

    EXPECT_TRUE(running_look);
    EXPECT_EQ(before_run, (std::vector<std::string>{"before", "0.00", "1.23"}));
    EXPECT_EQ(after_wait, before_run) << "queued texts wait for the next message pass";
    EXPECT_EQ(form->RunNowTick, 11234);
    EXPECT_EQ(form->RunStartTick, 10000) << "the runs leave the batch's start alone";
    EXPECT_EQ(form->Panel_Timer->Caption(), "1.23") << "no pass after the last run";
    EXPECT_TRUE(form->Panel_Timer->ParentBackground());
    EXPECT_EQ(form->Panel_Timer_Small->Color(), form->Panel_Ready_Color->Color());
    EXPECT_TRUE(form->Button15->Enabled());
    EXPECT_EQ(form->TimerThread, nullptr);
    EXPECT_TRUE(WaitFor([] { return TZorvTimerThread::LiveCount() == 0; })) << "ended and freed itself";
}

TEST_F(CapacityLoops, AnErrorEndsTheWalkAndAFailedSendDoesNot) {
    KeepClasses(form->ComboBox_Py, 3);
    for (Walk walk : {Walk::Loop, Walk::Process}) {
        SCOPED_TRACE(Name(walk));
        env.Service().ClearRequestTargets();
        env.Headless().TakeBoxes();
        env.Service().FailMethod("RUN_ZORV_PROJECT", [] {
            zorv_service::Fault fault;
            fault.status = 500;
            return fault;
        }());
        Click(walk);
        env.Service().ClearFaults();
        EXPECT_EQ(Projects(RunRequests(env)), (std::vector<std::string>{"my_zorv0", "my_zorv1", "my_zorv2"}));
        EXPECT_EQ(env.Headless().TakeBoxes(), (std::vector<ui::HeadlessBackend::Box>(3, ConnectionBox())));

        env.Service().ClearRequestTargets();
        form->LabeledEdit_H_col->SetText("abc");
        Click(walk);
        form->LabeledEdit_H_col->SetText("3000");
        EXPECT_TRUE(RunRequests(env).empty());
        EXPECT_EQ(env.Headless().TakeBoxes(),
                  (std::vector<ui::HeadlessBackend::Box>{ErrorBox("'abc' is not a valid integer value")}));
        EXPECT_EQ(form->ProjectId, "my_zorv0") << "the classes after the error did not run";
        EXPECT_EQ(form->ComboBox_Py->ItemIndex(), 0);
        EXPECT_TRUE(form->Button15->Enabled());
        EXPECT_TRUE(form->Button_Refresh->Enabled());
        if (walk == Walk::Process) {
            EXPECT_TRUE(form->Panel_Timer->ParentBackground());
        }
        EXPECT_EQ(form->TimerThread, nullptr);
        EXPECT_TRUE(WaitFor([] { return TZorvTimerThread::LiveCount() == 0; }));
    }
}

TEST_F(CapacityLoops, WalksNeverEnterAClassInTheCatalogueTables) {
    std::vector<std::string> items = KeepClasses(form->ComboBox_Py, 2);
    items.push_back("no such class");
    form->ComboBox_Py->Items().Assign(items);
    form->ComboBox_SP_Py->Items().Assign({"no such plate"});
    const SectionTable cross = form->CrossTypeSectionTable;
    const SectionTable plate = form->SinglePlateSectionTable;
    Click(Walk::Loop);
    form->ComboBox_BRB_Type->SetItemIndex(1);
    Click(Walk::Process);
    EXPECT_EQ(form->CrossTypeSectionTable, cross);
    EXPECT_EQ(form->SinglePlateSectionTable, plate);
    const std::vector<RunRequest> runs = RunRequests(env);
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[2].capacity, "[003]no such class") << "the selector's text goes as it stands";
    EXPECT_EQ(runs[3].capacity, "[001]no such plate");
}

TEST(CapacityLoopsClose, ClosingTheMainWindowDuringAWalkStopsItAndEndsTheProgramAfterIt) {
    for (Walk walk : {Walk::Loop, Walk::Process}) {
        SCOPED_TRACE(Name(walk));
        FormEnvironment env;
        DOVEREForm* form = env.Create();
        KeepClasses(form->ComboBox_Py, 3);
        env.Service().ClearRequestTargets();
        auto owner = std::make_shared<int>(0);
        bool ended_at_once = true;
        os::QueueCall(owner, [&] {
            ui::UserClose(form);
            ended_at_once = Application->Terminated();
        });
        ui::Dispatch([&] {
            if (walk == Walk::Loop) form->Button2Click(form->Button2);
            else form->Button15Click(form->Button15);
        });
        EXPECT_FALSE(ended_at_once) << "the close waited for the walk";
        EXPECT_TRUE(Application->Terminated());
        const std::vector<std::string> methods = env.Methods();
        ASSERT_EQ(methods.size(), 2u);
        EXPECT_TRUE(methods[0].starts_with("RUN_ZORV_PROJECT/")) << "one run, then the walk stopped";
        EXPECT_TRUE(methods[1].starts_with("Remove_Random_Client_ID/")) << "the close handler ran after the walk";
        EXPECT_EQ(form->FrameRC, nullptr) << "and gave the views' contexts back";
        EXPECT_TRUE(form->Button15->Enabled());
        EXPECT_TRUE(WaitFor([] { return TZorvTimerThread::LiveCount() == 0; }));
    }
}

// Here the window is not the program's main form, so its close handler's caFree
// frees it, and the walk runs outside any event, where a released form is freed by
// the next message pass. Run under AddressSanitizer, this shows that nothing touches
// the window once it is gone.
TEST(CapacityLoopsClose, AWindowFreedByItsCloseGoesOnlyAfterTheWalk) {
    for (Walk walk : {Walk::Loop, Walk::Process}) {
        SCOPED_TRACE(Name(walk));
        FormEnvironment env;
        TForm* first = nullptr;
        Application->CreateForm(first);
        DOVEREForm* form = env.Create();
        KeepClasses(form->ComboBox_Py, 3);
        env.Service().ClearRequestTargets();
        auto owner = std::make_shared<int>(0);
        os::QueueCall(owner, [form] { ui::UserClose(form); });
        if (walk == Walk::Loop) form->Button2Click(nullptr);
        else form->Button15Click(nullptr);
        EXPECT_EQ(Application->Forms(), std::vector<TForm*>{first}) << "freed by its close";
        const std::vector<std::string> methods = env.Methods();
        ASSERT_EQ(methods.size(), 2u);
        EXPECT_TRUE(methods[0].starts_with("RUN_ZORV_PROJECT/"));
        EXPECT_TRUE(methods[1].starts_with("Remove_Random_Client_ID/"));
        EXPECT_TRUE(WaitFor([] { return TZorvTimerThread::LiveCount() == 0; }));
        EXPECT_EQ(os::QueuedCallCount(), 0) << "the thread's texts went with the window";
    }
}

TEST(CapacityLoopsClose, ATimerThreadThatOutlivesItsWindowDeliversNothing) {
    FormEnvironment env;
    DOVEREForm* form = env.Create();
    auto* thread = TThread::Create<TZorvTimerThread>(false);
    thread->SetFreeOnTerminate(true);
    ASSERT_TRUE(WaitFor([] { return os::QueuedCallCount() >= 2; }));
    delete form;
    EXPECT_EQ(os::QueuedCallCount(), 0) << "its texts were dropped";
    EXPECT_TRUE(WaitFor([] { return TZorvTimerThread::LiveCount() == 0; })) << "asked to end when the window went";
    EXPECT_EQ(os::QueuedCallCount(), 0) << "and queued nothing more";
    Application->ProcessMessages();
}

}  // namespace
