// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/wizards/WizardListFRM.h"

#include "core/chip/SharedState.h"
#include "gui/services/AppContext.h"
#include "gui/services/ErrorBoundary.h"
#include "gui/wizards/WizardIcons.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace qmf {

WizardListFRM::WizardListFRM(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("WizardListFRM"));
    setWindowTitle(QStringLiteral("Wizard List"));

    auto* prompt = new QLabel(QStringLiteral("What would you like to do?"), this);
    prompt->setObjectName(QStringLiteral("Label1"));
    QFont promptFont = prompt->font();
    promptFont.setBold(true);
    promptFont.setPointSizeF(promptFont.pointSizeF() * 1.2);
    prompt->setFont(promptFont);

    // The decorative panel behind the rows.
    auto* shape = new QFrame(this);
    shape->setObjectName(QStringLiteral("Shape1"));
    shape->setFrameShape(QFrame::StyledPanel);
    shape->setFrameShadow(QFrame::Sunken);
    shape->setAutoFillBackground(true);
    shape->setBackgroundRole(QPalette::Base);

    struct Row {
        const char* text;
        const char* opens;
        QIcon (*icon)();
    };
    static const Row rows[] = {
        {"Setup Automatic fan Speed Control", "AFCTutorFRM", &wizard_icons::automaticFanControl},
        {"Configure Fans", "FanConfigFRM", &wizard_icons::fanConfiguration},
        {"Switch on the heaters for TDM1 and TDM2", "BoardControlFRM", &wizard_icons::heaters},
    };
    // Without the evaluation board (on-board SMBus) there are no heaters to switch.
    const bool boardPresent = ctx_.state.CommsMedium != 0;

    auto* grid = new QGridLayout(shape);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(10);
    grid->setContentsMargins(14, 14, 14, 14);
    for (int i = 0; i < 3; ++i) {
        const QString text = QString::fromLatin1(rows[i].text);
        auto* button = new QToolButton(shape);
        button->setObjectName(QStringLiteral("SelectWizard_%1").arg(i));
        button->setIcon(rows[i].icon());
        button->setIconSize(QSize(40, 40));
        button->setAccessibleName(text);
        button->setToolTip(text);
        button->setFocusPolicy(Qt::StrongFocus);
        auto* label = new QLabel(text, shape);
        label->setObjectName(QStringLiteral("ToDoLBL_%1").arg(i));
        label->setBuddy(button);
        grid->addWidget(button, i, 0);
        grid->addWidget(label, i, 1);
        const QString opens = QString::fromLatin1(rows[i].opens);
        connect(button, &QToolButton::clicked, this,
                ctx_.errors.guard(this, [this, opens] { ctx_.open(opens); }));
        if (i == 2 && !boardPresent) {
            button->setVisible(false);
            label->setVisible(false);
        }
    }
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(12);
    layout->addWidget(prompt);
    layout->addWidget(shape);
    layout->addStretch(1);
}

} // namespace qmf
