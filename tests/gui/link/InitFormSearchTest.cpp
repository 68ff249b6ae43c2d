// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/link/InitFormFixture.h"

#include <QApplication>
#include <QSignalSpy>

namespace qmf::test {
namespace {

using InitFormSearch = InitFormTest;

const QString PortFind5E = QStringLiteral("Found an QMF4150 at:5Eh, on printer port:378h");
const QString Sorry =
    QStringLiteral("Sorry, no QMF4150s were found. Please check all connections and try again");

TEST_F(InitFormSearch, FindsTheChipOnThePrinterPort) {
    openWizard();
    searchWith(true, false);

    EXPECT_EQ(wizard_->currentStep(), 4);
    EXPECT_EQ(visiblePanel(), QStringLiteral("SearchResultsPanel"));
    EXPECT_EQ(results(), QStringList{PortFind5E});
    EXPECT_EQ(control<QListWidget>("SearchResultsLIST")->currentRow(), 0);
    EXPECT_EQ(text("SearchResultsLBL"),
              QStringLiteral("Please select one of the QMF4150s found above."));
    EXPECT_EQ(text("SearchInsLBL"), QStringLiteral("Click Finish to continue..."));
    EXPECT_FALSE(control("SearchNoteLBL")->isVisible());
    EXPECT_TRUE(enabled("FinishCMD"));
    EXPECT_TRUE(enabled("BackCMD"));
    EXPECT_TRUE(enabled("CancelCMD"));
    EXPECT_FALSE(enabled("NextCMD"));
    EXPECT_EQ(control<QProgressBar>("SearchProgress")->value(), 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the hourglass is gone";

    // The main window was loaded for the search, not shown.
    frmMain* main = t.windows.find<frmMain>();
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(main->isVisible());

    // Every candidate, AlternateMode False then True, register 0Dh only.
    QStringList expected;
    for (const char* address : {"5E", "5C", "5A", "58", "56", "54", "52", "50"}) {
        expected << QStringLiteral("BusEngine.ReadByte(%1,0D)=%2")
                        .arg(QLatin1String(address),
                             QLatin1String(address) == QLatin1String("5E") ? "41" : "FF");
    }
    for (const char* address : {"5E", "5C", "5A", "58", "56", "54", "52", "50"}) {
        expected << QStringLiteral("BusEngine.ReadByte(%1,0D)=FF").arg(QLatin1String(address));
    }
    EXPECT_EQ(board().transfers(), expected);
    EXPECT_EQ(t.state.DeviceChosen, 0) << "nothing is chosen before Finish";
}

TEST_F(InitFormSearch, ProgressRunsTo33PerMediumInClampedSteps) {
    const struct {
        int ports;
        bool printerPort, smbus;
        int maximum;
        QList<int> values;
    } cases[] = {
        {1, true, false, 33, {8}},
        {2, true, false, 33, {8, 16}},
        {5, true, false, 33, {8, 16, 24, 32, 33}},
        {1, false, true, 33, {4, 8, 12, 16, 20, 24, 28, 32}},
        {1, true, true, 66, {8, 12, 16, 20, 24, 28, 32, 36, 40}},
        {2, true, true, 66, {8, 16, 20, 24, 28, 32, 36, 40, 44, 48}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ports << " ports, printer port " << c.printerPort
                                        << ", SMBus " << c.smbus);
        QList<qint16> ports;
        for (int i = 0; i < c.ports; ++i) {
            ports << qint16(0x378 - 0x100 * i);
        }
        board().setPorts(ports);
        openWizard();
        auto* progress = control<QProgressBar>("SearchProgress");
        QSignalSpy spy(progress, &QProgressBar::valueChanged);
        searchWith(c.printerPort, c.smbus);
        QList<int> values;
        for (const auto& arguments : spy) {
            values << arguments.at(0).toInt();
        }
        ASSERT_FALSE(values.isEmpty());
        EXPECT_EQ(values.takeLast(), 0) << "reset when the results show";
        EXPECT_EQ(values, c.values);
        EXPECT_EQ(progress->maximum(), c.maximum);
        t.windows.destroyAll();
    }
}

TEST_F(InitFormSearch, NoMediumCheckedAsksForOneAndStays) {
    openWizard();
    searchWith(false, false);
    ASSERT_EQ(t.dialogs.messages.size(), 1);
    EXPECT_EQ(t.dialogs.messages[0].icon, UserDialogs::Icon::None);
    EXPECT_EQ(t.dialogs.messages[0].title, QStringLiteral("A problem was detected"));
    EXPECT_EQ(t.dialogs.messages[0].text, QStringLiteral("Please select a search medium"));
    EXPECT_EQ(wizard_->currentStep(), 2);
    EXPECT_EQ(visiblePanel(), QStringLiteral("SeclectComsMediumPanel"));
    EXPECT_TRUE(enabled("NextCMD"));
    EXPECT_TRUE(board().transfers().isEmpty());
    EXPECT_EQ(t.windows.find<frmMain>(), nullptr);
}

TEST_F(InitFormSearch, NoChipFoundThenBackAndASuccessfulSearch) {
    board().parallelRegisters(0, false, 0x5E)[0x0D] = 0x00; // the chip does not identify
    openWizard();
    searchWith(true, false);
    EXPECT_TRUE(results().isEmpty());
    EXPECT_EQ(text("SearchResultsLBL"), Sorry);
    EXPECT_EQ(text("SearchInsLBL"), QStringLiteral("Click Back to continue..."));
    EXPECT_FALSE(enabled("FinishCMD"));
    EXPECT_FALSE(enabled("NextCMD"));
    EXPECT_TRUE(enabled("BackCMD"));

    click("BackCMD");
    EXPECT_EQ(wizard_->currentStep(), 2);
    EXPECT_EQ(visiblePanel(), QStringLiteral("SeclectComsMediumPanel"));
    EXPECT_TRUE(enabled("NextCMD"));
    EXPECT_FALSE(enabled("FinishCMD"));

    board().parallelRegisters(0, false, 0x5E)[0x0D] = 0x41;
    searchWith(true, false);
    EXPECT_EQ(results(), QStringList{PortFind5E});
    EXPECT_EQ(text("SearchResultsLBL"),
              QStringLiteral("Please select one of the QMF4150s found above."));
    EXPECT_EQ(text("SearchInsLBL"), QStringLiteral("Click Finish to continue..."));
    EXPECT_TRUE(enabled("FinishCMD"));
}

TEST_F(InitFormSearch, ANewSearchListsNoFindsOfTheEarlierOne) {
    board().addSmbusChip(0x5C);
    openWizard();
    searchWith(true, false);
    EXPECT_EQ(results(), QStringList{PortFind5E});
    click("BackCMD");
    EXPECT_TRUE(wizard_->finds().empty());
    EXPECT_TRUE(wizard_->resultAddresses().isEmpty());
    searchWith(false, true);
    EXPECT_EQ(results(), QStringList{QStringLiteral("An QMF4150 was found at:5Ch, on the SMBus")});
    EXPECT_TRUE(wizard_->finds().ParallelFinds.isEmpty());
    EXPECT_EQ(wizard_->resultAddresses(), QList<int>{0x5C});
}

TEST_F(InitFormSearch, ListsPrinterPortFindsFirstThenSmbusFinds) {
    board().setPorts({0x378, 0x278});
    board().addParallelChip(1, false, 0x50);
    board().addParallelChip(0, true, 0x58);
    board().addSmbusChip(0x5A);
    openWizard();
    searchWith(true, true);
    EXPECT_EQ(
        results(),
        QStringList({PortFind5E, QStringLiteral("Found an QMF4150 at:58h, on printer port:378h"),
                     QStringLiteral("Found an QMF4150 at:50h, on printer port:278h"),
                     QStringLiteral("An QMF4150 was found at:5Ah, on the SMBus")}));
    EXPECT_EQ(wizard_->resultAddresses(), QList<int>({0x5E, 0x58, 0x50, 0x5A}));
    EXPECT_EQ(wizard_->finds().ParallelFindPorts, QList<int>({0, 0, 1}));
    EXPECT_EQ(wizard_->finds().ParallelFindModes, QList<bool>({false, true, false}));
}

TEST_F(InitFormSearch, NoPrinterPortIsReportedAndBackLeadsToTheMediumChoice) {
    board().setPorts({});
    board().addSmbusChip(0x5C);
    const struct {
        bool smbus;
        QStringList results;
    } cases[] = {{false, {}},
                 {true, {QStringLiteral("An QMF4150 was found at:5Ch, on the SMBus")}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.smbus ? "with the SMBus" : "printer port only");
        openWizard();
        searchWith(true, c.smbus);
        EXPECT_EQ(wizard_->currentStep(), 4);
        EXPECT_TRUE(control("SearchNoteLBL")->isVisible());
        EXPECT_EQ(text("SearchNoteLBL"),
                  QStringLiteral("No printer port was found on this computer."));
        EXPECT_EQ(results(), c.results);
        EXPECT_EQ(enabled("FinishCMD"), !c.results.isEmpty());
        if (c.results.isEmpty()) {
            EXPECT_EQ(text("SearchResultsLBL"), Sorry);
        }
        click("BackCMD");
        EXPECT_EQ(wizard_->currentStep(), 2);
        EXPECT_FALSE(control("SearchNoteLBL")->isVisible());
        EXPECT_TRUE(t.dialogs.messages.isEmpty());
        t.windows.destroyAll();
    }
}

TEST_F(InitFormSearch, ALinkFailureIsReportedAndTheSearchCanBeRepeated) {
    const struct {
        const char* failing;
        const char* note;
    } cases[] = {
        {"BusEngine.ReadByte", "The search on the printer port failed: "},
        {"PortCount", "The search on the printer port failed: "},
        {"Smbus.ReadByte", "The search on the SMBus failed: "},
        {"PortAddress", "The search results could not be read: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failing);
        board().addSmbusChip(0x5C);
        openWizard();
        board().failNext(1, QLatin1String(c.failing));
        searchWith(true, true);

        EXPECT_EQ(wizard_->currentStep(), 4);
        const QString note = text("SearchNoteLBL");
        EXPECT_TRUE(note.startsWith(QLatin1String(c.note))) << note.toStdString();
        EXPECT_TRUE(note.contains(QStringLiteral("injected failure"))) << note.toStdString();
        EXPECT_TRUE(enabled("BackCMD"));
        EXPECT_TRUE(enabled("CancelCMD"));
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_TRUE(t.dialogs.messages.isEmpty()) << "reported in the wizard, not in a box";
        // The medium that worked still lists its find.
        if (QLatin1String(c.failing).startsWith(QLatin1String("Smbus"))) {
            EXPECT_EQ(results(), QStringList{PortFind5E});
        } else if (QLatin1String(c.failing) != QLatin1String("PortAddress")) {
            EXPECT_EQ(results(),
                      QStringList{QStringLiteral("An QMF4150 was found at:5Ch, on the SMBus")});
        }

        click("BackCMD");
        searchWith(true, true);
        EXPECT_EQ(
            results(),
            QStringList({PortFind5E, QStringLiteral("An QMF4150 was found at:5Ch, on the SMBus")}));
        EXPECT_FALSE(control("SearchNoteLBL")->isVisible());
        t.windows.destroyAll();
    }
}

} // namespace
} // namespace qmf::test
