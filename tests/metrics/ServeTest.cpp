// SPDX-License-Identifier: GPL-3.0-or-later
// qmf4150ctl serve as a process on the simulated board: what /metrics and /healthz answer, checked
// against the tool's own monitor and by promtool; what it refuses; how it ends.
#include "ServeProcess.h"
#include "ToolProcess.h"
#include "cli/ServeReadings.h"
#include "core/measure/Temperature.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>

namespace qmf::cli::test {
namespace {

// One poll only: the series stay those of the simulated moment the test reads with monitor.
const QStringList OnePoll = {QStringLiteral("--interval"), QStringLiteral("3600")};

class Serve : public ToolTest {
protected:
    QStringList board() const {
        return {QStringLiteral("--simulate"), QStringLiteral("--sim-state"), path("board.state")};
    }
    // Runs the batch lines on the kept board.
    void prepare(const QByteArray& lines) {
        const ToolResult r = kept(QStringLiteral("batch -"), lines);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    }
    std::unique_ptr<ServeProcess> serve(const QStringList& args = OnePoll) {
        auto process = std::make_unique<ServeProcess>(board(), args, dir.path());
        EXPECT_TRUE(process->started()) << process->err().toStdString();
        return process;
    }
};

QByteArray hex(qint16 temperature) {
    return QByteArray::number(quint8(Temperature::TemperatureToRegister(temperature)), 16);
}

TEST_F(Serve, MetricsAreTheChipsReadingsAndPassPromtool) {
    prepare("set 0x91 " + hex(70) + "\nset 0x9A " + hex(5) + "\nsleep 5\n");
    // The tool's own table of the same simulated moment: Fan0 Fan1 Temp0 Temp1 Temp2.
    const ToolResult monitor = kept(QStringLiteral("monitor --count 1"));
    ASSERT_EQ(monitor.exitCode, 0) << monitor.err.toStdString();
    const QStringList row = words(monitor.outLines().at(1));
    ASSERT_EQ(row.size(), 6);

    auto process = serve(OnePoll + QStringList{QStringLiteral("--board-name"), "bench 7"});
    const HttpReply reply = process->get(QStringLiteral("/metrics"));
    ASSERT_EQ(reply.status, 200);
    EXPECT_TRUE(reply.contentType.startsWith("text/plain")) << reply.contentType.toStdString();
    const QByteArray& m = reply.body;
    const struct {
        const char* name;
        const char* label;
        const char* value;
        double expected;
    } cases[] = {
        {"qmf4150_up", "", "", 1},
        {"qmf4150_fan_speed_rpm", "fan", "0", row[1].toDouble()},
        {"qmf4150_fan_speed_rpm", "fan", "1", row[2].toDouble()},
        {"qmf4150_temperature_celsius", "sensor", "local", row[3].toDouble()},
        {"qmf4150_temperature_celsius", "sensor", "remote0", row[4].toDouble()},
        {"qmf4150_temperature_celsius", "sensor", "remote1", row[5].toDouble()},
        {"qmf4150_temperature_high_limit_celsius", "sensor", "remote0", 70},
        {"qmf4150_temperature_low_limit_celsius", "sensor", "remote1", 5},
        {"qmf4150_polls_total", "", "", 1},
        {"qmf4150_poll_failures_total", "", "", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sampleValue(m, c.name, c.label, c.value), c.expected)
            << c.name << " " << c.label << "=" << c.value << "\n"
            << m.toStdString();
    }
    for (const char* name : {"qmf4150_ain_raw", "qmf4150_fan_speed_limit_rpm"}) {
        EXPECT_EQ(samples(m, name).size(), 2u) << name;
    }
    // Every sample carries the board, the chip and the medium.
    for (const Sample& s : samples(m, QStringLiteral("qmf4150_temperature_celsius"))) {
        EXPECT_EQ(s.labels.at("board"), "bench 7");
        EXPECT_EQ(s.labels.at("chip"), "5E");
        EXPECT_EQ(s.labels.at("medium"), "printer-port");
    }

    const QString promtool = QStandardPaths::findExecutable(QStringLiteral("promtool"));
    if (promtool.isEmpty()) {
        GTEST_SKIP() << "promtool is not installed (Debian package prometheus)";
    }
    QProcess check;
    check.start(promtool, {QStringLiteral("check"), QStringLiteral("metrics")});
    check.write(m);
    check.closeWriteChannel();
    ASSERT_TRUE(check.waitForFinished(60000));
    EXPECT_EQ(check.exitCode(), 0) << check.readAllStandardOutput().toStdString()
                                   << check.readAllStandardError().toStdString();
    EXPECT_EQ(check.readAll(), QByteArray()) << "promtool's remarks";
}

// The duty of a fan is given only where the registers tell it.
TEST_F(Serve, FanDutyOnlyWhereTheChipTellsIt) {
    const QByteArray noAutomaticControl = "set 0x48 3\nset 0x49 3\nset 0x4A 3\n";
    const struct {
        const char* what;
        QByteArray lines;
        std::optional<double> fan0, fan1;
    } cases[] = {
        {"power-up: automatic fan control", "", std::nullopt, std::nullopt},
        {"normal speed", noAutomaticControl + "set 0x60 0x0A\nset 0x61 0x05\n", 10.0 / 15,
         5.0 / 15},
        {"full speed", noAutomaticControl + "set 0x60 0x0A\nset 0x09 2\n", 10.0 / 15, 1.0},
        {"drive off", noAutomaticControl + "set 0x60 0x0F\nset 0x02 1\n", 1.0, 0.0},
        {"a fan at alarm speed", noAutomaticControl + "set 0x07 1\n", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(path("board.state"));
        prepare(c.lines + "sleep 1\n");
        auto process = serve();
        const QByteArray m = process->get(QStringLiteral("/metrics")).body;
        ASSERT_EQ(sampleValue(m, "qmf4150_up"), 1.0) << m.toStdString();
        const auto duty0 = sampleValue(m, "qmf4150_fan_duty_ratio", "fan", "0");
        const auto duty1 = sampleValue(m, "qmf4150_fan_duty_ratio", "fan", "1");
        ASSERT_EQ(duty0.has_value(), c.fan0.has_value());
        ASSERT_EQ(duty1.has_value(), c.fan1.has_value());
        if (c.fan0) {
            EXPECT_NEAR(*duty0, *c.fan0, 1e-9);
        }
        if (c.fan1) {
            EXPECT_NEAR(*duty1, *c.fan1, 1e-9);
        }
    }
}

TEST_F(Serve, AlarmsFollowTheStatusRegisters) {
    // Remote 1 reads about 28 C: above a high limit of 16, and remote 0 below a low limit of 50.
    prepare("set 0x92 " + hex(16) + "\nset 0x99 " + hex(50) + "\nsleep 1\n");
    auto process = serve();
    const QByteArray m = process->get(QStringLiteral("/metrics")).body;
    const struct {
        const char* kind;
        const char* channel;
        double expected;
    } cases[] = {
        {"temperature_high", "remote1", 1},
        {"temperature_low", "remote1", 0},
        {"temperature_low", "remote0", 1},
        {"temperature_high", "remote0", 0},
        {"temperature_high", "local", 0},
        {"fan_fault", "0", 0},
        {"fan_missing", "1", 0},
    };
    const std::vector<Sample> alarms = samples(m, QStringLiteral("qmf4150_alarm"));
    EXPECT_EQ(alarms.size(), 14u) << m.toStdString();
    for (const auto& c : cases) {
        std::optional<double> value;
        for (const Sample& s : alarms) {
            if (s.labels.at("kind") == c.kind && s.labels.at("channel") == c.channel) {
                value = s.value;
            }
        }
        EXPECT_EQ(value, c.expected) << c.kind << " " << c.channel;
    }
    // The same alarms as events of the run, counted by kind.
    const struct {
        const char* kind;
        double begun;
    } events[] = {{"temperature_high", 1}, {"temperature_low", 1}, {"fan_fault", 0}};
    for (const auto& e : events) {
        EXPECT_EQ(sampleValue(m, "qmf4150_events_total", "kind", e.kind), e.begun) << e.kind;
        EXPECT_EQ(sampleValue(m, "qmf4150_events_active", "kind", e.kind), e.begun) << e.kind;
    }
}

// A chip that does not answer is a metric and a 503, not an exit; the tool keeps trying.
TEST_F(Serve, AChipThatDoesNotAnswerIsUpZeroAndRetried) {
    auto process = std::make_unique<ServeProcess>(
        QStringList{QStringLiteral("--simulate"), QStringLiteral("--address"),
                    QStringLiteral("0x50")},
        QStringList{QStringLiteral("--interval"), QStringLiteral("0.1")}, dir.path());
    ASSERT_TRUE(process->started()) << process->err().toStdString();
    QByteArray m;
    ASSERT_TRUE(waitUntil([&] {
        m = process->get(QStringLiteral("/metrics")).body;
        return sampleValue(m, "qmf4150_poll_failures_total").value_or(0) >= 3;
    })) << m.toStdString();
    EXPECT_EQ(sampleValue(m, "qmf4150_up"), 0.0);
    EXPECT_TRUE(samples(m, QStringLiteral("qmf4150_temperature_celsius")).empty());
    const HttpReply health = process->get(QStringLiteral("/healthz"));
    EXPECT_EQ(health.status, 503);
    EXPECT_TRUE(health.body.contains("the chip does not answer")) << health.body.toStdString();
    EXPECT_EQ(process->stop(), 0);
    // Said once, not at every poll.
    EXPECT_EQ(process->err().count("does not answer"), 1) << process->err().toStdString();
}

// A transfer that fails fails its poll only: the next poll reads the chip again. The bus counters
// count it, and grow by one poll's reads per poll: scrapes add no transfer.
TEST_F(Serve, AFailedTransferIsCountedAndTheNextPollReadsAgain) {
    auto process = std::make_unique<ServeProcess>(
        QStringList{QStringLiteral("--simulate"), QStringLiteral("--sim-fail-transfer"),
                    QStringLiteral("50")},
        QStringList{QStringLiteral("--interval"), QStringLiteral("0.1")}, dir.path());
    ASSERT_TRUE(process->started()) << process->err().toStdString();
    QByteArray first, second;
    ASSERT_TRUE(waitUntil([&] {
        first = process->get(QStringLiteral("/metrics")).body;
        return sampleValue(first, "qmf4150_polls_total").value_or(0) >= 3;
    }));
    ASSERT_TRUE(waitUntil([&] {
        second = process->get(QStringLiteral("/metrics")).body;
        return sampleValue(second, "qmf4150_polls_total").value_or(0) >=
               *sampleValue(first, "qmf4150_polls_total") + 3;
    }));
    const struct {
        const char* name;
        double expected;
    } cases[] = {
        {"qmf4150_up", 1},
        {"qmf4150_poll_failures_total", 1},
        {"qmf4150_bus_transfer_failures_total", 1},
        {"qmf4150_bus_nacks_total", 0},
        {"qmf4150_bus_timeouts_total", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sampleValue(second, c.name), c.expected) << c.name;
    }
    auto delta = [&](const char* name) {
        return *sampleValue(second, name) - *sampleValue(first, name);
    };
    EXPECT_EQ(delta("qmf4150_bus_transfers_total"),
              delta("qmf4150_polls_total") * double(pollAddresses().size()));
    EXPECT_GT(delta("qmf4150_bus_transfer_seconds_total"), 0);
    EXPECT_EQ(process->stop(), 0);
    const QByteArray err = process->err();
    EXPECT_TRUE(err.contains("the chip does not answer")) << err.toStdString();
    EXPECT_TRUE(err.contains("the chip at 5Eh answers again")) << err.toStdString();
}

// Read-only, and ends cleanly on SIGTERM, saving the simulated board on the way out.
TEST_F(Serve, IsReadOnlyServesNothingElseAndEndsCleanlyOnSigterm) {
    auto process = serve();
    EXPECT_EQ(process->get(QStringLiteral("/healthz")).status, 200);
    EXPECT_EQ(process->get(QStringLiteral("/healthz")).body, "ok\n");
    const struct {
        const char* method;
        const char* path;
        int status;
    } cases[] = {
        {"POST", "/metrics", 405},   {"PUT", "/metrics", 405},
        {"DELETE", "/healthz", 405}, {"PATCH", "/", 405},
        {"GET", "/", 404},           {"GET", "/metrics/x", 404},
        {"GET", "/healthz/", 404},   {"GET", "/../etc/passwd", 404},
        {"HEAD", "/healthz", 200},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(httpRequest(process->url(QLatin1String(c.path)), c.method).status, c.status)
            << c.method << " " << c.path;
    }
    EXPECT_EQ(process->stop(), 0);
    EXPECT_EQ(process->err(), QByteArray());
    EXPECT_TRUE(QFile::exists(path("board.state")));
}

TEST_F(Serve, RefusesBadOptionsAndATakenPort) {
    const struct {
        const char* args;
        const char* message;
    } cases[] = {
        {"serve --listen 127.0.0.1", "needs ADDRESS:PORT"},
        {"serve --listen localhost:9464", "\"localhost\" is not an IP address"},
        {"serve --listen ::1:9464", "is not an IP address"},
        {"serve --listen 127.0.0.1:65536", "from 0 to 65535"},
        {"serve --listen 127.0.0.1:9464,8080", "from 0 to 65535"},
        {"serve --listen 127.0.0.1:-1", "from 0 to 65535"},
        {"serve --interval 0", "interval"},
        {"serve --board-name", "Missing value"},
        {"serve extra", "serve"},
    };
    for (const auto& c : cases) {
        expectFailure(sim(QLatin1String(c.args)), 2, QLatin1String(c.message));
    }
    // A batch cannot hold a command that runs until stopped.
    expectFailure(sim(QStringLiteral("batch -"), "serve\n"), 2, QStringLiteral("serve"));

    QTcpServer taken;
    ASSERT_TRUE(taken.listen(QHostAddress::LocalHost));
    expectFailure(sim(QStringLiteral("serve --listen 127.0.0.1:%1").arg(taken.serverPort())), 1,
                  QStringLiteral("cannot listen on 127.0.0.1:%1").arg(taken.serverPort()));
}

} // namespace
} // namespace qmf::cli::test
