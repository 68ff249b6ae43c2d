// SPDX-License-Identifier: GPL-3.0-or-later
#include "boards/linux/PortLines.h"

#include "boards/linux/PortIo.h"

namespace qmf::linux_hw {

namespace {

void releaseInto(quint8& data, quint8& control, const LineBit& line) {
    quint8& reg = line.reg == PortRegister::Data ? data : control;
    reg = withLine(reg, line, true);
}

} // namespace

PortLines::PortLines(PortIo& io, const PinMapping& mapping) : io_(io), mapping_(&mapping) {
    // Whatever revision the board is, none of its bus lines may be pulled low by a latch left
    // over from earlier use of the port.
    for (const PinMapping* m : {&StandardMapping, &AlternateMapping, &mapping}) {
        releaseInto(data_, control_, m->setSda);
        releaseInto(data_, control_, m->setScl);
    }
    io_.writeData(data_);
    io_.writeControl(control_);
}

void PortLines::setMapping(const PinMapping& mapping) {
    if (mapping_ == &mapping) {
        return;
    }
    release();
    mapping_ = &mapping;
    release();
}

bool PortLines::setSda(bool high) {
    return setLine(mapping_->setSda, high);
}

bool PortLines::setScl(bool high) {
    return setLine(mapping_->setScl, high);
}

bool PortLines::setLine(const LineBit& line, bool high) {
    if (line.reg == PortRegister::Data) {
        const quint8 next = withLine(data_, line, high);
        if (next == data_) {
            return false;
        }
        io_.writeData(next);
        data_ = next;
    } else {
        const quint8 next = withLine(control_, line, high);
        if (next == control_) {
            return false;
        }
        io_.writeControl(next);
        control_ = next;
    }
    return true;
}

PortLines::Levels PortLines::read() {
    const quint8 status = io_.readStatus();
    return {lineLevel(status, mapping_->getSda), lineLevel(status, mapping_->getScl)};
}

void PortLines::setAux(quint8 outputs) {
    const quint8 next = quint8((data_ & ~AuxOutputMask) | (outputs & AuxOutputMask));
    io_.writeData(next);
    data_ = next;
}

void PortLines::release() {
    // SCL first, then SDA: where SDA was low this makes a stop condition, which ends whatever
    // transfer a device on the bus still thought was running.
    setScl(true);
    setSda(true);
}

} // namespace qmf::linux_hw
