// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace qmf {

// After a failed write a wizard control shows again what the chip holds, so it never shows a
// setting the chip did not take. `read` reads that value; when the read fails as well (the
// failure was reported already), the control shows `known`, the value it last read or wrote.
int chipValueOr(const std::function<int()>& read, int known);

} // namespace qmf
