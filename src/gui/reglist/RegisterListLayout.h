// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/chip/RegisterMap.h"

#include <QString>
#include <vector>

namespace qmf {

// Where the register list shows each register: four pages, each with framed panels of names
// (columns of names, top to bottom) and a few names on the page itself.
struct RegisterPanelLayout {
    QString objectName;
    std::vector<std::vector<quint8>> columns; // an empty panel has no columns
};

struct RegisterPageLayout {
    RegisterTab tab;
    std::vector<RegisterPanelLayout> panels; // left to right
    std::vector<quint8> onPage;              // below the panels, left to right
};

// "Main", "GPIO /AIN", "Temp", "Fans", in that order.
const std::vector<RegisterPageLayout>& registerListPages();

} // namespace qmf
