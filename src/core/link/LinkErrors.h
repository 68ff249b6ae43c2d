// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <stdexcept>

namespace qmf {

// A board-link operation that failed: what failed, at which device and register, and why.
class LinkError : public std::runtime_error {
public:
    // deviceAddress and reg are -1 when they do not apply.
    LinkError(QString operation, QString device, int deviceAddress, int reg, QString reason);

    const QString& operation() const { return operation_; }
    const QString& device() const { return device_; }
    int deviceAddress() const { return deviceAddress_; }
    int reg() const { return reg_; }
    const QString& reason() const { return reason_; }
    // e.g. "ReadByte failed on /dev/i2c-1, device 5Eh, register 0Dh: Input/output error"
    QString message() const;

private:
    QString operation_, device_, reason_;
    int deviceAddress_, reg_;
};

// A value or address that does not fit a byte (or another target width); raised before anything
// is sent.
class OverflowError : public std::overflow_error {
public:
    explicit OverflowError(const QString& what);
    QString message() const { return QString::fromUtf8(what()); }
};

// The text of any error for the user: a LinkError's message, else what() read as UTF-8.
QString errorMessage(const std::exception& e);

} // namespace qmf
