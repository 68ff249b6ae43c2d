// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/BoardLink.h"

#include "core/link/LinkErrors.h"

namespace qmf {

namespace {

[[noreturn]] void cannotProbe(const QString& where, quint8 device) {
    throw LinkError(QStringLiteral("probe"), where, device, -1,
                    QStringLiteral("this board cannot probe an address on its own"));
}

} // namespace

bool BusEngine::probeAddress(quint8 device) {
    cannotProbe(QStringLiteral("printer port"), device);
}

bool SmbusLink::probeAddress(quint8 device) {
    cannotProbe(QStringLiteral("SMBus"), device);
}

} // namespace qmf
