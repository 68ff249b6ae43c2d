// SPDX-License-Identifier: GPL-3.0-or-later
#include "boards/linux/CountedTransfer.h"

#include "core/link/BusHealth.h"

#include <cerrno>

namespace qmf::linux_hw {

CountedTransfer::~CountedTransfer() {
    if (!health_) {
        return;
    }
    const auto took = std::chrono::steady_clock::now() - start_;
    health_->transferEnded(std::uncaught_exceptions() == exceptions_,
                           std::chrono::duration_cast<std::chrono::microseconds>(took).count());
}

void CountedTransfer::result(int result) {
    if (!health_ || result >= 0) {
        return;
    }
    // How SMBus controller drivers report a device that did not acknowledge, and a bus held
    // too long.
    const int error = -result;
    if (error == ENXIO || error == EREMOTEIO || error == EIO) {
        health_->nack();
    } else if (error == ETIMEDOUT) {
        health_->timeout();
    }
}

} // namespace qmf::linux_hw
