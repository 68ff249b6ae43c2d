// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/link/InitFormFixture.h"

#include <QSignalSpy>
#include <functional>

namespace qmf::test {
namespace {

using InitFormFinish = InitFormTest;

TEST_F(InitFormFinish, RecordsThePrinterPortDeviceAndShowsTheMainWindow) {
    board().setTransferSettingValue(23);
    openWizard();
    QSignalSpy ending(wizard_.data(), &InitForm::programEnding);
    searchWith(true, false);
    board().clearLog();
    click("FinishCMD");
    flushDeletes();

    EXPECT_EQ(t.state.CommsMedium, 1);
    EXPECT_EQ(t.state.DeviceAddress, 0x5E);
    EXPECT_EQ(t.state.SavedTransferSetting, 23);
    EXPECT_EQ(t.state.DeviceChosen, -1);
    EXPECT_EQ(board().activeMedium(), 0);
    EXPECT_TRUE(board().log.contains(QStringLiteral("TargetAddress=5E")));
    EXPECT_TRUE(board().log.contains(QStringLiteral("PortIndex=0")));

    frmMain* main = t.windows.find<frmMain>();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(main->findChild<QLabel*>(QStringLiteral("DeviceLBL"))->text(),
              QStringLiteral("Found an QMF4150 at:5Eh, on printer port:378h (recording board)"));
    EXPECT_TRUE(wizard_.isNull()) << "the wizard unloads itself";
    EXPECT_EQ(ending.count(), 0);
    EXPECT_TRUE(t.dialogs.messages.isEmpty());
}

TEST_F(InitFormFinish, AChipAnsweringInBothModesIsListedTwiceAndEitherEntryLeavesModeTrue) {
    board().addParallelChip(0, true, 0x5E);
    for (int row : {0, 1}) {
        SCOPED_TRACE(row);
        t.state.DeviceChosen = 0;
        openWizard();
        searchWith(true, false);
        EXPECT_EQ(results(),
                  QStringList(2, QStringLiteral("Found an QMF4150 at:5Eh, on printer port:378h")));
        control<QListWidget>("SearchResultsLIST")->setCurrentRow(row);
        board().parallelPortLink().busEngine().setAlternateMode(false);
        board().clearLog();
        click("FinishCMD");
        EXPECT_TRUE(board().alternateMode());
        // Both finds are applied in find order; the last decides.
        EXPECT_LT(board().log.indexOf(QStringLiteral("AlternateMode=0")),
                  board().log.indexOf(QStringLiteral("AlternateMode=1")));
        EXPECT_EQ(t.state.CommsMedium, 1);
        t.windows.destroyAll();
    }
}

TEST_F(InitFormFinish, TheSelectedEntryDecidesTheDeviceAndThePath) {
    board().addSmbusChip(0x5A);
    openWizard();
    searchWith(true, true);
    ASSERT_EQ(results().size(), 2);
    control<QListWidget>("SearchResultsLIST")->setCurrentRow(1);
    click("FinishCMD");
    EXPECT_EQ(t.state.DeviceAddress, 0x5A);
    EXPECT_EQ(t.state.CommsMedium, 0);
    EXPECT_EQ(board().activeMedium(), 1);
    EXPECT_TRUE(board().log.contains(QStringLiteral("Smbus.TargetAddress=5A")));
    EXPECT_FALSE(board().log.contains(QStringLiteral("TargetAddress=5A")));
}

TEST_F(InitFormFinish, AFailingStepIsReportedAndTheDeviceIsChosenAnyway) {
    openWizard();
    searchWith(true, false);
    board().failNext(1, QStringLiteral("TargetAddress"));
    click("FinishCMD");
    flushDeletes();
    EXPECT_EQ(t.state.DeviceChosen, -1);
    EXPECT_EQ(t.state.DeviceAddress, 0x5E);
    EXPECT_EQ(t.state.CommsMedium, 1);
    EXPECT_EQ(board().activeMedium(), 0) << "the steps after the failing one ran";
    ASSERT_NE(t.windows.find<frmMain>(), nullptr);
    EXPECT_TRUE(t.windows.find<frmMain>()->isVisible());
    ASSERT_EQ(t.dialogs.messages.size(), 1);
    EXPECT_TRUE(t.dialogs.messages[0].text.contains(QStringLiteral("injected failure")));
}

TEST_F(InitFormFinish, TheKeyboardAloneFindsAndChoosesTheChip) {
    openWizard();
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(wizard_, Qt::Key_Return); // Next, Next (search), Finish
    }
    EXPECT_EQ(t.state.DeviceChosen, -1);
    EXPECT_EQ(t.state.DeviceAddress, 0x5E);
}

TEST_F(InitFormFinish, ClosingWithoutADeviceUnloadsEveryWindowAndEndsTheProgram) {
    const struct {
        const char* how;
        bool searchFirst;
        std::function<void(InitFormTest&)> close;
    } cases[] = {
        {"Cancel after a search", true, [](InitFormTest& f) { f.click("CancelCMD"); }},
        {"close box after a search", true, [](InitFormTest& f) { f.wizard_->close(); }},
        {"Escape after a search", true,
         [](InitFormTest& f) { QTest::keyClick(f.wizard_, Qt::Key_Escape); }},
        {"Cancel at once", false, [](InitFormTest& f) { f.click("CancelCMD"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        openWizard();
        QSignalSpy ending(wizard_.data(), &InitForm::programEnding);
        if (c.searchFirst) {
            searchWith(true, false);
        }
        QPointer<frmMain> main = t.windows.find<frmMain>();
        EXPECT_EQ(main.isNull(), !c.searchFirst);
        c.close(*this);
        flushDeletes();
        EXPECT_EQ(ending.count(), 1);
        EXPECT_TRUE(wizard_.isNull());
        EXPECT_TRUE(main.isNull());
        EXPECT_TRUE(t.windows.windows().isEmpty());
        EXPECT_EQ(t.state.DeviceChosen, 0);
    }
}

} // namespace
} // namespace qmf::test
