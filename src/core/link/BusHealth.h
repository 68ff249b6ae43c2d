// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <QtGlobal>

namespace qmf {

// The health of a board link's buses since the last reset: one plain structure for everyone who
// shows or exports it (the main window's status bar, the tool's --stats, a metrics export).
struct BusHealthCounts {
    quint64 transfers = 0;          // register transfers and address probes, failed ones included
    quint64 failedTransfers = 0;    // of them, those that ended with a LinkError
    quint64 nacks = 0;              // bytes a device did not acknowledge (address, register, data)
    quint64 clockStretchWaits = 0;  // times a device held the clock low and the master waited
    quint64 timeouts = 0;           // waits given up: a clock held too long, an adapter timeout
    quint64 stuckBusRecoveries = 0; // times a line was low before a transfer and had to be freed
    qint64 transferTimeUs = 0;      // bus time spent in transfers, failed ones included

    quint64 completedTransfers() const { return transfers - failedTransfers; }
    // Completed transfers per second of transfer time: what the link achieves while it works,
    // slowed by every failure and wait. 0 while no transfer was timed.
    double effectiveTransferRate() const;
};

// The counters a board link keeps; its engines count into it as they work.
class BusHealth {
public:
    const BusHealthCounts& counts() const { return counts_; }
    void reset() { counts_ = {}; }

    void transferEnded(bool completed, qint64 durationUs) {
        ++counts_.transfers;
        counts_.failedTransfers += completed ? 0 : 1;
        counts_.transferTimeUs += qMax<qint64>(durationUs, 0);
    }
    void nack() { ++counts_.nacks; }
    void clockStretchWait() { ++counts_.clockStretchWaits; }
    void timeout() { ++counts_.timeouts; }
    void stuckBusRecovery() { ++counts_.stuckBusRecoveries; }

private:
    BusHealthCounts counts_;
};

// The counters as "name: value" lines, in the order of BusHealthCounts, for a report or a
// details box ("transfers: 17", ..., "effective transfer rate: 1190 transfers/s").
QStringList busHealthReport(const BusHealthCounts& counts);

// One line for a status bar: "Bus: 17 transfers, 0 failed, 1190/s".
QString busHealthSummary(const BusHealthCounts& counts);

} // namespace qmf
