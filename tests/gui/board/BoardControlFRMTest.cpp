// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/board/BoardControlFRM.h"

#include "gui/support/TestContext.h"

#include <QCheckBox>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace qmf::test {
namespace {

class BoardControlTest : public ::testing::Test {
protected:
    ~BoardControlTest() override { t.windows.destroyAll(); }

    BoardControlFRM& open() {
        BoardControlFRM& window = t.windows.show<BoardControlFRM>(t.ctx);
        window_ = &window;
        return window;
    }
    QCheckBox* box(const char* name) {
        auto* found = window_->findChild<QCheckBox*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QLabel* label(const char* name) { return window_->findChild<QLabel*>(QLatin1String(name)); }
    // The board-output operations sent since the last call, in order.
    QStringList outputsSent() {
        QStringList sent;
        for (const QString& line : std::as_const(t.recording()->log)) {
            if (line.startsWith(QLatin1String("AuxOutputs"))) {
                sent << line;
            }
        }
        t.recording()->clearLog();
        return sent;
    }
    static QStringList both(int byte) {
        return {QStringLiteral("AuxOutputsPrepare=%1").arg(byte),
                QStringLiteral("AuxOutputs=%1").arg(byte)};
    }

    TestContext t{TestContext::Recording};
    QPointer<BoardControlFRM> window_;
};

TEST_F(BoardControlTest, ShowsItsTextsAndTheWarningOnThePrinterPortPath) {
    open();
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("Board Control"));
    EXPECT_EQ(box("Heater1CHK")->text(), QStringLiteral("Heater  for Q2 (TDM2)"));
    EXPECT_EQ(box("Heater2CHK")->text(), QStringLiteral("Heater  for Q1 (TDM1)"));
    QLabel* warning = label("WarningLBL");
    ASSERT_NE(warning, nullptr);
    EXPECT_EQ(warning->text(),
              QStringLiteral("Warning: Switching on heaters can cause the evaluation board to get "
                             "hot, especially R25,R19.Q1 and Q2 creating a burn hazzard."));
    EXPECT_TRUE(warning->isVisible());
    EXPECT_TRUE(warning->font().bold());
    EXPECT_EQ(warning->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_FALSE(label("StatusLBL")->isVisible());
    EXPECT_FALSE(box("Heater1CHK")->isChecked());
    EXPECT_FALSE(box("Heater2CHK")->isChecked());
    EXPECT_TRUE(outputsSent().isEmpty()) << "opening the window sends nothing";
}

TEST_F(BoardControlTest, EachClickPreparesThenSetsTheOutputsOfBothBoxes) {
    open();
    const struct {
        const char* box;
        bool byKeyboard;
        int byte;
    } steps[] = {
        {"Heater1CHK", false, 16}, // heater 1 on: bit 4
        {"Heater2CHK", true, 48},  // both on
        {"Heater1CHK", false, 32}, // heater 1 off: bit 5 stays
        {"Heater2CHK", true, 0},   // all off
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.box);
        if (step.byKeyboard) {
            box(step.box)->setFocus();
            QTest::keyClick(box(step.box), Qt::Key_Space);
        } else {
            QTest::mouseClick(box(step.box), Qt::LeftButton);
        }
        EXPECT_EQ(outputsSent(), both(step.byte));
        EXPECT_EQ(t.recording()->auxOutputs(), step.byte);
    }
    EXPECT_TRUE(t.recording()->transfers().isEmpty()) << "no chip register is touched";
}

TEST_F(BoardControlTest, WithoutTheEvaluationBoardTheHeatersCannotBeUsed) {
    t.state.CommsMedium = 0;
    open();
    EXPECT_FALSE(box("Heater1CHK")->isEnabled());
    EXPECT_FALSE(box("Heater2CHK")->isEnabled());
    ASSERT_NE(label("StatusLBL"), nullptr);
    EXPECT_TRUE(label("StatusLBL")->isVisible());
    EXPECT_EQ(label("StatusLBL")->text(),
              QStringLiteral("Sorry, heaters cannot be enabled when the eval baord is not used."));
    EXPECT_FALSE(label("WarningLBL")->isVisible());
    QTest::mouseClick(box("Heater1CHK"), Qt::LeftButton);
    QTest::keyClick(box("Heater2CHK"), Qt::Key_Space);
    EXPECT_TRUE(outputsSent().isEmpty());
}

TEST_F(BoardControlTest, ReopeningStartsUncheckedAndSendsOnlyWhatIsCheckedThen) {
    open();
    QTest::mouseClick(box("Heater1CHK"), Qt::LeftButton);
    EXPECT_EQ(outputsSent(), both(16));
    window_->parentWidget() ? window_->parentWidget()->close() : window_->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(window_.isNull());

    open();
    EXPECT_FALSE(box("Heater1CHK")->isChecked());
    EXPECT_FALSE(box("Heater2CHK")->isChecked());
    QTest::mouseClick(box("Heater2CHK"), Qt::LeftButton);
    EXPECT_EQ(outputsSent(), both(32));
}

TEST_F(BoardControlTest, AFailedTransferIsReportedAndTheBoxShowsTheOldState) {
    open();
    for (const char* failing : {"AuxOutputsPrepare", "AuxOutputs="}) {
        SCOPED_TRACE(failing);
        const auto before = t.dialogs.messages.size();
        t.recording()->failNext(1, QLatin1String(failing));
        QTest::mouseClick(box("Heater1CHK"), Qt::LeftButton);
        ASSERT_EQ(t.dialogs.messages.size(), before + 1);
        EXPECT_TRUE(t.dialogs.messages.last().text.contains(QStringLiteral("injected failure")));
        EXPECT_FALSE(box("Heater1CHK")->isChecked());
        outputsSent();
    }
    // The window goes on working.
    QTest::mouseClick(box("Heater1CHK"), Qt::LeftButton);
    EXPECT_EQ(outputsSent(), both(16));
    EXPECT_TRUE(box("Heater1CHK")->isChecked());
}

} // namespace
} // namespace qmf::test
