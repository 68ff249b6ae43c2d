// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/text/NumberText.h"
#include "gui/reglist/Register_List.h"
#include "gui/support/TestContext.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace qmf::test {

// Opens Register_List through the window registry on the recording board (or the simulated one)
// and finds its controls by name.
class RegisterListTest : public ::testing::Test {
protected:
    explicit RegisterListTest(TestContext::BoardKind kind = TestContext::Recording) : t(kind) {}
    ~RegisterListTest() override { t.windows.destroyAll(); }

    Register_List& open() {
        window = &t.windows.show<Register_List>(t.ctx);
        window->resize(window->sizeHint());
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        return *window;
    }
    template <class T = QWidget> T* find(const QString& name) const {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QLabel* name(int address) const {
        return find<QLabel>(QStringLiteral("visualdisplaytext_") + text::hex(quint32(address)));
    }
    QLabel* digit(int bit) const { return find<QLabel>(QStringLiteral("bit%1").arg(bit)); }
    QLabel* bitName(int element) const {
        return find<QLabel>(QStringLiteral("bitname_%1").arg(element));
    }
    QLabel* label(const char* objectName) const { return find<QLabel>(QLatin1String(objectName)); }
    QAbstractButton* button(const char* objectName) const {
        return find<QAbstractButton>(QLatin1String(objectName));
    }
    QLineEdit* field(const char* objectName) const {
        return find<QLineEdit>(QLatin1String(objectName));
    }
    static QColor colour(const QWidget* w) { return w->palette().color(QPalette::WindowText); }

    // Shows the page that holds the name, then clicks it.
    void clickName(int address) {
        QLabel* n = name(address);
        showPageOf(n);
        QTest::mouseClick(n, Qt::LeftButton);
    }
    void showPageOf(QWidget* w) {
        auto* tabs = find<QTabWidget>(QStringLiteral("SSTab1"));
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->widget(i)->isAncestorOf(w)) {
                tabs->setCurrentIndex(i);
            }
        }
    }
    std::array<quint8, 256>& chip() { return t.recording()->parallelRegisters(0, false, 0x5E); }
    QStringList transfers() const { return t.recording()->transfers(); }
    QStringList writes() const { return transfers().filter(QStringLiteral("WriteByte")); }

    TestContext t;
    QPointer<Register_List> window;
};

} // namespace qmf::test
