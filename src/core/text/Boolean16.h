// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace qmf {

// Booleans that cross component boundaries or drive indicators are 16 bits wide: True is all
// ones (-1), False is 0.
constexpr qint16 True16 = -1;
constexpr qint16 False16 = 0;

constexpr qint16 toBoolean16(bool value) {
    return value ? True16 : False16;
}
constexpr bool fromBoolean16(qint16 value) {
    return value != 0;
}

} // namespace qmf
