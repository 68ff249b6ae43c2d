// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/trace/VcdTraceWriter.h"

namespace qmf::trace {

namespace {

// The identifier codes of the two wires: one printable character each.
constexpr char SclId = '!';
constexpr char SdaId = '"';

void appendChange(QByteArray& block, bool level, char id) {
    block.append(level ? '1' : '0');
    block.append(id);
    block.append('\n');
}

} // namespace

VcdTraceWriter::VcdTraceWriter(const QString& path) : file_(path) {
    block_.reserve(BlockBytes + 64);
}

VcdTraceWriter::~VcdTraceWriter() {
    discard();
}

bool VcdTraceWriter::open(const QString& comment) {
    if (!file_.open()) {
        error_ = file_.errorString();
        return false;
    }
    QByteArray header;
    if (!comment.isEmpty()) {
        // "$end" inside the comment would end it early.
        QString text = comment;
        text.replace(QStringLiteral("$end"), QStringLiteral("end"));
        header += "$comment " + text.toUtf8() + " $end\n";
    }
    header += "$timescale 1us $end\n"
              "$scope module smbus $end\n"
              "$var wire 1 ! SCL $end\n"
              "$var wire 1 \" SDA $end\n"
              "$upscope $end\n"
              "$enddefinitions $end\n";
    if (!file_.write(header)) {
        error_ = file_.errorString();
        return false;
    }
    open_ = true;
    return true;
}

void VcdTraceWriter::observe(qint64 timeUs, bool scl, bool sda) noexcept {
    if (!open_ || failed()) {
        return;
    }
    if (!started_) {
        started_ = true;
        origin_ = timeUs;
        last_ = 0;
        scl_ = scl;
        sda_ = sda;
        block_ += "#0\n";
        appendChange(block_, scl, SclId);
        appendChange(block_, sda, SdaId);
        changes_ += 2;
        return;
    }
    if (scl == scl_ && sda == sda_) {
        return;
    }
    // Bus time never goes back; should a clock do so, the trace stays in order.
    const qint64 time = qMax(timeUs - origin_, last_);
    if (time != last_) {
        block_ += '#';
        block_ += QByteArray::number(time);
        block_ += '\n';
        last_ = time;
    }
    if (scl != scl_) {
        appendChange(block_, scl, SclId);
        scl_ = scl;
        ++changes_;
    }
    if (sda != sda_) {
        appendChange(block_, sda, SdaId);
        sda_ = sda;
        ++changes_;
    }
    if (block_.size() >= BlockBytes) {
        writeBlock();
    }
}

bool VcdTraceWriter::finish() {
    if (!open_) {
        if (error_.isEmpty()) {
            error_ = QStringLiteral("the trace file was not opened");
        }
        return false;
    }
    if (!failed()) {
        // A last time stamp gives the final levels a duration, so that a reader sees the stop
        // condition that ended the last transfer.
        block_ += '#';
        block_ += QByteArray::number(last_ + 1);
        block_ += '\n';
        writeBlock();
    }
    open_ = false;
    if (failed()) {
        file_.discard();
        return false;
    }
    if (!file_.commit()) {
        fail(file_.errorString());
        return false;
    }
    return true;
}

void VcdTraceWriter::discard() {
    open_ = false;
    file_.discard();
}

void VcdTraceWriter::writeBlock() {
    if (block_.isEmpty()) {
        return;
    }
    if (!file_.write(block_)) {
        fail(file_.errorString());
    }
    block_.resize(0); // keeps the capacity for the next block
}

void VcdTraceWriter::fail(const QString& reason) {
    if (!error_.isEmpty()) {
        return;
    }
    error_ = reason.isEmpty() ? QStringLiteral("unknown error") : reason;
    if (onFailure) {
        onFailure();
    }
}

} // namespace qmf::trace
