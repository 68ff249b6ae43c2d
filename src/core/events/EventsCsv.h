// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace qmf::events {

class EventTracker;

// The events as RFC 4180 CSV with LF line ends: a header "begin,end,kind,channel,text", then one
// line per event, oldest first; times in ISO 8601 local time with milliseconds, the end empty
// while the alarm lasts.
QByteArray eventsCsv(const EventTracker& tracker);

// Writes eventsCsv to `path` all or nothing: an empty text on success, else why the file could
// not be written (an old file of that name is then unchanged).
QString saveEventsCsv(const EventTracker& tracker, const QString& path);

} // namespace qmf::events
