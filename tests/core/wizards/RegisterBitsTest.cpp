// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/wizards/RegisterBits.h"

#include "core/CoreFixture.h"
#include "core/link/LinkErrors.h"

namespace qmf::test {
namespace {

class RegisterBitsTest : public CoreFixture {
protected:
    RegisterBitsTest() {
        usePrinterPort();
        board->clearLog();
    }
    QString read(quint8 reg, quint8 value) const {
        return QStringLiteral("BusEngine.ReadByte(5E,%1)=%2").arg(hex(reg), hex(value));
    }
    QString write(quint8 reg, quint8 value) const {
        return QStringLiteral("BusEngine.WriteByte(5E,%1,%2)").arg(hex(reg), hex(value));
    }
    static QString hex(quint8 value) {
        return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
    }
};

struct SetBitCase {
    quint8 before;
    quint8 bit;
    bool on;
    quint8 after;
};

TEST_F(RegisterBitsTest, SetRegisterBitReadsOnceAndWritesTheWholeByteOnce) {
    const SetBitCase cases[] = {
        {0x00, 3, true, 0x08},
        {0xFF, 0, false, 0xFE},
        {0x80, 7, true, 0x80},
        {0x80, 7, false, 0x00},
        {0x21, 5, false, 0x01},
        {0x01, 6, true, 0x41},
        // A bit outside 0..7 writes the byte read back unchanged.
        {0x5A, 8, true, 0x5A},
        {0x5A, 200, false, 0x5A},
    };
    for (const SetBitCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "before " << int(c.before) << " bit " << int(c.bit));
        printerChip()[0x18] = c.before;
        board->clearLog();
        SetRegisterBit(state, 0x18, c.bit, c.on);
        EXPECT_EQ(board->transfers(), QStringList({read(0x18, c.before), write(0x18, c.after)}));
        EXPECT_EQ(printerChip()[0x18], c.after);
    }
}

TEST_F(RegisterBitsTest, GetRegisterBitGivesTheBitOrTheWholeByteForABitOutsideTheByte) {
    const struct {
        quint8 value;
        quint8 bit;
        quint8 expected;
    } cases[] = {{0x20, 5, 1}, {0x20, 4, 0}, {0x80, 7, 1},    {0x7F, 7, 0},
                 {0x01, 0, 1}, {0xFE, 0, 0}, {0xA5, 8, 0xA5}, {0x00, 9, 0x00}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "value " << int(c.value) << " bit " << int(c.bit));
        printerChip()[0x10] = c.value;
        board->clearLog();
        EXPECT_EQ(GetRegisterBit(state, 0x10, c.bit), c.expected);
        EXPECT_EQ(board->transfers(), QStringList({read(0x10, c.value)}));
    }
}

TEST_F(RegisterBitsTest, TheBitOperationsLeaveTheSingleRegisterProtocolAlone) {
    state.AddressPointer = 0x33;
    state.DataToWrite = 77;
    state.DataRead = 99;
    printerChip()[0x48] = 0x02;
    SetRegisterBit(state, 0x48, 0, true);
    EXPECT_EQ(GetRegisterBit(state, 0x48, 1), 1);
    WriteRegisterField(state, 0x48, HighNibble, 3);
    EXPECT_EQ(ReadRegisterField(state, 0x48, LowNibble), 3);
    EXPECT_EQ(state.AddressPointer, 0x33);
    EXPECT_EQ(state.DataToWrite, 77);
    EXPECT_EQ(state.DataRead, 99);
    EXPECT_EQ(printerChip()[0x48], 0x33);
}

TEST_F(RegisterBitsTest, OnTheOnBoardSmbusTheSameTransfersUseThatPath) {
    useSmbus();
    smbusChip()[0x20] = 0x02;
    SetRegisterBit(state, 0x20, 0, true);
    EXPECT_EQ(board->transfers(), QStringList({QStringLiteral("Smbus.ReadByte(5E,20)=02"),
                                               QStringLiteral("Smbus.WriteByte(5E,20,03)")}));
}

TEST_F(RegisterBitsTest, AFailedReadThrowsAndWritesNothing) {
    printerChip()[0x19] = 0x00;
    board->failNext(1, QStringLiteral("BusEngine.ReadByte"));
    EXPECT_THROW(SetRegisterBit(state, 0x19, 2, true), LinkError);
    EXPECT_EQ(board->transfers(),
              QStringList({QStringLiteral("BusEngine.ReadByte(5E,19) FAILED")}));
    EXPECT_EQ(printerChip()[0x19], 0x00);
}

struct FieldCase {
    quint8 before;
    RegisterField field;
    int value;
    quint8 after;
};

TEST_F(RegisterBitsTest, WriteRegisterFieldReplacesOnlyTheFieldsBits) {
    const FieldCase cases[] = {
        {0x05, HighNibble, 15, 0xF5},
        {0xAB, LowNibble, 3, 0xA3},
        {0xAB, LowNibble, 0, 0xA0},
        {0x52, LowNibble, 3, 0x53},
        {0x02, HighNibble, 4, 0x42},
        {0xFF, RegisterField{0x30, 4}, 0, 0xCF},
        {0x00, RegisterField{0x30, 4}, 3, 0x30},
        {0x15, RegisterField{0xC0, 6}, 2, 0x95},
        {0xC5, RegisterField{0xC0, 6}, 0, 0x05},
    };
    for (const FieldCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "before " << int(c.before) << " value " << c.value);
        printerChip()[0x61] = c.before;
        board->clearLog();
        WriteRegisterField(state, 0x61, c.field, c.value);
        EXPECT_EQ(board->transfers(), QStringList({read(0x61, c.before), write(0x61, c.after)}));
    }
}

TEST_F(RegisterBitsTest, AValueThatDoesNotFitTheFieldIsRefusedBeforeAnyTraffic) {
    const struct {
        RegisterField field;
        int value;
    } cases[] = {{LowNibble, 16},
                 {HighNibble, -1},
                 {RegisterField{0xC0, 6}, 4},
                 {RegisterField{0x30, 4}, 255}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        printerChip()[0x68] = 0x5A;
        board->clearLog();
        EXPECT_THROW(WriteRegisterField(state, 0x68, c.field, c.value), OverflowError);
        EXPECT_TRUE(board->transfers().isEmpty());
        EXPECT_EQ(printerChip()[0x68], 0x5A);
    }
}

TEST_F(RegisterBitsTest, ReadRegisterFieldExtractsTheField) {
    const struct {
        quint8 value;
        RegisterField field;
        int expected;
    } cases[] = {{0x52, LowNibble, 2},
                 {0x52, HighNibble, 5},
                 {0xB7, RegisterField{0x30, 4}, 3},
                 {0xB7, RegisterField{0xC0, 6}, 2},
                 {0x3F, RegisterField{0xC0, 6}, 0}};
    for (const auto& c : cases) {
        printerChip()[0x88] = c.value;
        EXPECT_EQ(ReadRegisterField(state, 0x88, c.field), c.expected) << int(c.value);
    }
}

} // namespace
} // namespace qmf::test
