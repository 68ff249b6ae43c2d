// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/MeasurementLog.h"

#include "core/text/NumberText.h"

#include <algorithm>
#include <cmath>

namespace qmf {

namespace {

QByteArray field(double value) {
    return text::signedNumber(value).toLatin1() + ' ';
}

} // namespace

QByteArray measurementLogHeader() {
    return QByteArrayLiteral("Time\tFan0\tFan1\tTemp0\tTemp1\tTemp2\r\n");
}

QByteArray measurementLogLine(const QTime& timeOfDay, const LogReadings& readings) {
    QByteArray line;
    line.reserve(64);
    line += '\r';
    line += timeOfDay.toString(QStringLiteral("hh:mm:ss")).toLatin1();
    for (double value :
         {readings.fan0, readings.fan1, readings.temp0, readings.temp1, readings.temp2}) {
        line += '\t';
        line += field(value);
    }
    line += "\r\n";
    return line;
}

bool measurementLogLineDue(int nowMs, std::optional<int> lastLineMs, double intervalSeconds) {
    if (!lastLineMs) {
        return true;
    }
    // Elapsed time of day, wrapped into one day: a line at 23:59:58 and now 00:00:03 are 5 s
    // apart, not minus a day.
    int elapsedMs = (nowMs - *lastLineMs) % MillisecondsPerDay;
    if (elapsedMs < 0) {
        elapsedMs += MillisecondsPerDay;
    }
    // Not a number never comes from the entry rule; treat it as "no delay" all the same.
    if (std::isnan(intervalSeconds)) {
        return true;
    }
    return double(elapsedMs) >= intervalSeconds * 1000.0;
}

MeasurementLogWriter::~MeasurementLogWriter() {
    close();
}

bool MeasurementLogWriter::open(const QString& fileName) {
    close();
    error_.clear();
    file_.setFileName(fileName);
    // Unbuffered: each line goes to the operating system in one write call.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        error_ = file_.errorString();
        return false;
    }
    return true;
}

bool MeasurementLogWriter::writeLine(const QByteArray& line) {
    if (!file_.isOpen()) {
        error_ = QStringLiteral("the log file is not open");
        return false;
    }
    const qint64 before = file_.size();
    const qint64 written = file_.write(line);
    if (written == line.size() && file_.flush()) {
        return true;
    }
    error_ = file_.errorString();
    if (error_.isEmpty() || file_.error() == QFileDevice::NoError) {
        error_ = QStringLiteral("only %1 of %2 bytes of a line could be written")
                     .arg(std::max<qint64>(written, 0))
                     .arg(line.size());
    }
    // Best effort: a device that takes no bytes (or cannot be cut) keeps what it has.
    if (written > 0 && file_.resize(before)) {
        file_.seek(before);
    }
    return false;
}

bool MeasurementLogWriter::close() {
    if (!file_.isOpen()) {
        return true;
    }
    const bool flushed = file_.flush();
    file_.close();
    if (!flushed || file_.error() != QFileDevice::NoError) {
        error_ = file_.errorString();
        return false;
    }
    return true;
}

} // namespace qmf
