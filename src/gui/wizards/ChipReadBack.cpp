// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/wizards/ChipReadBack.h"

#include <exception>

namespace qmf {

int chipValueOr(const std::function<int()>& read, int known) {
    try {
        return read();
    } catch (const std::exception&) {
        // Reported with the write that failed before; one message per failure is enough.
        return known;
    }
}

} // namespace qmf
