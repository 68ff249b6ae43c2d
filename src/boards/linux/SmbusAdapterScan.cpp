// SPDX-License-Identifier: GPL-3.0-or-later
#include "boards/linux/SmbusAdapterScan.h"

#include "boards/linux/LinuxBoard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <set>

namespace qmf::linux_hw {

namespace {

constexpr quint32 SmbusControllerClass = 0x0c05; // PCI base class 0Ch (serial bus), subclass 05h
constexpr quint64 ResourceIo = 0x100;            // the I/O-port flag of a PCI resource line

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

bool isSmbusController(const QString& controller) {
    if (controller.isEmpty()) {
        return false;
    }
    QByteArray text = readSmall(controller + QStringLiteral("/class")).trimmed();
    if (text.startsWith("0x")) {
        text = text.mid(2);
    }
    bool ok = false;
    const quint32 pciClass = text.toUInt(&ok, 16); // class, subclass, programming interface
    return ok && (pciClass >> 8) == SmbusControllerClass;
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

void describe(const LinuxBoardOptions& options, int number, SmbusAdapterInfo& info) {
    const QString dir = adapterDir(options, number);
    if (dir.isEmpty()) {
        return;
    }
    info.name = QString::fromUtf8(readSmall(dir + QStringLiteral("/name")).trimmed());
    info.baseAddress = ioBaseFromResources(controllerDir(dir));
    if (info.baseAddress == 0) {
        info.baseAddress = ioBaseFromName(info.name);
    }
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

} // namespace

SmbusAdapterInfo findSmbusAdapter(const LinuxBoardOptions& options) {
    SmbusAdapterInfo info;
    static const QRegularExpression nodeName(QStringLiteral("(?:^|/)i2c-(\\d{1,4})$"));
    if (!options.smbusDevice.isEmpty()) {
        info.found = true;
        info.node = options.smbusDevice;
        const QRegularExpressionMatch match = nodeName.match(options.smbusDevice);
        if (match.hasMatch()) {
            describe(options, match.captured(1).toInt(), info);
        }
        return info;
    }

    const std::set<int> numbers = adapterNumbers(options);
    int chosen = -1;
    for (int number : numbers) {
        if (isSmbusController(controllerDir(adapterDir(options, number)))) {
            chosen = number;
            break;
        }
    }
    if (chosen < 0) {
        for (int number : numbers) {
            const QString dir = adapterDir(options, number);
            if (readSmall(dir + QStringLiteral("/name")).trimmed().toLower().startsWith("smbus")) {
                chosen = number;
                break;
            }
        }
    }
    if (chosen < 0) {
        return info;
    }
    info.found = true;
    info.node = QStringLiteral("%1/i2c-%2").arg(options.devRoot).arg(chosen);
    describe(options, chosen, info);
    return info;
}

} // namespace qmf::linux_hw
