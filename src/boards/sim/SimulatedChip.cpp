// SPDX-License-Identifier: GPL-3.0-or-later
#include "boards/sim/SimulatedChip.h"

#include "boards/sim/ChipModel.h"
#include "core/time/Clock.h"

#include <cmath>
#include <stdexcept>

namespace qmf::sim {

struct SimulatedChip::Model {
    explicit Model(const Clock& c) : clock(c), lastMs(c.elapsedMs()) {}

    // Integrates in fixed steps up to the clock's time. A gap longer than kMaxStepsPerAccess
    // steps is covered in that many coarser steps, so that a read after a long pause costs no
    // more than one after a minute; the lags are exact exponentials and stay stable at any step.
    void advance() {
        const qint64 now = clock.elapsedMs();
        if (now <= lastMs) {
            return;
        }
        const qint64 steps = (now - lastMs) / physics::kStepMs;
        if (steps == 0) {
            return;
        }
        if (steps <= physics::kMaxStepsPerAccess) {
            for (qint64 i = 0; i < steps; ++i) {
                stepModel(chip, physics::kStepMs);
            }
        } else {
            const qint64 total = steps * physics::kStepMs;
            const qint64 n = physics::kMaxStepsPerAccess;
            for (qint64 i = 0; i < n; ++i) {
                stepModel(chip, total * (i + 1) / n - total * i / n);
            }
        }
        lastMs += steps * physics::kStepMs;
    }

    // Status and fan drive follow a change of registers or surroundings at once.
    void refresh() {
        evaluateStatus(chip);
        decideControl(chip);
    }

    const Clock& clock;
    ChipModel chip;
    qint64 lastMs;
    bool answering = true;
};

namespace {

void checkIndex(int index, int count, const char* what) {
    if (index < 0 || index >= count) {
        throw std::out_of_range(QStringLiteral("the simulated chip has no %1 %2 (valid: 0 to %3)")
                                    .arg(QLatin1String(what))
                                    .arg(index)
                                    .arg(count - 1)
                                    .toStdString());
    }
}

bool isFanStatus(int r) {
    return r >= reg::FanStatus && r < reg::FanStatus + reg::kFans;
}

} // namespace

SimulatedChip::SimulatedChip(const Clock& clock) : model_(std::make_unique<Model>(clock)) {
    model_->chip.regs = powerUpRegisters();
    settleModel(model_->chip);
}

SimulatedChip::~SimulatedChip() = default;

quint8 SimulatedChip::readRegister(quint8 r) {
    if (!model_->answering) {
        return 0xFF;
    }
    model_->advance();
    return model_->chip.regs[r];
}

void SimulatedChip::writeRegister(quint8 r, quint8 value) {
    if (!model_->answering) {
        return;
    }
    model_->advance();
    auto& regs = model_->chip.regs;
    if (r == reg::SoftwareReset) {
        // Self-clearing: the register always reads 0.
        if (value & 0x80) {
            powerOnReset();
        }
        return;
    }
    if (reg::isReadOnly(r)) {
        return;
    }
    if (isFanStatus(r)) {
        // Configuration bits take the value; a latch is cleared by writing 0 to it, so a
        // read-modify-write of another bit leaves the latches alone.
        const quint8 old = regs[r];
        regs[r] = quint8((value & reg::bit::FanStatusWritable) |
                         (old & reg::bit::FanStatusLatches & value));
    } else {
        regs[r] = value;
    }
    model_->refresh();
}

void SimulatedChip::powerOnReset() {
    model_->advance();
    ChipModel& m = model_->chip;
    // Registers return to their power-up values; the fans and the diodes keep their physical state.
    m.regs = powerUpRegisters();
    for (double& t : m.ctl.afcTemp) {
        t = -1000.0;
    }
    measure(m);
    model_->refresh();
}

void SimulatedChip::setAnswering(bool answering) {
    model_->answering = answering;
}

bool SimulatedChip::answering() const {
    return model_->answering;
}

void SimulatedChip::setHeaters(bool heater1, bool heater2) {
    model_->advance();
    model_->chip.env.heater = {heater1, heater2};
}

void SimulatedChip::setAmbient(double celsius) {
    if (!std::isfinite(celsius) || celsius < physics::kMinAmbient ||
        celsius > physics::kMaxAmbient) {
        throw std::invalid_argument(QStringLiteral("ambient temperature %1 C is outside %2 to %3 C")
                                        .arg(celsius)
                                        .arg(physics::kMinAmbient)
                                        .arg(physics::kMaxAmbient)
                                        .toStdString());
    }
    model_->advance();
    model_->chip.env.ambient = celsius;
}

void SimulatedChip::setGpioInputs(quint8 levels) {
    model_->advance();
    model_->chip.env.gpioLevels = levels & 0x7F;
    model_->refresh();
}

void SimulatedChip::setFanConnected(int fan, bool connected) {
    checkIndex(fan, reg::kFans, "fan");
    model_->advance();
    ChipModel& m = model_->chip;
    if (m.env.fanConnected[fan] != connected && ((m.regs[reg::FansSupportedSystem] >> fan) & 1)) {
        m.regs[reg::FanStatus + fan] |= reg::bit::HotPlugLatched;
    }
    m.env.fanConnected[fan] = connected;
    model_->refresh();
}

void SimulatedChip::setCfaultInput(bool asserted) {
    model_->advance();
    model_->chip.env.cfaultIn = asserted;
    model_->refresh();
}

double SimulatedChip::fanRpm(int fan) {
    checkIndex(fan, reg::kFans, "fan");
    model_->advance();
    return model_->chip.phys.rpm[fan];
}

double SimulatedChip::fanDutyPercent(int fan) {
    checkIndex(fan, reg::kFans, "fan");
    model_->advance();
    return model_->chip.ctl.outputDuty[fan];
}

double SimulatedChip::temperature(int channel) {
    checkIndex(channel, reg::kTempChannels, "temperature channel");
    model_->advance();
    return model_->chip.phys.temp[channel];
}

QByteArray SimulatedChip::saveState() {
    model_->advance();
    model_->chip.pendingMs = model_->clock.elapsedMs() - model_->lastMs;
    return serializeModel(model_->chip);
}

bool SimulatedChip::restoreState(const QByteArray& state, QString* error) {
    ChipModel restored;
    if (!deserializeModel(state, restored, error)) {
        return false;
    }
    model_->chip = restored;
    // The part of a step that had not been integrated when the state was saved is still due.
    model_->lastMs = model_->clock.elapsedMs() - restored.pendingMs;
    return true;
}

} // namespace qmf::sim
