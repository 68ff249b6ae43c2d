// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/map/RegisterMapFRM.h"

#include "core/chip/SharedState.h"
#include "core/link/LinkErrors.h"
#include "core/link/RegisterAccess.h"
#include "core/text/ByteText.h"
#include "core/text/NumberText.h"
#include "gui/map/RegisterMapModel.h"
#include "gui/services/AppContext.h"
#include "gui/services/ErrorBoundary.h"
#include "gui/services/RegisterTextFilter.h"
#include "gui/services/TableText.h"
#include "gui/services/UserDialogs.h"
#include "gui/widgets/RecordTable.h"

#include <QAction>
#include <QCheckBox>
#include <QCursor>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <stdexcept>

namespace qmf {

RegisterMapFRM::RegisterMapFRM(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("RegisterMapFRM"));
    setWindowTitle(QStringLiteral("Register Map"));

    model_ = new RegisterMapModel(this);
    model_->setWriter([this](quint8 reg, const QString& typed) {
        // Queued: the editor is still closing when the model is handed the text, and a message
        // box about a refused entry must not open inside that.
        QTimer::singleShot(0, this, [this, reg, typed] {
            ctx_.errors.run(this, [this, reg, typed] { writeEntered(reg, typed); });
        });
    });
    // A row of the map is its register's address.
    filter_ = new RegisterTextFilter([](int row) { return row; }, {RegisterMapModel::Name}, this);
    filter_->setSourceModel(model_);

    filterText_ = newFilterBox(QStringLiteral("Filter by name or address"));
    connect(filterText_, &QLineEdit::textChanged, this,
            [this](const QString& text) { filter_->setText(text); });

    auto* readAllButton = new QPushButton(QStringLiteral("Read All"));
    readAllButton->setObjectName(QStringLiteral("ReadAllCMD"));
    connect(readAllButton, &QPushButton::clicked, this,
            ctx_.errors.guard(this, [this] { readAll(); }));

    liveRefresh_ = new QCheckBox(QStringLiteral("Live Refresh"));
    liveRefresh_->setObjectName(QStringLiteral("LiveRefreshCHK"));
    liveRefresh_->setToolTip(
        QStringLiteral("Read the registers in sight every %1 ms").arg(LiveRefreshIntervalMs));
    connect(liveRefresh_, &QCheckBox::toggled, this, &RegisterMapFRM::liveRefreshToggled);

    auto* copyButton = new QPushButton(QStringLiteral("Copy"));
    copyButton->setObjectName(QStringLiteral("CopyCMD"));
    copyButton->setToolTip(QStringLiteral("Copy the selected rows as text (Ctrl+C)"));

    table_ = newRecordTable(QStringLiteral("RegisterTBL"), QStringLiteral("Registers"), filter_);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    const int digit = digitWidth(*table_);
    const int widths[RegisterMapModel::ColumnCount] = {8, 24, 11, 6, 11, 32, 9, 9};
    for (int column = 0; column < RegisterMapModel::ColumnCount; ++column) {
        table_->setColumnWidth(column, widths[column] * digit);
    }

    copyRowsOnRequest(*table_, *copyButton);

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("LiveRefreshTimer"));
    timer_->setInterval(LiveRefreshIntervalMs);
    connect(timer_, &QTimer::timeout, this, &RegisterMapFRM::timerTick);

    auto* filterLabel = new QLabel(QStringLiteral("&Filter:"));
    filterLabel->setBuddy(filterText_);
    auto* bar = new QHBoxLayout;
    bar->addWidget(filterLabel);
    bar->addWidget(filterText_, 1);
    bar->addWidget(readAllButton);
    bar->addWidget(liveRefresh_);
    bar->addWidget(copyButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(bar);
    layout->addWidget(table_, 1);
    // Room for the columns and a page of rows when it opens.
    preferredSize_ = QSize(130 * digit, 28 * table_->verticalHeader()->defaultSectionSize());
}

void RegisterMapFRM::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!readOnce_) {
        readOnce_ = true;
        ctx_.errors.run(this, [this] { readAll(); });
    }
}

void RegisterMapFRM::refreshView() {
    ctx_.errors.run(this, [this] { readAll(); });
}

void RegisterMapFRM::timerTick() {
    ctx_.errors.run(
        this, [this] { readVisible(); },
        [this] {
            // A failing board stops the live refresh rather than failing twice a second.
            liveRefresh_->setChecked(false);
        });
}

void RegisterMapFRM::liveRefreshToggled() {
    if (liveRefresh_->isChecked()) {
        timer_->start();
    } else {
        timer_->stop();
    }
}

QList<quint8> RegisterMapFRM::visibleRegisters() const {
    QList<quint8> registers;
    const int rows = filter_->rowCount();
    if (rows == 0 || !table_->isVisible()) {
        return registers;
    }
    int first = table_->rowAt(0);
    int last = table_->rowAt(table_->viewport()->height() - 1);
    first = first < 0 ? 0 : first;
    last = last < 0 ? rows - 1 : last;
    for (int row = first; row <= last; ++row) {
        registers << quint8(filter_->mapToSource(filter_->index(row, 0)).row());
    }
    return registers;
}

void RegisterMapFRM::readVisible() {
    for (const quint8 reg : visibleRegisters()) {
        model_->setValue(reg, ReadRegisterAt(ctx_.state, reg));
    }
}

void RegisterMapFRM::readAll() {
    // 256 transfers take a noticeable moment on the printer-port path.
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    QList<int> unreadable;
    QString firstReason;
    for (int r = 0; r < 256; ++r) {
        try {
            model_->setValue(quint8(r), ReadRegisterAt(ctx_.state, quint8(r)));
        } catch (const std::exception& e) {
            if (unreadable.isEmpty()) {
                firstReason = errorMessage(e);
            }
            unreadable << r;
        }
    }
    QGuiApplication::restoreOverrideCursor();
    if (!unreadable.isEmpty()) {
        throw std::runtime_error(QStringLiteral("%1 of 256 registers could not be read, the "
                                                "first (%2) because: %3")
                                     .arg(unreadable.size())
                                     .arg(text::hex(quint32(unreadable.first())), firstReason)
                                     .toStdString());
    }
}

void RegisterMapFRM::writeEntered(quint8 reg, const QString& typed) {
    const text::ByteText entered = text::parseHexByte(typed);
    if (!entered.ok()) {
        const QString trimmed = typed.trimmed();
        const QString what = trimmed.isEmpty()
                                 ? QStringLiteral("The hexadecimal field is empty")
                                 : QStringLiteral("\"%1\" is not a byte").arg(trimmed);
        ctx_.dialogs.message(this, UserDialogs::Icon::Exclamation,
                             QStringLiteral("There was a Problem!"),
                             QStringLiteral("%1: the hexadecimal field takes %2. Nothing was "
                                            "written.")
                                 .arg(what, text::hexByteForms()));
        return;
    }
    WriteRegisterAt(ctx_.state, reg, entered.value);
    // What the chip holds now, which is not always what was sent (read-only bits).
    model_->setValue(reg, ReadRegisterAt(ctx_.state, reg));
}

} // namespace qmf
