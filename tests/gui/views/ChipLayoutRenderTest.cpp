// SPDX-License-Identifier: GPL-3.0-or-later
// The chip layout view on the simulated board, as the user sees it. Set QMF_RENDER_DIR to keep
// the picture (chiplayout.png) for a look.
#include "gui/support/TestContext.h"
#include "gui/views/ChipLayoutForm.h"
#include "gui/widgets/ToggleIndicator.h"

#include <QDir>
#include <QGroupBox>
#include <gtest/gtest.h>

namespace qmf {
namespace {

TEST(ChipLayoutRender, ShowsTheSimulatedBoardsPins) {
    test::TestContext t;
    auto& chip = t.simBoard()->printerPortChip();
    chip.setGpioInputs(0x05); // GPIO 0 and 2 high
    chip.setFanConnected(1, false);
    t.advanceSeconds(10.0);
    ChipLayoutForm& form = t.windows.show<ChipLayoutForm>(t.ctx);
    form.resize(820, 600);
    form.refreshView();
    const QString dir = qEnvironmentVariable("QMF_RENDER_DIR");
    if (!dir.isEmpty()) {
        ASSERT_TRUE(form.grab().save(QDir(dir).filePath(QStringLiteral("chiplayout.png"))));
    }
    EXPECT_EQ(t.errors.failureCount(), 0) << t.errors.lastError().toStdString();
    auto value = [&](const char* name) {
        return form.findChild<ToggleIndicator*>(QLatin1String(name))->Value();
    };
    EXPECT_EQ(value("GPIO0Toggle"), -1);
    EXPECT_EQ(value("GPIO1Toggle"), 0);
    EXPECT_EQ(value("GPIO2Toggle"), -1);
    EXPECT_EQ(value("Fan0PresentToggle"), -1);
    EXPECT_EQ(value("Fan1PresentToggle"), 0);
}

} // namespace
} // namespace qmf
