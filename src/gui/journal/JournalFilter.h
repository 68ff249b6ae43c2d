// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSortFilterProxyModel>

namespace qmf {

// Over a JournalModel: keeps the writes to the typed register ("60", "0x60", "60h"), or whose
// register name or source contains the text (any case); all of them for an empty text.
class JournalFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit JournalFilter(QObject* parent = nullptr);

    void setText(const QString& text);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    QString text_;
    int reg_ = -1; // the text read as a register address, -1 when it is not one
};

} // namespace qmf
