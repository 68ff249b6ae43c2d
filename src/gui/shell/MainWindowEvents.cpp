// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/MainWindowEvents.h"

#include "core/chip/SharedState.h"
#include "core/events/EventTracker.h"
#include "gui/services/AppContext.h"
#include "gui/services/AppIcon.h"
#include "gui/services/AppVersion.h"
#include "gui/services/ErrorBoundary.h"
#include "gui/services/EventsPollTimer.h"
#include "gui/services/SettingsStore.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusBar>
#include <QSystemTrayIcon>

namespace qmf {

namespace {
const QString EventsWindow = QStringLiteral("EventsFRM");
const QString SettingsSection = QStringLiteral("Settings");
const QString PollKey = QStringLiteral("EventsPoll");
} // namespace

AlarmNotice::AlarmNotice(AppContext& ctx, QMdiArea& mdi, QStatusBar& statusBar)
    : QLabel(&statusBar), ctx_(ctx), mdi_(mdi) {
    setObjectName(QStringLiteral("AlarmLBL"));
    setToolTip(QStringLiteral("Click to open the Events view"));
    setCursor(Qt::PointingHandCursor);
    setAutoFillBackground(true);
    QPalette red = palette();
    red.setColor(QPalette::Window, QColor(200, 0, 0));
    red.setColor(QPalette::WindowText, Qt::white);
    setPalette(red);
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    setContentsMargins(6, 0, 6, 0);
    hide();
    statusBar.insertPermanentWidget(0, this);

    notifier_ = [this](const QString& title, const QString& text) { trayMessage(title, text); };
    connect(&ctx_.state.events(), &events::EventTracker::began, this, &AlarmNotice::alarmBegan);
    connect(&mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
        if (sub != nullptr && sub->widget() != nullptr &&
            sub->widget()->objectName() == EventsWindow) {
            markSeen();
        }
    });
}

void AlarmNotice::alarmBegan(quint64 serial) {
    const events::ChipEvent* event = ctx_.state.events().find(serial);
    if (event == nullptr) {
        return;
    }
    ++unseen_;
    const QString text =
        unseen_ == 1
            ? QStringLiteral("Alarm: %1").arg(event->text)
            : QStringLiteral("Alarm: %1 (%2 more not seen)").arg(event->text).arg(unseen_ - 1);
    setText(text);
    setAccessibleName(text);
    show();
    if (notifier_) {
        notifier_(applicationTitle(), event->text);
    }
}

void AlarmNotice::markSeen() {
    unseen_ = 0;
    clear();
    hide();
}

void AlarmNotice::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        markSeen();
        ctx_.errors.run(this, [this] { ctx_.open(EventsWindow); });
    }
    QLabel::mousePressEvent(event);
}

void AlarmNotice::trayMessage(const QString& title, const QString& text) {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        return;
    }
    if (tray_ == nullptr) {
        tray_ = new QSystemTrayIcon(applicationIcon(), this);
        tray_->setToolTip(applicationTitle());
        connect(tray_, &QSystemTrayIcon::messageClicked, this, [this] {
            markSeen();
            ctx_.errors.run(this, [this] { ctx_.open(EventsWindow); });
        });
        tray_->show();
    }
    tray_->showMessage(title, text, QSystemTrayIcon::Warning);
}

void addMainWindowEvents(AppContext& ctx, QMdiArea& mdi, QStatusBar& statusBar, QMenu& viewMenu) {
    new AlarmNotice(ctx, mdi, statusBar);
    QWidget* owner = statusBar.window();
    auto* poll = new EventsPollTimer(ctx, *owner);
    QAction* item = viewMenu.addAction(QStringLiteral("&Events Poll"));
    item->setObjectName(QStringLiteral("mnuViewEventsPoll"));
    item->setCheckable(true);
    item->setToolTip(QStringLiteral("Read the status registers every 500 ms when no view reads "
                                    "them, for the alarm events"));
    const bool on =
        SettingsStore(applicationTitle()).value(SettingsSection, PollKey, QStringLiteral("1")) !=
        QStringLiteral("0");
    item->setChecked(on);
    poll->setRunning(on);
    QObject::connect(item, &QAction::triggered, poll, [poll](bool checked) {
        poll->setRunning(checked);
        SettingsStore(applicationTitle())
            .setValue(SettingsSection, PollKey,
                      checked ? QStringLiteral("1") : QStringLiteral("0"));
    });
    // A failed tick stops the poll; the item shows it, and the stored choice stays.
    QObject::connect(poll, &EventsPollTimer::stoppedAfterFailure, item,
                     [item] { item->setChecked(false); });
}

} // namespace qmf
