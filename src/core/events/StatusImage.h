// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>
#include <array>
#include <limits>
#include <optional>

namespace qmf::events {

// The registers an alarm is judged on, each with the byte last read and when: the main status,
// the temperature devices installed, both fan status registers, and each temperature channel's
// value and limits. Whoever read them (a view, the events poll, a command), the byte counts.
class StatusImage {
public:
    static constexpr quint8 MainStatus = 0x00;
    static constexpr quint8 TempInstalled = 0x06;
    static constexpr quint8 FanStatus = 0x10; // fan 0; fan 1 at 11h
    static constexpr quint8 TempHighLimit = 0x90;
    static constexpr quint8 TempLowLimit = 0x98;
    static constexpr quint8 TempValue = 0xA0;
    static constexpr int TempChannels = 3;
    static constexpr int Fans = 2;

    // A byte older than this no longer tells how the chip stands.
    static constexpr qint64 FreshMs = 1500;

    static bool watched(quint8 reg);

    void note(quint8 reg, quint8 value, qint64 nowMs);
    // The byte when it was read within FreshMs of nowMs.
    std::optional<quint8> fresh(quint8 reg, qint64 nowMs) const;
    // The byte last read, however old.
    std::optional<quint8> last(quint8 reg) const;
    // Milliseconds since the register was last read; none when it never was.
    std::optional<qint64> age(quint8 reg, qint64 nowMs) const;

private:
    static constexpr qint64 Never = std::numeric_limits<qint64>::min();
    std::array<qint64, 256> readAt_ = filled();
    std::array<quint8, 256> value_{};

    static constexpr std::array<qint64, 256> filled() {
        std::array<qint64, 256> a{};
        a.fill(Never);
        return a;
    }
};

} // namespace qmf::events
