// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/RecordingBoard.h"

#include "core/link/LinkErrors.h"

namespace qmf::test {

namespace {
QString hex2(int value) {
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

std::array<quint8, 256> freshChip() {
    std::array<quint8, 256> regs{};
    regs[0x0D] = 0x41;
    return regs;
}
} // namespace

class RecordingBoard::Smbus final : public SmbusLink {
public:
    explicit Smbus(RecordingBoard& owner) : owner_(owner) {}
    qint32 BaseAddress() override {
        owner_.record(QStringLiteral("Smbus.BaseAddress"));
        return owner_.baseAddress_;
    }
    void setTargetAddress(quint8 device) override {
        owner_.record(QStringLiteral("Smbus.TargetAddress=") + hex2(device));
    }
    void ReadByte(quint8 device, quint8 reg, quint8& value) override {
        const QString line = QStringLiteral("Smbus.ReadByte(%1,%2)").arg(hex2(device), hex2(reg));
        owner_.record(line);
        auto* chip = owner_.chipAt(false, device);
        value = chip ? (*chip)[reg] : 0xFF;
        owner_.log.last() += QStringLiteral("=") + hex2(value);
    }
    void WriteByte(quint8 device, quint8 reg, quint8 value) override {
        owner_.record(
            QStringLiteral("Smbus.WriteByte(%1,%2,%3)").arg(hex2(device), hex2(reg), hex2(value)));
        if (auto* chip = owner_.chipAt(false, device)) {
            (*chip)[reg] = value;
        }
    }

private:
    RecordingBoard& owner_;
};

RecordingBoard::RecordingBoard() : smbus_(std::make_unique<Smbus>(*this)) {}

void RecordingBoard::addParallelChip(int port, bool alternateMode, quint8 address) {
    parallelChips_[{port, alternateMode, address}] = freshChip();
}

void RecordingBoard::addSmbusChip(quint8 address) {
    smbusChips_[address] = freshChip();
}

void RecordingBoard::failNext(int count, QString prefix) {
    failCount_ = count;
    failPrefix_ = std::move(prefix);
}

std::array<quint8, 256>& RecordingBoard::parallelRegisters(int port, bool alternateMode,
                                                           quint8 address) {
    auto it = parallelChips_.find({port, alternateMode, address});
    if (it == parallelChips_.end()) {
        it = parallelChips_.emplace(std::make_tuple(port, alternateMode, address), freshChip())
                 .first;
    }
    return it->second;
}

std::array<quint8, 256>& RecordingBoard::smbusRegisters(quint8 address) {
    auto it = smbusChips_.find(address);
    if (it == smbusChips_.end()) {
        it = smbusChips_.emplace(address, freshChip()).first;
    }
    return it->second;
}

QStringList RecordingBoard::transfers() const {
    QStringList result;
    for (const QString& line : log) {
        if (line.contains(QLatin1String("ReadByte(")) ||
            line.contains(QLatin1String("WriteByte("))) {
            result << line;
        }
    }
    return result;
}

void RecordingBoard::record(const QString& line) {
    log << line;
    if (failCount_ > 0 && (failPrefix_.isEmpty() || line.startsWith(failPrefix_))) {
        --failCount_;
        log.last() += QStringLiteral(" FAILED");
        throw LinkError(line.section(QLatin1Char('('), 0, 0), QStringLiteral("recording board"), -1,
                        -1, QStringLiteral("injected failure"));
    }
}

std::array<quint8, 256>* RecordingBoard::chipAt(bool printerPort, quint8 device) {
    if (printerPort) {
        auto it = parallelChips_.find({portIndex_, alternateMode_, device});
        return it == parallelChips_.end() ? nullptr : &it->second;
    }
    auto it = smbusChips_.find(device);
    return it == smbusChips_.end() ? nullptr : &it->second;
}

ParallelPortLink& RecordingBoard::parallelPortLink() {
    record(QStringLiteral("get ParallelPortLink"));
    return *this;
}

SmbusLink& RecordingBoard::smbusLink() {
    record(QStringLiteral("get SmbusLink"));
    return *smbus_;
}

void RecordingBoard::setActiveMedium(int medium) {
    record(QStringLiteral("ActiveMedium=%1").arg(medium));
    activeMedium_ = medium;
}

quint8 RecordingBoard::PortCount() {
    record(QStringLiteral("PortCount"));
    return quint8(portAddresses_.size());
}

void RecordingBoard::setPortIndex(quint8 index) {
    record(QStringLiteral("PortIndex=%1").arg(index));
    portIndex_ = index;
}

qint16 RecordingBoard::PortAddress() {
    record(QStringLiteral("PortAddress"));
    return portIndex_ < portAddresses_.size() ? portAddresses_[portIndex_] : qint16(0);
}

BusEngine& RecordingBoard::busEngine() {
    record(QStringLiteral("get BusEngine"));
    return *this;
}

void RecordingBoard::setAuxOutputs(quint8 outputs) {
    record(QStringLiteral("AuxOutputs=%1").arg(outputs));
    auxOutputs_ = outputs;
    rememberAuxOutputs(outputs);
}

void RecordingBoard::setAuxOutputsPrepare(quint8 outputs) {
    record(QStringLiteral("AuxOutputsPrepare=%1").arg(outputs));
}

qint16 RecordingBoard::TransferSetting() {
    record(QStringLiteral("get TransferSetting"));
    return transferSetting_;
}

void RecordingBoard::setTransferSetting(qint16 setting) {
    record(QStringLiteral("TransferSetting=%1").arg(setting));
    transferSetting_ = setting;
}

void RecordingBoard::setTargetAddress(quint8 device) {
    record(QStringLiteral("TargetAddress=") + hex2(device));
}

bool RecordingBoard::AlternateMode() {
    record(QStringLiteral("get AlternateMode"));
    return alternateMode_;
}

void RecordingBoard::setAlternateMode(bool alternate) {
    record(QStringLiteral("AlternateMode=%1").arg(alternate ? 1 : 0));
    alternateMode_ = alternate;
}

void RecordingBoard::ReadByte(quint8 device, quint8 reg, quint8& value) {
    record(QStringLiteral("BusEngine.ReadByte(%1,%2)").arg(hex2(device), hex2(reg)));
    auto* chip = chipAt(true, device);
    value = chip ? (*chip)[reg] : 0xFF;
    log.last() += QStringLiteral("=") + hex2(value);
}

void RecordingBoard::WriteByte(quint8 device, quint8 reg, quint8 value) {
    record(
        QStringLiteral("BusEngine.WriteByte(%1,%2,%3)").arg(hex2(device), hex2(reg), hex2(value)));
    if (auto* chip = chipAt(true, device)) {
        (*chip)[reg] = value;
    }
}

} // namespace qmf::test
