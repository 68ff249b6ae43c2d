// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "boards/linux/PinMapping.h"
#include "boards/linux/PortIo.h"

#include <QList>
#include <functional>

namespace qmf::linux_hw {
class BusTiming;
}

namespace qmf::sim {

class SmbusTargetSim;

// A printer port at pin level with an evaluation board on it. The board is wired as one pin
// mapping describes (its revision): the master's SDA and SCL come from the data and control
// latches through that mapping, every attached target adds its own pull-downs (wired-AND), and
// the status register shows the line levels on the mapping's input pins. Pins the board does not
// use float high. Time for clock stretching is the bus timing's; every port operation takes
// OperationUs of it, as an access to a real port's registers takes about a microsecond, so that
// no two changes of the lines fall on the same instant.
class SimulatedParallelPort final : public linux_hw::PortIo {
public:
    static constexpr int OperationUs = 1;

    SimulatedParallelPort(linux_hw::BusTiming& timing, const linux_hw::PinMapping& wiring);

    void attach(SmbusTargetSim& target);

    void writeData(quint8 value) override;
    void writeControl(quint8 value) override;
    quint8 readStatus() override;

    quint8 dataLatch() const { return data_; }
    quint8 controlLatch() const { return control_; }
    // The line levels as of the last port operation.
    bool sclLine() const { return scl_; }
    bool sdaLine() const { return sda_; }

    // Port operations (writes and reads) so far.
    quint64 operations() const { return operations_; }
    // Rising edges of SCL so far: the bus clocks.
    quint64 sclClocks() const { return sclClocks_; }
    void resetOperations() {
        operations_ = 0;
        sclClocks_ = 0;
    }

    // A fault on the board that holds a line low.
    void setSdaShorted(bool shorted);
    void setSclShorted(bool shorted);

    // Called with the data latch after every data write; the board's outputs hang on it.
    std::function<void(quint8)> onDataWrite;
    // Called after every port operation with the count so far; tests hang faults on it.
    std::function<void(quint64)> onOperation;

private:
    void settle();
    void operationDone();
    bool output(const linux_hw::LineBit& line) const;

    linux_hw::BusTiming& timing_;
    linux_hw::PinMapping wiring_;
    QList<SmbusTargetSim*> targets_;
    quint8 data_ = 0;
    quint8 control_ = linux_hw::ControlIdle;
    bool scl_ = true;
    bool sda_ = true;
    bool sdaShorted_ = false;
    bool sclShorted_ = false;
    quint64 operations_ = 0;
    quint64 sclClocks_ = 0;
};

} // namespace qmf::sim
