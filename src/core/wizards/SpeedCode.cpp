// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/wizards/SpeedCode.h"

#include "core/text/Rounding.h"

namespace qmf {

QString SpeedPercentText(int code) {
    const double hundredths = text::roundHalfEven(code / 0.15 * 100.0);
    // 'g' with enough digits drops the trailing zeros ("20", "6.7" never "6.70").
    return QString::number(hundredths / 100.0, 'g', 15);
}

std::optional<QString> TrangeText(int code) {
    if (code < 0 || code > 4) {
        return std::nullopt;
    }
    return QString::number(5 << code);
}

} // namespace qmf
