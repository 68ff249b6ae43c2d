// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/MdiArrangement.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>

namespace qmf::mdi {

namespace {

QList<QMdiSubWindow*> shownWindows(QMdiArea& area, bool minimised) {
    QList<QMdiSubWindow*> result;
    const auto windows = area.subWindowList(QMdiArea::CreationOrder);
    for (QMdiSubWindow* window : windows) {
        if (window->isVisible() && window->isMinimized() == minimised) {
            result.append(window);
        }
    }
    return result;
}

QSize iconSize(const QList<QMdiSubWindow*>& icons) {
    QSize size;
    for (QMdiSubWindow* icon : icons) {
        size = size.expandedTo(icon->size());
    }
    return size.isEmpty() ? QSize(160, 24) : size;
}

} // namespace

QList<QRect> tileRects(const QRect& area, int count, Qt::Orientation orientation) {
    QList<QRect> rects;
    if (count <= 0 || area.isEmpty()) {
        return rects;
    }
    const int total = orientation == Qt::Horizontal ? area.height() : area.width();
    const int step = std::max(1, total / count);
    for (int i = 0; i < count; ++i) {
        const int start = i * step;
        const int length = i == count - 1 ? std::max(1, total - start) : step;
        if (orientation == Qt::Horizontal) {
            rects.append(QRect(area.left(), area.top() + start, area.width(), length));
        } else {
            rects.append(QRect(area.left() + start, area.top(), length, area.height()));
        }
    }
    return rects;
}

QList<QRect> iconRects(const QRect& area, int count, const QSize& iconSize) {
    QList<QRect> rects;
    if (count <= 0 || iconSize.isEmpty()) {
        return rects;
    }
    const int perRow = std::max(1, area.width() / iconSize.width());
    for (int i = 0; i < count; ++i) {
        const int row = i / perRow;
        const int column = i % perRow;
        rects.append(QRect(QPoint(area.left() + column * iconSize.width(),
                                  area.bottom() + 1 - (row + 1) * iconSize.height()),
                           iconSize));
    }
    return rects;
}

void tile(QMdiArea& area, Qt::Orientation orientation) {
    const QList<QMdiSubWindow*> windows = shownWindows(area, false);
    const QList<QMdiSubWindow*> icons = shownWindows(area, true);
    QRect free = area.viewport()->rect();
    if (!icons.isEmpty()) {
        const QList<QRect> iconPlaces = iconRects(free, int(icons.size()), iconSize(icons));
        const int iconTop =
            std::min_element(iconPlaces.begin(), iconPlaces.end(),
                             [](const QRect& a, const QRect& b) { return a.top() < b.top(); })
                ->top();
        free.setBottom(iconTop - 1);
    }
    const QList<QRect> places = tileRects(free, int(windows.size()), orientation);
    for (qsizetype i = 0; i < places.size(); ++i) {
        QMdiSubWindow* window = windows[i];
        if (window->isMaximized()) {
            window->showNormal();
        }
        window->setGeometry(places[i]);
    }
}

void arrangeIcons(QMdiArea& area) {
    const QList<QMdiSubWindow*> icons = shownWindows(area, true);
    const QList<QRect> places =
        iconRects(area.viewport()->rect(), int(icons.size()), iconSize(icons));
    for (qsizetype i = 0; i < places.size(); ++i) {
        icons[i]->move(places[i].topLeft());
    }
}

} // namespace qmf::mdi
