// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/services/RefreshableView.h"

#include <QString>
#include <QWidget>
#include <array>
#include <optional>

class QCheckBox;
class QTabWidget;
class QTimer;

namespace qmf {

struct AppContext;
class Fan;
class RoundGauge;
class SharedState;
class Temperature;
class ToggleIndicator;

// "Limits/Bargraphs": the two fan speeds and the three temperatures on round gauges, with limits
// the user drags on the gauges. Readings of the shown tab every 200 ms while started, limits every
// second from the moment the window opens. Chip traffic goes through the shared channel objects
// only. A tick or handler that fails is reported through the error boundary and stops the view
// (all three timers off, BargraphCHK unchecked), so a dead link gives one message.
//
// Each gauge's "Interrupt Status" lamp shows the chip's alarm for that channel, red when set,
// grey until first read: after the fan readings the fan status registers (10h, 11h: missing or
// fault, live or latched); after the temperature readings the main status (00h: thermal event)
// with the channel's value against its limits as last read by the limits timer.
class BargraphForm : public QWidget, public RefreshableView {
    Q_OBJECT
public:
    explicit BargraphForm(AppContext& ctx, QWidget* parent = nullptr);
    ~BargraphForm() override;

    // One reading pass: the shown tab's readings and every gauge's limits.
    void refreshView() override;

    // The timer ticks, each inside the error boundary.
    void FanBargraphTimer_Timer();
    void TempTimer_Timer();
    void LimitsTimer_Timer();

private:
    struct TempGauge {
        RoundGauge* gauge = nullptr;
        Temperature& (SharedState::*channel)() = nullptr;
        ToggleIndicator* alert = nullptr;
    };
    struct FanGauge {
        RoundGauge* gauge = nullptr;
        Fan& (SharedState::*channel)() = nullptr;
        ToggleIndicator* alert = nullptr;
    };
    // A temperature channel's limits as last read from the chip.
    struct Limits {
        qint16 low = 0;
        qint16 high = 0;
    };

    QWidget* buildFanTab();
    QWidget* buildTempTab();
    RoundGauge* makeFanGauge(const QString& name, const QString& label);
    RoundGauge* makeTempGauge(const QString& name, const QString& label);
    // A column of label, gauge and interrupt status lamp; the lamp is handed back in `alert`.
    QWidget* gaugeColumn(const QString& labelName, const QString& labelText, RoundGauge* gauge,
                         const QString& alertName, ToggleIndicator*& alert);

    // Handlers.
    void BargraphCHK_Click();
    void BargraphTab_Click(int index);
    void fanGaugeChanged(const FanGauge& fan);
    void tempGaugeChanged(const TempGauge& temp, int pointerId);
    void tempGaugeReleased(const TempGauge& temp, int pointerId);

    // Work of the ticks, outside the boundary.
    void readFans();
    void readTemperatures();
    void readLimits();
    void writeTemperatureLimits(const TempGauge& temp);

    // The gauge rule of the selected pointer (bargraph::SyncGaugePointers), on the gauge of that
    // control name; an unknown name does nothing.
    void SyncGaugePointers(const QString& gaugeName);
    RoundGauge* gaugeNamed(const QString& name) const;

    void stopAfterFailure();

    AppContext& ctx_;
    QCheckBox* startBox_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QTimer* fanTimer_ = nullptr;
    QTimer* tempTimer_ = nullptr;
    QTimer* limitsTimer_ = nullptr;
    std::array<FanGauge, 2> fans_{};
    std::array<TempGauge, 3> temps_{};
    std::array<std::optional<Limits>, 3> tempLimits_{};
};

} // namespace qmf
