// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace qmf {

// What reading a whole file gave.
struct WholeFile {
    enum class Status {
        Read,        // `bytes` holds everything up to the end
        NotFound,    // there is no such file
        Failed,      // it could not be read, or it is not a file (`error` says why)
        TooLarge,    // it holds more than the limit; nothing of it is returned
        Interrupted, // the caller's stop() said so before the end was reached
    };
    Status status = Status::Failed;
    QByteArray bytes;
    QString error; // for Failed and TooLarge: what to tell the user
    bool ok() const { return status == Status::Read; }
};

// How a caller follows a read that may wait: `stop` is asked about ten times a second while
// waiting and between reads, and ends the read when it says so; `waiting` is called once when a
// pipe or a FIFO has kept the reader waiting for a moment, so that the user can be told why
// nothing happens.
struct ReadControl {
    std::function<bool()> stop;
    std::function<void()> waiting;
};

// Reads what `path` names to its end, up to `maxBytes`: a regular file, a pipe or a FIFO. Pipes
// and FIFOs are read until their writer closes them, however the data arrives, and opening a FIFO
// does not wait for a writer, so that `stop` can end the wait. Devices (/dev/zero, a terminal, a
// disk), directories and sockets are refused with a message saying what they are.
WholeFile readWholeFile(const QString& path, qint64 maxBytes, const ReadControl& control = {});

// The same for a descriptor that is already open (standard input); a terminal is read too (to
// Ctrl-D), since a user may type the input.
WholeFile readWholeDescriptor(int fd, qint64 maxBytes, const ReadControl& control = {});

} // namespace qmf
