// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

namespace qmf {

// A 4-bit fan speed code 0..15 stands for a PWM duty cycle of code x 100 / 15 percent. The
// wizards show it as code / 0.15 rounded to two decimals, without trailing zeros:
// 0 -> "0", 1 -> "6.67", 3 -> "20", 15 -> "100".
QString SpeedPercentText(int code);

// The temperature range of an automatic fan control slope code: 0..4 -> "5", "10", "20", "40",
// "80" (degrees, 5 x 2^code). Any other code has no text; the caller leaves its label as it is.
std::optional<QString> TrangeText(int code);

} // namespace qmf
