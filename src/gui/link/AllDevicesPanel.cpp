// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/link/AllDevicesPanel.h"

#include "core/link/BoardLink.h"
#include "gui/link/LinkFailureText.h"

#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace qmf {

namespace {

constexpr int Columns = 16;
constexpr int Rows = 8;

} // namespace

AllDevicesPanel::AllDevicesPanel(std::function<BoardLink&()> board,
                                 std::function<QList<ScanTarget>()> buses, QWidget* parent)
    : QWidget(parent), board_(std::move(board)), buses_(std::move(buses)) {
    setObjectName(QStringLiteral("AllDevicesPanel"));
    button_ = new QPushButton(QStringLiteral("Show all devices"), this);
    button_->setObjectName(QStringLiteral("ShowAllDevicesCMD"));
    button_->setToolTip(QStringLiteral("Probe every address of the searched buses by reads only "
                                       "and show what answers"));
    busList_ = new QComboBox(this);
    busList_->setObjectName(QStringLiteral("AllDevicesBusCMB"));
    busList_->setAccessibleName(QStringLiteral("Bus shown"));
    grid_ = new QTableWidget(Rows, Columns, this);
    grid_->setObjectName(QStringLiteral("AllDevicesGRID"));
    grid_->setAccessibleName(QStringLiteral("Devices on the bus"));
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::NoSelection);
    QStringList columns, rows;
    for (int c = 0; c < Columns; ++c) {
        columns << QString::number(c, 16);
    }
    for (int r = 0; r < Rows; ++r) {
        rows << QStringLiteral("%1").arg(r * Columns, 2, 16, QLatin1Char('0'));
    }
    grid_->setHorizontalHeaderLabels(columns);
    grid_->setVerticalHeaderLabels(rows);
    // i2cdetect's look: fixed-width cells just wide enough for "--" or an address.
    const QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    grid_->setFont(mono);
    const QFontMetrics metrics(mono);
    const int cell = metrics.horizontalAdvance(QStringLiteral("MM")) + 10;
    for (QHeaderView* header : {grid_->horizontalHeader(), grid_->verticalHeader()}) {
        header->setFont(mono);
        header->setSectionResizeMode(QHeaderView::Fixed);
        header->setMinimumSectionSize(1);
    }
    grid_->horizontalHeader()->setDefaultSectionSize(cell);
    grid_->verticalHeader()->setDefaultSectionSize(metrics.height() + 4);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int frame = 2 * grid_->frameWidth();
    grid_->setFixedSize(
        grid_->verticalHeader()->sizeHint().width() + grid_->horizontalHeader()->length() + frame,
        grid_->horizontalHeader()->sizeHint().height() + grid_->verticalHeader()->length() + frame);
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("AllDevicesNoteLBL"));
    note_->setWordWrap(true);
    QPalette red = note_->palette();
    red.setColor(QPalette::WindowText, QColor(192, 0, 0));
    note_->setPalette(red);

    auto* top = new QHBoxLayout;
    top->addWidget(button_);
    top->addWidget(busList_, 1);
    top->addStretch(0);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(grid_, 0, Qt::AlignLeft);
    layout->addWidget(note_);
    connect(button_, &QPushButton::clicked, this, &AllDevicesPanel::scan);
    connect(busList_, &QComboBox::currentIndexChanged, this, &AllDevicesPanel::showBus);
    clear();
}

void AllDevicesPanel::clear() {
    results_.clear();
    const QSignalBlocker quiet(busList_);
    busList_->clear();
    busList_->hide();
    grid_->clearContents();
    grid_->hide();
    note_->clear();
    note_->hide();
}

void AllDevicesPanel::scan() {
    clear();
    QString failure;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        for (const ScanTarget& bus : buses_()) {
            results_ << scanBus(board_(), bus);
        }
    } catch (...) {
        // Finding the buses failed (no port count, no board): what was scanned still shows.
        failure = linkFailureText(std::current_exception());
    }
    QApplication::restoreOverrideCursor();
    const QSignalBlocker quiet(busList_);
    for (const BusScanResult& result : std::as_const(results_)) {
        busList_->addItem(result.label);
    }
    busList_->setVisible(!results_.isEmpty());
    grid_->setVisible(!results_.isEmpty());
    showBus(0);
    if (!failure.isEmpty()) {
        note_->setText(failure);
        note_->show();
    }
    // The grid needs room below the find list, which keeps its own.
    if (QWidget* form = window(); form != this) {
        form->resize(form->size().expandedTo(form->sizeHint()));
    }
}

QList<ScanTarget> searchedBuses(BoardLink& board, bool printerPorts, bool smbus) {
    QList<ScanTarget> buses;
    if (printerPorts) {
        const int ports = board.parallelPortLink().PortCount();
        for (int port = 0; port < ports; ++port) {
            for (const bool alternate : {false, true}) {
                buses << ScanTarget{ScanTarget::Medium::PrinterPort, port, alternate};
            }
        }
    }
    if (smbus) {
        buses << ScanTarget{ScanTarget::Medium::Smbus, 0, false};
    }
    return buses;
}

void AllDevicesPanel::showBus(int index) {
    if (index < 0 || index >= results_.size()) {
        return;
    }
    busList_->setCurrentIndex(index);
    const BusScanResult& result = results_[index];
    for (int address = 0; address < Rows * Columns; ++address) {
        auto* item = new QTableWidgetItem(scanCell(result, address));
        item->setTextAlignment(Qt::AlignCenter);
        if (result.qmf4150.contains(address)) {
            QFont bold = grid_->font();
            bold.setBold(true);
            item->setFont(bold);
            item->setBackground(QColor(255, 230, 160));
            item->setToolTip(QStringLiteral("A QMF4150 (%1h in the 8-bit form)")
                                 .arg(QString::number(address << 1, 16).toUpper()));
        }
        grid_->setItem(address / Columns, address % Columns, item);
    }
    note_->setText(result.failure);
    note_->setVisible(!result.failure.isEmpty());
}

} // namespace qmf
