// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <functional>

namespace qmf::trace {

// Reads the two bus lines out of a Value Change Dump (IEEE 1364), as our traces and logic
// analysers (sigrok, PulseView) write it, a piece at a time so that a long trace needs no memory.
// The lines are the one-bit wires named SCL and SDA (or the names given; case does not matter);
// other wires and vectors are passed over. Levels x and z count as high: the pull-ups hold a line
// that nobody drives.
class VcdReader {
public:
    explicit VcdReader(QString sclName = QStringLiteral("SCL"),
                       QString sdaName = QStringLiteral("SDA"));

    // Once per time stamp at which SCL or SDA changed (and once for the first levels), with both
    // levels after every change of that time; the time in nanoseconds.
    std::function<void(qint64 timeNs, bool scl, bool sda)> onLevels;

    // The next bytes of the file. False once the text is not a trace this reader understands;
    // error() then names the line and what is wrong.
    bool feed(QByteArrayView bytes);
    // The end of the file. False when it ended too early or never named both lines.
    bool finish();

    QString error() const { return error_; }
    // The last time stamp of the file, in nanoseconds.
    qint64 endTimeNs() const { return time_; }

    // A word of the text longer than this is refused rather than collected without end.
    static constexpr qsizetype MaxWordBytes = 4096;

private:
    enum class Mode { Header, Command, Body, BodyComment, VectorId };
    bool word(const QByteArray& w);
    bool command(const QByteArray& keyword, const QList<QByteArray>& args);
    bool timescale(const QList<QByteArray>& args);
    bool variable(const QList<QByteArray>& args);
    bool timeStamp(const QByteArray& w);
    void value(char level, QByteArrayView id);
    void emitLevels();
    bool fail(const QString& what);

    QString sclName_, sdaName_;
    QStringList wireNames_;
    QByteArray sclId_, sdaId_;
    Mode mode_ = Mode::Header;
    QByteArray keyword_;
    QList<QByteArray> args_;
    QByteArray partial_;
    qint64 line_ = 1;
    qint64 wordLine_ = 1;
    qint64 scaleMul_ = 0; // nanoseconds per time unit: mul / div
    qint64 scaleDiv_ = 1;
    qint64 time_ = 0;
    bool timeSeen_ = false;
    bool scl_ = true, sda_ = true;
    bool changed_ = false;
    bool emitted_ = false;
    bool emittedScl_ = true, emittedSda_ = true;
    QString error_;
};

} // namespace qmf::trace
