// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QAbstractButton;
class QAbstractItemView;

namespace qmf {

// The selected rows of a table as text for the clipboard: the column headers, then one line per
// row in the order shown, cells separated by tabs, so that it pastes into a spreadsheet or an
// e-mail alike. Empty when nothing is selected.
QString selectedRowsAsText(const QAbstractItemView& view);

// Puts the selected rows on the clipboard; returns false when nothing was selected.
bool copySelectedRows(const QAbstractItemView& view);

// Copies the selected rows on Ctrl+C inside the view (or one of its children) and on a click of
// the button.
void copyRowsOnRequest(QAbstractItemView& view, QAbstractButton& button);

} // namespace qmf
