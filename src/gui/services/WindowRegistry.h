// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QMdiArea> // QPointer<QMdiArea> below needs the complete type
#include <QPointer>
#include <QWidget>
#include <typeindex>
#include <unordered_map>

class QMdiArea;

namespace qmf {

struct AppContext;

// Window classes that are top-level windows even when the program has an MDI area (the device
// search) declare `static constexpr bool TopLevelWindow = true;`.
template <class T>
concept TopLevelWindowClass = requires {
    T::TopLevelWindow;
}
&&T::TopLevelWindow;

// One instance per window class, created (as T(AppContext&)) when first shown or referred to and
// reused after; a window that was closed is created afresh, with its initial state, next time.
class WindowRegistry {
public:
    // Child views go into this area; without one (tests) they are top-level windows.
    void setMdiArea(QMdiArea* area) { area_ = area; }
    QMdiArea* mdiArea() const { return area_; }

    // The instance, created if needed, not shown.
    template <class T> T& get(AppContext& ctx) {
        if (T* existing = find<T>()) {
            return *existing;
        }
        auto* window = new T(ctx);
        window->setAttribute(Qt::WA_DeleteOnClose);
        remember(typeid(T), window);
        return *window;
    }

    // The instance, created if needed, shown modeless and brought to the front.
    template <class T> T& show(AppContext& ctx) {
        T& window = get<T>(ctx);
        present(&window, TopLevelWindowClass<T>);
        return window;
    }

    template <class T> T* find() const { return qobject_cast<T*>(lookup(typeid(T))); }

    // Every live window of the registry, in creation order.
    QList<QWidget*> windows() const;

    // Closes (and so deletes, later) every window of the registry.
    void closeAll();

    // Closes one view: inside the main window its sub-window, so that no empty frame stays
    // behind; elsewhere the window itself.
    static void closeView(QWidget& view);

    // Deletes every window of the registry at once (for owners that go away themselves).
    void destroyAll();

private:
    QWidget* lookup(std::type_index type) const;
    void remember(std::type_index type, QWidget* window);
    void present(QWidget* window, bool topLevel);

    QPointer<QMdiArea> area_;
    std::unordered_map<std::type_index, QPointer<QWidget>> windows_;
    QList<QPointer<QWidget>> order_;
};

} // namespace qmf
