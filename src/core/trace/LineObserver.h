// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace qmf::trace {

// Follows the two bus lines as the bit-banged engine sees them: read back after every change it
// drives, and at every sample it takes. Called in the middle of a transfer, so it never throws
// and should be quick.
class LineObserver {
public:
    virtual ~LineObserver() = default;
    // The levels at `timeUs`, the engine's bus time in microseconds (never decreasing).
    virtual void observe(qint64 timeUs, bool scl, bool sda) noexcept = 0;
};

} // namespace qmf::trace
