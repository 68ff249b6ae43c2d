// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/reglist/RegisterValueDisplay.h"

#include "core/text/NumberText.h"
#include "gui/reglist/ClickableLabel.h"
#include "gui/reglist/RegisterListBands.h"

namespace qmf {

void showRegisterValue(const RegisterListBands& bands, int address, int value) {
    for (int bit = 7; bit >= 0; --bit) {
        bands.digits[bit]->setText((value >> bit) & 1 ? QStringLiteral("1") : QStringLiteral("0"));
    }
    bands.addressLabel->setText(text::hex(quint32(address)));
    bands.hexValueLabel->setText(text::hex(quint32(value)));
    bands.decimalValueLabel->setText(QString::number(value));
}

} // namespace qmf
