// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>

namespace qmf::text {

// The hexadecimal entry rule: blanks are ignored, the hexadecimal digits (either case) from the
// start up to the first character that is not one are taken; no digits give 0.
// "FF" -> 255, "1G" -> 1, "G1" -> 0, "" -> 0. Digits beyond 32 bits saturate at 0xFFFFFFFF.
quint32 leadingHex(QStringView text);

// The decimal entry rule: blanks are ignored; an optional sign, digits, an optional decimal point
// and an optional exponent (E or D, with optional sign) are taken up to the first character that
// cannot continue the number; a leading "&H" reads the rest as hexadecimal (and "&O" as octal).
// No number gives 0. "300" -> 300, "2.5" -> 2.5, "-5x" -> -5, "1e3" -> 1000, "&HFF" -> 255.
// A number beyond the range of a double gives an infinity of its sign (never an error).
double leadingNumber(QStringView text);

} // namespace qmf::text
