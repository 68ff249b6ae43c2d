// SPDX-License-Identifier: GPL-3.0-or-later
// The automatic fan control tutor page by page: what each page reads, and the register codes of
// the Tmin, Trange and hysteresis sliders.
#include "WizardFixture.h"
#include "core/measure/Fan.h"
#include "gui/wizards/AFCTutorFRM.h"

namespace qmf::test {
namespace {

using AfcTutor = WizardFixture;

TEST_F(AfcTutor, EachPageReadsItsRegistersInOrderAndShowsThem) {
    expectLoadCases<AFCTutorFRM>(
        "60=12 61=34 48=01 80=FD 81=FE 82=80 88=42 89=52 8A=F0 0C=05 68=65 69=BA", 8,
        {
            {0, "R60=12 R61=34", "Fan1NormSpeedSlider=2, Fan2SLBL=26.67"},
            {1, "R48=01 R48=01 W48=01 R48=01 R49=00 R49=00 R4A=00 R4A=00", "Temp0CHK=0, TDM1CHK="},
            {2, "R80=FD R81=FE R82=80", "LocalTFSSlider=-3, TDM1FSSlider=-1, TDM2FSSlider=-127"},
            {3, "R88=42 R89=52 R8A=F0", "TDM1TFSSSlider=2, LTTrangeLBL=20, TDM2TrangeLBL=5"},
            {4, "R88=42 R89=52 R8A=F0", "TDM2CLHSlider=15, LTCLHLBL=4, TDM1CLHLBL=5"},
            {5, "R0C=05 W0C=05", "FanSpinUpOP=5"},
            {6, "R68=65 R68=65 W68=65 R69=BA R69=BA W69=BA", "Fan1Chk=2, Fan2Chk=3"},
            {7,
             "R68=65 R68=65 R68=65 R68=65 W68=65 R68=65 R69=BA R69=BA R69=BA R69=BA W69=BA R69=BA",
             "Fan1TachCHK=1, Fan2TachCHK=2"},
            {8, "", ""},
        });
    EXPECT_EQ(env.state.Fan1().storedOscillatorFrequency(), 940);
}

// Each page is loaded with the register's value before the control moves (Tmin 0x32: 50 C).
TEST_F(AfcTutor, TheAfcSlidersWriteTheirCodes) {
    expectControlCases<AFCTutorFRM>({
        // Tmin: one write of the temperature code, no read.
        {2, 0x80, 0x32, "LocalTFSSlider", -1, "W80=FF", ""},
        {2, 0x80, 0x32, "LocalTFSSlider", -2, "W80=FD", ""},
        {2, 0x80, 0x32, "LocalTFSSlider", -3, "W80=FD", ""},
        {2, 0x80, 0x32, "LocalTFSSlider", 0, "W80=00", ""},
        {2, 0x80, 0x32, "LocalTFSSlider", 126, "W80=7E", ""},
        {2, 0x81, 0x32, "TDM1FSSlider", -127, "W81=81", ""},
        {2, 0x82, 0x32, "TDM2FSSlider", -55, "W82=C9", ""},
        // Trange: the low nibble, shown as the range.
        {3, 0x89, 0x52, "TDM1TFSSSlider", 3, "R89=52 W89=53", "TDM1TrangeLBL=40"},
        {3, 0x88, 0xF4, "LocalTFSSSlider", 0, "R88=F4 W88=F0", "LTTrangeLBL=5"},
        {3, 0x8A, 0x30, "TDM2TFSSSlider", 4, "R8A=30 W8A=34", "TDM2TrangeLBL=80"},
        {3, 0x8A, 0x03, "TDM2TFSSSlider", 1, "R8A=03 W8A=01", "TDM2TrangeLBL=10"},
        // Hysteresis: the high nibble, shown as the number.
        {4, 0x8A, 0x02, "TDM2CLHSlider", 4, "R8A=02 W8A=42", "TDM2CLHLBL=4"},
        {4, 0x88, 0x03, "LTCLHSlider", 15, "R88=03 W88=F3", "LTCLHLBL=15"},
        {4, 0x89, 0xA2, "TDM1CLHSlider", 0, "R89=A2 W89=02", "TDM1CLHLBL=0"},
    });
}

TEST_F(AfcTutor, AnOutOfRangeTrangeCodeKeepsTheLabelAndWritesNothingUntilTheUserMoves) {
    chip()[0x88] = 0x01;
    at<AFCTutorFRM>(3);
    EXPECT_EQ(state(u"LTTrangeLBL"_s), u"10"_s);
    chip()[0x88] = 0x29; // Trange code 9
    at<AFCTutorFRM>(0);
    clickStep(3);
    EXPECT_EQ(traffic(), u"R88=29 R89=00 R8A=00"_s);
    EXPECT_EQ(state(u"LTTrangeLBL"_s), u"10"_s);
    // The slider showed code 9 at its top end (4); one step down writes 3.
    QTest::keyClick(find(u"LocalTFSSSlider"_s), Qt::Key_Left);
    EXPECT_EQ(traffic(), u"R88=29 W88=23"_s);
    EXPECT_EQ(state(u"LTTrangeLBL"_s), u"40"_s);
}

// After a failed write the control shows what the chip holds, read again; when that read fails
// too, what it last read.
TEST_F(AfcTutor, AfterAFailedWriteEachControlShowsTheChipAgain) {
    expectFailureCases<AFCTutorFRM>({
        {1, 0x49, 0x00, "TDM1CHK_0", 0, 1, "R49=00 W49=01! R49=00", "TDM1CHK="},
        {1, 0x4A, 0x02, "TDM2CHK_1", 0, 2, "R4A! R4A!", "TDM2CHK=1"},
        {2, 0x80, 0x32, "LocalTFSSlider", -1, 1, "W80=FF! R80=32", "LocalTFSSlider=50"},
        {2, 0x81, 0xFD, "TDM1FSSlider", 20, 2, "W81=14! R81!", "TDM1FSSlider=-3"},
        {3, 0x89, 0x52, "TDM1TFSSSlider", 3, 1, "R89=52 W89=53! R89=52",
         "TDM1TFSSSlider=2, TDM1TrangeLBL=20"},
        {4, 0x8A, 0x30, "TDM2CLHSlider", 9, 2, "R8A! R8A!", "TDM2CLHSlider=3, TDM2CLHLBL=3"},
        {5, 0x0C, 0x06, "FanSpinUpOP_0", 0, 1, "W0C=00! R0C=06", "FanSpinUpOP=6"},
        {6, 0x68, 0x10, "Fan1Chk_3", 0, 1, "R68=10 W68=30! R68=10", "Fan1Chk=1"},
    });
}

TEST_F(AfcTutor, AFailedTminWriteIsReportedAndTheSliderStaysUsable) {
    at<AFCTutorFRM>(2);
    env.recording()->failNext(1, u"BusEngine.WriteByte"_s);
    find<QSlider>(u"TDM2FSSlider"_s)->setValue(30);
    EXPECT_EQ(env.errors.failureCount(), 1);
    EXPECT_TRUE(w->isVisible());
    traffic();
    find<QSlider>(u"TDM2FSSlider"_s)->setValue(31);
    EXPECT_EQ(traffic(), u"W82=1F"_s);
}

} // namespace
} // namespace qmf::test
