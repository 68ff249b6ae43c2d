// SPDX-License-Identifier: GPL-3.0-or-later
#include "CoreFixture.h"
#include "core/link/LinkErrors.h"
#include "core/wizards/RegisterBits.h"

namespace qmf::test {
namespace {

class WizardHelpers : public CoreFixture {
protected:
    WizardHelpers() {
        state.CommsMedium = 1;
        printerChip();
        state.AddressPointer = 0x33;
        state.DataToWrite = 77;
        state.DataRead = 99;
    }
    // The helpers go through the address-taking operations: the single-register protocol's
    // variables keep what they held.
    void TearDown() override {
        EXPECT_EQ(state.AddressPointer, 0x33);
        EXPECT_EQ(state.DataToWrite, 77);
        EXPECT_EQ(state.DataRead, 99);
    }
    // The traffic of one read-modify-write of register 0x61.
    static QStringList readThenWrite(int before, int after) {
        return {QString::asprintf("BusEngine.ReadByte(5E,61)=%02X", before),
                QString::asprintf("BusEngine.WriteByte(5E,61,%02X)", after)};
    }
};

TEST_F(WizardHelpers, ABitIsReadOnceAndWrittenBackWithTheWholeByteOnce) {
    // A bit outside 0..7 writes the byte read back unchanged, and reads as the whole byte.
    const std::tuple<int, int, bool, int> sets[] = {{0x00, 3, true, 0x08},   {0xFF, 0, false, 0xFE},
                                                    {0x80, 7, true, 0x80},   {0x80, 7, false, 0x00},
                                                    {0x21, 5, false, 0x01},  {0x5A, 8, true, 0x5A},
                                                    {0x5A, 200, false, 0x5A}};
    for (auto [before, bit, on, after] : sets) {
        printerChip()[0x61] = quint8(before);
        board->clearLog();
        SetRegisterBit(state, 0x61, quint8(bit), on);
        EXPECT_EQ(board->transfers(), readThenWrite(before, after)) << before << " bit " << bit;
    }
    printerChip()[0x61] = 0xA5;
    board->clearLog();
    for (auto [bit, result] : {std::pair{0, 1}, {1, 0}, {7, 1}, {8, 0xA5}}) {
        EXPECT_EQ(GetRegisterBit(state, 0x61, quint8(bit)), result) << bit;
    }
    EXPECT_EQ(board->transfers().size(), 4); // one read each

    board->failNext(1, QStringLiteral("BusEngine.ReadByte"));
    EXPECT_THROW(SetRegisterBit(state, 0x61, 2, true), LinkError);
    EXPECT_EQ(board->transfers().last(), "BusEngine.ReadByte(5E,61) FAILED"); // and no write
}

TEST_F(WizardHelpers, FieldsReplaceOnlyTheirBitsAndRefuseValuesThatDoNotFit) {
    const RegisterField bits54{0x30, 4}, bits76{0xC0, 6};
    // before, field, its value, the value written, after
    const std::tuple<int, RegisterField, int, int, int> cases[] = {
        {0x05, HighNibble, 0, 15, 0xF5}, {0xAB, LowNibble, 0xB, 3, 0xA3},
        {0x52, HighNibble, 5, 4, 0x42},  {0xFF, bits54, 3, 0, 0xCF},
        {0xB7, bits54, 3, 1, 0x97},      {0x15, bits76, 0, 2, 0x95},
        {0xC5, bits76, 3, 0, 0x05}};
    for (auto [before, field, value, written, after] : cases) {
        printerChip()[0x61] = quint8(before);
        EXPECT_EQ(ReadRegisterField(state, 0x61, field), value) << before;
        board->clearLog();
        WriteRegisterField(state, 0x61, field, written);
        EXPECT_EQ(board->transfers(), readThenWrite(before, after)) << before;
    }
    for (auto [field, value] :
         {std::pair{LowNibble, 16}, {HighNibble, -1}, {bits76, 4}, {bits54, 255}}) {
        board->clearLog();
        EXPECT_THROW(WriteRegisterField(state, 0x61, field, value), OverflowError) << value;
        EXPECT_TRUE(board->transfers().isEmpty()); // nothing sent, not even the read
    }
}

} // namespace
} // namespace qmf::test
