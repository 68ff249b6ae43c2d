// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QString>

class QCPItemStraightLine;
class QCPItemText;

namespace qmf {

class StripChart;

// A vertical cursor across charts stacked over one time scale: it follows the mouse over any of
// them, and the first chart names the time under it and every shown trace's value there (as the
// line is drawn between readings). It is drawn on a layer of its own, so that moving it redraws
// only that layer, and it goes when the mouse leaves the charts.
class ChartCursor : public QObject {
    Q_OBJECT
public:
    // `units` names each trace's unit in the first chart ("RPM", "°C"), by trace index.
    ChartCursor(QList<StripChart*> charts, QStringList units, QObject* parent = nullptr);

    // Puts the cursor at a key (seconds since the epoch) or, with NaN, takes it away.
    void showAt(double key);
    bool isShown() const;
    double key() const { return key_; }
    // What the first chart's cursor label says.
    QString text() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString describe(double key) const;

    QList<StripChart*> charts_;
    QStringList units_;
    QList<QCPItemStraightLine*> lines_;
    QCPItemText* label_ = nullptr;
    double key_;
};

} // namespace qmf
