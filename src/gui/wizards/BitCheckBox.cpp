// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/wizards/BitCheckBox.h"

#include "core/wizards/RegisterBits.h"
#include "gui/services/AppContext.h"
#include "gui/services/ErrorBoundary.h"
#include "gui/wizards/ChipReadBack.h"

#include <QSignalBlocker>

namespace qmf {

BitCheckBox::BitCheckBox(AppContext& ctx, const QString& objectName, const QString& text,
                         quint8 address, quint8 bit, QWidget* parent)
    : QCheckBox(text, parent), ctx_(ctx), address_(address), bit_(bit) {
    setObjectName(objectName);
    connect(this, &QCheckBox::toggled, this,
            ctx_.errors.guard(
                this, [this] { SetRegisterBit(ctx_.state, address_, bit_, isChecked()); },
                [this] { showChipBit(); }));
}

void BitCheckBox::showChipBit() {
    // The box was flipped just before: its former state is what the chip held last.
    const int known = isChecked() ? 0 : 1;
    const int bit =
        chipValueOr([this] { return int(GetRegisterBit(ctx_.state, address_, bit_)); }, known);
    const QSignalBlocker quiet(this); // showing the chip's bit writes nothing
    setChecked(bit != 0);
}

void BitCheckBox::load() {
    setChecked(GetRegisterBit(ctx_.state, address_, bit_) != 0);
}

} // namespace qmf
