// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/RecordTable.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>

namespace qmf {

QTableView* newRecordTable(const QString& objectName, const QString& accessibleName,
                           QAbstractItemModel* model) {
    auto* table = new QTableView;
    table->setObjectName(objectName);
    table->setAccessibleName(accessibleName);
    table->setModel(model);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setAlternatingRowColors(true);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

QLineEdit* newFilterBox(const QString& hint) {
    auto* box = new QLineEdit;
    box->setObjectName(QStringLiteral("FilterTXT"));
    box->setPlaceholderText(hint);
    box->setAccessibleName(hint);
    box->setClearButtonEnabled(true);
    return box;
}

int digitWidth(const QWidget& widget) {
    return widget.fontMetrics().horizontalAdvance(QLatin1Char('0'));
}

} // namespace qmf
