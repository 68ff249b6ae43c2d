// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

namespace qmf::linux_hw {

// The system calls the hardware paths make, one method per call, so that tests and the pin-level
// simulation can stand in for the kernel. Every call returns 0 (or the value asked for) on
// success and -errno on failure; nothing here throws.
class DeviceIo {
public:
    virtual ~DeviceIo() = default;

    // open(2) for reading and writing: a descriptor, or -errno.
    virtual int open(const QString& path) = 0;
    virtual void close(int fd) = 0;
    // Whether the node is there (a USB adapter's node goes when it is unplugged).
    virtual bool exists(const QString& path) = 0;

    // i2c-dev: I2C_FUNCS, I2C_SLAVE (7-bit address) and the SMBus byte-data transfers.
    virtual int i2cFunctionality(int fd, unsigned long& functionality) = 0;
    virtual int i2cSetSlave(int fd, int address7) = 0;
    // The byte read (0 to 255), or -errno.
    virtual int smbusReadByteData(int fd, quint8 reg) = 0;
    virtual int smbusWriteByteData(int fd, quint8 reg, quint8 value) = 0;
    // The SMBus receive byte (no register number): the byte, or -errno.
    virtual int smbusReadByte(int fd) = 0;

    // ppdev: PPCLAIM, PPRELEASE, PPWDATA, PPWCONTROL, PPRSTATUS.
    virtual int ppClaim(int fd) = 0;
    virtual int ppRelease(int fd) = 0;
    virtual int ppWriteData(int fd, quint8 value) = 0;
    virtual int ppWriteControl(int fd, quint8 value) = 0;
    virtual int ppReadStatus(int fd, quint8& value) = 0;
};

// The real kernel interfaces: open(2), ioctl(2) and libi2c.
class SystemDeviceIo final : public DeviceIo {
public:
    int open(const QString& path) override;
    void close(int fd) override;
    bool exists(const QString& path) override;
    int i2cFunctionality(int fd, unsigned long& functionality) override;
    int i2cSetSlave(int fd, int address7) override;
    int smbusReadByteData(int fd, quint8 reg) override;
    int smbusWriteByteData(int fd, quint8 reg, quint8 value) override;
    int smbusReadByte(int fd) override;
    int ppClaim(int fd) override;
    int ppRelease(int fd) override;
    int ppWriteData(int fd, quint8 value) override;
    int ppWriteControl(int fd, quint8 value) override;
    int ppReadStatus(int fd, quint8& value) override;
};

// The text of an errno value ("Permission denied").
QString errnoText(int error);

} // namespace qmf::linux_hw
