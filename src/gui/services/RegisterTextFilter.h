// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QSortFilterProxyModel>
#include <functional>

namespace qmf {

// Filters a list of register rows as the user types: keeps the rows about the typed register
// ("60", "0x60", "60h") and those whose text columns contain the text (any case); all of them
// for an empty text.
class RegisterTextFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    // registerOfRow: the register a row of the source model is about; textColumns: the columns
    // searched for the text.
    RegisterTextFilter(std::function<int(int sourceRow)> registerOfRow, QList<int> textColumns,
                       QObject* parent = nullptr);

    void setText(const QString& text);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    std::function<int(int)> registerOfRow_;
    QList<int> textColumns_;
    QString text_;
    int reg_ = -1; // the text read as a register address, -1 when it is not one
};

} // namespace qmf
