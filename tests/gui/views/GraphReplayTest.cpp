// SPDX-License-Identifier: GPL-3.0-or-later
// "Open Log...": a log of either kind written by the window itself opens in a replay window with
// the same readings and the chart tools; damaged lines are named and skipped; a file that is no
// log opens nothing.
#include "ViewFixture.h"
#include "gui/views/LogReplayWindow.h"

#include <QComboBox>
#include <QTableWidget>
#include <QWheelEvent>

namespace qmf::test {
namespace {

class GraphReplay : public GraphRecording {
protected:
    // Logs `lines` lines a second apart (every tick's temperature 0 rising by one), then stops.
    void writeLog(const QString& path, int lines) {
        child<QLineEdit>("Text1")->setText(QStringLiteral("1"));
        makeLog(path);
        for (int i = 0; i < lines; ++i) {
            chip()[0xA0] = quint8(10 + i);
            ticks(10);
        }
        logBox()->click();
    }
    LogReplayWindow* open(const QString& path) {
        t.dialogs.fileAnswers.append(path);
        child<QPushButton>("OpenLogCMD")->click();
        EXPECT_EQ(t.dialogs.fileRequests.constLast().mode, UserDialogs::FileMode::Open);
        return view().findChild<LogReplayWindow*>();
    }
};

TEST_F(GraphReplay, BothKindsOfLogReplayTheReadingsTheyHold) {
    for (const char* name : {"run.csv", "run.xls"}) {
        SCOPED_TRACE(name);
        writeLog(logPath(name), 30);
        LogReplayWindow* replay = open(logPath(name));
        ASSERT_NE(replay, nullptr);
        EXPECT_TRUE(replay->isVisible());
        EXPECT_EQ(replay->windowTitle(), QStringLiteral("Log Replay - ") + QLatin1String(name));
        StripChart* c = replay->chart();
        // Temperature 0 rose by one each line: its trace is the 30 readings, a second apart.
        const auto data = c->graph(2)->data();
        ASSERT_EQ(data->size(), 30);
        for (int i = 0; i < 30; ++i) {
            EXPECT_EQ((data->constBegin() + i)->value, 10 + i);
        }
        EXPECT_DOUBLE_EQ((data->constEnd() - 1)->key - data->constBegin()->key, 29.0);
        EXPECT_EQ(c->pointCount(0), 2) << "a level run is kept as its two ends";
        EXPECT_EQ(c->graph(3)->data()->constBegin()->value, -55);
        // Read-only, shown whole; the tools work as in the live chart.
        EXPECT_EQ(replay->findChild<QComboBox*>(QStringLiteral("ChartSpanCBO"))->currentText(),
                  QStringLiteral("All kept"));
        EXPECT_FALSE(replay->findChild<QPushButton*>(QStringLiteral("LiveCMD"))->isVisible());
        EXPECT_EQ(c->xAxis->range(), QCPRange(data->constBegin()->key, c->latestKey()));
        c->replot();
        const auto* table = replay->findChild<QTableWidget*>(QStringLiteral("ChartStatsTBL"));
        EXPECT_EQ(table->item(2, 1)->text(), QStringLiteral("10"));
        EXPECT_EQ(table->item(2, 2)->text(), QStringLiteral("39"));
        const QPoint middle = c->axisRect()->rect().center();
        QWheelEvent zoom(middle, c->mapToGlobal(middle), QPoint(), QPoint(0, 240), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(c, &zoom);
        EXPECT_LT(c->xAxis->range().size(), 29.0 * 0.9);
        EXPECT_EQ(t.dialogs.messages.size(), 0);
        keepPicture(*replay, "log-replay.png");
        replay->close(); // deletes itself
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(view().findChild<LogReplayWindow*>(), nullptr);
    }
}

TEST_F(GraphReplay, DamagedLinesAreNamedAndTheRestIsShown) {
    writeLog(logPath("run.csv"), 5);
    QByteArray damaged = bytes(logPath("run.csv"));
    const qsizetype header = damaged.indexOf("time,");
    const int headerLine = int(damaged.left(header).count('\n')) + 1;
    damaged.insert(damaged.indexOf('\n', header) + 1, "not,a,line\n");
    damaged.append("2026-01-05T12:00:09.100+00:00,1,2,x,4,5\n");
    QFile file(logPath("damaged.csv"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(damaged) == damaged.size());
    file.close();
    LogReplayWindow* replay = open(logPath("damaged.csv"));
    ASSERT_NE(replay, nullptr);
    EXPECT_EQ(replay->chart()->graph(2)->data()->size(), 5);
    ASSERT_EQ(t.dialogs.messages.size(), 1);
    const FakeDialogs::Message& m = t.dialogs.messages[0];
    EXPECT_EQ(m.title, QStringLiteral("Open Log"));
    EXPECT_TRUE(m.text.startsWith(QStringLiteral("2 damaged lines of "))) << m.text.toStdString();
    const QStringList details = m.details.split(u'\n');
    ASSERT_EQ(details.size(), 2);
    EXPECT_TRUE(details[0].startsWith(QStringLiteral("line %1: ").arg(headerLine + 1)));
    EXPECT_TRUE(details[1].startsWith(QStringLiteral("line %1: ").arg(headerLine + 7)));
    EXPECT_TRUE(replay->findChild<QLabel*>(QStringLiteral("ReplayInfoLBL"))
                    ->text()
                    .endsWith(QStringLiteral("5 readings, 2 damaged lines skipped")));
}

TEST_F(GraphReplay, AFileThatIsNoLogOpensNothing) {
    QFile other(logPath("notes.csv"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly) && other.write("hello\n") == 6);
    other.close();
    const struct {
        QString path;
        const char* reason;
    } cases[] = {{logPath("notes.csv"), "line 1 is not the header"},
                 {logPath("gone.xls"), "there is no such file"},
                 {dir.path(), ""}};
    int messages = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        EXPECT_EQ(open(c.path), nullptr);
        ASSERT_EQ(t.dialogs.messages.size(), ++messages);
        const FakeDialogs::Message& m = t.dialogs.messages.constLast();
        EXPECT_EQ(m.icon, UserDialogs::Icon::Exclamation);
        EXPECT_TRUE(m.text.startsWith(
            QStringLiteral("The file could not be opened as a measurement log: ")));
        EXPECT_TRUE(m.text.contains(QLatin1String(c.reason))) << m.text.toStdString();
        EXPECT_EQ(m.informativeText, QDir::toNativeSeparators(c.path));
    }
    open(QString()); // cancelled: nothing at all
    EXPECT_EQ(t.dialogs.messages.size(), messages);
    EXPECT_EQ(t.errors.failureCount(), 0);
}

} // namespace
} // namespace qmf::test
