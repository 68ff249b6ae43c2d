// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

namespace qmf::cli {

class Console;
class Session;

// monitor --events: prints a line when an alarm event begins and when it ends ("12:00:03.500
// begin Fan 0 missing", "12:00:09.000 end Fan 0 missing"), as the status bytes read show them,
// and reads the status registers every half second while the monitor waits between rows.
class MonitorEvents {
public:
    MonitorEvents(Session& session, Console& console);
    ~MonitorEvents();
    MonitorEvents(const MonitorEvents&) = delete;
    MonitorEvents& operator=(const MonitorEvents&) = delete;

    // Waits `ms` as the session waits, in steps of the events poll's period, polling after each.
    void wait(qint64 ms);
    // Reads the status registers nobody read lately.
    void poll();

private:
    Session& session_;
    QObject receiver_; // the printing connections end with it
};

} // namespace qmf::cli
