// SPDX-License-Identifier: GPL-3.0-or-later
#include "module_counts.hpp"

#include <atomic>

namespace vexacalc::detail {

namespace {
// Objects may be created and released on any thread.
std::atomic<long> liveObjects{0};
std::atomic<long> locks{0};
} // namespace

void countObjectCreated() noexcept {
    liveObjects.fetch_add(1, std::memory_order_relaxed);
}

void countObjectDestroyed() noexcept {
    liveObjects.fetch_sub(1, std::memory_order_acq_rel);
}

void countLockTaken() noexcept {
    locks.fetch_add(1, std::memory_order_relaxed);
}

bool countLockReleased() noexcept {
    long held = locks.load(std::memory_order_relaxed);
    while (held > 0)
        if (locks.compare_exchange_weak(held, held - 1, std::memory_order_acq_rel))
            return true;
    return false;
}

bool moduleInUse() noexcept {
    return liveObjects.load(std::memory_order_acquire) > 0 ||
           locks.load(std::memory_order_acquire) > 0;
}

} // namespace vexacalc::detail
