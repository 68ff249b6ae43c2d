// SPDX-License-Identifier: GPL-3.0-or-later
// The device search wizard's search: its progress, no medium or no chip, a medium that fails;
// all devices on the searched buses.
#include "InitFormFixture.h"
#include "core/link/BoardLink.h"
#include "gui/views/ChipLayoutForm.h"

#include <QComboBox>
#include <QTableWidget>
#include <QTimer>
#include <cerrno>

namespace qmf::test {
namespace {

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

using enum sim::SimulatedI2cLayout::Adapter;

// A USB bridge unplugged while a view polls: one clear error naming its node, polling stops as
// for any link failure, and starting again says the same without touching the adapter that took
// the number meanwhile. Plugged back in under another number, a new search lists the bridge,
// preselects it and finds the chip again.
TEST_F(InitFormOnAdapters, AnUnpluggedBridgeStopsPollingAndANewSearchFindsItAgain) {
    plug(Mcp2221, 7);
    openWizard();
    searchWith(false, true);
    click("FinishCMD");
    flushDeletes();
    ChipLayoutForm& view = t.windows.show<ChipLayoutForm>(t.ctx);
    auto* poll = view.findChild<QCheckBox*>(QStringLiteral("StartStopPollingChipLayout"));
    auto* timer = view.findChild<QTimer*>(QStringLiteral("ChipLayoutTimer"));
    ASSERT_TRUE(poll && timer);
    QTest::mouseClick(poll, Qt::LeftButton);
    view.ChipLayoutTimer_Timer();
    ASSERT_TRUE(timer->isActive());
    ASSERT_TRUE(t.dialogs.messages.isEmpty());

    layout.unplug(7, ESHUTDOWN);
    view.ChipLayoutTimer_Timer();
    EXPECT_FALSE(timer->isActive());
    EXPECT_FALSE(poll->isChecked());
    ASSERT_EQ(t.dialogs.messages.size(), 1);
    const QString removed = node(7) + QStringLiteral(" was removed");
    EXPECT_TRUE(t.dialogs.messages[0].text.contains("the USB bridge " + removed))
        << t.dialogs.messages[0].text.toStdString();

    const int opened = io->calls(sim::SimulatedDeviceIo::Call::Open);
    plug(Cp2112, 7); // another bridge takes the number
    QTest::mouseClick(poll, Qt::LeftButton);
    view.ChipLayoutTimer_Timer();
    EXPECT_FALSE(timer->isActive());
    ASSERT_EQ(t.dialogs.messages.size(), 2);
    EXPECT_TRUE(t.dialogs.messages[1].text.contains(removed))
        << t.dialogs.messages[1].text.toStdString();
    EXPECT_EQ(io->calls(sim::SimulatedDeviceIo::Call::Open), opened);

    plug(Mcp2221, 11);
    openWizard();
    click("NextCMD");
    EXPECT_EQ(chosenLine(), QStringLiteral("MCP2221 usb-i2c bridge (USB bridge, /dev/i2c-11)"));
    searchWith(false, true);
    EXPECT_EQ(results(), QStringList{SmbusFind5C});
    click("FinishCMD");
    QTest::mouseClick(poll, Qt::LeftButton);
    view.ChipLayoutTimer_Timer();
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(t.dialogs.messages.size(), 2);
}

// Below the unchanged find list: every address of each searched bus, by reads only, one bus at
// a time; the counters start again with each search, and Finish still sets up the chosen find.
TEST_F(InitFormOnTheSimulatedBoard, ShowAllDevicesGridsEachSearchedBusBelowTheFinds) {
    openWizard();
    searchWith(true, true);
    const QStringList finds = results();
    EXPECT_EQ(finds, QStringList({PortFind5E, QStringLiteral("An QMF4150 was found at:5Eh, on "
                                                             "the SMBus")}));
    auto* grid = control<QTableWidget>("AllDevicesGRID");
    auto* buses = control<QComboBox>("AllDevicesBusCMB");
    EXPECT_FALSE(grid->isVisible() || buses->isVisible());
    BusHealth& health = t.simBoard()->busHealth();
    EXPECT_EQ(health.counts().transfers, 3u * 8) << "both bus modes of the port, and the SMBus";

    click("ShowAllDevicesCMD");
    ASSERT_TRUE(grid->isVisible() && buses->isVisible());
    QStringList labels;
    for (int i = 0; i < buses->count(); ++i) {
        labels << buses->itemText(i);
    }
    EXPECT_EQ(labels,
              QStringList({"printer port 0 (378h), standard bus mode",
                           "printer port 0 (378h), alternate bus mode", "SMBus (base 400h)"}));
    // Per bus: the cells of row 20 (7-bit 20h to 2Fh) and the corners.
    const auto row2 = [grid] {
        QStringList cells;
        for (int column = 0; column < 16; ++column) {
            cells << grid->item(2, column)->text();
        }
        return cells.join(u' ');
    };
    const QString none = QStringLiteral("-- -- -- -- -- -- -- -- -- -- -- -- -- -- -- --");
    EXPECT_EQ(row2(), none.left(44) + QStringLiteral(" 2f"));
    EXPECT_TRUE(grid->item(2, 15)->font().bold()) << "a QMF4150 stands out";
    EXPECT_FALSE(grid->item(2, 14)->font().bold());
    EXPECT_EQ(grid->item(0, 2)->text(), QString()) << "reserved, not probed";
    EXPECT_EQ(grid->item(0, 3)->text(), QStringLiteral("--"));
    EXPECT_EQ(grid->item(7, 7)->text(), QStringLiteral("--"));
    EXPECT_EQ(grid->item(7, 8)->text(), QString());
    buses->setCurrentIndex(1);
    EXPECT_EQ(row2(), none);
    buses->setCurrentIndex(2);
    EXPECT_EQ(row2(), none.left(44) + QStringLiteral(" 2f"));
    // Three buses of 117 probes, and the identification read of each QMF4150 found.
    EXPECT_EQ(health.counts().transfers, 3u * 8 + 3 * 117 + 2);
    EXPECT_EQ(results(), finds);
    EXPECT_TRUE(control("AllDevicesNoteLBL")->isHidden());

    // Back and a new search: the grid goes, the counters start again.
    click("BackCMD");
    EXPECT_FALSE(grid->isVisible() || buses->isVisible());
    searchWith(true, false);
    EXPECT_EQ(health.counts().transfers, 2u * 8);
    click("ShowAllDevicesCMD");
    EXPECT_EQ(buses->count(), 2);
    buses->setCurrentIndex(1);
    click("FinishCMD");
    EXPECT_EQ(t.state.CommsMedium, 1);
    EXPECT_EQ(t.state.DeviceAddress, 0x5E);
    EXPECT_FALSE(t.simBoard()->parallelPortLink().busEngine().AlternateMode())
        << "Finish puts back the mode of the chosen find";
}

} // namespace
} // namespace qmf::test
