// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/BusScan.h"

#include "core/chip/RegisterMap.h"
#include "core/link/BoardLink.h"
#include "core/link/DeviceSearch.h"
#include "core/link/LinkErrors.h"
#include "core/text/NumberText.h"

#include <algorithm>

namespace qmf {

namespace {

bool isQmf4150Address(int address7) {
    const int device = address7 << 1;
    return std::find(AddressCandidates.begin(), AddressCandidates.end(), device) !=
           AddressCandidates.end();
}

bool probe(BoardLink& board, const ScanTarget& target, int address7) {
    const quint8 device = quint8(address7 << 1);
    return target.medium == ScanTarget::Medium::Smbus
               ? board.smbusLink().probeAddress(device)
               : board.parallelPortLink().busEngine().probeAddress(device);
}

quint8 readId(BoardLink& board, const ScanTarget& target, int address7) {
    quint8 value = 0;
    const quint8 device = quint8(address7 << 1);
    if (target.medium == ScanTarget::Medium::Smbus) {
        board.smbusLink().ReadByte(device, Reg::ManufacturerId, value);
    } else {
        board.parallelPortLink().busEngine().ReadByte(device, Reg::ManufacturerId, value);
    }
    return value;
}

} // namespace

BusScanResult scanBus(BoardLink& board, const ScanTarget& target) {
    BusScanResult result;
    result.target = target;
    result.lastProbed = FirstScanAddress - 1;
    try {
        if (target.medium == ScanTarget::Medium::Smbus) {
            const qint32 base = board.smbusLink().BaseAddress();
            result.label = base != 0
                               ? QStringLiteral("SMBus (base %1h)").arg(text::hex(quint32(base)))
                               : QStringLiteral("SMBus");
        } else {
            ParallelPortLink& ports = board.parallelPortLink();
            result.label = QStringLiteral("printer port %1").arg(target.port);
            ports.setPortIndex(quint8(target.port));
            result.label += QStringLiteral(" (%1h), %2 bus mode")
                                .arg(text::hex(quint16(ports.PortAddress())),
                                     target.alternate ? QStringLiteral("alternate")
                                                      : QStringLiteral("standard"));
            ports.busEngine().setAlternateMode(target.alternate);
        }
        for (int address = FirstScanAddress; address <= LastScanAddress; ++address) {
            if (probe(board, target, address)) {
                result.answering << address;
            }
            result.lastProbed = address;
        }
        for (const int address : std::as_const(result.answering)) {
            if (isQmf4150Address(address) &&
                readId(board, target, address) == Reg::ManufacturerIdValue) {
                result.qmf4150 << address;
            }
        }
    } catch (const LinkError& error) {
        result.failure = error.message();
    }
    return result;
}

QString scanCell(const BusScanResult& result, int address) {
    if (address < FirstScanAddress || address > LastScanAddress) {
        return {};
    }
    if (address > result.lastProbed) {
        return QStringLiteral("??");
    }
    if (!result.answering.contains(address)) {
        return QStringLiteral("--");
    }
    return QStringLiteral("%1").arg(address, 2, 16, QLatin1Char('0'));
}

QStringList scanGrid(const BusScanResult& result) {
    QStringList lines{QStringLiteral("     0  1  2  3  4  5  6  7  8  9  a  b  c  d  e  f")};
    for (int row = 0; row < 8; ++row) {
        QString line = QStringLiteral("%1:").arg(row * 16, 2, 16, QLatin1Char('0'));
        for (int column = 0; column < 16; ++column) {
            const int address = row * 16 + column;
            QString cell = scanCell(result, address);
            line += result.qmf4150.contains(address) ? QStringLiteral("*") : QStringLiteral(" ");
            line += cell.isEmpty() ? QStringLiteral("  ") : cell;
        }
        while (line.endsWith(QLatin1Char(' '))) {
            line.chop(1);
        }
        lines << line;
    }
    return lines;
}

} // namespace qmf
