// SPDX-License-Identifier: GPL-3.0-or-later
// What every test of the device search wizard stands on: the wizard opened on a board, its
// controls found by name, a search run as the user runs it.
#pragma once

#include "boards/linux/LinuxBoard.h"
#include "boards/sim/SimulatedChip.h"
#include "boards/sim/SimulatedDeviceIo.h"
#include "boards/sim/SimulatedI2cLayout.h"
#include "boards/sim/SmbusTargetSim.h"
#include "gui/link/InitForm.h"
#include "gui/shell/frmMain.h"
#include "gui/support/TestContext.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
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

// Failure messages show texts as texts.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace qmf::test {

inline const QString PortFind5E = QStringLiteral("Found an QMF4150 at:5Eh, on printer port:378h");
inline const QString SmbusFind5C = QStringLiteral("An QMF4150 was found at:5Ch, on the SMBus");

// The wizard on the recording board (one printer port at 378h whose chip answers at 5Eh with
// AlternateMode False), with the shared state as the program starts: nothing chosen yet.
class InitFormTest : public ::testing::Test {
public:
    explicit InitFormTest(TestContext::BoardKind kind = TestContext::Recording) : t(kind) {
        start();
    }
    explicit InitFormTest(BoardFactory board) : t(std::move(board)) { start(); }
    void start() {
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

// A lab PC without printer ports, as the real-hardware board link sees it through a simulated
// sysfs and i2c-dev layout: what a test plugs in before it opens the wizard is there when the
// board link is created (at the wizard's load, as in the program). A QMF4150 answers at 5Ch
// behind every MCP2221.
struct AdapterLayout {
    QString plug(sim::SimulatedI2cLayout::Adapter adapter, int number) {
        const QString node = layout.plug(adapter, number);
        if (adapter == sim::SimulatedI2cLayout::Adapter::Mcp2221) {
            io->addI2cDevice(node, 0x5C >> 1, device);
        }
        return node;
    }
    QString node(int number) const { return layout.node(number); }

    QTemporaryDir root;
    std::shared_ptr<sim::SimulatedDeviceIo> io = std::make_shared<sim::SimulatedDeviceIo>();
    sim::SimulatedI2cLayout layout{root.path(), io};
    ManualClock chipClock;
    sim::SimulatedChip chip{chipClock};
    sim::ChipBusDevice device{chip};
    QString named; // --smbus
};

class InitFormOnAdapters : protected AdapterLayout, public InitFormTest {
public:
    InitFormOnAdapters()
        : InitFormTest([this] {
              linux_hw::LinuxBoardOptions options = layout.options();
              options.smbusDevice = named;
              return linux_hw::makeLinuxBoard(options);
          }) {}

    QListWidget* adapterList() { return control<QListWidget>("SMBusAdapterLIST"); }
    QStringList adapterLines() {
        QStringList lines;
        for (int row = 0; row < adapterList()->count(); ++row) {
            lines << adapterList()->item(row)->text().replace(root.path(), QString());
        }
        return lines;
    }
    // The line the user sees chosen, empty when none is.
    QString chosenLine() {
        const QList<QListWidgetItem*> chosen = adapterList()->selectedItems();
        return chosen.isEmpty() ? QString()
                                : chosen.first()->text().replace(root.path(), QString());
    }
    // Saves the wizard's picture into $QMF_RENDER_DIR, when set, for a look.
    void keepPicture(const char* file) {
        const QString dir = qEnvironmentVariable("QMF_RENDER_DIR");
        if (!dir.isEmpty()) {
            EXPECT_TRUE(wizard_->grab().save(QDir(dir).filePath(QLatin1String(file))));
        }
    }
    void chooseLine(int row) {
        QListWidget* list = adapterList();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }
};

inline const QString Found = QStringLiteral("Please select one of the QMF4150s found above.");
inline const QString Sorry =
    QStringLiteral("Sorry, no QMF4150s were found. Please check all connections and try again");

} // namespace qmf::test
