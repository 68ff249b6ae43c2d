// SPDX-License-Identifier: GPL-3.0-or-later
#include "boards/sim/SimulatedBoard.h"
#include "core/link/LinkErrors.h"
#include "gui/app/CommandLine.h"
#include "gui/app/mainWiring.h"

#ifdef QMF_HAVE_LINUX_BOARD
#include "boards/linux/LinuxBoard.h"
#endif

namespace qmf {

BoardFactory boardFactoryFor(const CommandLine& commandLine, const Clock& clock) {
    if (commandLine.simulate) {
        return [&clock]() -> std::unique_ptr<BoardLink> {
            return std::make_unique<sim::SimulatedBoard>(clock);
        };
    }
#ifdef QMF_HAVE_LINUX_BOARD
    return [device = commandLine.smbusDevice]() -> std::unique_ptr<BoardLink> {
        linux_hw::LinuxBoardOptions options;
        options.smbusDevice = device;
        return linux_hw::makeLinuxBoard(options);
    };
#else
    return []() -> std::unique_ptr<BoardLink> {
        throw LinkError(QStringLiteral("Open"), QStringLiteral("hardware board link"), -1, -1,
                        QStringLiteral("this build has no hardware support; start the program "
                                       "with --simulate"));
    };
#endif
}

} // namespace qmf
