// SPDX-License-Identifier: GPL-3.0-or-later
// adapters: the i2c adapters of a simulated sysfs and i2c-dev layout, in-process (the tool reads
// the real /sys), and the tool's answers where there is nothing to list.
#include "ToolProcess.h"
#include "boards/linux/LinuxBoard.h"
#include "boards/sim/SimulatedDeviceIo.h"
#include "boards/sim/SimulatedI2cLayout.h"
#include "cli/AdapterListing.h"
#include "cli/CommandFailure.h"

#include <vector>

namespace qmf::cli::test {
namespace {

using enum sim::SimulatedI2cLayout::Adapter;

// Node, name, kind; the adapter the SMBus path takes marked, "--smbus" when the user named it.
TEST(Adapters, ListsTheUsableAdaptersWithTheChoiceMarked) {
    const struct {
        std::vector<std::pair<sim::SimulatedI2cLayout::Adapter, int>> plugged;
        int named; // --smbus /dev/i2c-N, -1 for none
        QStringList lines;
        const char* failure = nullptr;
    } cases[] = {
        {{{IntelPch, 0}, {I915Gmbus, 1}, {Cp2112, 8}},
         -1,
         {"i2c-0\tSMBus I801 adapter at efa0\tPCI SMBus host controller\tautomatic",
          "i2c-8\tCP2112 SMBus Bridge on hidraw0\tUSB bridge"}},
        {{{I915DpAux, 2}, {Mcp2221, 9}},
         -1,
         {"i2c-9\tMCP2221 usb-i2c bridge\tUSB bridge\tautomatic"}},
        {{{Cp2112, 8}, {Mcp2221, 9}, {TinyUsb, 10}},
         -1,
         {"i2c-8\tCP2112 SMBus Bridge on hidraw0\tUSB bridge",
          "i2c-9\tMCP2221 usb-i2c bridge\tUSB bridge",
          "i2c-10\ti2c-tiny-usb at bus 001 device 004\tUSB bridge"}},
        {{{IntelPch, 0}, {Mcp2221, 9}},
         9,
         {"i2c-0\tSMBus I801 adapter at efa0\tPCI SMBus host controller",
          "i2c-9\tMCP2221 usb-i2c bridge\tUSB bridge\t--smbus"}},
        {{{I915Gmbus, 1}, {I915DpAux, 2}}, -1, {}, "neither a PCI SMBus host controller nor a USB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines.join(" | ").toStdString());
        QTemporaryDir root;
        sim::SimulatedI2cLayout layout(root.path(), std::make_shared<sim::SimulatedDeviceIo>());
        for (const auto& [adapter, number] : c.plugged) {
            layout.plug(adapter, number);
        }
        linux_hw::LinuxBoardOptions options = layout.options();
        if (c.named >= 0) {
            options.smbusDevice = layout.node(c.named);
        }
        std::unique_ptr<BoardLink> board = linux_hw::makeLinuxBoard(options);
        try {
            QStringList lines = adapterListing(*board);
            lines.replaceInStrings(root.path() + "/dev/", QString());
            EXPECT_EQ(lines, c.lines);
            EXPECT_EQ(c.failure, nullptr);
        } catch (const CommandFailure& e) {
            ASSERT_NE(c.failure, nullptr) << e.what();
            EXPECT_TRUE(QString::fromUtf8(e.what()).contains(c.failure)) << e.what();
        }
    }
}

TEST(Adapters, TheSimulatedBoardHasNoneAndTheCommandTakesNoArguments) {
    expectFailure(sim("adapters"), 1,
                  QStringLiteral("qmf4150ctl: the simulated evaluation board has no i2c adapters: "
                                 "its SMBus is part of the simulation\n"));
    const ToolResult extra = sim("adapters 1");
    EXPECT_EQ(extra.exitCode, 2);
    EXPECT_TRUE(extra.err.contains("unexpected argument")) << extra.err.toStdString();
    const ToolResult help = runTool({"adapters", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("marked automatic")) << help.out.toStdString();
}

} // namespace
} // namespace qmf::cli::test
