// SPDX-License-Identifier: GPL-3.0-or-later
// The device search wizard: its load, the keyboard path through it, Finish (the find behind the
// chosen entry, and only that one, sets the path the program then uses) and closing it.
#include "InitFormFixture.h"
#include "boards/sim/SimulatedChip.h"
#include "core/link/RegisterAccess.h"
#include "gui/services/AppVersion.h"

namespace qmf::test {
namespace {

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
        // A board whose SMBus is built in has no adapters to choose from.
        EXPECT_FALSE(control("SMBusAdapterLIST")->isVisibleTo(wizard_));
        t.windows.destroyAll();
    }
}

using enum sim::SimulatedI2cLayout::Adapter;

// Below the SMBus medium the adapters by name, graphics channels left out, with the automatic
// choice or the one chosen at an earlier start preselected: a bridge that came back under
// another number, or whose name changed only in its numbers, is still the one chosen before.
TEST_F(InitFormOnAdapters, ListsTheAdaptersAndPreselectsTheAutomaticOrTheRememberedOne) {
    const QString pch = "SMBus I801 adapter at efa0 (PCI SMBus host controller, /dev/i2c-0)";
    const QString cp2112 = "CP2112 SMBus Bridge on hidraw%1 (USB bridge, /dev/i2c-6)";
    const QString mcp2221 = "MCP2221 usb-i2c bridge (USB bridge, /dev/i2c-%1)";
    const struct {
        std::vector<std::pair<sim::SimulatedI2cLayout::Adapter, int>> plugged;
        QString rememberedNode, rememberedName; // of an earlier start
        QStringList lines;
        QString chosen, baseAddress;
    } cases[] = {
        {{{IntelPch, 0}, {I915Gmbus, 1}, {Cp2112, 6}}, "", "", {pch, cp2112.arg(0)}, pch, "EFA0"},
        {{{I915DpAux, 2}, {Cp2112, 6}}, "", "", {cp2112.arg(1)}, cp2112.arg(1), "0"},
        {{{Cp2112, 6}, {Mcp2221, 7}}, "", "", {cp2112.arg(2), mcp2221.arg(7)}, "", "0"},
        {{{IntelPch, 0}, {Mcp2221, 7}},
         "7",
         "MCP2221 usb-i2c bridge",
         {pch, mcp2221.arg(7)},
         mcp2221.arg(7),
         "0"},
        {{{IntelPch, 0}, {Mcp2221, 9}},
         "7",
         "MCP2221 usb-i2c bridge",
         {pch, mcp2221.arg(9)},
         mcp2221.arg(9),
         "0"},
        {{{IntelPch, 0}, {Cp2112, 6}},
         "4",
         "CP2112 SMBus Bridge on hidraw17",
         {pch, cp2112.arg(6)},
         cp2112.arg(6),
         "0"},
        {{{IntelPch, 0}}, "7", "MCP2221 usb-i2c bridge", {pch}, pch, "EFA0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines.join(" | ").toStdString());
        for (const auto& [adapter, number] : c.plugged) {
            plug(adapter, number);
        }
        QSettings settings(applicationTitle());
        settings.setValue("SMBus/Adapter",
                          c.rememberedNode.isEmpty() ? "" : node(c.rememberedNode.toInt()));
        settings.setValue("SMBus/AdapterName", c.rememberedName);
        settings.sync();
        openWizard();
        click("NextCMD");
        EXPECT_TRUE(adapterList()->isVisible());
        EXPECT_TRUE(adapterList()->isEnabled());
        EXPECT_EQ(adapterLines(), c.lines);
        EXPECT_EQ(chosenLine(), c.chosen);
        EXPECT_EQ(control<QLineEdit>("SMBusBaseAddressTXT")->text(), c.baseAddress);
        // The medium's texts are as they were.
        EXPECT_EQ(control<QCheckBox>("SMBusCheck")->text(), QStringLiteral("On-Board SMBus"));
        EXPECT_TRUE(text("SMBusSearchDescLBL").startsWith("The Southbridge or ICH of Intel"));
        t.windows.destroyAll();
        for (const auto& [adapter, number] : c.plugged) {
            layout.unplug(number);
        }
    }
}

// Two bridges and no PCI controller: no line is preselected, and the search says what to do;
// with the MCP2221 chosen the search finds the chip behind it, Finish puts the program's SMBus
// path on that bridge, and the next start preselects it. No command-line option is involved.
TEST_F(InitFormOnAdapters, TheSearchAndFinishUseTheChosenBridgeAndTheNextStartKnowsIt) {
    plug(I915Gmbus, 1);
    plug(Cp2112, 6);
    const QString mcp = plug(Mcp2221, 7);
    chip.writeRegister(0x30, 0x5A);
    openWizard();
    click("NextCMD");
    EXPECT_EQ(chosenLine(), QString());
    searchWith(false, true);
    EXPECT_TRUE(results().isEmpty());
    EXPECT_TRUE(text("SearchNoteLBL").contains("no SMBus adapter is chosen"))
        << text("SearchNoteLBL").toStdString();
    click("BackCMD");
    chooseLine(1);
    EXPECT_EQ(chosenLine(), QStringLiteral("MCP2221 usb-i2c bridge (USB bridge, /dev/i2c-7)"));
    keepPicture("initform-adapters.png");
    searchWith(false, true);
    EXPECT_EQ(results(), QStringList{SmbusFind5C});
    click("FinishCMD");
    EXPECT_EQ(t.state.CommsMedium, 0);
    EXPECT_EQ(t.state.DeviceAddress, 0x5C);
    EXPECT_EQ(t.state.board().description(), mcp);
    EXPECT_EQ(ReadRegisterAt(t.state, 0x30), 0x5A);

    // The next start, with the bridges plugged in the other way round.
    t.windows.destroyAll();
    layout.unplug(6);
    layout.unplug(7);
    plug(Mcp2221, 6);
    plug(Cp2112, 7);
    openWizard();
    click("NextCMD");
    EXPECT_EQ(chosenLine(), QStringLiteral("MCP2221 usb-i2c bridge (USB bridge, /dev/i2c-6)"));
}

// --smbus names the adapter: it is the only choice, whatever was chosen before.
TEST_F(InitFormOnAdapters, AnAdapterNamedOnTheCommandLineIsTheOnlyChoice) {
    plug(IntelPch, 0);
    plug(Mcp2221, 7);
    named = node(7);
    QSettings(applicationTitle()).setValue("SMBus/AdapterName", "SMBus I801 adapter at efa0");
    openWizard();
    click("NextCMD");
    EXPECT_EQ(chosenLine(), QStringLiteral("MCP2221 usb-i2c bridge (USB bridge, /dev/i2c-7)"));
    EXPECT_FALSE(adapterList()->isEnabled());
    searchWith(false, true);
    EXPECT_EQ(results(), QStringList{SmbusFind5C});
}

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

TEST_F(InitFormTest, TheSelectedEntryAloneDecidesTheDeviceAndThePath) {
    board().addParallelChip(0, true, 0x5E);
    board().addSmbusChip(0x5C);
    const struct {
        int row;
        int address, commsMedium, activeMedium;
        bool alternateMode;
        QStringList sent; // the link settings Finish changes, in order
    } cases[] = {
        {0, 0x5E, 1, 0, false, {"PortIndex=0", "AlternateMode=0", "TargetAddress=5E"}},
        {1, 0x5E, 1, 0, true, {"PortIndex=0", "AlternateMode=1", "TargetAddress=5E"}},
        {2, 0x5C, 0, 1, true, {"Smbus.TargetAddress=5C"}}, // the mode stays as the search left it
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
        EXPECT_EQ(board().alternateMode(), c.alternateMode);
        t.windows.destroyAll();
    }
}

TEST_F(InitFormOnTheSimulatedBoard, TheChosenEntrysPathCarriesTheLaterTraffic) {
    sim::SimulatedChip* chips[] = {&t.simBoard()->printerPortChip(), &t.simBoard()->smbusChip()};
    for (int row : {0, 1}) {
        SCOPED_TRACE(row);
        t.state.DeviceChosen = 0;
        openWizard();
        searchWith(true, true);
        ASSERT_EQ(results(), QStringList({PortFind5E, SmbusFind5C}).replaceInStrings("5Ch", "5Eh"));
        control<QListWidget>("SearchResultsLIST")->setCurrentRow(row);
        click("FinishCMD");
        WriteRegisterAt(t.state, 0x90, qint16(0x21 + row));
        EXPECT_EQ(chips[row]->readRegister(0x90), 0x21 + row);
        EXPECT_NE(chips[1 - row]->readRegister(0x90), 0x21 + row);
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
