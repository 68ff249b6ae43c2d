// SPDX-License-Identifier: GPL-3.0-or-later
// The device choice against the recording board, where ports, bus modes and failures can be
// arranged: what is probed, what is kept and which path the chosen chip ends up on.
#include "cli/DeviceChoice.h"

#include "cli/CommandFailure.h"
#include "core/chip/SharedState.h"
#include "support/RecordingBoard.h"

#include <functional>
#include <gtest/gtest.h>

namespace qmf::cli::test {
namespace {

using qmf::test::RecordingBoard;

BoardOptions with(const std::function<void(BoardOptions&)>& edit) {
    BoardOptions options;
    edit(options);
    return options;
}

class DeviceChoiceTest : public ::testing::Test {
protected:
    DeviceChoiceTest()
        : state([this] {
              auto recording = std::make_unique<RecordingBoard>();
              board = recording.get();
              return recording;
          }) {
        state.board();
        board->setPorts({0x378, 0x278});
        board->addParallelChip(0, false, 0x5E);
        board->addParallelChip(1, true, 0x5A);
        board->addSmbusChip(0x58);
    }

    bool logged(const QString& prefix) const {
        for (const QString& line : board->log) {
            if (line.startsWith(prefix)) {
                return true;
            }
        }
        return false;
    }

    RecordingBoard* board = nullptr;
    SharedState state;
};

TEST_F(DeviceChoiceTest, OptionsLimitWhatIsProbedAndWhatIsKept) {
    const struct {
        const char* name;
        BoardOptions options;
        QList<int> parallel;
        QList<int> smbus;
    } cases[] = {
        {"everything", {}, {0x5E, 0x5A}, {0x58}},
        {"port 1", with([](BoardOptions& o) { o.port = 1; }), {0x5A}, {}},
        {"alternate", with([](BoardOptions& o) { o.alternate = true; }), {0x5A}, {}},
        {"address 58", with([](BoardOptions& o) { o.address = 0x58; }), {}, {0x58}},
        {"smbus only",
         with([](BoardOptions& o) { o.smbusDevice = QStringLiteral("/dev/i2c-9"); }),
         {},
         {0x58}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        board->clearLog();
        const DeviceSearchOutcome outcome = searchDevices(state.board(), c.options);
        EXPECT_EQ(outcome.finds.ParallelFinds, c.parallel);
        EXPECT_EQ(outcome.finds.SmbusFinds, c.smbus);
        EXPECT_TRUE(outcome.failures.isEmpty());
        if (c.options.port) {
            EXPECT_FALSE(logged(QStringLiteral("PortIndex=0"))) << "another port was touched";
        }
        if (!c.options.smbusAllowed()) {
            EXPECT_FALSE(logged(QStringLiteral("Smbus.ReadByte")));
        }
        if (!c.options.printerPortsAllowed()) {
            EXPECT_FALSE(logged(QStringLiteral("BusEngine.ReadByte")));
            EXPECT_FALSE(logged(QStringLiteral("PortCount")));
        }
    }
}

TEST_F(DeviceChoiceTest, AFailingMediumIsReportedAndTheOtherIsStillSearched) {
    board->failNext(1, QStringLiteral("BusEngine.ReadByte"));
    const DeviceSearchOutcome outcome = searchDevices(state.board(), {});
    ASSERT_EQ(outcome.failures.size(), 1);
    EXPECT_TRUE(outcome.failures.first().startsWith(QStringLiteral("printer-port search: ")));
    EXPECT_EQ(outcome.finds.SmbusFinds, QList<int>{0x58});
}

// The program's Finish applies every find at the chosen address, the last one deciding the
// path; the first find alone keeps the printer port that the tool promises to prefer.
TEST_F(DeviceChoiceTest, TheFirstFindAloneDecidesThePath) {
    board->addSmbusChip(0x5E);
    const DeviceSearchOutcome outcome =
        searchDevices(state.board(), with([](BoardOptions& o) { o.address = 0x5E; }));
    ASSERT_EQ(outcome.finds.SmbusFinds, QList<int>{0x5E});
    const SearchFinds first = firstFind(outcome, {});
    EXPECT_TRUE(first.SmbusFinds.isEmpty());
    EXPECT_TRUE(DeviceSearch::applyChoice(state, first, 0x5E).isEmpty());
    EXPECT_EQ(state.CommsMedium, 1);
    EXPECT_EQ(state.DeviceAddress, 0x5E);
}

TEST_F(DeviceChoiceTest, NoMatchingChipNamesTheAddressAndTheFailures) {
    board->failNext(1, QStringLiteral("Smbus.ReadByte"));
    const BoardOptions options = with([](BoardOptions& o) { o.address = 0x50; });
    const DeviceSearchOutcome outcome = searchDevices(state.board(), options);
    try {
        firstFind(outcome, options);
        FAIL() << "a chip was chosen";
    } catch (const CommandFailure& failure) {
        ASSERT_EQ(failure.lines().size(), 2);
        EXPECT_EQ(failure.lines().at(0), QStringLiteral("no QMF4150 answered at 50h"));
        EXPECT_TRUE(failure.lines().at(1).startsWith(QStringLiteral("SMBus search: ")));
    }
}

} // namespace
} // namespace qmf::cli::test
