// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "boards/linux/PinMapping.h"

namespace qmf::linux_hw {

class PortIo;

// The bus lines and board outputs of one claimed port. Holds the shadow copies of the data and
// control registers, so that changing one line rewrites its register with every other bit
// (the heater outputs above all) as it was, and skips writes that would change nothing.
class PortLines {
public:
    // Releases the lines of every mapping and switches the board outputs off (two writes).
    PortLines(PortIo& io, const PinMapping& mapping);

    void setMapping(const PinMapping& mapping);
    const PinMapping& mapping() const { return *mapping_; }

    // Both write only when the register changes; return whether they wrote.
    bool setSda(bool high);
    bool setScl(bool high);

    struct Levels {
        bool sda;
        bool scl;
    };
    // One status read samples both lines.
    Levels read();

    // Writes the board outputs (always one data write) and leaves the bus bits as they are.
    void setAux(quint8 outputs);
    quint8 aux() const { return data_ & AuxOutputMask; }

    // Lets both lines go high, as far as this side is concerned.
    void release();

    quint8 dataShadow() const { return data_; }
    quint8 controlShadow() const { return control_; }

private:
    bool setLine(const LineBit& line, bool high);

    PortIo& io_;
    const PinMapping* mapping_;
    quint8 data_ = 0;
    quint8 control_ = ControlIdle;
};

} // namespace qmf::linux_hw
