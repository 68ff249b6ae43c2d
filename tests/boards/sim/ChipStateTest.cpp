// SPDX-License-Identifier: GPL-3.0-or-later
// Saving and restoring a simulated chip: a faithful round trip, and refusal of anything else.
#include "SimTestSupport.h"

#include <QDataStream>
#include <QIODevice>
#include <functional>
#include <vector>

namespace qmf::sim::test {
namespace {

std::array<quint8, 256> allRegisters(SimulatedChip& chip) {
    std::array<quint8, 256> regs{};
    for (int r = 0; r < 256; ++r) {
        regs[r] = chip.readRegister(quint8(r));
    }
    return regs;
}

TEST(ChipState, RestoredChipCarriesOnExactlyLikeTheOriginal) {
    ManualClock clock;
    SimulatedChip original(clock);
    original.writeRegister(0x60, 0xFF);
    original.writeRegister(0x31, 0x03);
    original.setHeaters(true, false);
    original.setFanConnected(1, false);
    clock.advanceMs(30'000);
    const QByteArray state = original.saveState();

    ManualClock otherClock; // another run: its time has nothing to do with the first one's
    otherClock.advanceMs(123'456);
    SimulatedChip copy(otherClock);
    QString error;
    ASSERT_TRUE(copy.restoreState(state, &error)) << error.toStdString();
    EXPECT_EQ(allRegisters(copy), allRegisters(original));
    for (int i = 0; i < 40; ++i) {
        clock.advanceMs(1'000);
        otherClock.advanceMs(1'000);
        ASSERT_EQ(allRegisters(copy), allRegisters(original)) << "after " << i + 1 << " s";
    }
    EXPECT_DOUBLE_EQ(copy.temperature(2), original.temperature(2));
    EXPECT_DOUBLE_EQ(copy.fanRpm(0), original.fanRpm(0));
}

// Rebuilds a saved state around a changed payload with a matching checksum.
QByteArray withPayload(const QByteArray& state, const std::function<void(QByteArray&)>& change) {
    QDataStream in(state);
    quint32 magic = 0;
    quint16 version = 0, checksum = 0;
    QByteArray payload;
    in >> magic >> version >> payload >> checksum;
    change(payload);
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s << magic << version << payload << quint16(qChecksum(payload));
    return out;
}

TEST(ChipState, AnythingButASavedStateIsRefusedWithAReason) {
    ManualClock clock;
    SimulatedChip donor(clock);
    const QByteArray good = donor.saveState();
    QByteArray otherVersion = good;
    otherVersion[5] = char(otherVersion[5] + 1);
    QByteArray damaged = good;
    damaged[40] = char(damaged[40] ^ 0x01);
    struct Case {
        const char* what;
        QByteArray bytes;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"empty", QByteArray(), "not a saved simulated chip state"},
        {"text", QByteArray("0,0\r\n1,10\r\n"), "not a saved simulated chip state"},
        {"newer version", otherVersion, "version 2 is not supported"},
        {"truncated", good.left(good.size() - 10), "truncated"},
        {"trailing bytes", good + QByteArray("x"), "unexpected bytes"},
        {"flipped bit", damaged, "checksum"},
        {"short payload", withPayload(good, [](QByteArray& p) { p.chop(1); }), "wrong size"},
        {"identification", withPayload(good, [](QByteArray& p) { p[0x0D] = 0; }), "identification"},
        {"ambient", withPayload(good, [](QByteArray& p) { p[256] = char(0x7F); }), "ambient"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ManualClock clk;
        SimulatedChip chip(clk);
        chip.writeRegister(0x60, 0x33);
        const auto before = allRegisters(chip);
        QString error;
        EXPECT_FALSE(chip.restoreState(c.bytes, &error));
        EXPECT_TRUE(error.contains(QLatin1String(c.reason))) << error.toStdString();
        EXPECT_EQ(allRegisters(chip), before);
        EXPECT_FALSE(chip.restoreState(c.bytes, nullptr));
    }
}

} // namespace
} // namespace qmf::sim::test
