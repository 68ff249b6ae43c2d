// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/services/WindowRegistry.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>

namespace qmf {

QWidget* WindowRegistry::lookup(std::type_index type) const {
    auto it = windows_.find(type);
    return it == windows_.end() ? nullptr : it->second.data();
}

void WindowRegistry::remember(std::type_index type, QWidget* window) {
    windows_[type] = window;
    order_.append(window);
}

QList<QWidget*> WindowRegistry::windows() const {
    QList<QWidget*> result;
    for (const auto& window : order_) {
        if (window) {
            result.append(window.data());
        }
    }
    return result;
}

void WindowRegistry::present(QWidget* window, bool topLevel) {
    if (area_ && !topLevel) {
        auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget());
        const bool added = sub == nullptr;
        if (added) {
            sub = area_->addSubWindow(window);
            sub->setAttribute(Qt::WA_DeleteOnClose);
        }
        sub->show();
        window->show();
        if (added && (sub->x() < 0 || sub->y() < 0)) {
            // A window larger than the area is placed partly above or left of it, out of reach
            // of the scroll bars: its title bar must stay in view.
            sub->move(std::max(0, sub->x()), std::max(0, sub->y()));
        }
        area_->setActiveSubWindow(sub);
        return;
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void WindowRegistry::closeAll() {
    // Guarded copies: closing one window may delete another (a main window takes its child
    // views with it).
    const QList<QPointer<QWidget>> open = order_;
    for (const QPointer<QWidget>& window : open) {
        if (window) {
            closeView(*window);
        }
    }
}

void WindowRegistry::closeView(QWidget& view) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(view.parentWidget())) {
        sub->close();
    } else {
        view.close();
    }
}

void WindowRegistry::destroyAll() {
    // Guarded copies: deleting a main window deletes the views inside it too.
    const QList<QPointer<QWidget>> open = order_;
    for (const QPointer<QWidget>& window : open) {
        if (!window) {
            continue;
        }
        if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget())) {
            delete sub;
        } else {
            delete window.data();
        }
    }
    windows_.clear();
    order_.clear();
}

} // namespace qmf
