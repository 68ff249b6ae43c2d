// SPDX-License-Identifier: GPL-3.0-or-later
// The wizard chooser: its rows, the rule for the on-board SMBus, and what each row opens.
#include "WizardFixture.h"
#include "gui/wizards/AFCTutorFRM.h"
#include "gui/wizards/FanConfigFRM.h"
#include "gui/wizards/WizardListFRM.h"

#include <QToolButton>

namespace qmf::test {
namespace {

const char* const RowTexts[3] = {"Setup Automatic fan Speed Control", "Configure Fans",
                                 "Switch on the heaters for TDM1 and TDM2"};

class WizardListTest : public WizardFixture {
protected:
    QStringList opened;
    void recordOpeners() {
        for (const char* name : {"AFCTutorFRM", "FanConfigFRM", "BoardControlFRM"}) {
            env.ctx.openers.insert(QString::fromLatin1(name),
                                   [this, name] { opened << QString::fromLatin1(name); });
        }
    }
};

TEST_F(WizardListTest, ShowsThePromptAndThreeRowsOfIconButtonsWithTheirTasks) {
    WizardListFRM& w = show<WizardListFRM>();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Wizard List"));
    EXPECT_EQ(text(w, QStringLiteral("Label1")), QStringLiteral("What would you like to do?"));
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        auto* button = find<QToolButton>(w, QStringLiteral("SelectWizard_%1").arg(i));
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->text().isEmpty());
        EXPECT_FALSE(button->icon().isNull());
        EXPECT_EQ(button->accessibleName(), QString::fromLatin1(RowTexts[i]));
        EXPECT_EQ(text(w, QStringLiteral("ToDoLBL_%1").arg(i)), QString::fromLatin1(RowTexts[i]));
    }
    // The chooser itself never touches the chip.
    EXPECT_TRUE(traffic().isEmpty());
}

TEST_F(WizardListTest, WithoutTheEvaluationBoardTheHeaterRowIsHidden) {
    const struct {
        qint16 commsMedium;
        bool heaterRow;
    } cases[] = {{1, true}, {0, false}, {2, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.commsMedium);
        env.state.CommsMedium = c.commsMedium;
        WizardListFRM& w = show<WizardListFRM>();
        for (int i = 0; i < 3; ++i) {
            const bool expected = i < 2 || c.heaterRow;
            EXPECT_EQ(find<QWidget>(w, QStringLiteral("SelectWizard_%1").arg(i))->isVisible(),
                      expected)
                << i;
            EXPECT_EQ(find<QWidget>(w, QStringLiteral("ToDoLBL_%1").arg(i))->isVisible(), expected)
                << i;
        }
        w.close();
        deleteClosedWindows();
    }
}

TEST_F(WizardListTest, EachRowOpensItsViewAndTheChooserStaysOpen) {
    recordOpeners();
    WizardListFRM& w = show<WizardListFRM>();
    QTest::mouseClick(find<QToolButton>(w, QStringLiteral("SelectWizard_0")), Qt::LeftButton);
    QTest::mouseClick(find<QToolButton>(w, QStringLiteral("SelectWizard_1")), Qt::LeftButton);
    auto* heaters = find<QToolButton>(w, QStringLiteral("SelectWizard_2"));
    heaters->setFocus();
    QTest::keyClick(heaters, Qt::Key_Space);
    EXPECT_EQ(opened, QStringList({"AFCTutorFRM", "FanConfigFRM", "BoardControlFRM"}));
    deleteClosedWindows();
    EXPECT_EQ(env.windows.find<WizardListFRM>(), &w);
    EXPECT_TRUE(w.isVisible());
}

TEST_F(WizardListTest, TheWizardsOpenOnceAndShowingThemAgainBringsUpTheSameInstance) {
    env.ctx.openers.insert(QStringLiteral("FanConfigFRM"), [this] { show<FanConfigFRM>(); });
    env.ctx.openers.insert(QStringLiteral("AFCTutorFRM"), [this] { show<AFCTutorFRM>(); });
    WizardListFRM& w = show<WizardListFRM>();
    click(w, QStringLiteral("SelectWizard_1"));
    FanConfigFRM* fans = env.windows.find<FanConfigFRM>();
    ASSERT_NE(fans, nullptr);
    EXPECT_TRUE(fans->isVisible());
    clickStep(*fans, 4);
    click(w, QStringLiteral("SelectWizard_1"));
    EXPECT_EQ(env.windows.find<FanConfigFRM>(), fans);
    EXPECT_EQ(fans->CurrentStep(), 4);

    // The tutor from the chooser and from the fan wizard's button is one window.
    click(w, QStringLiteral("SelectWizard_0"));
    AFCTutorFRM* tutor = env.windows.find<AFCTutorFRM>();
    ASSERT_NE(tutor, nullptr);
    clickStep(*fans, 6);
    click(*fans, QStringLiteral("ConfigAFCCMD"));
    EXPECT_EQ(env.windows.find<AFCTutorFRM>(), tutor);
    EXPECT_TRUE(fans->isVisible());
    EXPECT_TRUE(tutor->isVisible());
}

TEST_F(WizardListTest, AViewThatCannotBeOpenedIsReportedAndTheChooserStays) {
    WizardListFRM& w = show<WizardListFRM>();
    click(w, QStringLiteral("SelectWizard_2"));
    EXPECT_EQ(env.errors.failureCount(), 1);
    EXPECT_TRUE(env.errors.lastError().contains(QLatin1String("BoardControlFRM")));
    EXPECT_TRUE(w.isVisible());
}

} // namespace
} // namespace qmf::test
