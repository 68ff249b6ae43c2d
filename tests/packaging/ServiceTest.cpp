// SPDX-License-Identifier: GPL-3.0-or-later
// The metrics service as installed: the systemd unit template passes systemd's own check, and its
// command line with the example options serves the board under the instance's name; the Grafana
// dashboard is installed beside it.
#include "PackagingSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace qmf::packaging {
namespace {

const QString Prefix = QStringLiteral(QMF_INSTALL_PREFIX);
const QString DocDir = QStringLiteral(QMF_INSTALL_FULL_DOCDIR);

class Service : public ::testing::TestWithParam<const char*> {
protected:
    QString at(const QString& path) const { return QLatin1String(GetParam()) + path; }
    QString unit() const { return at(Prefix + "/lib/systemd/system/qmf4150ctl-serve@.service"); }
    QString tool() const { return at(Prefix + "/bin/qmf4150ctl"); }
    // The unit with its program where this copy has it.
    QString stagedUnit() const {
        QString text = readText(unit());
        text.replace(QStringLiteral("ExecStart=") + Prefix + "/bin/qmf4150ctl",
                     QStringLiteral("ExecStart=") + tool());
        const QString copy = scratch.filePath(QStringLiteral("qmf4150ctl-serve@.service"));
        QFile file(copy);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
        return copy;
    }
    QTemporaryDir scratch;
};

TEST_P(Service, UnitDashboardAndExampleAreInstalled) {
    EXPECT_TRUE(QFileInfo(unit()).isFile());
    EXPECT_TRUE(QFileInfo(at(DocDir + "/examples/serve.env")).isFile());
    const QString dashboard = at(Prefix + "/share/qmf4150/grafana/qmf4150-dashboard.json");
    const QJsonObject json = QJsonDocument::fromJson(readText(dashboard).toUtf8()).object();
    EXPECT_EQ(json.value(QStringLiteral("uid")).toString(), QStringLiteral("qmf4150-boards"));
    // The unit names the installed documentation and options, no placeholder left.
    const QString text = readText(unit());
    EXPECT_FALSE(text.contains(u'@' + QStringLiteral("QMF"))) << text.toStdString();
    EXPECT_TRUE(text.contains(DocDir + "/metrics.md"));
}

TEST_P(Service, SystemdFindsNoFaultInTheUnit) {
    const Outcome which = run("sh", {"-c", "command -v systemd-analyze"});
    if (which.exitCode != 0) {
        GTEST_SKIP() << "systemd-analyze is not installed";
    }
    const Outcome verify = run("systemd-analyze", {"verify", "--man=no", stagedUnit()});
    EXPECT_EQ(verify.exitCode, 0) << verify.both().toStdString();
    EXPECT_EQ(verify.err, QString()) << "systemd's remarks";
}

// ExecStart as systemd runs it: the example's variables split into words, %i the instance. On the
// simulated board and a free port it serves under the instance's name and ends with 0 on SIGTERM.
TEST_P(Service, ExecStartWithTheExampleOptionsServesTheBoard) {
    const Outcome r =
        bash(QStringLiteral(R"(set -e
set -a; . "$QMF_ENV"; set +a
QMF4150_BOARD_OPTIONS=--simulate
QMF4150_SERVE_OPTIONS=${QMF4150_SERVE_OPTIONS/127.0.0.1:9464/127.0.0.1:0}
line=$(sed -n 's/^ExecStart=//p' "$QMF_UNIT")
line=${line//%i/chamber-2}
eval "timeout --preserve-status -s TERM 3 $line")"),
             {"QMF_ENV=" + at(DocDir + "/examples/serve.env"), "QMF_UNIT=" + stagedUnit()},
             scratch.path());
    EXPECT_EQ(r.exitCode, 0) << r.both().toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("serving http://127.0.0.1:")))
        << r.both().toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("for board \"chamber-2\""))) << r.out.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Packaging, Service, ::testing::Values(QMF_INSTALL_ROOT, QMF_DEB_ROOT),
                         [](const auto& info) {
                             return std::string(info.index == 0 ? "cmake_install" : "deb");
                         });

} // namespace
} // namespace qmf::packaging
