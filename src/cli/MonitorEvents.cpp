// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/MonitorEvents.h"

#include "cli/Console.h"
#include "cli/Interrupt.h"
#include "cli/Session.h"
#include "core/chip/SharedState.h"
#include "core/events/EventTracker.h"
#include "core/events/EventsPoll.h"
#include "core/time/Clock.h"

#include <algorithm>

namespace qmf::cli {

namespace {
QString line(const QDateTime& time, const char* what, const QString& text) {
    return QStringLiteral("%1 %2 %3")
        .arg(time.time().toString(QStringLiteral("hh:mm:ss.zzz")), QLatin1String(what), text);
}
} // namespace

MonitorEvents::MonitorEvents(Session& session, Console& console) : session_(session) {
    events::EventTracker& tracker = session_.chip().events();
    tracker.setClock(&session_.clock());
    QObject::connect(&tracker, &events::EventTracker::began, &receiver_,
                     [&tracker, &console](quint64 serial) {
                         if (const events::ChipEvent* e = tracker.find(serial)) {
                             console.print(line(e->begin, "begin", e->text));
                         }
                     });
    QObject::connect(&tracker, &events::EventTracker::ended, &receiver_,
                     [&tracker, &console](quint64 serial) {
                         if (const events::ChipEvent* e = tracker.find(serial)) {
                             console.print(line(e->end, "end", e->text));
                         }
                     });
}

MonitorEvents::~MonitorEvents() = default;

void MonitorEvents::wait(qint64 ms) {
    const qint64 dueMs = session_.clock().elapsedMs() + ms;
    for (qint64 left = ms; left > 0 && !interrupted();
         left = dueMs - session_.clock().elapsedMs()) {
        session_.wait(std::min(left, events::EventTracker::PollPeriodMs));
        if (!interrupted()) {
            poll();
        }
    }
}

void MonitorEvents::poll() {
    events::pollEventRegisters(session_.chip());
}

} // namespace qmf::cli
