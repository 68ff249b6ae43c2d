// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SimStateFile.h"

#include "boards/sim/SimulatedBoard.h"
#include "cli/CommandFailure.h"
#include "cli/Interrupt.h"
#include "core/files/AllOrNothingFile.h"
#include "core/files/WholeFileReader.h"
#include "core/time/Clock.h"

#include <QDataStream>

namespace qmf::cli {

namespace {

constexpr quint32 Magic = 0x514D4642; // "QMFB": a whole simulated board
constexpr quint16 Version = 1;
// A saved board is a few kilobytes; anything far larger is not one.
constexpr qint64 MaxFileSize = 1 << 20;

void prepare(QDataStream& stream) {
    stream.setVersion(QDataStream::Qt_6_4);
    stream.setByteOrder(QDataStream::BigEndian);
}

CommandFailure stateFailure(const QString& path, const QString& reason) {
    return CommandFailure(QStringLiteral("simulated board state %1: %2").arg(path, reason));
}

} // namespace

QString restoreSimulatedBoardBytes(const QByteArray& bytes, sim::SimulatedBoard& board) {
    if (bytes.isEmpty()) {
        return {};
    }
    QDataStream stream(bytes);
    prepare(stream);
    quint32 magic = 0;
    quint16 version = 0;
    QByteArray portChip, smbusChip;
    stream >> magic >> version;
    if (stream.status() != QDataStream::Ok || magic != Magic) {
        return QStringLiteral("the file is not a saved simulated board");
    }
    if (version != Version) {
        return QStringLiteral("version %1 is not supported (this tool reads version %2)")
            .arg(version)
            .arg(Version);
    }
    stream >> portChip >> smbusChip;
    if (stream.status() != QDataStream::Ok || !stream.atEnd()) {
        return QStringLiteral("the file is truncated or damaged");
    }
    // Both chips are checked before either is changed, so that a damaged file changes nothing.
    ManualClock scratchClock;
    sim::SimulatedChip scratch(scratchClock);
    QString error;
    if (!scratch.restoreState(portChip, &error)) {
        return QStringLiteral("printer-port chip: ") + error;
    }
    if (!scratch.restoreState(smbusChip, &error)) {
        return QStringLiteral("SMBus chip: ") + error;
    }
    board.printerPortChip().restoreState(portChip, &error);
    board.smbusChip().restoreState(smbusChip, &error);
    return {};
}

void restoreSimulatedBoard(const QString& path, sim::SimulatedBoard& board) {
    const WholeFile file = readWholeFile(path, MaxFileSize, interruptibleRead(path));
    switch (file.status) {
    case WholeFile::Status::NotFound:
        return; // a board fresh from power-up
    case WholeFile::Status::Read:
        break;
    case WholeFile::Status::Interrupted:
        throw Interrupted(stateFailure(path, QStringLiteral("interrupted while reading")).lines());
    case WholeFile::Status::TooLarge:
        throw stateFailure(path, QStringLiteral("the file is too large to be a saved board"));
    case WholeFile::Status::Failed:
        throw stateFailure(path, file.error);
    }
    if (const QString reason = restoreSimulatedBoardBytes(file.bytes, board); !reason.isEmpty()) {
        throw stateFailure(path, reason);
    }
}

void saveSimulatedBoard(const QString& path, sim::SimulatedBoard& board) {
    QByteArray bytes;
    {
        QDataStream stream(&bytes, QIODevice::WriteOnly);
        prepare(stream);
        stream << Magic << Version << board.printerPortChip().saveState()
               << board.smbusChip().saveState();
    }
    if (const QString reason = writeWholeFile(path, bytes); !reason.isEmpty()) {
        throw stateFailure(path, QStringLiteral("not saved (%1); the file keeps its previous "
                                                "contents")
                                     .arg(reason));
    }
}

} // namespace qmf::cli
