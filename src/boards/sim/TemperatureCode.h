// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace qmf::sim {

// The chip's signed temperature byte: 0..127 stand for themselves; a byte of 128 or more is
// negative, its magnitude being its low seven bits inverted with bit 0 then forced to 1. The
// encoding is lossy for even negative temperatures (-2 and -3 share 0xFD), exactly as the
// program's own conversion is, so readings and limits written by the program compare alike.
quint8 encodeTemperature(int celsius);
int decodeTemperature(quint8 code);

} // namespace qmf::sim
