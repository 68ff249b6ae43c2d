// SPDX-License-Identifier: GPL-3.0-or-later
// Saved state of a simulated chip: magic, version, payload (registers and model) and a CRC, so
// that a file of any other kind, a newer format or a damaged copy is refused with a reason.
#include "boards/sim/ChipModel.h"

#include <QDataStream>
#include <QIODevice>
#include <cmath>

namespace qmf::sim {

namespace {

constexpr quint32 kMagic = 0x514D4653; // "QMFS"
// Version 2 adds the clock time not yet integrated; version 1 states are read as having none.
constexpr quint16 kVersion = 2;
constexpr quint16 kOldestVersion = 1;

void prepare(QDataStream& s) {
    s.setVersion(QDataStream::Qt_6_4);
    s.setByteOrder(QDataStream::BigEndian);
    s.setFloatingPointPrecision(QDataStream::DoublePrecision);
}

template <typename T, std::size_t N> void writeAll(QDataStream& s, const std::array<T, N>& values) {
    for (const T& v : values) {
        s << v;
    }
}

template <typename T, std::size_t N> void readAll(QDataStream& s, std::array<T, N>& values) {
    for (T& v : values) {
        s >> v;
    }
}

bool within(double v, double lo, double hi) {
    return std::isfinite(v) && v >= lo && v <= hi;
}

template <std::size_t N> bool allWithin(const std::array<double, N>& values, double lo, double hi) {
    for (double v : values) {
        if (!within(v, lo, hi)) {
            return false;
        }
    }
    return true;
}

// The first implausible field, or an empty text.
QString implausible(const ChipModel& m) {
    if (m.regs[reg::ManufacturerId] != reg::IdValue ||
        m.regs[reg::Revision] != reg::RevisionValue) {
        return QStringLiteral("identification registers");
    }
    if (!within(m.env.ambient, physics::kMinAmbient, physics::kMaxAmbient)) {
        return QStringLiteral("ambient temperature");
    }
    if (m.env.gpioLevels > 0x7F) {
        return QStringLiteral("GPIO levels");
    }
    if (!allWithin(m.phys.temp, -200.0, 200.0) || !allWithin(m.ctl.afcTemp, -200.0, 300.0)) {
        return QStringLiteral("temperatures");
    }
    if (!allWithin(m.phys.rpm, 0.0, physics::kMaxRpm)) {
        return QStringLiteral("fan speeds");
    }
    if (!allWithin(m.ctl.spinUpLeftS, 0.0, 16.0) || !allWithin(m.ctl.outputDuty, 0.0, 100.0)) {
        return QStringLiteral("fan drive");
    }
    if (m.modelMs < 0 || m.modelMs > physics::kMaxModelMs || m.pendingMs < 0 ||
        m.pendingMs >= physics::kStepMs) {
        return QStringLiteral("model time");
    }
    return {};
}

bool fail(QString* error, const QString& reason) {
    if (error) {
        *error = reason;
    }
    return false;
}

} // namespace

QByteArray serializeModel(const ChipModel& m) {
    QByteArray payload;
    {
        QDataStream s(&payload, QIODevice::WriteOnly);
        prepare(s);
        writeAll(s, m.regs);
        s << m.env.ambient;
        writeAll(s, m.env.heater);
        s << m.env.gpioLevels;
        writeAll(s, m.env.fanConnected);
        s << m.env.cfaultIn;
        writeAll(s, m.phys.temp);
        writeAll(s, m.phys.rpm);
        writeAll(s, m.ctl.afcTemp);
        writeAll(s, m.ctl.spinUpLeftS);
        writeAll(s, m.ctl.driven);
        writeAll(s, m.ctl.outputDuty);
        s << m.modelMs << m.pendingMs;
    }
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    prepare(s);
    s << kMagic << kVersion << payload << quint16(qChecksum(payload));
    return out;
}

bool deserializeModel(const QByteArray& bytes, ChipModel& out, QString* error) {
    QDataStream s(bytes);
    prepare(s);
    quint32 magic = 0;
    quint16 version = 0;
    s >> magic >> version;
    if (s.status() != QDataStream::Ok || magic != kMagic) {
        return fail(error, QStringLiteral("the data is not a saved simulated chip state"));
    }
    if (version < kOldestVersion || version > kVersion) {
        return fail(error, QStringLiteral("saved state version %1 is not supported (this program "
                                          "reads versions %2 to %3)")
                               .arg(version)
                               .arg(kOldestVersion)
                               .arg(kVersion));
    }
    QByteArray payload;
    quint16 checksum = 0;
    s >> payload >> checksum;
    if (s.status() != QDataStream::Ok) {
        return fail(error, QStringLiteral("the saved state is truncated"));
    }
    if (!s.atEnd()) {
        return fail(error, QStringLiteral("the saved state has unexpected bytes at its end"));
    }
    if (checksum != qChecksum(payload)) {
        return fail(error, QStringLiteral("the saved state is damaged (checksum mismatch)"));
    }
    ChipModel m;
    QDataStream p(payload);
    prepare(p);
    readAll(p, m.regs);
    p >> m.env.ambient;
    readAll(p, m.env.heater);
    p >> m.env.gpioLevels;
    readAll(p, m.env.fanConnected);
    p >> m.env.cfaultIn;
    readAll(p, m.phys.temp);
    readAll(p, m.phys.rpm);
    readAll(p, m.ctl.afcTemp);
    readAll(p, m.ctl.spinUpLeftS);
    readAll(p, m.ctl.driven);
    readAll(p, m.ctl.outputDuty);
    p >> m.modelMs;
    if (version >= 2) {
        p >> m.pendingMs;
    }
    if (p.status() != QDataStream::Ok || !p.atEnd()) {
        return fail(error, QStringLiteral("the saved state has a payload of the wrong size"));
    }
    if (const QString field = implausible(m); !field.isEmpty()) {
        return fail(error, QStringLiteral("the saved state holds impossible %1").arg(field));
    }
    // Events are derived from the registers and the surroundings.
    evaluateStatus(m);
    out = m;
    return true;
}

} // namespace qmf::sim
