// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/LinkErrors.h"

#include "core/text/NumberText.h"

namespace qmf {

namespace {
QString describe(const QString& operation, const QString& device, int deviceAddress, int reg,
                 const QString& reason) {
    QString text = QStringLiteral("%1 failed on %2").arg(operation, device);
    if (deviceAddress >= 0) {
        text += QStringLiteral(", device %1h").arg(text::hex(quint32(deviceAddress)));
    }
    if (reg >= 0) {
        text += QStringLiteral(", register %1h").arg(text::hex(quint32(reg)));
    }
    if (!reason.isEmpty()) {
        text += QStringLiteral(": ") + reason;
    }
    return text;
}
} // namespace

LinkError::LinkError(QString operation, QString device, int deviceAddress, int reg, QString reason)
    : std::runtime_error(describe(operation, device, deviceAddress, reg, reason).toStdString()),
      operation_(std::move(operation)), device_(std::move(device)), reason_(std::move(reason)),
      deviceAddress_(deviceAddress), reg_(reg) {}

QString LinkError::message() const {
    return describe(operation_, device_, deviceAddress_, reg_, reason_);
}

OverflowError::OverflowError(const QString& what) : std::overflow_error(what.toStdString()) {}

QString errorMessage(const std::exception& e) {
    if (const auto* link = dynamic_cast<const LinkError*>(&e)) {
        return link->message();
    }
    return QString::fromUtf8(e.what());
}

} // namespace qmf
