// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/events/StatusImage.h"

namespace qmf::events {

bool StatusImage::watched(quint8 reg) {
    const auto inFamily = [reg](quint8 base, int count) {
        return reg >= base && reg < base + count;
    };
    return reg == MainStatus || reg == TempInstalled || inFamily(FanStatus, Fans) ||
           inFamily(TempHighLimit, TempChannels) || inFamily(TempLowLimit, TempChannels) ||
           inFamily(TempValue, TempChannels);
}

void StatusImage::note(quint8 reg, quint8 value, qint64 nowMs) {
    readAt_[reg] = nowMs;
    value_[reg] = value;
}

std::optional<quint8> StatusImage::fresh(quint8 reg, qint64 nowMs) const {
    const auto since = age(reg, nowMs);
    if (!since || *since > FreshMs) {
        return std::nullopt;
    }
    return value_[reg];
}

std::optional<quint8> StatusImage::last(quint8 reg) const {
    if (readAt_[reg] == Never) {
        return std::nullopt;
    }
    return value_[reg];
}

std::optional<qint64> StatusImage::age(quint8 reg, qint64 nowMs) const {
    if (readAt_[reg] == Never) {
        return std::nullopt;
    }
    return nowMs - readAt_[reg];
}

} // namespace qmf::events
