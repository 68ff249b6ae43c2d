// SPDX-License-Identifier: GPL-3.0-or-later
// The physical side of the simulated chip: fans that follow their duty with a lag, diodes that
// heaters warm, a chip that sits a little above the board's ambient temperature.
#include "boards/sim/ChipModel.h"

#include <algorithm>
#include <cmath>

namespace qmf::sim {

namespace {

// Fraction of the way to its target that each first-order lag covers in one step (exact for any
// step, so coarse steps stay stable). The fixed step's fractions are computed once.
struct Lags {
    double fan, local, remote;
};

Lags computeLags(qint64 dtMs) {
    const double dtS = double(dtMs) / 1000.0;
    auto fraction = [dtS](double timeConstantS) { return 1.0 - std::exp(-dtS / timeConstantS); };
    return {fraction(physics::kFanTimeConstantS), fraction(physics::kLocalTimeConstantS),
            fraction(physics::kRemoteTimeConstantS)};
}

Lags lagsFor(qint64 dtMs) {
    static const Lags standard = computeLags(physics::kStepMs);
    return dtMs == physics::kStepMs ? standard : computeLags(dtMs);
}

double targetTemperature(const ChipModel& m, int channel) {
    const auto& env = m.env;
    switch (channel) {
    case 0:
        return env.ambient + physics::kLocalAboveAmbient;
    case 1: // heater 2 sits at Q1, the diode of TDM 1
        return env.ambient + physics::kRemoteAboveAmbient +
               (env.heater[1] ? physics::kHeaterRise : 0);
    default: // heater 1 sits at Q2, the diode of TDM 2
        return env.ambient + physics::kRemoteAboveAmbient +
               (env.heater[0] ? physics::kHeaterRise : 0);
    }
}

double targetRpm(const ChipModel& m, int fan, double dutyPercent) {
    if (!m.env.fanConnected[fan] || dutyPercent < physics::kStallDutyPercent) {
        return 0.0;
    }
    return physics::kMaxRpm * dutyPercent / 100.0;
}

void integrateFans(ChipModel& m, double dtS, double lag) {
    for (int fan = 0; fan < reg::kFans; ++fan) {
        double& rpm = m.phys.rpm[fan];
        if (!m.env.fanConnected[fan]) {
            rpm = 0.0;
        } else {
            const double target = targetRpm(m, fan, m.ctl.outputDuty[fan]);
            rpm += (target - rpm) * lag;
        }
        m.ctl.spinUpLeftS[fan] = std::max(0.0, m.ctl.spinUpLeftS[fan] - dtS);
    }
}

} // namespace

void decideControl(ChipModel& m) {
    for (int fan = 0; fan < reg::kFans; ++fan) {
        const FanDecision& decision = m.ctl.decision[fan];
        const bool driven = decision.dutyPercent > 0.0 && m.env.fanConnected[fan];
        double& spinUpLeft = m.ctl.spinUpLeftS[fan];
        if (driven && !m.ctl.driven[fan]) {
            // A fan started from rest gets full duty for the spin-up time to break it loose.
            spinUpLeft = spinUpSeconds(m.regs[reg::SpinUp]);
        } else if (!driven) {
            spinUpLeft = 0.0;
        }
        m.ctl.driven[fan] = driven;
        m.ctl.outputDuty[fan] = spinUpLeft > 0.0 ? 100.0 : decision.dutyPercent;
    }
}

// The physics runs over the step with the drive decided at its start; then the chip measures,
// judges its limits and decides the drive for the next step.
void stepModel(ChipModel& m, qint64 dtMs) {
    const double dtS = double(dtMs) / 1000.0;
    const Lags lags = lagsFor(dtMs);
    integrateFans(m, dtS, lags.fan);
    for (int t = 0; t < reg::kTempChannels; ++t) {
        double& temp = m.phys.temp[t];
        temp += (targetTemperature(m, t) - temp) * (t == 0 ? lags.local : lags.remote);
    }
    m.modelMs = std::min(m.modelMs, physics::kMaxModelMs - dtMs) + dtMs;
    if (m.regs[reg::Config] & reg::bit::StartMonitoring) {
        measure(m);
    }
    evaluateStatus(m);
    decideControl(m);
}

void settleModel(ChipModel& m) {
    for (int t = 0; t < reg::kTempChannels; ++t) {
        m.phys.temp[t] = targetTemperature(m, t);
        m.ctl.afcTemp[t] = -1000.0; // below any reading: the hysteresis clamp takes the reading
    }
    measure(m);
    evaluateStatus(m);
    m.ctl.driven = m.env.fanConnected; // running already: no spin-up at creation
    decideControl(m);
    for (int fan = 0; fan < reg::kFans; ++fan) {
        m.phys.rpm[fan] = targetRpm(m, fan, m.ctl.outputDuty[fan]);
    }
    measure(m);
    evaluateStatus(m);
    decideControl(m);
}

} // namespace qmf::sim
