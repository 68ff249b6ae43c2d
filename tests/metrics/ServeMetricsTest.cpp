// SPDX-License-Identifier: GPL-3.0-or-later
// The metrics of register images the simulated board cannot be brought to from the command line:
// fan status bits, fan speeds at each oscillator setting, a chip that stopped answering.
#include "cli/ServeMetrics.h"

#include "ServeProcess.h"

#include <gtest/gtest.h>
#include <prometheus/text_serializer.h>

namespace qmf::cli::test {
namespace {

QByteArray exposition(const PollSnapshot& snapshot) {
    return QByteArray::fromStdString(
        prometheus::TextSerializer().Serialize(metricFamilies(snapshot, QStringLiteral("b"))));
}

PollSnapshot answered(const RegisterImage& registers) {
    PollSnapshot snapshot;
    snapshot.polled = true;
    snapshot.up = true;
    snapshot.readings = decodeReadings(registers);
    return snapshot;
}

double alarm(const QByteArray& text, const QString& kind, const QString& channel) {
    for (const Sample& s : samples(text, QStringLiteral("qmf4150_alarm"))) {
        if (s.labels.at("kind") == kind && s.labels.at("channel") == channel) {
            return s.value;
        }
    }
    return -1;
}

TEST(ServeMetrics, FanStatusBitsAreAlarmsOfTheirFan) {
    const struct {
        quint8 status;  // fan 1's status register
        const char* on; // the one alarm of fan 1 that is 1, or "" for none
    } cases[] = {
        {0x00, ""},
        {0x01, "fan_missing"},
        {0x02, "fan_missing_latched"},
        {0x04, "fan_fault"},
        {0x08, "fan_fault_latched"},
        {0xF0, ""}, // configuration and hot-plug bits are no alarm
    };
    for (const auto& c : cases) {
        RegisterImage r{};
        r[0x11] = c.status;
        const QByteArray text = exposition(answered(r));
        for (const char* kind :
             {"fan_missing", "fan_missing_latched", "fan_fault", "fan_fault_latched"}) {
            EXPECT_EQ(alarm(text, kind, "1"), QLatin1String(kind) == QLatin1String(c.on) ? 1 : 0)
                << int(c.status) << " " << kind;
            EXPECT_EQ(alarm(text, kind, "0"), 0) << "fan 0 is not touched";
        }
    }
}

TEST(ServeMetrics, FanSpeedsFollowTheOscillatorSetting) {
    const struct {
        quint8 speed2; // bits 7:6 choose the oscillator
        quint8 count;
        double rpm;
    } cases[] = {
        {0x00, 100, 0},    // no oscillator: no speed
        {0x40, 30, 1880},  // 120 x 470 / 30
        {0x80, 60, 1880},  // 120 x 940 / 60
        {0xC5, 255, 885},  // 120 x 1880 / 255 = 884.7; other bits play no part
        {0xC0, 0, 225600}, // a count of 0 counts as 1
    };
    for (const auto& c : cases) {
        RegisterImage r{};
        r[0x68] = c.speed2;
        r[0x70] = c.count;
        r[0x78] = c.count;
        const QByteArray text = exposition(answered(r));
        EXPECT_EQ(sampleValue(text, "qmf4150_fan_speed_rpm", "fan", "0"), c.rpm) << int(c.count);
        EXPECT_EQ(sampleValue(text, "qmf4150_fan_speed_limit_rpm", "fan", "0"), c.rpm);
    }
}

TEST(ServeMetrics, AFailedPollLeavesOnlyUpAndTheCounters) {
    PollSnapshot snapshot = answered(RegisterImage{});
    snapshot.up = false;
    snapshot.readings.reset();
    snapshot.polls = 7;
    snapshot.failedPolls = 3;
    const QByteArray text = exposition(snapshot);
    EXPECT_EQ(sampleValue(text, "qmf4150_up"), 0.0);
    EXPECT_EQ(sampleValue(text, "qmf4150_polls_total"), 7.0);
    EXPECT_EQ(sampleValue(text, "qmf4150_poll_failures_total"), 3.0);
    for (const char* name : {"qmf4150_temperature_celsius", "qmf4150_fan_speed_rpm",
                             "qmf4150_alarm", "qmf4150_ain_raw", "qmf4150_fan_duty_ratio"}) {
        EXPECT_TRUE(samples(text, QLatin1String(name)).empty()) << name;
        EXPECT_FALSE(text.contains(QByteArray("# TYPE ") + name + ' ')) << name;
    }
}

} // namespace
} // namespace qmf::cli::test
