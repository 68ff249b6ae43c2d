// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <qcustomplot.h>

class QComboBox;
class QPushButton;
class QWidget;

namespace qmf {

class StripChart;

// Zoom (wheel) and pan (drag) on the time axis of charts stacked over one time scale, with
// QCustomPlot's own range interactions; the span the charts show (1 min to all that is kept);
// and, for live charts, the way back to the newest readings. A zoom or a pan stops the charts
// from following the newest point, so that the user can look back while points keep coming;
// "Live" follows again.
class ChartNavigation : public QObject {
    Q_OBJECT
public:
    // The spans offered, in seconds; the last (infinite) shows all that is kept.
    static const QList<double>& spans();
    static const QStringList& spanNames();

    // The first chart leads: the others take its time range while they all follow. With `live`
    // the Live button is offered; spanIndex is the span chosen at first.
    ChartNavigation(QList<StripChart*> charts, QWidget* controlsParent, bool live, int spanIndex);

    QComboBox* spanBox() const { return spanBox_; }
    QPushButton* liveButton() const { return liveButton_; }

private:
    void chooseSpan(int index);
    void pause();
    void goLive();
    void rangeChanged(StripChart* source, const QCPRange& range);

    QList<StripChart*> charts_;
    QComboBox* spanBox_ = nullptr;
    QPushButton* liveButton_ = nullptr;
    bool syncing_ = false;
};

} // namespace qmf
