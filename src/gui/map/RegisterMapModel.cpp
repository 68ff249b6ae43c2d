// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/map/RegisterMapModel.h"

#include "core/chip/PowerUpValues.h"
#include "core/chip/RegisterMap.h"
#include "core/measure/RegisterMeaning.h"
#include "core/text/NumberText.h"

#include <QFont>

namespace qmf {

namespace {

QString binary(quint8 value) {
    return QStringLiteral("%1 %2")
        .arg(value >> 4, 4, 2, QLatin1Char('0'))
        .arg(value & 0x0F, 4, 2, QLatin1Char('0'));
}

QString tabTitle(quint8 reg) {
    const RegisterEntry* entry = RegisterMap::lookup(reg);
    const QString title = entry ? registerTabTitle(entry->Tab) : QString();
    return title.isEmpty() ? QStringLiteral("-") : title;
}

} // namespace

RegisterMapModel::RegisterMapModel(QObject* parent) : QAbstractTableModel(parent) {}

int RegisterMapModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 256;
}

int RegisterMapModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

void RegisterMapModel::setValue(quint8 reg, quint8 value) {
    if (values_[reg] == value) {
        return;
    }
    values_[reg] = value;
    emit dataChanged(index(reg, Hex), index(reg, Changed));
    // A fan's speed-2 register holds the oscillator frequency its counts are converted with.
    if (reg == 0x68 || reg == 0x69) {
        const int fan = reg - 0x68;
        for (const int count : {0x70 + fan, 0x78 + fan}) {
            emit dataChanged(index(count, Meaning), index(count, Meaning));
        }
    }
}

bool RegisterMapModel::changedFromPowerUp(quint8 reg) const {
    return values_[reg] && !isChipReading(reg) && *values_[reg] != powerUpValues()[reg];
}

QString RegisterMapModel::text(quint8 reg, int column) const {
    const std::optional<quint8> value = values_[reg];
    switch (column) {
    case Address:
        return text::hex(reg);
    case Name:
        return RegisterMap::displayName(reg);
    case Tab:
        return tabTitle(reg);
    case Hex:
        return value ? text::hex(*value) : QStringLiteral("-");
    case Binary:
        return value ? binary(*value) : QStringLiteral("-");
    case Meaning:
        return value ? registerMeaning(reg, *value, [this](quint8 other) { return values_[other]; })
                     : QString();
    case PowerUp:
        return isChipReading(reg) ? QStringLiteral("-") : text::hex(powerUpValues()[reg]);
    case Changed:
        return changedFromPowerUp(reg) ? QStringLiteral("changed") : QString();
    default:
        return {};
    }
}

QVariant RegisterMapModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const quint8 reg = quint8(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return text(reg, index.column());
    case Qt::EditRole:
        return values_[reg] ? text::hex(*values_[reg]) : QString();
    case Qt::FontRole:
        if (index.column() == Hex && changedFromPowerUp(reg)) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::ToolTipRole:
        if (index.column() == Hex) {
            return QStringLiteral("Double-click to write a new value (hexadecimal)");
        }
        if (index.column() == PowerUp && isChipReading(reg)) {
            return QStringLiteral("A reading: the chip changes it itself");
        }
        return {};
    default:
        return {};
    }
}

QVariant RegisterMapModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    static const char* const titles[ColumnCount] = {"Address", "Name",    "Tab",      "Hex",
                                                    "Binary",  "Meaning", "Power-up", "Changed"};
    return section >= 0 && section < ColumnCount ? QLatin1String(titles[section]) : QString();
}

Qt::ItemFlags RegisterMapModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == Hex) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

bool RegisterMapModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != Hex || role != Qt::EditRole || !writer_) {
        return false;
    }
    // The writer shows what the chip reads afterwards through setValue.
    writer_(quint8(index.row()), value.toString());
    return true;
}

} // namespace qmf
