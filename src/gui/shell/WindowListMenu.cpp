// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/WindowListMenu.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>

namespace qmf::mdi {

void rebuildWindowList(QMenu& menu, QMdiArea& area, QList<QAction*>& entries) {
    for (QAction* action : std::as_const(entries)) {
        menu.removeAction(action);
        delete action;
    }
    entries.clear();

    QList<QMdiSubWindow*> open;
    for (QMdiSubWindow* sub : area.subWindowList(QMdiArea::CreationOrder)) {
        if (!sub->isHidden()) {
            open.append(sub);
        }
    }
    if (open.isEmpty()) {
        return;
    }
    entries.append(menu.addSeparator());
    for (qsizetype i = 0; i < open.size(); ++i) {
        QMdiSubWindow* sub = open[i];
        QString title = sub->windowTitle();
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        const QString caption = i < 9 ? QStringLiteral("&%1 %2").arg(i + 1).arg(title)
                                      : QStringLiteral("%1 %2").arg(i + 1).arg(title);
        QAction* action = menu.addAction(caption);
        action->setObjectName(QStringLiteral("mnuWindowList"));
        action->setCheckable(true);
        action->setChecked(sub == area.activeSubWindow());
        QObject::connect(action, &QAction::triggered, &area,
                         [area = &area, target = QPointer<QMdiSubWindow>(sub)] {
                             if (!target) {
                                 return;
                             }
                             if (target->isMinimized()) {
                                 target->showNormal();
                             }
                             area->setActiveSubWindow(target);
                         });
        entries.append(action);
    }
}

} // namespace qmf::mdi
