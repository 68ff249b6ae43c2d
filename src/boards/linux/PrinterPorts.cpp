// SPDX-License-Identifier: GPL-3.0-or-later
#include "boards/linux/PrinterPorts.h"

#include "boards/linux/PortIo.h"
#include "boards/linux/PortLines.h"
#include "core/link/LinkErrors.h"

namespace qmf::linux_hw {

PrinterPorts::PrinterPorts(Scanner scanner, Opener opener, BusTiming& timing)
    : scanner_(std::move(scanner)), opener_(std::move(opener)), engine_(*this, timing) {}

PrinterPorts::~PrinterPorts() {
    closePort();
}

quint8 PrinterPorts::PortCount() {
    ports_ = scanner_();
    scanned_ = true;
    if (ports_.size() > 255) {
        ports_.resize(255);
    }
    // A port that went away, or whose number moved, is no longer the one we hold open.
    if (selected_ >= ports_.size()) {
        selected_ = 0;
    }
    if (port_ && (ports_.isEmpty() || ports_[selected_].node != openNode_)) {
        closePort();
    }
    return quint8(ports_.size());
}

void PrinterPorts::setPortIndex(quint8 index) {
    ensureScanned();
    if (index >= ports_.size()) {
        throw LinkError(QStringLiteral("PortIndex"), QStringLiteral("printer ports"), -1, -1,
                        QStringLiteral("there is no printer port %1; this PC has %2")
                            .arg(index)
                            .arg(ports_.size()));
    }
    if (index != selected_) {
        closePort();
        selected_ = index;
    }
}

qint16 PrinterPorts::PortAddress() {
    ensureScanned();
    if (ports_.isEmpty()) {
        throw LinkError(QStringLiteral("PortAddress"), portName(), -1, -1,
                        QStringLiteral("this PC has no printer port"));
    }
    const quint32 address = ports_[selected_].address;
    return address <= 0xFFFF ? qint16(quint16(address)) : qint16(0);
}

bool PrinterPorts::hasPorts() {
    ensureScanned();
    return !ports_.isEmpty();
}

QString PrinterPorts::portName() {
    ensureScanned();
    return ports_.isEmpty() ? QStringLiteral("printer port") : ports_[selected_].node;
}

PortLines& PrinterPorts::selectedLines() {
    ensureScanned();
    if (ports_.isEmpty()) {
        throw PortIoError(QStringLiteral("this PC has no printer port"));
    }
    if (!lines_) {
        const PrinterPortInfo& info = ports_[selected_];
        std::unique_ptr<PortIo> port = opener_(info);
        auto lines = std::make_unique<PortLines>(*port, pinMapping(engine_.AlternateMode()));
        port_ = std::move(port);
        lines_ = std::move(lines);
        openNode_ = info.node;
    }
    return *lines_;
}

void PrinterPorts::ensureScanned() {
    if (!scanned_) {
        PortCount();
    }
}

void PrinterPorts::closePort() noexcept {
    if (lines_) {
        try {
            lines_->setAux(0);
            engine_.outputsReleased();
        } catch (...) {
            // The port failed; there is nothing more this side can do about its outputs, and
            // what the engine remembers of them stays as the last known state.
        }
    }
    lines_.reset();
    port_.reset();
    openNode_.clear();
}

} // namespace qmf::linux_hw
