// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ServePoller.h"

#include "cli/CommandFailure.h"
#include "cli/Session.h"
#include "core/chip/SharedState.h"
#include "core/events/EventTracker.h"
#include "core/link/LinkErrors.h"
#include "core/text/NumberText.h"

#include <exception>

namespace qmf::cli {

void PollStore::publish(PollSnapshot snapshot) {
    const std::lock_guard lock(mutex_);
    snapshot_ = std::move(snapshot);
}

PollSnapshot PollStore::latest() const {
    const std::lock_guard lock(mutex_);
    return snapshot_;
}

namespace {

// Why the poll failed, in the words the tool's other commands use.
QString failureReason(Session& session, PollSnapshot& next) {
    try {
        SharedState& state = session.chip();
        next.chip = text::hex(quint32(quint8(state.DeviceAddress)));
        next.medium =
            state.CommsMedium == 1 ? QStringLiteral("printer-port") : QStringLiteral("smbus");
        next.readings = decodeReadings(readRegisterImage(state));
        // The tracker has judged the bytes just read.
        const events::EventTracker& tracker = state.events();
        for (std::size_t k = 0; k < events::EventKindCount; ++k) {
            next.eventsBegun[k] = tracker.count(events::AllEventKinds[k]);
            next.eventsActive[k] = tracker.activeCount(events::AllEventKinds[k]);
        }
        next.eventsKnown = true;
        return {};
    } catch (const CommandFailure& failure) {
        return failure.lines().join(QLatin1Char(' '));
    } catch (const LinkError& error) {
        return error.message();
    } catch (const OverflowError& error) {
        return error.message();
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    }
}

} // namespace

PollSnapshot pollOnce(Session& session, PollStore& store) {
    PollSnapshot next = store.latest();
    next.polled = true;
    ++next.polls;
    next.readings.reset();
    next.error = failureReason(session, next);
    next.bus = session.busHealthCounts();
    next.up = next.readings.has_value();
    if (!next.up) {
        // Old readings would look current to a dashboard.
        next.readings.reset();
        ++next.failedPolls;
        if (next.error.isEmpty()) {
            next.error = QStringLiteral("the chip could not be read");
        }
    }
    next.lastPollMs = store.nowMs();
    store.publish(next);
    return next;
}

} // namespace qmf::cli
