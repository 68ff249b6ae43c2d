// SPDX-License-Identifier: GPL-3.0-or-later
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
namespace {

const QString PortFind5E = QStringLiteral("Found an QMF4150 at:5Eh, on printer port:378h");
const QString SmbusFind5C = QStringLiteral("An QMF4150 was found at:5Ch, on the SMBus");

// The wizard on the recording board (one printer port at 378h whose chip answers at 5Eh with
// AlternateMode False), with the shared state as the program starts: nothing chosen yet.
class InitFormTest : public ::testing::Test {
public:
    InitFormTest() {
        t.state.CommsMedium = t.state.DeviceAddress = t.state.SavedTransferSetting =
            t.state.DeviceChosen = 0;
        board().clearLog();
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
    TestContext t{TestContext::Recording};
    QPointer<InitForm> wizard_;
};

const QString Found = QStringLiteral("Please select one of the QMF4150s found above.");
const QString Sorry =
    QStringLiteral("Sorry, no QMF4150s were found. Please check all connections and try again");

TEST_F(InitFormTest, TheSmbusCanBeChosenOnlyWithAController) {
    const struct {
        bool controller;
        const char* description;
        const char* baseAddress; // hex
    } cases[] = {
        {true,
         "The Southbridge or ICH of Intel chipsets. For unsupported Intel chipsets, enter SMBBA "
         "here (Hex).",
         "400"},
        {false, "Sorry, SMBus communication is only supported on Windows 95 and Windows 98.",
         "000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.controller);
        board().setSmbusAvailable(c.controller);
        openWizard();
        auto* description = control<QLabel>("SMBusSearchDescLBL");
        EXPECT_EQ(description->text(), QLatin1String(c.description));
        EXPECT_EQ(description->palette().color(QPalette::WindowText) == QColor(192, 0, 0),
                  !c.controller); // dark red
        EXPECT_FALSE(control<QCheckBox>("SMBusCheck")->isChecked());
        EXPECT_EQ(control<QCheckBox>("SMBusCheck")->isEnabled(), c.controller);
        EXPECT_EQ(control<QLineEdit>("SMBusBaseAddressTXT")->isEnabled(), c.controller);
        EXPECT_EQ(control<QLineEdit>("SMBusBaseAddressTXT")->text(), QLatin1String(c.baseAddress));
        EXPECT_FALSE(control<QCheckBox>("USBCheck")->isEnabled());
        t.windows.destroyAll();
    }
}

// The message is exactly "Error in Init Form Load"; what failed is its detailed text. The steps
// after a failing one still run, so the wizard is whole.
TEST_F(InitFormTest, ALoadFailureIsReportedOnceWithItsDetailsAndTheRestOfTheLoadRuns) {
    // A PC without a printer port: switching the heaters off fails; the base address is the
    // step after it.
    board().failNext(1, QStringLiteral("AuxOutputs"));
    openWizard();
    ASSERT_EQ(t.dialogs.messages.size(), 1);
    const auto& message = t.dialogs.messages[0];
    EXPECT_EQ(message.icon, UserDialogs::Icon::Critical);
    EXPECT_EQ(message.title, QStringLiteral("Error"));
    EXPECT_EQ(message.text, QStringLiteral("Error in Init Form Load"));
    EXPECT_TRUE(message.details.contains(QStringLiteral("AuxOutputs")))
        << message.details.toStdString();
    EXPECT_TRUE(message.details.contains(QStringLiteral("injected failure")));
    EXPECT_EQ(control<QLineEdit>("SMBusBaseAddressTXT")->text(), QStringLiteral("400"));
    EXPECT_EQ(text("WelcomeLBL").left(24), QStringLiteral("This QMF4150 Search Wiza"));
    EXPECT_EQ(screen(), QStringLiteral("WelcomePanel NextCMD CancelCMD"));
}

TEST_F(InitFormTest, LoadSwitchesTheHeatersOffAndTheKeyboardAloneFindsAndChoosesTheChip) {
    board().setTransferSettingValue(23);
    openWizard();
    QSignalSpy ending(wizard_.data(), &InitForm::programEnding);
    EXPECT_EQ(screen(), QStringLiteral("WelcomePanel NextCMD CancelCMD"));
    EXPECT_EQ(text("WelcomeLBL"),
              QStringLiteral("This QMF4150 Search Wizard will find any "
                             "QMF4150s that can be controled by this software"));
    EXPECT_EQ(board().log.filter(QRegularExpression(QStringLiteral("AuxOutputs|Byte"))),
              QStringList{QStringLiteral("AuxOutputs=0")})
        << "the heaters are switched off, the chip is not touched";
    QTest::keyClick(wizard_, Qt::Key_Return); // Next
    EXPECT_EQ(screen(), QStringLiteral("SeclectComsMediumPanel BackCMD NextCMD CancelCMD"));
    click("BackCMD");
    EXPECT_EQ(screen(), QStringLiteral("WelcomePanel NextCMD CancelCMD"));
    QTest::keyClick(wizard_, Qt::Key_Return); // Next
    QTest::keyClick(wizard_, Qt::Key_Return); // Next: the search
    EXPECT_EQ(screen(), QStringLiteral("SearchResultsPanel BackCMD FinishCMD CancelCMD"));
    EXPECT_EQ(results(), QStringList{PortFind5E});
    EXPECT_EQ(control<QListWidget>("SearchResultsLIST")->currentRow(), 0);
    EXPECT_EQ(text("SearchResultsLBL"), Found);
    EXPECT_EQ(text("SearchInsLBL"), QStringLiteral("Click Finish to continue..."));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the hourglass is gone";
    ASSERT_NE(t.windows.find<frmMain>(), nullptr) << "the main window is loaded for the search";
    EXPECT_FALSE(t.windows.find<frmMain>()->isVisible());
    EXPECT_EQ(t.state.DeviceChosen, 0) << "nothing is chosen before Finish";
    // Every candidate, AlternateMode False then True, register 0Dh only; no SMBus probe.
    QStringList probes;
    for (int mode = 0; mode < 2; ++mode) {
        for (const char* address : {"5E", "5C", "5A", "58", "56", "54", "52", "50"}) {
            probes << QStringLiteral("BusEngine.ReadByte(%1,0D)=FF").arg(QLatin1String(address));
        }
    }
    probes[0].replace(QStringLiteral("=FF"), QStringLiteral("=41"));
    EXPECT_EQ(board().transfers(), probes);

    QTest::keyClick(wizard_, Qt::Key_Return); // Finish
    flushDeletes();
    EXPECT_EQ(t.state.SavedTransferSetting, 23);
    EXPECT_EQ(t.state.DeviceChosen, -1);
    frmMain* main = t.windows.find<frmMain>();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(main->findChild<QLabel*>(QStringLiteral("DeviceLBL"))->text(),
              PortFind5E + QStringLiteral(" (recording board)"));
    EXPECT_TRUE(wizard_.isNull()) << "the wizard unloads itself";
    EXPECT_EQ(ending.count(), 0);
    EXPECT_TRUE(t.dialogs.messages.isEmpty());
}

TEST_F(InitFormTest, ProgressRunsTo33PerMediumInClampedSteps) {
    const struct {
        int ports;
        bool printerPort, smbus;
        int maximum;
        QList<int> values;
    } cases[] = {
        {2, true, false, 33, {8, 16}},
        {5, true, false, 33, {8, 16, 24, 32, 33}},
        {1, false, true, 33, {4, 8, 12, 16, 20, 24, 28, 32}},
        {2, true, true, 66, {8, 16, 20, 24, 28, 32, 36, 40, 44, 48}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ports << " ports, media " << c.printerPort << c.smbus);
        board().setPorts(QList<qint16>({0x378, 0x278, 0x3BC, 0x2BC, 0x1BC}).first(c.ports));
        openWizard();
        auto* progress = control<QProgressBar>("SearchProgress");
        QSignalSpy spy(progress, &QProgressBar::valueChanged);
        searchWith(c.printerPort, c.smbus);
        QList<int> values;
        for (const auto& arguments : spy) {
            values << arguments.at(0).toInt();
        }
        EXPECT_EQ(values, c.values + QList<int>{0}) << "reset when the results show";
        EXPECT_EQ(progress->maximum(), c.maximum);
        t.windows.destroyAll();
    }
}

TEST_F(InitFormTest, NoMediumOrNoChipLeadsBackAndANewSearchListsOnlyItsOwnFinds) {
    openWizard();
    searchWith(false, false);
    ASSERT_EQ(t.dialogs.messages.size(), 1);
    EXPECT_EQ(t.dialogs.messages[0].icon, UserDialogs::Icon::None);
    EXPECT_EQ(t.dialogs.messages[0].title + QStringLiteral(": ") + t.dialogs.messages[0].text,
              QStringLiteral("A problem was detected: Please select a search medium"));
    EXPECT_EQ(screen(), QStringLiteral("SeclectComsMediumPanel BackCMD NextCMD CancelCMD"));
    EXPECT_EQ(t.windows.find<frmMain>(), nullptr);

    board().parallelRegisters(0, false, 0x5E)[0x0D] = 0x00; // the chip does not identify
    searchWith(true, false);
    EXPECT_TRUE(results().isEmpty());
    EXPECT_EQ(text("SearchResultsLBL"), Sorry);
    EXPECT_EQ(text("SearchInsLBL"), QStringLiteral("Click Back to continue..."));
    EXPECT_EQ(screen(), QStringLiteral("SearchResultsPanel BackCMD CancelCMD"));
    click("BackCMD");
    EXPECT_EQ(screen(), QStringLiteral("SeclectComsMediumPanel BackCMD NextCMD CancelCMD"));

    board().parallelRegisters(0, false, 0x5E)[0x0D] = 0x41;
    board().addSmbusChip(0x5C);
    searchWith(true, false);
    EXPECT_EQ(results(), QStringList{PortFind5E});
    EXPECT_EQ(text("SearchResultsLBL"), Found);
    EXPECT_EQ(text("SearchInsLBL"), QStringLiteral("Click Finish to continue..."));
    click("BackCMD");
    EXPECT_TRUE(wizard_->finds().empty() && wizard_->resultAddresses().isEmpty());
    searchWith(false, true);
    EXPECT_EQ(results(), QStringList{SmbusFind5C});
    EXPECT_EQ(wizard_->resultAddresses(), QList<int>{0x5C});
}

TEST_F(InitFormTest, NoPortOrALinkFailureIsReportedAndTheSearchCanBeRepeated) {
    const struct {
        const char* failing; // none: the computer has no printer port
        const char* note;
        QStringList results; // what the medium that worked still found
    } cases[] = {
        {nullptr, "No printer port was found on this computer.", {SmbusFind5C}},
        {"BusEngine.ReadByte", "The search on the printer port failed: ", {SmbusFind5C}},
        {"Smbus.ReadByte", "The search on the SMBus failed: ", {PortFind5E}},
        {"PortAddress", "The search results could not be read: ", {}},
    };
    board().addSmbusChip(0x5C);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failing ? c.failing : "no printer port");
        openWizard();
        if (c.failing != nullptr) {
            board().failNext(1, QLatin1String(c.failing));
        } else {
            board().setPorts({});
        }
        searchWith(true, true);
        const QString note = text("SearchNoteLBL");
        EXPECT_TRUE(note.startsWith(QLatin1String(c.note))) << note.toStdString();
        EXPECT_EQ(note.contains(QStringLiteral("injected failure")), c.failing != nullptr);
        EXPECT_EQ(results(), c.results);
        EXPECT_EQ(screen(),
                  c.results.isEmpty()
                      ? QStringLiteral("SearchResultsPanel BackCMD CancelCMD SearchNoteLBL")
                      : QStringLiteral("SearchResultsPanel BackCMD FinishCMD CancelCMD "
                                       "SearchNoteLBL"));
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_TRUE(t.dialogs.messages.isEmpty()) << "reported in the wizard, not in a box";

        board().setPorts({0x378});
        click("BackCMD");
        searchWith(true, true);
        EXPECT_EQ(results(), QStringList({PortFind5E, SmbusFind5C}));
        EXPECT_EQ(screen(), QStringLiteral("SearchResultsPanel BackCMD FinishCMD CancelCMD"));
        t.windows.destroyAll();
    }
}

TEST_F(InitFormTest, TheSelectedEntryDecidesTheDeviceAndThePath) {
    // The chip at 5Eh answers in both modes: listed twice, and either entry applies both finds
    // in find order, so the last decides.
    board().addParallelChip(0, true, 0x5E);
    board().addSmbusChip(0x5C);
    const QStringList bothModes = {"PortIndex=0", "AlternateMode=0", "TargetAddress=5E",
                                   "PortIndex=0", "AlternateMode=1", "TargetAddress=5E"};
    const struct {
        int row;
        int address, commsMedium, activeMedium;
        QStringList sent; // the link settings Finish changes, in order
    } cases[] = {
        {0, 0x5E, 1, 0, bothModes},
        {1, 0x5E, 1, 0, bothModes},
        {2, 0x5C, 0, 1, {"Smbus.TargetAddress=5C"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        t.state.DeviceChosen = 0;
        openWizard();
        searchWith(true, true);
        EXPECT_EQ(results(), QStringList({PortFind5E, PortFind5E, SmbusFind5C}));
        control<QListWidget>("SearchResultsLIST")->setCurrentRow(c.row);
        board().clearLog();
        click("FinishCMD");
        EXPECT_EQ(board().log.filter(QRegularExpression(
                      QStringLiteral("(PortIndex|AlternateMode|TargetAddress)="))),
                  c.sent);
        EXPECT_EQ(t.state.DeviceAddress, c.address);
        EXPECT_EQ(t.state.CommsMedium, c.commsMedium);
        EXPECT_EQ(board().activeMedium(), c.activeMedium);
        t.windows.destroyAll();
    }
}

TEST_F(InitFormTest, AFailingStepIsReportedAndTheDeviceIsChosenAnyway) {
    openWizard();
    searchWith(true, false);
    board().failNext(1, QStringLiteral("TargetAddress"));
    click("FinishCMD");
    flushDeletes();
    EXPECT_EQ(t.state.DeviceChosen, -1);
    EXPECT_EQ(t.state.DeviceAddress, 0x5E);
    EXPECT_EQ(t.state.CommsMedium, 1);
    EXPECT_EQ(board().activeMedium(), 0) << "the steps after the failing one ran";
    EXPECT_TRUE(t.windows.find<frmMain>() && t.windows.find<frmMain>()->isVisible());
    ASSERT_EQ(t.dialogs.messages.size(), 1);
    EXPECT_TRUE(t.dialogs.messages[0].text.contains(QStringLiteral("injected failure")));
}

TEST_F(InitFormTest, ClosingWithoutADeviceUnloadsEveryWindowAndEndsTheProgram) {
    const struct {
        const char* how;
        bool searchFirst;
        std::function<void(InitFormTest&)> close;
    } cases[] = {
        {"close box after a search", true, [](InitFormTest& f) { f.wizard_->close(); }},
        {"Escape at once", false,
         [](InitFormTest& f) { QTest::keyClick(f.wizard_, Qt::Key_Escape); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        openWizard();
        QSignalSpy ending(wizard_.data(), &InitForm::programEnding);
        if (c.searchFirst) {
            searchWith(true, false);
        }
        QPointer<frmMain> main = t.windows.find<frmMain>();
        EXPECT_EQ(main.isNull(), !c.searchFirst);
        c.close(*this);
        flushDeletes();
        EXPECT_EQ(ending.count(), 1);
        EXPECT_TRUE(wizard_.isNull() && main.isNull() && t.windows.windows().isEmpty());
        EXPECT_EQ(t.state.DeviceChosen, 0);
    }
}

} // namespace
} // namespace qmf::test
