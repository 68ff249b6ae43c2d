// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "boards/linux/BitBangBusEngine.h"
#include "boards/linux/PrinterPortScan.h"
#include "core/link/BoardLink.h"

#include <QList>
#include <functional>
#include <memory>

namespace qmf::linux_hw {

class BusTiming;
class PortIo;
class PortLines;

// The PC's printer ports and the bus engine on the selected one. The selected port is opened and
// claimed on its first use and kept until another port is selected or this object goes; on
// release its board outputs are switched off, so no heater stays on unattended.
class PrinterPorts final : public ParallelPortLink {
public:
    using Scanner = std::function<QList<PrinterPortInfo>()>;
    // Opens and claims a port; throws PortIoError with the reason.
    using Opener = std::function<std::unique_ptr<PortIo>(const PrinterPortInfo&)>;

    PrinterPorts(Scanner scanner, Opener opener, BusTiming& timing);
    ~PrinterPorts() override;
    PrinterPorts(const PrinterPorts&) = delete;
    PrinterPorts& operator=(const PrinterPorts&) = delete;

    // Looks for ports afresh each time.
    quint8 PortCount() override;
    void setPortIndex(quint8 index) override;
    // The selected port's I/O address as 16 bits (0 when the system does not say).
    qint16 PortAddress() override;
    BusEngine& busEngine() override { return engine_; }

    BitBangBusEngine& engine() { return engine_; }
    int selectedIndex() const { return selected_; }

    // For the engine.
    bool hasPorts();
    // The selected port's node, or "printer port" when there is none.
    QString portName();
    // The selected port's lines, opening and claiming it first if needed; throws PortIoError.
    PortLines& selectedLines();

private:
    void ensureScanned();
    void closePort() noexcept;

    Scanner scanner_;
    Opener opener_;
    QList<PrinterPortInfo> ports_;
    bool scanned_ = false;
    int selected_ = 0;
    QString openNode_;
    std::unique_ptr<PortIo> port_;
    std::unique_ptr<PortLines> lines_;
    BitBangBusEngine engine_;
};

} // namespace qmf::linux_hw
