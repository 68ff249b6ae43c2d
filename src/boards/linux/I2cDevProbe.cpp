// SPDX-License-Identifier: GPL-3.0-or-later
// The address probe of the i2c-dev path: its own file, beside the byte-data transfers.
#include "boards/linux/CountedTransfer.h"
#include "boards/linux/DeviceIo.h"
#include "boards/linux/I2cDevSmbus.h"
#include "core/link/LinkErrors.h"

#include <cerrno>

namespace qmf::linux_hw {

bool I2cDevSmbus::probeAddress(quint8 device) {
    CountedTransfer counted(health_);
    const int fd = prepare("probe", device, -1);
    // A receive byte, as i2cdetect reads: no register number is written.
    int result = io_.smbusReadByte(fd);
    if (result == -EOPNOTSUPP) {
        // An adapter without it: a byte-data read of register 0 is still only a read.
        result = io_.smbusReadByteData(fd, 0);
    }
    counted.result(result);
    if (result >= 0) {
        return true;
    }
    const int error = -result;
    if (error == ENXIO || error == EREMOTEIO || error == EIO) {
        return false;
    }
    if (error == ENODEV) {
        closeAdapter();
    }
    fail("probe", device, -1, errnoText(error));
}

} // namespace qmf::linux_hw
