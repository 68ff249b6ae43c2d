// SPDX-License-Identifier: GPL-3.0-or-later
// A real Prometheus server scrapes qmf4150ctl serve on the simulated board every second; its query
// API must give back the chip's temperatures and fan speeds, a heated diode included.
#include "ServeProcess.h"
#include "ToolProcess.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QUrlQuery>
#include <algorithm>

namespace qmf::cli::test {
namespace {

int freePort() {
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost) ? probe.serverPort() : 0;
}

// A Prometheus server in its own scratch directory, scraping one target every second.
class PrometheusServer {
public:
    PrometheusServer(const QString& binary, const QString& dir, int targetPort) {
        QFile config(dir + QStringLiteral("/prometheus.yml"));
        EXPECT_TRUE(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral("global:\n  scrape_interval: 1s\n  scrape_timeout: 1s\n"
                                    "scrape_configs:\n  - job_name: qmf4150\n    static_configs:\n"
                                    "      - targets: ['127.0.0.1:%1']\n")
                         .arg(targetPort)
                         .toUtf8());
        config.close();
        // The port is free when chosen but may be taken before the server binds it: try again.
        for (int attempt = 0; attempt < 3 && port_ == 0; ++attempt) {
            const int port = freePort();
            process_.setProcessChannelMode(QProcess::MergedChannels);
            process_.start(binary,
                           {QStringLiteral("--config.file=") + config.fileName(),
                            QStringLiteral("--storage.tsdb.path=") + dir + QStringLiteral("/data"),
                            QStringLiteral("--web.listen-address=127.0.0.1:%1").arg(port),
                            QStringLiteral("--log.level=warn")});
            port_ = port;
            const bool ready = waitUntil([&] {
                if (process_.state() == QProcess::NotRunning) {
                    return true;
                }
                return httpRequest(url(QStringLiteral("/-/ready"))).status == 200;
            });
            if (!ready || process_.state() == QProcess::NotRunning) {
                log_ += process_.readAll();
                process_.kill();
                process_.waitForFinished();
                port_ = 0;
            }
        }
    }
    ~PrometheusServer() {
        process_.terminate();
        if (!process_.waitForFinished(30000)) {
            process_.kill();
            process_.waitForFinished();
        }
    }
    bool ready() const { return port_ != 0; }
    QByteArray log() { return log_ + process_.readAll(); }

    // The instant vector of `query`: the labels of each series and its value.
    std::vector<Sample> query(const QString& query) const {
        QUrl u = url(QStringLiteral("/api/v1/query"));
        QUrlQuery q;
        q.addQueryItem(QStringLiteral("query"), query);
        u.setQuery(q);
        const HttpReply reply = httpRequest(u);
        std::vector<Sample> result;
        const QJsonObject answer = QJsonDocument::fromJson(reply.body).object();
        for (const QJsonValue series :
             answer[QStringLiteral("data")][QStringLiteral("result")].toArray()) {
            Sample s;
            const QJsonObject metric = series[QStringLiteral("metric")].toObject();
            for (auto it = metric.begin(); it != metric.end(); ++it) {
                s.labels[it.key()] = it.value().toString();
            }
            s.value = series[QStringLiteral("value")].toArray().at(1).toString().toDouble();
            result.push_back(s);
        }
        return result;
    }

private:
    QUrl url(const QString& path) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path));
    }
    QProcess process_;
    int port_ = 0;
    QByteArray log_;
};

// The monitor's row of the kept board: Fan0 Fan1 Temp0 Temp1 Temp2.
std::vector<double> monitorRow(const QString& state) {
    const ToolResult r = sim(QStringLiteral("--sim-state ") + state + " monitor --count 1");
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    std::vector<double> row;
    const QStringList lines = r.outLines();
    for (const QString& word : words(lines.value(1)).mid(1)) {
        row.push_back(word.toDouble());
    }
    EXPECT_EQ(row.size(), 5u);
    row.resize(5);
    return row;
}

using PrometheusScrape = ToolTest;

TEST_F(PrometheusScrape, QueriesGiveTheSimulatedChipsSeriesWithTheHeaterOn) {
    const QString prometheus = QStandardPaths::findExecutable(QStringLiteral("prometheus"));
    if (prometheus.isEmpty()) {
        GTEST_SKIP() << "no Prometheus binary on PATH (Debian package prometheus): the "
                        "end-to-end scrape was not tried";
    }
    const QString state = path("board.state");
    // Heater 1 warms the second remote diode for two simulated minutes; the end of the batch
    // switches it off, and the diode cools slowly while serve runs.
    ToolResult batch =
        sim(QStringLiteral("--sim-state ") + state + " batch -", "heaters on 1\nsleep 120\n");
    ASSERT_EQ(batch.exitCode, 0) << batch.err.toStdString();
    const std::vector<double> before = monitorRow(state);

    auto serve = std::make_unique<ServeProcess>(
        QStringList{QStringLiteral("--simulate"), QStringLiteral("--sim-state"), state},
        QStringList{QStringLiteral("--interval"), QStringLiteral("1"),
                    QStringLiteral("--board-name"), QStringLiteral("e2e")},
        dir.path());
    ASSERT_TRUE(serve->started()) << serve->err().toStdString();
    QDir(dir.path()).mkdir(QStringLiteral("prometheus"));
    PrometheusServer server(prometheus, path("prometheus"), serve->port());
    ASSERT_TRUE(server.ready()) << server.log().toStdString();

    std::vector<Sample> scrapes;
    ASSERT_TRUE(waitUntil([&] {
        scrapes = server.query(QStringLiteral("count_over_time(qmf4150_up{board=\"e2e\"}[5m])"));
        return scrapes.size() == 1 && scrapes[0].value >= 2;
    })) << server.log().toStdString();
    const std::vector<Sample> temperatures =
        server.query(QStringLiteral("qmf4150_temperature_celsius{board=\"e2e\"}"));
    const std::vector<Sample> fans =
        server.query(QStringLiteral("qmf4150_fan_speed_rpm{board=\"e2e\"}"));
    const std::vector<Sample> up = server.query(QStringLiteral("up{job=\"qmf4150\"}"));
    ASSERT_EQ(serve->stop(), 0) << serve->err().toStdString();
    const std::vector<double> after = monitorRow(state);

    ASSERT_EQ(up.size(), 1u);
    EXPECT_EQ(up[0].value, 1) << "Prometheus scraped the target without an error";
    // Each series lies between the chip's readings before and after serve ran (the heated diode
    // only cools, the rest stands still); whole degrees may flicker by one.
    const struct {
        const std::vector<Sample>& series;
        const char* label;
        const char* value;
        int column;
        double tolerance;
    } cases[] = {
        {fans, "fan", "0", 0, 0},
        {fans, "fan", "1", 1, 0},
        {temperatures, "sensor", "local", 2, 1},
        {temperatures, "sensor", "remote0", 3, 1},
        {temperatures, "sensor", "remote1", 4, 1},
    };
    std::map<QString, double> seen;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.label) + "=" + c.value);
        const auto it = std::find_if(c.series.begin(), c.series.end(), [&](const Sample& s) {
            return s.labels.count(c.label) && s.labels.at(c.label) == c.value;
        });
        ASSERT_NE(it, c.series.end());
        EXPECT_EQ(it->labels.at("chip"), "5E");
        EXPECT_EQ(it->labels.at("medium"), "printer-port");
        const double low = std::min(before[c.column], after[c.column]) - c.tolerance;
        const double high = std::max(before[c.column], after[c.column]) + c.tolerance;
        EXPECT_GE(it->value, low);
        EXPECT_LE(it->value, high);
        seen[c.value] = it->value;
    }
    EXPECT_GE(seen["remote1"], seen["remote0"] + 20) << "the heated diode shows in the series";
}

} // namespace
} // namespace qmf::cli::test
