#pragma once
// Calls handed from a worker thread to the user-interface thread. The
// application loop runs them (RunQueuedCalls) when it next processes messages.
// Each call names an owner; a call whose owner has gone is dropped unrun, and
// DropQueuedCalls removes every pending call of one owner at once.
#include <functional>
#include <memory>

namespace os {

using CallOwner = std::weak_ptr<const void>;

// Thread-safe; may be called from any thread.
void QueueCall(CallOwner owner, std::function<void()> call);

// Removes the pending calls of this owner (compared by identity).
void DropQueuedCalls(const std::shared_ptr<const void>& owner);

// Runs, on the calling (user-interface) thread, every call queued before this
// call began; returns how many ran. Calls queued meanwhile wait for the next pass.
int RunQueuedCalls();

// Number of calls waiting.
int QueuedCallCount();

}  // namespace os
