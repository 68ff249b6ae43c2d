// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QRect>
#include <QSize>
#include <Qt>

class QMdiArea;

namespace qmf::mdi {

// The rectangles of tiled windows in `area`, one per minimum size. Qt::Horizontal tiles
// horizontally: the windows are stacked one above another, each as wide as the area.
// Qt::Vertical tiles vertically: the windows stand side by side, each as high as the area.
// No window gets less than its minimum size: the room along the tiling direction is shared as
// evenly as the minimums allow, and where it is not enough the tiles run past the area (which
// then scrolls) instead of squeezing a window. Leftover pixels go to the last window that is
// not held at its minimum, so tiles that fit cover the area exactly.
QList<QRect> tileRects(const QRect& area, const QList<QSize>& minimums,
                       Qt::Orientation orientation);

// The positions of `count` minimised windows (icons) of the given size along the bottom of
// `area`, left to right, a new row above when a row is full.
QList<QRect> iconRects(const QRect& area, int count, const QSize& iconSize);

// Tiles the area's windows that are shown and not minimised, each at least at the size at which
// its view stays readable (its minimum size hint); the area scrolls when they need more room
// than it has. Minimised windows keep a row at the bottom of the area.
void tile(QMdiArea& area, Qt::Orientation orientation);

// Lines up the minimised windows along the bottom of the area.
void arrangeIcons(QMdiArea& area);

} // namespace qmf::mdi
