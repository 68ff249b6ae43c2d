// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/wizards/BitCheckBox.h"

#include "core/wizards/RegisterBits.h"
#include "gui/services/AppContext.h"
#include "gui/services/ErrorBoundary.h"

namespace qmf {

BitCheckBox::BitCheckBox(AppContext& ctx, const QString& objectName, const QString& text,
                         quint8 address, quint8 bit, QWidget* parent)
    : QCheckBox(text, parent), ctx_(ctx), address_(address), bit_(bit) {
    setObjectName(objectName);
    connect(this, &QCheckBox::toggled, this, ctx_.errors.guard(this, [this] {
        SetRegisterBit(ctx_.state, address_, bit_, isChecked());
    }));
}

void BitCheckBox::load() {
    setChecked(GetRegisterBit(ctx_.state, address_, bit_) != 0);
}

} // namespace qmf
