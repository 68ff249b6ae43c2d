// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSortFilterProxyModel>

namespace qmf {

// Over a RegisterMapModel: shows the registers whose name contains the typed text (any case) or
// whose address it is ("60", "0x60", "60h"); all of them for an empty text.
class RegisterMapFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit RegisterMapFilter(QObject* parent = nullptr);

    void setText(const QString& text);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    QString text_;
    int address_ = -1; // the typed text read as an address, -1 when it is not one
};

} // namespace qmf
