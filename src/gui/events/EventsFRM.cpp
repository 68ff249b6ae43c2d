// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/events/EventsFRM.h"

#include "core/chip/SharedState.h"
#include "core/events/EventTracker.h"
#include "core/events/EventsCsv.h"
#include "gui/events/EventsModel.h"
#include "gui/services/AppContext.h"
#include "gui/services/ErrorBoundary.h"
#include "gui/services/UserDialogs.h"
#include "gui/widgets/RecordTable.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace qmf {

EventsFRM::EventsFRM(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("EventsFRM"));
    setWindowTitle(QStringLiteral("Events"));

    events::EventTracker& tracker = ctx_.state.events();
    model_ = new EventsModel(tracker, this);

    table_ = newRecordTable(QStringLiteral("EventsTBL"), QStringLiteral("Alarm events"), model_);
    const int digit = digitWidth(*table_);
    table_->setColumnWidth(EventsModel::Begin, 25 * digit);
    table_->setColumnWidth(EventsModel::End, 25 * digit);

    count_ = new QLabel;
    count_->setObjectName(QStringLiteral("CountLBL"));
    auto* save = new QPushButton(QStringLiteral("Save as CSV..."));
    save->setObjectName(QStringLiteral("SaveCMD"));
    save->setToolTip(QStringLiteral("Write every event to a CSV file"));
    connect(save, &QPushButton::clicked, this, ctx_.errors.guard(this, [this] { this->save(); }));

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(count_, 1);
    bottom->addWidget(save);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(table_, 1);
    layout->addLayout(bottom);

    using events::EventTracker;
    for (auto signal : {&EventTracker::began, &EventTracker::ended}) {
        connect(&tracker, signal, this, &EventsFRM::updateCount);
    }
    preferredSize_ = QSize(110 * digit, 16 * table_->verticalHeader()->defaultSectionSize());
    updateCount();
}

void EventsFRM::updateCount() {
    const events::EventTracker& tracker = ctx_.state.events();
    const int active = tracker.activeCount();
    QString text = tracker.size() == 1 ? QStringLiteral("1 event")
                                       : QStringLiteral("%1 events").arg(tracker.size());
    if (active > 0) {
        text += QStringLiteral(", %1 lasting").arg(active);
    }
    count_->setText(text);
}

void EventsFRM::save() {
    QString path = ctx_.dialogs.fileName(this, UserDialogs::FileMode::Save,
                                         QStringLiteral("CSV Files (*.csv)"));
    if (path.isEmpty()) {
        return;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".csv");
    }
    const QString error = events::saveEventsCsv(ctx_.state.events(), path);
    if (error.isEmpty()) {
        ctx_.dialogs.message(this, UserDialogs::Icon::Information, QStringLiteral("Data Saved"),
                             QStringLiteral("The events were saved."), path);
    } else {
        ctx_.dialogs.message(this, UserDialogs::Icon::Exclamation,
                             QStringLiteral("There was a Problem!"),
                             QStringLiteral("The events could not be saved: %1").arg(error), path);
    }
}

} // namespace qmf
