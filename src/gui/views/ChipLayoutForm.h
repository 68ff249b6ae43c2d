// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/services/RefreshableView.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QGroupBox;
class QTimer;

namespace qmf {

struct AppContext;
class ChipDrawing;
class ToggleIndicator;

// "QMF4150 Layout": a drawing of the chip with an indicator beside each monitored pin. While
// polling, every 100 ms it reads the GPIO levels (0x05), the installed temperature sensors (0x06)
// and the two fan status registers (0x10, 0x11), in that order, and sets the indicators from
// their bits. Stopping leaves the indicators as they are. A failed tick is reported through the
// error boundary and stops polling.
//
// Indicator texts, True / False: "GPIO n High" / "GPIO n Low", "Fann Present" /
// "Fann NotPresent", "Fault n" / "Fan n OK", "Installed" / "Not Installed". Until the first
// reading every lamp is grey and shows only what it is about ("GPIO 3 level"). "Interrupt" /
// "No Interrupt" and "C Fault" / "No C Fault" exist but are not shown: no register read here
// feeds them.
class ChipLayoutForm : public QWidget, public RefreshableView {
    Q_OBJECT
public:
    explicit ChipLayoutForm(AppContext& ctx, QWidget* parent = nullptr);
    ~ChipLayoutForm() override;

    // One polling pass.
    void refreshView() override;

    // The timer tick, inside the error boundary.
    void ChipLayoutTimer_Timer();

private:
    void buildIndicators();
    ToggleIndicator* indicator(const QString& name, const QString& trueText,
                               const QString& falseText, const QString& accessibleName);
    QGroupBox* panel(const QString& name, const QString& title,
                     std::initializer_list<QWidget*> children);

    void StartStopPollingChipLayout_Click();
    void readStatus();
    quint8 readRegister(quint8 reg);
    void stopAfterFailure();

    AppContext& ctx_;
    QCheckBox* pollBox_ = nullptr;
    QTimer* timer_ = nullptr;
    ChipDrawing* drawing_ = nullptr;
    std::array<ToggleIndicator*, 7> gpio_{};
    QGroupBox* gpio34Panel_ = nullptr;
    QGroupBox* gpio56Panel_ = nullptr;
    ToggleIndicator* tempSensor1_ = nullptr;
    ToggleIndicator* tempSensor2_ = nullptr;
    std::array<ToggleIndicator*, 2> fanPresent_{};
    std::array<ToggleIndicator*, 2> fanFault_{};
};

} // namespace qmf
