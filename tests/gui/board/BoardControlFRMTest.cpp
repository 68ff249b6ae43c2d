// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/board/BoardControlFRM.h"

#include "core/link/BoardLink.h"
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

    void open() { window_ = &t.windows.show<BoardControlFRM>(t.ctx); }
    template <class T = QCheckBox> T* child(const char* name) {
        auto* found = window_->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void click(const char* box) { QTest::mouseClick(child(box), Qt::LeftButton); }
    // The board-output operations sent since the last call, in order.
    QString sent() {
        const QString lines = t.recording()->log.filter(QStringLiteral("AuxOutputs")).join(u' ');
        t.recording()->clearLog();
        return lines;
    }

    TestContext t{TestContext::Recording};
    QPointer<BoardControlFRM> window_;
};

TEST_F(BoardControlTest, TheHeatersCanBeUsedOnlyOnThePrinterPortPath) {
    const struct {
        int commsMedium;
        const char* text; // of the one label on view
    } cases[] = {
        {0, "Sorry, heaters cannot be enabled when the eval baord is not used."},
        {1, "Warning: Switching on heaters can cause the evaluation board to get hot, especially "
            "R25,R19.Q1 and Q2 creating a burn hazzard."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.commsMedium);
        t.state.CommsMedium = qint16(c.commsMedium);
        open();
        EXPECT_EQ(child("Heater1CHK")->text(), QStringLiteral("Heater  for Q2 (TDM2)"));
        EXPECT_EQ(child("Heater2CHK")->text(), QStringLiteral("Heater  for Q1 (TDM1)"));
        QStringList shown;
        for (const char* name : {"WarningLBL", "StatusLBL"}) {
            if (child<QLabel>(name)->isVisible()) {
                shown << child<QLabel>(name)->text();
            }
        }
        EXPECT_EQ(shown, QStringList{QLatin1String(c.text)});
        for (const char* box : {"Heater1CHK", "Heater2CHK"}) {
            EXPECT_FALSE(child(box)->isChecked());
            EXPECT_EQ(child(box)->isEnabled(), c.commsMedium != 0);
            click(box);
        }
        EXPECT_EQ(sent().isEmpty(), c.commsMedium == 0) << "nothing is sent without the board";
        t.windows.destroyAll();
    }
}

TEST_F(BoardControlTest, EachClickPreparesThenSetsBothBitsAndClosingLeavesTheHeatersOn) {
    open();
    const struct {
        const char* box;
        int byte;
    } steps[] = {
        {"Heater1CHK", 16}, // heater 1 on: bit 4
        {"Heater2CHK", 48}, // both on
        {"Heater1CHK", 32}, // heater 1 off: bit 5 stays
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.box);
        click(step.box);
        EXPECT_EQ(sent(), QStringLiteral("AuxOutputsPrepare=%1 AuxOutputs=%1").arg(step.byte));
        EXPECT_EQ(t.recording()->auxOutputs(), step.byte);
    }
    EXPECT_TRUE(t.recording()->transfers().isEmpty()) << "no chip register is touched";

    window_->close(); // heater 2 still on
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(window_.isNull());
    EXPECT_EQ(sent(), QString()) << "closing switches nothing";
    EXPECT_EQ(t.recording()->auxOutputs(), 32);

    // Reopened, the window shows the heater that is on, and the next click keeps it on.
    open();
    EXPECT_FALSE(child("Heater1CHK")->isChecked());
    EXPECT_TRUE(child("Heater2CHK")->isChecked());
    click("Heater1CHK");
    EXPECT_EQ(sent(), QStringLiteral("AuxOutputsPrepare=48 AuxOutputs=48"));
}

TEST_F(BoardControlTest, TheBoxesShowTheOutputsTheLinkLastPutWhoeverPutThem) {
    BusEngine& engine = t.state.board().parallelPortLink().busEngine();
    for (const int outputs : {0x10, 0x20, 0x30, 0x00}) {
        SCOPED_TRACE(outputs);
        engine.setAuxOutputs(quint8(outputs)); // before the window opens
        open();
        EXPECT_EQ(child("Heater1CHK")->isChecked(), (outputs & 0x10) != 0);
        EXPECT_EQ(child("Heater2CHK")->isChecked(), (outputs & 0x20) != 0);
        engine.setAuxOutputs(quint8(outputs ^ 0x30)); // while it is open
        EXPECT_EQ(child("Heater1CHK")->isChecked(), (outputs & 0x10) == 0);
        EXPECT_EQ(child("Heater2CHK")->isChecked(), (outputs & 0x20) == 0);
        t.windows.destroyAll();
    }
}

TEST_F(BoardControlTest, AFailedTransferIsReportedAndTheBoxesShowWhatTheBoardHolds) {
    open();
    click("Heater2CHK");
    for (const char* failing : {"AuxOutputsPrepare", "AuxOutputs="}) {
        for (const char* box : {"Heater1CHK", "Heater2CHK"}) {
            SCOPED_TRACE(testing::Message() << failing << " " << box);
            const auto before = t.dialogs.messages.size();
            t.recording()->failNext(1, QLatin1String(failing));
            click(box);
            ASSERT_EQ(t.dialogs.messages.size(), before + 1);
            EXPECT_TRUE(
                t.dialogs.messages.last().text.contains(QStringLiteral("injected failure")));
            EXPECT_FALSE(child("Heater1CHK")->isChecked());
            EXPECT_TRUE(child("Heater2CHK")->isChecked());
        }
    }
    sent();
    click("Heater1CHK"); // the window goes on working
    EXPECT_EQ(sent(), QStringLiteral("AuxOutputsPrepare=48 AuxOutputs=48"));
}

} // namespace
} // namespace qmf::test
