// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QSaveFile>
#include <QString>

class QIODevice;

namespace qmf {

// Writes every byte of `bytes` to `device`, going on after a short write, so that a write that
// stops part-way (a full disk, a file-size limit) ends with the operating system's reason ("No
// space left on device", "File too large") instead of a short count without one. Returns an empty
// text on success, else that reason.
QString writeFully(QIODevice& device, QByteArrayView bytes);

// A file whose new contents replace the old ones only when every byte of them was written: they
// go to a temporary file beside it, every write is checked, and only then is it renamed over the
// old file. A failure anywhere leaves the old file as it was and is reported. Only a regular file
// (or none) is replaced: a FIFO, a device or a directory of that name is refused.
//
// QSaveFile alone does not give this: in Qt 6.4 its commit() reports success when the last
// buffered bytes could not be written, and the short file then replaces the old one. Writing
// unbuffered and checking the device before the commit closes that gap.
class AllOrNothingFile {
public:
    explicit AllOrNothingFile(const QString& path);
    ~AllOrNothingFile(); // a file that was not committed is discarded
    AllOrNothingFile(const AllOrNothingFile&) = delete;
    AllOrNothingFile& operator=(const AllOrNothingFile&) = delete;

    // Each returns false once anything failed; errorString() then says why.
    bool open();
    bool write(QByteArrayView bytes);
    // Puts the new file in place of the old one.
    bool commit();
    // Drops the new contents; the old file stays.
    void discard();

    QString errorString() const { return error_; }

private:
    bool fail(const QString& reason);

    QSaveFile file_;
    QString error_;
};

// The whole contents at once: an empty text when `path` now holds exactly `bytes`, else why not
// (the old file is then unchanged).
QString writeWholeFile(const QString& path, QByteArrayView bytes);

} // namespace qmf
