// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <exception>

namespace qmf {
class BusHealth;
}

namespace qmf::linux_hw {

// One transfer through i2c-dev, counted in the link's health counters (when there are any): it
// failed when it ends by an exception, and it took the real time from here to its end.
class CountedTransfer {
public:
    explicit CountedTransfer(BusHealth* health)
        : health_(health), exceptions_(std::uncaught_exceptions()),
          start_(std::chrono::steady_clock::now()) {}
    ~CountedTransfer();
    CountedTransfer(const CountedTransfer&) = delete;
    CountedTransfer& operator=(const CountedTransfer&) = delete;

    // What the kernel's SMBus call returned: a device that did not acknowledge and a timeout are
    // counted as such.
    void result(int result);

private:
    BusHealth* health_;
    int exceptions_;
    std::chrono::steady_clock::time_point start_;
};

} // namespace qmf::linux_hw
