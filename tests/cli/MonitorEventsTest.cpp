// SPDX-License-Identifier: GPL-3.0-or-later
// monitor --events on the simulated board.
#include "ToolProcess.h"

#include <QTime>

namespace qmf::cli::test {
namespace {

class MonitorEvents : public ToolTest {};

// monitor --events: heater 1 drives Temp2 over a high limit of 60 C and, switched off, lets it
// cool below. Each alarm line falls between the rows that bracket the crossing.
TEST_F(MonitorEvents, PrintsAlarmLinesAsTheyBeginAndEnd) {
    const ToolResult result =
        sim("batch -", "set 92 3C\nheaters on 1\n"
                       "monitor --count 30 --interval 10 --events\nheaters off 1\n"
                       "monitor --count 60 --interval 10 --events\n");
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    struct Row {
        QTime time;
        int temp2;
    };
    QList<Row> rows;
    QStringList events;
    QList<QTime> eventTimes;
    for (const QString& line : result.outLines()) {
        const QStringList f = line.split(u' ', Qt::SkipEmptyParts);
        if (f.size() == 6 && f[0].size() == 8 && f[0][2] == u':') {
            rows << Row{QTime::fromString(f[0], QStringLiteral("hh:mm:ss")), f[5].toInt()};
        } else if (f.size() > 2 && (f[1] == u"begin" || f[1] == u"end")) {
            eventTimes << QTime::fromString(f[0], QStringLiteral("hh:mm:ss.zzz"));
            events << line.mid(f[0].size() + 1);
        }
    }
    ASSERT_EQ(rows.size(), 90);
    ASSERT_EQ(events, QStringList({"begin Temperature 2 above high limit (61 C > 60 C)",
                                   "end Temperature 2 above high limit (61 C > 60 C)"}));
    const QList<bool> hotAtEvent = {true, false};
    for (int e = 0; e < 2; ++e) {
        const QTime at = eventTimes[e];
        ASSERT_TRUE(at.isValid());
        // The last row before the line and the first row after it (a row and a line at the same
        // moment: the line comes first, from the same reading).
        int after = 0;
        while (after < rows.size() && rows[after].time.msecsTo(at) > 0) {
            ++after;
        }
        ASSERT_GT(after, 0);
        ASSERT_LT(after, rows.size());
        EXPECT_EQ(rows[after - 1].temp2 > 60, !hotAtEvent[e]) << e;
        EXPECT_EQ(rows[after].temp2 > 60, hotAtEvent[e]) << e;
    }
    // No alarm, no line.
    const ToolResult quiet = sim("monitor --count 5 --interval 1 --events");
    EXPECT_EQ(quiet.outLines().size(), 1 + 5);
}

} // namespace
} // namespace qmf::cli::test
