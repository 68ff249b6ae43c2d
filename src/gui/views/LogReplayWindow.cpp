// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/views/LogReplayWindow.h"

#include "core/logs/LogRecording.h"
#include "gui/views/ChartNavigation.h"
#include "gui/views/ChartTools.h"
#include "gui/views/ReadingsChart.h"
#include "gui/widgets/StripChart.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QTableWidget>
#include <QVBoxLayout>
#include <limits>

namespace qmf {

LogReplayWindow::LogReplayWindow(AppContext& ctx, const LogRecording& log, const QString& path,
                                 QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("LogReplayFRM"));
    setAttribute(Qt::WA_DeleteOnClose);
    const QString name = QFileInfo(path).fileName();
    setWindowTitle(QStringLiteral("Log Replay - %1").arg(name));

    chart_ = new StripChart(this);
    chart_->setObjectName(QStringLiteral("ReplayChart"));
    chart_->setAccessibleName(QStringLiteral("Readings of the log %1").arg(name));
    setUpReadingsChart(*chart_);
    // Everything the file holds stays; nothing new comes, so it is drawn as soon as it changes.
    chart_->setHistorySeconds(std::numeric_limits<double>::infinity());
    chart_->setRefreshIntervalMs(0);
    for (int trace = 0; trace < ReadingTraceCount; ++trace) {
        chart_->setTraceData(trace, log.keys, log.values[size_t(trace)]);
    }
    chart_->scrollTo(chart_->latestKey());

    const int allKept = int(ChartNavigation::spans().size()) - 1;
    tools_ = new ChartTools(ctx, this, {chart_}, readingUnits(), false, allKept);

    const QLocale locale;
    auto* info = new QLabel(this);
    info->setObjectName(QStringLiteral("ReplayInfoLBL"));
    info->setText(QStringLiteral("%1: %2 readings%3")
                      .arg(QDir::toNativeSeparators(path), locale.toString(log.size()),
                           log.damagedLines == 0 ? QString()
                                                 : QStringLiteral(", %1 damaged lines skipped")
                                                       .arg(locale.toString(log.damagedLines))));
    info->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* tools = tools_->controls();
    tools->addStretch(1);
    auto* chartAndTable = new QHBoxLayout;
    chartAndTable->addWidget(chart_, 1);
    chartAndTable->addWidget(tools_->statsTable(), 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(info);
    layout->addLayout(tools);
    layout->addLayout(chartAndTable, 1);
    resize(960, 520);
}

LogReplayWindow::~LogReplayWindow() = default;

} // namespace qmf
