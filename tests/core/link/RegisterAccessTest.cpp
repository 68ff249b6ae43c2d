// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/RegisterAccess.h"

#include "CoreFixture.h"
#include "core/link/LinkErrors.h"

namespace qmf::test {
namespace {

using RegisterAccess = CoreFixture;

TEST_F(RegisterAccess, PrinterPortPutsTheSavedTransferSettingBeforeWritesOnly) {
    state.CommsMedium = 1;
    state.SavedTransferSetting = 7;
    printerChip()[0x60] = 0x81;
    state.AddressPointer = 0x60;
    ReadRegister(state);
    EXPECT_EQ(state.DataRead, 0x81);
    state.DataToWrite = 0x89;
    WriteRegister(state);
    WriteRegisterAt(state, 0x61, 0x12);
    const QString fetch = "get ParallelPortLink|get BusEngine|"; // afresh for each use
    EXPECT_EQ(board->log.join(u'|'),
              fetch + "BusEngine.ReadByte(5E,60)=81|" + fetch + "TransferSetting=7|" + fetch +
                  "BusEngine.WriteByte(5E,60,89)|" + fetch + "TransferSetting=7|" + fetch +
                  "BusEngine.WriteByte(5E,61,12)");
}

TEST_F(RegisterAccess, AnyMediumButOneUsesTheSmbusAndWritesAtMost255) {
    smbusChip()[0x0E] = 0x12;
    for (auto [medium, value, written] : {std::tuple{0, 300, 255}, {7, 255, 255}, {-1, 254, 254}}) {
        state.CommsMedium = qint16(medium);
        board->clearLog();
        state.AddressPointer = 0x70;
        state.DataToWrite = value;
        WriteRegister(state);
        EXPECT_EQ(state.DataToWrite, written); // stored back clamped
        ReadRegister(state);
        state.DataToWrite = 42;
        EXPECT_EQ(ReadRegisterAt(state, 0x0E), 0x12);
        WriteRegisterAt(state, 0x71, 1000);
        // The address-taking pair leaves the single-register protocol alone.
        EXPECT_EQ(state.DataRead, written);
        EXPECT_EQ(state.AddressPointer, 0x70);
        EXPECT_EQ(state.DataToWrite, 42);
        const QString w = QString::asprintf("%02X", written);
        EXPECT_EQ(board->log, QStringList({"get SmbusLink", "Smbus.WriteByte(5E,70," + w + ")",
                                           "get SmbusLink", "Smbus.ReadByte(5E,70)=" + w,
                                           "get SmbusLink", "Smbus.ReadByte(5E,0E)=12",
                                           "get SmbusLink", "Smbus.WriteByte(5E,71,FF)"}))
            << medium;
    }
}

TEST_F(RegisterAccess, OutOfByteValuesRaiseOverflowBeforeAnythingIsSent) {
    state.CommsMedium = 1;
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
    state.CommsMedium = 1;
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
