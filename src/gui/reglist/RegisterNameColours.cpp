// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/reglist/RegisterNameColours.h"

namespace qmf::namecolour {

QColor workspace() {
    return QColor(171, 171, 171);
}

QColor pointerArrived(const QColor& current) {
    if (current == workspace()) {
        return BrightGreen;
    }
    if (current == DarkGreen) {
        return Yellow;
    }
    return current;
}

QColor pointerLeft(const QColor& current) {
    if (current == Yellow) {
        return DarkGreen;
    }
    if (current == BrightGreen) {
        return workspace();
    }
    return current;
}

} // namespace qmf::namecolour
