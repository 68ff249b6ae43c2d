// SPDX-License-Identifier: GPL-3.0-or-later
// The fan configuration wizard page by page: what each page reads and writes back, in which
// order, and what each control writes.
#include "WizardFixture.h"
#include "core/measure/Fan.h"
#include "gui/wizards/FanConfigFRM.h"

#include <QCheckBox>
#include <QTabWidget>

namespace qmf::test {
namespace {

using FanConfig = WizardFixture;

// A loaded bit or choice that changes a control runs its handler, which writes the bits back; a
// control whose state does not change writes nothing.
TEST_F(FanConfig, EachPageReadsItsRegistersInOrderAndWritesBackOnlyWhatChangedAControl) {
    expectLoadCases<FanConfigFRM>(
        "60=35 61=A7 68=65 69=BA 18=81 10=20 19=10 20=02 3C=01 4A=03 59=02 0C=05", 11,
        {
            {0, "R60=35 R61=A7", "Fan1NormSpeedSlider=5, Fan1SLBL=33.33, Fan2SLBL=46.67"},
            {1, "R60=35 R61=A7", "Fan1AlarmSlider=3, Fan1AlrmLBL=20, Fan2AlrmLBL=66.67"},
            {2, "R68=65 R69=BA", "Fan1HotPlugLBL=33.33, Fan2HotPlugSlider=10"},
            // Bit by bit, the priority boxes on every pass.
            {3,
             "R18=81 R18=81 W18=81 R10=20 R10=20 W10=20 R19=10 R11=00 R18=81 R10=20 R19=10 R11=00 "
             "R18=81 R10=20 R19=10 R11=00 R18=81 R10=20 R19=10 R11=00 R18=81 R10=20 R19=10 R19=10 "
             "W19=10 R11=00 R18=81 R10=20 R19=10 R11=00 R18=81 R10=20 R19=10 R11=00 R18=81 R18=81 "
             "W18=81 R10=20 R19=10 R11=00",
             "Fan1FaultCHK=0 7, Fan2FaultCHK=4, Fan1CFaultPriorityCHK=1, Fan2CFaultPriorityCHK="},
            {4, "R20=02 R20=02 R20=02 W20=02 R21=00 R21=00", "FanChk1=1, FanChk2="},
            {5,
             "R38=00 R38=00 R39=00 R39=00 R3A=00 R3A=00 R3B=00 R3B=00 R3C=01 R3C=01 W3C=01 "
             "R3C=01 R3D=00 R3D=00 R3E=00 R3E=00",
             "GPIO4CHK=0, GPIO3CHK="},
            {6, "R48=00 R48=00 R49=00 R49=00 R4A=03 R4A=03 W4A=03 R4A=03 R4A=03 W4A=03",
             "TDM2CHK=0 1, Temp0CHK="},
            {7, "R58=00 R58=00 R59=02 R59=02 R59=02 W59=02", "Ain1CHK=1"},
            {8, "R0C=05 W0C=05", "FanSpinUpOP=5"},
            {9, "R68=65 R68=65 W68=65 R69=BA R69=BA W69=BA", "Fan1Chk=2, Fan2Chk=3"},
            // The tach groups' own uncheck and re-check raise two more click events, which are
            // ignored but still end with the fan's re-read of its oscillator frequency.
            {10,
             "R68=65 R68=65 R68=65 R68=65 W68=65 R68=65 R69=BA R69=BA R69=BA R69=BA W69=BA R69=BA",
             "Fan1TachCHK=1, Fan2TachCHK=2"},
            {11, "", ""},
        });
    EXPECT_EQ(env.state.Fan0().storedOscillatorFrequency(), 470);
    EXPECT_EQ(env.state.Fan1().storedOscillatorFrequency(), 940);
}

// The cases run in order on one wizard, so a control keeps the state the row before left.
TEST_F(FanConfig, EachControlWritesItsBitsAndShowsTheResult) {
    expectControlCases<FanConfigFRM>({
        {0, 0x60, 0xA0, "Fan1NormSpeedSlider", 1, "R60=A0 W60=A1", "Fan1SLBL=6.67"},
        {0, 0x61, 0x5F, "Fan2NormSpeedSlider", 0, "R61=5F W61=50", "Fan2SLBL=0"},
        {1, 0x61, 0x05, "Fan2AlarmSlider", 15, "R61=05 W61=F5", "Fan2AlrmLBL=100"},
        {1, 0x60, 0xF3, "Fan1AlarmSlider", 8, "R60=F3 W60=83", "Fan1AlrmLBL=53.33"},
        {2, 0x68, 0xC0, "Fan1HotPlugSlider", 9, "R68=C0 W68=C9", "Fan1HotPlugLBL=60"},
        {2, 0x69, 0x7F, "Fan2HotPlugSlider", 2, "R69=7F W69=72", "Fan2HotPlugLBL=13.33"},
        // A spin-up option writes its bare index without reading; the selected one nothing.
        {8, 0x0C, 0xF0, "FanSpinUpOP_5", 0, "W0C=05", "FanSpinUpOP=5"},
        {8, 0x0C, 0xF5, "FanSpinUpOP_8", 0, "W0C=08", "FanSpinUpOP=8"},
        {8, 0x0C, 0x08, "FanSpinUpOP_8", 0, "", "FanSpinUpOP=8"},
        // One choice of four; clicking the checked PWM box writes the same bits again.
        {9, 0x68, 0xFF, "Fan1Chk_1", 0, "R68=FF W68=DF", "Fan1Chk=1"},
        {9, 0x68, 0xDF, "Fan1Chk_1", 0, "R68=DF W68=DF", "Fan1Chk=1"},
        {9, 0x69, 0x0A, "Fan2Chk_3", 0, "R69=0A W69=3A", "Fan2Chk=3"},
        // "Measurement Disabled" clears bits 7..6; each fan re-reads only its own frequency.
        {10, 0x68, 0xC5, "Fan1TachCHK_0", 0, "R68=C5 R68=C5 R68=C5 R68=C5 W68=05 R68=05",
         "Fan1TachCHK=0"},
        {10, 0x69, 0x3F, "Fan2TachCHK_2", 0, "R69=3F R69=3F R69=3F R69=3F W69=BF R69=BF",
         "Fan2TachCHK=2"},
    });
    EXPECT_EQ(env.state.Fan0().storedOscillatorFrequency(), 0);
    EXPECT_EQ(env.state.Fan1().storedOscillatorFrequency(), 940);
}

TEST_F(FanConfig, EveryBitBoxSetsAndClearsExactlyItsBit) {
    struct Box {
        QString name;
        int step, reg, bit;
    };
    QList<Box> boxes{{u"Fan1CFaultPriorityCHK"_s, 3, 0x10, 5},
                     {u"Fan2CFaultPriorityCHK"_s, 3, 0x11, 5}};
    const std::tuple<const char*, int, int, int> arrays[] = {
        // name, step, register, elements
        {"Fan1FaultCHK", 3, 0x18, 8}, {"Fan2FaultCHK", 3, 0x19, 8}, {"FanChk1", 4, 0x20, 2},
        {"FanChk2", 4, 0x21, 2},      {"GPIO0CHK", 5, 0x38, 2},     {"GPIO1CHK", 5, 0x39, 2},
        {"GPIO2CHK", 5, 0x3A, 2},     {"GPIO3CHK", 5, 0x3B, 2},     {"GPIO4CHK", 5, 0x3C, 2},
        {"GPIO5CHK", 5, 0x3D, 2},     {"GPIO6CHK", 5, 0x3E, 2},     {"Temp0CHK", 6, 0x48, 2},
        {"TDM1CHK", 6, 0x49, 2},      {"TDM2CHK", 6, 0x4A, 2},      {"Ain0CHK", 7, 0x58, 2},
        {"Ain1CHK", 7, 0x59, 2}};
    for (const auto& [array, step, reg, elements] : arrays) {
        for (int bit = 0; bit < elements; ++bit) {
            boxes.append({u"%1_%2"_s.arg(QLatin1String(array)).arg(bit), step, reg, bit});
        }
    }
    for (const Box& box : boxes) {
        SCOPED_TRACE(box.name.toStdString());
        chip()[box.reg] = 0x00;
        at<FanConfigFRM>(box.step);
        const int others = ~(1 << box.bit) & 0x5A; // some neighbours set meanwhile
        chip()[box.reg] = quint8(others);
        if (box.step == 3) { // the box's own tab in front, as the user would bring it
            find<QTabWidget>(u"FanFaultTab"_s)->setCurrentIndex(box.name.startsWith(u"Fan2"_s));
            QCoreApplication::processEvents();
        }
        const QString reg = hex(box.reg), set = hex(others | 1 << box.bit), clear = hex(others);
        operate(box.name);
        EXPECT_EQ(traffic(), u"R%1=%3 W%1=%2"_s.arg(reg, set, clear));
        operate(box.name);
        EXPECT_EQ(traffic(), u"R%1=%2 W%1=%3"_s.arg(reg, set, clear));
    }
}

// 0x0C low nibble 0..8 selects its option, 9..15 only "Spin-up Disabled"; a selection that changes
// rewrites 0x0C as the bare option index. The rows run in order: each starts from the option the
// row before left selected.
TEST_F(FanConfig, TheSpinUpPageSelectsTheCodeAndRewritesItAsTheBareOptionIndex) {
    const std::tuple<quint8, const char*, const char*> cases[] = {
        {0x03, "3", "R0C=03 W0C=03"}, {0x00, "0", "R0C=00 W0C=00"}, {0x23, "3", "R0C=23 W0C=03"},
        {0x0F, "8", "R0C=0F W0C=08"}, {0x08, "8", "R0C=08"},        {0x02, "2", "R0C=02 W0C=02"},
        {0x2B, "8", "R0C=2B W0C=08"}, {0x09, "8", "R0C=09"},        {0xF5, "5", "R0C=F5 W0C=05"},
        {0xF5, "5", "R0C=F5"},        {0x07, "7", "R0C=07 W0C=07"}};
    for (const auto& [code, selected, expected] : cases) {
        SCOPED_TRACE(int(code));
        chip()[0x0C] = code;
        at<FanConfigFRM>(0);
        clickStep(8);
        EXPECT_EQ(traffic(), QLatin1String(expected));
        EXPECT_EQ(state(u"FanSpinUpOP"_s), QLatin1String(selected));
    }
}

// Dragging writes once, on release, while the label follows the handle; every keyboard step writes.
TEST_F(FanConfig, ASliderWritesWhenADragEndsAndOnEveryKeyboardStep) {
    chip()[0x60] = 0x32;
    at<FanConfigFRM>(0);
    auto* slider = find<QSlider>(u"Fan1NormSpeedSlider"_s);
    slider->setSliderDown(true);
    slider->setSliderPosition(5);
    slider->setSliderPosition(7);
    EXPECT_EQ(state(u"Fan1SLBL"_s), u"46.67"_s);
    EXPECT_EQ(traffic(), QString());
    slider->setSliderDown(false);
    EXPECT_EQ(traffic(), u"R60=32 W60=37"_s);
    for (const auto key : {Qt::Key_Right, Qt::Key_Left, Qt::Key_Left}) {
        QTest::keyClick(slider, key);
    }
    EXPECT_EQ(traffic(), u"R60=37 W60=38 R60=38 W60=37 R60=37 W60=36"_s);
    EXPECT_EQ(state(u"Fan1SLBL"_s), u"40"_s);
}

// After a failed write each kind of control shows what the chip holds, read again; when that
// read fails too, what it last read.
TEST_F(FanConfig, AfterAFailedWriteEachControlShowsTheChipAgain) {
    expectFailureCases<FanConfigFRM>({
        {0, 0x60, 0xA3, "Fan1NormSpeedSlider", 5, 1, "R60=A3 W60=A5! R60=A3",
         "Fan1NormSpeedSlider=3, Fan1SLBL=20"},
        {0, 0x61, 0x17, "Fan2NormSpeedSlider", 2, 2, "R61! R61!",
         "Fan2NormSpeedSlider=7, Fan2SLBL=46.67"},
        {4, 0x21, 0x00, "FanChk2_1", 0, 1, "R21=00 W21=02! R21=00", "FanChk2="},
        {4, 0x21, 0x02, "FanChk2_1", 0, 1, "R21=02 W21=00! R21=02", "FanChk2=1"},
        {4, 0x20, 0x01, "FanChk1_0", 0, 2, "R20! R20!", "FanChk1=0"},
        {8, 0x0C, 0x03, "FanSpinUpOP_5", 0, 1, "W0C=05! R0C=03", "FanSpinUpOP=3"},
        {8, 0x0C, 0x08, "FanSpinUpOP_2", 0, 2, "W0C=02! R0C!", "FanSpinUpOP=8"},
        {9, 0x68, 0x25, "Fan1Chk_0", 0, 1, "R68=25 W68=05! R68=25", "Fan1Chk=2"},
        {9, 0x69, 0x30, "Fan2Chk_1", 0, 2, "R69! R69!", "Fan2Chk=3"},
        // The tach group's own changes re-read the fan's frequency before the write.
        {10, 0x69, 0x80, "Fan2TachCHK_1", 0, 1, "R69=80 R69=80 R69=80 R69=80 W69=40! R69=80",
         "Fan2TachCHK=2"},
    });
    EXPECT_EQ(env.state.Fan1().storedOscillatorFrequency(), 940);
}

} // namespace
} // namespace qmf::test
