// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated chip's register file: which registers keep what is written, the reset, the
// monitoring freeze, analog inputs, signed temperature bytes, saving and restoring a chip.
#include "SimTestSupport.h"
#include "boards/sim/ChipModel.h"

#include <QDataStream>
#include <QIODevice>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <set>

namespace qmf::sim::test {
namespace {

using ChipRegistersTest = ChipTest;

std::array<quint8, 256> allRegisters(SimulatedChip& chip) {
    std::array<quint8, 256> regs{};
    for (int r = 0; r < 256; ++r) {
        regs[r] = chip.readRegister(quint8(r));
    }
    return regs;
}

TEST_F(ChipRegistersTest, ComputedRegistersIgnoreWritesAndTheSoftwareResetRestoresTheOthers) {
    EXPECT_EQ(read(0x0D), 0x41);
    EXPECT_EQ(read(0x06), 0x07);     // all three sensors installed
    EXPECT_EQ(read(0x01), 0x10);     // monitoring runs
    EXPECT_GT(chip.fanRpm(0), 1500); // the fans spin at start
    EXPECT_GT(chip.fanRpm(1), 1500);

    const std::array<quint8, 256> powerUp = allRegisters(chip);
    const std::set<int> computed = {0x00, 0x05, 0x06, 0x0D, 0x0E, 0x70,
                                    0x71, 0xA0, 0xA1, 0xA2, 0xB8, 0xB9};
    write(0x01, 0x00); // freeze the measurements so that only writes change the file
    for (int r = 0; r < 256; ++r) {
        if (r == 0x0B || r == 0x10 || r == 0x11) {
            continue; // reset and fan status have tests of their own
        }
        const quint8 before = read(r);
        const quint8 value = quint8(r * 7 + 3) == before ? quint8(r * 7 + 4) : quint8(r * 7 + 3);
        write(r, value);
        EXPECT_EQ(read(r), computed.count(r) ? before : value) << r;
    }
    write(0x0B, 0x40); // without bit 7 nothing happens
    EXPECT_EQ(read(0x60), 0xA3);
    write(0x0B, 0x80);
    EXPECT_EQ(allRegisters(chip), powerUp);
}

TEST_F(ChipRegistersTest, ValuesMoveOnlyWhileMonitoringRuns) {
    write(0x60, 0xFF);
    write(0x61, 0xF2);
    write(0x01, 0x00);
    const std::array<quint8, 256> frozen = allRegisters(chip);
    chip.setHeaters(true, true);
    runSeconds(60);
    EXPECT_EQ(allRegisters(chip), frozen);
    write(0x01, 0x10);
    runSeconds(0.1);
    for (int reg : {0xA1, 0xA2, 0x70, 0x71}) { // both diodes hotter, fan 0 faster, fan 1 slower
        EXPECT_NE(read(reg), frozen[reg]) << reg;
    }
}

TEST_F(ChipRegistersTest, AnalogInputsDriftSlowly) {
    for (int reg : {0xB8, 0xB9}) {
        std::set<int> seen;
        int last = read(reg);
        for (int i = 0; i < 1200; ++i) {
            runSeconds(0.1);
            const int value = read(reg);
            ASSERT_LE(std::abs(value - last), 1) << reg;
            seen.insert(last = value);
        }
        EXPECT_GE(seen.size(), 3u) << reg;
    }
}

TEST(TemperatureCode, EncodesAndDecodesTheChipsSignedBytes) {
    // clang-format off
    const std::pair<int, int> encodings[] = {{0, 0}, {25, 25}, {127, 127}, {200, 127}, {-1, 255},
        {-2, 253}, {-3, 253}, {-10, 245}, {-55, 201}, {-127, 129}, {-128, 128}, {-300, 128}};
    const std::pair<int, int> decodings[] = {{85, 85}, {128, -127}, {201, -55}, {246, -9}, {255, -1}};
    // clang-format on
    for (const auto& [celsius, code] : encodings) {
        EXPECT_EQ(encodeTemperature(celsius), code) << celsius;
    }
    for (const auto& [code, celsius] : decodings) {
        EXPECT_EQ(decodeTemperature(quint8(code)), celsius) << code;
    }
}

TEST_F(ChipRegistersTest, BelowFreezingReadingsAreNegativeAndBadSurroundingsAreRefused) {
    chip.setAmbient(-40.0);
    runSeconds(1200);
    EXPECT_THROW(chip.setAmbient(500.0), std::invalid_argument);
    EXPECT_THROW(chip.setAmbient(std::nan("")), std::invalid_argument);
    EXPECT_THROW(chip.setFanConnected(2, false), std::out_of_range);
    EXPECT_THROW(chip.fanRpm(-1), std::out_of_range);
    EXPECT_THROW(chip.temperature(3), std::out_of_range);
    runSeconds(600);
    // The remote diodes settle 3 C above ambient: -37 C, a code above 127.
    for (int channel : {1, 2}) {
        EXPECT_GE(read(0xA0 + channel), 128);
        EXPECT_EQ(temperatureReading(channel), -37);
    }
    EXPECT_NEAR(temperatureReading(0), -35, 2);
    EXPECT_TRUE(read(0x00) & 0x80); // below the 0 C low limits: thermal event
}

TEST_F(ChipRegistersTest, OffsetsShiftTheReadings) {
    const int base = temperatureReading(1);
    for (const auto& [offset, shift] : {std::pair{5, 5}, {0xFB, -5}, {0x7F, 127 - base}, {0, 0}}) {
        write(0x31, offset);
        runSeconds(0.1);
        EXPECT_EQ(temperatureReading(1), base + shift) << offset;
    }
    EXPECT_EQ(temperatureReading(2), base); // another channel's offset does not touch TDM 2
}

TEST(ChipState, RestoredChipCarriesOnExactlyLikeTheOriginal) {
    SimChip original({{0x60, 0xFF}, {0x31, 0x03}});
    original.chip.setHeaters(true, false);
    original.chip.setFanConnected(1, false);
    original.runSeconds(30);
    SimChip copy({}, 123.456); // another run: its time has nothing to do with the first one's
    QString error;
    ASSERT_TRUE(copy.chip.restoreState(original.chip.saveState(), &error)) << error.toStdString();
    for (int i = 0; i <= 40; ++i) {
        ASSERT_EQ(allRegisters(copy.chip), allRegisters(original.chip)) << "after " << i << " s";
        original.runSeconds(1);
        copy.runSeconds(1);
    }
}

// A state saved part-way through an integration step carries that part over: the copy then
// runs in step with the original, not up to a step behind, however the time is cut up.
TEST(ChipState, TimeNotYetIntegratedIsKeptWithTheState) {
    for (const double cut : {0.0, 0.05, 0.099, 30.07}) {
        SCOPED_TRACE(cut);
        SimChip original({{0x60, 0xFF}}); // fans speeding up: the model changes every step
        original.runSeconds(cut);
        SimChip copy({}, 7.5);
        QString error;
        ASSERT_TRUE(copy.chip.restoreState(original.chip.saveState(), &error));
        for (int i = 0; i < 30; ++i) {
            ASSERT_EQ(copy.chip.fanRpm(0), original.chip.fanRpm(0)) << "after " << i;
            ASSERT_EQ(copy.chip.temperature(0), original.chip.temperature(0)) << "after " << i;
            original.runSeconds(0.03);
            copy.runSeconds(0.03);
        }
    }
}

// Rebuilds a saved state around a changed payload with a matching checksum.
QByteArray withPayload(const QByteArray& state, const std::function<void(QByteArray&)>& change,
                       std::optional<quint16> newVersion = std::nullopt) {
    QDataStream in(state);
    quint32 magic = 0;
    quint16 version = 0, checksum = 0;
    QByteArray payload;
    in >> magic >> version >> payload >> checksum;
    change(payload);
    version = newVersion.value_or(version);
    QByteArray out;
    QDataStream(&out, QIODevice::WriteOnly)
        << magic << version << payload << quint16(qChecksum(payload));
    return out;
}

TEST(ChipState, AnythingButASavedStateIsRefusedWithAReason) {
    const QByteArray good = SimChip().chip.saveState();
    const auto flipped = [&good](int at) { // bit 0 of one byte: version 2 becomes 3
        return QByteArray(good).replace(at, 1, QByteArray(1, char(good[at] ^ 1)));
    };
    // The model time and the time not yet integrated end the payload, 64 bits each.
    const auto times = [&good](qint64 model, qint64 pending) {
        return withPayload(good, [=](QByteArray& p) {
            QByteArray tail;
            QDataStream(&tail, QIODevice::WriteOnly) << model << pending;
            p.replace(p.size() - 16, 16, tail);
        });
    };
    const std::pair<QByteArray, const char*> cases[] = {
        {QByteArray("0,0\r\n1,10\r\n"), "not a saved simulated chip state"},
        {flipped(5), "version 3 is not supported"},
        {times(-1, 0), "model time"},
        {times(std::numeric_limits<qint64>::max() - 50, 0), "model time"},
        {times(physics::kMaxModelMs + 1, 0), "model time"},
        {times(0, physics::kStepMs), "model time"},
        {times(0, -1), "model time"},
        {good.left(good.size() - 10), "truncated"},
        {good + QByteArray("x"), "unexpected bytes"},
        {flipped(40), "checksum"},
        {withPayload(good, [](QByteArray& p) { p.chop(1); }), "wrong size"},
        {withPayload(good, [](QByteArray& p) { p[0x0D] = 0; }), "identification"},
        {withPayload(good, [](QByteArray& p) { p[256] = char(0x7F); }), "ambient"},
    };
    for (const auto& [bytes, reason] : cases) {
        SCOPED_TRACE(reason);
        SimChip s({{0x60, 0x33}});
        const auto before = allRegisters(s.chip);
        QString error;
        EXPECT_FALSE(s.chip.restoreState(bytes, &error));
        EXPECT_TRUE(error.contains(QLatin1String(reason))) << error.toStdString();
        EXPECT_EQ(allRegisters(s.chip), before);
        EXPECT_FALSE(s.chip.restoreState(bytes, nullptr));
    }
}

// A state of the first format (no time pending) is still read; a chip at the end of its model
// time runs on and saves a state that is read again.
TEST(ChipState, FirstFormatIsReadAndTheEndOfModelTimeIsSafe) {
    SimChip source;
    const QByteArray first = withPayload(
        source.chip.saveState(), [](QByteArray& p) { p.chop(8); }, quint16(1));
    SimChip s;
    QString error;
    ASSERT_TRUE(s.chip.restoreState(first, &error)) << error.toStdString();

    const QByteArray late = withPayload(source.chip.saveState(), [](QByteArray& p) {
        QByteArray tail;
        QDataStream(&tail, QIODevice::WriteOnly) << (physics::kMaxModelMs - 250) << qint64(0);
        p.replace(p.size() - 16, 16, tail);
    });
    ASSERT_TRUE(s.chip.restoreState(late, &error)) << error.toStdString();
    s.runSeconds(86400.0);
    s.read(0xA0);
    SimChip next;
    EXPECT_TRUE(next.chip.restoreState(s.chip.saveState(), &error)) << error.toStdString();
}

} // namespace
} // namespace qmf::sim::test
