// SPDX-License-Identifier: GPL-3.0-or-later
// The status registers decoded into per-channel alarms.
#include "core/events/ChipStatus.h"

#include <gtest/gtest.h>

namespace qmf::events {
namespace {

TEST(ChipStatus, FanStatusBitsDecodeIntoMissingAndFaultLiveAndLatched) {
    const struct {
        quint8 reg;
        FanStatus status;
        bool alarm;
    } cases[] = {
        {0x00, {}, false},
        {0x01, {true, false, false, false}, true},
        {0x02, {false, true, false, false}, true}, // gone again, still latched
        {0x04, {false, false, true, false}, true},
        {0x08, {false, false, false, true}, true},
        {0x0F, {true, true, true, true}, true},
        // Hot-plug, priority, sleep and tachometer bits are no fan alarm of their own.
        {0xF0, {}, false},
        {0xF5, {true, false, true, false}, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decodeFanStatus(c.reg), c.status) << int(c.reg);
        EXPECT_EQ(decodeFanStatus(c.reg).alarm(), c.alarm) << int(c.reg);
    }
}

// A channel is in alarm when 00h reports a thermal event and its own value is outside its limits;
// the limits alone (no event reported) or the event alone (another channel) are not enough.
TEST(ChipStatus, ATemperatureAlarmNeedsTheThermalEventAndThisChannelOutsideItsLimits) {
    const struct {
        quint8 main;
        qint16 value, low, high;
        LimitSide side;
        bool alarm;
    } cases[] = {
        {0x80, 41, 20, 40, LimitSide::AboveHigh, true},
        {0x80, 40, 20, 40, LimitSide::Inside, false}, // equal to the limit is inside
        {0x80, 20, 20, 40, LimitSide::Inside, false},
        {0x80, 19, 20, 40, LimitSide::BelowLow, true},
        {0x80, -55, -10, 40, LimitSide::BelowLow, true},
        {0x80, 30, 20, 40, LimitSide::Inside, false},
        {0x7F, 41, 20, 40, LimitSide::AboveHigh, false}, // every other bit, but no event
        {0xFF, 100, 20, 40, LimitSide::AboveHigh, true},
        {0x80, 30, 40, 20, LimitSide::AboveHigh, true}, // crossed limits: above the high one
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.main) << ' ' << c.value);
        const TemperatureStatus status = decodeTemperatureStatus(c.main, c.value, c.low, c.high);
        EXPECT_EQ(status.side, c.side);
        EXPECT_EQ(status.thermalEvent, (c.main & 0x80) != 0);
        EXPECT_EQ(status.alarm(), c.alarm);
    }
}

// The register bytes in the chip's signed encoding: 201 is -55, 246 is -9.
TEST(ChipStatus, TemperatureBytesDecodeInTheChipsSignedEncoding) {
    EXPECT_EQ(decodeTemperatureStatusBytes(0x80, 201, 246, 40).side, LimitSide::BelowLow);
    EXPECT_EQ(decodeTemperatureStatusBytes(0x80, 246, 201, 40).side, LimitSide::Inside);
    EXPECT_EQ(decodeTemperatureStatusBytes(0x80, 127, 0, 126).side, LimitSide::AboveHigh);
    // As plain bytes 200 would be above 100; as temperatures -56 is below 0.
    EXPECT_EQ(decodeTemperatureStatusBytes(0x80, 200, 0, 100).side, LimitSide::BelowLow);
}

} // namespace
} // namespace qmf::events
