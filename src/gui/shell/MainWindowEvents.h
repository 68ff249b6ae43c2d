// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <functional>

class QMdiArea;
class QMenu;
class QStatusBar;
class QSystemTrayIcon;

namespace qmf {

struct AppContext;

// The status bar's alarm notice (AlarmLBL): each new alarm event shows there in red until it is
// seen, that is until the Events view is opened or brought to the front or the notice is clicked
// (which opens the Events view). Each new alarm is also handed to the notifier: by default the
// system tray's message, where a tray exists.
class AlarmNotice final : public QLabel {
    Q_OBJECT
public:
    using Notifier = std::function<void(const QString& title, const QString& text)>;

    AlarmNotice(AppContext& ctx, QMdiArea& mdi, QStatusBar& statusBar);

    void setNotifier(Notifier notifier) { notifier_ = std::move(notifier); }
    // Alarms begun since the notice was last seen.
    int unseenCount() const { return unseen_; }
    void markSeen();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void alarmBegan(quint64 serial);
    void trayMessage(const QString& title, const QString& text);

    AppContext& ctx_;
    QMdiArea& mdi_;
    Notifier notifier_;
    QSystemTrayIcon* tray_ = nullptr;
    int unseen_ = 0;
};

// Adds the alarm notice to the status bar and the events poll with its check item "&Events
// Poll" (mnuViewEventsPoll) at the end of the View menu; the poll's on or off is kept in the
// settings (on at the first start).
void addMainWindowEvents(AppContext& ctx, QMdiArea& mdi, QStatusBar& statusBar, QMenu& viewMenu);

} // namespace qmf
