// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/files/AllOrNothingFile.h"
#include "core/trace/LineObserver.h"

#include <QByteArray>
#include <QString>
#include <functional>

namespace qmf::trace {

// Writes the bus lines to a Value Change Dump file (IEEE 1364) as they change: a 1 us timescale,
// the wires SCL and SDA, time 0 at the first observation. The text goes to the file in blocks
// while the recording runs, so a long recording costs no memory; the file takes the place of an
// old one only when finish() succeeds, so a failed recording never leaves a file that looks
// complete.
class VcdTraceWriter final : public LineObserver {
public:
    explicit VcdTraceWriter(const QString& path);
    ~VcdTraceWriter() override; // an unfinished file is discarded; the old one stays

    // Creates the file and writes the header; `comment` goes into its $comment. False with
    // error() when it cannot.
    bool open(const QString& comment = {});
    void observe(qint64 timeUs, bool scl, bool sda) noexcept override;
    // Ends the trace one microsecond after its last change, writes what is left and puts the
    // file in place. False with error() when any write failed.
    bool finish();
    // Gives up: the file is not put in place.
    void discard();

    bool failed() const { return !error_.isEmpty(); }
    QString error() const { return error_; }
    // Value changes written so far.
    quint64 changes() const { return changes_; }

    // Called once, at the first write that fails (from inside observe(): the caller must not
    // touch the bus or block there).
    std::function<void()> onFailure;

    static constexpr qsizetype BlockBytes = 64 * 1024;

private:
    void writeBlock();
    void fail(const QString& reason);

    AllOrNothingFile file_;
    QByteArray block_;
    QString error_;
    bool open_ = false;
    bool started_ = false;
    qint64 origin_ = 0;
    qint64 last_ = 0;
    bool scl_ = true;
    bool sda_ = true;
    quint64 changes_ = 0;
};

} // namespace qmf::trace
