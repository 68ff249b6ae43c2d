// SPDX-License-Identifier: GPL-3.0-or-later
// Looking at the graph window's charts: wheel zoom and drag pan on the time axis with the live
// view paused and resumed, the span choice, the cursor, traces shown and hidden from the legend,
// the table of the shown span, and Save Chart.
#include "ViewFixture.h"
#include "gui/views/ChartCursor.h"

#include <QComboBox>
#include <QMouseEvent>
#include <QTableWidget>
#include <QWheelEvent>

namespace qmf::test {
namespace {

class GraphChart : public GraphRecording {
protected:
    GraphChart() {
        view().resize(1200, 700);
        QCoreApplication::processEvents();
    }
    StripChart* ain() { return child<StripChart>("AINAndGPIO"); }
    QPushButton* live() { return child<QPushButton>("LiveCMD"); }
    QComboBox* span() { return child<QComboBox>("ChartSpanCBO"); }
    QTableWidget* table() { return child<QTableWidget>("ChartStatsTBL"); }
    QPoint middle() {
        chart()->replot();
        return chart()->axisRect()->rect().center();
    }
    void send(QWidget* to, QEvent::Type type, QPoint at, Qt::MouseButtons buttons,
              Qt::MouseButton button = Qt::NoButton) {
        QMouseEvent event(type, at, to->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(to, &event);
    }
    void wheel(QPoint at, int notches) {
        QWheelEvent event(at, chart()->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(chart(), &event);
    }
    void drag(QPoint from, QPoint to) {
        send(chart(), QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        send(chart(), QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
        send(chart(), QEvent::MouseMove, to, Qt::LeftButton);
        send(chart(), QEvent::MouseButtonRelease, to, Qt::NoButton, Qt::LeftButton);
    }
    QCPRange range() { return chart()->xAxis->range(); }
};

// Zooming in (wheel) and panning back (drag) stop the scrolling while readings keep coming; the
// charts keep one time scale; Live follows the newest readings again with the chosen span.
TEST_F(GraphChart, WheelZoomAndDragPanPauseTheLiveViewUntilLive) {
    ticks(600); // a minute
    EXPECT_FALSE(live()->isEnabled());
    const double newest = chart()->latestKey();
    const struct {
        const char* what;
        std::function<void()> act;
        bool smaller, earlier;
    } cases[] = {
        {"wheel forward zooms in", [&] { wheel(middle(), 2); }, true, false},
        {"wheel back zooms out", [&] { wheel(middle(), -1); }, false, false},
        {"dragging right looks back", [&] { drag(middle(), middle() + QPoint(200, 0)); }, false,
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QCPRange before = range();
        c.act();
        EXPECT_FALSE(chart()->following());
        EXPECT_TRUE(live()->isEnabled());
        if (c.smaller) {
            EXPECT_LT(range().size(), before.size() * 0.9);
        } else if (c.earlier) {
            EXPECT_NEAR(range().size(), before.size(), 1e-6);
            EXPECT_LT(range().upper, before.upper - before.size() / 10);
        } else {
            EXPECT_GT(range().size(), before.size() * 1.1);
        }
        EXPECT_EQ(ain()->xAxis->range(), range()) << "one time scale";
        const QCPRange looked = range();
        ticks(50);
        EXPECT_EQ(range(), looked) << "new readings do not move what the user looks at";
        EXPECT_EQ(ain()->xAxis->range(), looked);
    }
    live()->click();
    EXPECT_TRUE(chart()->following());
    EXPECT_FALSE(live()->isEnabled());
    EXPECT_GT(chart()->latestKey(), newest);
    EXPECT_EQ(range(), QCPRange(chart()->latestKey() - 300.0, chart()->latestKey()));
    ticks();
    EXPECT_EQ(range().upper, chart()->latestKey()) << "scrolling again";
    EXPECT_EQ(ain()->xAxis->range(), range());
}

TEST_F(GraphChart, TheSpanChoiceSetsWhatTheTimeAxisShows) {
    ticks(20);
    const double first = chart()->graph(0)->data()->constBegin()->key;
    ticks(40000); // over an hour
    const double newest = chart()->latestKey();
    EXPECT_EQ(span()->currentText(), QStringLiteral("5 min"));
    const struct {
        const char* name;
        double lower;
    } cases[] = {{"1 min", newest - 60},
                 {"10 min", newest - 600},
                 {"1 h", newest - 3600},
                 {"All kept", first - 2.0},
                 {"5 min", newest - 300}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        span()->setCurrentText(QLatin1String(c.name));
        EXPECT_DOUBLE_EQ(range().upper, newest);
        // All kept begins at the oldest point kept: the first reading, or the start of its run.
        EXPECT_NEAR(range().lower, c.lower, c.lower < first ? 2.0 : 1e-6);
        EXPECT_EQ(ain()->xAxis->range(), range());
    }
    // Looking back, a span keeps the right edge where the user left it.
    drag(middle(), middle() + QPoint(300, 0));
    const double right = range().upper;
    span()->setCurrentText(QStringLiteral("1 min"));
    EXPECT_EQ(range(), QCPRange(right - 60, right));
}

// The cursor names the time under the mouse and each shown trace's value there; a trace clicked
// in the legend hides (and leaves the cursor, the axes' fit and, greyed, the table) and comes
// back with a second click.
TEST_F(GraphChart, CursorReadsTheTracesAndTheLegendHidesThem) {
    ticks(100);
    const QPoint at(int(chart()->xAxis->coordToPixel(chart()->latestKey() - 5.0)), middle().y());
    send(chart(), QEvent::MouseMove, at, Qt::NoButton);
    auto* cursor = view().findChild<ChartCursor*>();
    ASSERT_NE(cursor, nullptr);
    const QDateTime time =
        QDateTime::fromMSecsSinceEpoch(qint64(chart()->xAxis->pixelToCoord(at.x()) * 1000.0));
    const QString text = cursor->text();
    EXPECT_TRUE(text.startsWith(time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))))
        << text.toStdString();
    for (const char* line :
         {"Speed Fan 0: 2014.0 RPM", "Speed Fan 1: 2507.0 RPM", "Internal Temperature: 31.0 °C",
          "External Temperature 0: -55.0 °C", "External Temperature 1: 0.0 °C"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(line))) << line;
    }
    EXPECT_TRUE(cursor->isShown());
    keepPicture(view(), "graph-cursor.png");
    send(chart(), QEvent::MouseMove, middle() - QPoint(0, 1000), Qt::NoButton);
    EXPECT_FALSE(cursor->isShown()) << "off the plot";
    send(chart(), QEvent::MouseMove, at, Qt::NoButton);

    // A click on the legend entry of "External Temperature 0".
    chart()->replot();
    QCPAbstractLegendItem* entry = chart()->legend->itemWithPlottable(chart()->graph(3));
    const QPoint onEntry = entry->rect().center();
    send(chart(), QEvent::MouseButtonPress, onEntry, Qt::LeftButton, Qt::LeftButton);
    send(chart(), QEvent::MouseButtonRelease, onEntry, Qt::NoButton, Qt::LeftButton);
    EXPECT_FALSE(chart()->traceVisible(3));
    EXPECT_FALSE(cursor->text().contains(QStringLiteral("External Temperature 0")));
    chart()->replot();
    EXPECT_GT(chart()->yAxis2->range().lower, -55.0) << "the hidden trace leaves the fit";
    EXPECT_NE(table()->item(3, 0)->foreground().color(), table()->item(2, 0)->foreground().color());
    send(chart(), QEvent::MouseButtonPress, onEntry, Qt::LeftButton, Qt::LeftButton);
    send(chart(), QEvent::MouseButtonRelease, onEntry, Qt::NoButton, Qt::LeftButton);
    EXPECT_TRUE(chart()->traceVisible(3));
    chart()->replot();
    EXPECT_LE(chart()->yAxis2->range().lower, -55.0);

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(chart(), &leave);
    EXPECT_FALSE(cursor->isShown());
    EXPECT_EQ(cursor->text(), QString());
}

// The table: each trace's current, lowest, highest and time-weighted mean over the shown span.
TEST_F(GraphChart, TheTableSumsUpTheShownSpan) {
    chip()[0xA0] = 20;
    ticks(100); // 10 s at 20 C
    chip()[0xA0] = 40;
    ticks(300); // 30 s at 40 C
    chip()[0xA0] = 30;
    ticks(1);
    chart()->replot();
    const auto row = [&](int trace) {
        QStringList cells;
        for (int column = 0; column < 4; ++column) {
            cells << table()->item(trace, column)->text();
        }
        return cells.join(u' ');
    };
    EXPECT_EQ(row(0), QStringLiteral("2014 2014 2014 2014.0"));
    // Ramps between readings count as the line is drawn: 10 s at 20, 30 s at 40, 0.1 s at 30.
    const double mean = (20 * 9.9 + 30 * 0.1 + 40 * 29.9 + 35 * 0.1) / 40.0;
    EXPECT_EQ(row(2), QStringLiteral("30 20 40 %1").arg(mean, 0, 'f', 1));
    // Zoomed to the last 20 s: only the 40 C run and the step to 30.
    chart()->setFollowing(false);
    chart()->xAxis->setRange(chart()->latestKey() - 20.0, chart()->latestKey());
    chart()->replot();
    EXPECT_EQ(row(2).section(u' ', 0, 2), QStringLiteral("30 30 40"));
    // Inside level runs, whose kept ends both lie outside the span: the lines drawn across it.
    chart()->xAxis->setRange(chart()->latestKey() - 30.0, chart()->latestKey() - 25.0);
    chart()->replot();
    EXPECT_EQ(row(0), QStringLiteral("2014 2014 2014 2014.0"));
    EXPECT_EQ(row(2), QStringLiteral("40 40 40 40.0"));
    EXPECT_LE(chart()->yAxis2->range().lower, -55.0) << "the lines across the span are in the fit";
    chart()->xAxis->setRange(chart()->latestKey() + 10.0, chart()->latestKey() + 20.0);
    chart()->replot();
    EXPECT_EQ(row(2), QStringLiteral("- - - -")) << "nothing in the span";
}

TEST_F(GraphChart, SaveChartWritesPngOrPdfAndRefusesOtherNames) {
    ticks(50);
    const struct {
        const char* name;
        QByteArray magic; // empty: refused
    } cases[] = {{"chart.png", "\x89PNG"},
                 {"chart.PDF", "%PDF"},
                 {"chart.jpg", ""},
                 {"missing/chart.png", ""}};
    int messages = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        t.dialogs.fileAnswers.append(logPath(c.name));
        child<QPushButton>("SaveChartCMD")->click();
        EXPECT_EQ(t.dialogs.fileRequests.constLast().filter,
                  QStringLiteral("PNG Images (*.png);;PDF Files (*.pdf)"));
        if (c.magic.isEmpty()) {
            EXPECT_FALSE(QFile::exists(logPath(c.name)));
            ASSERT_EQ(t.dialogs.messages.size(), ++messages);
            EXPECT_EQ(t.dialogs.messages.constLast().title, QStringLiteral("Save Chart"));
            EXPECT_TRUE(t.dialogs.messages.constLast().text.startsWith(
                QStringLiteral("The chart could not be saved: ")));
        } else {
            EXPECT_TRUE(bytes(logPath(c.name)).startsWith(c.magic));
            EXPECT_EQ(t.dialogs.messages.size(), messages);
        }
    }
    const QImage image = QImage::fromData(bytes(logPath("chart.png")), "PNG");
    EXPECT_EQ(image.size(), chart()->size());
    EXPECT_EQ(t.errors.failureCount(), 0);
}

} // namespace
} // namespace qmf::test
