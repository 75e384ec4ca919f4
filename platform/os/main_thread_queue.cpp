#include "platform/os/main_thread_queue.h"

#include <deque>
#include <mutex>
#include <utility>

namespace os {
namespace {

struct Pending {
    CallOwner owner;
    std::function<void()> call;
};

std::mutex queue_mutex;
std::deque<Pending> queue;

}  // namespace

void QueueCall(CallOwner owner, std::function<void()> call) {
    std::lock_guard lock(queue_mutex);
    queue.push_back({std::move(owner), std::move(call)});
}

void DropQueuedCalls(const std::shared_ptr<const void>& owner) {
    std::lock_guard lock(queue_mutex);
    std::erase_if(queue, [&](const Pending& p) {
        return !p.owner.owner_before(owner) && !owner.owner_before(p.owner);
    });
}

int RunQueuedCalls() {
    std::deque<Pending> batch;
    {
        std::lock_guard lock(queue_mutex);
        batch.swap(queue);
    }
    int ran = 0;
    while (!batch.empty()) {
        Pending p = std::move(batch.front());
        batch.pop_front();
        // Holding the owner alive for the length of the call keeps it valid.
        auto alive = p.owner.lock();
        if (!alive) continue;
        try {
            p.call();
        } catch (...) {
            // The calls after a failing one still run, on the next pass.
            std::lock_guard lock(queue_mutex);
            queue.insert(queue.begin(), std::make_move_iterator(batch.begin()),
                         std::make_move_iterator(batch.end()));
            throw;
        }
        ++ran;
    }
    return ran;
}

int QueuedCallCount() {
    std::lock_guard lock(queue_mutex);
    return static_cast<int>(queue.size());
}

}  // namespace os
