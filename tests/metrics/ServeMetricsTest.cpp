// SPDX-License-Identifier: GPL-3.0-or-later
// The metrics of register images the simulated board cannot be brought to from the command line:
// fan status bits.
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

} // namespace
} // namespace qmf::cli::test
