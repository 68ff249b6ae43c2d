// SPDX-License-Identifier: GPL-3.0-or-later
#include "boards/linux/SmbusAdapterScan.h"

#include "boards/linux/LinuxBoard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <optional>
#include <set>

namespace qmf::linux_hw {

namespace {

constexpr quint32 SmbusControllerClass = 0x0c05; // PCI base class 0Ch (serial bus), subclass 05h
constexpr quint32 DisplayControllerBaseClass = 0x03;
constexpr quint64 ResourceIo = 0x100; // the I/O-port flag of a PCI resource line
constexpr int MaxAncestors = 16;      // sysfs device paths are far shallower than this

QString adapterDir(const LinuxBoardOptions& options, int number) {
    for (const QString& parent :
         {QStringLiteral("/bus/i2c/devices/i2c-%1"), QStringLiteral("/class/i2c-adapter/i2c-%1")}) {
        const QString dir = options.sysRoot + parent.arg(number);
        if (QFileInfo(dir).isDir()) {
            return dir;
        }
    }
    return {};
}

// The device the adapter belongs to: its "device" link where the system makes one, else the
// directory the adapter sits in.
QString controllerDir(const QString& adapter) {
    if (adapter.isEmpty()) {
        return {};
    }
    const QString device = adapter + QStringLiteral("/device");
    if (QFileInfo(device).isDir()) {
        return device;
    }
    const QString real = QFileInfo(adapter).canonicalFilePath();
    return real.isEmpty() ? QString() : QFileInfo(real).path();
}

QByteArray readSmall(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.read(4096);
}

// The device's PCI class (class, subclass, programming interface), when it is a PCI device.
std::optional<quint32> pciClass(const QString& device) {
    if (device.isEmpty()) {
        return std::nullopt;
    }
    QByteArray text = readSmall(device + QStringLiteral("/class")).trimmed();
    if (text.startsWith("0x")) {
        text = text.mid(2);
    }
    bool ok = false;
    const quint32 value = text.toUInt(&ok, 16);
    return ok ? std::optional<quint32>(value) : std::nullopt;
}

// "usb", "hid", "pci", "drm", ...: the last part of the device's subsystem link.
QString subsystemOf(const QString& device) {
    const QString target = QFileInfo(device + QStringLiteral("/subsystem")).symLinkTarget();
    return target.isEmpty() ? QString() : QFileInfo(target).fileName();
}

// The adapter's parent device and the devices above it, nearest first, up to sysfs's devices/.
QStringList ancestors(const LinuxBoardOptions& options, const QString& adapter) {
    QStringList chain;
    const QString top = QFileInfo(options.sysRoot + QStringLiteral("/devices")).canonicalFilePath();
    QString device = QFileInfo(controllerDir(adapter)).canonicalFilePath();
    while (!device.isEmpty() && device != top && device != QStringLiteral("/") &&
           chain.size() < MaxAncestors) {
        chain << device;
        device = QFileInfo(device).path();
    }
    return chain;
}

bool isDisplayChannel(const QString& name, const QStringList& chain) {
    // As the graphics drivers name their DDC and DP AUX channels and bit-banged buses.
    static const QRegularExpression displayName(
        QStringLiteral("^(i915 gmbus|DPDDC-|AUX [A-Z0-9]|NVIDIA i2c adapter|nvkm-|Radeon i2c|"
                       "AMDGPU DM|dmdc)|\\bDDC\\b|\\bdp aux\\b"),
        QRegularExpression::CaseInsensitiveOption);
    if (displayName.match(name).hasMatch()) {
        return true;
    }
    for (const QString& device : chain) {
        if (subsystemOf(device) == QLatin1String("drm")) {
            return true;
        }
        const std::optional<quint32> pci = pciClass(device);
        if (pci && (*pci >> 16) == DisplayControllerBaseClass) {
            return true;
        }
    }
    return false;
}

bool isUsbBridge(const QStringList& chain) {
    for (const QString& device : chain) {
        const QString subsystem = subsystemOf(device);
        // A HID device on bus 0003 (USB) is a USB device even where the tree stops there.
        if (subsystem == QLatin1String("usb") ||
            (subsystem == QLatin1String("hid") &&
             QFileInfo(device).fileName().startsWith(QLatin1String("0003:")))) {
            return true;
        }
    }
    return false;
}

bool hasSmbusControllerClass(const QStringList& chain) {
    const std::optional<quint32> pci = chain.isEmpty() ? std::nullopt : pciClass(chain.first());
    return pci && (*pci >> 8) == SmbusControllerClass;
}

qint32 ioBaseFromResources(const QString& controller) {
    if (controller.isEmpty()) {
        return 0;
    }
    const QList<QByteArray> lines = readSmall(controller + QStringLiteral("/resource")).split('\n');
    for (const QByteArray& line : lines) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 3) {
            continue;
        }
        bool okStart = false, okFlags = false;
        const quint64 start = fields[0].toULongLong(&okStart, 0);
        const quint64 flags = fields[2].toULongLong(&okFlags, 0);
        if (okStart && okFlags && (flags & ResourceIo) && start != 0 && start <= 0x7fffffff) {
            return qint32(start);
        }
    }
    return 0;
}

qint32 ioBaseFromName(const QString& name) {
    static const QRegularExpression at(QStringLiteral("\\bat (?:0x)?([0-9a-fA-F]{1,8})\\s*$"));
    const QRegularExpressionMatch match = at.match(name);
    if (!match.hasMatch()) {
        return 0;
    }
    bool ok = false;
    const quint32 base = match.captured(1).toUInt(&ok, 16);
    return ok && base <= 0x7fffffff ? qint32(base) : 0;
}

std::set<int> adapterNumbers(const LinuxBoardOptions& options) {
    static const QRegularExpression name(QStringLiteral("^i2c-(\\d{1,4})$"));
    std::set<int> numbers;
    for (const QString& parent :
         {QStringLiteral("/bus/i2c/devices"), QStringLiteral("/class/i2c-adapter")}) {
        const QStringList entries =
            QDir(options.sysRoot + parent).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        for (const QString& entry : entries) {
            const QRegularExpressionMatch match = name.match(entry);
            if (match.hasMatch()) {
                numbers.insert(match.captured(1).toInt());
            }
        }
    }
    return numbers;
}

// An adapter as sysfs describes it.
struct Described {
    SmbusAdapter adapter;
    bool display = false;
    bool controllerClass = false; // its parent is a PCI SMBus host controller by class
};

Described describe(const LinuxBoardOptions& options, int number) {
    Described d;
    d.adapter.node = QStringLiteral("%1/i2c-%2").arg(options.devRoot).arg(number);
    const QString dir = adapterDir(options, number);
    if (dir.isEmpty()) {
        return d;
    }
    SmbusAdapter& a = d.adapter;
    a.name = QString::fromUtf8(readSmall(dir + QStringLiteral("/name")).trimmed());
    const QStringList chain = ancestors(options, dir);
    d.display = isDisplayChannel(a.name, chain);
    d.controllerClass = hasSmbusControllerClass(chain);
    if (isUsbBridge(chain)) {
        a.kind = SmbusAdapterKind::UsbBridge;
    } else if (d.controllerClass ||
               a.name.startsWith(QLatin1String("SMBus"), Qt::CaseInsensitive)) {
        a.kind = SmbusAdapterKind::SmbusHost;
    }
    a.baseAddress = ioBaseFromResources(controllerDir(dir));
    if (a.baseAddress == 0) {
        a.baseAddress = ioBaseFromName(a.name);
    }
    return d;
}

// The adapter number in a node's name ("/dev/i2c-7" is 7), -1 when it has none.
int nodeNumber(const QString& node) {
    static const QRegularExpression nodeName(QStringLiteral("(?:^|/)i2c-(\\d{1,4})$"));
    const QRegularExpressionMatch match = nodeName.match(node);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

int automaticChoice(const QList<Described>& found) {
    for (int i = 0; i < found.size(); ++i) {
        if (found[i].controllerClass) {
            return i;
        }
    }
    int usb = -1, usbCount = 0;
    for (int i = 0; i < found.size(); ++i) {
        if (found[i].adapter.kind == SmbusAdapterKind::SmbusHost) {
            return i;
        }
        if (found[i].adapter.kind == SmbusAdapterKind::UsbBridge) {
            usb = i;
            ++usbCount;
        }
    }
    return usbCount == 1 ? usb : -1;
}

} // namespace

SmbusAdapterInfo adapterInfo(const SmbusAdapter& adapter) {
    return {true, adapter.node, adapter.name, adapter.baseAddress, adapter.kind};
}

SmbusAdapterList scanSmbusAdapters(const LinuxBoardOptions& options) {
    QList<Described> found;
    for (int number : adapterNumbers(options)) {
        Described d = describe(options, number);
        if (!d.display) {
            found << std::move(d);
        }
    }
    SmbusAdapterList list;
    for (const Described& d : found) {
        list.adapters << d.adapter;
    }
    list.automatic = automaticChoice(found);
    if (options.smbusDevice.isEmpty()) {
        return list;
    }
    // The adapter the user named, described where sysfs knows its number, listed in any case.
    SmbusAdapter named;
    const int number = nodeNumber(options.smbusDevice);
    if (number >= 0) {
        named = describe(options, number).adapter;
    }
    named.node = options.smbusDevice;
    const auto same = [&](const SmbusAdapter& a) {
        return number >= 0 && nodeNumber(a.node) == number;
    };
    list.automatic =
        int(std::find_if(list.adapters.begin(), list.adapters.end(), same) - list.adapters.begin());
    if (list.automatic < list.adapters.size()) {
        list.adapters[list.automatic] = named;
    } else {
        list.adapters.prepend(named);
        list.automatic = 0;
    }
    return list;
}

SmbusAdapterInfo findSmbusAdapter(const LinuxBoardOptions& options) {
    const SmbusAdapterList list = scanSmbusAdapters(options);
    if (list.automatic < 0) {
        return {};
    }
    return adapterInfo(list.adapters[list.automatic]);
}

} // namespace qmf::linux_hw
