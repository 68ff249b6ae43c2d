// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/events/EventsCsv.h"

#include "core/events/EventTracker.h"
#include "core/files/AllOrNothingFile.h"

#include <algorithm>

namespace qmf::events {

namespace {

QString field(const QString& text) {
    static const QString needsQuotes = QStringLiteral(",\"\r\n");
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return needsQuotes.contains(c); })) {
        return text;
    }
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString time(const QDateTime& t) {
    return t.isValid() ? t.toLocalTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"))
                       : QString();
}

} // namespace

QByteArray eventsCsv(const EventTracker& tracker) {
    QString out = QStringLiteral("begin,end,kind,channel,text\n");
    for (qsizetype i = 0; i < tracker.size(); ++i) {
        const ChipEvent& e = tracker.at(i);
        out += QStringList{time(e.begin), time(e.end), kindName(e.kind), QString::number(e.channel),
                           field(e.text)}
                   .join(QLatin1Char(','));
        out += QLatin1Char('\n');
    }
    return out.toUtf8();
}

QString saveEventsCsv(const EventTracker& tracker, const QString& path) {
    return writeWholeFile(path, eventsCsv(tracker));
}

} // namespace qmf::events
