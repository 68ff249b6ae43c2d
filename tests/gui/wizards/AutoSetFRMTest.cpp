// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/wizards/AutoSetFRM.h"

#include "core/link/LinkErrors.h"
#include "gui/support/TestContext.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace qmf::test {
namespace {

class AutoSetFRMTest : public ::testing::Test {
protected:
    AutoSetFRM* form() const { return t.windows.find<AutoSetFRM>(); }
    QListWidget* list() const { return form()->findChild<QListWidget*>(QStringLiteral("ListBox")); }
    QStringList lines() const {
        QStringList result;
        for (int i = 0; i < list()->count(); ++i) {
            result << list()->item(i)->text();
        }
        return result;
    }

    TestContext t{TestContext::Recording};
};

TEST_F(AutoSetFRMTest, ShowsTheReportViewWithItsTexts) {
    RunAutoSet(t.ctx);
    ASSERT_NE(form(), nullptr);
    EXPECT_TRUE(form()->isVisible());
    EXPECT_EQ(form()->windowTitle(), QStringLiteral("AutoSet Details"));
    auto* label = form()->findChild<QLabel*>(QStringLiteral("Label1"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(),
              QStringLiteral("The following settings were written to the eval board."));
    auto* close = form()->findChild<QPushButton*>(QStringLiteral("CloseCMD"));
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->text(), QStringLiteral("Close"));
}

TEST_F(AutoSetFRMTest, ARunListsTwentyLinesAndASecondRunReplacesThem) {
    RunAutoSet(t.ctx);
    AutoSetFRM* first = form();
    ASSERT_EQ(lines().size(), 20);
    EXPECT_EQ(lines().first(),
              QStringLiteral("QMF4150-Temp0 fan mask, Address Pointer:48, data written:0"));
    EXPECT_EQ(lines()[17], QStringLiteral("QMF4150-AIN 0 Low, Address Pointer:B0, data written:F"));
    EXPECT_EQ(lines().last(), QStringLiteral("QMF4150, Address Pointer:1, data written:10"));
    EXPECT_EQ(t.state.AddressPointer, 0x01);
    EXPECT_EQ(t.state.DataToWrite, 0x10);

    RunAutoSet(t.ctx);
    EXPECT_EQ(form(), first); // the open view is reused
    EXPECT_EQ(lines().size(), 20);
    EXPECT_EQ(t.recording()->transfers().size(), 40);
}

TEST_F(AutoSetFRMTest, AFailedWriteReachesTheCallerAndKeepsTheLinesWrittenSoFar) {
    // Let the sixth write fail once five lines are listed.
    t.windows.get<AutoSetFRM>(t.ctx);
    QObject::connect(list()->model(), &QAbstractItemModel::rowsInserted, list(), [this] {
        if (list()->count() == 5) {
            t.recording()->failNext(1, QStringLiteral("BusEngine.WriteByte"));
        }
    });
    const bool ok = t.errors.run(form(), [this] { RunAutoSet(t.ctx); });
    EXPECT_FALSE(ok);
    EXPECT_EQ(t.errors.failureCount(), 1);
    ASSERT_EQ(t.dialogs.messages.size(), 1);
    EXPECT_TRUE(t.dialogs.messages[0].text.contains(QStringLiteral("injected failure")));
    EXPECT_EQ(lines().size(), 5);
    EXPECT_EQ(t.recording()->transfers().filter(QStringLiteral("WriteByte")).size(), 6);
}

TEST_F(AutoSetFRMTest, CloseUnloadsTheViewAndTheNextRunStartsAFreshOne) {
    RunAutoSet(t.ctx);
    QPointer<AutoSetFRM> old = form();
    QTest::mouseClick(old->findChild<QPushButton*>(QStringLiteral("CloseCMD")), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(old.isNull());
    EXPECT_EQ(form(), nullptr);

    RunAutoSet(t.ctx);
    ASSERT_NE(form(), nullptr);
    EXPECT_EQ(lines().size(), 20);
}

} // namespace
} // namespace qmf::test
