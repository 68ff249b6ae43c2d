// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace qmf::linux_hw {

// The three registers of a PC printer port.
enum class PortRegister : quint8 { Data, Status, Control };

// Control register bit that must stay high: nINIT (pin 16) low resets a printer, and the bus never
// uses it.
constexpr quint8 ControlIdle = 0x04;

// One bus line on the port: the register and bit that carry it, and whether the register bit is
// the inverse of the line level (the port inverts some pins, the board's buffers may invert
// others). For an output, level high means "released" (the board's open-collector driver lets
// the pull-up win).
struct LineBit {
    PortRegister reg;
    quint8 mask;
    bool inverted;
    // Connector pin, for messages and the documentation.
    int pin;
};

// How a board revision wires the two-wire bus to the port. Outputs are set in the data or control
// register; inputs are read in the status register, so one status read samples both lines.
struct PinMapping {
    const char* name;
    LineBit setSda;
    LineBit setScl;
    LineBit getSda;
    LineBit getScl;
};

// Board outputs on the data register: bit 4 heater 1 (pin 6), bit 5 heater 2 (pin 7).
constexpr quint8 AuxOutputMask = 0x30;

// AlternateMode False: SDA out on D0 (pin 2), SCL out on D1 (pin 3), SDA in on nACK (pin 10),
// SCL in on BUSY (pin 11, inverted by the port).
inline constexpr PinMapping StandardMapping{
    "standard",
    {PortRegister::Data, 0x01, false, 2},
    {PortRegister::Data, 0x02, false, 3},
    {PortRegister::Status, 0x40, false, 10},
    {PortRegister::Status, 0x80, true, 11},
};

// AlternateMode True: SDA out on nAUTOFD (pin 14), SCL out on nSTROBE (pin 1), both inverted by
// the port; SDA in on SELECT (pin 13), SCL in on PAPEROUT (pin 12).
inline constexpr PinMapping AlternateMapping{
    "alternate",
    {PortRegister::Control, 0x02, true, 14},
    {PortRegister::Control, 0x01, true, 1},
    {PortRegister::Status, 0x10, false, 13},
    {PortRegister::Status, 0x20, false, 12},
};

constexpr const PinMapping& pinMapping(bool alternate) {
    return alternate ? AlternateMapping : StandardMapping;
}

// The register value with `line` put at `high`.
constexpr quint8 withLine(quint8 registerValue, const LineBit& line, bool high) {
    const bool bit = high != line.inverted;
    return bit ? quint8(registerValue | line.mask) : quint8(registerValue & ~line.mask);
}

// The level of `line` in a register value.
constexpr bool lineLevel(quint8 registerValue, const LineBit& line) {
    return ((registerValue & line.mask) != 0) != line.inverted;
}

// A mapping the engine can drive: outputs in data or control (never on the board outputs or the
// nINIT bit), inputs in status.
constexpr bool isOutputLine(const LineBit& line) {
    return (line.reg == PortRegister::Data && (line.mask & AuxOutputMask) == 0) ||
           (line.reg == PortRegister::Control && (line.mask & ControlIdle) == 0);
}
constexpr bool isUsableMapping(const PinMapping& m) {
    return isOutputLine(m.setSda) && isOutputLine(m.setScl) &&
           m.getSda.reg == PortRegister::Status && m.getScl.reg == PortRegister::Status;
}
static_assert(isUsableMapping(StandardMapping));
static_assert(isUsableMapping(AlternateMapping));

} // namespace qmf::linux_hw
