// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/files/MeasurementLog.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <utility>

namespace qmf {

// The CSV measurement log, for spreadsheets and scripts: RFC 4180 fields, LF line ends, a block
// of "# " comment lines that says where the readings come from, then the header
//   time,fan0_rpm,fan1_rpm,temp0_c,temp1_c,temp2_c
// and one line per reading:
//   2026-01-05T12:00:00.100+01:00,2014,2507,31,-55,0
// The time is the local time with date, milliseconds and UTC offset (ISO 8601), so that a log
// that runs across midnight or a change of daylight saving time stays in order. The file is
// written line by line through MeasurementLogWriter, as the .xls log is.

// What the comment block tells about the run.
struct CsvLogStart {
    QString program;   // name and version of the program that wrote the log
    int deviceAddress; // the chip's bus address (8-bit form)
    bool printerPort;  // the printer-port path; otherwise the on-board SMBus
    // Register address and value of the limits and fan settings when logging started.
    QList<std::pair<quint8, quint8>> registers;
};

// One field as RFC 4180 wants it: quoted (quotes doubled) when it holds a comma, a quote, a line
// break or blanks at either end; as it is otherwise.
QByteArray csvField(const QString& text);

// A reading as a plain decimal number ("2014", "-55", "0.5"); an empty field for a value that
// is not a finite number.
QByteArray csvNumber(double value);

// "2026-01-05T12:00:00.100+01:00": the time as given, with its offset from UTC.
QByteArray csvTime(const QDateTime& time);

// The header line alone, line end included.
QByteArray csvLogHeader();

// The comment block and the header line: what a new log starts with.
QByteArray csvLogPreamble(const CsvLogStart& start);

// One data line, line end included.
QByteArray csvLogLine(const QDateTime& time, const LogReadings& readings);

// Whether a log file name asks for the CSV format (".csv", any case).
bool isCsvLogName(const QString& fileName);

} // namespace qmf
