#pragma once
// The backend without a window: it records every box in order and prints it to
// stderr, answers the open-file dialog from a scripted queue, and lets timers fire
// while a box is "open". Tests install a fresh application with ApplicationScope.
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/forms.h"

namespace ui {

class HeadlessBackend : public Backend {
public:
    struct Box {
        BoxKind kind;
        std::string text;
        bool operator==(const Box&) const = default;
    };

    void ShowBox(BoxKind kind, const std::string& text) override;
    std::optional<std::string> ChooseFile(const FileRequest& request) override;
    // Processes messages until the application terminates; on the manual clock it
    // jumps to each next timer. Stops by itself after the loop time limit.
    void RunLoop(TApplication& app) override;
    void Refresh() override { ++refresh_count_; }
    // Counts, and runs the hook: a test looking at what the window would show.
    void PaintNow() override;

    const std::vector<Box>& Boxes() const { return boxes_; }
    // The boxes so far, leaving none.
    std::vector<Box> TakeBoxes();

    // While a box is open: the queued calls run, then, on the manual clock, the clock
    // moves on by this many milliseconds (0 at first) with the timers due on the way.
    void SetBoxOpenTime(std::int64_t ms) { box_open_ms_ = ms; }
    // Runs while each box is open, before the timers: a test acting as the user.
    void SetWhileBoxOpen(std::function<void(const Box&)> hook) { while_open_ = std::move(hook); }

    // Answers for the coming open-file dialogs, in order; nullopt is a cancel. With no
    // answer left the dialog is cancelled.
    void QueueFileAnswer(std::optional<std::string> file_name) { file_answers_.push_back(std::move(file_name)); }
    const std::vector<FileRequest>& FileRequests() const { return file_requests_; }

    // Printing to stderr, on at first.
    void SetEcho(bool on) { echo_ = on; }
    // Real milliseconds after which RunLoop terminates the application (30 s at first).
    void SetLoopTimeLimit(std::int64_t ms) { loop_limit_ms_ = ms; }
    int RefreshCount() const { return refresh_count_; }
    int PaintNowCount() const { return paint_now_count_; }
    // Runs at every PaintNow.
    void SetOnPaintNow(std::function<void()> hook) { on_paint_now_ = std::move(hook); }

private:
    std::vector<Box> boxes_;
    std::int64_t box_open_ms_ = 0;
    std::function<void(const Box&)> while_open_;
    std::deque<std::optional<std::string>> file_answers_;
    std::vector<FileRequest> file_requests_;
    bool echo_ = true;
    std::int64_t loop_limit_ms_ = 30000;
    int refresh_count_ = 0;
    int paint_now_count_ = 0;
    std::function<void()> on_paint_now_;
    int open_boxes_ = 0;
};

// A fresh application with a headless backend and the manual clock at 0, installed as
// Application for the scope's lifetime; the previous one comes back afterwards.
class ApplicationScope {
public:
    ApplicationScope();
    ~ApplicationScope();
    ApplicationScope(const ApplicationScope&) = delete;
    ApplicationScope& operator=(const ApplicationScope&) = delete;

    TApplication& App() { return *app_; }
    HeadlessBackend& Headless() { return *backend_; }

private:
    TApplication* previous_;
    std::unique_ptr<HeadlessBackend> backend_;
    std::unique_ptr<TApplication> app_;
};

}  // namespace ui
