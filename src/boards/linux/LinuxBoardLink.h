// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "boards/linux/I2cDevSmbus.h"
#include "boards/linux/PrinterPorts.h"
#include "core/link/BoardLink.h"
#include "core/link/SmbusAdapters.h"

#include <functional>
#include <memory>

namespace qmf::linux_hw {

class BusTiming;
class DeviceIo;

// The board link of the real-hardware paths, put together from where the ports and the adapter
// come from. makeLinuxBoard builds it over the system; the pin-level simulation builds it over
// simulated devices.
class LinuxBoardLink final : public BoardLink, public SmbusAdapterChoice {
public:
    using AdapterScanner = std::function<SmbusAdapterList()>;

    // An empty opener opens ports through ppdev on `io`.
    LinuxBoardLink(std::shared_ptr<DeviceIo> io, std::shared_ptr<BusTiming> timing,
                   PrinterPorts::Scanner scanPorts, SmbusAdapterInfo adapter,
                   PrinterPorts::Opener openPort = {});
    ~LinuxBoardLink() override;

    ParallelPortLink& parallelPortLink() override { return *ports_; }
    SmbusLink& smbusLink() override { return *smbus_; }
    void setActiveMedium(int medium) override { medium_ = medium; }
    // The node of the chosen medium ("/dev/parport0", "/dev/i2c-1"); before the choice, what
    // this PC offers.
    QString description() const override;
    // An SMBus is offered exactly when there is an adapter to put it on.
    bool smbusAvailable() override;
    // Null until setAdapterScanner gave the adapters a source.
    SmbusAdapterChoice* smbusAdapterChoice() override;

    // Where the adapters come from, and the adapter the user named (empty: the choice is free).
    // Without it the board has only the adapter it was built with.
    void setAdapterScanner(AdapterScanner scan, QString named);
    SmbusAdapterList scanAdapters() override;
    QString namedAdapter() const override { return named_; }
    void chooseAdapter(const SmbusAdapter& adapter) override;
    QString chosenAdapter() const override;

    PrinterPorts& printerPorts() { return *ports_; }
    I2cDevSmbus& smbus() { return *smbus_; }
    int activeMedium() const { return medium_; }

private:
    // Declared first: the ports and the adapter use them until their own end.
    std::shared_ptr<DeviceIo> io_;
    std::shared_ptr<BusTiming> timing_;
    std::unique_ptr<I2cDevSmbus> smbus_;
    std::unique_ptr<PrinterPorts> ports_;
    int medium_ = -1;
    AdapterScanner scanAdapters_;
    QString named_;
};

} // namespace qmf::linux_hw
