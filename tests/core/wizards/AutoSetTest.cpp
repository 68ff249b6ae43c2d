// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/wizards/AutoSet.h"

#include "CoreFixture.h"
#include "core/link/LinkErrors.h"

namespace qmf::test {
namespace {

class AutoSet : public CoreFixture {
protected:
    AutoSet() {
        state.CommsMedium = 1;
        printerChip();
    }
    void run() {
        RunAutoSet(state, [this](const QString& line) { lines << line; });
    }
    // "register,value)" of every write, in order.
    QStringList writes() const {
        return board->transfers().replaceInStrings(QStringLiteral("BusEngine.WriteByte(5E,"), "");
    }
    QStringList lines;
};

TEST_F(AutoSet, WritesTheTwentyRowsInOrderAndLogsEach) {
    state.DataToWrite = 300;
    run();
    EXPECT_EQ(writes().join(u' '), "48,00) 49,01) 4A,02) 68,AA) 69,AA) 18,00) 19,00) 20,FC) 21,FC) "
                                   "90,5A) 91,5A) 92,5A) 98,3C) 99,3C) 9A,3C) A8,FC) A9,FC) B0,0F) "
                                   "B1,0F) 01,10)"); // and nothing read back
    ASSERT_EQ(lines.size(), 20);
    EXPECT_EQ(lines[0], "QMF4150-Temp0 fan mask, Address Pointer:48, data written:0");
    EXPECT_EQ(lines[3], "QMF4150-Fax 1 speed 2, Address Pointer:68, data written:AA");
    EXPECT_EQ(lines[17], "QMF4150-AIN 0 Low, Address Pointer:B0, data written:F");
    EXPECT_EQ(lines[19], "QMF4150, Address Pointer:1, data written:10");
    EXPECT_EQ(state.AddressPointer, 0x01);
    EXPECT_EQ(state.DataToWrite, 0x10);
}

TEST_F(AutoSet, AFailedWriteStopsTheRowsAfterItAndThrows) {
    board->failNext(1, QStringLiteral("BusEngine.WriteByte(5E,18"));
    EXPECT_THROW(run(), LinkError);
    EXPECT_EQ(writes().size(), 6);
    EXPECT_EQ(lines.size(), 5); // a row's line follows its write, so the failed row has none
    EXPECT_EQ(printerChip()[0x01], 0x00); // the configuration row was never reached
}

} // namespace
} // namespace qmf::test
