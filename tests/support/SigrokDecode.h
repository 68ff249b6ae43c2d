// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace qmf::test {

// What sigrok-cli's I2C decoder makes of a bus trace: the decoder's start, address, data, ACK,
// NACK and stop annotations in order ("Start", "Address write: 2F", "ACK", ...), without its bit
// annotations. `error` says why there is nothing: sigrok-cli missing (and how to install it), or
// its own failure.
struct I2cDecode {
    QStringList events;
    QString error;
};
I2cDecode decodeI2c(const QString& vcdPath);

// What the decoder should show for each kind of transfer; devices in the program's 8-bit form.
QStringList i2cRead(quint8 device, quint8 reg, quint8 value);
QStringList i2cWrite(quint8 device, quint8 reg, quint8 value);
// A read whose address nobody acknowledges: the engine stops after the address.
QStringList i2cNoAnswer(quint8 device);
// The scan's probe: the address with the read bit, and the byte read when someone answered.
QStringList i2cProbe(quint8 device, std::optional<quint8> value);

} // namespace qmf::test
