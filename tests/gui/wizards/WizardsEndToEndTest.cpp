// SPDX-License-Identifier: GPL-3.0-or-later
// Both wizards walked page by page on the simulated board: afterwards the chip holds what was set.
#include "WizardFixture.h"
#include "core/link/RegisterAccess.h"
#include "core/measure/Fan.h"
#include "gui/wizards/AFCTutorFRM.h"
#include "gui/wizards/BitCheckBox.h"
#include "gui/wizards/FanConfigFRM.h"

namespace qmf::test {
namespace {

class WizardsEndToEnd : public WizardFixture {
protected:
    WizardsEndToEnd() : WizardFixture(TestContext::Simulated) {}

    int reg(quint8 address) { return ReadRegisterAt(env.state, address); }
    // Works each page, then Next; on the last page Finish. On a page "name=value" moves a slider,
    // "name" checks a box or chooses an option; the bit boxes of the page not named end unchecked.
    void walk(StepWizard& wizard, const QList<QStringList>& pages) {
        for (const QStringList& page : pages) {
            QWidget* shown = find(u"StepPanel_%1"_s.arg(wizard.CurrentStep()));
            for (BitCheckBox* box : shown->findChildren<BitCheckBox*>()) {
                if (box->isChecked() && !page.contains(box->objectName())) {
                    box->click();
                }
            }
            for (const QString& entry : page) {
                if (auto* slider = shown->findChild<QSlider*>(entry.section(u'=', 0, 0))) {
                    slider->setValue(entry.section(u'=', 1).toInt());
                } else if (auto* button = shown->findChild<QAbstractButton*>(entry)) {
                    if (!button->isChecked()) {
                        button->click();
                    }
                } else {
                    ADD_FAILURE() << "no control " << entry.toStdString();
                }
            }
            click(wizard.CurrentStep() + 1 < wizard.stepCount() ? u"NextCMD"_s : u"FinishCMD"_s);
        }
        EXPECT_EQ(env.errors.failureCount(), 0) << env.errors.lastError().toStdString();
    }
    // The chip's registers named in `expected` ("60=C5 61=E9"), in its form.
    QString chipHolds(const QString& expected) {
        QStringList actual;
        for (const QString& item : expected.split(u' ')) {
            const int value = reg(quint8(item.section(u'=', 0, 0).toInt(nullptr, 16)));
            actual << item.section(u'=', 0, 0) + u'=' + hex(value);
        }
        return actual.join(u' ');
    }
};

// The fan wizard, then the tutor over what the fan wizard left.
TEST_F(WizardsEndToEnd, BothWizardsLeaveEverySettingOnTheChip) {
    walk(show<FanConfigFRM>(),
         {{"Fan1NormSpeedSlider=5", "Fan2NormSpeedSlider=9"},
          {"Fan1AlarmSlider=12", "Fan2AlarmSlider=14"},
          {"Fan1HotPlugSlider=10", "Fan2HotPlugSlider=3"},
          {"Fan1FaultCHK_0", "Fan1FaultCHK_3", "Fan2FaultCHK_7", "Fan2CFaultPriorityCHK"},
          {"FanChk1_1", "FanChk2_0"},
          {"GPIO2CHK_0", "GPIO6CHK_1", "GPIO6CHK_0"},
          {"Temp0CHK_1", "TDM2CHK_0"},
          {"Ain0CHK_0", "Ain1CHK_1"},
          {"FanSpinUpOP_5"},
          {"Fan1Chk_3", "Fan2Chk_1"},
          {"Fan1TachCHK_2", "Fan2TachCHK_3"},
          {}});
    const QString fanSettings =
        u"60=C5 61=E9 68=BA 69=D3 18=09 19=80 20=02 21=01 38=00 3A=01 3E=03 "
        u"48=02 49=00 4A=01 58=01 59=02 0C=05"_s;
    EXPECT_EQ(chipHolds(fanSettings), fanSettings);
    EXPECT_EQ(reg(0x10) & 0x20, 0x00);
    EXPECT_EQ(reg(0x11) & 0x20, 0x20);
    EXPECT_EQ(env.state.Fan0().storedOscillatorFrequency(), 940);
    EXPECT_EQ(env.state.Fan1().storedOscillatorFrequency(), 1880);

    const int hotPlug0 = reg(0x68) & 0x0F, hotPlug1 = reg(0x69) & 0x0F, alarm0 = reg(0x60) & 0xF0;
    walk(show<AFCTutorFRM>(), {{"Fan1NormSpeedSlider=7", "Fan2NormSpeedSlider=2"},
                               {"TDM1CHK_0"},
                               {"LocalTFSSlider=-3", "TDM1FSSlider=30", "TDM2FSSlider=-127"},
                               {"LocalTFSSSlider=1", "TDM1TFSSSlider=4", "TDM2TFSSSlider=0"},
                               {"LTCLHSlider=6", "TDM1CLHSlider=0", "TDM2CLHSlider=15"},
                               {"FanSpinUpOP_8"},
                               {"Fan1Chk_0", "Fan2Chk_2"},
                               {"Fan1TachCHK_1", "Fan2TachCHK_0"},
                               {}});
    const QString tutorSettings =
        u"60=%1 48=00 49=01 4A=00 80=FD 81=1E 82=81 88=61 89=04 8A=F0 0C=08 68=%2 69=%3"_s.arg(
            hex(alarm0 | 0x07), hex(0x40 | hotPlug0), hex(0x20 | hotPlug1));
    EXPECT_EQ(chipHolds(tutorSettings), tutorSettings);
    EXPECT_EQ(reg(0x61) & 0x0F, 0x02);
    EXPECT_EQ(env.state.Fan0().storedOscillatorFrequency(), 470);
    EXPECT_EQ(env.state.Fan1().storedOscillatorFrequency(), 0);
}

} // namespace
} // namespace qmf::test
