// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/link/BoardLink.h"

#include <QList>
#include <QStringList>
#include <array>
#include <map>
#include <memory>
#include <tuple>

namespace qmf::test {

// A fake board link that logs every operation in order and holds a register file per chip, so a
// test can assert the exact transfers. Log lines:
//   "get ParallelPortLink", "get SmbusLink", "get BusEngine", "ActiveMedium=0",
//   "PortCount", "PortIndex=1", "PortAddress", "AuxOutputs=16", "AuxOutputsPrepare=16",
//   "TransferSetting=10", "get TransferSetting", "TargetAddress=5E", "AlternateMode=1",
//   "get AlternateMode", "Smbus.BaseAddress", "Smbus.TargetAddress=5E",
//   "BusEngine.ReadByte(5E,0D)=41", "BusEngine.WriteByte(5E,60,89)",
//   "Smbus.ReadByte(5E,0D)=41", "Smbus.WriteByte(5E,60,89)".
// A failed operation is logged with " FAILED" appended.
class RecordingBoard final : public BoardLink, ParallelPortLink, BusEngine {
public:
    RecordingBoard();

    // --- set-up -------------------------------------------------------------------------------
    // Printer ports and their I/O addresses (default: one port at 0x378).
    void setPorts(QList<qint16> addresses) { portAddresses_ = std::move(addresses); }
    // A chip on a printer port that answers under the given AlternateMode; its register 0x0D
    // reads 0x41 and every other register 0.
    void addParallelChip(int port, bool alternateMode, quint8 address);
    void addSmbusChip(quint8 address);
    void setBaseAddress(qint32 base) { baseAddress_ = base; }
    void setTransferSettingValue(qint16 value) { transferSetting_ = value; }
    // The next `count` operations whose log line starts with `prefix` (any operation when empty)
    // throw LinkError.
    void failNext(int count, QString prefix = {});

    // Register files. The printer-port path uses the chip at the selected port and mode; the
    // SMBus path its own chip. Absent chips read 0xFF.
    std::array<quint8, 256>& parallelRegisters(int port, bool alternateMode, quint8 address);
    std::array<quint8, 256>& smbusRegisters(quint8 address);

    // --- inspection ---------------------------------------------------------------------------
    QStringList log;
    // Only the ReadByte / WriteByte lines of the log.
    QStringList transfers() const;
    void clearLog() { log.clear(); }
    int activeMedium() const { return activeMedium_; }
    int portIndex() const { return portIndex_; }
    bool alternateMode() const { return alternateMode_; }
    int auxOutputs() const { return auxOutputs_; }
    qint16 transferSetting() const { return transferSetting_; }

    // --- BoardLink ----------------------------------------------------------------------------
    ParallelPortLink& parallelPortLink() override;
    SmbusLink& smbusLink() override;
    void setActiveMedium(int medium) override;
    QString description() const override { return QStringLiteral("recording board"); }
    bool smbusAvailable() override { return smbusAvailable_; }
    void setSmbusAvailable(bool available) { smbusAvailable_ = available; }

private:
    // ParallelPortLink
    quint8 PortCount() override;
    void setPortIndex(quint8 index) override;
    qint16 PortAddress() override;
    BusEngine& busEngine() override;
    // BusEngine
    void setAuxOutputs(quint8 outputs) override;
    void setAuxOutputsPrepare(quint8 outputs) override;
    qint16 TransferSetting() override;
    void setTransferSetting(qint16 setting) override;
    void setTargetAddress(quint8 device) override;
    bool AlternateMode() override;
    void setAlternateMode(bool alternate) override;
    void ReadByte(quint8 device, quint8 reg, quint8& value) override;
    void WriteByte(quint8 device, quint8 reg, quint8 value) override;
    // SmbusLink (its ReadByte/WriteByte/setTargetAddress share names with the bus engine's, so
    // the SMBus side is a separate object)
    class Smbus;
    friend class Smbus;

    void record(const QString& line);
    std::array<quint8, 256>* chipAt(bool printerPort, quint8 device);

    QList<qint16> portAddresses_{0x378};
    int portIndex_ = 0;
    bool alternateMode_ = false;
    int activeMedium_ = -1;
    int auxOutputs_ = -1;
    qint16 transferSetting_ = 10;
    qint32 baseAddress_ = 0x400;
    bool smbusAvailable_ = true;
    int failCount_ = 0;
    QString failPrefix_;
    std::map<std::tuple<int, bool, quint8>, std::array<quint8, 256>> parallelChips_;
    std::map<quint8, std::array<quint8, 256>> smbusChips_;
    std::unique_ptr<SmbusLink> smbus_;
};

} // namespace qmf::test
