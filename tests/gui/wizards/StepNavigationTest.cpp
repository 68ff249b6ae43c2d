// SPDX-License-Identifier: GPL-3.0-or-later
// The step mechanism of both wizards: captions, button rules, the step list's frames, closing.
#include "WizardFixture.h"
#include "gui/wizards/AFCTutorFRM.h"
#include "gui/wizards/FanConfigFRM.h"
#include "gui/wizards/StepShape.h"

#include <QApplication>
#include <QMdiArea>
#include <QPushButton>

namespace qmf::test {
namespace {

struct WizardKind {
    const char* name;
    const char* caption;
    QStringList stepCaptions;
    QStringList pageTitles;
};

void PrintTo(const WizardKind& kind, std::ostream* out) {
    *out << kind.name;
}

const WizardKind FanConfig{
    "FanConfigFRM",
    "Fan Configuration Wizard.",
    {"Set Fan Norm Speed", "Set Fan Alrm Speed", "Set Fan Hot Plug Speed", "Set Fan Fault Action",
     "Set Fan Fault Mask", "Set GPIO   Event Mask", "Set Temp Cooling Act", "Set Ain Event Mask",
     "Set Fan Spin up Time", "Set PWM   Drive Freq", "Config Tach Oscillator", "Measure Fan Speed"},
    {"Set Fan Normal Speed", "Set Fan Alarm Speed", "Set Fan Hot Plug Speed",
     "Set Fan Fault Action", "Set Fan Fault Mask", "Set GPIO Event Mask",
     "Set Temperature Cooling Action", "Set Ain Event Mask", "Set Fan Spin-up Time",
     "Set PWM drive Frequency", "Set Tach Oscillator Frequency", "Measure Fan Speed"}};

const WizardKind AfcTutor{"AFCTutorFRM",
                          "AFC Wizard",
                          {"Fan Min Duty Cycle", "Temp Cooling Action", "Fan Start Temp, Tmin",
                           "Temp-FanSpeed Slope", "Control Loop Hysteresis", "Fan Spin-up Time",
                           "Set PWM Frequency", "Set Tach Oscillator Freq", "Measure Fan Speed"},
                          {"Fan Min Duty Cycle", "Set Temperature Cooling Action",
                           "Set Fan Start Temp", "Temp-Fan Speed Slope", "Control Loop Hysteresis",
                           "Set Fan Spin-up Time", "Set PWM drive Frequency",
                           "Set Tach Oscillator Frequency", "Measure Fan Speed"}};

class StepNavigationTest : public WizardFixture, public ::testing::WithParamInterface<WizardKind> {
protected:
    StepWizard& wizard() {
        if (QLatin1String(GetParam().name) == QLatin1String("FanConfigFRM")) {
            return show<FanConfigFRM>();
        }
        return show<AFCTutorFRM>();
    }
    StepWizard* existing() const {
        if (QLatin1String(GetParam().name) == QLatin1String("FanConfigFRM")) {
            return env.windows.find<FanConfigFRM>();
        }
        return env.windows.find<AFCTutorFRM>();
    }
    int last() const { return int(GetParam().stepCaptions.size()) - 1; }

    // Back, Next, Finish enabled?
    static std::array<bool, 3> buttons(QWidget& w) {
        return {find<QPushButton>(w, QStringLiteral("BackCMD"))->isEnabled(),
                find<QPushButton>(w, QStringLiteral("NextCMD"))->isEnabled(),
                find<QPushButton>(w, QStringLiteral("FinishCMD"))->isEnabled()};
    }
    std::array<bool, 3> expectedButtons(int step) const {
        return {step > 0, step < last(), step == last()};
    }
    // The step shown, as the user sees it: page, frame colours, and the wizard's own record.
    void expectShown(StepWizard& w, int step) {
        SCOPED_TRACE(step);
        EXPECT_EQ(w.CurrentStep(), step);
        EXPECT_EQ(shownPage(w), QStringLiteral("StepPanel_%1").arg(step));
        EXPECT_EQ(buttons(w), expectedButtons(step));
        const QColor tooltip = QApplication::palette().color(QPalette::ToolTipBase);
        for (int i = 0; i <= last(); ++i) {
            auto* shape = find<StepShape>(w, QStringLiteral("StepShape_%1").arg(i));
            ASSERT_NE(shape, nullptr);
            if (i == step) {
                EXPECT_EQ(shape->borderColor(), QColor(0x00, 0x80, 0x00)) << i;
                EXPECT_EQ(shape->fillColor(), tooltip) << i;
            } else {
                EXPECT_EQ(shape->borderColor(), QColor(0x80, 0x80, 0x80)) << i;
                EXPECT_EQ(shape->fillColor(), QColor(0xE0, 0xE0, 0xE0)) << i;
            }
        }
    }
};

TEST_P(StepNavigationTest, CaptionsOfTheWindowTheStepListThePagesAndTheButtons) {
    StepWizard& w = wizard();
    EXPECT_EQ(w.windowTitle(), QString::fromLatin1(GetParam().caption));
    EXPECT_EQ(w.stepCount(), GetParam().stepCaptions.size());
    for (int i = 0; i <= last(); ++i) {
        EXPECT_EQ(text(w, QStringLiteral("StepLBL_%1").arg(i)), GetParam().stepCaptions[i]);
        EXPECT_EQ(text(w, QStringLiteral("StepTitleLBL_%1").arg(i)), GetParam().pageTitles[i]);
        EXPECT_NE(w.findChild<QWidget*>(QStringLiteral("StepPanel_%1").arg(i)), nullptr);
    }
    EXPECT_EQ(w.findChild<QWidget*>(QStringLiteral("StepLBL_%1").arg(last() + 1)), nullptr);
    EXPECT_EQ(text(w, QStringLiteral("Label26")),
              QStringLiteral("Click any one of the steps above to go directly to that step"));
    const std::pair<const char*, const char*> buttonTexts[] = {{"NextCMD", "Next >"},
                                                               {"BackCMD", "< Back"},
                                                               {"CancelCMD", "Cancel"},
                                                               {"FinishCMD", "Finish"}};
    for (const auto& [name, caption] : buttonTexts) {
        EXPECT_EQ(find<QPushButton>(w, QString::fromLatin1(name))->text(),
                  QString::fromLatin1(caption));
    }
}

TEST_P(StepNavigationTest, OpensOnTheFirstStepWithBackAndFinishDisabled) {
    StepWizard& w = wizard();
    expectShown(w, 0);
    EXPECT_TRUE(find<QWidget>(w, QStringLiteral("StepPanel_0"))->isVisible());
    EXPECT_FALSE(find<QWidget>(w, QStringLiteral("StepPanel_1"))->isVisible());
}

TEST_P(StepNavigationTest, NextWalksToTheLastStepAndBackWalksHome) {
    StepWizard& w = wizard();
    for (int step = 1; step <= last(); ++step) {
        click(w, QStringLiteral("NextCMD"));
        expectShown(w, step);
    }
    // Only the last step offers Finish; Back from it takes Finish away again.
    for (int step = last() - 1; step >= 0; --step) {
        click(w, QStringLiteral("BackCMD"));
        expectShown(w, step);
    }
}

TEST_P(StepNavigationTest, AClickOnAStepGoesStraightToIt) {
    StepWizard& w = wizard();
    // Out of order, to the ends and back, and onto the step already shown.
    const int order[] = {last(), 0, 3, last() - 1, 1, last(), last(), 2, 0, 0};
    for (const int step : order) {
        clickStep(w, step);
        expectShown(w, step);
    }
}

TEST_P(StepNavigationTest, TheKeyboardReachesTheStepListToo) {
    StepWizard& w = wizard();
    auto* label = find<QLabel>(w, QStringLiteral("StepLBL_2"));
    EXPECT_NE(label->focusPolicy() & Qt::TabFocus, 0);
    QTest::keyClick(label, Qt::Key_Space);
    expectShown(w, 2);
    QTest::keyClick(find<QLabel>(w, QStringLiteral("StepLBL_%1").arg(last())), Qt::Key_Return);
    expectShown(w, last());
}

TEST_P(StepNavigationTest, FinishAndCancelCloseWithoutWritingAndTheNextOpenStartsAtStepZero) {
    for (const char* closer : {"FinishCMD", "CancelCMD"}) {
        SCOPED_TRACE(closer);
        StepWizard& w = wizard();
        clickStep(w, last());
        clearTraffic();
        click(w, QString::fromLatin1(closer));
        EXPECT_TRUE(traffic().isEmpty());
        deleteClosedWindows();
        ASSERT_EQ(existing(), nullptr);

        StepWizard& again = wizard();
        expectShown(again, 0);
    }
}

TEST_P(StepNavigationTest, InsideTheMainWindowFinishClosesTheSubWindow) {
    QMdiArea area;
    env.windows.setMdiArea(&area);
    area.show();
    StepWizard& w = wizard();
    ASSERT_EQ(area.subWindowList().size(), 1);
    clickStep(w, last());
    click(w, QStringLiteral("FinishCMD"));
    deleteClosedWindows();
    EXPECT_TRUE(area.subWindowList().isEmpty());
    EXPECT_EQ(existing(), nullptr);
}

TEST_P(StepNavigationTest, APageThatCannotBeReadIsReportedAndTheButtonsStillFollowTheStep) {
    StepWizard& w = wizard();
    env.recording()->failNext(1, QStringLiteral("BusEngine.ReadByte"));
    click(w, QStringLiteral("NextCMD"));
    EXPECT_EQ(env.errors.failureCount(), 1);
    ASSERT_EQ(env.dialogs.messages.size(), 1);
    EXPECT_TRUE(env.dialogs.messages[0].text.contains(QLatin1String("injected failure")));
    EXPECT_TRUE(env.dialogs.messages[0].text.startsWith(QString::fromLatin1(GetParam().caption)));
    expectShown(w, 1);
    EXPECT_TRUE(w.isVisible());
    // The user can read the page again by showing it once more.
    clickStep(w, 1);
    EXPECT_EQ(env.errors.failureCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(BothWizards, StepNavigationTest, ::testing::Values(FanConfig, AfcTutor),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace qmf::test
