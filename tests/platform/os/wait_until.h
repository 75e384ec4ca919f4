#pragma once
#include <chrono>
#include <thread>

// Polls until the condition holds or five seconds have passed.
template <class Condition>
bool WaitUntil(Condition condition) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}
