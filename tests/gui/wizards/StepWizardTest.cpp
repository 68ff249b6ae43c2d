// SPDX-License-Identifier: GPL-3.0-or-later
// The step mechanism of both wizards (buttons, the step list's frames, closing) and the chooser.
#include "WizardFixture.h"
#include "gui/wizards/AFCTutorFRM.h"
#include "gui/wizards/FanConfigFRM.h"
#include "gui/wizards/StepShape.h"
#include "gui/wizards/WizardListFRM.h"

#include <QApplication>
#include <QMdiArea>
#include <QStackedWidget>

namespace qmf::test {
namespace {

// The fan configuration wizard (parameter true, twelve steps) or the tutor (nine steps).
class StepNavigation : public WizardFixture, public ::testing::WithParamInterface<bool> {
protected:
    StepWizard& wizard() {
        return GetParam() ? static_cast<StepWizard&>(show<FanConfigFRM>()) : show<AFCTutorFRM>();
    }
    int last() const { return GetParam() ? 11 : 8; }
    // The step on show as the user sees it: the page, the buttons, the frames of the step list.
    void expectShown(int step) {
        SCOPED_TRACE(step);
        EXPECT_EQ(static_cast<StepWizard*>(w)->CurrentStep(), step);
        EXPECT_EQ(find<QStackedWidget>(u"StepPages"_s)->currentWidget()->objectName(),
                  u"StepPanel_%1"_s.arg(step));
        const auto on = [this](const QString& button) { return find(button)->isEnabled(); };
        EXPECT_EQ(std::tuple(on(u"BackCMD"_s), on(u"NextCMD"_s), on(u"FinishCMD"_s)),
                  std::tuple(step > 0, step < last(), step == last()));
        const QColor tip = QApplication::palette().color(QPalette::ToolTipBase);
        for (int i = 0; i <= last(); ++i) {
            auto* shape = find<StepShape>(u"StepShape_%1"_s.arg(i));
            EXPECT_EQ(shape->borderColor(), i == step ? QColor(0x008000) : QColor(0x808080)) << i;
            EXPECT_EQ(shape->fillColor(), i == step ? tip : QColor(0xE0E0E0)) << i;
        }
    }
};

// Next and Back walk every step; a click on a step (or Space / Return on it) goes straight to it.
TEST_P(StepNavigation, TheButtonsPageAndFramesFollowEveryMoveBetweenSteps) {
    EXPECT_EQ(wizard().stepCount(), last() + 1);
    expectShown(0);
    for (int step = 1; step <= last(); ++step) {
        click(u"NextCMD"_s);
        expectShown(step);
    }
    for (int step = last() - 1; step >= 0; --step) {
        click(u"BackCMD"_s);
        expectShown(step);
    }
    for (const int step : {last(), 0, 3, last() - 1, 1, last(), last(), 2, 0, 0}) {
        clickStep(step);
        expectShown(step);
    }
    QTest::keyClick(find(u"StepLBL_2"_s), Qt::Key_Space);
    expectShown(2);
    QTest::keyClick(find(u"StepLBL_%1"_s.arg(last())), Qt::Key_Return);
    expectShown(last());
}

TEST_P(StepNavigation, FinishAndCancelCloseWithoutWritingAndTheNextOpenStartsAtStepZero) {
    QMdiArea area; // inside the main window the sub-window is what closes
    area.show();
    for (const bool inMainWindow : {false, true}) {
        env.windows.setMdiArea(inMainWindow ? &area : nullptr);
        for (const QString& closer : {u"FinishCMD"_s, u"CancelCMD"_s}) {
            SCOPED_TRACE(closer.toStdString() + (inMainWindow ? " in the main window" : ""));
            wizard();
            clickStep(last());
            traffic();
            click(closer);
            EXPECT_EQ(traffic(), QString());
            deleteClosedWindows();
            EXPECT_TRUE(env.windows.windows().isEmpty());
            EXPECT_TRUE(area.subWindowList().isEmpty());
            wizard();
            expectShown(0);
            click(u"CancelCMD"_s);
            deleteClosedWindows();
        }
    }
}

TEST_P(StepNavigation, APageThatCannotBeReadIsReportedAndTheButtonsStillFollowTheStep) {
    wizard();
    env.recording()->failNext(1, u"BusEngine.ReadByte"_s);
    click(u"NextCMD"_s);
    EXPECT_EQ(env.errors.failureCount(), 1);
    EXPECT_TRUE(env.errors.lastError().startsWith(w->windowTitle()));
    expectShown(1);
    EXPECT_TRUE(w->isVisible());
}

INSTANTIATE_TEST_SUITE_P(BothWizards, StepNavigation, ::testing::Bool(), [](const auto& info) {
    return std::string(info.param ? "FanConfigFRM" : "AFCTutorFRM");
});

using WizardList = WizardFixture;

TEST_F(WizardList, WithoutTheEvaluationBoardTheHeaterRowIsHidden) {
    for (const int commsMedium : {1, 0, 2}) {
        SCOPED_TRACE(commsMedium);
        env.state.CommsMedium = qint16(commsMedium);
        show<WizardListFRM>();
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(find(u"SelectWizard_%1"_s.arg(i))->isVisible(), i < 2 || commsMedium != 0);
            EXPECT_EQ(find(u"ToDoLBL_%1"_s.arg(i))->isVisible(), i < 2 || commsMedium != 0);
        }
        w->close();
        deleteClosedWindows();
    }
    EXPECT_EQ(traffic(), QString()); // the chooser never touches the chip
}

// Each row opens its view (one instance per view, also from the fan wizard's ConfigAFCCMD); the
// chooser stays open, and a view that cannot be opened is reported.
TEST_F(WizardList, EachRowOpensItsViewAndTheChooserStaysOpen) {
    env.ctx.openers.insert(u"FanConfigFRM"_s, [this] { env.windows.show<FanConfigFRM>(env.ctx); });
    env.ctx.openers.insert(u"AFCTutorFRM"_s, [this] { env.windows.show<AFCTutorFRM>(env.ctx); });
    WizardListFRM& chooser = show<WizardListFRM>();
    QTest::mouseClick(find(u"SelectWizard_1"_s), Qt::LeftButton);
    FanConfigFRM* fans = env.windows.find<FanConfigFRM>();
    ASSERT_NE(fans, nullptr);
    fans->findChild<QAbstractButton*>(u"NextCMD"_s)->click();
    find(u"SelectWizard_0"_s)->setFocus();
    QTest::keyClick(find(u"SelectWizard_0"_s), Qt::Key_Space);
    AFCTutorFRM* tutor = env.windows.find<AFCTutorFRM>();
    ASSERT_NE(tutor, nullptr);
    click(u"SelectWizard_1"_s);
    EXPECT_EQ(env.windows.find<FanConfigFRM>(), fans);
    EXPECT_EQ(fans->CurrentStep(), 1);
    fans->findChild<QAbstractButton*>(u"ConfigAFCCMD"_s)->click();
    deleteClosedWindows();
    EXPECT_EQ(env.windows.find<AFCTutorFRM>(), tutor);
    EXPECT_TRUE(fans->isVisible() && tutor->isVisible() && chooser.isVisible());

    click(u"SelectWizard_2"_s); // no heater view registered here
    EXPECT_EQ(env.errors.failureCount(), 1);
    EXPECT_TRUE(env.errors.lastError().contains(u"BoardControlFRM"_s));
    EXPECT_TRUE(chooser.isVisible());
}

} // namespace
} // namespace qmf::test
