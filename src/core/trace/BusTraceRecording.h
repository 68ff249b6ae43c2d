// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace qmf {
class BusEngine;
}

namespace qmf::trace {

class VcdTraceWriter;

// Records the lines of a bit-banged bus engine into a VCD file, from start() to stop(). The file
// grows while the recording runs and takes the place of an old one at stop(), complete; a
// recording whose writing failed leaves the old file as it was.
class BusTraceRecording {
public:
    explicit BusTraceRecording(BusEngine& engine);
    // A recording still running is stopped, its file completed.
    ~BusTraceRecording();
    BusTraceRecording(const BusTraceRecording&) = delete;
    BusTraceRecording& operator=(const BusTraceRecording&) = delete;

    // False with error() when the engine has no lines to show or the file cannot be created.
    // `comment` goes into the file's header.
    bool start(const QString& path, const QString& comment = {});
    // Ends the recording. False with error() when the file could not be written; the old file
    // then stays.
    bool stop();

    bool recording() const { return writer_ != nullptr; }
    QString path() const { return path_; }
    QString error() const { return error_; }
    // Value changes in the file of the last (or the running) recording.
    quint64 changes() const;

    // Called once when a write fails while the recording runs, with error()'s text. It comes
    // from inside a transfer: the receiver should stop the recording later, not from there.
    std::function<void(const QString& error)> onWriteFailure;

private:
    QString failureText(const QString& reason) const;

    BusEngine& engine_;
    std::unique_ptr<VcdTraceWriter> writer_;
    QString path_;
    QString error_;
    quint64 changes_ = 0;
};

} // namespace qmf::trace
