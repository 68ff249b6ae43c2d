// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/files/SettingsComparison.h"

#include <QAbstractTableModel>

namespace qmf {

// The registers in which a settings file and the chip differ: register, name, the file's value,
// the chip's value.
class SettingsDiffModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Register, Name, File, Chip, ColumnCount };

    explicit SettingsDiffModel(QObject* parent = nullptr);

    void setDifferences(QList<RegisterDifference> differences);
    const QList<RegisterDifference>& differences() const { return differences_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QList<RegisterDifference> differences_;
};

} // namespace qmf
