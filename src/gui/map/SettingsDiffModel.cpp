// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/map/SettingsDiffModel.h"

#include "core/chip/RegisterMap.h"
#include "core/text/NumberText.h"

namespace qmf {

SettingsDiffModel::SettingsDiffModel(QObject* parent) : QAbstractTableModel(parent) {}

void SettingsDiffModel::setDifferences(QList<RegisterDifference> differences) {
    beginResetModel();
    differences_ = std::move(differences);
    endResetModel();
}

int SettingsDiffModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(differences_.size());
}

int SettingsDiffModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SettingsDiffModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= differences_.size() || role != Qt::DisplayRole) {
        return {};
    }
    const RegisterDifference& d = differences_[index.row()];
    switch (index.column()) {
    case Register:
        return text::hex(d.reg);
    case Name:
        return RegisterMap::displayName(d.reg);
    case File:
        return text::hex(d.fileValue);
    case Chip:
        return text::hex(d.chipValue);
    default:
        return {};
    }
}

QVariant SettingsDiffModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    static const char* const titles[ColumnCount] = {"Register", "Name", "File", "Chip"};
    return section >= 0 && section < ColumnCount ? QLatin1String(titles[section]) : QString();
}

} // namespace qmf
