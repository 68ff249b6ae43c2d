// SPDX-License-Identifier: GPL-3.0-or-later
#include "boards/linux/BitBangBusEngine.h"

#include "boards/linux/BitBangBus.h"
#include "boards/linux/BusTiming.h"
#include "boards/linux/PortIo.h"
#include "boards/linux/PortLines.h"
#include "boards/linux/PrinterPorts.h"
#include "core/link/LinkErrors.h"
#include "core/text/NumberText.h"

namespace qmf::linux_hw {

BitBangBusEngine::BitBangBusEngine(PrinterPorts& ports, BusTiming& timing)
    : ports_(ports), timing_(timing) {}

void BitBangBusEngine::setAuxOutputs(quint8 outputs) {
    checkAux("AuxOutputs", outputs);
    if (outputs == 0 && !ports_.hasPorts()) {
        rememberAuxOutputs(0);
        return; // no port, so no board whose outputs could be on
    }
    run("AuxOutputs", -1, -1, [outputs](PortLines& lines, BitBangBus&) { lines.setAux(outputs); });
    rememberAuxOutputs(outputs);
}

void BitBangBusEngine::setAuxOutputsPrepare(quint8 outputs) {
    checkAux("AuxOutputsPrepare", outputs);
    prepared_ = outputs;
    if (ports_.hasPorts()) {
        run("AuxOutputsPrepare", -1, -1, [](PortLines&, BitBangBus&) {});
    }
}

void BitBangBusEngine::setTransferSetting(qint16 setting) {
    if (setting < MinTransferSetting || setting > MaxTransferSetting) {
        throw LinkError(QStringLiteral("TransferSetting"), ports_.portName(), -1, -1,
                        QStringLiteral("a half clock period of %1 microseconds is outside what the "
                                       "SMBus allows (%2 to %3)")
                            .arg(setting)
                            .arg(MinTransferSetting)
                            .arg(MaxTransferSetting));
    }
    halfPeriodUs_ = setting;
}

void BitBangBusEngine::setTargetAddress(quint8 device) {
    checkDevice("TargetAddress", device, -1);
    target_ = device;
}

void BitBangBusEngine::ReadByte(quint8 device, quint8 reg, quint8& value) {
    checkDevice("ReadByte", device, reg);
    transfer("ReadByte", device, reg, [&](PortLines&, BitBangBus& bus) {
        bus.ensureIdle();
        bus.start();
        if (!bus.writeByte(device)) {
            // Nobody at this address: a normal answer, the search goes on.
            bus.stop();
            value = 0xFF;
            return;
        }
        if (!bus.writeByte(reg)) {
            bus.stop();
            throw BusFault(QStringLiteral("the device answered its address but did not "
                                          "acknowledge the register number"));
        }
        bus.repeatedStart();
        if (!bus.writeByte(quint8(device | 1))) {
            bus.stop();
            throw BusFault(
                QStringLiteral("the device did not acknowledge its address for the read"));
        }
        const quint8 byte = bus.readByte(false);
        bus.stop();
        value = byte;
    });
}

void BitBangBusEngine::WriteByte(quint8 device, quint8 reg, quint8 value) {
    checkDevice("WriteByte", device, reg);
    transfer("WriteByte", device, reg, [&](PortLines&, BitBangBus& bus) {
        bus.ensureIdle();
        bus.start();
        const char* refused = nullptr;
        if (!bus.writeByte(device)) {
            refused = "no acknowledge from the device: no chip answers at this address";
        } else if (!bus.writeByte(reg)) {
            refused = "the device did not acknowledge the register number";
        } else if (!bus.writeByte(value)) {
            refused = "the device did not acknowledge the data byte";
        }
        bus.stop();
        if (refused) {
            throw BusFault(QLatin1String(refused));
        }
    });
}

bool BitBangBusEngine::probeAddress(quint8 device) {
    checkDevice("probe", device, -1);
    bool answered = false;
    transfer("probe", device, -1, [&](PortLines&, BitBangBus& bus) {
        bus.ensureIdle();
        bus.start();
        answered = bus.writeByte(quint8(device | 1));
        if (answered) {
            // The device now sends a byte; taking it without an acknowledge ends its turn.
            bus.readByte(false);
        }
        bus.stop();
    });
    return answered;
}

void BitBangBusEngine::transfer(const char* operation, int device, int reg,
                                const std::function<void(PortLines&, BitBangBus&)>& body) {
    if (!health_) {
        run(operation, device, reg, body);
        return;
    }
    const qint64 started = timing_.nowUs();
    try {
        run(operation, device, reg, body);
    } catch (...) {
        health_->transferEnded(false, timing_.nowUs() - started);
        throw;
    }
    health_->transferEnded(true, timing_.nowUs() - started);
}

void BitBangBusEngine::run(const char* operation, int device, int reg,
                           const std::function<void(PortLines&, BitBangBus&)>& body) {
    const QString op = QLatin1String(operation);
    if (!ports_.hasPorts()) {
        throw LinkError(op, ports_.portName(), device, reg,
                        QStringLiteral("this PC has no printer port"));
    }
    try {
        PortLines& lines = ports_.selectedLines();
        lines.setMapping(pinMapping(alternate_));
        BitBangBus bus(lines, timing_, halfPeriodUs_, {observer_, health_});
        try {
            body(lines, bus);
        } catch (const BusFault& fault) {
            bus.abandon();
            throw LinkError(op, ports_.portName(), device, reg, fault.reason());
        }
    } catch (const PortIoError& error) {
        throw LinkError(op, ports_.portName(), device, reg, error.reason());
    }
}

void BitBangBusEngine::checkDevice(const char* operation, quint8 device, int reg) {
    if (device & 1) {
        throw LinkError(QLatin1String(operation), ports_.portName(), device, reg,
                        QStringLiteral("the device address is not in 8-bit form (bit 0 must be "
                                       "0: the 7-bit address shifted left by one)"));
    }
}

void BitBangBusEngine::checkAux(const char* operation, quint8 outputs) {
    if (outputs & ~AuxOutputMask) {
        throw LinkError(QLatin1String(operation), ports_.portName(), -1, -1,
                        QStringLiteral("%1h sets bits other than the board outputs (bit 4 heater "
                                       "1, bit 5 heater 2)")
                            .arg(text::hex(outputs)));
    }
}

} // namespace qmf::linux_hw
