// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/app/SettingsSandbox.h"
#include "gui/app/frmMain.h"
#include "gui/link/InitForm.h"
#include "gui/support/TestContext.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace qmf::test {

// The wizard on the recording board (one printer port at 378h whose chip answers at 5Eh with
// AlternateMode False), with the shared state as the program starts: nothing chosen yet.
class InitFormTest : public ::testing::Test {
public:
    InitFormTest() {
        t.state.CommsMedium = 0;
        t.state.DeviceAddress = 0;
        t.state.SavedTransferSetting = 0;
        t.state.DeviceChosen = 0;
        board().clearLog();
    }
    ~InitFormTest() override { t.windows.destroyAll(); }

    RecordingBoard& board() { return *t.recording(); }

    InitForm& openWizard() {
        InitForm& wizard = t.windows.show<InitForm>(t.ctx);
        wizard_ = &wizard;
        return wizard;
    }

    template <class T = QWidget> T* control(const char* name) {
        auto* found = wizard_->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString text(const char* name) { return control<QLabel>(name)->text(); }
    void click(const char* button) {
        QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
    }

    // The panel of the current step (only one is on view).
    QString visiblePanel() {
        QString shown;
        for (const char* name :
             {"WelcomePanel", "SeclectComsMediumPanel", "SearchingPanel", "SearchResultsPanel"}) {
            if (control(name)->isVisible()) {
                EXPECT_TRUE(shown.isEmpty()) << "two panels on view";
                shown = QLatin1String(name);
            }
        }
        return shown;
    }

    // Step 1 -> 2, choose the media, Next: the search runs at once.
    void searchWith(bool printerPort, bool smbus) {
        if (wizard_->currentStep() == 1) {
            click("NextCMD");
        }
        control<QCheckBox>("PPCheck")->setChecked(printerPort);
        control<QCheckBox>("SMBusCheck")->setChecked(smbus);
        click("NextCMD");
    }

    QStringList results() {
        QStringList entries;
        auto* list = control<QListWidget>("SearchResultsLIST");
        for (int i = 0; i < list->count(); ++i) {
            entries << list->item(i)->text();
        }
        return entries;
    }

    bool enabled(const char* button) { return control<QPushButton>(button)->isEnabled(); }

    static void flushDeletes() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    SettingsSandbox sandbox;
    TestContext t{TestContext::Recording};
    QPointer<InitForm> wizard_;
};

} // namespace qmf::test
