// SPDX-License-Identifier: GPL-3.0-or-later
// The automatic fan control tutor page by page: texts, reads, and the Tmin, Trange and
// hysteresis sliders' register codes.
#include "WizardFixture.h"
#include "core/measure/Fan.h"
#include "gui/wizards/AFCTutorFRM.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

namespace qmf::test {
namespace {

class AfcTutorPagesTest : public WizardFixture {
protected:
    AFCTutorFRM& at(int step) {
        AFCTutorFRM& w = show<AFCTutorFRM>();
        clickStep(w, step);
        clearTraffic();
        return w;
    }
    QStringList load(int step) {
        AFCTutorFRM& w = show<AFCTutorFRM>();
        clickStep(w, step == 0 ? 8 : 0);
        clearTraffic();
        clickStep(w, step);
        return traffic();
    }
};

TEST_F(AfcTutorPagesTest, PagesCarryTheirSlidersLabelsAndTexts) {
    AFCTutorFRM& w = show<AFCTutorFRM>();
    const struct {
        const char* slider;
        int minimum;
        int maximum;
    } sliders[] = {{"Fan1NormSpeedSlider", 0, 15}, {"Fan2NormSpeedSlider", 0, 15},
                   {"LocalTFSSlider", -127, 126},  {"TDM1FSSlider", -127, 126},
                   {"TDM2FSSlider", -127, 126},    {"LocalTFSSSlider", 0, 4},
                   {"TDM1TFSSSlider", 0, 4},       {"TDM2TFSSSlider", 0, 4},
                   {"LTCLHSlider", 0, 15},         {"TDM1CLHSlider", 0, 15},
                   {"TDM2CLHSlider", 0, 15}};
    for (const auto& s : sliders) {
        auto* slider = find<QSlider>(w, QString::fromLatin1(s.slider));
        ASSERT_NE(slider, nullptr);
        EXPECT_EQ(slider->minimum(), s.minimum) << s.slider;
        EXPECT_EQ(slider->maximum(), s.maximum) << s.slider;
        EXPECT_FALSE(slider->accessibleName().isEmpty()) << s.slider;
    }
    // Value labels before their page was ever shown keep the design text.
    for (const char* name : {"LTTrangeLBL", "TDM1TrangeLBL", "TDM2TrangeLBL", "LTCLHLBL",
                             "TDM1CLHLBL", "TDM2CLHLBL"}) {
        EXPECT_EQ(text(w, QString::fromLatin1(name)), QStringLiteral("00")) << name;
    }
    EXPECT_EQ(text(w, QStringLiteral("Label18")),
              QStringLiteral("You can now measure fan speed using the control panel."));
    for (const int step : {2, 3, 4}) {
        QWidget* page = find<QWidget>(w, QStringLiteral("StepPanel_%1").arg(step));
        QStringList texts;
        for (QLabel* label : page->findChildren<QLabel*>()) {
            texts << label->text();
        }
        for (const char* channel : {"Local Temp", "TDM 1", "TDM 2"}) {
            EXPECT_TRUE(texts.contains(QString::fromLatin1(channel))) << step << channel;
        }
        EXPECT_EQ(texts.count(QStringLiteral("C")), step == 2 ? 0 : 3) << step;
    }
    QStringList frames;
    for (QGroupBox* frame :
         find<QWidget>(w, QStringLiteral("StepPanel_1"))->findChildren<QGroupBox*>()) {
        frames << frame->title();
    }
    EXPECT_EQ(frames, QStringList({"Local Temp (h48)", "TDM 1 (h49)", "TDM 2 (h4A)"}));
    EXPECT_EQ(find<QCheckBox>(w, QStringLiteral("TDM1CHK_1"))->text(),
              QStringLiteral("1-set Fan2 to alarm speed, 0-set Fan2 to TDM1 AFC settings "));
    EXPECT_EQ(find<QRadioButton>(w, QStringLiteral("FanSpinUpOP_6"))->text(),
              QStringLiteral("1/16 Seconds"));
    EXPECT_EQ(find<QCheckBox>(w, QStringLiteral("Fan2Chk_3"))->text(), QStringLiteral("1000Hz"));
    EXPECT_EQ(find<QCheckBox>(w, QStringLiteral("Fan1TachCHK_0"))->text(),
              QStringLiteral("Measurement Disabled"));
}

TEST_F(AfcTutorPagesTest, EachPageReadsItsRegistersInOrder) {
    chip()[0x60] = 0x12;
    chip()[0x61] = 0x34;
    chip()[0x80] = 0x28;
    chip()[0x81] = 0xFE;
    chip()[0x82] = 0x80;
    chip()[0x88] = 0x42;
    chip()[0x89] = 0x52;
    chip()[0x8A] = 0xF0;
    chip()[0x0C] = 0x05;
    const struct {
        int step;
        QStringList traffic;
    } pages[] = {
        {0, {"R60=12", "R61=34"}},
        {1, {"R48=00", "R48=00", "R49=00", "R49=00", "R4A=00", "R4A=00"}},
        {2, {"R80=28", "R81=FE", "R82=80"}},
        {3, {"R88=42", "R89=52", "R8A=F0"}},
        {4, {"R88=42", "R89=52", "R8A=F0"}},
        {5, {"R0C=05", "W0C=05"}},
        {6, {"R68=00", "R68=00", "W68=00", "R69=00", "R69=00", "W69=00"}},
        {7,
         {"R68=00", "R68=00", "R68=00", "R68=00", "W68=00", "R68=00", "R69=00", "R69=00", "R69=00",
          "R69=00", "W69=00", "R69=00"}},
        {8, {}},
    };
    for (const auto& page : pages) {
        SCOPED_TRACE(page.step);
        EXPECT_EQ(load(page.step), page.traffic);
    }
    AFCTutorFRM& w = show<AFCTutorFRM>();
    EXPECT_EQ(sliderValue(w, QStringLiteral("Fan1NormSpeedSlider")), 2);
    EXPECT_EQ(text(w, QStringLiteral("Fan2SLBL")), QStringLiteral("26.67"));
    EXPECT_EQ(sliderValue(w, QStringLiteral("LocalTFSSlider")), 40);
    EXPECT_EQ(sliderValue(w, QStringLiteral("TDM1TFSSSlider")), 2);
    EXPECT_EQ(text(w, QStringLiteral("LTTrangeLBL")), QStringLiteral("20"));
    EXPECT_EQ(text(w, QStringLiteral("TDM1TrangeLBL")), QStringLiteral("20"));
    EXPECT_EQ(text(w, QStringLiteral("TDM2TrangeLBL")), QStringLiteral("5"));
    EXPECT_EQ(sliderValue(w, QStringLiteral("TDM2CLHSlider")), 15);
    EXPECT_EQ(text(w, QStringLiteral("LTCLHLBL")), QStringLiteral("4"));
    EXPECT_EQ(text(w, QStringLiteral("TDM1CLHLBL")), QStringLiteral("5"));
    EXPECT_EQ(text(w, QStringLiteral("TDM2CLHLBL")), QStringLiteral("15"));
    EXPECT_TRUE(checked(w, QStringLiteral("FanSpinUpOP_5")));
}

TEST_F(AfcTutorPagesTest, TminCodesLoadAsSignedTemperatures) {
    const struct {
        quint8 code;
        int temperature;
    } cases[] = {{0xFE, -1},  {0xFD, -3}, {0x80, -127}, {0x81, -127}, {0xFF, -1},
                 {0xC9, -55}, {0x00, 0},  {0x19, 25},   {0x7E, 126},  {0x7F, 126}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.code));
        chip()[0x81] = c.code;
        EXPECT_EQ(
            load(2),
            QStringList({"R80=00",
                         QStringLiteral("R81=%1").arg(c.code, 2, 16, QLatin1Char('0')).toUpper(),
                         "R82=00"}));
        EXPECT_EQ(sliderValue(show<AFCTutorFRM>(), QStringLiteral("TDM1FSSlider")), c.temperature);
    }
}

TEST_F(AfcTutorPagesTest, ATminSliderWritesTheTemperatureCodeWithoutReading) {
    const struct {
        const char* slider;
        int temperature;
        QString write;
    } cases[] = {
        {"LocalTFSSlider", -1, "W80=FF"},  {"LocalTFSSlider", -2, "W80=FD"},
        {"LocalTFSSlider", -3, "W80=FD"},  {"LocalTFSSlider", 0, "W80=00"},
        {"LocalTFSSlider", 126, "W80=7E"}, {"TDM1FSSlider", -127, "W81=81"},
        {"TDM1FSSlider", 25, "W81=19"},    {"TDM2FSSlider", -55, "W82=C9"},
        {"TDM2FSSlider", -10, "W82=F5"},
    };
    AFCTutorFRM& w = at(2);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.slider << " " << c.temperature);
        auto* slider = find<QSlider>(w, QString::fromLatin1(c.slider));
        slider->setValue(c.temperature == 50 ? 51 : 50);
        clearTraffic();
        slider->setValue(c.temperature);
        EXPECT_EQ(traffic(), QStringList({c.write}));
    }
}

TEST_F(AfcTutorPagesTest, TrangeSlidersWriteTheLowNibbleAndShowTheRange) {
    const struct {
        const char* slider;
        quint8 reg;
        quint8 before;
        int value;
        QStringList traffic;
        const char* label;
        const char* text;
    } cases[] = {
        {"TDM1TFSSSlider", 0x89, 0x52, 3, {"R89=52", "W89=53"}, "TDM1TrangeLBL", "40"},
        {"LocalTFSSSlider", 0x88, 0xF4, 0, {"R88=F4", "W88=F0"}, "LTTrangeLBL", "5"},
        {"TDM2TFSSSlider", 0x8A, 0x30, 4, {"R8A=30", "W8A=34"}, "TDM2TrangeLBL", "80"},
        {"TDM2TFSSSlider", 0x8A, 0x03, 1, {"R8A=03", "W8A=01"}, "TDM2TrangeLBL", "10"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slider);
        chip()[c.reg] = c.before;
        AFCTutorFRM& w = at(3);
        find<QSlider>(w, QString::fromLatin1(c.slider))->setValue(c.value);
        EXPECT_EQ(traffic(), c.traffic);
        EXPECT_EQ(text(w, QString::fromLatin1(c.label)), QString::fromLatin1(c.text));
    }
}

TEST_F(AfcTutorPagesTest, AnOutOfRangeTrangeCodeKeepsTheLabelAndWritesNothingUntilTheUserMoves) {
    chip()[0x88] = 0x01;
    AFCTutorFRM& w = at(3);
    EXPECT_EQ(text(w, QStringLiteral("LTTrangeLBL")), QStringLiteral("10"));

    chip()[0x88] = 0x29; // Trange code 9
    clickStep(w, 0);
    clearTraffic();
    clickStep(w, 3);
    EXPECT_EQ(traffic(), QStringList({"R88=29", "R89=00", "R8A=00"}));
    EXPECT_EQ(text(w, QStringLiteral("LTTrangeLBL")), QStringLiteral("10"));

    // The first move of the user writes a valid code.
    auto* slider = find<QSlider>(w, QStringLiteral("LocalTFSSSlider"));
    QTest::keyClick(slider, Qt::Key_Left);
    // The slider showed code 9 at its top end (4); one step down is 3.
    EXPECT_EQ(traffic(), QStringList({"R88=29", "W88=23"}));
    EXPECT_EQ(text(w, QStringLiteral("LTTrangeLBL")), QStringLiteral("40"));
}

TEST_F(AfcTutorPagesTest, HysteresisSlidersWriteTheHighNibbleAndShowTheNumber) {
    const struct {
        const char* slider;
        quint8 reg;
        quint8 before;
        int value;
        QStringList traffic;
        const char* label;
        const char* text;
    } cases[] = {
        {"TDM2CLHSlider", 0x8A, 0x02, 4, {"R8A=02", "W8A=42"}, "TDM2CLHLBL", "4"},
        {"LTCLHSlider", 0x88, 0x03, 15, {"R88=03", "W88=F3"}, "LTCLHLBL", "15"},
        {"TDM1CLHSlider", 0x89, 0xA2, 0, {"R89=A2", "W89=02"}, "TDM1CLHLBL", "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slider);
        chip()[c.reg] = c.before;
        AFCTutorFRM& w = at(4);
        find<QSlider>(w, QString::fromLatin1(c.slider))->setValue(c.value);
        EXPECT_EQ(traffic(), c.traffic);
        EXPECT_EQ(text(w, QString::fromLatin1(c.label)), QString::fromLatin1(c.text));
    }
}

TEST_F(AfcTutorPagesTest, TheSharedControlsWriteAsInTheFanWizard) {
    chip()[0x60] = 0xA0;
    AFCTutorFRM& w = at(0);
    find<QSlider>(w, QStringLiteral("Fan1NormSpeedSlider"))->setValue(1);
    EXPECT_EQ(traffic(), QStringList({"R60=A0", "W60=A1"}));
    EXPECT_EQ(text(w, QStringLiteral("Fan1SLBL")), QStringLiteral("6.67"));

    clickStep(w, 1);
    clearTraffic();
    click(w, QStringLiteral("TDM2CHK_1"));
    EXPECT_EQ(traffic(), QStringList({"R4A=00", "W4A=02"}));

    chip()[0x0C] = 0x2B;
    clickStep(w, 5);
    EXPECT_EQ(traffic(), QStringList({"R0C=2B", "W0C=08"}));
    click(w, QStringLiteral("FanSpinUpOP_4"));
    EXPECT_EQ(traffic(), QStringList({"W0C=04"}));

    chip()[0x69] = 0xFF;
    clickStep(w, 6);
    clearTraffic();
    click(w, QStringLiteral("Fan2Chk_0"));
    EXPECT_EQ(traffic(), QStringList({"R69=FF", "W69=CF"}));

    chip()[0x68] = 0x00;
    clickStep(w, 7);
    clearTraffic();
    click(w, QStringLiteral("Fan1TachCHK_3"));
    EXPECT_EQ(traffic(), QStringList({"R68=00", "R68=00", "R68=00", "R68=00", "W68=C0", "R68=C0"}));
    EXPECT_EQ(env.state.Fan0().storedOscillatorFrequency(), 1880);
}

TEST_F(AfcTutorPagesTest, NextFromStepSevenShowsTheLastStepWithFinishOnly) {
    AFCTutorFRM& w = at(7);
    click(w, QStringLiteral("NextCMD"));
    EXPECT_EQ(w.CurrentStep(), 8);
    EXPECT_EQ(shownPage(w), QStringLiteral("StepPanel_8"));
    EXPECT_FALSE(find<QPushButton>(w, QStringLiteral("NextCMD"))->isEnabled());
    EXPECT_TRUE(find<QPushButton>(w, QStringLiteral("FinishCMD"))->isEnabled());
    EXPECT_TRUE(find<QPushButton>(w, QStringLiteral("BackCMD"))->isEnabled());
}

TEST_F(AfcTutorPagesTest, AFailedTminWriteIsReportedAndTheSliderStaysUsable) {
    AFCTutorFRM& w = at(2);
    env.recording()->failNext(1, QStringLiteral("BusEngine.WriteByte"));
    auto* slider = find<QSlider>(w, QStringLiteral("TDM2FSSlider"));
    slider->setValue(30);
    EXPECT_EQ(env.errors.failureCount(), 1);
    EXPECT_TRUE(w.isVisible());
    clearTraffic();
    slider->setValue(31);
    EXPECT_EQ(traffic(), QStringList({"W82=1F"}));
}

} // namespace
} // namespace qmf::test
