// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/logs/LogStartRegisters.h"

#include "core/chip/RegisterMap.h"
#include "core/chip/SharedState.h"
#include "core/link/RegisterAccess.h"

#include <algorithm>

namespace qmf {

const QList<quint8>& logStartRegisters() {
    static const QList<quint8> registers = [] {
        QList<quint8> list{0x07, 0x08, 0x09}; // alarm, hot-plug and full speed of both fans
        for (RegisterFamily family :
             {RegisterFamily::FanControl, RegisterFamily::FanSpeed1, RegisterFamily::FanSpeed2,
              RegisterFamily::FanHighLimit, RegisterFamily::TempTmin, RegisterFamily::TempTstepHyst,
              RegisterFamily::TempHighLimit, RegisterFamily::TempLowLimit,
              RegisterFamily::AinHighLimit, RegisterFamily::AinLowLimit}) {
            for (int channel = 0; channel < RegisterMap::familyChannelCount(family); ++channel) {
                list.append(RegisterMap::familyAddress(family, channel));
            }
        }
        std::sort(list.begin(), list.end());
        return list;
    }();
    return registers;
}

CsvLogStart readCsvLogStart(SharedState& state, const QString& program) {
    CsvLogStart start{program, state.DeviceAddress, state.CommsMedium == 1, {}};
    for (quint8 reg : logStartRegisters()) {
        start.registers.append({reg, ReadRegisterAt(state, reg)});
    }
    return start;
}

} // namespace qmf
