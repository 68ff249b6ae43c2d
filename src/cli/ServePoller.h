// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/ServeReadings.h"
#include "core/events/ChipEvent.h"
#include "core/link/BusHealth.h"

#include <QElapsedTimer>
#include <QString>
#include <mutex>
#include <optional>

namespace qmf::cli {

class Session;

// What the last poll found: the readings when the chip answered, else why not, and the counts of
// all polls so far. Scrapes are answered from a copy of it, never from the bus.
struct PollSnapshot {
    bool polled = false; // at least one poll has ended
    bool up = false;     // the last poll read every register
    std::optional<ChipReadings> readings;
    QString error;  // why the last poll failed
    QString chip;   // "5E": the chosen chip's address, once one was chosen
    QString medium; // "printer-port" or "smbus"
    // The alarm events of the run by kind (begun, lasting now), once a poll reached the chip.
    bool eventsKnown = false;
    std::array<quint64, events::EventKindCount> eventsBegun{};
    std::array<int, events::EventKindCount> eventsActive{};
    // The board link's counters (every transfer of the run, the device search's included).
    BusHealthCounts bus;
    quint64 polls = 0;
    quint64 failedPolls = 0;
    qint64 lastPollMs = -1; // on the store's monotonic timer
};

// The one snapshot, handed from the polling thread to the serving threads.
class PollStore {
public:
    PollStore() { timer_.start(); }
    void publish(PollSnapshot snapshot);
    PollSnapshot latest() const;
    // Milliseconds on the store's monotonic timer.
    qint64 nowMs() const { return timer_.elapsed(); }

private:
    mutable std::mutex mutex_;
    PollSnapshot snapshot_;
    QElapsedTimer timer_;
};

// One poll: the chip is searched for while none is chosen, then its registers are read. A
// failure of any kind is kept in the snapshot, not thrown: the next poll tries again. Returns
// the snapshot published.
PollSnapshot pollOnce(Session& session, PollStore& store);

} // namespace qmf::cli
