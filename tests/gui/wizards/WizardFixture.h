// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/support/TestContext.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QSlider>
#include <QStackedWidget>
#include <QTest>
#include <array>
#include <gtest/gtest.h>

// Failure messages show texts as texts.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace qmf::test {

// A wizard test on the recording board (chip at 5Eh on the printer port). The register traffic
// is read back in a compact form: "R60=05" for a read of 0x60 that returned 0x05, "W60=F5" for a
// write of 0xF5, with " FAILED" appended to a failed transfer.
class WizardFixture : public ::testing::Test {
protected:
    TestContext env{TestContext::Recording};

    std::array<quint8, 256>& chip() { return env.recording()->parallelRegisters(0, false, 0x5E); }

    // The transfers since the last call (or since clearTraffic()), then forgets them.
    QStringList traffic() {
        QStringList result;
        for (const QString& line : env.recording()->transfers()) {
            const bool write = line.contains(QLatin1String("WriteByte("));
            const QString args = line.section(QLatin1Char('('), 1).section(QLatin1Char(')'), 0, 0);
            const QString reg = args.section(QLatin1Char(','), 1, 1);
            QString entry =
                write ? QStringLiteral("W%1=%2").arg(reg, args.section(QLatin1Char(','), 2, 2))
                      : QStringLiteral("R%1=%2").arg(reg, line.section(QLatin1Char('='), 1, 1));
            if (line.endsWith(QLatin1String(" FAILED"))) {
                entry = (write ? QStringLiteral("W") : QStringLiteral("R")) + reg +
                        QStringLiteral(" FAILED");
            }
            result << entry;
        }
        env.recording()->clearLog();
        return result;
    }
    void clearTraffic() { env.recording()->clearLog(); }

    // The window, created through the registry as the program does it (not shown).
    template <class W> W& create() { return env.windows.get<W>(env.ctx); }
    // The window, shown as the program shows it.
    template <class W> W& show() { return env.windows.show<W>(env.ctx); }

    template <class T = QWidget> static T* find(QWidget& window, const QString& name) {
        T* child = window.findChild<T*>(name);
        EXPECT_NE(child, nullptr) << name.toStdString();
        return child;
    }

    // Clicks the step list entry `step` of a wizard with the mouse.
    static void clickStep(QWidget& wizard, int step) {
        QLabel* label = find<QLabel>(wizard, QStringLiteral("StepLBL_%1").arg(step));
        ASSERT_NE(label, nullptr);
        QTest::mouseClick(label, Qt::LeftButton);
        // Lay the page out now, so that its controls can be clicked where the user sees them.
        QCoreApplication::processEvents();
    }
    // A mouse click on the indicator of a check box or option button (the middle of a wide one
    // may lie beyond its text, where a click does nothing).
    static void clickIndicator(QAbstractButton* button) {
        ASSERT_NE(button, nullptr);
        const int middle = button->height() / 2;
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(middle, middle));
    }
    static void click(QWidget& window, const QString& name) {
        QAbstractButton* button = find<QAbstractButton>(window, name);
        ASSERT_NE(button, nullptr);
        button->click();
    }
    static bool checked(QWidget& window, const QString& name) {
        QAbstractButton* button = find<QAbstractButton>(window, name);
        return button != nullptr && button->isChecked();
    }
    static QString text(QWidget& window, const QString& name) {
        QLabel* label = find<QLabel>(window, name);
        return label ? label->text() : QString();
    }
    static int sliderValue(QWidget& window, const QString& name) {
        QSlider* slider = find<QSlider>(window, name);
        return slider ? slider->value() : -9999;
    }
    // The objectName of the page on show.
    static QString shownPage(QWidget& wizard) {
        auto* pages = wizard.findChild<QStackedWidget*>(QStringLiteral("StepPages"));
        return pages && pages->currentWidget() ? pages->currentWidget()->objectName() : QString();
    }
    static void deleteClosedWindows() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

} // namespace qmf::test
