// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <array>
#include <functional>
#include <optional>

namespace qmf {

// All 256 registers as the map shows them: address, name, register-list page, the value last
// read (hexadecimal, binary and what it means), the power-up value, and whether a setting differs
// from it. Values are unknown until read. The value cell is editable; what is typed is handed to
// the writer, which writes and then tells the model what the register reads.
class RegisterMapModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Address, Name, Tab, Hex, Binary, Meaning, PowerUp, Changed, ColumnCount };
    using Writer = std::function<void(quint8 reg, const QString& typed)>;

    explicit RegisterMapModel(QObject* parent = nullptr);

    void setWriter(Writer writer) { writer_ = std::move(writer); }
    void setValue(quint8 reg, quint8 value);
    std::optional<quint8> value(quint8 reg) const { return values_[reg]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // The text of a cell, as shown.
    QString text(quint8 reg, int column) const;

private:
    bool changedFromPowerUp(quint8 reg) const;

    std::array<std::optional<quint8>, 256> values_{};
    Writer writer_;
};

} // namespace qmf
