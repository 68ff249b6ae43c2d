// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/wizards/AutoSet.h"

#include "CoreFixture.h"
#include "core/link/LinkErrors.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace qmf {
namespace {

class AutoSet : public test::CoreFixture {
protected:
    AutoSet() {
        usePrinterPort();
        state.SavedTransferSetting = 10;
        board->clearLog();
    }
    QStringList run() {
        QStringList lines;
        RunAutoSet(state, [&lines](const QString& line) { lines << line; });
        return lines;
    }
    QStringList writes() const { return board->transfers().filter(QStringLiteral("WriteByte")); }
};

TEST_F(AutoSet, WritesTheTwentyRowsInOrder) {
    run();
    EXPECT_EQ(writes(),
              (QStringList{"BusEngine.WriteByte(5E,48,00)", "BusEngine.WriteByte(5E,49,01)",
                           "BusEngine.WriteByte(5E,4A,02)", "BusEngine.WriteByte(5E,68,AA)",
                           "BusEngine.WriteByte(5E,69,AA)", "BusEngine.WriteByte(5E,18,00)",
                           "BusEngine.WriteByte(5E,19,00)", "BusEngine.WriteByte(5E,20,FC)",
                           "BusEngine.WriteByte(5E,21,FC)", "BusEngine.WriteByte(5E,90,5A)",
                           "BusEngine.WriteByte(5E,91,5A)", "BusEngine.WriteByte(5E,92,5A)",
                           "BusEngine.WriteByte(5E,98,3C)", "BusEngine.WriteByte(5E,99,3C)",
                           "BusEngine.WriteByte(5E,9A,3C)", "BusEngine.WriteByte(5E,A8,FC)",
                           "BusEngine.WriteByte(5E,A9,FC)", "BusEngine.WriteByte(5E,B0,0F)",
                           "BusEngine.WriteByte(5E,B1,0F)", "BusEngine.WriteByte(5E,01,10)"}));
    // Nothing is read back.
    EXPECT_TRUE(board->transfers().filter(QStringLiteral("ReadByte")).isEmpty());
    EXPECT_EQ(printerChip()[0x01], 0x10);
    EXPECT_EQ(printerChip()[0xB0], 0x0F);
}

TEST_F(AutoSet, LogsOneLinePerRowWithTheReportsOwnLabels) {
    const QStringList lines = run();
    ASSERT_EQ(lines.size(), 20);
    EXPECT_EQ(lines[0],
              QStringLiteral("QMF4150-Temp0 fan mask, Address Pointer:48, data written:0"));
    EXPECT_EQ(lines[1],
              QStringLiteral("QMF4150-Temp1 fan mask, Address Pointer:49, data written:1"));
    EXPECT_EQ(lines[3],
              QStringLiteral("QMF4150-Fax 1 speed 2, Address Pointer:68, data written:AA"));
    EXPECT_EQ(lines[4],
              QStringLiteral("QMF4150-Fax 2 speed 2, Address Pointer:69, data written:AA"));
    EXPECT_EQ(lines[7], QStringLiteral("QMF4150, Address Pointer:20, data written:FC"));
    EXPECT_EQ(lines[9], QStringLiteral("QMF4150-Temp0 High, Address Pointer:90, data written:5A"));
    EXPECT_EQ(lines[14], QStringLiteral("QMF4150-Temp2 Low, Address Pointer:9A, data written:3C"));
    EXPECT_EQ(lines[16], QStringLiteral("QMF4150-AIN 1 High, Address Pointer:A9, data written:FC"));
    EXPECT_EQ(lines[17], QStringLiteral("QMF4150-AIN 0 Low, Address Pointer:B0, data written:F"));
    EXPECT_EQ(lines[19], QStringLiteral("QMF4150, Address Pointer:1, data written:10"));
}

TEST_F(AutoSet, LeavesThePointerAndValueOfTheLastRow) {
    state.AddressPointer = 0x77;
    state.DataToWrite = 300;
    run();
    EXPECT_EQ(state.AddressPointer, 0x01);
    EXPECT_EQ(state.DataToWrite, 0x10);
}

TEST_F(AutoSet, EachLineFollowsItsWrite) {
    QStringList events;
    RunAutoSet(state, [&](const QString&) {
        events << QStringLiteral("line after %1 writes").arg(writes().size());
    });
    ASSERT_EQ(events.size(), 20);
    EXPECT_EQ(events[0], QStringLiteral("line after 1 writes"));
    EXPECT_EQ(events[19], QStringLiteral("line after 20 writes"));
}

TEST_F(AutoSet, AFailedWriteStopsTheRowsAfterItAndThrows) {
    QStringList lines;
    EXPECT_THROW(RunAutoSet(state,
                            [&](const QString& line) {
                                lines << line;
                                if (lines.size() == 5) {
                                    board->failNext(1, QStringLiteral("BusEngine.WriteByte"));
                                }
                            }),
                 LinkError);
    EXPECT_EQ(lines.size(), 5);
    EXPECT_EQ(writes().size(), 6);
    EXPECT_TRUE(writes().last().endsWith(QStringLiteral("FAILED")));
    EXPECT_EQ(printerChip()[0x19], 0x00);
    EXPECT_EQ(printerChip()[0x01], 0x00); // the configuration row was never reached
}

TEST(AutoSetLogLine, HexIsUpperCaseWithoutLeadingZeros) {
    EXPECT_EQ(AutoSetLogLine(QStringLiteral("x:"), 0x0F, 0x00),
              QStringLiteral("x:F, data written:0"));
    EXPECT_EQ(AutoSetLogLine(QStringLiteral("QMF4150, Address Pointer:"), 0xB1, 0xFC),
              QStringLiteral("QMF4150, Address Pointer:B1, data written:FC"));
}

} // namespace
} // namespace qmf
