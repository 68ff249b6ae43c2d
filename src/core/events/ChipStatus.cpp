// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/events/ChipStatus.h"

#include "core/measure/Temperature.h"

namespace qmf::events {

FanStatus decodeFanStatus(quint8 fanStatusRegister) {
    FanStatus status;
    status.missing = fanStatusRegister & fanstatus::Missing;
    status.missingLatched = fanStatusRegister & fanstatus::MissingLatched;
    status.fault = fanStatusRegister & fanstatus::Fault;
    status.faultLatched = fanStatusRegister & fanstatus::FaultLatched;
    return status;
}

TemperatureStatus decodeTemperatureStatus(quint8 mainStatus, qint16 value, qint16 lowLimit,
                                          qint16 highLimit) {
    TemperatureStatus status;
    status.thermalEvent = mainStatus & mainstatus::ThermalEvent;
    if (value > highLimit) {
        status.side = LimitSide::AboveHigh;
    } else if (value < lowLimit) {
        status.side = LimitSide::BelowLow;
    }
    return status;
}

TemperatureStatus decodeTemperatureStatusBytes(quint8 mainStatus, quint8 value, quint8 lowLimit,
                                               quint8 highLimit) {
    return decodeTemperatureStatus(mainStatus, Temperature::RegisterToTemperature(value),
                                   Temperature::RegisterToTemperature(lowLimit),
                                   Temperature::RegisterToTemperature(highLimit));
}

} // namespace qmf::events
