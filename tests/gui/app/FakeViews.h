// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/link/LinkErrors.h"
#include "gui/app/RefreshableView.h"

#include <QWidget>

namespace qmf {
struct AppContext;
}

namespace qmf::test {

// Stand-ins for the program's views, created by the window registry as T(AppContext&).
class RefreshingView final : public QWidget, public RefreshableView {
    Q_OBJECT
public:
    explicit RefreshingView(AppContext&) {
        setWindowTitle(QStringLiteral("Refreshing View"));
        resize(200, 120);
    }
    void refreshView() override {
        ++refreshes;
        if (failNextRefresh) {
            failNextRefresh = false;
            throw LinkError(QStringLiteral("ReadByte"), QStringLiteral("test board"), 0x5E, 0x20,
                            QStringLiteral("injected failure"));
        }
    }
    int refreshes = 0;
    bool failNextRefresh = false;
};

class PlainView final : public QWidget {
    Q_OBJECT
public:
    explicit PlainView(AppContext&) {
        setWindowTitle(QStringLiteral("Plain & Simple View"));
        resize(200, 120);
    }
};

class ThirdView final : public QWidget {
    Q_OBJECT
public:
    explicit ThirdView(AppContext&) {
        setWindowTitle(QStringLiteral("Third View"));
        resize(200, 120);
    }
};

// Larger than any main window.
class BigView final : public QWidget {
    Q_OBJECT
public:
    explicit BigView(AppContext&) {
        setWindowTitle(QStringLiteral("Big View"));
        setMinimumSize(2400, 1600);
    }
};

} // namespace qmf::test
