// SPDX-License-Identifier: GPL-3.0-or-later
#include "boards/linux/PrinterPortScan.h"

#include "boards/linux/LinuxBoard.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <set>

namespace qmf::linux_hw {

namespace {

void collectPortNumbers(const QString& dir, std::set<int>& numbers) {
    static const QRegularExpression name(QStringLiteral("^parport(\\d{1,3})$"));
    const QStringList entries =
        QDir(dir).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        const QRegularExpressionMatch match = name.match(entry);
        if (match.hasMatch()) {
            numbers.insert(match.captured(1).toInt());
        }
    }
}

// base-addr holds the base and the extended-mode base, in decimal ("888\t1912").
quint32 baseAddress(const QString& procRoot, int number) {
    QFile file(QStringLiteral("%1/sys/dev/parport/parport%2/base-addr").arg(procRoot).arg(number));
    if (!file.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QList<QByteArray> fields = file.read(256).simplified().split(' ');
    bool ok = false;
    const quint32 address = fields.isEmpty() ? 0 : fields.first().toUInt(&ok, 10);
    return ok ? address : 0;
}

} // namespace

QList<PrinterPortInfo> scanPrinterPorts(const LinuxBoardOptions& options) {
    std::set<int> numbers;
    collectPortNumbers(options.devRoot, numbers);
    collectPortNumbers(options.procRoot + QStringLiteral("/sys/dev/parport"), numbers);
    collectPortNumbers(options.sysRoot + QStringLiteral("/bus/parport/devices"), numbers);

    QList<PrinterPortInfo> ports;
    for (int number : numbers) {
        ports.append({QStringLiteral("%1/parport%2").arg(options.devRoot).arg(number),
                      baseAddress(options.procRoot, number)});
    }
    return ports;
}

} // namespace qmf::linux_hw
