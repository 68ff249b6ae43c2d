// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/services/TableText.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QStringList>
#include <algorithm>

namespace qmf {

QString selectedRowsAsText(const QAbstractItemView& view) {
    const QAbstractItemModel* model = view.model();
    const QItemSelectionModel* selection = view.selectionModel();
    if (model == nullptr || selection == nullptr) {
        return {};
    }
    QList<int> rows;
    for (const QModelIndex& index : selection->selectedIndexes()) {
        rows << index.row();
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.isEmpty()) {
        return {};
    }
    const int columns = model->columnCount();
    QStringList lines;
    QStringList cells;
    for (int column = 0; column < columns; ++column) {
        cells << model->headerData(column, Qt::Horizontal).toString();
    }
    lines << cells.join(QLatin1Char('\t'));
    for (const int row : rows) {
        cells.clear();
        for (int column = 0; column < columns; ++column) {
            cells << model->index(row, column).data().toString();
        }
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

bool copySelectedRows(const QAbstractItemView& view) {
    const QString text = selectedRowsAsText(view);
    if (text.isEmpty()) {
        return false;
    }
    QGuiApplication::clipboard()->setText(text);
    return true;
}

void copyRowsOnRequest(QAbstractItemView& view, QAbstractButton& button) {
    auto* copy = new QAction(QStringLiteral("Copy"), &view);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    view.addAction(copy);
    const auto copyRows = [&view] { copySelectedRows(view); };
    QObject::connect(copy, &QAction::triggered, &view, copyRows);
    QObject::connect(&button, &QAbstractButton::clicked, &view, copyRows);
}

} // namespace qmf
