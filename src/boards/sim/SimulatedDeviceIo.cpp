// SPDX-License-Identifier: GPL-3.0-or-later
#include "boards/sim/SimulatedDeviceIo.h"

#include "boards/linux/PortIo.h"
#include "boards/sim/SmbusTargetSim.h"

#include <cerrno>

extern "C" {
#include <linux/i2c.h>
}

namespace qmf::sim {

void SimulatedDeviceIo::addI2cAdapter(const QString& node) {
    addI2cAdapter(node, I2C_FUNC_I2C | I2C_FUNC_SMBUS_BYTE_DATA);
}

void SimulatedDeviceIo::addI2cAdapter(const QString& node, unsigned long functionality) {
    Node& n = nodes_[node];
    n.i2c = true;
    n.functionality = functionality;
}

void SimulatedDeviceIo::addI2cDevice(const QString& node, int address7, RegisterDevice& device) {
    nodes_[node].devices.insert(address7, &device);
}

void SimulatedDeviceIo::addParport(const QString& node, linux_hw::PortIo& port) {
    nodes_[node].port = &port;
}

void SimulatedDeviceIo::removeNode(const QString& node, int error) {
    nodes_.remove(node);
    for (Descriptor& d : open_) {
        if (d.node == node) {
            d.gone = error;
        }
    }
}

void SimulatedDeviceIo::failNext(const QString& node, Call call, int error, int count) {
    failures_[node][int(call)] = {error, count};
}

int SimulatedDeviceIo::injected(const QString& node, Call call) {
    ++calls_[call];
    auto byNode = failures_.find(node);
    if (byNode == failures_.end()) {
        return 0;
    }
    auto failure = byNode->find(int(call));
    if (failure == byNode->end() || failure->second == 0) {
        return 0;
    }
    if (failure->second > 0) {
        --failure->second;
    }
    return -failure->first;
}

SimulatedDeviceIo::Descriptor* SimulatedDeviceIo::descriptor(int fd) {
    auto it = open_.find(fd);
    return it == open_.end() ? nullptr : &it.value();
}

SimulatedDeviceIo::Node* SimulatedDeviceIo::i2cNode(int fd) {
    Descriptor* d = descriptor(fd);
    if (!d || d->gone) {
        return nullptr;
    }
    auto it = nodes_.find(d->node);
    return it != nodes_.end() && it->i2c ? &it.value() : nullptr;
}

int SimulatedDeviceIo::open(const QString& path) {
    if (const int error = injected(path, Call::Open)) {
        return error;
    }
    if (!nodes_.contains(path)) {
        return -ENOENT;
    }
    const int fd = nextFd_++;
    open_.insert(fd, Descriptor{path, 0, false});
    return fd;
}

void SimulatedDeviceIo::close(int fd) {
    open_.remove(fd);
}

int SimulatedDeviceIo::i2cFunctionality(int fd, unsigned long& functionality) {
    Descriptor* d = descriptor(fd);
    if (!d) {
        return -EBADF;
    }
    if (d->gone) {
        return -d->gone;
    }
    if (const int error = injected(d->node, Call::Functionality)) {
        return error;
    }
    const Node* node = i2cNode(fd);
    if (!node) {
        return -ENOTTY;
    }
    functionality = node->functionality;
    return 0;
}

int SimulatedDeviceIo::i2cSetSlave(int fd, int address7) {
    Descriptor* d = descriptor(fd);
    if (!d) {
        return -EBADF;
    }
    if (d->gone) {
        return -d->gone;
    }
    if (const int error = injected(d->node, Call::SetSlave)) {
        return error;
    }
    if (!i2cNode(fd)) {
        return -ENOTTY;
    }
    if (address7 < 0 || address7 > 0x7F) {
        return -EINVAL;
    }
    d->slave = address7;
    return 0;
}

// The device a byte-data transfer on `fd` reaches, or nullptr with the errno the call returns.
RegisterDevice* SimulatedDeviceIo::addressedDevice(int fd, Call call, int& error) {
    Descriptor* d = descriptor(fd);
    if (!d) {
        error = -EBADF;
        return nullptr;
    }
    if (d->gone) {
        error = -d->gone;
        return nullptr;
    }
    if ((error = injected(d->node, call)) != 0) {
        return nullptr;
    }
    Node* node = i2cNode(fd);
    if (!node) {
        error = -ENOTTY;
        return nullptr;
    }
    RegisterDevice* device = node->devices.value(d->slave);
    if (!device || !device->answering()) {
        error = -ENXIO; // nobody acknowledged the address
        return nullptr;
    }
    return device;
}

int SimulatedDeviceIo::smbusReadByteData(int fd, quint8 reg) {
    int error = 0;
    RegisterDevice* device = addressedDevice(fd, Call::ReadByteData, error);
    if (device) {
        pointers_[device] = reg;
    }
    return device ? device->readRegister(reg) : error;
}

int SimulatedDeviceIo::smbusReadByte(int fd) {
    int error = 0;
    RegisterDevice* device = addressedDevice(fd, Call::ReadByte, error);
    return device ? device->readRegister(pointers_.value(device)) : error;
}

int SimulatedDeviceIo::smbusWriteByteData(int fd, quint8 reg, quint8 value) {
    int error = 0;
    RegisterDevice* device = addressedDevice(fd, Call::WriteByteData, error);
    if (!device) {
        return error;
    }
    pointers_[device] = reg;
    device->writeRegister(reg, value);
    return 0;
}

int SimulatedDeviceIo::ppClaim(int fd) {
    Descriptor* d = descriptor(fd);
    if (!d) {
        return -EBADF;
    }
    if (d->gone) {
        return -d->gone;
    }
    if (const int error = injected(d->node, Call::Claim)) {
        return error;
    }
    if (!nodes_.value(d->node).port) {
        return -ENOTTY;
    }
    d->claimed = true;
    return 0;
}

int SimulatedDeviceIo::ppRelease(int fd) {
    Descriptor* d = descriptor(fd);
    if (!d || !d->claimed) {
        return -EINVAL;
    }
    d->claimed = false;
    return 0;
}

int SimulatedDeviceIo::claimedPort(int fd, linux_hw::PortIo*& port) {
    Descriptor* d = descriptor(fd);
    if (!d) {
        return -EBADF;
    }
    if (d->gone) {
        return -d->gone;
    }
    port = nodes_.value(d->node).port;
    if (!port) {
        return -ENOTTY;
    }
    return d->claimed ? 0 : -EINVAL; // ppdev refuses port access before PPCLAIM
}

int SimulatedDeviceIo::ppWriteData(int fd, quint8 value) {
    linux_hw::PortIo* port = nullptr;
    if (const int error = claimedPort(fd, port)) {
        return error;
    }
    if (const int error = injected(descriptor(fd)->node, Call::WriteData)) {
        return error;
    }
    port->writeData(value);
    return 0;
}

int SimulatedDeviceIo::ppWriteControl(int fd, quint8 value) {
    linux_hw::PortIo* port = nullptr;
    if (const int error = claimedPort(fd, port)) {
        return error;
    }
    if (const int error = injected(descriptor(fd)->node, Call::WriteControl)) {
        return error;
    }
    port->writeControl(value);
    return 0;
}

int SimulatedDeviceIo::ppReadStatus(int fd, quint8& value) {
    linux_hw::PortIo* port = nullptr;
    if (const int error = claimedPort(fd, port)) {
        return error;
    }
    if (const int error = injected(descriptor(fd)->node, Call::ReadStatus)) {
        return error;
    }
    value = port->readStatus();
    return 0;
}

} // namespace qmf::sim
