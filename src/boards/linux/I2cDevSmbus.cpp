// SPDX-License-Identifier: GPL-3.0-or-later
#include "boards/linux/I2cDevSmbus.h"

#include "boards/linux/CountedTransfer.h"
#include "boards/linux/DeviceIo.h"
#include "boards/linux/OpenFailure.h"
#include "core/link/LinkErrors.h"
#include "core/text/NumberText.h"

#include <cerrno>

extern "C" {
#include <linux/i2c.h>
}

namespace qmf::linux_hw {

namespace {

constexpr unsigned long ByteDataFunctions =
    I2C_FUNC_SMBUS_READ_BYTE_DATA | I2C_FUNC_SMBUS_WRITE_BYTE_DATA;

// How SMBus controller drivers report a device that did not acknowledge.
bool isNoAcknowledge(int error) {
    return error == ENXIO || error == EREMOTEIO || error == EIO;
}

QString transferFailure(int error) {
    switch (error) {
    case ETIMEDOUT:
        return QStringLiteral("%1: the transfer did not finish; a device may be holding the bus")
            .arg(errnoText(error));
    case EAGAIN:
        return QStringLiteral("%1: the bus was busy or arbitration was lost").arg(errnoText(error));
    case ENODEV:
        return QStringLiteral("%1: the adapter is gone").arg(errnoText(error));
    case EOPNOTSUPP:
        return QStringLiteral("%1: the adapter cannot do this transfer").arg(errnoText(error));
    default:
        return errnoText(error);
    }
}

} // namespace

I2cDevSmbus::I2cDevSmbus(DeviceIo& io, SmbusAdapterInfo adapter)
    : io_(io), adapter_(std::move(adapter)) {}

I2cDevSmbus::~I2cDevSmbus() {
    closeAdapter();
}

void I2cDevSmbus::setAdapter(SmbusAdapterInfo adapter) {
    closeAdapter();
    adapter_ = std::move(adapter);
    removed_ = false;
}

QString I2cDevSmbus::deviceName() const {
    return adapter_.found ? adapter_.node : QStringLiteral("SMBus");
}

void I2cDevSmbus::setTargetAddress(quint8 device) {
    checkDevice("TargetAddress", device, -1);
    target_ = device;
}

void I2cDevSmbus::ReadByte(quint8 device, quint8 reg, quint8& value) {
    CountedTransfer counted(health_);
    const int fd = prepare("ReadByte", device, reg);
    const int result = io_.smbusReadByteData(fd, reg);
    counted.result(result);
    if (result >= 0) {
        value = quint8(result);
        return;
    }
    const int error = -result;
    checkStillThere("ReadByte", device, reg);
    if (isNoAcknowledge(error)) {
        value = 0xFF;
        return;
    }
    if (error == ENODEV) {
        closeAdapter();
    }
    fail("ReadByte", device, reg, transferFailure(error));
}

void I2cDevSmbus::WriteByte(quint8 device, quint8 reg, quint8 value) {
    CountedTransfer counted(health_);
    const int fd = prepare("WriteByte", device, reg);
    const int result = io_.smbusWriteByteData(fd, reg, value);
    counted.result(result);
    if (result >= 0) {
        return;
    }
    const int error = -result;
    checkStillThere("WriteByte", device, reg);
    if (error == ENODEV) {
        closeAdapter();
    }
    fail("WriteByte", device, reg,
         isNoAcknowledge(error)
             ? QStringLiteral("no acknowledge from the device (%1)").arg(errnoText(error))
             : transferFailure(error));
}

int I2cDevSmbus::prepare(const char* operation, quint8 device, int reg) {
    if (!adapter_.found) {
        fail(operation, device, reg,
             QStringLiteral("no SMBus adapter is chosen: this PC has neither an SMBus host "
                            "controller nor exactly one USB bridge among its i2c adapters (load "
                            "the driver and the i2c-dev module; to use one of several bridges "
                            "choose it in the device search or name it with --smbus /dev/i2c-N; "
                            "qmf4150ctl adapters lists them)"));
    }
    if (removed_) {
        checkStillThere(operation, device, reg);
    }
    checkDevice(operation, device, reg);
    if (fd_ < 0) {
        const int fd = io_.open(adapter_.node);
        if (fd < 0) {
            fail(operation, device, reg,
                 openFailureReason(DeviceKind::SmbusAdapter, adapter_.node, -fd));
        }
        unsigned long functionality = 0;
        const int result = io_.i2cFunctionality(fd, functionality);
        if (result < 0) {
            io_.close(fd);
            fail(operation, device, reg,
                 QStringLiteral("%1 is not an i2c-dev adapter node (I2C_FUNCS: %2)")
                     .arg(adapter_.node, errnoText(-result)));
        }
        if ((functionality & ByteDataFunctions) != ByteDataFunctions) {
            io_.close(fd);
            fail(operation, device, reg,
                 QStringLiteral("the adapter does not offer SMBus byte-data reads and writes "
                                "(functionality %1h)")
                     .arg(text::hex(quint32(functionality))));
        }
        fd_ = fd;
        slave_ = -1;
    }
    const int address7 = device >> 1;
    if (slave_ != address7) {
        const int result = io_.i2cSetSlave(fd_, address7);
        if (result < 0) {
            const int error = -result;
            checkStillThere(operation, device, reg);
            fail(operation, device, reg,
                 error == EBUSY ? QStringLiteral("%1: a kernel driver is bound to this address; "
                                                 "unbind it to reach the device from here")
                                      .arg(errnoText(error))
                                : QStringLiteral("cannot address the device (I2C_SLAVE: %1)")
                                      .arg(errnoText(error)));
        }
        slave_ = address7;
    }
    return fd_;
}

void I2cDevSmbus::checkDevice(const char* operation, quint8 device, int reg) const {
    if (device & 1) {
        fail(operation, device, reg,
             QStringLiteral("the device address is not in 8-bit form (bit 0 must be 0: the "
                            "7-bit address shifted left by one)"));
    }
}

void I2cDevSmbus::checkStillThere(const char* operation, quint8 device, int reg) {
    if (!removed_ && io_.exists(adapter_.node)) {
        return;
    }
    removed_ = true;
    closeAdapter();
    fail(operation, device, reg,
         QStringLiteral("the %1 %2 was removed (unplugged, or its driver unloaded); plug it back "
                        "in and search again")
             .arg(adapter_.kind == SmbusAdapterKind::UsbBridge ? QStringLiteral("USB bridge")
                                                               : QStringLiteral("adapter"),
                  adapter_.node));
}

void I2cDevSmbus::fail(const char* operation, int device, int reg, const QString& reason) const {
    throw LinkError(QLatin1String(operation), deviceName(), device, reg, reason);
}

void I2cDevSmbus::closeAdapter() {
    if (fd_ >= 0) {
        io_.close(fd_);
    }
    fd_ = -1;
    slave_ = -1;
}

} // namespace qmf::linux_hw
