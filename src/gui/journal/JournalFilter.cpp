// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/journal/JournalFilter.h"

#include "core/journal/JournalText.h"
#include "core/text/ByteText.h"
#include "gui/journal/JournalModel.h"

namespace qmf {

JournalFilter::JournalFilter(QObject* parent) : QSortFilterProxyModel(parent) {}

void JournalFilter::setText(const QString& text) {
    text_ = text.trimmed();
    const text::ByteText reg = text::parseHexByte(text_);
    reg_ = reg.ok() ? reg.value : -1;
    invalidateFilter();
}

bool JournalFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    if (text_.isEmpty()) {
        return true;
    }
    const JournalEntry& entry = static_cast<const JournalModel*>(sourceModel())->entry(sourceRow);
    if (entry.reg == reg_) {
        return true;
    }
    for (const int column : {journaltext::Name, journaltext::Source}) {
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
