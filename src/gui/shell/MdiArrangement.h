// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QRect>
#include <Qt>

class QMdiArea;

namespace qmf::mdi {

// The rectangles of `count` tiled windows in `area`. Qt::Horizontal tiles horizontally: the
// windows are stacked one above another, each as wide as the area. Qt::Vertical tiles
// vertically: the windows stand side by side, each as high as the area. Leftover pixels go to
// the last window, so the tiles cover the area exactly.
QList<QRect> tileRects(const QRect& area, int count, Qt::Orientation orientation);

// The positions of `count` minimised windows (icons) of the given size along the bottom of
// `area`, left to right, a new row above when a row is full.
QList<QRect> iconRects(const QRect& area, int count, const QSize& iconSize);

// Tiles the area's windows that are shown and not minimised. Minimised windows keep a row at the
// bottom of the area.
void tile(QMdiArea& area, Qt::Orientation orientation);

// Lines up the minimised windows along the bottom of the area.
void arrangeIcons(QMdiArea& area);

} // namespace qmf::mdi
