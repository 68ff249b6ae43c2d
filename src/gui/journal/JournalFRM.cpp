// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/journal/JournalFRM.h"

#include "core/chip/SharedState.h"
#include "core/files/RegisterSettingsFile.h"
#include "core/journal/JournalExport.h"
#include "core/journal/JournalText.h"
#include "core/journal/JournalUndo.h"
#include "core/journal/WriteJournal.h"
#include "gui/journal/JournalModel.h"
#include "gui/services/AppContext.h"
#include "gui/services/ErrorBoundary.h"
#include "gui/services/RegisterTextFilter.h"
#include "gui/services/TableText.h"
#include "gui/services/UserDialogs.h"
#include "gui/widgets/RecordTable.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace qmf {

namespace {
const QString ProblemTitle = QStringLiteral("There was a Problem!");

QPushButton* button(const char* name, const QString& caption, const QString& toolTip) {
    auto* b = new QPushButton(caption);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(toolTip);
    return b;
}
} // namespace

JournalFRM::JournalFRM(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("JournalFRM"));
    setWindowTitle(QStringLiteral("Journal"));

    model_ = new JournalModel(ctx_.state.journal(), this);
    filter_ = new RegisterTextFilter([this](int row) { return int(model_->entry(row).reg); },
                                     {journaltext::Name, journaltext::Source}, this);
    filter_->setSourceModel(model_);

    filterText_ = newFilterBox(QStringLiteral("Filter by register or source"));
    connect(filterText_, &QLineEdit::textChanged, this, [this](const QString& text) {
        filter_->setText(text);
        updateCount();
    });
    count_ = new QLabel;
    count_->setObjectName(QStringLiteral("CountLBL"));

    table_ =
        newRecordTable(QStringLiteral("JournalTBL"), QStringLiteral("Register writes"), filter_);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    const int digit = digitWidth(*table_);
    const int widths[journaltext::ColumnCount] = {7, 13, 8, 20, 8, 8, 9, 30, 8, 16};
    for (int column = 0; column < journaltext::ColumnCount; ++column) {
        table_->setColumnWidth(column, widths[column] * digit);
    }
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &JournalFRM::updateButtons);
    connect(filter_, &QAbstractItemModel::rowsInserted, this, &JournalFRM::updateCount);
    connect(filter_, &QAbstractItemModel::rowsRemoved, this, &JournalFRM::updateCount);

    undo_ = button("UndoCMD", QStringLiteral("Undo"),
                   QStringLiteral("Write the selected entry's value before back"));
    undoFrom_ = button("UndoFromCMD", QStringLiteral("Undo This and Later"),
                       QStringLiteral("Put every register written by the selected entry or "
                                      "after it back as it was before it"));
    export_ = button("ExportCMD", QStringLiteral("Export"),
                     QStringLiteral("Save the registers as they were before the selected entry "
                                    "to a settings file"));
    auto* copyButton = button("CopyCMD", QStringLiteral("Copy"),
                              QStringLiteral("Copy the selected rows as text (Ctrl+C)"));
    connect(undo_, &QPushButton::clicked, this, ctx_.errors.guard(this, [this] { undo(false); }));
    connect(undoFrom_, &QPushButton::clicked, this,
            ctx_.errors.guard(this, [this] { undo(true); }));
    connect(export_, &QPushButton::clicked, this,
            ctx_.errors.guard(this, [this] { exportBefore(); }));
    copyRowsOnRequest(*table_, *copyButton);

    auto* filterLabel = new QLabel(QStringLiteral("&Filter:"));
    filterLabel->setBuddy(filterText_);
    auto* top = new QHBoxLayout;
    top->addWidget(filterLabel);
    top->addWidget(filterText_, 1);
    top->addWidget(count_);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(undo_);
    bottom->addWidget(undoFrom_);
    bottom->addWidget(export_);
    bottom->addStretch(1);
    bottom->addWidget(copyButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(top);
    layout->addWidget(table_, 1);
    layout->addLayout(bottom);
    // Room for the columns and a page of rows when it opens.
    preferredSize_ = QSize(140 * digit, 30 * table_->verticalHeader()->defaultSectionSize());
    updateButtons();
    updateCount();
}

std::optional<quint64> JournalFRM::selectedSerial() const {
    const QModelIndex current = table_->selectionModel()->currentIndex();
    if (!current.isValid()) {
        return std::nullopt;
    }
    return model_->entry(filter_->mapToSource(current).row()).serial;
}

void JournalFRM::updateButtons() {
    const bool selected = selectedSerial().has_value();
    for (QPushButton* b : {undo_, undoFrom_, export_}) {
        b->setEnabled(selected);
    }
}

void JournalFRM::updateCount() {
    const qsizetype all = ctx_.state.journal().size();
    const int shown = filter_->rowCount();
    count_->setText(shown == all ? QStringLiteral("%1 writes").arg(all)
                                 : QStringLiteral("%1 of %2 writes").arg(shown).arg(all));
}

void JournalFRM::undo(bool andLater) {
    const auto serial = selectedSerial();
    if (!serial) {
        return;
    }
    const WriteJournal& journal = ctx_.state.journal();
    const UndoPlan plan = andLater ? planUndoFrom(journal, *serial) : planUndoOf(journal, *serial);
    const UndoResult result = runUndo(ctx_.state, plan);
    const bool complete = plan.ok() && result.complete();
    ctx_.dialogs.message(this,
                         complete ? UserDialogs::Icon::Information : UserDialogs::Icon::Exclamation,
                         complete ? QStringLiteral("Undo") : ProblemTitle,
                         result.lines(plan).join(QLatin1Char('\n')));
}

void JournalFRM::exportBefore() {
    const auto serial = selectedSerial();
    if (!serial) {
        return;
    }
    const QString path = ctx_.dialogs.fileName(this, UserDialogs::FileMode::Save,
                                               QStringLiteral("Excel Files (*.dat)"));
    if (path.isEmpty()) {
        return;
    }
    if (!hasRegisterSettingsExtension(path)) {
        ctx_.dialogs.message(this, UserDialogs::Icon::Exclamation, ProblemTitle,
                             QStringLiteral("Either an invalid filename or no file was selected, "
                                            "nothing was exported."));
        return;
    }
    const JournalExportResult result = exportRegistersBefore(ctx_.state, *serial, path);
    ctx_.dialogs.message(
        this, result.written ? UserDialogs::Icon::Information : UserDialogs::Icon::Exclamation,
        result.written ? QStringLiteral("Data Saved") : ProblemTitle,
        result.lines.join(QLatin1Char('\n')));
}

} // namespace qmf
