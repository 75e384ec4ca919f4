#include "platform/ui/headless.h"

#include <algorithm>
#include <chrono>
#include <iostream>
#include <thread>

namespace ui {

void HeadlessBackend::ShowBox(BoxKind kind, const std::string& text) {
    const Box box{kind, text};
    boxes_.push_back(box);
    if (echo_) std::cerr << "[" << BoxKindName(kind) << "] " << text << std::endl;
    if (while_open_) while_open_(box);
    // The box is modal: the loop goes on underneath it. Boxes opened by what runs
    // meanwhile do the same, up to a depth that stops a timer whose handler opens a
    // box from opening boxes without end.
    constexpr int kMaxNestedBoxes = 8;
    if (open_boxes_ >= kMaxNestedBoxes) return;
    ++open_boxes_;
    struct Close {
        int& n;
        ~Close() { --n; }
    } close{open_boxes_};
    TApplication& app = *Application;
    app.ProcessMessages();
    if (app.UsesManualClock() && box_open_ms_ > 0) app.AdvanceClock(box_open_ms_);
}

void HeadlessBackend::PaintNow() {
    ++paint_now_count_;
    if (on_paint_now_) on_paint_now_();
}

std::optional<std::string> HeadlessBackend::ChooseFile(const FileRequest& request) {
    file_requests_.push_back(request);
    std::optional<std::string> answer;
    if (!file_answers_.empty()) {
        answer = file_answers_.front();
        file_answers_.pop_front();
    }
    if (echo_) std::cerr << "[open dialog] " << (answer ? *answer : std::string("cancelled")) << std::endl;
    return answer;
}

std::vector<HeadlessBackend::Box> HeadlessBackend::TakeBoxes() {
    std::vector<Box> taken;
    taken.swap(boxes_);
    return taken;
}

void HeadlessBackend::RunLoop(TApplication& app) {
    using clock = std::chrono::steady_clock;
    const auto start = clock::now();
    while (!app.Terminated()) {
        app.ProcessMessages();
        if (app.Terminated()) break;
        const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(clock::now() - start).count();
        if (spent >= loop_limit_ms_) {
            if (echo_) std::cerr << "[headless] loop stopped after " << spent << " ms" << std::endl;
            app.Terminate();
            break;
        }
        const auto due = app.NextTimerDue();
        if (app.UsesManualClock() && due) {
            app.AdvanceClock(std::max<std::int64_t>(*due - app.NowMs(), 0));
        } else {
            std::int64_t wait = 5;
            if (due) wait = std::clamp<std::int64_t>(*due - app.NowMs(), 0, wait);
            std::this_thread::sleep_for(std::chrono::milliseconds(wait));
        }
    }
}

ApplicationScope::ApplicationScope()
    : previous_(Application), backend_(std::make_unique<HeadlessBackend>()), app_(std::make_unique<TApplication>()) {
    app_->SetBackend(backend_.get());
    app_->UseManualClock(0);
    Application = app_.get();
}

ApplicationScope::~ApplicationScope() {
    app_.reset();
    Application = previous_;
}

}  // namespace ui
