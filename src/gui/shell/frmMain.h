// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/shell/MainWindowPosition.h"
#include "gui/shell/MainWindowSession.h"
#include "gui/shell/frmAbout.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QStatusBar;
class QToolBar;

namespace qmf {

struct AppContext;
class BusTraceControl;

// The main window: the multiple-document parent of every view. Its menus and tool bar open the
// windows by class name through the context's openers; its status bar shows the errors the error
// boundary catches. Loading it restores its position and binds the temperature channels;
// closing it stores the position (unless minimised) and closes every child window.
class frmMain final : public QMainWindow {
    Q_OBJECT
public:
    static constexpr bool TopLevelWindow = true;

    explicit frmMain(AppContext& ctx);
    ~frmMain() override;

    QMdiArea* mdiArea() const { return mdi_; }

    // The tool bar's click: compares the key case-sensitively with the five button keys and
    // opens the matching window; any other key does nothing.
    void toolbarButtonClick(const QString& key);

    // 0 cascade, 1 tile horizontal, 2 tile vertical, 3 arrange icons.
    void arrange(int arrangement);

    // The View menu's Refresh: every open view that can refresh reads its registers once.
    void refreshViews();

    // The About box, modal, owned by this window (null when not open).
    frmAbout* aboutBox() const { return about_; }
    void showAbout();

    // Once the device is chosen: the views open at the last close, in their places (once).
    void reopenViews();

    // Which device the program works with, shown at the right of the status bar.
    void setDeviceDescription(const QString& text);

    // The window class that each tool bar key opens.
    static QString windowForToolbarKey(const QString& key);

    // Tools > Record Bus Trace...
    BusTraceControl& busTrace() const { return *busTrace_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QSize initialSize() const;
    void buildMenus();
    void buildToolBar();
    QAction* addItem(QMenu* menu, const char* name, const QString& caption,
                     std::function<void()> handler);
    void openWindow(const QString& className);
    void updateAvailability();

    AppContext& ctx_;
    QMdiArea* mdi_ = nullptr;
    QToolBar* tbToolBar_ = nullptr;
    QStatusBar* StatusBar1_ = nullptr;
    QLabel* deviceLabel_ = nullptr;
    QMenu* mnuWindow_ = nullptr;
    QAction* mnuViewToolbar_ = nullptr;
    BusTraceControl* busTrace_ = nullptr;
    QList<QAction*> windowList_;
    QPointer<frmAbout> about_;
    MainWindowPosition position_;
    MainWindowSession session_;
    bool viewsReopened_ = false;
};

} // namespace qmf
