// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/DeviceSearch.h"

#include "CoreFixture.h"
#include "core/link/LinkErrors.h"
#include "core/text/Boolean16.h"

#include <QRegularExpression>

namespace qmf::test {
namespace {

class DeviceSearchTest : public CoreFixture {
protected:
    DeviceSearchTest() {
        search.onProgress = [this](int step) { steps << step; };
    }
    // The results list, each entry with the address it stands for.
    QStringList entries() {
        QStringList texts;
        for (const SearchResultEntry& entry : search.resultEntries(finds)) {
            texts << entry.text + QStringLiteral(" @") + QString::number(entry.address, 16);
        }
        return texts;
    }
    // The board log without the fetching of sub-objects.
    QStringList calls() const {
        return board->log.filter(QRegularExpression("^(?!get (ParallelPortLink|BusEngine)$)"));
    }
    DeviceSearch search{*board};
    QList<int> steps;
    SearchFinds finds;
};

TEST_F(DeviceSearchTest, OnePortWithAChipInNormalModeGivesOneEntryAndFinishUsesThePort) {
    board->addParallelChip(0, false, 0x5E);
    search.searchPrinterPorts(finds);
    QStringList expected{"PortCount", "PortIndex=0"};
    for (QString mode : {"0", "1"}) { // every candidate in order, in each mode
        expected << "AlternateMode=" + mode;
        for (QString address : {"5E", "5C", "5A", "58", "56", "54", "52", "50"}) {
            expected << "BusEngine.ReadByte(" + address +
                            (mode + address == "05E" ? ",0D)=41" : ",0D)=FF");
        }
    }
    expected.insert(4, "get AlternateMode"); // a find reads the mode back
    EXPECT_EQ(calls(), expected);
    EXPECT_EQ(steps, QList<int>({8}));
    EXPECT_EQ(entries(), QStringList({"Found an QMF4150 at:5Eh, on printer port:378h @5e"}));

    board->setTransferSettingValue(23);
    board->clearLog();
    EXPECT_TRUE(DeviceSearch::applyChoice(state, finds, 0x5E).isEmpty());
    EXPECT_EQ(calls(), QStringList({"PortIndex=0", "AlternateMode=0", "TargetAddress=5E",
                                    "ActiveMedium=0", "get TransferSetting"}));
    EXPECT_EQ(state.CommsMedium, 1);
    EXPECT_EQ(state.DeviceAddress, 0x5E);
    EXPECT_EQ(state.DeviceChosen, True16);
    EXPECT_EQ(state.SavedTransferSetting, 23);
}

TEST_F(DeviceSearchTest, TwoPortsInIndexOrderAndAChipAnsweringInBothModesListedTwice) {
    board->setPorts({0x378, qint16(0xBC00)}); // a negative 16-bit value, shown unsigned
    board->addParallelChip(0, false, 0x50);
    board->addParallelChip(0, true, 0x50);
    board->addParallelChip(1, false, 0x5A);
    search.searchPrinterPorts(finds);
    EXPECT_EQ(finds.ParallelFindPorts, QList<int>({0, 0, 1}));
    EXPECT_EQ(finds.ParallelFindModes, QList<bool>({false, true, false}));
    EXPECT_EQ(steps, QList<int>({8, 8}));
    EXPECT_EQ(entries(), QStringList({"Found an QMF4150 at:50h, on printer port:378h @50",
                                      "Found an QMF4150 at:50h, on printer port:378h @50",
                                      "Found an QMF4150 at:5Ah, on printer port:BC00h @5a"}));
    EXPECT_TRUE(DeviceSearch::applyChoice(state, finds, 0x5A).isEmpty());
    EXPECT_EQ(board->portIndex(), 1);
    EXPECT_FALSE(board->alternateMode());
    // Each entry of the chip listed twice applies its own mode only.
    for (int row : {1, 0}) {
        board->clearLog();
        EXPECT_TRUE(DeviceSearch::applyEntry(state, finds, row).isEmpty());
        EXPECT_EQ(board->log.filter(QStringLiteral("AlternateMode=")),
                  QStringList{QStringLiteral("AlternateMode=%1").arg(row)});
        EXPECT_EQ(board->alternateMode(), row == 1);
        EXPECT_EQ(board->portIndex(), 0);
    }
    board->clearLog();
    EXPECT_TRUE(DeviceSearch::applyChoice(state, finds, 0x50).isEmpty()); // the first find
    EXPECT_EQ(board->log.filter(QStringLiteral("AlternateMode=")),
              QStringList{QStringLiteral("AlternateMode=0")});
}

TEST_F(DeviceSearchTest, SmbusFindsFollowPrinterPortFindsAndEachEntryDecidesItsOwnPath) {
    board->addParallelChip(0, false, 0x5E);
    board->addSmbusChip(0x5E);
    board->addSmbusChip(0x52);
    search.searchSmbus(finds); // searched first, still listed after the printer-port finds
    EXPECT_EQ(steps, QList<int>(8, 4));
    search.searchPrinterPorts(finds);
    EXPECT_EQ(entries(), QStringList({"Found an QMF4150 at:5Eh, on printer port:378h @5e",
                                      "An QMF4150 was found at:5Eh, on the SMBus @5e",
                                      "An QMF4150 was found at:52h, on the SMBus @52"}));
    board->clearLog();
    EXPECT_TRUE(DeviceSearch::applyChoice(state, finds, 0x52).isEmpty());
    EXPECT_EQ(board->log,
              QStringList({"get SmbusLink", "Smbus.TargetAddress=52", "ActiveMedium=1"}));
    EXPECT_EQ(state.CommsMedium, 0);

    // Both chips at 5Eh: the printer-port entry (row 0) and the SMBus entry (row 1) each take
    // their own path, whichever was chosen before.
    for (int row : {0, 1, 0}) {
        board->clearLog();
        EXPECT_TRUE(DeviceSearch::applyEntry(state, finds, row).isEmpty());
        EXPECT_EQ(state.CommsMedium, row == 0 ? 1 : 0);
        EXPECT_EQ(board->activeMedium(), row);
        EXPECT_EQ(state.DeviceAddress, 0x5E);
        EXPECT_EQ(board->log.filter(QStringLiteral("TargetAddress=")),
                  QStringList{row == 0 ? "TargetAddress=5E" : "Smbus.TargetAddress=5E"});
    }
}

TEST_F(DeviceSearchTest, ABoardFailureDuringTheSearchReachesTheCaller) {
    board->failNext(1, QStringLiteral("Smbus.ReadByte"));
    EXPECT_THROW(search.searchSmbus(finds), LinkError);
}

TEST_F(DeviceSearchTest, FinishSkipsEachFailingStatementAndRecordsTheChoice) {
    board->addParallelChip(0, true, 0x56);
    search.searchPrinterPorts(finds);
    state.SavedTransferSetting = 4;
    board->failNext(1, QStringLiteral("AlternateMode="));
    QStringList failures = DeviceSearch::applyChoice(state, finds, 0x56);
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].contains(QLatin1String("injected failure")));
    EXPECT_EQ(board->activeMedium(), 0);
    EXPECT_EQ(state.SavedTransferSetting, 10);

    SharedState noBoard(nullptr);
    finds.SmbusFinds << 0x56;
    failures = DeviceSearch::applyEntry(noBoard, finds, 1);
    EXPECT_EQ(failures.size(), 2); // every board statement of the SMBus find
    EXPECT_EQ(noBoard.CommsMedium, 0);
    EXPECT_EQ(noBoard.DeviceChosen, True16);
    EXPECT_EQ(noBoard.DeviceAddress, 0x56);
    failures = DeviceSearch::applyChoice(noBoard, finds, 0x56); // the printer-port find
    EXPECT_EQ(failures.size(), 5);
    EXPECT_EQ(noBoard.CommsMedium, 1);
    // A row the search did not list is a failure, and the device is still recorded as chosen.
    noBoard.DeviceChosen = 0;
    EXPECT_EQ(DeviceSearch::applyEntry(noBoard, finds, 2).size(), 1);
    EXPECT_EQ(noBoard.DeviceChosen, True16);
}

} // namespace
} // namespace qmf::test
