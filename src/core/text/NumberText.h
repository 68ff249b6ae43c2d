// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace qmf::text {

// Upper-case hexadecimal without prefix or leading zeros: 0 -> "0", 0x5A -> "5A", 255 -> "FF".
QString hex(quint32 value);

// A number as captions and the measurement log show it: one leading blank when it is not
// negative (2500 -> " 2500", -5 -> "-5", 0 -> " 0"); whole numbers without a decimal point,
// others with up to 15 significant digits.
QString signedNumber(double value);

} // namespace qmf::text
