// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <memory>

namespace qmf {
class Clock;
}

namespace qmf::sim {

// A simulated QMF4150: a 256-byte register file plus a small physical model (fans that follow
// their PWM duty, tachometer counts, heated remote diodes, automatic fan control, limit and fault
// status bits) driven by an injectable clock. The model is brought up to the clock's time on every
// register access, so it costs nothing while nobody looks.
class SimulatedChip {
public:
    explicit SimulatedChip(const Clock& clock);
    ~SimulatedChip();
    SimulatedChip(const SimulatedChip&) = delete;
    SimulatedChip& operator=(const SimulatedChip&) = delete;

    // Register traffic as the bus delivers it.
    quint8 readRegister(quint8 reg);
    void writeRegister(quint8 reg, quint8 value);

    // Back to power-up values (what a write of bit 7 to 0x0B does too).
    void powerOnReset();

    // A chip that stops answering: the bus then floats (reads 0xFF, writes are lost).
    void setAnswering(bool answering);
    bool answering() const;

    // The board around the chip.
    void setHeaters(bool heater1, bool heater2); // heater 1 warms TDM 2's diode, heater 2 TDM 1's
    void setAmbient(double celsius);
    void setGpioInputs(quint8 levels); // levels of GPIO 0..6 (bit n = GPIO n)
    void setFanConnected(int fan, bool connected);
    void setCfaultInput(bool asserted); // the CFAULT line pulled low from outside

    // What the model holds now (brought up to the clock's time first). A fan or channel outside
    // 0..1 / 0..2 throws std::out_of_range; an ambient outside -60..120 C std::invalid_argument.
    double fanRpm(int fan);
    double fanDutyPercent(int fan);
    double temperature(int channel); // 0 local, 1 TDM 1, 2 TDM 2

    // The registers and model state as bytes, to keep a simulated chip between runs.
    QByteArray saveState();
    // False (with a reason) when the bytes are not a saved state; the chip is then unchanged.
    bool restoreState(const QByteArray& state, QString* error);

private:
    struct Model;
    std::unique_ptr<Model> model_;
};

} // namespace qmf::sim
