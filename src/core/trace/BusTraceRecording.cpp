// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/trace/BusTraceRecording.h"

#include "core/link/BoardLink.h"
#include "core/trace/VcdTraceWriter.h"

#include <QDir>

namespace qmf::trace {

BusTraceRecording::BusTraceRecording(BusEngine& engine) : engine_(engine) {}

BusTraceRecording::~BusTraceRecording() {
    stop();
}

QString BusTraceRecording::failureText(const QString& reason) const {
    return QStringLiteral("The bus trace could not be written to %1: %2")
        .arg(QDir::toNativeSeparators(path_), reason);
}

bool BusTraceRecording::start(const QString& path, const QString& comment) {
    stop();
    path_ = path;
    error_.clear();
    changes_ = 0;
    auto writer = std::make_unique<VcdTraceWriter>(path);
    if (!writer->open(comment)) {
        error_ = failureText(writer->error());
        return false;
    }
    if (!engine_.setLineObserver(writer.get())) {
        error_ = QStringLiteral("This board has no bus lines of its own to trace: bus traces come "
                                "from the printer port's bit-banged bus (on the hardware, or on "
                                "the simulated board with --pin-level).");
        return false;
    }
    writer->onFailure = [this, w = writer.get()] {
        error_ = failureText(w->error());
        if (onWriteFailure) {
            onWriteFailure(error_);
        }
    };
    writer_ = std::move(writer);
    return true;
}

bool BusTraceRecording::stop() {
    if (!writer_) {
        return true;
    }
    engine_.setLineObserver(nullptr);
    std::unique_ptr<VcdTraceWriter> writer = std::move(writer_);
    const bool written = writer->finish();
    changes_ = writer->changes();
    if (!written) {
        error_ = failureText(writer->error()) +
                 QStringLiteral("; the recording stopped there and the file was not changed");
    }
    return written;
}

quint64 BusTraceRecording::changes() const {
    return writer_ ? writer_->changes() : changes_;
}

} // namespace qmf::trace
