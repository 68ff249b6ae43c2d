// SPDX-License-Identifier: GPL-3.0-or-later
// The device search wizard's search: its progress, no medium or no chip, a medium that fails.
#include "InitFormFixture.h"
#include "gui/views/ChipLayoutForm.h"

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

} // namespace
} // namespace qmf::test
