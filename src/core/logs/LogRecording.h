// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

namespace qmf {

// A measurement log read back for replay: the five readings of each good line, keyed by their
// time in seconds since the epoch. A damaged line is skipped and reported with its number; a
// file that is not one of our logs at all loads nothing and says why.
struct LogRecording {
    enum class Format { Csv, Xls };
    static constexpr int Columns = 5; // fan0, fan1, temp0, temp1, temp2
    static constexpr int MaxReportedDamage = 100;

    Format format = Format::Csv;
    QVector<double> keys;
    // values[column][i] belongs to keys[i]; a value missing from its line is NaN.
    std::array<QVector<double>, Columns> values;
    // The comment lines of a CSV log, without their "# ".
    QStringList comments;
    // The keys rise (or stay) from line to line.
    bool keysInOrder = true;
    qint64 damagedLines = 0;
    // "line 17: ..." for the first MaxReportedDamage damaged lines.
    QStringList damage;
    // Set when nothing could be loaded.
    QString error;

    bool ok() const { return error.isEmpty(); }
    qsizetype size() const { return keys.size(); }
};

// A CSV log as the program and the tool write it; comment lines may precede the header, and a
// CR before each LF is accepted.
LogRecording readCsvLog(const QByteArray& bytes);

// A .xls log: the lines hold only the time of day. The last line is taken to be on
// lastLineDate (the day the file was last written), the lines before it on the days before
// when the time of day went back past midnight between them.
LogRecording readXlsLog(const QByteArray& bytes, const QDate& lastLineDate);

// Logs larger than this are refused rather than read: a year of lines at ten a second.
inline constexpr qint64 MaxLogFileBytes = qint64(2) << 30;

// Reads a log file of either kind, told apart by its first line.
LogRecording readLogFile(const QString& path);

} // namespace qmf
