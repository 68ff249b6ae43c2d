// SPDX-License-Identifier: GPL-3.0-or-later
// detect and the choice of chip, through the tool on the simulated board (a chip at 5E on
// printer port 0 at 378h in the normal bus mode, another at 5C on the SMBus).
#include "ToolProcess.h"
#include "core/link/DeviceSearch.h"

namespace qmf::cli::test {
namespace {

TEST(Detect, ListsTheFindsInTheProgramsWordsLimitedByTheBoardOptions) {
    const QString port5E = DeviceSearch::parallelEntryText(0x5E, 0x378);
    const QString smbus5C = DeviceSearch::smbusEntryText(0x5C);
    ASSERT_EQ(port5E, QStringLiteral("Found an QMF4150 at:5Eh, on printer port:378h"));
    ASSERT_EQ(smbus5C, QStringLiteral("An QMF4150 was found at:5Ch, on the SMBus"));
    const struct {
        QStringList options;
        QStringList lines;
    } cases[] = {
        {{}, {port5E, smbus5C}},
        {{"--port", "0"}, {port5E}},
        {{"--address", "0x5C"}, {smbus5C}},
        {{"--address", "5Eh"}, {port5E}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.join(QLatin1Char(' ')).toStdString());
        const ToolResult result = runSim(c.options + QStringList{QStringLiteral("detect")});
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.outLines(), c.lines);
        EXPECT_TRUE(result.err.isEmpty()) << result.err.toStdString();
    }
}

TEST(Detect, NothingFoundIsAFailureThatSaysWhy) {
    const struct {
        QStringList options;
        QString message;
    } cases[] = {
        {{"--alternate"},
         "Sorry, no QMF4150s were found. Please check all connections and try again"},
        {{"--address", "0x5A"}, "no QMF4150 answered at 5Ah"},
        {{"--port", "0", "--address", "0x5C"}, "no QMF4150 answered at 5Ch on printer port 0"},
        {{"--port", "1"}, "there is no printer port 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.join(QLatin1Char(' ')).toStdString());
        for (const QString& command : {QStringLiteral("detect"), QStringLiteral("dump")}) {
            const ToolResult result = runSim(c.options + QStringList{command});
            EXPECT_EQ(result.exitCode, 1);
            EXPECT_TRUE(result.out.isEmpty());
            EXPECT_TRUE(QString::fromUtf8(result.err).contains(c.message))
                << result.err.toStdString();
        }
    }
}

class ChipChoice : public ToolTest {};

// Without --address the printer-port chip is used; --address 0x5C reaches the SMBus chip.
TEST_F(ChipChoice, TheFirstFindUnlessAnAddressIsGiven) {
    const ToolResult before = runKept({QStringLiteral("get"), QStringLiteral("90")});
    ASSERT_EQ(before.exitCode, 0);
    ASSERT_NE(before.out, hexLine(0x11));
    ASSERT_EQ(runKept({QStringLiteral("--address"), QStringLiteral("0x5C"), QStringLiteral("set"),
                       QStringLiteral("90"), QStringLiteral("11")})
                  .exitCode,
              0);
    EXPECT_EQ(runKept({QStringLiteral("get"), QStringLiteral("90")}).out, before.out);
    EXPECT_EQ(runKept({QStringLiteral("--address"), QStringLiteral("5C"), QStringLiteral("get"),
                       QStringLiteral("90")})
                  .out,
              hexLine(0x11));
    // The heaters exist on the printer-port path only.
    EXPECT_EQ(runKept({QStringLiteral("heaters"), QStringLiteral("off")}).exitCode, 0);
    const ToolResult smbus = runKept({QStringLiteral("--address"), QStringLiteral("0x5C"),
                                      QStringLiteral("heaters"), QStringLiteral("on")});
    EXPECT_EQ(smbus.exitCode, 1);
    EXPECT_TRUE(smbus.out.isEmpty());
    EXPECT_TRUE(
        smbus.err.contains("Sorry, heaters cannot be enabled when the eval baord is not used."));
}

// A detect inside a batch moves the port's bus mode to look everywhere; the chip chosen before
// must still answer afterwards.
TEST(Detect, InABatchTheChosenChipStillAnswersAfterwards) {
    const ToolResult result =
        runSim({QStringLiteral("batch"), QStringLiteral("-")}, "get D\ndetect\nget D\n");
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QStringList lines = result.outLines();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines.first(), QStringLiteral("41"));
    EXPECT_EQ(lines.last(), QStringLiteral("41"));
}

} // namespace
} // namespace qmf::cli::test
