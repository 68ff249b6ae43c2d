// SPDX-License-Identifier: GPL-3.0-or-later
#include "SigrokDecode.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace qmf::test {

namespace {

QString hex2(quint8 value) {
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace

I2cDecode decodeI2c(const QString& vcdPath) {
    I2cDecode result;
    const QString program = QStandardPaths::findExecutable(QStringLiteral("sigrok-cli"));
    if (program.isEmpty()) {
        result.error = QStringLiteral(
            "sigrok-cli is not installed: the bus trace tests decode our traces with it. It is "
            "a test dependency that make test installs (scripts/install-deps.sh); or install "
            "the Debian package yourself: sudo apt-get install sigrok-cli");
        return result;
    }
    QProcess sigrok;
    sigrok.start(program, {QStringLiteral("-I"), QStringLiteral("vcd"), QStringLiteral("-i"),
                           vcdPath, QStringLiteral("-P"), QStringLiteral("i2c:scl=SCL:sda=SDA"),
                           QStringLiteral("-A"), QStringLiteral("i2c")});
    if (!sigrok.waitForFinished(120000) || sigrok.exitStatus() != QProcess::NormalExit ||
        sigrok.exitCode() != 0) {
        result.error =
            QStringLiteral("sigrok-cli failed (%1): %2")
                .arg(sigrok.errorString(), QString::fromUtf8(sigrok.readAllStandardError()));
        return result;
    }
    // The bit row ("0", "1") and the direction bit ("Read", "Write") are left out.
    static const QRegularExpression event(QStringLiteral(
        "^i2c-1: (Start|Start repeat|Stop|ACK|NACK|(Address|Data) (read|write): [0-9A-F]{2})$"));
    for (const QString& line : QString::fromUtf8(sigrok.readAllStandardOutput()).split(u'\n')) {
        if (const QRegularExpressionMatch match = event.match(line); match.hasMatch()) {
            result.events << match.captured(1);
        }
    }
    return result;
}

QStringList i2cRead(quint8 device, quint8 reg, quint8 value) {
    const QString address = hex2(device >> 1);
    return {QStringLiteral("Start"),
            QStringLiteral("Address write: ") + address,
            QStringLiteral("ACK"),
            QStringLiteral("Data write: ") + hex2(reg),
            QStringLiteral("ACK"),
            QStringLiteral("Start repeat"),
            QStringLiteral("Address read: ") + address,
            QStringLiteral("ACK"),
            QStringLiteral("Data read: ") + hex2(value),
            QStringLiteral("NACK"),
            QStringLiteral("Stop")};
}

QStringList i2cWrite(quint8 device, quint8 reg, quint8 value) {
    return {QStringLiteral("Start"), QStringLiteral("Address write: ") + hex2(device >> 1),
            QStringLiteral("ACK"),   QStringLiteral("Data write: ") + hex2(reg),
            QStringLiteral("ACK"),   QStringLiteral("Data write: ") + hex2(value),
            QStringLiteral("ACK"),   QStringLiteral("Stop")};
}

QStringList i2cNoAnswer(quint8 device) {
    return {QStringLiteral("Start"), QStringLiteral("Address write: ") + hex2(device >> 1),
            QStringLiteral("NACK"), QStringLiteral("Stop")};
}

QStringList i2cProbe(quint8 device, std::optional<quint8> value) {
    QStringList events{QStringLiteral("Start"),
                       QStringLiteral("Address read: ") + hex2(device >> 1)};
    if (value) {
        events << QStringLiteral("ACK") << QStringLiteral("Data read: ") + hex2(*value)
               << QStringLiteral("NACK");
    } else {
        events << QStringLiteral("NACK");
    }
    return events << QStringLiteral("Stop");
}

} // namespace qmf::test
