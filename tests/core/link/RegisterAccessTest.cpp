// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/RegisterAccess.h"

#include "CoreFixture.h"
#include "core/link/LinkErrors.h"

namespace qmf::test {
namespace {

using RegisterAccess = CoreFixture;

TEST_F(RegisterAccess, PrinterPortPutsTheSavedTransferSettingBeforeWritesOnly) {
    usePrinterPort();
    state.SavedTransferSetting = 7;
    printerChip()[0x60] = 0x81;
    state.AddressPointer = 0x60;
    ReadRegister(state);
    EXPECT_EQ(state.DataRead, 0x81);
    state.DataToWrite = 0x89;
    WriteRegister(state);
    WriteRegisterAt(state, 0x61, 0x12);
    EXPECT_EQ(
        board->log,
        QStringList({"get ParallelPortLink", "get BusEngine", "BusEngine.ReadByte(5E,60)=81",
                     "get ParallelPortLink", "get BusEngine", "TransferSetting=7",
                     "get ParallelPortLink", "get BusEngine", "BusEngine.WriteByte(5E,60,89)",
                     "get ParallelPortLink", "get BusEngine", "TransferSetting=7",
                     "get ParallelPortLink", "get BusEngine", "BusEngine.WriteByte(5E,61,12)"}));
}

TEST_F(RegisterAccess, AnyMediumButOneUsesTheSmbus) {
    for (qint16 medium : {0, 7, -1}) {
        state.CommsMedium = medium;
        board->clearLog();
        state.AddressPointer = 0x70;
        state.DataToWrite = 0x33;
        WriteRegister(state);
        ReadRegister(state);
        EXPECT_EQ(ReadRegisterAt(state, 0x70), 0x33);
        WriteRegisterAt(state, 0x71, 5);
        EXPECT_EQ(state.DataRead, 0x33);
        EXPECT_EQ(board->log, QStringList({"get SmbusLink", "Smbus.WriteByte(5E,70,33)",
                                           "get SmbusLink", "Smbus.ReadByte(5E,70)=33",
                                           "get SmbusLink", "Smbus.ReadByte(5E,70)=33",
                                           "get SmbusLink", "Smbus.WriteByte(5E,71,05)"}))
            << medium;
    }
}

TEST_F(RegisterAccess, WritesAtMost255AndWriteRegisterStoresTheClampedValue) {
    useSmbus();
    state.AddressPointer = 0x80;
    for (auto [value, written] : {std::pair{300, 255}, {255, 255}, {254, 254}, {0x7FFFFFFF, 255}}) {
        state.DataToWrite = value;
        WriteRegister(state);
        EXPECT_EQ(smbusChip()[0x80], written);
        EXPECT_EQ(state.DataToWrite, written);
    }
    state.DataToWrite = 42;
    WriteRegisterAt(state, 0x60, 1000);
    EXPECT_EQ(smbusChip()[0x60], 255);
    EXPECT_EQ(state.DataToWrite, 42);
    EXPECT_EQ(state.AddressPointer, 0x80);
}

TEST_F(RegisterAccess, ReadRegisterAtLeavesTheSharedVariablesAlone) {
    usePrinterPort();
    printerChip()[0x0E] = 0x12;
    state.DataRead = 99;
    state.AddressPointer = 0x33;
    EXPECT_EQ(ReadRegisterAt(state, 0x0E), 0x12);
    EXPECT_EQ(state.DataRead, 99);
    EXPECT_EQ(state.AddressPointer, 0x33);
}

TEST_F(RegisterAccess, OutOfByteValuesRaiseOverflowBeforeAnythingIsSent) {
    usePrinterPort();
    state.DataToWrite = 1;
    for (qint16 pointer : {256, -1}) {
        state.AddressPointer = pointer;
        EXPECT_THROW(ReadRegister(state), OverflowError);
        EXPECT_THROW(WriteRegister(state), OverflowError);
    }
    state.AddressPointer = 0x60;
    state.DataToWrite = -1;
    EXPECT_THROW(WriteRegister(state), OverflowError);
    EXPECT_THROW(WriteRegisterAt(state, 0x60, -5), OverflowError);
    state.DeviceAddress = 0x15E;
    EXPECT_THROW(ReadRegisterAt(state, 0x0D), OverflowError);
    EXPECT_TRUE(board->log.isEmpty()) << board->log.join(u'\n').toStdString();
}

TEST_F(RegisterAccess, FailuresReachTheCallerAndChangeNothing) {
    usePrinterPort();
    printerChip()[0x60] = 0x81;
    state.DataRead = 0x17;
    state.AddressPointer = 0x60;
    board->failNext(1, QStringLiteral("BusEngine.ReadByte"));
    EXPECT_THROW(ReadRegister(state), LinkError);
    EXPECT_EQ(state.DataRead, 0x17);
    state.DataToWrite = 9;
    board->failNext(1, QStringLiteral("TransferSetting="));
    EXPECT_THROW(WriteRegister(state), LinkError);
    EXPECT_EQ(board->transfers(), QStringList({"BusEngine.ReadByte(5E,60) FAILED"}));
    ReadRegister(state); // nothing is retried; the next call simply works
    EXPECT_EQ(state.DataRead, 0x81);
}

} // namespace
} // namespace qmf::test
