// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/frmMain.h"

#include "core/chip/ChannelBinding.h"
#include "core/chip/SharedState.h"
#include "core/link/BoardLink.h"
#include "core/text/Twips.h"
#include "gui/services/AppContext.h"
#include "gui/services/AppIcon.h"
#include "gui/services/AppVersion.h"
#include "gui/services/ErrorBoundary.h"
#include "gui/services/RefreshableView.h"
#include "gui/services/WindowRegistry.h"
#include "gui/shell/BusHealthStatus.h"
#include "gui/shell/BusTraceControl.h"
#include "gui/shell/DocumentationCommand.h"
#include "gui/shell/HeaterStatus.h"
#include "gui/shell/MainWindowEvents.h"
#include "gui/shell/MdiArrangement.h"
#include "gui/shell/RegisterSettingsCommands.h"
#include "gui/shell/ToolbarIcons.h"
#include "gui/shell/WindowListMenu.h"
#include "gui/shell/frmAbout.h"

#include <QCloseEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>
#include <utility>

namespace qmf {

namespace {

// The client area at design, in twips.
constexpr double ClientWidthTwips = 11040;
constexpr double ClientHeightTwips = 8640;
// The register list and the graph window with the bar-graph monitor beside need more room than
// the design's client area.
constexpr QSize MinimumUsefulSize(1280, 860);

struct ToolbarButton {
    const char* key;
    const char* toolTip;
    const char* window;
};

// In tool bar order.
constexpr ToolbarButton ToolbarButtons[] = {
    {"GlobalSettings", "Global Register Access", "Register_List"},
    {"ChipLayout", "Chip Layout", "ChipLayoutForm"},
    {"Graph", "Graph Data", "GraphFRM"},
    {"BarGraph", "Bargraph Data", "BargraphForm"},
    {"Wizard", "Fan Wizard", "WizardListFRM"},
    {"RegisterMap", "Register Map", "RegisterMapFRM"},
};

} // namespace

frmMain::frmMain(AppContext& ctx) : ctx_(ctx) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(applicationTitle());
    setWindowIcon(applicationIcon());

    mdi_ = new QMdiArea(this);
    mdi_->setObjectName(QStringLiteral("MDIClient"));
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setAccessibleName(QStringLiteral("Windows"));
    setCentralWidget(mdi_);

    buildMenus();
    buildToolBar();

    StatusBar1_ = new QStatusBar(this);
    StatusBar1_->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(StatusBar1_);
    deviceLabel_ = new QLabel(StatusBar1_);
    deviceLabel_->setObjectName(QStringLiteral("DeviceLBL"));
    StatusBar1_->addPermanentWidget(deviceLabel_);
    addHeaterStatus(*StatusBar1_,
                    ctx_.state.board().parallelPortLink().busEngine().auxOutputsState());
    addMainWindowEvents(ctx_, *mdi_, *StatusBar1_,
                        *menuBar()->findChild<QMenu*>(QStringLiteral("mnuView")));
    addBusHealthStatus(*StatusBar1_, ctx_.state.board().busHealth(), ctx_.dialogs);

    ctx_.windows.setMdiArea(mdi_);
    ctx_.errors.setStatusBar(StatusBar1_);

    resize(initialSize());

    // Load.
    session_.restoreSize(*this);
    position_.restore(*this);
    bindTemperatureChannels(ctx_.state);
}

frmMain::~frmMain() = default;

QSize frmMain::initialSize() const {
    // The design's client area, grown to what the views need side by side, within the screen.
    const QSize chrome(0, menuBar()->sizeHint().height() + tbToolBar_->sizeHint().height() +
                              StatusBar1_->sizeHint().height());
    QSize size = QSize(text::twipsToPixels(ClientWidthTwips, logicalDpiX()),
                       text::twipsToPixels(ClientHeightTwips, logicalDpiY())) +
                 chrome;
    size = size.expandedTo(MinimumUsefulSize);
    if (const QScreen* shown = screen()) {
        size = size.boundedTo(shown->availableGeometry().size() * 0.9);
    }
    return size;
}

QAction* frmMain::addItem(QMenu* menu, const char* name, const QString& caption,
                          std::function<void()> handler) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, ctx_.errors.guard(this, std::move(handler)));
    return action;
}

void frmMain::buildMenus() {
    QMenuBar* bar = menuBar();
    auto addMenu = [bar](const char* name, const QString& caption) {
        QMenu* menu = bar->addMenu(caption);
        menu->setObjectName(QLatin1String(name));
        menu->menuAction()->setObjectName(QLatin1String(name) + QStringLiteral("Action"));
        return menu;
    };

    QMenu* file = addMenu("mnuFile", QStringLiteral("&File"));
    addItem(file, "mnuSave", QStringLiteral("Save Settings to File"),
            [this] { SaveRegisterSettings(ctx_, this); });
    addItem(file, "mnuLoad", QStringLiteral("Load Settings From File"),
            [this] { LoadRegisterSettings(ctx_, this); });
    addItem(file, "mnuCompare", QStringLiteral("Compare with Settings File..."), [this] {
        openWindow(QStringLiteral("CompareWithSettingsFile"));
    })->setProperty("window", QStringLiteral("CompareWithSettingsFile"));
    file->addSeparator();
    addItem(file, "mnuFileExit", QStringLiteral("E&xit"), [this] { close(); });

    QMenu* tools = addMenu("mnuTools", QStringLiteral("&Tools"));
    const struct {
        const char* name;
        const char* caption;
        const char* window;
    } toolItems[] = {
        {"mnuAutoSet", "&Automatically setup the evalboard", "AutoSet"},
        {"mnuRegList", "&Register List", "Register_List"},
        {"mnuChip", "&Chip Layout", "ChipLayoutForm"},
        {"mnuStrip", "&Strip Chart", "GraphFRM"},
        {"mnuBargraphs", "&Bargraphs with Limits", "BargraphForm"},
        {"mnuHeaters", "&Heaters", "BoardControlFRM"},
        {"mnuWizard", "Wi&zard", "WizardListFRM"},
        {"mnuRegisterMap", "Register &Map", "RegisterMapFRM"},
        {"mnuJournal", "&Journal", "JournalFRM"},
        {"mnuEvents", "&Events", "EventsFRM"},
    };
    for (const auto& item : toolItems) {
        const QString window = QLatin1String(item.window);
        QAction* action = addItem(tools, item.name, QLatin1String(item.caption),
                                  [this, window] { openWindow(window); });
        action->setProperty("window", window);
    }
    connect(tools, &QMenu::aboutToShow, this, &frmMain::updateAvailability);
    busTrace_ = new BusTraceControl(ctx_, *tools, this);

    QMenu* view = addMenu("mnuView", QStringLiteral("&View"));
    mnuViewToolbar_ = view->addAction(QStringLiteral("&Toolbar"));
    mnuViewToolbar_->setObjectName(QStringLiteral("mnuViewToolbar"));
    mnuViewToolbar_->setCheckable(true);
    mnuViewToolbar_->setChecked(true);
    connect(mnuViewToolbar_, &QAction::triggered, this,
            [this](bool checked) { tbToolBar_->setVisible(checked); });
    view->addSeparator()->setObjectName(QStringLiteral("mnuViewBar0"));
    addItem(view, "mnuViewRefresh", QStringLiteral("&Refresh"), [this] { refreshViews(); });

    mnuWindow_ = addMenu("mnuWindow", QStringLiteral("&Window"));
    addItem(mnuWindow_, "mnuWindowCascade", QStringLiteral("&Cascade"), [this] { arrange(0); });
    addItem(mnuWindow_, "mnuWindowTileHorizontal", QStringLiteral("Tile &Horizontal"),
            [this] { arrange(1); });
    addItem(mnuWindow_, "mnuWindowTileVertical", QStringLiteral("Tile &Vertical"),
            [this] { arrange(2); });
    addItem(mnuWindow_, "mnuWindowArrangeIcons", QStringLiteral("&Arrange Icons"),
            [this] { arrange(3); });
    connect(mnuWindow_, &QMenu::aboutToShow, this,
            [this] { mdi::rebuildWindowList(*mnuWindow_, *mdi_, windowList_); });

    QMenu* help = addMenu("mnuHelp", QStringLiteral("&Help"));
    addItem(help, "mnuHelpAbout", QStringLiteral("&About "), [this] { showAbout(); });
    addItem(help, "mnuHelpDocumentation", QStringLiteral("&Documentation"),
            [] { OpenDocumentation(); });

    // The desktop's usual keys; the captions stay as they are.
    const std::pair<const char*, QKeySequence> keys[] = {
        {"mnuSave", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"mnuLoad", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"mnuFileExit", QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {"mnuViewRefresh", QKeySequence(Qt::Key_F5)},
        {"mnuHelpDocumentation", QKeySequence(Qt::Key_F1)}};
    for (const auto& [name, key] : keys) {
        findChild<QAction*>(QLatin1String(name))->setShortcut(key);
    }
}

void frmMain::buildToolBar() {
    tbToolBar_ = new QToolBar(QStringLiteral("Toolbar"), this);
    tbToolBar_->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar_->setMovable(false);
    tbToolBar_->setFloatable(false);
    tbToolBar_->setIconSize(QSize(24, 24));
    addToolBar(Qt::TopToolBarArea, tbToolBar_);
    for (const ToolbarButton& button : ToolbarButtons) {
        const QString key = QLatin1String(button.key);
        QAction* action = tbToolBar_->addAction(toolbarIcon(key), QLatin1String(button.toolTip));
        action->setObjectName(key);
        action->setProperty("Key", key);
        action->setProperty("window", QLatin1String(button.window));
        action->setToolTip(QLatin1String(button.toolTip));
        connect(action, &QAction::triggered, this,
                ctx_.errors.guard(this, [this, key] { toolbarButtonClick(key); }));
    }
    // The tool bar can also be hidden from its context menu; the View menu's check mark follows.
    connect(tbToolBar_, &QToolBar::visibilityChanged, this, [this](bool visible) {
        if (isVisible() || visible) {
            mnuViewToolbar_->setChecked(visible);
        }
    });
    updateAvailability();
}

void frmMain::updateAvailability() {
    auto update = [this](QAction* action) {
        const QString window = action->property("window").toString();
        if (!window.isEmpty()) {
            action->setEnabled(ctx_.openers.contains(window));
        }
    };
    for (QAction* action : findChildren<QAction*>()) {
        update(action);
    }
}

void frmMain::reopenViews() {
    if (!std::exchange(viewsReopened_, true)) {
        session_.reopenViews(ctx_, *this, *mdi_);
    }
}

void frmMain::setDeviceDescription(const QString& text) {
    deviceLabel_->setText(text);
    deviceLabel_->setAccessibleName(text);
}

QString frmMain::windowForToolbarKey(const QString& key) {
    for (const ToolbarButton& button : ToolbarButtons) {
        if (key == QLatin1String(button.key)) {
            return QLatin1String(button.window);
        }
    }
    return {};
}

void frmMain::toolbarButtonClick(const QString& key) {
    const QString window = windowForToolbarKey(key);
    if (!window.isEmpty()) {
        openWindow(window);
    }
}

void frmMain::openWindow(const QString& className) {
    ctx_.open(className);
}

void frmMain::arrange(int arrangement) {
    switch (arrangement) {
    case 0:
        mdi_->cascadeSubWindows();
        break;
    case 1:
        mdi::tile(*mdi_, Qt::Horizontal);
        break;
    case 2:
        mdi::tile(*mdi_, Qt::Vertical);
        break;
    case 3:
        mdi::arrangeIcons(*mdi_);
        break;
    default:
        break;
    }
}

void frmMain::refreshViews() {
    for (QWidget* window : ctx_.windows.windows()) {
        if (auto* view = dynamic_cast<RefreshableView*>(window)) {
            view->refreshView();
        }
    }
}

void frmMain::showAbout() {
    if (!about_) {
        about_ = new frmAbout(this);
        about_->setAttribute(Qt::WA_DeleteOnClose);
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (about_) {
        about_->close();
    }
    session_.store(*this, *mdi_);
    mdi_->closeAllSubWindows();
    const auto subs = mdi_->subWindowList();
    if (std::any_of(subs.begin(), subs.end(),
                    [](QMdiSubWindow* sub) { return !sub->isHidden(); })) {
        // A child window refused to close; the main window stays.
        event->ignore();
        return;
    }
    position_.store(*this);
    event->accept();
}

} // namespace qmf
