// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTime>
#include <optional>

namespace qmf {

// The measurement log (".xls", though it is plain text): a header line, then one line per logged
// reading, fields separated by one TAB and lines ended by CR LF. Each data line starts with a CR,
// then the time of day "hh:mm:ss", then the five readings, each as a whole number with one
// leading blank when it is not negative (a minus sign otherwise) and one trailing blank:
//   "\r14:03:27\t 2500 \t 2480 \t 31 \t 28 \t-5 \r\n"
// Widget-free, so that the command-line tool writes the same file.

struct LogReadings {
    double fan0 = 0; // RPM
    double fan1 = 0;
    double temp0 = 0; // degrees C: internal, external 0, external 1
    double temp1 = 0;
    double temp2 = 0;
};

// "Time\tFan0\tFan1\tTemp0\tTemp1\tTemp2\r\n"
QByteArray measurementLogHeader();

// One data line, line end included.
QByteArray measurementLogLine(const QTime& timeOfDay, const LogReadings& readings);

// Milliseconds in a day; the log interval is measured on the time of day, so it wraps here.
inline constexpr int MillisecondsPerDay = 24 * 60 * 60 * 1000;

// Whether a line is due at time of day nowMs (milliseconds since midnight), given the time of
// day of the last logged line (none yet: due at once) and the interval in seconds. The elapsed
// time is taken modulo one day, so the interval holds across midnight. An interval of 0 or less
// logs on every call.
bool measurementLogLineDue(int nowMs, std::optional<int> lastLineMs, double intervalSeconds);

// The open log file. Every line is written and flushed to the operating system before
// writeLine() returns, so a crash of the program loses no logged line; every write is checked.
// A line that cannot be written whole (a full disk, a file-size limit) is cut off again, so the
// file holds whole lines only, and the failure is reported: a log is never short without saying.
class MeasurementLogWriter {
public:
    MeasurementLogWriter() = default;
    ~MeasurementLogWriter();
    MeasurementLogWriter(const MeasurementLogWriter&) = delete;
    MeasurementLogWriter& operator=(const MeasurementLogWriter&) = delete;

    // Creates the file, or empties it if it exists (closing any file open before). False (with
    // errorString()) when it cannot be opened for writing.
    bool open(const QString& fileName);
    bool isOpen() const { return file_.isOpen(); }
    QString fileName() const { return file_.fileName(); }

    // Writes the whole line and flushes it. False (with errorString()) when any byte could not
    // be written; what was written of the line is removed again where the file allows it. The
    // file stays open so that the caller decides what to do.
    bool writeLine(const QByteArray& line);

    // Closes the file; false when the last bytes could not be written. Closing a closed log
    // does nothing and succeeds.
    bool close();

    QString errorString() const { return error_; }

private:
    QFile file_;
    QString error_;
};

} // namespace qmf
