// SPDX-License-Identifier: GPL-3.0-or-later
#include "boards/linux/LinuxBoard.h"
#include "boards/sim/PinLevelSimulatedBoard.h"
#include "boards/sim/SimulatedBoard.h"
#include "gui/shell/CommandLine.h"
#include "gui/shell/mainWiring.h"

namespace qmf {

BoardFactory boardFactoryFor(const CommandLine& commandLine, const Clock& clock) {
    if (commandLine.simulate && commandLine.pinLevel) {
        return [&clock] { return sim::makePinLevelSimulatedBoard(clock); };
    }
    if (commandLine.simulate) {
        return [&clock, address = commandLine.simSmbusAddress]() -> std::unique_ptr<BoardLink> {
            auto board = std::make_unique<sim::SimulatedBoard>(clock);
            if (address) {
                board->setSmbusChipAddress(*address);
            }
            return board;
        };
    }
    return [device = commandLine.smbusDevice] {
        linux_hw::LinuxBoardOptions options;
        options.smbusDevice = device;
        return linux_hw::makeLinuxBoard(options);
    };
}

} // namespace qmf
