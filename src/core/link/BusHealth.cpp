// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/BusHealth.h"

#include <cmath>

namespace qmf {

double BusHealthCounts::effectiveTransferRate() const {
    if (transferTimeUs <= 0) {
        return 0.0;
    }
    return double(completedTransfers()) * 1e6 / double(transferTimeUs);
}

namespace {

QString rateText(const BusHealthCounts& counts) {
    if (counts.transferTimeUs <= 0) {
        return QStringLiteral("not measured yet");
    }
    return QStringLiteral("%1 transfers/s").arg(std::llround(counts.effectiveTransferRate()));
}

} // namespace

QStringList busHealthReport(const BusHealthCounts& counts) {
    return {
        QStringLiteral("transfers: %1").arg(counts.transfers),
        QStringLiteral("failed transfers: %1").arg(counts.failedTransfers),
        QStringLiteral("NACKs: %1").arg(counts.nacks),
        QStringLiteral("clock-stretch waits: %1").arg(counts.clockStretchWaits),
        QStringLiteral("timeouts: %1").arg(counts.timeouts),
        QStringLiteral("stuck-bus recoveries: %1").arg(counts.stuckBusRecoveries),
        QStringLiteral("effective transfer rate: %1").arg(rateText(counts)),
    };
}

QString busHealthSummary(const BusHealthCounts& counts) {
    QString text = QStringLiteral("Bus: %1 transfers, %2 failed")
                       .arg(counts.transfers)
                       .arg(counts.failedTransfers);
    if (counts.transferTimeUs > 0) {
        text += QStringLiteral(", %1/s").arg(std::llround(counts.effectiveTransferRate()));
    }
    return text;
}

} // namespace qmf
