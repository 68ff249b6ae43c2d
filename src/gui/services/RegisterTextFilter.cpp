// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/services/RegisterTextFilter.h"

#include "core/text/ByteText.h"

#include <utility>

namespace qmf {

RegisterTextFilter::RegisterTextFilter(std::function<int(int)> registerOfRow,
                                       QList<int> textColumns, QObject* parent)
    : QSortFilterProxyModel(parent), registerOfRow_(std::move(registerOfRow)),
      textColumns_(std::move(textColumns)) {}

void RegisterTextFilter::setText(const QString& text) {
    text_ = text.trimmed();
    const text::ByteText reg = text::parseHexByte(text_);
    reg_ = reg.ok() ? reg.value : -1;
    invalidateFilter();
}

bool RegisterTextFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    if (text_.isEmpty() || (reg_ >= 0 && registerOfRow_(sourceRow) == reg_)) {
        return true;
    }
    for (const int column : textColumns_) {
        if (sourceModel()
                ->index(sourceRow, column, sourceParent)
                .data()
                .toString()
                .contains(text_, Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

} // namespace qmf
