// SPDX-License-Identifier: GPL-3.0-or-later
// Continuous reading, fast reading and the one-off refresh, on the simulated board.
#include "RegisterListFixture.h"
#include "gui/reglist/RegisterNameColours.h"

#include <QTimer>

namespace qmf::test {
namespace {

class RegisterListReading : public RegisterListTest {
protected:
    RegisterListReading() : RegisterListTest(TestContext::Simulated) {}
    sim::SimulatedChip& simChip() { return t.simBoard()->printerPortChip(); }
    QTimer* timer() const { return find<QTimer>(QStringLiteral("RegisterListTimer")); }
};

TEST_F(RegisterListReading, ContinuousReadingRefreshesTheSelectedRegisterOnEachTick) {
    open();
    clickName(0xB9);
    QAbstractButton* toggle = button("ContinuousReadCHK");
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_TRUE(toggle->isChecked());
    EXPECT_EQ(toggle->text(), QStringLiteral("ContinuousReadIsOn"));
    EXPECT_TRUE(timer()->isActive());
    EXPECT_EQ(timer()->interval(), 200);

    window->timerTick();
    EXPECT_EQ(label("AddressPtrLLBL")->text(), QStringLiteral("B9"));
    const int value = simChip().readRegister(0xB9);
    EXPECT_EQ(label("HexValueLBL")->text(), text::hex(quint32(value)));
    EXPECT_EQ(label("DecimalValueLBL")->text(), QString::number(value));

    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_EQ(toggle->text(), QStringLiteral("ContinuousReadIsOff"));
    EXPECT_FALSE(timer()->isActive());
}

TEST_F(RegisterListReading, ATickShowsWhatChangedInTheChip) {
    open();
    clickName(0x90);
    simChip().writeRegister(0x90, 0x5A);
    window->timerTick();
    EXPECT_EQ(label("HexValueLBL")->text(), QStringLiteral("5A"));
    EXPECT_EQ(label("DecimalValueLBL")->text(), QStringLiteral("90"));
    EXPECT_EQ(digit(6)->text(), QStringLiteral("1"));
    EXPECT_EQ(digit(5)->text(), QStringLiteral("0"));
}

TEST_F(RegisterListReading, BeforeAnySelectionARefreshReadsMainStatus) {
    open();
    window->refreshView();
    EXPECT_EQ(label("AddressPtrLLBL")->text(), QStringLiteral("0"));
    EXPECT_EQ(t.state.AddressPointer, 0);
}

TEST_F(RegisterListReading, AFailingTickStopsContinuousReading) {
    open();
    clickName(0x01);
    QTest::mouseClick(button("ContinuousReadCHK"), Qt::LeftButton);
    ASSERT_TRUE(timer()->isActive());
    t.simBoard()->failNextTransfers(1);
    window->timerTick();
    EXPECT_FALSE(timer()->isActive());
    EXPECT_FALSE(button("ContinuousReadCHK")->isChecked());
    EXPECT_EQ(button("ContinuousReadCHK")->text(), QStringLiteral("ContinuousReadIsOff"));
    EXPECT_EQ(t.errors.failureCount(), 1);
    EXPECT_EQ(t.dialogs.messages.size(), 1);
}

TEST_F(RegisterListReading, FastReadingShortensTheIntervalWhileItIsOn) {
    open();
    QAbstractButton* fast = button("FastReadCHK");
    QTest::mouseClick(button("ContinuousReadCHK"), Qt::LeftButton);
    QTest::mouseClick(fast, Qt::LeftButton);
    EXPECT_EQ(fast->text(), QStringLiteral("Fast Read is On"));
    EXPECT_EQ(timer()->interval(), 50);
    EXPECT_TRUE(timer()->isActive());
    QTest::mouseClick(fast, Qt::LeftButton);
    EXPECT_EQ(fast->text(), QStringLiteral("Fast Read is Off"));
    EXPECT_EQ(timer()->interval(), 200);
    EXPECT_TRUE(timer()->isActive());
}

TEST_F(RegisterListReading, ClosingTheWindowStopsReadingAndReopeningStartsFresh) {
    open();
    clickName(0x01);
    QTest::mouseClick(button("ContinuousReadCHK"), Qt::LeftButton);
    QPointer<QTimer> oldTimer = timer();
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(oldTimer.isNull());

    open();
    EXPECT_EQ(button("ContinuousReadCHK")->text(), QStringLiteral("ContinuousReadIsOff"));
    EXPECT_FALSE(timer()->isActive());
    EXPECT_EQ(colour(name(0x01)), namecolour::workspace());
}

} // namespace
} // namespace qmf::test
