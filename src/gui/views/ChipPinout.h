// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLatin1StringView>
#include <QString>
#include <array>

namespace qmf::chiplayout {

// The package the chip layout view draws: a 24-pin QSOP, pin 1 at the top of the left side,
// numbered counter-clockwise (down the left side, up the right side).
struct Pin {
    int number;
    QLatin1StringView name;
    QLatin1StringView function;
};

constexpr int PinCount = 24;
constexpr int PinsPerSide = PinCount / 2;

// The pinout, indexed by pin number - 1.
const std::array<Pin, PinCount>& pinout();

// The pin of that name (case-sensitive), or 0 when the package has none.
int pinNumber(const QString& name);

enum class Side { Left, Right };
// Which side a pin (1..24) is on, and its row from the top of the package (0..11).
Side sideOf(int pin);
int rowOf(int pin);

} // namespace qmf::chiplayout
