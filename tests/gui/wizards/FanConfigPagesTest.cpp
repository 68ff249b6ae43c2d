// SPDX-License-Identifier: GPL-3.0-or-later
// The fan configuration wizard page by page: fixed texts, what each page reads and in which
// order, and what each control writes.
#include "WizardFixture.h"
#include "core/measure/Fan.h"
#include "gui/wizards/FanConfigFRM.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace qmf::test {
namespace {

class FanConfigPagesTest : public WizardFixture {
protected:
    // The wizard showing `step`, with the traffic up to there forgotten.
    FanConfigFRM& at(int step) {
        FanConfigFRM& w = show<FanConfigFRM>();
        clickStep(w, step);
        clearTraffic();
        return w;
    }
    // The reads and writes of showing `step` freshly (from step 0 of a new wizard).
    QStringList load(int step) {
        FanConfigFRM& w = show<FanConfigFRM>();
        clickStep(w, 0);
        clearTraffic();
        clickStep(w, step);
        return traffic();
    }
};

// All texts of a page that are neither step captions nor control captions.
bool pageShowsText(QWidget& w, int step, const QString& text) {
    QWidget* page = w.findChild<QWidget*>(QStringLiteral("StepPanel_%1").arg(step));
    if (page == nullptr) {
        return false;
    }
    for (QLabel* label : page->findChildren<QLabel*>()) {
        if (label->text() == text) {
            return true;
        }
    }
    for (QGroupBox* frame : page->findChildren<QGroupBox*>()) {
        if (frame->title() == text) {
            return true;
        }
    }
    auto* tabs = page->findChild<QTabWidget*>();
    for (int i = 0; tabs && i < tabs->count(); ++i) {
        if (tabs->tabText(i) == text) {
            return true;
        }
    }
    return false;
}

TEST_F(FanConfigPagesTest, EveryPageShowsItsFixedTextsAndFrameTitles) {
    FanConfigFRM& w = show<FanConfigFRM>();
    const std::pair<int, const char*> texts[] = {
        {0, "Fan 1 (60h)"},
        {0, "Fan 2 (61h)"},
        {0, "%"},
        {1, "Fan 1 (60h)"},
        {1, "Fan 2 (61h)"},
        {2, "Fan 1 (68h)"},
        {2, "Fan 2 (69h)"},
        {3, "Fan 1"},
        {3, "Fan 2"},
        {3, "Fan Tach failure or fault pin is low"},
        {3, "Fan has been unplugged"},
        {3, "CFAULT has been pulled low"},
        {3, "Over-temp detected in sleep mode"},
        {4, "Fan 1 (h20)"},
        {4, "Fan 2 (h21)"},
        {4, "If there is a Fan 1 fault (Tach or Pin2/23) then.."},
        {4, "If there is a Fan 2 fault (Tach or Pin2/23) then.."},
        {4, "Description:"},
        {4, "(a) If a fault (Tach or Pin2/23) is detected on FanX, then Fan 1 will be driven to "
            "Alarm Speed when this bit is set."},
        {4, "(b) If a fault (Tach or Pin2/23) is detected on FanX, then Fan 2 will be driven to "
            "Alarm Speed when this bit is set."},
        {5, "GPIO0(h38)"},
        {5, "GPIO1(h39)"},
        {5, "GPIO2(h3A)"},
        {5, "GPIO3(h3B)"},
        {5, "GPIO4(h3C)"},
        {5, "GPIO5(h3D)"},
        {5, "GPIO6(h3E)"},
        {5, "GPIO0 is asserted"},
        {5, "GPIO6 is asserted"},
        {5, "(a) If GPIOX is asserted such that fans should be driven at Alarm Speed then Fan1 "
            "will be set to this speed when this bit is set."},
        {5, "(b) If GPIOX is asserted such that fans should be driven at Alarm Speed then Fan2 "
            "will be set to this speed when this bit is set."},
        {6, "Local Temp (h48)"},
        {6, "TDM 1 (h49)"},
        {6, "TDM 2 (h4A)"},
        {6, "Local Temp out of limit event"},
        {6, "TDM1 out of limit event"},
        {6, "TDM2 out of limit event"},
        {7, "Ain 0 (Reg 58h)"},
        {7, "Ain 1 (Reg 59h)"},
        {7, "On Ain 0 out of limit event"},
        {7, "On Ain 1 out of limit event"},
        {7,
         "If an Ain channel out of limit event is generated such that fans should be driven at "
         "Alarm Speed then the coresponding fan will be set to this speed when this bit is set."},
        {9, "Fan 1"},
        {9, "Fan 2"},
        {10, "Fan 1"},
        {10, "Fan 2"},
        {11, "You can now measure the fan speed using the graph."},
    };
    for (const auto& [step, content] : texts) {
        EXPECT_TRUE(pageShowsText(w, step, QString::fromLatin1(content)))
            << step << ": " << content;
    }
    EXPECT_EQ(find<QLabel>(w, QStringLiteral("DescriptionLBL_11"))->text(),
              QStringLiteral("You can now measure the fan speed using the graph."));
    auto* tabs = find<QTabWidget>(w, QStringLiteral("FanFaultTab"));
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Fan 1"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Fan 2"));
}

TEST_F(FanConfigPagesTest, EveryControlCarriesItsCaption) {
    FanConfigFRM& w = show<FanConfigFRM>();
    QList<std::pair<QString, QString>> captions;
    const char* const fault[8] = {"Generate CFAULT",
                                  "Generate INT",
                                  "Generate CFAULT",
                                  "Generate INT",
                                  "Run fans at Alarm speed",
                                  "Generate FAULT",
                                  "Run Fans at hot-plug speed",
                                  "Run Fans at alarm speed"};
    for (int fan = 1; fan <= 2; ++fan) {
        for (int bit = 0; bit < 8; ++bit) {
            captions.append({QStringLiteral("Fan%1FaultCHK_%2").arg(fan).arg(bit), fault[bit]});
        }
        captions.append({QStringLiteral("Fan%1CFaultPriorityCHK").arg(fan), "Hot-Plug Priority"});
        captions.append({QStringLiteral("FanChk%1_0").arg(fan), "Drive Fan 1 to  Alarm Speed (a)"});
        captions.append({QStringLiteral("FanChk%1_1").arg(fan), "Drive Fan 2 to  Alarm Speed (b)"});
        const char* const pwm[4] = {"15.625 Hz", "62.5 Hz", "250 Hz", "1000Hz"};
        const char* const tach[4] = {"Measurement Disabled", "470 Hz", "940 Hz", "1880 Hz"};
        for (int i = 0; i < 4; ++i) {
            captions.append({QStringLiteral("Fan%1Chk_%2").arg(fan).arg(i), pwm[i]});
            captions.append({QStringLiteral("Fan%1TachCHK_%2").arg(fan).arg(i), tach[i]});
        }
    }
    for (int gpio = 0; gpio < 7; ++gpio) {
        captions.append({QStringLiteral("GPIO%1CHK_0").arg(gpio), "Set Fan1 to AlrmSpeed (a)"});
        captions.append({QStringLiteral("GPIO%1CHK_1").arg(gpio), "Set Fan2 to AlrmSpeed (b)"});
    }
    const std::pair<const char*, const char*> temps[] = {
        {"Temp0CHK", "Local Temp"}, {"TDM1CHK", "TDM1"}, {"TDM2CHK", "TDM2"}};
    for (const auto& [prefix, channel] : temps) {
        for (int fan = 1; fan <= 2; ++fan) {
            captions.append({QStringLiteral("%1_%2").arg(QLatin1String(prefix)).arg(fan - 1),
                             QStringLiteral("1-set Fan%1 to alarm speed, 0-set Fan%1 to %2 AFC "
                                            "settings ")
                                 .arg(fan)
                                 .arg(QLatin1String(channel))});
        }
    }
    for (int ain = 0; ain < 2; ++ain) {
        captions.append({QStringLiteral("Ain%1CHK_0").arg(ain), "Set Fan 1 to Alarm Speed"});
        captions.append({QStringLiteral("Ain%1CHK_1").arg(ain), "Set Fan 2 to Alarm Speed"});
    }
    const char* const spinUp[9] = {"16 Seconds",   "8 Seconds",    "4 Seconds",
                                   "2 Seconds",    "1 Second",     "0.25 Seconds",
                                   "1/16 Seconds", "1/64 Seconds", "Spin-up Disabled"};
    for (int i = 0; i < 9; ++i) {
        captions.append({QStringLiteral("FanSpinUpOP_%1").arg(i), spinUp[i]});
    }
    captions.append({QStringLiteral("ConfigAFCCMD"), "Configure AFC Settings"});
    for (const auto& [name, caption] : captions) {
        auto* button = find<QAbstractButton>(w, name);
        ASSERT_NE(button, nullptr) << name.toStdString();
        EXPECT_EQ(button->text(), caption) << name.toStdString();
    }
}

TEST_F(FanConfigPagesTest, SpeedPagesReadBothFansAndShowTheCodesAsPercent) {
    chip()[0x60] = 0x35;
    chip()[0x61] = 0xA7;
    chip()[0x68] = 0xC4;
    chip()[0x69] = 0x0F;
    const struct {
        int step;
        QStringList reads;
        const char* sliders[2];
        int values[2];
        const char* labels[2];
        const char* texts[2];
    } pages[] = {
        {0,
         {"R60=35", "R61=A7"},
         {"Fan1NormSpeedSlider", "Fan2NormSpeedSlider"},
         {5, 7},
         {"Fan1SLBL", "Fan2SLBL"},
         {"33.33", "46.67"}},
        {1,
         {"R60=35", "R61=A7"},
         {"Fan1AlarmSlider", "Fan2AlarmSlider"},
         {3, 10},
         {"Fan1AlrmLBL", "Fan2AlrmLBL"},
         {"20", "66.67"}},
        {2,
         {"R68=C4", "R69=0F"},
         {"Fan1HotPlugSlider", "Fan2HotPlugSlider"},
         {4, 15},
         {"Fan1HotPlugLBL", "Fan2HotPlugLBL"},
         {"26.67", "100"}},
    };
    for (const auto& page : pages) {
        SCOPED_TRACE(page.step);
        // Loading sets the sliders without writing anything back.
        EXPECT_EQ(load(page.step), page.reads);
        FanConfigFRM& w = show<FanConfigFRM>();
        for (int fan = 0; fan < 2; ++fan) {
            EXPECT_EQ(sliderValue(w, QString::fromLatin1(page.sliders[fan])), page.values[fan]);
            EXPECT_EQ(text(w, QString::fromLatin1(page.labels[fan])),
                      QString::fromLatin1(page.texts[fan]));
            auto* slider = find<QSlider>(w, QString::fromLatin1(page.sliders[fan]));
            EXPECT_EQ(slider->minimum(), 0);
            EXPECT_EQ(slider->maximum(), 15);
            EXPECT_FALSE(slider->accessibleName().isEmpty());
        }
    }
}

TEST_F(FanConfigPagesTest, ASpeedSliderWritesItsNibbleAndShowsThePercent) {
    const struct {
        int step;
        const char* slider;
        quint8 reg;
        quint8 before;
        int value;
        QStringList traffic;
        const char* label;
        const char* text;
    } cases[] = {
        {0, "Fan1NormSpeedSlider", 0x60, 0xA0, 1, {"R60=A0", "W60=A1"}, "Fan1SLBL", "6.67"},
        {0, "Fan2NormSpeedSlider", 0x61, 0x5F, 0, {"R61=5F", "W61=50"}, "Fan2SLBL", "0"},
        {1, "Fan2AlarmSlider", 0x61, 0x05, 15, {"R61=05", "W61=F5"}, "Fan2AlrmLBL", "100"},
        {1, "Fan1AlarmSlider", 0x60, 0xF3, 8, {"R60=F3", "W60=83"}, "Fan1AlrmLBL", "53.33"},
        {2, "Fan1HotPlugSlider", 0x68, 0xC0, 9, {"R68=C0", "W68=C9"}, "Fan1HotPlugLBL", "60"},
        {2, "Fan2HotPlugSlider", 0x69, 0x7F, 2, {"R69=7F", "W69=72"}, "Fan2HotPlugLBL", "13.33"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slider);
        chip()[c.reg] = c.before;
        FanConfigFRM& w = at(c.step);
        find<QSlider>(w, QString::fromLatin1(c.slider))->setValue(c.value);
        EXPECT_EQ(traffic(), c.traffic);
        EXPECT_EQ(text(w, QString::fromLatin1(c.label)), QString::fromLatin1(c.text));
    }
}

TEST_F(FanConfigPagesTest, ASliderWritesOnceWhenADragEndsAndOnEveryKeyboardStep) {
    chip()[0x60] = 0x32;
    FanConfigFRM& w = at(0);
    auto* slider = find<QSlider>(w, QStringLiteral("Fan1NormSpeedSlider"));
    slider->setSliderDown(true);
    slider->setSliderPosition(5);
    slider->setSliderPosition(7);
    // While dragging the label follows the handle and the chip is left alone.
    EXPECT_EQ(text(w, QStringLiteral("Fan1SLBL")), QStringLiteral("46.67"));
    EXPECT_TRUE(traffic().isEmpty());
    slider->setSliderDown(false);
    EXPECT_EQ(traffic(), QStringList({"R60=32", "W60=37"}));

    QTest::keyClick(slider, Qt::Key_Right);
    QTest::keyClick(slider, Qt::Key_Left);
    QTest::keyClick(slider, Qt::Key_Left);
    EXPECT_EQ(traffic(), QStringList({"R60=37", "W60=38", "R60=38", "W60=37", "R60=37", "W60=36"}));
    EXPECT_EQ(text(w, QStringLiteral("Fan1SLBL")), QStringLiteral("40"));
}

TEST_F(FanConfigPagesTest, TheFaultActionPageReadsBitByBitWithThePriorityBoxesOnEveryPass) {
    QStringList expected;
    for (int bit = 0; bit < 8; ++bit) {
        expected << "R18=00"
                 << "R10=00"
                 << "R19=00"
                 << "R11=00";
    }
    EXPECT_EQ(load(3), expected);
}

TEST_F(FanConfigPagesTest, ALoadedBitThatChangesABoxIsWrittenBackAndAnUnchangedOneIsNot) {
    chip()[0x18] = 0x81; // bits 0 and 7
    chip()[0x10] = 0x20; // hot-plug priority
    chip()[0x19] = 0x10; // bit 4
    chip()[0x11] = 0x00;
    QStringList expected;
    for (int bit = 0; bit < 8; ++bit) {
        const bool fan1 = bit == 0 || bit == 7;
        expected << "R18=81";
        if (fan1) {
            expected << "R18=81"
                     << "W18=81";
        }
        expected << "R10=20";
        if (bit == 0) {
            expected << "R10=20"
                     << "W10=20";
        }
        expected << "R19=10";
        if (bit == 4) {
            expected << "R19=10"
                     << "W19=10";
        }
        expected << "R11=00";
    }
    EXPECT_EQ(load(3), expected);
    FanConfigFRM& w = show<FanConfigFRM>();
    for (int bit = 0; bit < 8; ++bit) {
        EXPECT_EQ(checked(w, QStringLiteral("Fan1FaultCHK_%1").arg(bit)), bit == 0 || bit == 7);
        EXPECT_EQ(checked(w, QStringLiteral("Fan2FaultCHK_%1").arg(bit)), bit == 4);
    }
    EXPECT_TRUE(checked(w, QStringLiteral("Fan1CFaultPriorityCHK")));
    EXPECT_FALSE(checked(w, QStringLiteral("Fan2CFaultPriorityCHK")));

    // Shown again with nothing changed on the chip: reads only.
    clickStep(w, 0);
    clearTraffic();
    clickStep(w, 3);
    EXPECT_TRUE(traffic().filter(QLatin1String("W")).isEmpty());
}

TEST_F(FanConfigPagesTest, TheMaskPagesReadBitZeroThenBitOneOfEachRegisterInTurn) {
    chip()[0x20] = 0x02;
    chip()[0x3C] = 0x01;
    chip()[0x4A] = 0x03;
    chip()[0x59] = 0x02;
    const struct {
        int step;
        QStringList traffic;
    } pages[] = {
        {4, {"R20=02", "R20=02", "R20=02", "W20=02", "R21=00", "R21=00"}},
        {5,
         {"R38=00", "R38=00", "R39=00", "R39=00", "R3A=00", "R3A=00", "R3B=00", "R3B=00", "R3C=01",
          "R3C=01", "W3C=01", "R3C=01", "R3D=00", "R3D=00", "R3E=00", "R3E=00"}},
        {6,
         {"R48=00", "R48=00", "R49=00", "R49=00", "R4A=03", "R4A=03", "W4A=03", "R4A=03", "R4A=03",
          "W4A=03"}},
        {7, {"R58=00", "R58=00", "R59=02", "R59=02", "R59=02", "W59=02"}},
    };
    for (const auto& page : pages) {
        SCOPED_TRACE(page.step);
        EXPECT_EQ(load(page.step), page.traffic);
    }
    FanConfigFRM& w = show<FanConfigFRM>();
    EXPECT_TRUE(checked(w, QStringLiteral("FanChk1_1")));
    EXPECT_FALSE(checked(w, QStringLiteral("FanChk1_0")));
    EXPECT_TRUE(checked(w, QStringLiteral("GPIO4CHK_0")));
    EXPECT_TRUE(checked(w, QStringLiteral("TDM2CHK_0")));
    EXPECT_TRUE(checked(w, QStringLiteral("TDM2CHK_1")));
    EXPECT_TRUE(checked(w, QStringLiteral("Ain1CHK_1")));
}

TEST_F(FanConfigPagesTest, EveryBitBoxSetsAndClearsExactlyItsBit) {
    struct Box {
        QString name;
        int step;
        quint8 reg;
        int bit;
    };
    QList<Box> boxes;
    for (int fan = 0; fan < 2; ++fan) {
        for (int bit = 0; bit < 8; ++bit) {
            boxes.append({QStringLiteral("Fan%1FaultCHK_%2").arg(fan + 1).arg(bit), 3,
                          quint8(0x18 + fan), bit});
        }
        boxes.append(
            {QStringLiteral("Fan%1CFaultPriorityCHK").arg(fan + 1), 3, quint8(0x10 + fan), 5});
        for (int bit = 0; bit < 2; ++bit) {
            boxes.append(
                {QStringLiteral("FanChk%1_%2").arg(fan + 1).arg(bit), 4, quint8(0x20 + fan), bit});
            boxes.append(
                {QStringLiteral("Ain%1CHK_%2").arg(fan).arg(bit), 7, quint8(0x58 + fan), bit});
        }
    }
    for (int gpio = 0; gpio < 7; ++gpio) {
        for (int bit = 0; bit < 2; ++bit) {
            boxes.append(
                {QStringLiteral("GPIO%1CHK_%2").arg(gpio).arg(bit), 5, quint8(0x38 + gpio), bit});
        }
    }
    const char* const temps[3] = {"Temp0CHK", "TDM1CHK", "TDM2CHK"};
    for (int channel = 0; channel < 3; ++channel) {
        for (int bit = 0; bit < 2; ++bit) {
            boxes.append({QStringLiteral("%1_%2").arg(QLatin1String(temps[channel])).arg(bit), 6,
                          quint8(0x48 + channel), bit});
        }
    }
    ASSERT_EQ(boxes.size(), 46);
    for (const Box& box : boxes) {
        SCOPED_TRACE(box.name.toStdString());
        chip()[box.reg] = 0x00;
        FanConfigFRM& w = at(box.step);
        const quint8 others = quint8(~(1u << box.bit)) & 0x5A; // some neighbours set meanwhile
        chip()[box.reg] = others;
        auto* check = find<QCheckBox>(w, box.name);
        ASSERT_NE(check, nullptr);
        if (box.step == 3) {
            // The box's own tab is the one the user brings to the front first.
            find<QTabWidget>(w, QStringLiteral("FanFaultTab"))
                ->setCurrentIndex(box.name.startsWith(QLatin1String("Fan2")) ? 1 : 0);
            QCoreApplication::processEvents();
        }
        ASSERT_TRUE(check->isVisible());
        clickIndicator(check);
        const quint8 set = quint8(others | (1u << box.bit));
        const auto hex = [](quint8 v) {
            return QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0')).toUpper();
        };
        const QString reg = hex(box.reg);
        EXPECT_EQ(traffic(),
                  QStringList({"R" + reg + "=" + hex(others), "W" + reg + "=" + hex(set)}));
        clickIndicator(check);
        EXPECT_EQ(traffic(),
                  QStringList({"R" + reg + "=" + hex(set), "W" + reg + "=" + hex(others)}));
        EXPECT_EQ(chip()[box.reg], others);
    }
}

TEST_F(FanConfigPagesTest, TheSpinUpPageSelectsTheCodeAndRewritesItAsTheBareOptionIndex) {
    const struct {
        quint8 before;    // 0x0C when the page was shown before (0xFF: not shown before)
        quint8 register_; // 0x0C now
        int selected;
        QStringList traffic;
    } cases[] = {
        {0xFF, 0x03, 3, {"R0C=03", "W0C=03"}}, {0xFF, 0x00, 0, {"R0C=00", "W0C=00"}},
        {0xFF, 0x23, 3, {"R0C=23", "W0C=03"}}, {0xFF, 0x08, 8, {"R0C=08", "W0C=08"}},
        {0xFF, 0x0F, 8, {"R0C=0F", "W0C=08"}}, {0x02, 0x2B, 8, {"R0C=2B", "W0C=08"}},
        {0x07, 0x07, 7, {"R0C=07"}},           {0x08, 0x09, 8, {"R0C=09"}},
        {0x05, 0xF5, 5, {"R0C=F5"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.before) << " -> " << int(c.register_));
        FanConfigFRM& w = show<FanConfigFRM>();
        if (c.before != 0xFF) {
            chip()[0x0C] = c.before;
            clickStep(w, 8);
            clickStep(w, 0);
        }
        chip()[0x0C] = c.register_;
        clearTraffic();
        clickStep(w, 8);
        EXPECT_EQ(traffic(), c.traffic);
        for (int i = 0; i < 9; ++i) {
            EXPECT_EQ(checked(w, QStringLiteral("FanSpinUpOP_%1").arg(i)), i == c.selected) << i;
        }
        click(w, QStringLiteral("CancelCMD"));
        deleteClosedWindows();
    }
}

TEST_F(FanConfigPagesTest, ChoosingASpinUpOptionWritesItsIndexWithoutReading) {
    chip()[0x0C] = 0x00;
    FanConfigFRM& w = at(8);
    for (int i = 8; i >= 1; --i) {
        chip()[0x0C] = 0xF0;
        clickIndicator(find<QRadioButton>(w, QStringLiteral("FanSpinUpOP_%1").arg(i)));
        EXPECT_EQ(traffic(), QStringList({QStringLiteral("W0C=0%1").arg(i)}));
    }
    // Clicking the option already selected changes nothing.
    clickIndicator(find<QRadioButton>(w, QStringLiteral("FanSpinUpOP_1")));
    EXPECT_TRUE(traffic().isEmpty());
}

TEST_F(FanConfigPagesTest, ThePwmPageChecksTheCodedBoxAndWritesBackOnlyWhenABoxChanges) {
    chip()[0x68] = 0x25;
    chip()[0x69] = 0xF5;
    EXPECT_EQ(load(9), QStringList({"R68=25", "R68=25", "W68=25", "R69=F5", "R69=F5", "W69=F5"}));
    FanConfigFRM& w = show<FanConfigFRM>();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(checked(w, QStringLiteral("Fan1Chk_%1").arg(i)), i == 2);
        EXPECT_EQ(checked(w, QStringLiteral("Fan2Chk_%1").arg(i)), i == 3);
    }
    clickStep(w, 0);
    clearTraffic();
    clickStep(w, 9);
    EXPECT_EQ(traffic(), QStringList({"R68=25", "R69=F5"}));
}

TEST_F(FanConfigPagesTest, APwmBoxChoosesItsFrequencyAndTheCheckedBoxWritesTheSameAgain) {
    chip()[0x68] = 0xFF;
    FanConfigFRM& w = at(9);
    click(w, QStringLiteral("Fan1Chk_1"));
    EXPECT_EQ(traffic(), QStringList({"R68=FF", "W68=DF"}));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(checked(w, QStringLiteral("Fan1Chk_%1").arg(i)), i == 1) << i;
    }
    clickIndicator(find<QCheckBox>(w, QStringLiteral("Fan1Chk_1")));
    EXPECT_EQ(traffic(), QStringList({"R68=DF", "W68=DF"}));
    EXPECT_TRUE(checked(w, QStringLiteral("Fan1Chk_1")));

    chip()[0x69] = 0x0A;
    click(w, QStringLiteral("Fan2Chk_3"));
    EXPECT_EQ(traffic(), QStringList({"R69=0A", "W69=3A"}));
    EXPECT_FALSE(checked(w, QStringLiteral("Fan2Chk_0")));
}

TEST_F(FanConfigPagesTest, TheTachPageLetsTheFansReReadTheirOscillatorOnEveryClickEvent) {
    chip()[0x68] = 0x45; // 470 Hz
    chip()[0x69] = 0x85; // 940 Hz
    // The loader's check raises one event; the group's own uncheck and re-check raise two more,
    // which are ignored but still end with the fan's re-read.
    EXPECT_EQ(load(10), QStringList({"R68=45", "R68=45", "R68=45", "R68=45", "W68=45", "R68=45",
                                     "R69=85", "R69=85", "R69=85", "R69=85", "W69=85", "R69=85"}));
    EXPECT_EQ(env.state.Fan0().storedOscillatorFrequency(), 470);
    EXPECT_EQ(env.state.Fan1().storedOscillatorFrequency(), 940);
}

TEST_F(FanConfigPagesTest, MeasurementDisabledClearsTheOscillatorBitsAndTheFanThenReportsZero) {
    chip()[0x68] = 0xC5;
    FanConfigFRM& w = at(10);
    EXPECT_EQ(env.state.Fan0().storedOscillatorFrequency(), 1880);
    clickIndicator(find<QCheckBox>(w, QStringLiteral("Fan1TachCHK_0")));
    EXPECT_EQ(traffic(), QStringList({"R68=C5", "R68=C5", "R68=C5", "R68=C5", "W68=05", "R68=05"}));
    EXPECT_EQ(chip()[0x68], 0x05);
    EXPECT_EQ(env.state.Fan0().storedOscillatorFrequency(), 0);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(checked(w, QStringLiteral("Fan1TachCHK_%1").arg(i)), i == 0) << i;
    }

    chip()[0x69] = 0x3F;
    click(w, QStringLiteral("Fan2TachCHK_2"));
    EXPECT_EQ(env.state.Fan1().storedOscillatorFrequency(), 940);
    EXPECT_EQ(chip()[0x69], 0xBF);
    // Fan 1's channel was not asked.
    EXPECT_EQ(env.state.Fan0().storedOscillatorFrequency(), 0);
}

TEST_F(FanConfigPagesTest, TheLastPageReadsNothing) {
    EXPECT_TRUE(load(11).isEmpty());
}

TEST_F(FanConfigPagesTest, ConfigureAfcOpensTheTutorAndTheWizardStaysOpen) {
    QStringList opened;
    env.ctx.openers.insert(QStringLiteral("AFCTutorFRM"),
                           [&] { opened << QStringLiteral("AFCTutorFRM"); });
    FanConfigFRM& w = at(6);
    QTest::mouseClick(find<QPushButton>(w, QStringLiteral("ConfigAFCCMD")), Qt::LeftButton);
    EXPECT_EQ(opened, QStringList({"AFCTutorFRM"}));
    deleteClosedWindows();
    EXPECT_EQ(env.windows.find<FanConfigFRM>(), &w);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.CurrentStep(), 6);
}

TEST_F(FanConfigPagesTest, AFailedWriteReachesTheBoundaryAndTheViewStays) {
    FanConfigFRM& w = at(4);
    env.recording()->failNext(1, QStringLiteral("BusEngine.WriteByte"));
    click(w, QStringLiteral("FanChk2_1"));
    EXPECT_EQ(env.errors.failureCount(), 1);
    ASSERT_EQ(env.dialogs.messages.size(), 1);
    EXPECT_TRUE(env.dialogs.messages[0].text.contains(QLatin1String("WriteByte")));
    EXPECT_TRUE(w.isVisible());

    clickStep(w, 0);
    clearTraffic();
    env.recording()->failNext(1, QStringLiteral("BusEngine.ReadByte"));
    find<QSlider>(w, QStringLiteral("Fan1NormSpeedSlider"))->setValue(4);
    EXPECT_EQ(env.errors.failureCount(), 2);
    // Nothing was written after the failed read.
    EXPECT_TRUE(traffic().filter(QLatin1String("W")).isEmpty());
}

} // namespace
} // namespace qmf::test
