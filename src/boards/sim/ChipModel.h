// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "boards/sim/ChipRegisters.h"

#include <QByteArray>
#include <QString>
#include <array>

namespace qmf::sim {

// Constants of the physical model (documented in docs/simulator.md).
namespace physics {
constexpr qint64 kStepMs = 100;            // fixed integration step
constexpr qint64 kMaxStepsPerAccess = 600; // beyond this a gap is covered in coarser steps
// The model clock stops here (about 285,000 years), far beyond any run, so that adding a step can
// never overflow and the time is exact as a double.
constexpr qint64 kMaxModelMs = qint64(1) << 53;
constexpr double kMaxRpm = 4000.0;         // a fan at 100 % duty
constexpr double kStallDutyPercent = 10.0; // below this duty a fan does not turn
constexpr double kFanTimeConstantS = 2.0;  // speed lag behind the duty
constexpr double kLocalAboveAmbient = 5.0; // the chip warms itself a little
constexpr double kLocalTimeConstantS = 60.0;
constexpr double kLocalWobble = 0.4; // slow ripple of the local reading, degrees
constexpr double kLocalWobblePeriodS = 50.0;
constexpr double kRemoteAboveAmbient = 3.0; // the diode transistors sit near the board's warmth
constexpr double kHeaterRise = 45.0;        // a heater's steady-state rise of its diode
constexpr double kRemoteTimeConstantS = 25.0;
constexpr double kMinAmbient = -60.0;
constexpr double kMaxAmbient = 120.0;
} // namespace physics

// How a fan is being driven, in rising order of precedence (hot-plug may rise above alarm when the
// fan's HotPlugPriority bit is set).
enum class FanMode : quint8 { Off, Normal, Afc, HotPlug, Alarm, Full };

struct FanDecision {
    FanMode mode = FanMode::Off;
    double dutyPercent = 0.0;
};

// What the monitoring found at its last evaluation; fan control acts on it.
struct Events {
    std::array<bool, reg::kTempChannels> tempHigh{}, tempLow{};
    std::array<bool, reg::kAins> ainHigh{}, ainLow{};
    std::array<bool, reg::kGpios> gpioAsserted{};
    std::array<bool, reg::kFans> fanMissing{}, fanFault{};
};

// The board around the chip.
struct Surroundings {
    double ambient = 25.0;
    std::array<bool, 2> heater{}; // [0] heater 1 (warms TDM 2), [1] heater 2 (warms TDM 1)
    quint8 gpioLevels = 0x7F;     // GPIO inputs pulled high
    std::array<bool, reg::kFans> fanConnected{true, true};
    bool cfaultIn = false;
};

struct Physics {
    std::array<double, reg::kTempChannels> temp{}; // true temperatures, degrees C
    std::array<double, reg::kFans> rpm{};
};

struct ControlState {
    std::array<double, reg::kTempChannels> afcTemp{}; // reading after hysteresis
    std::array<FanDecision, reg::kFans> decision{};   // from the last status evaluation
    std::array<double, reg::kFans> spinUpLeftS{};
    std::array<bool, reg::kFans> driven{};       // commanded duty above 0 at the last step
    std::array<double, reg::kFans> outputDuty{}; // duty on the PWM pin, spin-up included
};

struct ChipModel {
    std::array<quint8, 256> regs{};
    Surroundings env;
    Physics phys;
    ControlState ctl;
    Events events;
    qint64 modelMs = 0; // simulated time since the chip was created, at most kMaxModelMs
    // Clock time not yet integrated (less than one step); kept with a saved state so that time
    // passes alike whether a wait ends a run or not.
    qint64 pendingMs = 0;
};

// Power-up register image.
std::array<quint8, 256> powerUpRegisters();

// Fan control.
double speedCodeDuty(int code);           // 0..15 -> 0..100 %
double spinUpSeconds(quint8 spinUpReg);   // 0 when spin-up is disabled
void updateAfcTemperatures(ChipModel& m); // applies each channel's hysteresis
FanDecision decideFan(const ChipModel& m, int fan);

// Spin-up and the duty on each fan's PWM pin, from the decisions of the last evaluateStatus().
void decideControl(ChipModel& m);

// Time: one integration step of dtMs, then measurement, status and the next drive.
void stepModel(ChipModel& m, qint64 dtMs);
// Places the physics at the steady state of its present inputs (used at creation).
void settleModel(ChipModel& m);

// Monitoring.
void measure(ChipModel& m); // value registers from the physics (when monitoring runs)
// Events, hysteresis, each fan's mode and duty, status registers and latches.
void evaluateStatus(ChipModel& m);

// Saved state.
QByteArray serializeModel(const ChipModel& m);
bool deserializeModel(const QByteArray& bytes, ChipModel& out, QString* error);

} // namespace qmf::sim
