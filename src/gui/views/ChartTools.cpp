// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/views/ChartTools.h"

#include "gui/services/AppContext.h"
#include "gui/services/AppVersion.h"
#include "gui/services/ErrorBoundary.h"
#include "gui/services/SettingsStore.h"
#include "gui/services/UserDialogs.h"
#include "gui/views/ChartCursor.h"
#include "gui/views/ChartExport.h"
#include "gui/views/ChartNavigation.h"
#include "gui/views/ChartStats.h"
#include "gui/widgets/StripChart.h"

#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar> // completes the type ErrorBoundary.h holds a QPointer to

namespace qmf {

namespace {

const QString ChartFilter = QStringLiteral("PNG Images (*.png);;PDF Files (*.pdf)");
// The dialogs' memory of the last saved chart.
const QString ChartFileKind = QStringLiteral("ChartFile");

} // namespace

ChartTools::ChartTools(AppContext& ctx, QWidget* window, QList<StripChart*> charts,
                       QStringList units, bool live, int spanIndex)
    : QObject(window), ctx_(ctx), window_(window), charts_(std::move(charts)) {
    navigation_ = new ChartNavigation(charts_, window, live, spanIndex);
    cursor_ = new ChartCursor(charts_, std::move(units), this);
    stats_ = new ChartStatsTable(charts_.first(), window);

    auto* spanLabel = new QLabel(QStringLiteral("Span:"), window);
    spanLabel->setBuddy(navigation_->spanBox());
    auto* saveButton = new QPushButton(QStringLiteral("Save Chart..."), window);
    saveButton->setObjectName(QStringLiteral("SaveChartCMD"));
    controls_ = new QHBoxLayout;
    controls_->setContentsMargins(0, 0, 0, 0);
    controls_->addWidget(spanLabel);
    controls_->addWidget(navigation_->spanBox());
    controls_->addWidget(navigation_->liveButton());
    controls_->addWidget(saveButton);

    connect(saveButton, &QPushButton::clicked, this,
            ctx_.errors.guard(window_, [this] { saveClicked(); }));
    for (StripChart* chart : std::as_const(charts_)) {
        connect(chart, &QCustomPlot::legendClick, this,
                [this, chart](QCPLegend*, QCPAbstractLegendItem* item, QMouseEvent*) {
                    legendClicked(chart, item);
                });
    }
}

ChartTools::~ChartTools() = default;

QTableWidget* ChartTools::statsTable() const {
    return stats_->table();
}

void ChartTools::legendClicked(StripChart* chart, QCPAbstractLegendItem* item) {
    auto* entry = qobject_cast<QCPPlottableLegendItem*>(item);
    if (entry == nullptr) {
        return;
    }
    for (int trace = 0; trace < chart->traceCount(); ++trace) {
        if (chart->graph(trace) == entry->plottable()) {
            chart->setTraceVisible(trace, !chart->traceVisible(trace));
            chart->replot(QCustomPlot::rpQueuedReplot);
            cursor_->showAt(cursor_->key()); // its label names the shown traces only
            return;
        }
    }
}

void ChartTools::saveClicked() {
    SettingsStore store(applicationTitle());
    const QString name = ctx_.dialogs.fileName(window_, UserDialogs::FileMode::Save, ChartFilter,
                                               store.startFolder(ChartFileKind));
    if (name.isEmpty()) {
        return;
    }
    const QString error = saveChart(*charts_.first(), name);
    if (!error.isEmpty()) {
        ctx_.dialogs.message(window_, UserDialogs::Icon::Exclamation, QStringLiteral("Save Chart"),
                             QStringLiteral("The chart could not be saved: %1.").arg(error),
                             QDir::toNativeSeparators(name));
        return;
    }
    store.setLastChosenFile(ChartFileKind, name);
}

} // namespace qmf
