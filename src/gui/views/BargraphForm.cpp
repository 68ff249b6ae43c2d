// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/views/BargraphForm.h"

#include "core/chip/SharedState.h"
#include "core/measure/Fan.h"
#include "core/measure/Temperature.h"
#include "core/text/NumberText.h"
#include "core/text/Rounding.h"
#include "gui/services/AppContext.h"
#include "gui/services/ErrorBoundary.h"
#include "gui/views/BargraphLimitRules.h"
#include "gui/widgets/RoundGauge.h"
#include "gui/widgets/ToggleIndicator.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStatusBar> // completes the type ErrorBoundary.h holds a QPointer to
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
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

// A limit as the channel takes it: limited to the gauge's scale (a snapped limit can land
// beyond it, and the chip cannot hold such a value), then rounded to a whole number.
qint16 wholeLimit(const RoundGauge& gauge, double value) {
    const auto whole = text::roundToInt16(gauge::clampToScale(gauge.scale(), value));
    return whole.value_or(0); // unreachable: the scale lies well inside 16 bits
}

} // namespace

BargraphForm::BargraphForm(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("BargraphForm"));
    setWindowTitle(QStringLiteral("Limits/Bargraphs"));

    startBox_ = new QCheckBox(QStringLiteral("Start"), this);
    startBox_->setObjectName(QStringLiteral("BargraphCHK"));

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("BargraphTab"));
    tabs_->addTab(buildFanTab(), QStringLiteral("Fan Speed"));
    tabs_->addTab(buildTempTab(), QStringLiteral("Temperature"));

    auto* top = new QHBoxLayout;
    top->addWidget(startBox_);
    top->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(tabs_, 1);

    auto makeTimer = [this](const QString& name, int ms) {
        auto* timer = new QTimer(this);
        timer->setObjectName(name);
        timer->setInterval(ms);
        return timer;
    };
    fanTimer_ = makeTimer(QStringLiteral("FanBargraphTimer"), 200);
    tempTimer_ = makeTimer(QStringLiteral("TempTimer"), 200);
    limitsTimer_ = makeTimer(QStringLiteral("LimitsTimer"), 1000);
    connect(fanTimer_, &QTimer::timeout, this, [this] { FanBargraphTimer_Timer(); });
    connect(tempTimer_, &QTimer::timeout, this, [this] { TempTimer_Timer(); });
    connect(limitsTimer_, &QTimer::timeout, this, [this] { LimitsTimer_Timer(); });

    connect(startBox_, &QCheckBox::clicked, this,
            ctx_.errors.guard(
                this, [this] { BargraphCHK_Click(); }, [this] { stopAfterFailure(); }));
    // Both the click on a tab (also the shown one) and the change of the shown tab apply the
    // tab's timer rule.
    connect(tabs_->tabBar(), &QTabBar::tabBarClicked, this, [this](int index) {
        ctx_.errors.run(this, [this, index] { BargraphTab_Click(index); });
    });
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        ctx_.errors.run(this, [this, index] { BargraphTab_Click(index); });
    });

    for (const FanGauge& fan : fans_) {
        connect(fan.gauge, &RoundGauge::pointerChanged, this, [this, fan](int) {
            ctx_.errors.run(
                this, [this, fan] { fanGaugeChanged(fan); }, [fan] { fan.gauge->cancelDrag(); });
        });
    }
    for (const TempGauge& temp : temps_) {
        connect(temp.gauge, &RoundGauge::pointerChanged, this, [this, temp](int id) {
            ctx_.errors.run(
                this, [this, temp, id] { tempGaugeChanged(temp, id); },
                [temp] { temp.gauge->cancelDrag(); });
        });
        connect(temp.gauge, &RoundGauge::pointerReleased, this, [this, temp](int id) {
            ctx_.errors.run(this, [this, temp, id] { tempGaugeReleased(temp, id); });
        });
    }

    limitsTimer_->start();
    resize(840, 430);
}

BargraphForm::~BargraphForm() = default;

// --- construction -------------------------------------------------------------------------------

QWidget* BargraphForm::gaugeColumn(const QString& labelName, const QString& labelText,
                                   RoundGauge* gauge, const QString& alertName) {
    auto* column = new QWidget;
    auto* label = new QLabel(labelText, column);
    label->setObjectName(labelName);
    label->setAlignment(Qt::AlignCenter);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);

    const QString status = QStringLiteral("Interrupt Status");
    auto* alert = new ToggleIndicator(status, status, column);
    alert->setObjectName(alertName);
    alert->setAccessibleName(labelText + QStringLiteral(" ") + status);
    // The view never reads the interrupt status: show the lamp as not driven.
    alert->setEnabled(false);

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
                &SharedState::Fan0};
    fans_[1] = {makeFanGauge(QStringLiteral("Fan1Gauge"), QStringLiteral("Fan 1")),
                &SharedState::Fan1};
    row->addWidget(gaugeColumn(QStringLiteral("Label1"), QStringLiteral("Fan 0"), fans_[0].gauge,
                               QStringLiteral("Fan0Alert")));
    row->addWidget(gaugeColumn(QStringLiteral("Label2"), QStringLiteral("Fan 1"), fans_[1].gauge,
                               QStringLiteral("Fan1Alert")));
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
        temps_[i] = {makeTempGauge(QLatin1String(c.gauge), QLatin1String(c.labelText)), c.channel};
        row->addWidget(gaugeColumn(QLatin1String(c.label), QLatin1String(c.labelText),
                                   temps_[i].gauge, QLatin1String(c.alert)));
    }
    return page;
}

// --- start, stop and tabs -----------------------------------------------------------------------

void BargraphForm::BargraphCHK_Click() {
    ctx_.state.Fan1().RefreshParams();
    ctx_.state.Fan0().RefreshParams();
    if (startBox_->isChecked()) {
        startBox_->setText(QStringLiteral("Stop"));
        if (tabs_->currentIndex() == 0) {
            fanTimer_->start();
            tempTimer_->stop();
        } else if (tabs_->currentIndex() == 1) {
            tempTimer_->start();
            fanTimer_->stop();
        }
        limitsTimer_->start();
    } else {
        startBox_->setText(QStringLiteral("Start"));
        fanTimer_->stop();
        tempTimer_->stop();
        limitsTimer_->stop();
    }
}

void BargraphForm::BargraphTab_Click(int index) {
    if (index == 0) {
        fanTimer_->start();
        tempTimer_->stop();
    } else if (index == 1) {
        tempTimer_->start();
        fanTimer_->stop();
    }
}

void BargraphForm::stopAfterFailure() {
    fanTimer_->stop();
    tempTimer_->stop();
    limitsTimer_->stop();
    startBox_->setChecked(false);
    startBox_->setText(QStringLiteral("Start"));
}

// --- ticks --------------------------------------------------------------------------------------

void BargraphForm::FanBargraphTimer_Timer() {
    ctx_.errors.run(
        this, [this] { readFans(); }, [this] { stopAfterFailure(); });
}

void BargraphForm::TempTimer_Timer() {
    ctx_.errors.run(
        this, [this] { readTemperatures(); }, [this] { stopAfterFailure(); });
}

void BargraphForm::LimitsTimer_Timer() {
    ctx_.errors.run(
        this, [this] { readLimits(); }, [this] { stopAfterFailure(); });
}

void BargraphForm::refreshView() {
    ctx_.errors.run(
        this,
        [this] {
            if (tabs_->currentIndex() == 1) {
                readTemperatures();
            } else {
                readFans();
            }
            readLimits();
        },
        [this] { stopAfterFailure(); });
}

void BargraphForm::readFans() {
    for (const FanGauge& fan : fans_) {
        double speed = (ctx_.state.*fan.channel)().Speed();
        if (fan.gauge->ScaleMax() < speed) {
            speed = fan.gauge->ScaleMax();
        }
        fan.gauge->setReading(speed);
        fan.gauge->setCaption(text::signedNumber(speed) + QStringLiteral("RPM"));
    }
}

void BargraphForm::readTemperatures() {
    for (const TempGauge& temp : temps_) {
        const double value = (ctx_.state.*temp.channel)().Value();
        temp.gauge->setReading(value);
        temp.gauge->setCaption(text::signedNumber(value) + QStringLiteral("C"));
    }
}

void BargraphForm::readLimits() {
    // A gauge whose pointer the user holds keeps it: the chip's older value must not pull the
    // pointer away under the mouse (the release writes the new limits).
    for (const FanGauge& fan : fans_) {
        if (fan.gauge->isDragging()) {
            continue;
        }
        const qint32 limit = (ctx_.state.*fan.channel)().Limit();
        fan.gauge->setPointerID(bargraph::FanLimitPointer);
        fan.gauge->setPointerValue(limit);
    }
    for (const TempGauge& temp : temps_) {
        if (temp.gauge->isDragging()) {
            continue;
        }
        Temperature& channel = (ctx_.state.*temp.channel)();
        RoundGauge& gauge = *temp.gauge;
        gauge.setPointerID(bargraph::LowLimitPointer);
        gauge.setPointerValue(channel.MinLimit());
        gauge.setPointerID(bargraph::HighLimitPointer);
        gauge.setPointerValue(channel.MaxLimit());
        SyncGaugePointers(gauge.objectName());
        gauge.setPointerID(bargraph::LowLimitPointer);
        SyncGaugePointers(gauge.objectName());
    }
}

// --- dragging -----------------------------------------------------------------------------------

void BargraphForm::fanGaugeChanged(const FanGauge& fan) {
    RoundGauge& gauge = *fan.gauge;
    Fan& channel = (ctx_.state.*fan.channel)();
    gauge.setPointerID(bargraph::FanLimitPointer);
    // Without the oscillator frequency every limit converts to a count of 0, which would wipe the
    // chip's limit: learn the frequency first, and write nothing while the tachometer is off.
    if (channel.storedOscillatorFrequency() == 0) {
        channel.RefreshParams();
        if (channel.storedOscillatorFrequency() == 0) {
            return;
        }
    }
    const auto limit = text::roundToInt32(gauge.PointerValue());
    channel.setLimit(limit.value_or(0));
}

void BargraphForm::writeTemperatureLimits(const TempGauge& temp) {
    RoundGauge& gauge = *temp.gauge;
    Temperature& channel = (ctx_.state.*temp.channel)();
    const int selected = gauge.PointerID();
    gauge.setPointerID(bargraph::LowLimitPointer);
    channel.setMinLimit(wholeLimit(gauge, gauge.PointerValue()));
    gauge.setPointerID(bargraph::HighLimitPointer);
    channel.setMaxLimit(wholeLimit(gauge, gauge.PointerValue()));
    gauge.setPointerID(selected);
}

void BargraphForm::tempGaugeChanged(const TempGauge& temp, int pointerId) {
    // On the on-board SMBus the limits follow the pointer while it moves.
    if (ctx_.state.CommsMedium == 0) {
        writeTemperatureLimits(temp);
    }
    temp.gauge->setPointerID(pointerId);
}

void BargraphForm::tempGaugeReleased(const TempGauge& temp, int pointerId) {
    RoundGauge& gauge = *temp.gauge;
    const QString name = gauge.objectName();
    // The rules act on the pointer that was let go, whatever the drag selected meanwhile.
    gauge.setPointerID(pointerId);
    SyncGaugePointers(name);
    if (pointerId == bargraph::RangeBand || pointerId == bargraph::MirrorBand) {
        // A band end brought too close to the other end pushes the other limit away, as the
        // limit markers do, so that the limits written are the ones the gauge keeps showing.
        gauge.setPointerID(gauge.lastMovedPart() == RoundGauge::HandlePart::Start
                               ? bargraph::HighLimitPointer
                               : bargraph::LowLimitPointer);
        SyncGaugePointers(name);
        gauge.setPointerID(pointerId);
    }
    // Both paths write the snapped limits, so the chip holds what the gauge shows.
    writeTemperatureLimits(temp);
}

// --- gauge rules by name ------------------------------------------------------------------------

RoundGauge* BargraphForm::gaugeNamed(const QString& name) const {
    for (const FanGauge& fan : fans_) {
        if (fan.gauge->objectName() == name) {
            return fan.gauge;
        }
    }
    for (const TempGauge& temp : temps_) {
        if (temp.gauge->objectName() == name) {
            return temp.gauge;
        }
    }
    return nullptr;
}

void BargraphForm::SyncGaugePointers(const QString& gaugeName) {
    if (RoundGauge* gauge = gaugeNamed(gaugeName)) {
        bargraph::SyncGaugePointers(*gauge);
    }
}

} // namespace qmf
