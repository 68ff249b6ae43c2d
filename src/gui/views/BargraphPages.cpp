// SPDX-License-Identifier: GPL-3.0-or-later
// The bar-graph monitor's pages: a gauge column per channel (label, gauge, interrupt status lamp)
// on the "Fan Speed" and "Temperature" tabs.
#include "core/chip/SharedState.h"
#include "gui/views/BargraphForm.h"
#include "gui/views/BargraphLimitRules.h"
#include "gui/widgets/RoundGauge.h"
#include "gui/widgets/ToggleIndicator.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace qmf {

namespace {

constexpr double FanScaleMax = 5000.0;
constexpr double TempScaleMin = -128.0;
constexpr double TempScaleMax = 127.0;
const QString DragHint = QStringLiteral("Drag the pointers to change the limits");

const QColor FanLimitColor(0xe8, 0x71, 0x0a);
const QColor RangeColor(0x2e, 0x9d, 0x4a);
const QColor LowLimitColor(0x1e, 0x6f, 0xd9);
const QColor HighLimitColor(0xd9, 0x30, 0x25);
const QColor AlarmColor(0xd9, 0x30, 0x25);
const QColor QuietColor(0x4a, 0x50, 0x56);

} // namespace

// --- construction -------------------------------------------------------------------------------

QWidget* BargraphForm::gaugeColumn(const QString& labelName, const QString& labelText,
                                   RoundGauge* gauge, const QString& alertName,
                                   ToggleIndicator*& alert) {
    auto* column = new QWidget;
    auto* label = new QLabel(labelText, column);
    label->setObjectName(labelName);
    label->setAlignment(Qt::AlignCenter);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);

    const QString status = QStringLiteral("Interrupt Status");
    alert = new ToggleIndicator(status, status, column);
    alert->setObjectName(alertName);
    alert->setAccessibleName(labelText + QStringLiteral(" ") + status);
    alert->setColors(AlarmColor, QuietColor);
    alert->setUnknown(status);

    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(label);
    layout->addWidget(gauge, 1);
    layout->addWidget(alert, 0, Qt::AlignHCenter);
    return column;
}

RoundGauge* BargraphForm::makeFanGauge(const QString& name, const QString& label) {
    auto* gauge = new RoundGauge;
    gauge->setObjectName(name);
    gauge->setAccessibleName(label + QStringLiteral(" speed"));
    gauge->setScale(0.0, FanScaleMax);
    gauge->setHintText(DragHint);
    gauge->setKeyboardStep(50.0);
    gauge->setUnit(QStringLiteral("RPM"));
    gauge->configurePointer(bargraph::FanLimitPointer, RoundGauge::PointerKind::Marker, true,
                            FanLimitColor, QStringLiteral("limit"));
    // A fan slower than its limit is in alarm: shade that part of the scale.
    gauge->setZoneBelow(bargraph::FanLimitPointer, HighLimitColor);
    return gauge;
}

RoundGauge* BargraphForm::makeTempGauge(const QString& name, const QString& label) {
    auto* gauge = new RoundGauge;
    gauge->setObjectName(name);
    gauge->setAccessibleName(label + QStringLiteral(" temperature"));
    gauge->setScale(TempScaleMin, TempScaleMax);
    gauge->setUnit(QStringLiteral("\u00B0C"));
    gauge->setHintText(DragHint);
    gauge->setKeyboardStep(1.0);
    gauge->configurePointer(bargraph::RangeBand, RoundGauge::PointerKind::Band, true, RangeColor,
                            QStringLiteral("limit range"));
    gauge->configurePointer(bargraph::MirrorBand, RoundGauge::PointerKind::Band, false,
                            RangeColor.darker(130), QString());
    gauge->configurePointer(bargraph::LowLimitPointer, RoundGauge::PointerKind::Marker, true,
                            LowLimitColor, QStringLiteral("low limit"));
    gauge->configurePointer(bargraph::HighLimitPointer, RoundGauge::PointerKind::Marker, true,
                            HighLimitColor, QStringLiteral("high limit"));
    return gauge;
}

QWidget* BargraphForm::buildFanTab() {
    auto* page = new QWidget;
    auto* row = new QHBoxLayout(page);
    fans_[0] = {makeFanGauge(QStringLiteral("Fan0Gauge"), QStringLiteral("Fan 0")),
                &SharedState::Fan0, nullptr};
    fans_[1] = {makeFanGauge(QStringLiteral("Fan1Gauge"), QStringLiteral("Fan 1")),
                &SharedState::Fan1, nullptr};
    row->addWidget(gaugeColumn(QStringLiteral("Label1"), QStringLiteral("Fan 0"), fans_[0].gauge,
                               QStringLiteral("Fan0Alert"), fans_[0].alert));
    row->addWidget(gaugeColumn(QStringLiteral("Label2"), QStringLiteral("Fan 1"), fans_[1].gauge,
                               QStringLiteral("Fan1Alert"), fans_[1].alert));
    return page;
}

QWidget* BargraphForm::buildTempTab() {
    auto* page = new QWidget;
    auto* row = new QHBoxLayout(page);
    const struct {
        const char* gauge;
        const char* label;
        const char* labelText;
        const char* alert;
        Temperature& (SharedState::*channel)();
    } columns[] = {
        {"IntTempGauge", "Label3", "Int Temp", "IntTempAlert", &SharedState::IntTemp},
        {"ExtTemp0Gauge", "Label4", "Ext Temp 0", "ExtTemp0Alert", &SharedState::ExtTemp0},
        {"ExtTemp1Gauge", "Label5", "Ext Temp 1", "ExtTemp1Alert", &SharedState::ExtTemp1},
    };
    for (std::size_t i = 0; i < temps_.size(); ++i) {
        const auto& c = columns[i];
        temps_[i] = {makeTempGauge(QLatin1String(c.gauge), QLatin1String(c.labelText)), c.channel,
                     nullptr};
        row->addWidget(gaugeColumn(QLatin1String(c.label), QLatin1String(c.labelText),
                                   temps_[i].gauge, QLatin1String(c.alert), temps_[i].alert));
    }
    return page;
}

} // namespace qmf
