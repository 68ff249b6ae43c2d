// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/wizards/ExclusiveBoxGroup.h"

#include "core/measure/Fan.h"
#include "gui/services/AppContext.h"
#include "gui/services/ErrorBoundary.h"
#include "gui/wizards/ChipReadBack.h"

#include <QCheckBox>
#include <QSignalBlocker>

namespace qmf {

ExclusiveBoxGroup::ExclusiveBoxGroup(AppContext& ctx, const QString& namePrefix,
                                     const QStringList& captions, quint8 address,
                                     RegisterField field, Fan* refreshedFan, QWidget* parent)
    : QObject(parent), ctx_(ctx), address_(address), field_(field), fan_(refreshedFan) {
    for (int i = 0; i < captions.size(); ++i) {
        auto* box = new QCheckBox(captions[i], parent);
        box->setObjectName(QStringLiteral("%1_%2").arg(namePrefix).arg(i));
        connect(box, &QCheckBox::toggled, this, [this, i] { clicked(i); });
        boxes_.append(box);
    }
}

void ExclusiveBoxGroup::load() {
    const int index = ReadRegisterField(ctx_.state, address_, field_);
    chipIndex_ = index;
    if (index < boxes_.size()) {
        boxes_[index]->setChecked(true);
    }
}

void ExclusiveBoxGroup::clicked(int index) {
    // Only the event that writes puts the boxes right after a failure; the ones the group's own
    // changes raise leave that to it.
    const bool writes = busy_ == 0;
    ctx_.errors.run(
        boxes_[index],
        [this, index] {
            if (busy_ == 0) {
                busy_ = -1;
                for (QCheckBox* box : boxes_) {
                    box->setChecked(false);
                }
                boxes_[index]->setChecked(true);
                busy_ = 0;
                WriteRegisterField(ctx_.state, address_, field_, index);
                chipIndex_ = index;
            }
            if (fan_ != nullptr) {
                fan_->RefreshParams();
            }
        },
        [this, writes] {
            if (writes) {
                showChipChoice();
            }
        });
}

void ExclusiveBoxGroup::showChipChoice() {
    chipIndex_ =
        chipValueOr([this] { return ReadRegisterField(ctx_.state, address_, field_); }, chipIndex_);
    for (int i = 0; i < boxes_.size(); ++i) {
        const QSignalBlocker quiet(boxes_[i]); // showing the chip's choice writes nothing
        boxes_[i]->setChecked(i == chipIndex_);
    }
}

} // namespace qmf
