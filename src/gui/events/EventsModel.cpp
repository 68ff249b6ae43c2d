// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/events/EventsModel.h"

#include "core/events/EventTracker.h"

#include <QBrush>
#include <QColor>

namespace qmf {

namespace {
QString timeText(const QDateTime& t) {
    return t.isValid() ? t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")) : QString();
}
} // namespace

EventsModel::EventsModel(events::EventTracker& tracker, QObject* parent)
    : QAbstractTableModel(parent), tracker_(tracker) {
    using events::EventTracker;
    // The newest event is row 0, the oldest the last row.
    connect(&tracker_, &EventTracker::aboutToBegin, this, [this] { beginInsertRows({}, 0, 0); });
    connect(&tracker_, &EventTracker::began, this, [this] { endInsertRows(); });
    connect(&tracker_, &EventTracker::aboutToDropOldest, this, [this] {
        const int last = rowCount() - 1;
        beginRemoveRows({}, last, last);
    });
    connect(&tracker_, &EventTracker::droppedOldest, this, [this] { endRemoveRows(); });
    connect(&tracker_, &EventTracker::ended, this, [this](quint64 serial) {
        const int row = rowOf(serial);
        if (row >= 0) {
            emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
        }
    });
}

int EventsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(tracker_.size());
}

int EventsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

const events::ChipEvent& EventsModel::event(int row) const {
    return tracker_.at(tracker_.size() - 1 - row);
}

int EventsModel::rowOf(quint64 serial) const {
    const events::ChipEvent* found = tracker_.find(serial);
    if (found == nullptr) {
        return -1;
    }
    return int(tracker_.lastSerial() - serial);
}

QVariant EventsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const events::ChipEvent& e = event(index.row());
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
        switch (index.column()) {
        case Begin:
            return timeText(e.begin);
        case End:
            return timeText(e.end);
        case Text:
            return e.text;
        default:
            return {};
        }
    }
    // An alarm that lasts stands out.
    if (role == Qt::ForegroundRole && e.active()) {
        return QBrush(QColor(200, 0, 0));
    }
    if (role == Qt::ToolTipRole && e.latchedOnly) {
        return tr("Only the latched status bit told of it: it began and ended between two "
                  "readings.");
    }
    return {};
}

QVariant EventsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
    case Begin:
        return QStringLiteral("Begin");
    case End:
        return QStringLiteral("End");
    case Text:
        return QStringLiteral("Event");
    default:
        return {};
    }
}

} // namespace qmf
