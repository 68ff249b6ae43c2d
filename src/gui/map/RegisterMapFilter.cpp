// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/map/RegisterMapFilter.h"

#include "core/text/ByteText.h"
#include "gui/map/RegisterMapModel.h"

namespace qmf {

RegisterMapFilter::RegisterMapFilter(QObject* parent) : QSortFilterProxyModel(parent) {}

void RegisterMapFilter::setText(const QString& text) {
    text_ = text.trimmed();
    const text::ByteText address = text::parseHexByte(text_);
    address_ = address.ok() ? address.value : -1;
    invalidateFilter();
}

bool RegisterMapFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    if (text_.isEmpty() || sourceRow == address_) {
        return true; // a row is its register's address
    }
    return sourceModel()
        ->index(sourceRow, RegisterMapModel::Name, sourceParent)
        .data()
        .toString()
        .contains(text_, Qt::CaseInsensitive);
}

} // namespace qmf
