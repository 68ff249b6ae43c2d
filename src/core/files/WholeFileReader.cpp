// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/WholeFileReader.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qmf {

namespace {

constexpr qint64 ChunkSize = 64 * 1024;
// How long one wait for a pipe lasts before stop() is asked again.
constexpr int PollSliceMs = 100;

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

WholeFile failed(const QString& reason) {
    WholeFile result;
    result.status = WholeFile::Status::Failed;
    result.error = reason;
    return result;
}

// What a file that cannot be read as data is, for the message; empty for what can be read.
QString refusedKind(const struct stat& info, bool terminalAllowed, int fd) {
    if (S_ISDIR(info.st_mode)) {
        return QStringLiteral("a directory");
    }
    if (S_ISCHR(info.st_mode)) {
        return terminalAllowed && ::isatty(fd) ? QString()
                                               : QStringLiteral("a device (character special "
                                                                "file)");
    }
    if (S_ISBLK(info.st_mode)) {
        return QStringLiteral("a device (block special file)");
    }
    if (S_ISSOCK(info.st_mode)) {
        return QStringLiteral("a socket");
    }
    if (!S_ISREG(info.st_mode) && !S_ISFIFO(info.st_mode)) {
        return QStringLiteral("not a regular file");
    }
    return {};
}

enum class Source { RegularFile, Stream, Terminal };

// Waits until `fd` has data or its end (true), or stop() asks to end (false).
bool waitReadable(int fd, Source source, const ReadControl& control, bool& toldWaiting) {
    for (;;) {
        if (control.stop && control.stop()) {
            return false;
        }
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, PollSliceMs);
        if (ready > 0) {
            return true;
        }
        if (ready < 0 && errno != EINTR) {
            return true; // let the read report it
        }
        if (ready == 0 && !toldWaiting && source == Source::Stream && control.waiting) {
            toldWaiting = true;
            control.waiting();
        }
    }
}

WholeFile readToEnd(int fd, Source source, qint64 maxBytes, const ReadControl& control) {
    WholeFile result;
    QByteArray bytes;
    char chunk[ChunkSize];
    bool toldWaiting = false;
    for (;;) {
        if (control.stop && control.stop()) {
            result.status = WholeFile::Status::Interrupted;
            return result;
        }
        // A regular file is read without waiting; one growing meanwhile is read as far as it got.
        if (source != Source::RegularFile && !waitReadable(fd, source, control, toldWaiting)) {
            result.status = WholeFile::Status::Interrupted;
            return result;
        }
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN) {
                continue;
            }
            return failed(systemError(errno));
        }
        if (got == 0) {
            break;
        }
        if (bytes.size() + got > maxBytes) {
            result.status = WholeFile::Status::TooLarge;
            result.error = QStringLiteral("it holds more than %1 bytes").arg(maxBytes);
            return result;
        }
        bytes.append(chunk, got);
    }
    result.status = WholeFile::Status::Read;
    result.bytes = std::move(bytes);
    return result;
}

WholeFile readOpen(int fd, bool terminalAllowed, qint64 maxBytes, const ReadControl& control) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return failed(systemError(errno));
    }
    if (const QString kind = refusedKind(info, terminalAllowed, fd); !kind.isEmpty()) {
        return failed(QStringLiteral("it is %1, not a file").arg(kind));
    }
    const Source source = S_ISREG(info.st_mode)    ? Source::RegularFile
                          : S_ISFIFO(info.st_mode) ? Source::Stream
                                                   : Source::Terminal;
    return readToEnd(fd, source, maxBytes, control);
}

} // namespace

WholeFile readWholeFile(const QString& path, qint64 maxBytes, const ReadControl& control) {
    // O_NONBLOCK: opening a FIFO returns at once instead of waiting for a writer.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        WholeFile result = failed(systemError(error));
        if (error == ENOENT) {
            result.status = WholeFile::Status::NotFound;
        }
        return result;
    }
    WholeFile result = readOpen(fd, false, maxBytes, control);
    ::close(fd);
    return result;
}

WholeFile readWholeDescriptor(int fd, qint64 maxBytes, const ReadControl& control) {
    return readOpen(fd, true, maxBytes, control);
}

} // namespace qmf
