// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace qmf {

struct RegisterListBands;

// Shows a register on the bands: each digit "1" or "0" for its bit of `value`, the address and
// the value in hexadecimal (upper case, no prefix or leading zeros) and the value in decimal.
void showRegisterValue(const RegisterListBands& bands, int address, int value);

} // namespace qmf
