// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/logs/CsvLog.h"

#include "core/chip/RegisterMap.h"
#include "core/text/NumberText.h"

#include <QLocale>
#include <cmath>
#include <cstdlib>

namespace qmf {

namespace {

// A comment line holds no line break, whatever the texts it shows: one would end the comment
// and leave the rest as a broken data line.
QByteArray commentLine(const QString& text) {
    QString flat = text;
    flat.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return "# " + flat.toUtf8() + '\n';
}

} // namespace

QByteArray csvField(const QString& text) {
    const bool quoted = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
                        text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')) ||
                        (!text.isEmpty() && (text.front().isSpace() || text.back().isSpace()));
    if (!quoted) {
        return text.toUtf8();
    }
    QString doubled = text;
    doubled.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return '"' + doubled.toUtf8() + '"';
}

QByteArray csvNumber(double value) {
    if (!std::isfinite(value)) {
        return {};
    }
    if (value == 0.0) {
        value = 0.0; // no "-0"
    }
    return QByteArray::number(value, 'f', QLocale::FloatingPointShortest);
}

QByteArray csvTime(const QDateTime& time) {
    const int offset = time.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    const QString zone = QStringLiteral("%1%2:%3")
                             .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                             .arg(minutes / 60, 2, 10, QLatin1Char('0'))
                             .arg(minutes % 60, 2, 10, QLatin1Char('0'));
    return (time.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")) + zone).toLatin1();
}

QByteArray csvLogHeader() {
    return QByteArrayLiteral("time,fan0_rpm,fan1_rpm,temp0_c,temp1_c,temp2_c\n");
}

QByteArray csvLogPreamble(const CsvLogStart& start) {
    QByteArray out = commentLine(QStringLiteral("QMF4150 measurement log"));
    out += commentLine(QStringLiteral("program: ") + start.program);
    out += commentLine(QStringLiteral("chip: address %1 on the %2")
                           .arg(text::hex(quint32(start.deviceAddress)),
                                start.printerPort ? QStringLiteral("printer port")
                                                  : QStringLiteral("on-board SMBus")));
    out += commentLine(QStringLiteral("limits and fan settings at the start (register: value, "
                                      "hexadecimal):"));
    for (const auto& [reg, value] : start.registers) {
        const RegisterEntry* entry = RegisterMap::lookup(reg);
        const QString name = entry != nullptr ? entry->Name : QString();
        out += commentLine(QStringLiteral("%1 %2: %3").arg(text::hex(reg), name, text::hex(value)));
    }
    return out + csvLogHeader();
}

QByteArray csvLogLine(const QDateTime& time, const LogReadings& readings) {
    QByteArray line = csvTime(time);
    for (double value :
         {readings.fan0, readings.fan1, readings.temp0, readings.temp1, readings.temp2}) {
        line += ',';
        line += csvNumber(value);
    }
    line += '\n';
    return line;
}

bool isCsvLogName(const QString& fileName) {
    return fileName.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive);
}

} // namespace qmf
