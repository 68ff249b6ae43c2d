// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/MdiArrangement.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <numeric>

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

QList<QRect> tileRects(const QRect& area, const QList<QSize>& minimums,
                       Qt::Orientation orientation) {
    QList<QRect> rects;
    const auto count = minimums.size();
    if (count == 0 || area.isEmpty()) {
        return rects;
    }
    const bool stacked = orientation == Qt::Horizontal;
    const int total = stacked ? area.height() : area.width();
    QList<int> lengths;
    for (const QSize& minimum : minimums) {
        lengths.append(std::max(1, stacked ? minimum.height() : minimum.width()));
    }
    // Windows whose minimum exceeds an even share keep their minimum; the others share the rest
    // evenly. Holding one window at its minimum lowers the share of the others, so repeat.
    QList<bool> held(count, false);
    int rest = total;
    qsizetype sharing = count;
    for (bool more = true; more && sharing > 0;) {
        more = false;
        const int share = int(rest / sharing);
        for (qsizetype i = 0; i < count; ++i) {
            if (!held[i] && lengths[i] > share) {
                held[i] = true;
                rest -= lengths[i];
                --sharing;
                more = true;
            }
        }
    }
    qsizetype last = count - 1;
    for (qsizetype i = 0; i < count; ++i) {
        if (!held[i]) {
            lengths[i] = std::max(1, int(rest / sharing));
            last = i;
        }
    }
    const int used = std::accumulate(lengths.begin(), lengths.end(), 0);
    if (used < total) {
        lengths[last] += total - used;
    }

    int start = 0;
    for (qsizetype i = 0; i < count; ++i) {
        if (stacked) {
            rects.append(QRect(area.left(), area.top() + start,
                               std::max(area.width(), minimums[i].width()), lengths[i]));
        } else {
            rects.append(QRect(area.left() + start, area.top(), lengths[i],
                               std::max(area.height(), minimums[i].height())));
        }
        start += lengths[i];
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
    // Tiles start at the top left of the whole workspace, not of the part scrolled into view.
    area.horizontalScrollBar()->setValue(0);
    area.verticalScrollBar()->setValue(0);
    QRect free(QPoint(0, 0), area.maximumViewportSize());
    if (!icons.isEmpty()) {
        const QList<QRect> iconPlaces = iconRects(free, int(icons.size()), iconSize(icons));
        const int iconTop =
            std::min_element(iconPlaces.begin(), iconPlaces.end(),
                             [](const QRect& a, const QRect& b) { return a.top() < b.top(); })
                ->top();
        free.setBottom(iconTop - 1);
    }
    QList<QSize> minimums;
    for (QMdiSubWindow* window : windows) {
        minimums.append(window->minimumSizeHint().expandedTo(window->minimumSize()));
    }
    // Where the windows need more room than there is, the area scrolls, and each scroll bar takes
    // room of its own from the other direction.
    QSize need(0, 0);
    for (const QSize& minimum : minimums) {
        need =
            orientation == Qt::Horizontal
                ? QSize(std::max(need.width(), minimum.width()), need.height() + minimum.height())
                : QSize(need.width() + minimum.width(), std::max(need.height(), minimum.height()));
    }
    const int bar = area.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &area);
    bool across = need.width() > free.width();
    bool down = need.height() > free.height();
    across = across || (down && need.width() > free.width() - bar);
    down = down || (across && need.height() > free.height() - bar);
    if (down) {
        free.setRight(free.right() - bar);
    }
    if (across) {
        free.setBottom(free.bottom() - bar);
    }

    const QList<QRect> places = tileRects(free, minimums, orientation);
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
