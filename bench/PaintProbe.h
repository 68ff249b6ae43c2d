// SPDX-License-Identifier: GPL-3.0-or-later
// Paint accounting for the window benchmarks: how often each watched widget was painted, how
// often a round gauge was painted although nothing it shows had changed since its last paint,
// and how often a strip chart redrew.
#pragma once

#include "gui/widgets/RoundGauge.h"
#include "gui/widgets/StripChart.h"

#include <QEvent>
#include <QObject>
#include <QString>
#include <QWidget>
#include <map>
#include <vector>

namespace qmf::bench {

class PaintProbe : public QObject {
public:
    struct Count {
        QString group;    // the view it belongs to
        long paints = 0;  // paint events received
        long wasted = 0;  // gauges: paints with nothing changed since the one before
        long replots = 0; // charts: redraws of the plot
    };

    // Watches `widget` and, when it is a gauge or a chart, what it shows or draws.
    void watch(QWidget* widget, const QString& group) {
        widget->installEventFilter(this);
        counts_[widget].group = group;
        if (auto* chart = qobject_cast<StripChart*>(widget)) {
            QObject::connect(chart, &QCustomPlot::afterReplot, this,
                             [this, chart] { ++counts_[chart].replots; });
        }
    }
    // Watches the widget and every widget inside it.
    void watchAll(QWidget* top, const QString& group) {
        watch(top, group);
        for (QWidget* child : top->findChildren<QWidget*>()) {
            watch(child, group);
        }
    }

    void reset() {
        for (auto& [widget, count] : counts_) {
            count.paints = count.wasted = count.replots = 0;
        }
    }

    // Totals of one view.
    Count total(const QString& group) const {
        Count sum{group};
        for (const auto& [widget, count] : counts_) {
            if (count.group == group) {
                sum.paints += count.paints;
                sum.wasted += count.wasted;
                sum.replots += count.replots;
            }
        }
        return sum;
    }
    const Count& of(QWidget* widget) { return counts_[widget]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint) {
            return false;
        }
        auto* widget = static_cast<QWidget*>(watched);
        Count& count = counts_[widget];
        ++count.paints;
        if (auto* gauge = qobject_cast<RoundGauge*>(widget)) {
            std::vector<double> shown = signature(*gauge);
            auto& last = lastShown_[gauge];
            if (shown == last) {
                ++count.wasted;
            }
            last = std::move(shown);
        }
        return false;
    }

private:
    // Everything a gauge's picture depends on; the caption by its hash.
    static std::vector<double> signature(const RoundGauge& g) {
        std::vector<double> s{g.reading(),        double(qHash(g.caption())), double(g.width()),
                              double(g.height()), double(g.hasFocus()),       g.ScaleMin(),
                              g.ScaleMax()};
        for (int id = 0; id < 4; ++id) {
            s.push_back(g.pointerValue(id));
            s.push_back(g.pointerStart(id));
            s.push_back(g.pointerStop(id));
        }
        return s;
    }

    std::map<QWidget*, Count> counts_;
    std::map<const RoundGauge*, std::vector<double>> lastShown_;
};

} // namespace qmf::bench
