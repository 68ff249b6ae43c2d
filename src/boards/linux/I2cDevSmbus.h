// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "boards/linux/SmbusAdapterScan.h"
#include "core/link/BoardLink.h"

namespace qmf::linux_hw {

class DeviceIo;

// The PC's SMBus through an i2c-dev adapter node. The node is opened on first use and kept; its
// functionality is checked for byte-data reads and writes once, at that open; the kernel's
// target address (7-bit form) is set whenever a transfer goes to another device than the one
// before.
//
// On ReadByte a device that does not acknowledge (ENXIO, EREMOTEIO, EIO) means "no chip here":
// the byte read is FFh and no error is raised, so a device search goes on. Every other failure,
// and every failure of WriteByte, is a LinkError naming the node, the device, the register and
// the system's reason.
//
// A USB bridge can be unplugged at any time, and the kernel then fails transfers in several
// ways (ENODEV, ESHUTDOWN, EPROTO, ETIMEDOUT, even EIO that looks like a missing device). So
// after any failure the node is looked for: when it is gone the adapter is closed (which lets
// the kernel finish removing it) and this and every later transfer fail with "... was removed",
// until another adapter is set. The number is never opened again on its own: another adapter
// may take it.
class I2cDevSmbus final : public SmbusLink {
public:
    I2cDevSmbus(DeviceIo& io, SmbusAdapterInfo adapter);
    ~I2cDevSmbus() override;
    I2cDevSmbus(const I2cDevSmbus&) = delete;
    I2cDevSmbus& operator=(const I2cDevSmbus&) = delete;

    bool available() const { return adapter_.found; }
    const SmbusAdapterInfo& adapter() const { return adapter_; }
    // The node, or "SMBus" when there is no adapter.
    QString deviceName() const;
    quint8 targetAddress() const { return target_; }
    // Another adapter from now on (the device search chose it); closes the one before.
    void setAdapter(SmbusAdapterInfo adapter);
    bool removed() const { return removed_; }

    qint32 BaseAddress() override { return adapter_.baseAddress; }
    void setTargetAddress(quint8 device) override;
    void ReadByte(quint8 device, quint8 reg, quint8& value) override;
    void WriteByte(quint8 device, quint8 reg, quint8 value) override;
    // A receive byte at the address (I2cDevProbe.cpp).
    bool probeAddress(quint8 device) override;
    // The counters the transfers count into (none: not counted).
    void setHealth(BusHealth* health) { health_ = health; }

private:
    // Opens the adapter if needed and points it at the device; returns the descriptor.
    int prepare(const char* operation, quint8 device, int reg);
    void checkDevice(const char* operation, quint8 device, int reg) const;
    // Throws "... was removed" when the adapter's node is gone.
    void checkStillThere(const char* operation, quint8 device, int reg);
    [[noreturn]] void fail(const char* operation, int device, int reg, const QString& reason) const;
    void closeAdapter();

    DeviceIo& io_;
    SmbusAdapterInfo adapter_;
    int fd_ = -1;
    int slave_ = -1;
    quint8 target_ = 0;
    bool removed_ = false;
    BusHealth* health_ = nullptr;
};

} // namespace qmf::linux_hw
