// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/SmbusAdapters.h"

namespace qmf {

QString smbusAdapterKindText(SmbusAdapterKind kind) {
    switch (kind) {
    case SmbusAdapterKind::SmbusHost:
        return QStringLiteral("PCI SMBus host controller");
    case SmbusAdapterKind::UsbBridge:
        return QStringLiteral("USB bridge");
    case SmbusAdapterKind::Other:
        break;
    }
    return QStringLiteral("other");
}

} // namespace qmf
