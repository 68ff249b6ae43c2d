// SPDX-License-Identifier: GPL-3.0-or-later
// Both wizards walked page by page on the simulated board: afterwards the chip holds what was set.
#include "core/link/RegisterAccess.h"
#include "core/measure/Fan.h"
#include "gui/support/TestContext.h"
#include "gui/wizards/AFCTutorFRM.h"
#include "gui/wizards/FanConfigFRM.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

namespace qmf::test {
namespace {

class WizardsEndToEndTest : public ::testing::Test {
protected:
    TestContext env; // the simulated board

    quint8 chip(quint8 reg) { return ReadRegisterAt(env.state, reg); }

    static QWidget* page(StepWizard& w) {
        return w.findChild<QWidget*>(QStringLiteral("StepPanel_%1").arg(w.CurrentStep()));
    }
    // Leaves exactly the named check boxes of the shown page checked, clicking like a user.
    static void checkOnly(StepWizard& w, const QSet<QString>& names) {
        QWidget* shown = page(w);
        ASSERT_NE(shown, nullptr);
        for (QCheckBox* box : shown->findChildren<QCheckBox*>()) {
            if (box->isChecked() != names.contains(box->objectName())) {
                box->click();
            }
        }
        for (QCheckBox* box : shown->findChildren<QCheckBox*>()) {
            EXPECT_EQ(box->isChecked(), names.contains(box->objectName()))
                << box->objectName().toStdString();
        }
    }
    static void choose(StepWizard& w, const QString& name) {
        auto* button = page(w)->findChild<QAbstractButton*>(name);
        ASSERT_NE(button, nullptr) << name.toStdString();
        if (!button->isChecked()) {
            button->click();
        }
    }
    static void slide(StepWizard& w, const QString& name, int value) {
        auto* slider = page(w)->findChild<QSlider*>(name);
        ASSERT_NE(slider, nullptr) << name.toStdString();
        slider->setFocus();
        // Keyboard steps, as a user without a mouse would move it.
        while (slider->value() < value) {
            QTest::keyClick(slider, Qt::Key_Right);
        }
        while (slider->value() > value) {
            QTest::keyClick(slider, Qt::Key_Left);
        }
    }
    static void next(StepWizard& w) {
        w.findChild<QPushButton*>(QStringLiteral("NextCMD"))->click();
    }
};

TEST_F(WizardsEndToEndTest, TheFanWizardLeavesEverySettingOnTheChip) {
    FanConfigFRM& w = env.windows.show<FanConfigFRM>(env.ctx);
    slide(w, QStringLiteral("Fan1NormSpeedSlider"), 5);
    slide(w, QStringLiteral("Fan2NormSpeedSlider"), 9);
    next(w);
    slide(w, QStringLiteral("Fan1AlarmSlider"), 12);
    slide(w, QStringLiteral("Fan2AlarmSlider"), 14);
    next(w);
    slide(w, QStringLiteral("Fan1HotPlugSlider"), 10);
    slide(w, QStringLiteral("Fan2HotPlugSlider"), 3);
    next(w);
    checkOnly(w, {"Fan1FaultCHK_0", "Fan1FaultCHK_3", "Fan2FaultCHK_7", "Fan2CFaultPriorityCHK"});
    next(w);
    checkOnly(w, {"FanChk1_1", "FanChk2_0"});
    next(w);
    checkOnly(w, {"GPIO2CHK_0", "GPIO6CHK_1", "GPIO6CHK_0"});
    next(w);
    checkOnly(w, {"Temp0CHK_1", "TDM2CHK_0"});
    next(w);
    checkOnly(w, {"Ain0CHK_0", "Ain1CHK_1"});
    next(w);
    choose(w, QStringLiteral("FanSpinUpOP_5"));
    next(w);
    choose(w, QStringLiteral("Fan1Chk_3"));
    choose(w, QStringLiteral("Fan2Chk_1"));
    next(w);
    choose(w, QStringLiteral("Fan1TachCHK_2"));
    choose(w, QStringLiteral("Fan2TachCHK_3"));
    next(w);
    ASSERT_EQ(w.CurrentStep(), 11);
    w.findChild<QPushButton*>(QStringLiteral("FinishCMD"))->click();
    EXPECT_EQ(env.errors.failureCount(), 0) << env.errors.lastError().toStdString();

    const std::pair<quint8, quint8> expected[] = {
        {0x60, 0xC5}, {0x61, 0xE9}, {0x68, 0xBA}, {0x69, 0xD3}, {0x18, 0x09}, {0x19, 0x80},
        {0x20, 0x02}, {0x21, 0x01}, {0x38, 0x00}, {0x3A, 0x01}, {0x3E, 0x03}, {0x48, 0x02},
        {0x49, 0x00}, {0x4A, 0x01}, {0x58, 0x01}, {0x59, 0x02}, {0x0C, 0x05},
    };
    for (const auto& [reg, value] : expected) {
        EXPECT_EQ(chip(reg), value) << std::hex << int(reg);
    }
    EXPECT_EQ(chip(0x10) & 0x20, 0x00);
    EXPECT_EQ(chip(0x11) & 0x20, 0x20);
    EXPECT_EQ(env.state.Fan0().storedOscillatorFrequency(), 940);
    EXPECT_EQ(env.state.Fan1().storedOscillatorFrequency(), 1880);
}

TEST_F(WizardsEndToEndTest, TheTutorLeavesEveryAutomaticFanControlSettingOnTheChip) {
    AFCTutorFRM& w = env.windows.show<AFCTutorFRM>(env.ctx);
    const int hotPlug0 = chip(0x68) & 0x0F;
    const int hotPlug1 = chip(0x69) & 0x0F;
    const int alarm0 = chip(0x60) & 0xF0;
    slide(w, QStringLiteral("Fan1NormSpeedSlider"), 7);
    slide(w, QStringLiteral("Fan2NormSpeedSlider"), 2);
    next(w);
    checkOnly(w, {"TDM1CHK_0"});
    next(w);
    slide(w, QStringLiteral("LocalTFSSlider"), -3);
    slide(w, QStringLiteral("TDM1FSSlider"), 30);
    slide(w, QStringLiteral("TDM2FSSlider"), -127);
    next(w);
    slide(w, QStringLiteral("LocalTFSSSlider"), 1);
    slide(w, QStringLiteral("TDM1TFSSSlider"), 4);
    slide(w, QStringLiteral("TDM2TFSSSlider"), 0);
    next(w);
    slide(w, QStringLiteral("LTCLHSlider"), 6);
    slide(w, QStringLiteral("TDM1CLHSlider"), 0);
    slide(w, QStringLiteral("TDM2CLHSlider"), 15);
    next(w);
    choose(w, QStringLiteral("FanSpinUpOP_8"));
    next(w);
    choose(w, QStringLiteral("Fan1Chk_0"));
    choose(w, QStringLiteral("Fan2Chk_2"));
    next(w);
    choose(w, QStringLiteral("Fan1TachCHK_1"));
    choose(w, QStringLiteral("Fan2TachCHK_0"));
    next(w);
    ASSERT_EQ(w.CurrentStep(), 8);
    w.findChild<QPushButton*>(QStringLiteral("FinishCMD"))->click();
    EXPECT_EQ(env.errors.failureCount(), 0) << env.errors.lastError().toStdString();

    const std::pair<quint8, int> expected[] = {
        {0x60, alarm0 | 0x07},
        {0x48, 0x00},
        {0x49, 0x01},
        {0x4A, 0x00},
        {0x80, 0xFD},
        {0x81, 0x1E},
        {0x82, 0x81},
        {0x88, 0x61},
        {0x89, 0x04},
        {0x8A, 0xF0},
        {0x0C, 0x08},
        {0x68, 0x40 | hotPlug0},
        {0x69, 0x20 | hotPlug1},
    };
    for (const auto& [reg, value] : expected) {
        EXPECT_EQ(chip(reg), value) << std::hex << int(reg);
    }
    EXPECT_EQ(chip(0x61) & 0x0F, 0x02);
    EXPECT_EQ(env.state.Fan0().storedOscillatorFrequency(), 470);
    EXPECT_EQ(env.state.Fan1().storedOscillatorFrequency(), 0);
}

} // namespace
} // namespace qmf::test
