// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>

class QAction;
class QMdiArea;
class QMenu;

namespace qmf::mdi {

// The window list at the end of the Window menu: replaces `entries` (the separator and one item
// per shown child window, "&1 Title" .. "&9 Title", then "10 Title"; the active one checked) with
// the area's windows now. Choosing an item brings its window up, restored if minimised.
void rebuildWindowList(QMenu& menu, QMdiArea& area, QList<QAction*>& entries);

} // namespace qmf::mdi
