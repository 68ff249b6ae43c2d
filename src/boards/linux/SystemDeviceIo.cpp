// SPDX-License-Identifier: GPL-3.0-or-later
#include "boards/linux/DeviceIo.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

extern "C" {
#include <i2c/smbus.h>
#include <linux/i2c-dev.h>
#include <linux/ppdev.h>
}

namespace qmf::linux_hw {

namespace {

// ioctl(2) with EINTR retried, as -errno on failure.
template <typename Arg> int ioctlResult(int fd, unsigned long request, Arg arg) {
    int result;
    do {
        result = ::ioctl(fd, request, arg);
    } while (result < 0 && errno == EINTR);
    return result < 0 ? -errno : result;
}

// libi2c reports failures as -errno (or as -1 with errno set, in older releases).
int smbusResult(int result) {
    if (result >= 0) {
        return result;
    }
    return result == -1 ? -errno : result;
}

} // namespace

QString errnoText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

int SystemDeviceIo::open(const QString& path) {
    const QByteArray native = path.toLocal8Bit();
    int fd;
    do {
        fd = ::open(native.constData(), O_RDWR | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd < 0 ? -errno : fd;
}

void SystemDeviceIo::close(int fd) {
    ::close(fd);
}

bool SystemDeviceIo::exists(const QString& path) {
    return ::access(path.toLocal8Bit().constData(), F_OK) == 0;
}

int SystemDeviceIo::i2cFunctionality(int fd, unsigned long& functionality) {
    return ioctlResult(fd, I2C_FUNCS, &functionality);
}

int SystemDeviceIo::i2cSetSlave(int fd, int address7) {
    return ioctlResult(fd, I2C_SLAVE, static_cast<unsigned long>(address7));
}

int SystemDeviceIo::smbusReadByteData(int fd, quint8 reg) {
    return smbusResult(i2c_smbus_read_byte_data(fd, reg));
}

int SystemDeviceIo::smbusWriteByteData(int fd, quint8 reg, quint8 value) {
    return smbusResult(i2c_smbus_write_byte_data(fd, reg, value));
}

int SystemDeviceIo::smbusReadByte(int fd) {
    return smbusResult(i2c_smbus_read_byte(fd));
}

int SystemDeviceIo::ppClaim(int fd) {
    return ioctlResult(fd, PPCLAIM, nullptr);
}

int SystemDeviceIo::ppRelease(int fd) {
    return ioctlResult(fd, PPRELEASE, nullptr);
}

int SystemDeviceIo::ppWriteData(int fd, quint8 value) {
    unsigned char byte = value;
    return ioctlResult(fd, PPWDATA, &byte);
}

int SystemDeviceIo::ppWriteControl(int fd, quint8 value) {
    unsigned char byte = value;
    return ioctlResult(fd, PPWCONTROL, &byte);
}

int SystemDeviceIo::ppReadStatus(int fd, quint8& value) {
    unsigned char byte = 0;
    const int result = ioctlResult(fd, PPRSTATUS, &byte);
    if (result >= 0) {
        value = byte;
    }
    return result;
}

} // namespace qmf::linux_hw
