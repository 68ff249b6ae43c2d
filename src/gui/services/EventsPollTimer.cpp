// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/services/EventsPollTimer.h"

#include "core/chip/SharedState.h"
#include "core/events/EventTracker.h"
#include "core/events/EventsPoll.h"
#include "gui/services/AppContext.h"
#include "gui/services/ErrorBoundary.h"

#include <QTimer>
#include <QWidget>

namespace qmf {

EventsPollTimer::EventsPollTimer(AppContext& ctx, QWidget& owner)
    : QObject(&owner), ctx_(ctx), owner_(owner) {
    setObjectName(QStringLiteral("EventsPoll"));
    timer_ = new QTimer(&owner);
    timer_->setObjectName(QStringLiteral("EventsPollTimer"));
    timer_->setInterval(int(events::EventTracker::PollPeriodMs));
    connect(timer_, &QTimer::timeout, this, &EventsPollTimer::tick);
}

void EventsPollTimer::setRunning(bool running) {
    running ? timer_->start() : timer_->stop();
}

bool EventsPollTimer::isRunning() const {
    return timer_->isActive();
}

void EventsPollTimer::tick() {
    // Before the device search has found the chip there is nothing to ask.
    if (ctx_.state.DeviceChosen == 0) {
        return;
    }
    ctx_.errors.run(
        &owner_, [this] { events::pollEventRegisters(ctx_.state); },
        [this] {
            timer_->stop();
            emit stoppedAfterFailure();
        });
}

} // namespace qmf
