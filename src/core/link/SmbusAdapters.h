// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

namespace qmf {

// What an i2c adapter is, as far as choosing one for the SMBus path goes.
enum class SmbusAdapterKind { SmbusHost, UsbBridge, Other };

// "PCI SMBus host controller", "USB bridge", "other".
QString smbusAdapterKindText(SmbusAdapterKind kind);

// One i2c adapter the SMBus path can use.
struct SmbusAdapter {
    QString node; // "/dev/i2c-7"
    QString name; // as the kernel names it: "CP2112 SMBus Bridge on hidraw0"
    SmbusAdapterKind kind = SmbusAdapterKind::Other;
    qint32 baseAddress = 0; // the controller's I/O base, 0 when the system does not say

    // The name, else the node: what a list shows first.
    QString title() const { return name.isEmpty() ? node : name; }
};

// The adapters of this machine in number order, and the one taken when nobody chooses.
struct SmbusAdapterList {
    QList<SmbusAdapter> adapters;
    int automatic = -1; // index into adapters, -1 when there is no automatic choice
};

// The i2c adapters a board link can put its SMBus path on, and the one it uses. Windows reach it
// through BoardLink::smbusAdapterChoice(); boards whose SMBus is built in offer none.
class SmbusAdapterChoice {
public:
    virtual ~SmbusAdapterChoice() = default;

    // Looks again: USB bridges come and go, and come back under another number. When the user
    // named an adapter it is in the list and is the automatic choice.
    virtual SmbusAdapterList scanAdapters() = 0;
    // The adapter the user named at start (--smbus), which no choice on screen replaces; empty
    // when the choice is free.
    virtual QString namedAdapter() const = 0;
    // From now on the SMBus path goes through this adapter.
    virtual void chooseAdapter(const SmbusAdapter& adapter) = 0;
    // The node the SMBus path uses, empty when there is none.
    virtual QString chosenAdapter() const = 0;
};

} // namespace qmf
