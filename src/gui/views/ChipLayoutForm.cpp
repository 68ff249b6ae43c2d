// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/views/ChipLayoutForm.h"

#include "core/chip/SharedState.h"
#include "core/link/RegisterAccess.h"
#include "core/text/Boolean16.h"
#include "gui/services/AppContext.h"
#include "gui/services/ErrorBoundary.h"
#include "gui/views/ChipDrawing.h"
#include "gui/views/ChipPinout.h"
#include "gui/widgets/ToggleIndicator.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QStatusBar> // completes the type ErrorBoundary.h holds a QPointer to
#include <QTimer>
#include <QVBoxLayout>

namespace qmf {

namespace {

constexpr quint8 GpioLevels = 0x05;
constexpr quint8 TempSensorsInstalled = 0x06;
constexpr quint8 Fan0Status = 0x10;
constexpr quint8 Fan1Status = 0x11;
constexpr int FanMissingBit = 0x01;
constexpr int FanFaultBit = 0x04;

const QColor Good(0x2e, 0xb8, 0x4c);
const QColor Alarm(0xd9, 0x30, 0x25);
const QColor Warning(0xe8, 0xa3, 0x17);
const QColor Unlit(0x4a, 0x50, 0x56);

int pin(const char* name) {
    return chiplayout::pinNumber(QLatin1String(name));
}

} // namespace

ChipLayoutForm::ChipLayoutForm(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("ChipLayoutForm"));
    setWindowTitle(QStringLiteral("QMF4150 Layout"));

    pollBox_ = new QCheckBox(QStringLiteral("Start Polling"), this);
    pollBox_->setObjectName(QStringLiteral("StartStopPollingChipLayout"));

    drawing_ = new ChipDrawing(this);
    drawing_->setObjectName(QStringLiteral("Image1"));
    buildIndicators();

    auto* top = new QHBoxLayout;
    top->addWidget(pollBox_);
    top->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(drawing_, 1);

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("ChipLayoutTimer"));
    timer_->setInterval(100);
    connect(timer_, &QTimer::timeout, this, [this] { ChipLayoutTimer_Timer(); });
    connect(
        pollBox_, &QCheckBox::clicked, this,
        ctx_.errors.guard(
            this, [this] { StartStopPollingChipLayout_Click(); }, [this] { stopAfterFailure(); }));
    resize(800, 600);
}

ChipLayoutForm::~ChipLayoutForm() = default;

ToggleIndicator* ChipLayoutForm::indicator(const QString& name, const QString& trueText,
                                           const QString& falseText,
                                           const QString& accessibleName) {
    auto* toggle = new ToggleIndicator(trueText, falseText);
    toggle->setObjectName(name);
    toggle->setAccessibleName(accessibleName);
    // Until its register has been read a lamp claims no state.
    toggle->setUnknown(accessibleName);
    return toggle;
}

QGroupBox* ChipLayoutForm::panel(const QString& name, const QString& title,
                                 std::initializer_list<QWidget*> children) {
    auto* box = new QGroupBox(title);
    box->setObjectName(name);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(8, title.isEmpty() ? 4 : 2, 6, 4);
    layout->setSpacing(2);
    for (QWidget* child : children) {
        layout->addWidget(child);
    }
    return box;
}

void ChipLayoutForm::buildIndicators() {
    for (int n = 0; n < 7; ++n) {
        gpio_[std::size_t(n)] =
            indicator(QStringLiteral("GPIO%1Toggle").arg(n), QStringLiteral("GPIO %1 High").arg(n),
                      QStringLiteral("GPIO %1 Low").arg(n), QStringLiteral("GPIO %1 level").arg(n));
        gpio_[std::size_t(n)]->setColors(Good, Unlit);
    }
    for (int n = 0; n < 2; ++n) {
        fanPresent_[std::size_t(n)] = indicator(
            QStringLiteral("Fan%1PresentToggle").arg(n), QStringLiteral("Fan%1 Present").arg(n),
            QStringLiteral("Fan%1 NotPresent").arg(n), QStringLiteral("Fan %1 presence").arg(n));
        fanPresent_[std::size_t(n)]->setColors(Good, Warning);
        fanFault_[std::size_t(n)] =
            indicator(QStringLiteral("Fan%1OKToggle").arg(n), QStringLiteral("Fault %1").arg(n),
                      QStringLiteral("Fan %1 OK").arg(n), QStringLiteral("Fan %1 fault").arg(n));
        fanFault_[std::size_t(n)]->setColors(Alarm, Good);
    }
    tempSensor1_ =
        indicator(QStringLiteral("TempSensor1Toggle"), QStringLiteral("Installed"),
                  QStringLiteral("Not Installed"), QStringLiteral("Temperature Sensor 1"));
    tempSensor2_ =
        indicator(QStringLiteral("TempSensor2Toggle"), QStringLiteral("Installed"),
                  QStringLiteral("Not Installed"), QStringLiteral("Temperature Sensor 2"));
    for (ToggleIndicator* sensor : {tempSensor1_, tempSensor2_}) {
        sensor->setColors(Good, Unlit);
    }
    // No register this view reads feeds these two: they are not shown.
    auto* noInterrupt = indicator(QStringLiteral("NoInterruptToggle"), QStringLiteral("Interrupt"),
                                  QStringLiteral("No Interrupt"), QStringLiteral("Interrupt"));
    auto* noCFault = indicator(QStringLiteral("NoCFAULTToggle"), QStringLiteral("C Fault"),
                               QStringLiteral("No C Fault"), QStringLiteral("C Fault"));
    for (ToggleIndicator* undriven : {noInterrupt, noCFault}) {
        undriven->setColors(Alarm, Good);
        undriven->setEnabled(false);
    }

    gpio34Panel_ = panel(QStringLiteral("GPIO34Panel"), QString(), {gpio_[3], gpio_[4]});
    gpio56Panel_ = panel(QStringLiteral("GPIO56Panel"), QString(), {gpio_[5], gpio_[6]});
    QGroupBox* fan0 =
        panel(QStringLiteral("SSPanel13"), QStringLiteral("Fan 0"), {fanPresent_[0], fanFault_[0]});
    QGroupBox* fan1 =
        panel(QStringLiteral("SSPanel12"), QStringLiteral("Fan 1"), {fanPresent_[1], fanFault_[1]});
    QGroupBox* sensor1 = panel(QStringLiteral("TempSensor1Panel"),
                               QStringLiteral("Temperature Sensor 1"), {tempSensor1_});
    QGroupBox* sensor2 = panel(QStringLiteral("TempSensor2Panel"),
                               QStringLiteral("Temperature Sensor 2"), {tempSensor2_});

    drawing_->attach(noInterrupt, pin("INT"), pin("INT"));
    drawing_->attach(noCFault, pin("CFAULT"), pin("CFAULT"));
    for (int n = 0; n < 3; ++n) {
        const int p = chiplayout::pinNumber(QStringLiteral("GPIO%1").arg(n));
        drawing_->attach(gpio_[std::size_t(n)], p, p);
    }
    drawing_->attach(gpio34Panel_, pin("GPIO3"), pin("GPIO4"));
    drawing_->attach(fan0, pin("PWM0"), pin("TACH0"));
    drawing_->attach(fan1, pin("PWM1"), pin("TACH1"));
    drawing_->attach(sensor1, pin("DXP1"), pin("DXN1"));
    drawing_->attach(sensor2, pin("DXP2"), pin("DXN2"));
    drawing_->attach(gpio56Panel_, pin("GPIO5"), pin("GPIO6"));
    noInterrupt->hide();
    noCFault->hide();
}

// --- polling ------------------------------------------------------------------------------------

void ChipLayoutForm::StartStopPollingChipLayout_Click() {
    if (pollBox_->isChecked()) {
        pollBox_->setText(QStringLiteral("Stop Polling"));
        timer_->start();
    } else {
        pollBox_->setText(QStringLiteral("Start Polling"));
        timer_->stop();
    }
}

void ChipLayoutForm::stopAfterFailure() {
    timer_->stop();
    pollBox_->setChecked(false);
    pollBox_->setText(QStringLiteral("Start Polling"));
}

void ChipLayoutForm::ChipLayoutTimer_Timer() {
    ctx_.errors.run(
        this, [this] { readStatus(); }, [this] { stopAfterFailure(); });
}

void ChipLayoutForm::refreshView() {
    ChipLayoutTimer_Timer();
}

quint8 ChipLayoutForm::readRegister(quint8 reg) {
    ctx_.state.AddressPointer = reg;
    ReadRegister(ctx_.state);
    return quint8(ctx_.state.DataRead);
}

void ChipLayoutForm::readStatus() {
    // Each register's indicators are set as soon as it is read, in register order.
    const quint8 gpio = readRegister(GpioLevels);
    for (int n = 0; n < 3; ++n) {
        gpio_[std::size_t(n)]->setValue(toBoolean16(gpio & (1 << n)));
    }
    // The panels of GPIO 3/4 and 5/6 appear with bits 4 and 6; each lamp in them shows its own
    // bit, as GPIO 0..2 do.
    gpio34Panel_->setVisible((gpio & 0x10) != 0);
    gpio56Panel_->setVisible((gpio & 0x40) != 0);
    for (int n = 3; n < 7; ++n) {
        gpio_[std::size_t(n)]->setValue(toBoolean16(gpio & (1 << n)));
    }

    const quint8 sensors = readRegister(TempSensorsInstalled);
    tempSensor1_->setValue(toBoolean16(sensors & 0x02));
    tempSensor2_->setValue(toBoolean16(sensors & 0x04));

    for (std::size_t n = 0; n < 2; ++n) {
        const quint8 status = readRegister(n == 0 ? Fan0Status : Fan1Status);
        fanPresent_[n]->setValue(toBoolean16((status & FanMissingBit) == 0));
        fanFault_[n]->setValue(toBoolean16(status & FanFaultBit));
    }
}

} // namespace qmf
