// SPDX-License-Identifier: GPL-3.0-or-later
// What every test of the device search wizard stands on: the wizard opened on a board, its
// controls found by name, a search run as the user runs it.
#pragma once

#include "gui/link/InitForm.h"
#include "gui/shell/frmMain.h"
#include "gui/support/TestContext.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace qmf::test {

inline const QString PortFind5E = QStringLiteral("Found an QMF4150 at:5Eh, on printer port:378h");
inline const QString SmbusFind5C = QStringLiteral("An QMF4150 was found at:5Ch, on the SMBus");

// The wizard on the recording board (one printer port at 378h whose chip answers at 5Eh with
// AlternateMode False), with the shared state as the program starts: nothing chosen yet.
class InitFormTest : public ::testing::Test {
public:
    explicit InitFormTest(TestContext::BoardKind kind = TestContext::Recording) : t(kind) {
        t.state.CommsMedium = t.state.DeviceAddress = t.state.SavedTransferSetting =
            t.state.DeviceChosen = 0;
        if (t.recording()) {
            board().clearLog();
        }
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    }
    ~InitFormTest() override { t.windows.destroyAll(); }

    RecordingBoard& board() { return *t.recording(); }
    void openWizard() { wizard_ = &t.windows.show<InitForm>(t.ctx); }

    template <class T = QWidget> T* control(const char* name) {
        auto* found = wizard_->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString text(const char* name) { return control<QLabel>(name)->text(); }
    void click(const char* button) {
        QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
    }
    // What the user sees: the step's panel (only one is on view), the enabled buttons and a note.
    QString screen() {
        QStringList shown;
        for (const char* name :
             {"WelcomePanel", "SeclectComsMediumPanel", "SearchingPanel", "SearchResultsPanel",
              "BackCMD", "NextCMD", "FinishCMD", "CancelCMD", "SearchNoteLBL"}) {
            if (control(name)->isVisible() && control(name)->isEnabled()) {
                shown << QLatin1String(name);
            }
        }
        return shown.join(u' ');
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
        for (const QListWidgetItem* item :
             control<QListWidget>("SearchResultsLIST")
                 ->findItems(QStringLiteral("*"), Qt::MatchWildcard)) {
            entries << item->text();
        }
        return entries;
    }

    static void flushDeletes() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QTemporaryDir settingsDir; // the main window's position goes here
    TestContext t;
    QPointer<InitForm> wizard_;
};

// The wizard on the simulated board, with its SMBus chip moved to 5Eh: the printer-port chip
// and the SMBus chip answer at the same address, each on its own path.
class InitFormOnTheSimulatedBoard : public InitFormTest {
public:
    InitFormOnTheSimulatedBoard() : InitFormTest(TestContext::Simulated) {
        t.simBoard()->setSmbusChipAddress(0x5E);
    }
};

inline const QString Found = QStringLiteral("Please select one of the QMF4150s found above.");
inline const QString Sorry =
    QStringLiteral("Sorry, no QMF4150s were found. Please check all connections and try again");

} // namespace qmf::test
