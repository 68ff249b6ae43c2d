// SPDX-License-Identifier: GPL-3.0-or-later
// Our bus traces as an independent decoder reads them: sigrok-cli's I2C decoder must find in a
// trace of the pin-level simulated board exactly the transfers the program made (a register
// read, a write, a whole dump, the device search), on both board wirings.
#include "boards/sim/PinLevelSimulatedBoard.h"
#include "core/chip/SharedState.h"
#include "core/link/BoardLink.h"
#include "core/link/DeviceSearch.h"
#include "core/link/RegisterAccess.h"
#include "core/time/Clock.h"
#include "core/trace/BusTraceRecording.h"
#include "support/SigrokDecode.h"

#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace qmf::test {
namespace {

constexpr quint8 Chip = 0x5E;

// The pin-level board with its chip chosen as the program's Finish chooses it.
struct TracedBoard {
    explicit TracedBoard(bool alternateWiring)
        : state([this, alternateWiring] {
              auto made = std::make_unique<sim::PinLevelSimulatedBoard>(clock, alternateWiring);
              board = made.get();
              return made;
          }) {
        state.board();
    }
    void choose() {
        SearchFinds finds;
        DeviceSearch(*board).searchPrinterPorts(finds);
        ASSERT_TRUE(DeviceSearch::applyChoice(state, finds, Chip).isEmpty());
        ASSERT_EQ(state.CommsMedium, 1);
    }
    // Records what `traffic` puts on the bus and returns what sigrok-cli decodes of it.
    QStringList decode(const std::function<void()>& traffic) {
        const QString path = dir.filePath(QStringLiteral("trace.vcd"));
        trace::BusTraceRecording recording(board->parallelPortLink().busEngine());
        EXPECT_TRUE(recording.start(path)) << recording.error().toStdString();
        traffic();
        EXPECT_TRUE(recording.stop()) << recording.error().toStdString();
        const I2cDecode decoded = decodeI2c(path);
        EXPECT_TRUE(decoded.error.isEmpty()) << decoded.error.toStdString();
        return decoded.events;
    }

    ManualClock clock;
    sim::PinLevelSimulatedBoard* board = nullptr;
    SharedState state;
    QTemporaryDir dir;
};

class TraceDecodeTest : public ::testing::TestWithParam<bool> {};

INSTANTIATE_TEST_SUITE_P(BothWirings, TraceDecodeTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Alternate" : "Standard"; });

TEST_P(TraceDecodeTest, AReadAndASetAreTheTransfersTheyAre) {
    TracedBoard traced(GetParam());
    traced.choose();
    EXPECT_EQ(traced.decode([&] { EXPECT_EQ(ReadRegisterAt(traced.state, 0x0D), 0x41); }),
              i2cRead(Chip, 0x0D, 0x41));

    // set 40 to A5: the write, then the read that checks it.
    const QStringList set = traced.decode([&] {
        WriteRegisterAt(traced.state, 0x40, 0xA5);
        EXPECT_EQ(ReadRegisterAt(traced.state, 0x40), 0xA5);
    });
    EXPECT_EQ(set, i2cWrite(Chip, 0x40, 0xA5) + i2cRead(Chip, 0x40, 0xA5));
}

TEST_P(TraceDecodeTest, AWholeDumpIsEveryRegisterInTurn) {
    TracedBoard traced(GetParam());
    traced.choose();
    QStringList expected;
    const QStringList dump = traced.decode([&] {
        for (int reg = 0; reg < 256; ++reg) {
            expected += i2cRead(Chip, quint8(reg), ReadRegisterAt(traced.state, quint8(reg)));
        }
    });
    EXPECT_EQ(dump.size(), 256 * 11);
    EXPECT_EQ(dump, expected);
}

TEST_P(TraceDecodeTest, TheDeviceSearchProbesEveryCandidateOnTheWiredLines) {
    TracedBoard traced(GetParam());
    // Only the bus mode that matches the board's wiring reaches its lines; in the other mode the
    // engine drives pins the board does not use, so the trace stays idle.
    QStringList expected;
    for (const quint8 candidate : AddressCandidates) {
        expected += candidate == Chip ? i2cRead(Chip, 0x0D, 0x41) : i2cNoAnswer(candidate);
    }
    SearchFinds finds;
    EXPECT_EQ(traced.decode([&] { DeviceSearch(*traced.board).searchPrinterPorts(finds); }),
              expected);
    EXPECT_EQ(finds.ParallelFinds, QList<int>{Chip});
    EXPECT_EQ(finds.ParallelFindModes, QList<bool>{GetParam()});
}

} // namespace
} // namespace qmf::test
