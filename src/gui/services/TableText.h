// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QAbstractItemView;

namespace qmf {

// The selected rows of a table as text for the clipboard: the column headers, then one line per
// row in the order shown, cells separated by tabs, so that it pastes into a spreadsheet or an
// e-mail alike. Empty when nothing is selected.
QString selectedRowsAsText(const QAbstractItemView& view);

// Puts the selected rows on the clipboard; returns false when nothing was selected.
bool copySelectedRows(const QAbstractItemView& view);

} // namespace qmf
