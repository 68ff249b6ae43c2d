// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/RegisterAccess.h"

#include "CoreFixture.h"
#include "core/link/LinkErrors.h"

namespace qmf::test {
namespace {

using RegisterAccess = CoreFixture;

TEST_F(RegisterAccess, PrinterPortReadGoesThroughTheBusEngineWithoutTransferSetting) {
    usePrinterPort();
    printerChip()[0x60] = 0x81;
    state.AddressPointer = 0x60;
    ReadRegister(state);
    EXPECT_EQ(state.DataRead, 0x81);
    EXPECT_EQ(board->log, QStringList({"get ParallelPortLink", "get BusEngine",
                                       "BusEngine.ReadByte(5E,60)=81"}));
}

TEST_F(RegisterAccess, PrinterPortWritePutsTheSavedTransferSettingFirst) {
    usePrinterPort();
    state.SavedTransferSetting = 7;
    state.AddressPointer = 0x60;
    state.DataToWrite = 0x89;
    WriteRegister(state);
    EXPECT_EQ(board->log, QStringList({"get ParallelPortLink", "get BusEngine", "TransferSetting=7",
                                       "get ParallelPortLink", "get BusEngine",
                                       "BusEngine.WriteByte(5E,60,89)"}));
    EXPECT_EQ(printerChip()[0x60], 0x89);

    board->clearLog();
    WriteRegisterAt(state, 0x61, 0x12);
    EXPECT_EQ(board->log, QStringList({"get ParallelPortLink", "get BusEngine", "TransferSetting=7",
                                       "get ParallelPortLink", "get BusEngine",
                                       "BusEngine.WriteByte(5E,61,12)"}));
}

class RegisterAccessSmbus : public CoreFixture, public ::testing::WithParamInterface<qint16> {};

TEST_P(RegisterAccessSmbus, AnyMediumButOneUsesTheSmbus) {
    state.CommsMedium = GetParam();
    smbusChip()[0x70] = 0x20;
    state.AddressPointer = 0x70;
    ReadRegister(state);
    state.DataToWrite = 0x33;
    WriteRegister(state);
    EXPECT_EQ(ReadRegisterAt(state, 0x70), 0x33);
    WriteRegisterAt(state, 0x71, 5);
    EXPECT_EQ(state.DataRead, 0x20);
    EXPECT_EQ(board->log,
              QStringList({"get SmbusLink", "Smbus.ReadByte(5E,70)=20", "get SmbusLink",
                           "Smbus.WriteByte(5E,70,33)", "get SmbusLink", "Smbus.ReadByte(5E,70)=33",
                           "get SmbusLink", "Smbus.WriteByte(5E,71,05)"}));
}

INSTANTIATE_TEST_SUITE_P(Media, RegisterAccessSmbus, ::testing::Values(0, 7, 2, -1));

struct ClampCase {
    qint32 value;
    int written;
};

class WriteClamp : public CoreFixture, public ::testing::WithParamInterface<ClampCase> {};

TEST_P(WriteClamp, WritesAtMost255AndStoresTheClampedValue) {
    useSmbus();
    state.AddressPointer = 0x80;
    state.DataToWrite = GetParam().value;
    WriteRegister(state);
    EXPECT_EQ(smbusChip()[0x80], GetParam().written);
    EXPECT_EQ(state.DataToWrite, GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(Values, WriteClamp,
                         ::testing::Values(ClampCase{300, 255}, ClampCase{255, 255},
                                           ClampCase{254, 254}, ClampCase{0, 0},
                                           ClampCase{2147483647, 255}));

TEST_F(RegisterAccess, WriteRegisterAtClampsItsOwnArgumentOnly) {
    useSmbus();
    state.DataToWrite = 42;
    state.AddressPointer = 0x11;
    WriteRegisterAt(state, 0x60, 1000);
    EXPECT_EQ(smbusChip()[0x60], 255);
    EXPECT_EQ(state.DataToWrite, 42);
    EXPECT_EQ(state.AddressPointer, 0x11);
}

TEST_F(RegisterAccess, ReadRegisterAtLeavesTheSharedVariablesAlone) {
    usePrinterPort();
    printerChip()[0x0E] = 0x12;
    state.DataRead = 99;
    state.AddressPointer = 0x33;
    const quint8 reg = 0x0E;
    EXPECT_EQ(ReadRegisterAt(state, reg), 0x12);
    EXPECT_EQ(reg, 0x0E);
    EXPECT_EQ(state.DataRead, 99);
    EXPECT_EQ(state.AddressPointer, 0x33);
}

TEST_F(RegisterAccess, OutOfByteValuesRaiseOverflowBeforeAnythingIsSent) {
    usePrinterPort();
    state.AddressPointer = 256;
    EXPECT_THROW(ReadRegister(state), OverflowError);
    state.DataToWrite = 1;
    EXPECT_THROW(WriteRegister(state), OverflowError);
    state.AddressPointer = -1;
    EXPECT_THROW(ReadRegister(state), OverflowError);
    state.AddressPointer = 0x60;
    state.DataToWrite = -1;
    EXPECT_THROW(WriteRegister(state), OverflowError);
    EXPECT_EQ(state.DataToWrite, -1);
    EXPECT_THROW(WriteRegisterAt(state, 0x60, -5), OverflowError);
    state.DeviceAddress = 0x15E;
    EXPECT_THROW(ReadRegisterAt(state, 0x0D), OverflowError);
    EXPECT_TRUE(board->log.isEmpty()) << board->log.join(u'\n').toStdString();
}

TEST_F(RegisterAccess, AFailedReadLeavesDataReadUnchanged) {
    usePrinterPort();
    printerChip()[0x60] = 0x81;
    state.DataRead = 0x17;
    state.AddressPointer = 0x60;
    board->failNext(1, QStringLiteral("BusEngine.ReadByte"));
    EXPECT_THROW(ReadRegister(state), LinkError);
    EXPECT_EQ(state.DataRead, 0x17);
    ReadRegister(state); // nothing is retried, the next call simply works
    EXPECT_EQ(state.DataRead, 0x81);
}

TEST_F(RegisterAccess, AFailedTransferSettingStopsTheWrite) {
    usePrinterPort();
    state.AddressPointer = 0x60;
    state.DataToWrite = 9;
    board->failNext(1, QStringLiteral("TransferSetting="));
    EXPECT_THROW(WriteRegister(state), LinkError);
    EXPECT_TRUE(board->transfers().isEmpty());
    EXPECT_EQ(printerChip()[0x60], 0);
}

} // namespace
} // namespace qmf::test
