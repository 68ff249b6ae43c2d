// SPDX-License-Identifier: GPL-3.0-or-later
#include "boards/linux/BusTiming.h"

#include <ctime>

namespace qmf::linux_hw {

qint64 SystemBusTiming::nowUs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

void SystemBusTiming::delayUs(int microseconds) {
    if (microseconds <= 0) {
        return;
    }
    const qint64 until = nowUs() + microseconds;
    while (nowUs() < until) {
    }
}

} // namespace qmf::linux_hw
