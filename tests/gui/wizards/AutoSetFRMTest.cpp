// SPDX-License-Identifier: GPL-3.0-or-later
// The auto-set command and its report view on the recording board.
#include "gui/wizards/AutoSetFRM.h"

#include "core/text/NumberText.h"
#include "core/wizards/AutoSet.h"
#include "gui/shell/frmMain.h"
#include "gui/support/TestContext.h"

#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace qmf::test {
namespace {

using namespace Qt::StringLiterals;

class AutoSetFRMTest : public ::testing::Test {
protected:
    AutoSetFRM* form() const { return t.windows.find<AutoSetFRM>(); }
    QListWidget* list() const { return form()->findChild<QListWidget*>(u"ListBox"_s); }
    QString line(int i) const { return list()->item(i)->text(); }

    TestContext t{TestContext::Recording};
};

TEST_F(AutoSetFRMTest, ARunListsTwentyLinesAndASecondRunReplacesThem) {
    RunAutoSet(t.ctx);
    AutoSetFRM* first = form();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    ASSERT_EQ(list()->count(), 20);
    EXPECT_EQ(line(0), u"QMF4150-Temp0 fan mask, Address Pointer:48, data written:0"_s);
    EXPECT_EQ(line(17), u"QMF4150-AIN 0 Low, Address Pointer:B0, data written:F"_s);
    EXPECT_EQ(line(19), u"QMF4150, Address Pointer:1, data written:10"_s);
    EXPECT_EQ(t.state.AddressPointer, 0x01);
    EXPECT_EQ(t.state.DataToWrite, 0x10);
    RunAutoSet(t.ctx);
    EXPECT_EQ(form(), first); // the open view is reused
    EXPECT_EQ(list()->count(), 20);
    EXPECT_EQ(t.recording()->transfers().size(), 40);

    // Close unloads the view; the next run starts a fresh one.
    QTest::mouseClick(first->findChild<QPushButton*>(u"CloseCMD"_s), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form(), nullptr);
    RunAutoSet(t.ctx);
    ASSERT_NE(form(), nullptr);
    EXPECT_EQ(list()->count(), 20);
}

TEST_F(AutoSetFRMTest, InsideTheMainWindowCloseTakesItsFrameAndWindowListEntryAlong) {
    t.ctx.openers.insert(u"AutoSet"_s, [this] { RunAutoSet(t.ctx); }); // as the program has it
    frmMain& main = t.windows.show<frmMain>(t.ctx);
    QMdiArea* area = main.mdiArea();
    auto* windowMenu = main.findChild<QMenu*>(u"mnuWindow"_s);
    ASSERT_NE(windowMenu, nullptr);
    const auto windowList = [windowMenu] {
        emit windowMenu->aboutToShow();
        QStringList entries;
        for (QAction* entry : windowMenu->actions()) {
            if (entry->objectName() == u"mnuWindowList"_s) {
                entries << entry->text();
            }
        }
        return entries;
    };
    for (int run = 0; run < 3; ++run) {
        SCOPED_TRACE(run);
        main.findChild<QAction*>(u"mnuAutoSet"_s)->trigger();
        ASSERT_NE(form(), nullptr);
        EXPECT_EQ(list()->count(), 20);
        EXPECT_EQ(area->subWindowList().size(), 1);
        EXPECT_EQ(windowList(), QStringList{u"&1 AutoSet Details"_s});

        QTest::mouseClick(form()->findChild<QPushButton*>(u"CloseCMD"_s), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(form(), nullptr);
        EXPECT_TRUE(area->subWindowList().isEmpty()) << "no empty frame stays behind";
        EXPECT_TRUE(windowList().isEmpty());
    }
}

// One link failure at each of the twenty writes: the rows before it are written and listed, the
// failure is reported with its register, and no row after it is written.
TEST(AutoSetSweep, ALinkFailureAtEveryWriteStopsTheRunThere) {
    const auto& table = AutoSetTable();
    for (int row = 0; row < AutoSetRowCount; ++row) {
        SCOPED_TRACE(row);
        TestContext t; // the simulated board
        sim::SimulatedChip& chip = t.simBoard()->printerPortChip();
        for (const AutoSetRow& r : table) {
            chip.writeRegister(r.Register, r.Value ^ 0x0F); // anything but the table's value
        }
        t.simBoard()->failTransferAfter(row);
        EXPECT_FALSE(t.errors.run(nullptr, [&t] { RunAutoSet(t.ctx); }));
        EXPECT_TRUE(t.errors.lastError().contains(
            u"register %1h: injected transfer failure"_s.arg(text::hex(table[row].Register))))
            << t.errors.lastError().toStdString();
        auto* list = t.windows.find<AutoSetFRM>()->findChild<QListWidget*>(u"ListBox"_s);
        EXPECT_EQ(list->count(), row);
        for (int i = 0; i < AutoSetRowCount; ++i) {
            EXPECT_EQ(chip.readRegister(table[i].Register),
                      i < row ? table[i].Value : table[i].Value ^ 0x0F)
                << "row " << i;
        }
    }
}

} // namespace
} // namespace qmf::test
