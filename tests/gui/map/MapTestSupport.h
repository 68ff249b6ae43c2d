// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/support/TestContext.h"

#include <QAbstractItemModel>
#include <QStringList>
#include <QTableView>
#include <gtest/gtest.h>

// Failure messages show texts as texts.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace qmf::test {

// The cells of a table row as shown, joined by " | ".
inline QString rowText(const QTableView& table, int row) {
    QStringList cells;
    const QAbstractItemModel& model = *table.model();
    for (int column = 0; column < model.columnCount(); ++column) {
        cells << model.index(row, column).data().toString();
    }
    return cells.join(QStringLiteral(" | "));
}

// Column `column` of every row, top to bottom.
inline QStringList columnText(const QTableView& table, int column) {
    QStringList cells;
    for (int row = 0; row < table.model()->rowCount(); ++row) {
        cells << table.model()->index(row, column).data().toString();
    }
    return cells;
}

} // namespace qmf::test
