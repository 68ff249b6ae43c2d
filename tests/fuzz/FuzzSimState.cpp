// SPDX-License-Identifier: GPL-3.0-or-later
// The saved simulated board (--sim-state). The first byte chooses what the rest is: the file's
// bytes as they are, or one chip's payload wrapped in a valid file (magic, version and checksum
// right), so that the checks of every restored quantity are reached and not only the checksum.
// A board that is accepted must run on for days and save a state the next run accepts.
#include "FuzzTarget.h"
#include "boards/sim/SimulatedBoard.h"
#include "cli/SimStateFile.h"
#include "core/time/Clock.h"

#include <QDataStream>
#include <QIODevice>

using namespace qmf;

namespace {

QByteArray chipState(quint16 version, const QByteArray& payload) {
    QByteArray state;
    QDataStream s(&state, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::BigEndian);
    s << quint32(0x514D4653) << version << payload << quint16(qChecksum(payload));
    return state;
}

QByteArray boardFile(const QByteArray& portChip, const QByteArray& smbusChip) {
    QByteArray bytes;
    QDataStream s(&bytes, QIODevice::WriteOnly);
    s.setVersion(QDataStream::Qt_6_4);
    s.setByteOrder(QDataStream::BigEndian);
    s << quint32(0x514D4642) << quint16(1) << portChip << smbusChip;
    return bytes;
}

// A valid chip's payload, to take the other chip from.
QByteArray freshChip() {
    ManualClock clock;
    sim::SimulatedChip chip(clock);
    return chip.saveState();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const QByteArray rest(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    QByteArray bytes;
    switch (data[0] % 3) {
    case 0:
        bytes = rest;
        break;
    case 1: // a payload of the current format
        bytes = boardFile(chipState(2, rest), freshChip());
        break;
    default: // a payload of the first format, on the SMBus chip
        bytes = boardFile(freshChip(), chipState(1, rest));
        break;
    }

    ManualClock clock;
    sim::SimulatedBoard board(clock);
    const QByteArray before = board.printerPortChip().saveState();
    if (!cli::restoreSimulatedBoardBytes(bytes, board).isEmpty()) {
        // Refused: neither chip changed.
        FUZZ_CHECK(board.printerPortChip().saveState() == before);
        return 0;
    }
    // Accepted: it runs (reads every register over days of model time) and saves a state that
    // is accepted again.
    for (const qint64 ms : {0LL, 150LL, 61000LL, 3LL * 86400 * 1000}) {
        clock.advanceMs(ms);
        for (int reg = 0; reg < 256; ++reg) {
            board.printerPortChip().readRegister(quint8(reg));
            board.smbusChip().readRegister(quint8(reg));
        }
    }
    const QByteArray saved =
        boardFile(board.printerPortChip().saveState(), board.smbusChip().saveState());
    ManualClock nextClock;
    sim::SimulatedBoard next(nextClock);
    FUZZ_CHECK(cli::restoreSimulatedBoardBytes(saved, next).isEmpty());
    return 0;
}
