// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/text/Twips.h"
#include "gui/shell/frmMain.h"
#include "gui/support/TestContext.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qmf::test {

// The main window on the recording board, its settings in a temporary folder.
class FrmMainFixture : public ::testing::Test {
protected:
    FrmMainFixture() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    }
    ~FrmMainFixture() override { t.windows.destroyAll(); }

    frmMain& createMain() { return t.windows.get<frmMain>(t.ctx); }
    template <class T = QAction> static T* child(QObject& parent, const char* name) {
        T* found = parent.findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    static void flushDeletes() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void store(const char* left, const char* top) {
        QSettings settings(file, QSettings::IniFormat);
        settings.setValue(QStringLiteral("Settings/MainLeft"), QLatin1String(left));
        settings.setValue(QStringLiteral("Settings/MainTop"), QLatin1String(top));
    }
    QString stored(const char* key) const {
        return QSettings(file, QSettings::IniFormat)
            .value(QStringLiteral("Settings/") + QLatin1String(key))
            .toString();
    }
    // Where a position in twips lands on this screen.
    static QPoint pixels(const QWidget& window, double left, double top) {
        return {text::twipsToPixels(left, window.logicalDpiX()),
                text::twipsToPixels(top, window.logicalDpiY())};
    }

    QTemporaryDir settingsDir; // instead of the user's settings
    // The position is kept per user under the application's name, section "Settings".
    const QString file = settingsDir.filePath(QStringLiteral("QMF4150 Evaluation Software.conf"));
    TestContext t{TestContext::Recording};
};

} // namespace qmf::test
