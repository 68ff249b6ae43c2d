// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/journal/JournalModel.h"

#include "core/journal/JournalText.h"

#include <QBrush>
#include <QColor>

namespace qmf {

JournalModel::JournalModel(WriteJournal& journal, QObject* parent)
    : QAbstractTableModel(parent), journal_(journal) {
    journal_.addListener(this);
}

JournalModel::~JournalModel() {
    journal_.removeListener(this);
}

const JournalEntry& JournalModel::entry(int row) const {
    return journal_.at(journal_.size() - 1 - row);
}

int JournalModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(journal_.size());
}

int JournalModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : journaltext::ColumnCount;
}

QVariant JournalModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const JournalEntry& e = entry(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return journaltext::field(e, index.column());
    case Qt::ForegroundRole:
        if (e.failed() && index.column() == journaltext::Result) {
            return QBrush(QColor(190, 30, 30));
        }
        if (!e.before && index.column() == journaltext::Before) {
            return QBrush(QColor(150, 110, 0));
        }
        return {};
    case Qt::ToolTipRole:
        if (!e.before && index.column() == journaltext::Before) {
            return QStringLiteral("The register had not been read before this write: it cannot "
                                  "be undone");
        }
        if (index.column() == journaltext::Result && e.failed()) {
            return e.failure;
        }
        return {};
    default:
        return {};
    }
}

QVariant JournalModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return journaltext::header(section);
}

void JournalModel::aboutToDropOldest() {
    const int last = int(journal_.size()) - 1;
    beginRemoveRows({}, last, last);
}

void JournalModel::droppedOldest() {
    endRemoveRows();
}

void JournalModel::aboutToAppend() {
    beginInsertRows({}, 0, 0);
}

void JournalModel::appended() {
    endInsertRows();
}

void JournalModel::entryChanged(quint64 serial) {
    const int row = int(journal_.lastSerial() - serial);
    if (row >= 0 && row < rowCount()) {
        emit dataChanged(index(row, 0), index(row, journaltext::ColumnCount - 1));
    }
}

} // namespace qmf
