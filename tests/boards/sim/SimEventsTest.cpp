// SPDX-License-Identifier: GPL-3.0-or-later
// Alarm events from the simulated chip, read through register access as the program reads it.
#include "boards/sim/SimulatedBoard.h"
#include "core/chip/SharedState.h"
#include "core/events/EventTracker.h"
#include "core/events/EventsPoll.h"
#include "core/link/RegisterAccess.h"
#include "core/time/Clock.h"

#include <cmath>
#include <gtest/gtest.h>

namespace qmf::sim::test {
namespace {

using events::ChipEvent;
using events::EventKind;

class SimEvents : public ::testing::Test {
protected:
    SimEvents()
        : state([this] {
              auto made = std::make_unique<SimulatedBoard>(clock);
              board = made.get();
              return made;
          }) {
        state.board();
        state.CommsMedium = 0;
        state.DeviceAddress = board->smbusChipAddress();
        state.events().setClock(&clock);
    }
    SimulatedChip& chip() { return board->smbusChip(); }
    // One events-poll tick every 500 ms until `until` says stop or `limitS` has passed; returns
    // the time of the tick that stopped it.
    template <class Until> qint64 pollUntil(Until until, double limitS) {
        while (clock.elapsedMs() < qint64(limitS * 1000)) {
            clock.advanceMs(events::EventTracker::PollPeriodMs);
            events::pollEventRegisters(state);
            if (until()) {
                return clock.elapsedMs();
            }
        }
        ADD_FAILURE() << "not within " << limitS << " s";
        return -1;
    }

    ManualClock clock;
    SimulatedBoard* board = nullptr;
    SharedState state;
};

TEST_F(SimEvents, HeaterDrivesTdm2OverItsHighLimitAndBack) {
    WriteRegisterAt(state, 0x92, 60); // TDM 2's high limit within the heater's reach
    chip().setHeaters(true, false);
    // The model's own temperature is the oracle: the reading is it rounded to whole degrees.
    const auto over = [this] { return std::lround(chip().temperature(2)) > 60; };
    const qint64 crossedMs = pollUntil(over, 300);
    ASSERT_EQ(state.events().size(), 1);
    const ChipEvent& hot = state.events().at(0);
    EXPECT_EQ(hot.kind, EventKind::TemperatureHigh);
    EXPECT_EQ(hot.channel, 2);
    EXPECT_EQ(hot.beginMs, crossedMs);
    EXPECT_EQ(hot.text, QStringLiteral("Temperature 2 above high limit (61 C > 60 C)"));
    EXPECT_TRUE(hot.active());

    chip().setHeaters(false, false);
    const qint64 cooledMs = pollUntil([&] { return !over(); }, 900);
    ASSERT_EQ(state.events().size(), 1);
    EXPECT_EQ(state.events().at(0).endMs, cooledMs);
    EXPECT_EQ(state.events().at(0).begin.msecsTo(state.events().at(0).end), cooledMs - crossedMs);
    EXPECT_EQ(state.events().count(EventKind::TemperatureHigh), 1u);
}

TEST_F(SimEvents, UnpluggedFanIsMissingUntilPluggedBack) {
    struct Case {
        int fan;
        const char* text;
    };
    for (const Case c : {Case{0, "Fan 0 missing"}, Case{1, "Fan 1 missing"}}) {
        const qsizetype before = state.events().size();
        pollUntil([] { return true; }, 1e9);
        const qint64 unpluggedMs = clock.elapsedMs();
        chip().setFanConnected(c.fan, false);
        const qint64 seenMs = pollUntil([] { return true; }, 1e9);
        chip().setFanConnected(c.fan, true);
        clock.advanceMs(3000);
        const qint64 backMs = pollUntil([] { return true; }, 1e9);
        ASSERT_EQ(state.events().size(), before + 1) << c.text;
        const ChipEvent& missing = state.events().at(before);
        EXPECT_EQ(missing.text, QLatin1String(c.text));
        EXPECT_EQ(missing.kind, EventKind::FanMissing);
        EXPECT_EQ(missing.beginMs, seenMs);
        EXPECT_GT(missing.beginMs, unpluggedMs);
        EXPECT_EQ(missing.endMs, backMs);
    }
}

} // namespace
} // namespace qmf::sim::test
