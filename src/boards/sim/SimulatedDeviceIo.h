// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "boards/linux/DeviceIo.h"

#include <QHash>
#include <QMap>
#include <QString>
#include <utility>

namespace qmf::linux_hw {
class PortIo;
}

namespace qmf::sim {

class RegisterDevice;

// Device nodes without a kernel: i2c-dev adapters with register devices at 7-bit addresses, and
// ppdev nodes in front of simulated ports. Failures are injected per node and call, as the
// errno the kernel would give. A node that was not added does not exist (ENOENT).
class SimulatedDeviceIo final : public linux_hw::DeviceIo {
public:
    enum class Call {
        Open,
        Functionality,
        SetSlave,
        ReadByteData,
        WriteByteData,
        Claim,
        WriteData,
        WriteControl,
        ReadStatus,
        ReadByte
    };

    // An adapter offering SMBus byte-data reads and writes, or the given functionality mask.
    void addI2cAdapter(const QString& node);
    void addI2cAdapter(const QString& node, unsigned long functionality);
    void addI2cDevice(const QString& node, int address7, RegisterDevice& device);
    void addParport(const QString& node, linux_hw::PortIo& port);
    // The node goes away, as when a USB adapter is unplugged: it can no longer be opened, and
    // every call on a descriptor still open on it fails with `error` (what the driver of a
    // vanished device returns). Adding the node again makes a new device; the old descriptors
    // stay dead.
    void removeNode(const QString& node, int error);
    // The next `count` calls of this kind on the node fail with `error`; a count of -1 makes it
    // permanent (a forbidden node: Open with EACCES).
    void failNext(const QString& node, Call call, int error, int count = 1);

    int calls(Call call) const { return calls_.value(call); }
    int openDescriptors() const { return int(open_.size()); }

    int open(const QString& path) override;
    void close(int fd) override;
    bool exists(const QString& path) override { return nodes_.contains(path); }
    int i2cFunctionality(int fd, unsigned long& functionality) override;
    int i2cSetSlave(int fd, int address7) override;
    int smbusReadByteData(int fd, quint8 reg) override;
    int smbusWriteByteData(int fd, quint8 reg, quint8 value) override;
    // The register the device's pointer is at: the one the last byte-data transfer named.
    int smbusReadByte(int fd) override;
    int ppClaim(int fd) override;
    int ppRelease(int fd) override;
    int ppWriteData(int fd, quint8 value) override;
    int ppWriteControl(int fd, quint8 value) override;
    int ppReadStatus(int fd, quint8& value) override;

private:
    struct Node {
        bool i2c = false;
        unsigned long functionality = 0;
        QHash<int, RegisterDevice*> devices;
        linux_hw::PortIo* port = nullptr;
    };
    struct Descriptor {
        QString node;
        int slave = 0;
        bool claimed = false;
        int gone = 0; // the errno of every call once the node was removed
    };
    // 0 when the call goes ahead, else -errno; counts the call.
    int injected(const QString& node, Call call);
    Descriptor* descriptor(int fd);
    Node* i2cNode(int fd);
    RegisterDevice* addressedDevice(int fd, Call call, int& error);
    // -errno when the descriptor is no claimed ppdev node.
    int claimedPort(int fd, linux_hw::PortIo*& port);

    QHash<QString, Node> nodes_;
    QMap<int, Descriptor> open_;
    QHash<QString, QHash<int, std::pair<int, int>>> failures_; // node -> call -> (errno, count)
    QHash<Call, int> calls_;
    QHash<const RegisterDevice*, quint8> pointers_;
    int nextFd_ = 100;
};

} // namespace qmf::sim
