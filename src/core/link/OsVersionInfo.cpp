// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/OsVersionInfo.h"

#include "core/link/BoardLink.h"

namespace qmf {

QString OsVersionInfo::BuildNumber() const {
    return board_.smbusAvailable() ? QStringLiteral("2222") : QStringLiteral("0");
}

} // namespace qmf
