// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace qmf {
class SharedState;
}

namespace qmf::events {

// One tick of the events poll: reads, one after the other, the status registers (and while a
// thermal event lasts the temperatures and limits) that nobody has read lately, so that every
// alarm is judged on fresh bytes. Registers a view read moments ago cost nothing. Returns how
// many were read; a failed transfer throws as register access does.
int pollEventRegisters(SharedState& state);

} // namespace qmf::events
