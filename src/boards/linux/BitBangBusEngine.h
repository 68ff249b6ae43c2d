// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/link/BoardLink.h"

#include <functional>

namespace qmf::linux_hw {

class BitBangBus;
class BusTiming;
class PortLines;
class PrinterPorts;

// The bus engine of the selected printer port: SMBus byte-data transfers bit-banged on the port's
// lines, and the board outputs.
//
// TransferSetting is the half clock period in microseconds (5 to 50: the SMBus runs between
// 10 and 100 kHz); AlternateMode selects the pin mapping of the board revision (False: standard,
// True: alternate); AuxOutputsPrepare checks the byte and claims the port, so that the
// AuxOutputs that follows it is a single port write.
class BitBangBusEngine final : public BusEngine {
public:
    static constexpr qint16 DefaultTransferSetting = 10;
    static constexpr qint16 MinTransferSetting = 5;
    static constexpr qint16 MaxTransferSetting = 50;

    BitBangBusEngine(PrinterPorts& ports, BusTiming& timing);

    void setAuxOutputs(quint8 outputs) override;
    void setAuxOutputsPrepare(quint8 outputs) override;
    qint16 TransferSetting() override { return halfPeriodUs_; }
    void setTransferSetting(qint16 setting) override;
    void setTargetAddress(quint8 device) override;
    bool AlternateMode() override { return alternate_; }
    void setAlternateMode(bool alternate) override { alternate_ = alternate; }
    void ReadByte(quint8 device, quint8 reg, quint8& value) override;
    void WriteByte(quint8 device, quint8 reg, quint8 value) override;
    bool probeAddress(quint8 device) override;
    bool setLineObserver(trace::LineObserver* observer) override {
        observer_ = observer;
        return true;
    }
    // The counters the transfers count into (none: not counted).
    void setHealth(BusHealth* health) { health_ = health; }

    // The ports switched the board's outputs off when they let go of the port.
    void outputsReleased() { rememberAuxOutputs(0); }

    quint8 targetAddress() const { return target_; }
    quint8 preparedAuxOutputs() const { return prepared_; }

private:
    // Runs one operation on the selected port's lines, turning port and bus failures into a
    // LinkError that names the operation, the port, the device and the register.
    void run(const char* operation, int device, int reg,
             const std::function<void(PortLines&, BitBangBus&)>& body);
    // run() for a transfer on the bus, counted in the health counters.
    void transfer(const char* operation, int device, int reg,
                  const std::function<void(PortLines&, BitBangBus&)>& body);
    void checkDevice(const char* operation, quint8 device, int reg);
    void checkAux(const char* operation, quint8 outputs);

    PrinterPorts& ports_;
    BusTiming& timing_;
    qint16 halfPeriodUs_ = DefaultTransferSetting;
    bool alternate_ = false;
    quint8 target_ = 0;
    quint8 prepared_ = 0;
    trace::LineObserver* observer_ = nullptr;
    BusHealth* health_ = nullptr;
};

} // namespace qmf::linux_hw
