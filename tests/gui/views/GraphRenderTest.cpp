// SPDX-License-Identifier: GPL-3.0-or-later
// The graph window after four minutes on the simulated board with heater 1 on, as the user sees
// it. Set QMF_RENDER_DIR to keep the picture (graph-window.png) for a look.
#include "GraphFixture.h"

#include <QImage>

namespace qmf::test {
namespace {

using GraphRender = GraphFixture;

// Pixels of this colour (give or take antialiasing) inside the rectangle.
int pixelsNear(const QImage& image, const QRect& area, const QColor& colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) < 24 &&
                std::abs(c.green() - colour.green()) < 24 &&
                std::abs(c.blue() - colour.blue()) < 24) {
                ++count;
            }
        }
    }
    return count;
}

TEST_F(GraphRender, FourMinutesWithTheHeaterOnShowEveryTraceAndTheRise) {
    t.simBoard()->printerPortChip().setHeaters(true, false); // warms TDM 2: External Temperature 1
    GraphFRM& form = t.windows.show<GraphFRM>(t.ctx);
    form.resize(1000, 660);
    graphsBox()->click();
    ticks(10);
    const double start = lastValue(4);
    ticks(2390);
    const double end = lastValue(4);
    EXPECT_GT(end, start + 20.0) << "the heated diode warms up";
    EXPECT_LT(std::abs(lastValue(2) - lastValue(3)), 10.0) << "the unheated ones stay together";

    QCoreApplication::processEvents(); // the queued layouts, as the event loop runs them
    // What the charts' refresh timers do within half a second.
    chart()->replot();
    child<StripChart>("AINAndGPIO")->replot();
    const QImage image = form.grab().toImage();
    const QString dir = qEnvironmentVariable("QMF_RENDER_DIR");
    if (!dir.isEmpty()) {
        ASSERT_TRUE(image.save(QDir(dir).filePath(QStringLiteral("graph-window.png"))));
    }
    // Every trace is drawn inside the plot area (the legend sits outside it).
    const QRect plot = chart()->axisRect()->rect().translated(chart()->mapTo(&form, QPoint(0, 0)));
    for (int trace = 0; trace < 5; ++trace) {
        EXPECT_GT(pixelsNear(image, plot, chart()->traceStyle(trace).color), 40)
            << chart()->traceName(trace).toStdString();
    }
    EXPECT_EQ(t.errors.failureCount(), 0) << t.errors.lastError().toStdString();
}

} // namespace
} // namespace qmf::test
