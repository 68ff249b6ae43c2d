// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/NumberText.h"

#include <cmath>

namespace qmf::text {

QString hex(quint32 value) {
    return QString::number(value, 16).toUpper();
}

QString signedNumber(double value) {
    if (value == 0.0) {
        value = 0.0; // a negative zero shows as " 0", not "-0"
    }
    QString digits;
    // Whole numbers print in full as long as a double holds every digit of them exactly.
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15) {
        digits = QString::number(value, 'f', 0);
    } else {
        digits = QString::number(value, 'g', 15);
    }
    return std::signbit(value) ? digits : QLatin1Char(' ') + digits;
}

} // namespace qmf::text
