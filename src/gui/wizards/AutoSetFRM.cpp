// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/wizards/AutoSetFRM.h"

#include "core/wizards/AutoSet.h"
#include "gui/services/AppContext.h"
#include "gui/services/WindowRegistry.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace qmf {

AutoSetFRM::AutoSetFRM(AppContext& /*ctx*/, QWidget* parent)
    : QWidget(parent), label1_(new QLabel(this)), listBox_(new QListWidget(this)),
      closeCmd_(new QPushButton(this)) {
    setObjectName(QStringLiteral("AutoSetFRM"));
    setWindowTitle(QStringLiteral("AutoSet Details"));

    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setText(QStringLiteral("The following settings were written to the eval board."));

    listBox_->setObjectName(QStringLiteral("ListBox"));
    listBox_->setAccessibleName(QStringLiteral("Settings written"));
    listBox_->setSelectionMode(QAbstractItemView::SingleSelection);
    listBox_->setMinimumSize(
        QSize(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 62, fontMetrics().height() * 12));

    closeCmd_->setObjectName(QStringLiteral("CloseCMD"));
    closeCmd_->setText(QStringLiteral("Close"));
    connect(closeCmd_, &QPushButton::clicked, this, [this] { WindowRegistry::closeView(*this); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(closeCmd_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label1_);
    layout->addWidget(listBox_, 1);
    layout->addLayout(buttons);
}

void AutoSetFRM::clearLines() {
    listBox_->clear();
}

void AutoSetFRM::appendLine(const QString& line) {
    listBox_->addItem(line);
    listBox_->scrollToBottom();
}

void RunAutoSet(AppContext& ctx) {
    QPointer<AutoSetFRM> form = &ctx.windows.show<AutoSetFRM>(ctx);
    form->clearLines();
    RunAutoSet(ctx.state, [form](const QString& line) {
        if (form) {
            form->appendLine(line);
        }
    });
}

} // namespace qmf
