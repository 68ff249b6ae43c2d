// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>
#include <optional>

namespace qmf {

// The value the hexadecimal entry writes: its leading hexadecimal digits (blanks ignored, either
// case, none gives 0), 255 for anything larger since a register write sends 255 for those.
qint32 hexEntryValue(QStringView text);

// The value the decimal entry writes: the number at its start (blanks ignored, sign, decimal
// point, exponent, "&H" hexadecimal; none gives 0) rounded half to even, 255 for anything from
// 255 up. nullopt for a negative number, which no register can hold.
std::optional<qint32> decimalEntryValue(QStringView text);

} // namespace qmf
