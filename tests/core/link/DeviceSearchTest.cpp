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

    QStringList entryTexts() {
        QStringList texts;
        for (const SearchResultEntry& entry : search->resultEntries(finds)) {
            texts << entry.text + QStringLiteral(" @") + QString::number(entry.address, 16);
        }
        return texts;
    }

    RecordingBoard* board = nullptr;
    SharedState state;
    std::unique_ptr<DeviceSearch> search;
    QList<int> steps;
    SearchFinds finds;
};

TEST_F(DeviceSearchTest, OnePortWithAChipInNormalModeGivesOneEntryAndFinishUsesThePort) {
    board->addParallelChip(0, false, 0x5E);
    search->searchPrinterPorts(finds);

    QStringList probes; // port, then each mode in turn with every candidate's register 0x0D
    for (const QString& line : board->log) {
        if (!line.startsWith(QLatin1String("get ")) || line.endsWith(QLatin1String("Mode"))) {
            probes << line.section(u'(', 1).section(u',', 0, 0) + line.section(u'(', 0, 0);
        }
    }
    const QString reads = "5EBusEngine.ReadByte;get AlternateMode;5CBusEngine.ReadByte;"
                          "5ABusEngine.ReadByte;58BusEngine.ReadByte;56BusEngine.ReadByte;"
                          "54BusEngine.ReadByte;52BusEngine.ReadByte;50BusEngine.ReadByte";
    EXPECT_EQ(probes.join(u';'), "PortCount;PortIndex=0;AlternateMode=0;" + reads +
                                     ";AlternateMode=1;" +
                                     QString(reads).remove(";get AlternateMode"));
    EXPECT_EQ(steps, QList<int>({8}));
    EXPECT_EQ(entryTexts(), QStringList({"Found an QMF4150 at:5Eh, on printer port:378h @5e"}));

    board->setTransferSettingValue(23);
    board->clearLog();
    EXPECT_TRUE(DeviceSearch::applyChoice(state, finds, 0x5E).isEmpty());
    EXPECT_EQ(board->log,
              QStringList({"get ParallelPortLink", "PortIndex=0", "get ParallelPortLink",
                           "get BusEngine", "AlternateMode=0", "get ParallelPortLink",
                           "get BusEngine", "TargetAddress=5E", "ActiveMedium=0",
                           "get ParallelPortLink", "get BusEngine", "get TransferSetting"}));
    EXPECT_EQ(state.CommsMedium, 1);
    EXPECT_EQ(state.DeviceAddress, 0x5E);
    EXPECT_EQ(state.DeviceChosen, True16);
    EXPECT_EQ(state.SavedTransferSetting, 23);
}

TEST_F(DeviceSearchTest, TwoPortsAreSearchedInIndexOrderWithTheirOwnAddresses) {
    board->setPorts({0x378, qint16(0xBC00)});
    board->addParallelChip(1, false, 0x5A);
    board->addParallelChip(0, true, 0x50);
    search->searchPrinterPorts(finds);
    EXPECT_EQ(finds.ParallelFindPorts, QList<int>({0, 1}));
    EXPECT_EQ(finds.ParallelFindModes, QList<bool>({true, false}));
    EXPECT_EQ(steps, QList<int>({8, 8}));
    EXPECT_EQ(entryTexts(), QStringList({"Found an QMF4150 at:50h, on printer port:378h @50",
                                         "Found an QMF4150 at:5Ah, on printer port:BC00h @5a"}));
    EXPECT_TRUE(DeviceSearch::applyChoice(state, finds, 0x5A).isEmpty());
    EXPECT_EQ(board->portIndex(), 1);
    EXPECT_FALSE(board->alternateMode());
}

TEST_F(DeviceSearchTest, AChipAnsweringInBothModesIsListedTwiceAndTheLastFindWins) {
    board->addParallelChip(0, false, 0x58);
    board->addParallelChip(0, true, 0x58);
    search->searchPrinterPorts(finds);
    EXPECT_EQ(finds.ParallelFinds, QList<int>({0x58, 0x58}));
    EXPECT_EQ(entryTexts().size(), 2);
    board->clearLog();
    EXPECT_TRUE(DeviceSearch::applyChoice(state, finds, 0x58).isEmpty());
    EXPECT_EQ(board->log.filter(QStringLiteral("AlternateMode=")),
              QStringList({"AlternateMode=0", "AlternateMode=1"}));
    EXPECT_TRUE(board->alternateMode());
}

TEST_F(DeviceSearchTest, SmbusFindsFollowPrinterPortFindsAndDecideWhenLast) {
    board->addParallelChip(0, false, 0x5E);
    board->addSmbusChip(0x5E);
    board->addSmbusChip(0x52);
    search->searchSmbus(finds); // searched first, still listed after the printer-port finds
    EXPECT_EQ(steps, QList<int>(8, 4));
    search->searchPrinterPorts(finds);
    EXPECT_EQ(entryTexts(), QStringList({"Found an QMF4150 at:5Eh, on printer port:378h @5e",
                                         "An QMF4150 was found at:5Eh, on the SMBus @5e",
                                         "An QMF4150 was found at:52h, on the SMBus @52"}));
    board->clearLog();
    EXPECT_TRUE(DeviceSearch::applyChoice(state, finds, 0x52).isEmpty());
    EXPECT_EQ(board->log,
              QStringList({"get SmbusLink", "Smbus.TargetAddress=52", "ActiveMedium=1"}));
    EXPECT_EQ(state.CommsMedium, 0);

    EXPECT_TRUE(DeviceSearch::applyChoice(state, finds, 0x5E).isEmpty());
    EXPECT_EQ(state.CommsMedium, 0);
    EXPECT_EQ(board->activeMedium(), 1);
    EXPECT_EQ(state.SavedTransferSetting, 10); // the printer-port statements ran first
}

TEST_F(DeviceSearchTest, NothingFoundAndNoPortsGiveNoEntries) {
    search->searchPrinterPorts(finds);
    search->searchSmbus(finds);
    EXPECT_TRUE(finds.empty());
    EXPECT_TRUE(entryTexts().isEmpty());
    EXPECT_EQ(steps, QList<int>({8, 4, 4, 4, 4, 4, 4, 4, 4}));
    board->setPorts({});
    board->clearLog();
    steps.clear();
    search->searchPrinterPorts(finds);
    EXPECT_TRUE(steps.isEmpty());
    EXPECT_TRUE(board->transfers().isEmpty());
}

TEST_F(DeviceSearchTest, FinishSkipsEachFailingStatementAndRecordsTheChoice) {
    board->addParallelChip(0, true, 0x56);
    search->searchPrinterPorts(finds);
    state.SavedTransferSetting = 4;
    board->failNext(1, QStringLiteral("AlternateMode="));
    QStringList failures = DeviceSearch::applyChoice(state, finds, 0x56);
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].contains(QLatin1String("injected failure")));
    EXPECT_EQ(board->activeMedium(), 0);
    EXPECT_EQ(state.SavedTransferSetting, 10);

    state.SavedTransferSetting = 4;
    board->failNext(1, QStringLiteral("get TransferSetting"));
    EXPECT_EQ(DeviceSearch::applyChoice(state, finds, 0x56).size(), 1);
    EXPECT_EQ(state.SavedTransferSetting, 4); // the failed statement assigns nothing

    SharedState noBoard(nullptr);
    finds.SmbusFinds << 0x56;
    failures = DeviceSearch::applyChoice(noBoard, finds, 0x56);
    EXPECT_EQ(failures.size(), 5 + 2); // every board statement of both finds
    EXPECT_EQ(noBoard.CommsMedium, 0);
    EXPECT_EQ(noBoard.DeviceChosen, True16);
    EXPECT_EQ(noBoard.DeviceAddress, 0x56);
}

TEST_F(DeviceSearchTest, ABoardFailureDuringTheSearchReachesTheCaller) {
    board->failNext(1, QStringLiteral("BusEngine.ReadByte"));
    EXPECT_THROW(search->searchPrinterPorts(finds), LinkError);
    board->failNext(1, QStringLiteral("Smbus.ReadByte"));
    EXPECT_THROW(search->searchSmbus(finds), LinkError);
}

TEST(DeviceSearchTexts, ShowThePortAddressAsUnsigned) {
    EXPECT_EQ(DeviceSearch::parallelEntryText(0x50, qint16(-1)),
              QStringLiteral("Found an QMF4150 at:50h, on printer port:FFFFh"));
}

} // namespace
} // namespace qmf::test
