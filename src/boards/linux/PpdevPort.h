// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "boards/linux/PortIo.h"

namespace qmf::linux_hw {

class DeviceIo;

// A printer port through ppdev: opened and claimed for as long as the object lives.
class PpdevPort final : public PortIo {
public:
    // Opens and claims the node; throws PortIoError with the reason (and the fix, for a missing
    // or forbidden node).
    PpdevPort(DeviceIo& io, QString node);
    ~PpdevPort() override;
    PpdevPort(const PpdevPort&) = delete;
    PpdevPort& operator=(const PpdevPort&) = delete;

    void writeData(quint8 value) override;
    void writeControl(quint8 value) override;
    quint8 readStatus() override;

    const QString& node() const { return node_; }

private:
    [[noreturn]] void fail(const char* call, int result) const;

    DeviceIo& io_;
    QString node_;
    int fd_ = -1;
};

} // namespace qmf::linux_hw
