#include "live_blocks.h"

#include <atomic>
#include <cstdlib>
#include <new>

// In a file of its own so that the compiler never sees new and free together.
namespace {
std::atomic<long> live{0};
}

long LiveBlocks() { return live.load(); }

void* operator new(std::size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) throw std::bad_alloc();
    ++live;
    return p;
}

void operator delete(void* p) noexcept {
    if (p == nullptr) return;
    --live;
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept { operator delete(p); }
