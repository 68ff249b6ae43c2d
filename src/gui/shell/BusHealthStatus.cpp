// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/BusHealthStatus.h"

#include "core/link/BusHealth.h"
#include "gui/services/UserDialogs.h"

#include <QStatusBar>
#include <QTimer>

namespace qmf {

BusHealthStatus::BusHealthStatus(BusHealth& health, UserDialogs& dialogs, QWidget* parent)
    : QToolButton(parent), health_(health), dialogs_(dialogs), timer_(new QTimer(this)) {
    setObjectName(QStringLiteral("BusHealthCMD"));
    setAutoRaise(true);
    setToolTip(QStringLiteral("Bus health since the device search: click for every counter"));
    timer_->setObjectName(QStringLiteral("BusHealthTimer"));
    timer_->setInterval(RefreshMs);
    connect(timer_, &QTimer::timeout, this, &BusHealthStatus::refresh);
    connect(this, &QToolButton::clicked, this, &BusHealthStatus::showDetails);
    timer_->start();
    refresh();
}

void BusHealthStatus::refresh() {
    const BusHealthCounts& counts = health_.counts();
    const QString text = busHealthSummary(counts);
    if (text != this->text()) {
        setText(text);
        setAccessibleName(text);
    }
    // Failed transfers are what a user must notice; the rest is detail.
    QPalette colours = palette();
    colours.setColor(QPalette::ButtonText,
                     counts.failedTransfers > 0
                         ? QColor(192, 0, 0)
                         : parentWidget()->palette().color(QPalette::ButtonText));
    setPalette(colours);
}

void BusHealthStatus::showDetails() {
    refresh();
    dialogs_.message(window(), UserDialogs::Icon::Information, QStringLiteral("Bus Health"),
                     QStringLiteral("Since the last device search:\n") +
                         busHealthReport(health_.counts()).join(QLatin1Char('\n')));
}

BusHealthStatus* addBusHealthStatus(QStatusBar& statusBar, BusHealth& health,
                                    UserDialogs& dialogs) {
    auto* status = new BusHealthStatus(health, dialogs, &statusBar);
    statusBar.addPermanentWidget(status);
    return status;
}

} // namespace qmf
