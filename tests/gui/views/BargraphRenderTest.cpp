// SPDX-License-Identifier: GPL-3.0-or-later
// The monitor on the simulated board with heater 1 on, as the user sees it. Set QMF_RENDER_DIR to
// keep the pictures (bargraph-fans.png, bargraph-temperatures.png) for a look.
#include "core/text/NumberText.h"
#include "gui/support/TestContext.h"
#include "gui/views/BargraphForm.h"
#include "gui/widgets/RoundGauge.h"

#include <QCheckBox>
#include <QDir>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace qmf {
namespace {

void keep(QWidget& widget, const char* file) {
    const QString dir = qEnvironmentVariable("QMF_RENDER_DIR");
    if (!dir.isEmpty()) {
        ASSERT_TRUE(widget.grab().save(QDir(dir).filePath(QLatin1String(file))));
    }
}

TEST(BargraphRender, ShowsTheSimulatedBoardsReadingsAndLimits) {
    test::TestContext t;
    t.simBoard()->printerPortChip().setHeaters(true, false); // warms TDM 2 (Ext Temp 1)
    t.advanceSeconds(90.0);
    BargraphForm& form = t.windows.show<BargraphForm>(t.ctx);
    form.resize(900, 460);
    QTest::mouseClick(form.findChild<QCheckBox*>(QStringLiteral("BargraphCHK")), Qt::LeftButton);
    form.FanBargraphTimer_Timer();
    form.LimitsTimer_Timer();
    keep(form, "bargraph-fans.png");
    for (const char* name : {"Fan0Gauge", "Fan1Gauge"}) {
        auto* g = form.findChild<RoundGauge*>(QLatin1String(name));
        EXPECT_GT(g->reading(), 0.0) << name;
        EXPECT_LE(g->reading(), 5000.0) << name;
        EXPECT_EQ(g->caption(), text::signedNumber(g->reading()) + QStringLiteral("RPM"));
    }

    form.findChild<QTabWidget*>(QStringLiteral("BargraphTab"))->setCurrentIndex(1);
    form.TempTimer_Timer();
    keep(form, "bargraph-temperatures.png");
    const double local = form.findChild<RoundGauge*>(QStringLiteral("IntTempGauge"))->reading();
    const double heated = form.findChild<RoundGauge*>(QStringLiteral("ExtTemp1Gauge"))->reading();
    EXPECT_GT(heated, local + 5.0);
    EXPECT_EQ(t.errors.failureCount(), 0) << t.errors.lastError().toStdString();
}

} // namespace
} // namespace qmf
