// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

namespace qmf {

// The evaluation board's output bits.
inline constexpr quint8 Heater1Output = 0x10; // bit 4: heater 1, at Q2, warms TDM 2's diode
inline constexpr quint8 Heater2Output = 0x20; // bit 5: heater 2, at Q1, warms TDM 1's diode

// The board's outputs as the link last put them. The board cannot report its outputs, so this
// is the only record of a heater left on; whoever shows them (the main window's status bar, the
// heater window) follows `changed`, whatever part of the program switched them.
class BoardOutputs final : public QObject {
    Q_OBJECT
public:
    // 0 until the link put something: nothing is known to be on.
    quint8 value() const { return value_; }

    // For the link implementations: the board took `outputs`.
    void remember(quint8 outputs) {
        if (outputs != value_) {
            value_ = outputs;
            emit changed(outputs);
        }
    }

signals:
    void changed(quint8 outputs);

private:
    quint8 value_ = 0;
};

} // namespace qmf
