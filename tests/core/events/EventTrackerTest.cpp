// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/events/EventTracker.h"

#include "core/measure/Temperature.h"
#include "core/time/Clock.h"

#include <gtest/gtest.h>

namespace qmf::events {
namespace {

// The chip's byte for a temperature, found through the core's own decoding.
quint8 tempByte(int celsius) {
    for (int b = 0; b < 256; ++b) {
        if (Temperature::RegisterToTemperature(qint16(b)) == celsius) {
            return quint8(b);
        }
    }
    ADD_FAILURE() << "no byte for " << celsius;
    return 0;
}

struct Read {
    qint64 afterMs; // clock advance before the read
    int reg;
    int value;
};

struct Expected {
    EventKind kind;
    int channel;
    qint64 beginMs;
    qint64 endMs; // -1 while it lasts
    const char* text;
};

struct Case {
    const char* what;
    std::vector<Read> reads;
    std::vector<Expected> events;
};

class Tracked : public ::testing::Test {
protected:
    Tracked() { tracker.setClock(&clock); }
    void play(const std::vector<Read>& reads) {
        for (const Read& r : reads) {
            clock.advanceMs(r.afterMs);
            tracker.noteRead(quint8(r.reg), quint8(r.value));
        }
    }
    ManualClock clock;
    EventTracker tracker;
};

TEST_F(Tracked, StatusReadingsBecomeEventsWithBeginAndEnd) {
    const int hot = tempByte(81), limit = tempByte(80), cold = tempByte(-5), zero = tempByte(0);
    const std::vector<Case> cases = {
        {"CFAULT output asserted, then released",
         {{0, 0x00, 0x04}, {500, 0x00, 0x04}, {500, 0x00, 0x00}},
         {{EventKind::Cfault, 0, 0, 1000, "CFAULT asserted"}}},
        {"CFAULT pulled from outside, still lasting",
         {{0, 0x00, 0x02}},
         {{EventKind::CfaultInput, 0, 0, -1, "CFAULT input asserted"}}},
        {"TDM 1 above its high limit during a thermal event",
         {{0, 0x00, 0x80}, {10, 0xA1, hot}, {10, 0x99, zero}, {10, 0x91, limit}, {470, 0x00, 0}},
         {{EventKind::TemperatureHigh, 1, 30, 500,
           "Temperature 1 above high limit (81 C > 80 C)"}}},
        {"local below its low limit, ended by its own value",
         {{0, 0x00, 0x80}, {0, 0x90, limit}, {0, 0x98, zero}, {0, 0xA0, cold}, {200, 0xA0, zero}},
         {{EventKind::TemperatureLow, 0, 0, 200, "Temperature 0 below low limit (-5 C < 0 C)"}}},
        {"outside its limits without a thermal event is no alarm",
         {{0, 0x00, 0x00}, {0, 0x92, limit}, {0, 0x9A, zero}, {0, 0xA2, hot}},
         {}},
        {"a channel not installed is not judged",
         {{0, 0x06, 0x03}, {0, 0x00, 0x80}, {0, 0x92, limit}, {0, 0x9A, zero}, {0, 0xA2, hot}},
         {}},
        {"a main status read too long ago judges nothing",
         {{0, 0x00, 0x80}, {2000, 0x92, limit}, {0, 0x9A, zero}, {0, 0xA2, hot}},
         {}},
        {"fan 0 missing; the latch left behind adds nothing",
         {{0, 0x10, 0x03}, {500, 0x10, 0x02}, {500, 0x10, 0x02}},
         {{EventKind::FanMissing, 0, 0, 500, "Fan 0 missing"}}},
        {"fan 1 fault",
         {{0, 0x11, 0x0C}, {500, 0x11, 0x0C}, {500, 0x11, 0x08}},
         {{EventKind::FanFault, 1, 0, 1000, "Fan 1 fault"}}},
        {"a fault that came and went between readings, found by its latch once",
         {{0, 0x10, 0x00}, {500, 0x10, 0x08}, {500, 0x10, 0x08}},
         {{EventKind::FanFault, 0, 500, 500, "Fan 0 fault (latched)"}}},
        {"a latch cleared and set again is a second event",
         {{0, 0x11, 0x02}, {500, 0x11, 0x00}, {500, 0x11, 0x02}},
         {{EventKind::FanMissing, 1, 0, 0, "Fan 1 missing (latched)"},
          {EventKind::FanMissing, 1, 1000, 1000, "Fan 1 missing (latched)"}}},
        {"registers outside the status set change nothing",
         {{0, 0x01, 0xFF}, {0, 0x70, 0xFF}, {0, 0x12, 0xFF}},
         {}},
    };
    for (const Case& c : cases) {
        ManualClock caseClock;
        EventTracker t;
        t.setClock(&caseClock);
        for (const Read& r : c.reads) {
            caseClock.advanceMs(r.afterMs);
            t.noteRead(quint8(r.reg), quint8(r.value));
        }
        ASSERT_EQ(t.size(), qsizetype(c.events.size())) << c.what;
        for (std::size_t i = 0; i < c.events.size(); ++i) {
            const ChipEvent& got = t.at(qsizetype(i));
            const Expected& want = c.events[i];
            EXPECT_EQ(got.kind, want.kind) << c.what;
            EXPECT_EQ(got.channel, want.channel) << c.what;
            EXPECT_EQ(got.text, QLatin1String(want.text)) << c.what;
            EXPECT_EQ(got.beginMs, want.beginMs) << c.what;
            EXPECT_EQ(got.begin, caseClock.now().addMSecs(want.beginMs - caseClock.elapsedMs()))
                << c.what;
            EXPECT_EQ(got.active(), want.endMs < 0) << c.what;
            if (want.endMs >= 0) {
                EXPECT_EQ(got.endMs, want.endMs) << c.what;
                EXPECT_EQ(got.begin.msecsTo(got.end), want.endMs - want.beginMs) << c.what;
            }
        }
    }
}

TEST_F(Tracked, HistoryIsBoundedWhileCountsCoverTheRun) {
    EventTracker small(3);
    small.setClock(&clock);
    for (int i = 0; i < 5; ++i) {
        small.noteRead(0x00, 0x04);
        clock.advanceMs(100);
        small.noteRead(0x00, 0x00);
    }
    small.noteRead(0x10, 0x05); // fan 0 missing and faulty, lasting
    EXPECT_EQ(small.size(), 3);
    EXPECT_EQ(small.at(0).serial, 5u);
    EXPECT_EQ(small.find(4), nullptr);
    EXPECT_EQ(small.find(7)->text, QStringLiteral("Fan 0 fault"));
    EXPECT_EQ(small.count(EventKind::Cfault), 5u);
    EXPECT_EQ(small.count(EventKind::FanMissing), 1u);
    EXPECT_EQ(small.count(EventKind::TemperatureHigh), 0u);
    EXPECT_EQ(small.activeCount(EventKind::Cfault), 0);
    EXPECT_EQ(small.activeCount(EventKind::FanFault), 1);
    EXPECT_EQ(small.activeCount(), 2);
    // An alarm whose event was dropped still ends cleanly.
    small.noteRead(0x00, 0x04);
    small.noteRead(0x00, 0x04);
    for (int i = 0; i < 3; ++i) {
        small.noteRead(0x11, 0x01);
        small.noteRead(0x11, 0x00);
    }
    small.noteRead(0x10, 0x00);
    EXPECT_EQ(small.activeCount(), 1); // CFAULT only
}

TEST_F(Tracked, SignalsTellBeginEndAndDrops) {
    EventTracker small(1);
    small.setClock(&clock);
    QStringList seen;
    QObject::connect(&small, &EventTracker::aboutToBegin, [&] { seen << "about"; });
    QObject::connect(&small, &EventTracker::began,
                     [&](quint64 s) { seen << "began" + QString::number(s); });
    QObject::connect(&small, &EventTracker::ended,
                     [&](quint64 s) { seen << "ended" + QString::number(s); });
    QObject::connect(&small, &EventTracker::aboutToDropOldest, [&] { seen << "drop"; });
    QObject::connect(&small, &EventTracker::droppedOldest, [&] { seen << "dropped"; });
    small.noteRead(0x00, 0x04);
    small.noteRead(0x00, 0x00);
    small.noteRead(0x10, 0x02);
    EXPECT_EQ(seen, QStringList({"about", "began1", "ended1", "drop", "dropped", "about", "began2",
                                 "ended2"}));
}

TEST_F(Tracked, ThePollAsksOnlyForWhatNobodyReadLately) {
    using R = std::optional<quint8>;
    struct Step {
        const char* what;
        std::vector<Read> reads;
        R due;
    };
    const std::vector<Step> steps = {
        {"nothing read yet", {}, R(0x00)},
        {"main status read", {{0, 0x00, 0x00}}, R(0x10)},
        {"fan 0 read by a view", {{0, 0x10, 0x00}}, R(0x11)},
        {"all status fresh, no thermal event", {{0, 0x11, 0x00}}, R()},
        {"still fresh 399 ms later", {{399, 0x01, 0}}, R()},
        {"due again at 400 ms", {{1, 0x01, 0}}, R(0x00)},
        {"a thermal event asks for the installed sensors",
         {{0, 0x00, 0x80}, {0, 0x10, 0}, {0, 0x11, 0}},
         R(0x06)},
        {"then each channel's value and limits", {{0, 0x06, 0x07}}, R(0xA0)},
        {"a view's reads count",
         {{0, 0xA0, 20}, {0, 0x98, 0}, {0, 0x90, 80}, {0, 0xA1, 20}, {0, 0x99, 0}},
         R(0x91)},
        {"all fresh", {{0, 0x91, 80}, {0, 0xA2, 20}, {0, 0x9A, 0}, {0, 0x92, 80}}, R()},
    };
    for (const Step& s : steps) {
        play(s.reads);
        EXPECT_EQ(tracker.nextDueRegister(), s.due) << s.what;
    }
}

} // namespace
} // namespace qmf::events
