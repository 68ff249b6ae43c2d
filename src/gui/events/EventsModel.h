// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>

namespace qmf::events {
class EventTracker;
struct ChipEvent;
} // namespace qmf::events

namespace qmf {

// The tracker's events as table rows, newest first: begin, end (empty while the alarm lasts),
// event text. Follows the tracker as events begin, end and are dropped.
class EventsModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Begin, End, Text, ColumnCount };

    explicit EventsModel(events::EventTracker& tracker, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const events::ChipEvent& event(int row) const;

private:
    int rowOf(quint64 serial) const;

    events::EventTracker& tracker_;
};

} // namespace qmf
