// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QAbstractItemModel;
class QLineEdit;
class QTableView;
class QWidget;

namespace qmf {

// A table of records as the list views show them: whole rows selected, alternating colours, no
// row numbers, rows one text line high, the last column stretched, and not editable (a view that
// edits in place sets its own triggers).
QTableView* newRecordTable(const QString& objectName, const QString& accessibleName,
                           QAbstractItemModel* model);

// The box that filters a list view as the user types, named FilterTXT, with its hint as
// placeholder and accessible name and a clear button.
QLineEdit* newFilterBox(const QString& hint);

// The width of one digit in the widget's font: the list views give column widths in digits, so
// that they follow the font.
int digitWidth(const QWidget& widget);

} // namespace qmf
