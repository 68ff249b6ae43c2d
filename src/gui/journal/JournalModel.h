// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/WriteJournal.h"

#include <QAbstractTableModel>

namespace qmf {

// The write journal as a table, newest write first, following the journal as it grows.
class JournalModel : public QAbstractTableModel, private JournalListener {
    Q_OBJECT
public:
    explicit JournalModel(WriteJournal& journal, QObject* parent = nullptr);
    ~JournalModel() override;

    // The entry shown in a row.
    const JournalEntry& entry(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    void aboutToDropOldest() override;
    void droppedOldest() override;
    void aboutToAppend() override;
    void appended() override;
    void entryChanged(quint64 serial) override;

    WriteJournal& journal_;
};

} // namespace qmf
