// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/support/TestContext.h"
#include "gui/wizards/StepWizard.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QRegularExpression>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

// Failure messages show texts as texts.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace qmf::test {

using namespace Qt::StringLiterals;

// A wizard test, on the recording board (chip at 5Eh on the printer port) unless told otherwise.
class WizardFixture : public ::testing::Test {
protected:
    explicit WizardFixture(TestContext::BoardKind kind = TestContext::Recording) : env(kind) {}

    TestContext env;
    QWidget* w = nullptr; // the window that find() searches

    std::array<quint8, 256>& chip() { return env.recording()->parallelRegisters(0, false, 0x5E); }
    // The transfers since the last call, then forgets them: "R60=05 W60=F5" is a read of 0x60
    // that returned 0x05 and a write of 0xF5 to it; failed ones end in "!" ("R60!", "W60=F5!").
    QString traffic() {
        QStringList result;
        for (const QString& line : env.recording()->transfers()) {
            const bool failed = line.endsWith(u" FAILED"_s);
            const QStringList args = line.section(u'(', 1).section(u')', 0, 0).split(u',');
            result << (args.size() == 3 ? u"W%1=%2"_s.arg(args[1], args[2])
                       : failed         ? u"R%1"_s.arg(args[1])
                                        : u"R%1=%2"_s.arg(args[1], line.section(u'=', 1))) +
                          (failed ? u"!"_s : QString());
        }
        env.recording()->clearLog();
        return result.join(u' ');
    }
    template <class W> W& show() { return *static_cast<W*>(w = &env.windows.show<W>(env.ctx)); }
    // The wizard of type W showing `step`, with the traffic up to there forgotten.
    template <class W> void at(int step) {
        show<W>();
        clickStep(step);
        traffic();
    }
    template <class T = QWidget> T* find(const QString& name) const {
        T* child = w->findChild<T*>(name);
        EXPECT_NE(child, nullptr) << name.toStdString();
        return child;
    }
    // Clicks a step with the mouse and lays its page out, so its controls can be clicked.
    void clickStep(int step) {
        QTest::mouseClick(find(u"StepLBL_%1"_s.arg(step)), Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    void click(const QString& name) { find<QAbstractButton>(name)->click(); }
    static QString hex(int byte) {
        return QString::number(byte, 16).toUpper().rightJustified(2, u'0');
    }
    // Clicks a check box or option button on its indicator, or moves a slider to `value`.
    void operate(const QString& name, int value = 0) {
        if (auto* slider = w->findChild<QSlider*>(name)) {
            slider->setValue(value);
        } else if (auto* button = find<QAbstractButton>(name)) {
            const int middle = button->height() / 2;
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(middle, middle));
        }
    }
    // What a control shows: a slider's value, a label's text; "1" for a checked button and, for
    // the name of a control array ("Fan1Chk"), the indices of its checked elements ("2", "0 7").
    QString state(const QString& name) const {
        if (auto* slider = w->findChild<QSlider*>(name)) {
            return QString::number(slider->value());
        }
        if (auto* label = w->findChild<QLabel*>(name)) {
            return label->text();
        }
        QStringList on;
        const QRegularExpression named(u"^%1(_\\d+)?$"_s.arg(name));
        for (auto* button : w->findChildren<QAbstractButton*>(named)) {
            if (button->isChecked()) {
                on << (button->objectName() == name ? u"1"_s
                                                    : button->objectName().section(u'_', -1));
            }
        }
        return on.join(u' ');
    }
    static void deleteClosedWindows() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The states of the controls named in `expected` ("Fan1Chk=0 7, Fan1SLBL=6.67"), in its form.
    QString shown(const QString& expected) const {
        QStringList items;
        for (const QString& item : expected.split(u", "_s, Qt::SkipEmptyParts)) {
            items << item.section(u'=', 0, 0) + u'=' + state(item.section(u'=', 0, 0));
        }
        return items.join(u", "_s);
    }

    // Rows of a table: the page `step` shown with one register set before, one control operated,
    // and the traffic of the operation and what the controls show afterwards.
    struct ControlCase {
        int step, reg, before;
        const char* control;
        int value;
        const char* traffic;
        const char* shows;
    };
    template <class W> void expectControlCases(std::initializer_list<ControlCase> cases) {
        for (const ControlCase& c : cases) {
            SCOPED_TRACE(testing::Message() << c.control << " " << c.value);
            chip()[c.reg] = quint8(c.before);
            at<W>(c.step);
            operate(QLatin1String(c.control), c.value);
            EXPECT_EQ(traffic(), QLatin1String(c.traffic));
            EXPECT_EQ(shown(QLatin1String(c.shows)), QLatin1String(c.shows));
        }
    }
    // Rows of a table: as ControlCase, with the operation's write failing (failures 1) or its
    // first transfer and the one after failing (failures 2). One failure is reported.
    struct FailureCase {
        int step, reg, before;
        const char* control;
        int value, failures;
        const char* traffic;
        const char* shows;
    };
    template <class W> void expectFailureCases(std::initializer_list<FailureCase> cases) {
        for (const FailureCase& c : cases) {
            SCOPED_TRACE(testing::Message() << c.control << " " << c.value << " " << c.failures);
            chip()[c.reg] = quint8(c.before);
            at<W>(c.step);
            const int reported = env.errors.failureCount();
            env.recording()->failNext(c.failures,
                                      c.failures == 1 ? u"BusEngine.WriteByte"_s : u"BusEngine."_s);
            operate(QLatin1String(c.control), c.value);
            EXPECT_EQ(env.errors.failureCount(), reported + 1);
            EXPECT_EQ(traffic(), QLatin1String(c.traffic));
            EXPECT_EQ(shown(QLatin1String(c.shows)), QLatin1String(c.shows));
            EXPECT_EQ(chip()[c.reg], c.before) << "nothing reached the chip";
        }
    }

    // Rows of a table: with the registers set, each page shown afresh (coming from step `other`),
    // its traffic and what its controls show. Shown again with the chip unchanged, a page only
    // reads.
    struct LoadCase {
        int step;
        const char* traffic;
        const char* shows;
    };
    template <class W>
    void expectLoadCases(const char* registers, int other, std::initializer_list<LoadCase> cases) {
        for (const QString& item : QString::fromLatin1(registers).split(u' ')) { // "60=35 61=A7"
            chip()[item.section(u'=', 0, 0).toInt(nullptr, 16)] =
                quint8(item.section(u'=', 1).toInt(nullptr, 16));
        }
        for (const bool again : {false, true}) {
            for (const LoadCase& c : cases) {
                SCOPED_TRACE(testing::Message() << "step " << c.step << (again ? " again" : ""));
                at<W>(other);
                clickStep(c.step);
                const QString seen = traffic();
                EXPECT_TRUE(again ? !seen.contains(u'W') : seen == QLatin1String(c.traffic))
                    << seen.toStdString() << " expected " << c.traffic;
                EXPECT_EQ(shown(QLatin1String(c.shows)), QLatin1String(c.shows));
            }
        }
    }
};

} // namespace qmf::test
