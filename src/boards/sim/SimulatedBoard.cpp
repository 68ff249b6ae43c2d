// SPDX-License-Identifier: GPL-3.0-or-later
#include "boards/sim/SimulatedBoard.h"

#include "core/link/LinkErrors.h"
#include "core/time/Clock.h"

namespace qmf::sim {

namespace {
constexpr qint16 kPortAddress = 0x378;
constexpr qint32 kSmbusBase = 0x0400;
constexpr quint8 kPortChipAddress = 0x5E;
constexpr quint8 kSmbusChipAddress = 0x5C;
constexpr qint16 kDefaultTransferSetting = 10;
// The PC's SMBus controller clocks at 100 kHz.
constexpr int SmbusHalfPeriodUs = 5;
} // namespace

struct SimulatedBoard::Impl {
    explicit Impl(const Clock& clock) : portChip(clock), smbusChip(clock) {}

    // Counts the transfer and down injected failures; throws for the transfer that consumes one.
    // The health counters see it as the real bus would: the time it takes at `halfPeriodUs` (a
    // read clocks four bytes of nine bits, a write three; the conditions take a half period
    // each), and a NACK where no chip answers.
    void maybeFail(const QString& operation, const QString& where, quint8 device, int reg,
                   int halfPeriodUs, bool read, bool answers) {
        ++transfers;
        const qint64 busUs = qint64(halfPeriodUs) * (read ? 2 * 36 + 3 : 2 * 27 + 2);
        const bool scheduled = transfers == failingTransfer;
        if (failuresLeft > 0 || scheduled) {
            failuresLeft -= scheduled ? 0 : 1;
            health->transferEnded(false, busUs);
            throw LinkError(operation, where, device, reg,
                            QStringLiteral("injected transfer failure"));
        }
        if (!answers) {
            health->nack();
        }
        health->transferEnded(true, busUs);
    }

    class Engine final : public BusEngine {
    public:
        explicit Engine(Impl& board) : b_(board) {}
        void setAuxOutputs(quint8 outputs) override {
            b_.portChip.setHeaters(outputs & Heater1Output, outputs & Heater2Output);
            rememberAuxOutputs(outputs);
        }
        void setAuxOutputsPrepare(quint8 outputs) override { b_.auxPrepare = outputs; }
        qint16 TransferSetting() override { return b_.transferSetting; }
        void setTransferSetting(qint16 setting) override { b_.transferSetting = setting; }
        void setTargetAddress(quint8 device) override { b_.portTarget = device; }
        bool AlternateMode() override { return b_.alternateMode; }
        void setAlternateMode(bool alternate) override { b_.alternateMode = alternate; }
        void ReadByte(quint8 device, quint8 reg, quint8& value) override {
            b_.maybeFail(QStringLiteral("ReadByte"), where(), device, reg, b_.transferSetting, true,
                         chipAt(device));
            value = chipAt(device) ? b_.portChip.readRegister(reg) : 0xFF;
        }
        void WriteByte(quint8 device, quint8 reg, quint8 value) override {
            b_.maybeFail(QStringLiteral("WriteByte"), where(), device, reg, b_.transferSetting,
                         false, chipAt(device));
            if (chipAt(device)) {
                b_.portChip.writeRegister(reg, value);
            }
        }
        bool probeAddress(quint8 device) override {
            b_.maybeFail(QStringLiteral("probe"), where(), device, -1, b_.transferSetting, true,
                         chipAt(device));
            return chipAt(device);
        }

    private:
        // The board's chip answers at 5Eh in the normal bus mode only; elsewhere the bus floats.
        bool chipAt(quint8 device) const { return device == kPortChipAddress && !b_.alternateMode; }
        static QString where() {
            return QStringLiteral("simulated evaluation board (printer port 378h)");
        }
        Impl& b_;
    };

    class Port final : public ParallelPortLink {
    public:
        explicit Port(Impl& board) : b_(board) {}
        quint8 PortCount() override { return 1; }
        void setPortIndex(quint8 index) override {
            if (index != 0) {
                throw LinkError(QStringLiteral("PortIndex"),
                                QStringLiteral("simulated evaluation board"), -1, -1,
                                QStringLiteral("there is no printer port %1 (the board has one "
                                               "port, index 0)")
                                    .arg(index));
            }
        }
        qint16 PortAddress() override { return kPortAddress; }
        BusEngine& busEngine() override { return b_.engine; }

    private:
        Impl& b_;
    };

    class Smbus final : public SmbusLink {
    public:
        explicit Smbus(Impl& board) : b_(board) {}
        qint32 BaseAddress() override { return kSmbusBase; }
        void setTargetAddress(quint8 device) override { b_.smbusTarget = device; }
        void ReadByte(quint8 device, quint8 reg, quint8& value) override {
            b_.maybeFail(QStringLiteral("ReadByte"), where(), device, reg, SmbusHalfPeriodUs, true,
                         device == b_.smbusChipAddress);
            value = device == b_.smbusChipAddress ? b_.smbusChip.readRegister(reg) : 0xFF;
        }
        void WriteByte(quint8 device, quint8 reg, quint8 value) override {
            b_.maybeFail(QStringLiteral("WriteByte"), where(), device, reg, SmbusHalfPeriodUs,
                         false, device == b_.smbusChipAddress);
            if (device == b_.smbusChipAddress) {
                b_.smbusChip.writeRegister(reg, value);
            }
        }
        bool probeAddress(quint8 device) override {
            b_.maybeFail(QStringLiteral("probe"), where(), device, -1, SmbusHalfPeriodUs, true,
                         device == b_.smbusChipAddress);
            return device == b_.smbusChipAddress;
        }

    private:
        static QString where() { return QStringLiteral("simulated PC SMBus (base 400h)"); }
        Impl& b_;
    };

    SimulatedChip portChip;
    SimulatedChip smbusChip;
    Engine engine{*this};
    Port port{*this};
    Smbus smbus{*this};
    int failuresLeft = 0;
    qint64 transfers = 0;
    qint64 failingTransfer = 0; // the number of the one transfer to fail, 0 for none
    quint8 auxPrepare = 0;
    qint16 transferSetting = kDefaultTransferSetting;
    bool alternateMode = false;
    quint8 portTarget = 0;
    quint8 smbusTarget = 0;
    int activeMedium = 0;
    quint8 smbusChipAddress = kSmbusChipAddress;
    BusHealth* health = nullptr;
};

SimulatedBoard::SimulatedBoard(const Clock& clock) : impl_(std::make_unique<Impl>(clock)) {
    impl_->health = &busHealth();
}

SimulatedBoard::~SimulatedBoard() = default;

SimulatedChip& SimulatedBoard::printerPortChip() {
    return impl_->portChip;
}

SimulatedChip& SimulatedBoard::smbusChip() {
    return impl_->smbusChip;
}

void SimulatedBoard::setSmbusChipAddress(quint8 address) {
    impl_->smbusChipAddress = address;
}

quint8 SimulatedBoard::smbusChipAddress() const {
    return impl_->smbusChipAddress;
}

void SimulatedBoard::failNextTransfers(int count) {
    impl_->failuresLeft = qMax(0, count);
}

void SimulatedBoard::failTransferAfter(qint64 passing) {
    impl_->failingTransfer = passing < 0 ? 0 : impl_->transfers + passing + 1;
}

qint64 SimulatedBoard::transferCount() const {
    return impl_->transfers;
}

ParallelPortLink& SimulatedBoard::parallelPortLink() {
    return impl_->port;
}

SmbusLink& SimulatedBoard::smbusLink() {
    return impl_->smbus;
}

void SimulatedBoard::setActiveMedium(int medium) {
    if (medium != int(ActiveMedium::PrinterPort) && medium != int(ActiveMedium::Smbus)) {
        throw LinkError(
            QStringLiteral("ActiveMedium"), description(), -1, -1,
            QStringLiteral("medium %1 is neither 0 (printer port) nor 1 (SMBus)").arg(medium));
    }
    impl_->activeMedium = medium;
}

QString SimulatedBoard::description() const {
    return QStringLiteral("simulated evaluation board");
}

int SimulatedBoard::activeMedium() const {
    return impl_->activeMedium;
}

quint8 SimulatedBoard::auxOutputs() const {
    return impl_->engine.AuxOutputs();
}

} // namespace qmf::sim
