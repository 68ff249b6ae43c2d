// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>
#include <stdexcept>

namespace qmf::linux_hw {

// A port operation that failed; the reason names the port and the cause. The bus engine turns it
// into a LinkError naming the transfer.
class PortIoError : public std::runtime_error {
public:
    explicit PortIoError(const QString& reason)
        : std::runtime_error(reason.toStdString()), reason_(reason) {}
    const QString& reason() const { return reason_; }

private:
    QString reason_;
};

// The registers of one claimed printer port. Reads of the data and control registers would
// return the latches rather than the pins, so the interface offers only writes for them; the
// caller keeps shadow copies.
class PortIo {
public:
    virtual ~PortIo() = default;
    virtual void writeData(quint8 value) = 0;
    virtual void writeControl(quint8 value) = 0;
    virtual quint8 readStatus() = 0;
};

} // namespace qmf::linux_hw
