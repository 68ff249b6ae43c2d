// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QStringList>

class QCPAbstractLegendItem;
class QCPLegend;
class QHBoxLayout;
class QTableWidget;
class QWidget;

namespace qmf {

struct AppContext;
class ChartCursor;
class ChartNavigation;
class ChartStatsTable;
class StripChart;

// What a window's charts of readings offer the user: zoom and pan with the span choice (and
// Live for live charts), the cursor, showing and hiding a trace by clicking its legend entry,
// the table of current, minimum, maximum and mean over the shown span, and Save Chart (PNG or
// PDF) of the first chart. The window places controls() and statsTable() where it likes.
class ChartTools : public QObject {
    Q_OBJECT
public:
    // The first chart is the one with the traces; `units` gives each trace's unit.
    ChartTools(AppContext& ctx, QWidget* window, QList<StripChart*> charts, QStringList units,
               bool live, int spanIndex);
    ~ChartTools() override;

    // "Span:" with its choice, Live, and Save Chart..., in one row (no margins).
    QHBoxLayout* controls() const { return controls_; }
    QTableWidget* statsTable() const;
    ChartCursor& cursor() const { return *cursor_; }

private:
    void saveClicked();
    void legendClicked(StripChart* chart, QCPAbstractLegendItem* item);

    AppContext& ctx_;
    QWidget* window_;
    QList<StripChart*> charts_;
    ChartNavigation* navigation_ = nullptr;
    ChartCursor* cursor_ = nullptr;
    ChartStatsTable* stats_ = nullptr;
    QHBoxLayout* controls_ = nullptr;
};

} // namespace qmf
