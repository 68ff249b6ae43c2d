// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/map/SettingsCompareFRM.h"

#include "core/chip/SharedState.h"
#include "core/files/RegisterSettingsFile.h"
#include "core/files/SettingsComparison.h"
#include "core/journal/WriteJournal.h"
#include "core/link/LinkErrors.h"
#include "core/link/RegisterAccess.h"
#include "core/text/NumberText.h"
#include "gui/map/SettingsDiffModel.h"
#include "gui/services/AppContext.h"
#include "gui/services/ErrorBoundary.h"
#include "gui/services/TableText.h"
#include "gui/services/UserDialogs.h"
#include "gui/services/WindowRegistry.h"
#include "gui/widgets/RecordTable.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace qmf {

namespace {
const QString ProblemTitle = QStringLiteral("There was a Problem!");
} // namespace

SettingsCompareFRM::SettingsCompareFRM(AppContext& ctx, QWidget* parent)
    : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("SettingsCompareFRM"));
    setWindowTitle(QStringLiteral("Compare with Settings File"));

    model_ = new SettingsDiffModel(this);
    fileLabel_ = new QLabel;
    fileLabel_->setObjectName(QStringLiteral("FileLBL"));
    fileLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    summary_ = new QLabel;
    summary_->setObjectName(QStringLiteral("SummaryLBL"));
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    table_ = newRecordTable(QStringLiteral("DifferencesTBL"),
                            QStringLiteral("Registers that differ"), model_);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    const int digit = digitWidth(*table_);
    table_->setColumnWidth(SettingsDiffModel::Register, 9 * digit);
    table_->setColumnWidth(SettingsDiffModel::Name, 24 * digit);
    table_->setColumnWidth(SettingsDiffModel::File, 7 * digit);

    auto* writeButton = new QPushButton(QStringLiteral("Write selected to chip"));
    writeButton->setObjectName(QStringLiteral("WriteSelectedCMD"));
    connect(writeButton, &QPushButton::clicked, this,
            ctx_.errors.guard(this, [this] { writeSelected(); }));
    auto* againButton = new QPushButton(QStringLiteral("Compare Again"));
    againButton->setObjectName(QStringLiteral("CompareAgainCMD"));
    connect(againButton, &QPushButton::clicked, this,
            ctx_.errors.guard(this, [this] { compareAgain(); }));
    includeReadings_ = new QCheckBox(QStringLiteral("Include readings"));
    includeReadings_->setObjectName(QStringLiteral("IncludeReadingsCHK"));
    includeReadings_->setToolTip(
        QStringLiteral("Also compare the status, speed, temperature and AIN readings, which the "
                       "chip changes itself"));
    connect(includeReadings_, &QCheckBox::toggled, this,
            ctx_.errors.guard(this, [this] { compareAgain(); }));
    auto* copyButton = new QPushButton(QStringLiteral("Copy"));
    copyButton->setObjectName(QStringLiteral("CopyCMD"));
    copyRowsOnRequest(*table_, *copyButton);

    auto* bar = new QHBoxLayout;
    bar->addWidget(writeButton);
    bar->addWidget(againButton);
    bar->addWidget(includeReadings_);
    bar->addStretch(1);
    bar->addWidget(copyButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(fileLabel_);
    layout->addWidget(summary_);
    layout->addWidget(table_, 1);
    layout->addLayout(bar);
    // Room for the columns and a page of rows when it opens.
    preferredSize_ = QSize(80 * digit, 24 * table_->verticalHeader()->defaultSectionSize());
}

bool SettingsCompareFRM::compareWith(const QString& path) {
    const ReadRegisterSettingsResult file = readRegisterSettingsFile(path);
    if (!file.ok()) {
        ctx_.dialogs.message(this, UserDialogs::Icon::Exclamation, ProblemTitle,
                             QStringLiteral("%1: %2; nothing was compared.")
                                 .arg(path, file.fileError.isEmpty() ? QStringLiteral("interrupted")
                                                                     : file.fileError));
        return false;
    }
    path_ = path;
    const SettingsComparison comparison =
        compareWithChip(ctx_.state, file.parsed, includeReadings_->isChecked());
    fileLabel_->setText(QStringLiteral("Settings file: %1").arg(path));
    summary_->setText(describeComparison(comparison, file.parsed).join(QLatin1Char('\n')));
    model_->setDifferences(comparison.differences);
    return true;
}

void SettingsCompareFRM::compareAgain() {
    if (!path_.isEmpty()) {
        compareWith(path_);
    }
}

void SettingsCompareFRM::writeSelected() {
    QList<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows()) {
        rows << index.row();
    }
    if (rows.isEmpty()) {
        ctx_.dialogs.message(this, UserDialogs::Icon::Exclamation, ProblemTitle,
                             QStringLiteral("Select the registers to write first."));
        return;
    }
    std::sort(rows.begin(), rows.end());
    const QList<RegisterDifference> differences = model_->differences();
    QStringList problems;
    {
        const JournalSource source(ctx_.state.journal(),
                                   QStringLiteral("Compare with Settings File"));
        // Each register on its own: one that fails does not keep the others from being written.
        for (const int row : rows) {
            const RegisterDifference& d = differences[row];
            try {
                WriteRegisterAt(ctx_.state, d.reg, d.fileValue);
                const quint8 readBack = ReadRegisterAt(ctx_.state, d.reg);
                if (readBack != d.fileValue) {
                    problems << QStringLiteral("Register %1 reads %2 after %3 was written.")
                                    .arg(text::hex(d.reg), text::hex(readBack),
                                         text::hex(d.fileValue));
                }
            } catch (const std::exception& e) {
                problems
                    << QStringLiteral("Register %1: %2").arg(text::hex(d.reg), errorMessage(e));
            }
        }
    }
    compareAgain();
    if (!problems.isEmpty()) {
        ctx_.dialogs.message(this, UserDialogs::Icon::Exclamation, ProblemTitle,
                             problems.join(QLatin1Char('\n')));
    }
}

void CompareWithSettingsFile(AppContext& ctx, QWidget* parent) {
    const QString path = ctx.dialogs.fileName(parent, UserDialogs::FileMode::Open,
                                              QStringLiteral("Excel Files (*.dat)"));
    if (path.isEmpty()) {
        return;
    }
    if (!hasRegisterSettingsExtension(path)) {
        ctx.dialogs.message(parent, UserDialogs::Icon::Exclamation, ProblemTitle,
                            QStringLiteral("Either an invalid filename or no file was selected, "
                                           "nothing was compared."));
        return;
    }
    // Shown only with a comparison in it.
    if (ctx.windows.get<SettingsCompareFRM>(ctx).compareWith(path)) {
        ctx.windows.show<SettingsCompareFRM>(ctx);
    }
}

} // namespace qmf
