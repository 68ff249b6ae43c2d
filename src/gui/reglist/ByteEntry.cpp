// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/reglist/ByteEntry.h"

#include "core/text/LeadingNumber.h"
#include "core/text/Rounding.h"

#include <cmath>

namespace qmf {

namespace {
constexpr qint32 MaxByte = 255;
}

qint32 hexEntryValue(QStringView text) {
    const quint32 value = text::leadingHex(text);
    return value >= quint32(MaxByte) ? MaxByte : qint32(value);
}

std::optional<qint32> decimalEntryValue(QStringView text) {
    const double value = text::roundHalfEven(text::leadingNumber(text));
    if (std::isnan(value) || value < 0) {
        return std::nullopt;
    }
    return value >= MaxByte ? MaxByte : qint32(value);
}

} // namespace qmf
