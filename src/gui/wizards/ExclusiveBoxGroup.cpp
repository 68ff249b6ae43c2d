// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/wizards/ExclusiveBoxGroup.h"

#include "core/measure/Fan.h"
#include "gui/services/AppContext.h"
#include "gui/services/ErrorBoundary.h"

#include <QCheckBox>

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
    if (index < boxes_.size()) {
        boxes_[index]->setChecked(true);
    }
}

void ExclusiveBoxGroup::clicked(int index) {
    ctx_.errors.run(boxes_[index], [this, index] {
        if (busy_ == 0) {
            busy_ = -1;
            for (QCheckBox* box : boxes_) {
                box->setChecked(false);
            }
            boxes_[index]->setChecked(true);
            busy_ = 0;
            WriteRegisterField(ctx_.state, address_, field_, index);
        }
        if (fan_ != nullptr) {
            fan_->RefreshParams();
        }
    });
}

} // namespace qmf
