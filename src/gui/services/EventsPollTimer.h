// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QTimer;
class QWidget;

namespace qmf {

struct AppContext;

// The light background poll of the alarm events: every 500 ms, once a device is chosen, it reads
// the status registers that no view has read lately (none while the views read them anyway).
// A failed tick is reported like a view's and stops the poll until it is started again.
class EventsPollTimer final : public QObject {
    Q_OBJECT
public:
    // `owner` is the window its errors are reported for; the timer is its child (EventsPollTimer).
    EventsPollTimer(AppContext& ctx, QWidget& owner);

    void setRunning(bool running);
    bool isRunning() const;

    // One tick, as the timer runs it.
    void tick();

signals:
    // The poll stopped after a failed tick.
    void stoppedAfterFailure();

private:
    AppContext& ctx_;
    QWidget& owner_;
    QTimer* timer_ = nullptr;
};

} // namespace qmf
