// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/board/BoardControlFRM.h"

#include "core/chip/SharedState.h"
#include "core/link/BoardLink.h"
#include "gui/services/AppContext.h"
#include "gui/services/ErrorBoundary.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace qmf {

BoardControlFRM::BoardControlFRM(AppContext& ctx, QWidget* parent)
    : QWidget(parent), ctx_(ctx),
      outputs_(&ctx.state.board().parallelPortLink().busEngine().auxOutputsState()) {
    setObjectName(QStringLiteral("BoardControlFRM"));
    setWindowTitle(QStringLiteral("Board Control"));

    auto* heaters = new QGroupBox(this);
    Heater1CHK_ = new QCheckBox(QStringLiteral("Heater  for Q2 (TDM2)"), heaters);
    Heater1CHK_->setObjectName(QStringLiteral("Heater1CHK"));
    Heater2CHK_ = new QCheckBox(QStringLiteral("Heater  for Q1 (TDM1)"), heaters);
    Heater2CHK_->setObjectName(QStringLiteral("Heater2CHK"));
    auto* boxes = new QVBoxLayout(heaters);
    boxes->addWidget(Heater1CHK_);
    boxes->addWidget(Heater2CHK_);

    WarningLBL_ = new QLabel(
        QStringLiteral("Warning: Switching on heaters can cause the evaluation board to get hot, "
                       "especially R25,R19.Q1 and Q2 creating a burn hazzard."),
        this);
    WarningLBL_->setObjectName(QStringLiteral("WarningLBL"));
    WarningLBL_->setWordWrap(true);
    QFont bold = WarningLBL_->font();
    bold.setBold(true);
    WarningLBL_->setFont(bold);
    QPalette red = WarningLBL_->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    WarningLBL_->setPalette(red);

    StatusLBL_ = new QLabel(this);
    StatusLBL_->setObjectName(QStringLiteral("StatusLBL"));
    StatusLBL_->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->setSpacing(10);
    layout->addWidget(heaters);
    layout->addWidget(WarningLBL_);
    layout->addWidget(StatusLBL_);
    layout->addStretch(1);
    setMinimumWidth(340);

    // Both boxes share one handler; after a failed transfer the boxes show again what the
    // board last took.
    for (QCheckBox* box : {Heater1CHK_, Heater2CHK_}) {
        connect(box, &QCheckBox::clicked, this,
                ctx_.errors.guard(
                    this, [this] { heaterClicked(); }, [this] { showOutputs(outputs_->value()); }));
    }
    showOutputs(outputs_->value());
    connect(outputs_, &BoardOutputs::changed, this, &BoardControlFRM::showOutputs);

    // Load.
    if (ctx_.state.CommsMedium != 0) {
        StatusLBL_->hide();
        WarningLBL_->show();
    } else {
        Heater1CHK_->setEnabled(false);
        Heater2CHK_->setEnabled(false);
        StatusLBL_->setText(
            QStringLiteral("Sorry, heaters cannot be enabled when the eval baord is not used."));
        StatusLBL_->show();
        WarningLBL_->hide();
    }
}

quint8 BoardControlFRM::heaterOutputs() const {
    return quint8((Heater1CHK_->isChecked() ? Heater1Output : 0) |
                  (Heater2CHK_->isChecked() ? Heater2Output : 0));
}

void BoardControlFRM::showOutputs(quint8 outputs) {
    Heater1CHK_->setChecked((outputs & Heater1Output) != 0);
    Heater2CHK_->setChecked((outputs & Heater2Output) != 0);
}

void BoardControlFRM::heaterClicked() {
    // The board expects the byte announced first, then set; each goes to a freshly fetched
    // bus engine.
    ctx_.state.board().parallelPortLink().busEngine().setAuxOutputsPrepare(heaterOutputs());
    ctx_.state.board().parallelPortLink().busEngine().setAuxOutputs(heaterOutputs());
}

} // namespace qmf
