// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/DeviceSearch.h"

#include "core/chip/SharedState.h"
#include "core/link/LinkErrors.h"
#include "core/text/Boolean16.h"
#include "support/RecordingBoard.h"

#include <gtest/gtest.h>

namespace qmf::test {
namespace {

class DeviceSearchTest : public ::testing::Test {
protected:
    DeviceSearchTest()
        : state([this] {
              auto recording = std::make_unique<RecordingBoard>();
              board = recording.get();
              return recording;
          }) {
        state.board();
        search = std::make_unique<DeviceSearch>(*board);
        search->onProgress = [this](int step) { steps << step; };
    }

    // The register addresses probed, in order, as "5E" ... taken from the transfer log.
    QStringList probedAddresses() const {
        QStringList result;
        for (const QString& line : board->transfers()) {
            EXPECT_TRUE(line.contains(QLatin1String(",0D)"))) << line.toStdString();
            result << line.section(u'(', 1).left(2);
        }
        return result;
    }

    RecordingBoard* board = nullptr;
    SharedState state;
    std::unique_ptr<DeviceSearch> search;
    QList<int> steps;
    SearchFinds finds;
};

const QStringList AllCandidates = {"5E", "5C", "5A", "58", "56", "54", "52", "50"};

TEST_F(DeviceSearchTest, OnePortWithAChipInNormalModeGivesOneEntry) {
    board->addParallelChip(0, false, 0x5E);
    search->searchPrinterPorts(finds);

    EXPECT_EQ(finds.ParallelFinds, QList<int>({0x5E}));
    EXPECT_EQ(finds.ParallelFindPorts, QList<int>({0}));
    EXPECT_EQ(finds.ParallelFindModes, QList<bool>({false}));
    EXPECT_TRUE(finds.SmbusFinds.isEmpty());
    EXPECT_EQ(steps, QList<int>({8}));
    EXPECT_EQ(probedAddresses(), AllCandidates + AllCandidates);

    const QList<SearchResultEntry> entries = search->resultEntries(finds);
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].text, QStringLiteral("Found an QMF4150 at:5Eh, on printer port:378h"));
    EXPECT_EQ(entries[0].address, 0x5E);

    board->setTransferSettingValue(23);
    board->clearLog();
    EXPECT_TRUE(DeviceSearch::applyChoice(state, finds, 0x5E).isEmpty());
    EXPECT_EQ(state.CommsMedium, 1);
    EXPECT_EQ(state.DeviceAddress, 0x5E);
    EXPECT_EQ(state.DeviceChosen, True16);
    EXPECT_EQ(state.SavedTransferSetting, 23);
    EXPECT_EQ(board->activeMedium(), 0);
    EXPECT_EQ(board->log,
              QStringList({"get ParallelPortLink", "PortIndex=0", "get ParallelPortLink",
                           "get BusEngine", "AlternateMode=0", "get ParallelPortLink",
                           "get BusEngine", "TargetAddress=5E", "ActiveMedium=0",
                           "get ParallelPortLink", "get BusEngine", "get TransferSetting"}));
}

TEST_F(DeviceSearchTest, PrinterPortSearchSelectsThePortThenEachModeInTurn) {
    board->addParallelChip(0, true, 0x54);
    search->searchPrinterPorts(finds);
    QStringList settings;
    for (const QString& line : board->log) {
        if (line.startsWith(QLatin1String("PortIndex")) ||
            line.startsWith(QLatin1String("AlternateMode")) ||
            line.startsWith(QLatin1String("get AlternateMode")) ||
            line == QLatin1String("PortCount")) {
            settings << line;
        }
    }
    EXPECT_EQ(settings, QStringList({"PortCount", "PortIndex=0", "AlternateMode=0",
                                     "AlternateMode=1", "get AlternateMode"}));
    EXPECT_EQ(finds.ParallelFindModes, QList<bool>({true}));
}

TEST_F(DeviceSearchTest, TwoPortsAreSearchedInIndexOrder) {
    board->setPorts({0x378, qint16(0xBC00)});
    board->addParallelChip(1, false, 0x5A);
    board->addParallelChip(0, true, 0x50);
    search->searchPrinterPorts(finds);

    EXPECT_EQ(finds.ParallelFinds, QList<int>({0x50, 0x5A}));
    EXPECT_EQ(finds.ParallelFindPorts, QList<int>({0, 1}));
    EXPECT_EQ(finds.ParallelFindModes, QList<bool>({true, false}));
    EXPECT_EQ(steps, QList<int>({8, 8}));

    const QList<SearchResultEntry> entries = search->resultEntries(finds);
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].text, QStringLiteral("Found an QMF4150 at:50h, on printer port:378h"));
    EXPECT_EQ(entries[1].text, QStringLiteral("Found an QMF4150 at:5Ah, on printer port:BC00h"));

    EXPECT_TRUE(DeviceSearch::applyChoice(state, finds, 0x5A).isEmpty());
    EXPECT_EQ(board->portIndex(), 1);
    EXPECT_FALSE(board->alternateMode());
    EXPECT_EQ(state.DeviceAddress, 0x5A);
}

TEST_F(DeviceSearchTest, AChipAnsweringInBothModesIsListedTwiceAndTheLastModeWins) {
    board->addParallelChip(0, false, 0x58);
    board->addParallelChip(0, true, 0x58);
    search->searchPrinterPorts(finds);
    EXPECT_EQ(finds.ParallelFinds, QList<int>({0x58, 0x58}));
    EXPECT_EQ(finds.ParallelFindModes, QList<bool>({false, true}));
    EXPECT_EQ(search->resultEntries(finds).size(), 2);

    board->clearLog();
    EXPECT_TRUE(DeviceSearch::applyChoice(state, finds, 0x58).isEmpty());
    EXPECT_TRUE(board->alternateMode());
    EXPECT_EQ(board->log.filter(QStringLiteral("AlternateMode=")),
              QStringList({"AlternateMode=0", "AlternateMode=1"}));
    EXPECT_EQ(board->log.count(QStringLiteral("ActiveMedium=0")), 2);
}

TEST_F(DeviceSearchTest, NothingFoundGivesNoEntries) {
    search->searchPrinterPorts(finds);
    search->searchSmbus(finds);
    EXPECT_TRUE(finds.empty());
    EXPECT_TRUE(search->resultEntries(finds).isEmpty());
    EXPECT_EQ(steps, QList<int>({8, 4, 4, 4, 4, 4, 4, 4, 4}));
}

TEST_F(DeviceSearchTest, NoPrinterPortMeansNoProbesAndNoProgress) {
    board->setPorts({});
    search->searchPrinterPorts(finds);
    EXPECT_TRUE(finds.empty());
    EXPECT_TRUE(steps.isEmpty());
    EXPECT_TRUE(board->transfers().isEmpty());
}

TEST_F(DeviceSearchTest, SmbusSearchProbesEveryCandidateWithItsOwnStep) {
    board->addSmbusChip(0x52);
    board->addSmbusChip(0x5C);
    search->searchSmbus(finds);
    EXPECT_EQ(finds.SmbusFinds, QList<int>({0x5C, 0x52}));
    EXPECT_EQ(steps, QList<int>(8, 4));
    EXPECT_EQ(probedAddresses(), AllCandidates);
    EXPECT_TRUE(board->log.filter(QStringLiteral("BusEngine")).isEmpty());

    const QList<SearchResultEntry> entries = search->resultEntries(finds);
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].text, QStringLiteral("An QMF4150 was found at:5Ch, on the SMBus"));
    EXPECT_EQ(entries[1].text, QStringLiteral("An QMF4150 was found at:52h, on the SMBus"));

    board->clearLog();
    EXPECT_TRUE(DeviceSearch::applyChoice(state, finds, 0x52).isEmpty());
    EXPECT_EQ(board->log,
              QStringList({"get SmbusLink", "Smbus.TargetAddress=52", "ActiveMedium=1"}));
    EXPECT_EQ(state.CommsMedium, 0);
    EXPECT_EQ(state.DeviceAddress, 0x52);
    EXPECT_EQ(state.DeviceChosen, True16);
}

TEST_F(DeviceSearchTest, PrinterPortFindsAreListedBeforeSmbusFinds) {
    board->addSmbusChip(0x5E);
    board->addParallelChip(0, false, 0x5E);
    search->searchSmbus(finds);
    search->searchPrinterPorts(finds);
    const QList<SearchResultEntry> entries = search->resultEntries(finds);
    ASSERT_EQ(entries.size(), 2);
    EXPECT_TRUE(entries[0].text.startsWith(QLatin1String("Found an QMF4150")));
    EXPECT_TRUE(entries[1].text.startsWith(QLatin1String("An QMF4150 was found")));
}

TEST_F(DeviceSearchTest, TheSmbusFindDecidesWhenBothPathsShareTheAddress) {
    board->addParallelChip(0, false, 0x5E);
    board->addSmbusChip(0x5E);
    board->setTransferSettingValue(31);
    search->searchPrinterPorts(finds);
    search->searchSmbus(finds);
    EXPECT_TRUE(DeviceSearch::applyChoice(state, finds, 0x5E).isEmpty());
    EXPECT_EQ(state.CommsMedium, 0);
    EXPECT_EQ(board->activeMedium(), 1);
    EXPECT_EQ(state.SavedTransferSetting, 31);
}

TEST_F(DeviceSearchTest, FinishSkipsAFailingStatementAndRunsTheRest) {
    board->addParallelChip(0, true, 0x56);
    board->setTransferSettingValue(12);
    search->searchPrinterPorts(finds);
    board->failNext(1, QStringLiteral("AlternateMode="));
    board->clearLog();

    const QStringList failures = DeviceSearch::applyChoice(state, finds, 0x56);
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].contains(QLatin1String("injected failure")))
        << failures[0].toStdString();
    EXPECT_TRUE(board->log.contains(QStringLiteral("TargetAddress=56")));
    EXPECT_EQ(board->activeMedium(), 0);
    EXPECT_EQ(state.CommsMedium, 1);
    EXPECT_EQ(state.SavedTransferSetting, 12);
    EXPECT_EQ(state.DeviceChosen, True16);
    EXPECT_EQ(state.DeviceAddress, 0x56);
}

TEST_F(DeviceSearchTest, AFailedTransferSettingReadKeepsTheOldSavedValue) {
    board->addParallelChip(0, false, 0x5E);
    search->searchPrinterPorts(finds);
    state.SavedTransferSetting = 4;
    board->failNext(1, QStringLiteral("get TransferSetting"));
    EXPECT_EQ(DeviceSearch::applyChoice(state, finds, 0x5E).size(), 1);
    EXPECT_EQ(state.SavedTransferSetting, 4);
    EXPECT_EQ(state.CommsMedium, 1);
    EXPECT_EQ(state.DeviceChosen, True16);
}

TEST_F(DeviceSearchTest, FinishWithoutABoardStillRecordsTheChoice) {
    SharedState noBoard(nullptr);
    board->addParallelChip(0, false, 0x5E);
    board->addSmbusChip(0x5E);
    search->searchPrinterPorts(finds);
    search->searchSmbus(finds);
    const QStringList failures = DeviceSearch::applyChoice(noBoard, finds, 0x5E);
    EXPECT_EQ(failures.size(), 5 + 2); // every board statement of both finds
    EXPECT_EQ(noBoard.CommsMedium, 0);
    EXPECT_EQ(noBoard.DeviceChosen, True16);
    EXPECT_EQ(noBoard.DeviceAddress, 0x5E);
}

TEST_F(DeviceSearchTest, AnAddressWithoutFindsTouchesNoBoard) {
    board->addParallelChip(0, false, 0x5E);
    search->searchPrinterPorts(finds);
    board->clearLog();
    EXPECT_TRUE(DeviceSearch::applyChoice(state, finds, 0x50).isEmpty());
    EXPECT_TRUE(board->log.isEmpty());
    EXPECT_EQ(state.DeviceChosen, True16);
    EXPECT_EQ(state.DeviceAddress, 0x50);
    EXPECT_EQ(state.CommsMedium, 0);
}

TEST_F(DeviceSearchTest, ABoardFailureDuringTheSearchReachesTheCaller) {
    board->addParallelChip(0, false, 0x5E);
    board->failNext(1, QStringLiteral("BusEngine.ReadByte"));
    EXPECT_THROW(search->searchPrinterPorts(finds), LinkError);
    board->failNext(1, QStringLiteral("Smbus.ReadByte"));
    EXPECT_THROW(search->searchSmbus(finds), LinkError);
}

TEST_F(DeviceSearchTest, ClearEmptiesEveryList) {
    board->addParallelChip(0, false, 0x5E);
    board->addSmbusChip(0x50);
    search->searchPrinterPorts(finds);
    search->searchSmbus(finds);
    EXPECT_FALSE(finds.empty());
    finds.clear();
    EXPECT_TRUE(finds.empty());
    EXPECT_TRUE(finds.ParallelFindPorts.isEmpty());
    EXPECT_TRUE(finds.ParallelFindModes.isEmpty());
}

TEST(DeviceSearchTexts, ShowAddressesAndPortsInUpperCaseHex) {
    EXPECT_EQ(DeviceSearch::parallelEntryText(0x5E, 0x378),
              QStringLiteral("Found an QMF4150 at:5Eh, on printer port:378h"));
    EXPECT_EQ(DeviceSearch::parallelEntryText(0x50, qint16(-1)),
              QStringLiteral("Found an QMF4150 at:50h, on printer port:FFFFh"));
    EXPECT_EQ(DeviceSearch::smbusEntryText(0x5A),
              QStringLiteral("An QMF4150 was found at:5Ah, on the SMBus"));
}

} // namespace
} // namespace qmf::test
