// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/chip/SharedState.h"

#include "core/events/EventTracker.h"
#include "core/journal/WriteJournal.h"
#include "core/link/BoardLink.h"
#include "core/link/LinkErrors.h"
#include "core/measure/Fan.h"
#include "core/measure/Temperature.h"

namespace qmf {

SharedState::SharedState(BoardFactory boardFactory)
    : boardFactory_(std::move(boardFactory)), journal_(std::make_unique<WriteJournal>()),
      events_(std::make_unique<events::EventTracker>()) {}

SharedState::~SharedState() = default;

BoardLink& SharedState::board() {
    if (!board_) {
        if (!boardFactory_) {
            throw LinkError("Open", "board link", -1, -1, "no board was chosen");
        }
        board_ = boardFactory_();
        if (!board_) {
            throw LinkError("Open", "board link", -1, -1, "the board could not be created");
        }
    }
    return *board_;
}

namespace {
template <class T> T& lazy(std::unique_ptr<T>& slot, SharedState& state) {
    if (!slot) {
        slot = std::make_unique<T>(state);
    }
    return *slot;
}
} // namespace

Temperature& SharedState::IntTemp() {
    return lazy(intTemp_, *this);
}
Temperature& SharedState::ExtTemp0() {
    return lazy(extTemp0_, *this);
}
Temperature& SharedState::ExtTemp1() {
    return lazy(extTemp1_, *this);
}
Fan& SharedState::Fan0() {
    return lazy(fan0_, *this);
}
Fan& SharedState::Fan1() {
    return lazy(fan1_, *this);
}

} // namespace qmf
