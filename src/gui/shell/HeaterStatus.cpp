// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/HeaterStatus.h"

#include "core/link/BoardOutputs.h"

#include <QLabel>
#include <QStatusBar>

namespace qmf {

QString heaterStatusText(quint8 outputs) {
    // Heater 1 sits at Q2 and heater 2 at Q1, as the heater window's boxes say.
    const bool q2 = (outputs & Heater1Output) != 0;
    const bool q1 = (outputs & Heater2Output) != 0;
    if (q2 && q1) {
        return QStringLiteral("Heaters for Q2 (TDM2) and Q1 (TDM1) on");
    }
    if (q2) {
        return QStringLiteral("Heater for Q2 (TDM2) on");
    }
    if (q1) {
        return QStringLiteral("Heater for Q1 (TDM1) on");
    }
    return {};
}

QLabel* addHeaterStatus(QStatusBar& statusBar, BoardOutputs& outputs) {
    auto* label = new QLabel(&statusBar);
    label->setObjectName(QStringLiteral("HeaterLBL"));
    // A hot board is a burn hazard: the notice looks like the heater window's warning.
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    QPalette red = label->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    label->setPalette(red);
    statusBar.insertPermanentWidget(0, label);

    const auto show = [label](quint8 value) {
        const QString text = heaterStatusText(value);
        label->setText(text);
        label->setAccessibleName(text);
        label->setVisible(!text.isEmpty());
    };
    show(outputs.value());
    QObject::connect(&outputs, &BoardOutputs::changed, label, show);
    return label;
}

} // namespace qmf
