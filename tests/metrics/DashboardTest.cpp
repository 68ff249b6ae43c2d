// SPDX-License-Identifier: GPL-3.0-or-later
// The Grafana dashboard asks only for what serve gives: every metric its queries name is served,
// and every label its legends name is a label of that metric.
#include "ServeProcess.h"
#include "ToolProcess.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <set>

namespace qmf::cli::test {
namespace {

using Dashboard = ToolTest;

TEST_F(Dashboard, QueriesNameServedMetricsAndLabels) {
    QFile file(QStringLiteral(QMF_SOURCE_DIR "/docs/packaging/qmf4150-dashboard.json"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QJsonParseError error;
    const QJsonObject dashboard = QJsonDocument::fromJson(file.readAll(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();

    // Fans outside automatic control, so that their duty is served too.
    const ToolResult setup =
        kept(QStringLiteral("batch -"), "set 0x48 3\nset 0x49 3\nset 0x4A 3\nsleep 1\n");
    ASSERT_EQ(setup.exitCode, 0) << setup.err.toStdString();
    ServeProcess serve(
        {QStringLiteral("--simulate"), QStringLiteral("--sim-state"), path("board.state")},
        {QStringLiteral("--interval"), QStringLiteral("3600")}, dir.path());
    ASSERT_TRUE(serve.started()) << serve.err().toStdString();
    const QByteArray metrics = serve.get(QStringLiteral("/metrics")).body;

    static const QRegularExpression metricName(QStringLiteral(R"(\bqmf4150_[a-z_]+)"));
    static const QRegularExpression legendLabel(QStringLiteral(R"(\{\{(\w+)\}\})"));
    int queries = 0;
    for (const QJsonValue panel : dashboard[QStringLiteral("panels")].toArray()) {
        for (const QJsonValue target : panel[QStringLiteral("targets")].toArray()) {
            const QString expr = target[QStringLiteral("expr")].toString();
            const QString legend = target[QStringLiteral("legendFormat")].toString();
            SCOPED_TRACE(expr.toStdString());
            ++queries;
            for (auto m = metricName.globalMatch(expr); m.hasNext();) {
                const QString name = m.next().captured();
                const std::vector<Sample> served = samples(metrics, name);
                ASSERT_FALSE(served.empty()) << name.toStdString() << " is not served";
                for (auto l = legendLabel.globalMatch(legend); l.hasNext();) {
                    const QString label = l.next().captured(1);
                    EXPECT_TRUE(served.front().labels.count(label))
                        << name.toStdString() << " has no label " << label.toStdString();
                }
            }
        }
    }
    EXPECT_GE(queries, 8);
    const QJsonObject board =
        dashboard[QStringLiteral("templating")][QStringLiteral("list")].toArray().at(0).toObject();
    EXPECT_EQ(board[QStringLiteral("name")].toString(), QStringLiteral("board"));
}

} // namespace
} // namespace qmf::cli::test
