// SPDX-License-Identifier: GPL-3.0-or-later
#include "boards/linux/PpdevPort.h"

#include "boards/linux/DeviceIo.h"
#include "boards/linux/OpenFailure.h"

#include <cerrno>

namespace qmf::linux_hw {

PpdevPort::PpdevPort(DeviceIo& io, QString node) : io_(io), node_(std::move(node)) {
    const int fd = io_.open(node_);
    if (fd < 0) {
        throw PortIoError(openFailureReason(DeviceKind::PrinterPort, node_, -fd));
    }
    const int claimed = io_.ppClaim(fd);
    if (claimed < 0) {
        io_.close(fd);
        const int error = -claimed;
        if (error == ENOTTY || error == EINVAL) {
            throw PortIoError(QStringLiteral("%1 is not a parallel port device node (PPCLAIM: %2)")
                                  .arg(node_, errnoText(error)));
        }
        throw PortIoError(QStringLiteral("cannot claim %1 (PPCLAIM: %2); another program may be "
                                         "using the port")
                              .arg(node_, errnoText(error)));
    }
    fd_ = fd;
}

PpdevPort::~PpdevPort() {
    io_.ppRelease(fd_);
    io_.close(fd_);
}

void PpdevPort::writeData(quint8 value) {
    const int result = io_.ppWriteData(fd_, value);
    if (result < 0) {
        fail("PPWDATA", result);
    }
}

void PpdevPort::writeControl(quint8 value) {
    const int result = io_.ppWriteControl(fd_, value);
    if (result < 0) {
        fail("PPWCONTROL", result);
    }
}

quint8 PpdevPort::readStatus() {
    quint8 status = 0;
    const int result = io_.ppReadStatus(fd_, status);
    if (result < 0) {
        fail("PPRSTATUS", result);
    }
    return status;
}

void PpdevPort::fail(const char* call, int result) const {
    throw PortIoError(
        QStringLiteral("%1 on %2 failed: %3").arg(QLatin1String(call), node_, errnoText(-result)));
}

} // namespace qmf::linux_hw
