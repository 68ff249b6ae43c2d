// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/events/EventsPoll.h"

#include "core/chip/SharedState.h"
#include "core/events/EventTracker.h"
#include "core/link/RegisterAccess.h"

namespace qmf::events {

int pollEventRegisters(SharedState& state) {
    // Each read makes its register fresh, so the walk ends; the bound guards a tracker that
    // would still want a register after it was read.
    constexpr int MaxReads = 16;
    int reads = 0;
    while (reads < MaxReads) {
        const auto reg = state.events().nextDueRegister();
        if (!reg) {
            break;
        }
        ReadRegisterAt(state, *reg);
        ++reads;
    }
    return reads;
}

} // namespace qmf::events
