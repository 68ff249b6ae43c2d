// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/AllOrNothingFile.h"

#include <QFileInfo>
#include <QIODevice>

namespace qmf {

QString writeFully(QIODevice& device, QByteArrayView bytes) {
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = device.write(bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            return device.errorString();
        }
        if (written == 0) {
            // A device that takes nothing and names no error would otherwise be asked forever.
            return QStringLiteral("the device took no more data (%1 of %2 bytes written)")
                .arg(done)
                .arg(bytes.size());
        }
        done += written;
    }
    return {};
}

AllOrNothingFile::AllOrNothingFile(const QString& path) : file_(path) {}

AllOrNothingFile::~AllOrNothingFile() {
    discard();
}

bool AllOrNothingFile::fail(const QString& reason) {
    if (error_.isEmpty()) {
        error_ = reason.isEmpty() ? QStringLiteral("unknown error") : reason;
    }
    discard();
    return false;
}

bool AllOrNothingFile::open() {
    // Replacing is for files: a FIFO, a device or a directory of that name is not swapped for a
    // regular file behind the user's back.
    const QFileInfo existing(file_.fileName());
    if (existing.exists() && !existing.isFile()) {
        return fail(QStringLiteral("it is %1, not a regular file")
                        .arg(existing.isDir() ? QStringLiteral("a directory")
                                              : QStringLiteral("a device, a FIFO or a socket")));
    }
    // Unbuffered: every write reaches the file at once, so its failure is seen by that write.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return fail(file_.errorString());
    }
    return true;
}

bool AllOrNothingFile::write(QByteArrayView bytes) {
    if (!error_.isEmpty() || !file_.isOpen()) {
        return fail(QStringLiteral("the file is not open for writing"));
    }
    const QString reason = writeFully(file_, bytes);
    return reason.isEmpty() || fail(reason);
}

bool AllOrNothingFile::commit() {
    if (!error_.isEmpty() || !file_.isOpen()) {
        return fail(QStringLiteral("the file is not open for writing"));
    }
    // Checked here, before commit() could report a success it did not have.
    if (!file_.flush() || file_.error() != QFileDevice::NoError) {
        return fail(file_.errorString());
    }
    if (!file_.commit()) {
        return fail(file_.errorString());
    }
    return true;
}

void AllOrNothingFile::discard() {
    if (file_.isOpen()) {
        file_.cancelWriting();
        file_.commit(); // after cancelWriting() this only removes the temporary file
    }
}

QString writeWholeFile(const QString& path, QByteArrayView bytes) {
    AllOrNothingFile file(path);
    if (file.open() && file.write(bytes) && file.commit()) {
        return {};
    }
    return file.errorString();
}

} // namespace qmf
