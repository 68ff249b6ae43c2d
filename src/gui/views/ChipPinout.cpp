// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/views/ChipPinout.h"

namespace qmf::chiplayout {

namespace {
using namespace Qt::Literals::StringLiterals;

// The bus and alarm pins on the left with the first GPIOs; fans, remote diodes, analog inputs
// and the last GPIOs on the right, so that each indicator group sits beside its pins.
constexpr std::array<Pin, PinCount> Pins{{
    {1, "VCC"_L1, "supply, 3.3 V"_L1},
    {2, "ADDR"_L1, "SMBus address select"_L1},
    {3, "SDA"_L1, "SMBus data"_L1},
    {4, "SCL"_L1, "SMBus clock"_L1},
    {5, "INT"_L1, "interrupt output, active low"_L1},
    {6, "CFAULT"_L1, "fault line, open drain"_L1},
    {7, "GPIO0"_L1, "general-purpose I/O 0"_L1},
    {8, "GPIO1"_L1, "general-purpose I/O 1"_L1},
    {9, "GPIO2"_L1, "general-purpose I/O 2"_L1},
    {10, "GPIO3"_L1, "general-purpose I/O 3"_L1},
    {11, "GPIO4"_L1, "general-purpose I/O 4"_L1},
    {12, "GND"_L1, "ground"_L1},
    {13, "GPIO6"_L1, "general-purpose I/O 6"_L1},
    {14, "GPIO5"_L1, "general-purpose I/O 5"_L1},
    {15, "AIN0"_L1, "analog input 0"_L1},
    {16, "AIN1"_L1, "analog input 1"_L1},
    {17, "DXN2"_L1, "remote diode 2 cathode (TDM 2)"_L1},
    {18, "DXP2"_L1, "remote diode 2 anode (TDM 2)"_L1},
    {19, "DXN1"_L1, "remote diode 1 cathode (TDM 1)"_L1},
    {20, "DXP1"_L1, "remote diode 1 anode (TDM 1)"_L1},
    {21, "TACH1"_L1, "fan 1 tachometer input"_L1},
    {22, "PWM1"_L1, "fan 1 PWM output"_L1},
    {23, "TACH0"_L1, "fan 0 tachometer input"_L1},
    {24, "PWM0"_L1, "fan 0 PWM output"_L1},
}};
} // namespace

const std::array<Pin, PinCount>& pinout() {
    return Pins;
}

int pinNumber(const QString& name) {
    for (const Pin& pin : Pins) {
        if (name == pin.name) {
            return pin.number;
        }
    }
    return 0;
}

Side sideOf(int pin) {
    return pin <= PinsPerSide ? Side::Left : Side::Right;
}

int rowOf(int pin) {
    return pin <= PinsPerSide ? pin - 1 : PinCount - pin;
}

} // namespace qmf::chiplayout
