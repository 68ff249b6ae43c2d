// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/views/GraphFRM.h"

#include "core/chip/SharedState.h"
#include "core/link/LinkErrors.h"
#include "core/link/RegisterAccess.h"
#include "core/measure/Fan.h"
#include "core/text/NumberText.h"
#include "core/text/Rounding.h"
#include "core/time/Clock.h"
#include "gui/services/AppContext.h"
#include "gui/services/ErrorBoundary.h"
#include "gui/views/AlarmShading.h"
#include "gui/views/CalcComponent.h"
#include "gui/views/ChartTools.h"
#include "gui/views/ReadingsChart.h"
#include "gui/widgets/StripChart.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStatusBar> // completes the type ErrorBoundary.h holds a QPointer to
#include <QTimer>
#include <QVBoxLayout>

namespace qmf {

namespace {

constexpr int TickMs = 100;
// The span the chart shows at first.
constexpr double ChartWindowS = 300.0;

constexpr quint8 TemperatureRegisters[3] = {0xA0, 0xA1, 0xA2};

// The time axis labels hours, minutes and seconds of the time of day.
const QString TimeTickFormat = QStringLiteral("HH mm ss");

// A day of readings is kept at full resolution, to look back at; 5 min are shown at first.
constexpr double HistoryS = 24 * 3600.0;
constexpr int FirstSpanIndex = 1;

} // namespace

GraphFRM::GraphFRM(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("GraphFRM"));
    setWindowTitle(QStringLiteral("QMF4150 Graph Window"));
    chartOriginMs_ = ctx_.clock.now().toMSecsSinceEpoch() - ctx_.clock.elapsedMs();

    // --- charts ---
    chart_ = new StripChart(this);
    chart_->setObjectName(QStringLiteral("FanSpeedAndTemp"));
    chart_->setAccessibleName(QStringLiteral("Fan speeds and temperatures"));
    setUpReadingsChart(*chart_);
    chart_->setWindowSeconds(ChartWindowS);
    chart_->setHistorySeconds(HistoryS);

    ainChart_ = new StripChart(this);
    ainChart_->setObjectName(QStringLiteral("AINAndGPIO"));
    ainChart_->setAccessibleName(QStringLiteral("Analog inputs and GPIO"));
    ainChart_->setTimeAxis(QStringLiteral("Time"), TimeTickFormat);
    ainChart_->setWindowSeconds(ChartWindowS);
    ainChart_->setValueAxis(StripChart::ValueAxis::Left, QStringLiteral("GPIO"), {true, 1.0});
    ainChart_->yAxis->setRange(0.0, 1.0);
    ainChart_->setLegendVisible(false);
    ainChart_->setHistorySeconds(HistoryS);

    // Both charts leave the same room for their value axes, so that their time axes line up.
    const int side =
        fontMetrics().horizontalAdvance(QStringLiteral("00000")) + fontMetrics().height() + 24;
    chart_->setSideMargins(side, side);
    ainChart_->setSideMargins(side, side);

    shadeAlarmPeriods({chart_, ainChart_}, ctx_.state.events(), chartOriginMs_);

    const double now = chartKey();
    chart_->scrollTo(now);
    ainChart_->scrollTo(now);

    // --- graphing controls ---
    graphsBox_ = new QCheckBox(QStringLiteral("Start Graphs"), this);
    graphsBox_->setObjectName(QStringLiteral("StartStopGraphsCHK"));
    resetButton_ = new QPushButton(QStringLiteral("Reset Graphs"), this);
    resetButton_->setObjectName(QStringLiteral("ResetGraphsCMD"));

    auto* top = new QHBoxLayout;
    top->addWidget(graphsBox_);
    top->addWidget(resetButton_);
    top->addStretch(1);
    top->addWidget(buildLogPanel());

    // --- looking at the charts, and at logs ---
    tools_ = new ChartTools(ctx_, this, {chart_, ainChart_}, readingUnits(), true, FirstSpanIndex);
    openLogButton_ = new QPushButton(QStringLiteral("Open Log..."), this);
    openLogButton_->setObjectName(QStringLiteral("OpenLogCMD"));
    auto* tools = tools_->controls();
    tools->addWidget(openLogButton_);
    tools->addStretch(1);
    auto* charts = new QVBoxLayout;
    charts->addWidget(chart_, 3);
    charts->addWidget(ainChart_, 1);
    auto* chartsAndTable = new QHBoxLayout;
    chartsAndTable->addLayout(charts, 1);
    chartsAndTable->addWidget(tools_->statsTable(), 0, Qt::AlignTop);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(tools);
    layout->addLayout(chartsAndTable, 1);

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("GraphTimer"));
    timer_->setInterval(TickMs);
    connect(timer_, &QTimer::timeout, this, [this] { GraphTimer_Timer(); });

    connect(graphsBox_, &QCheckBox::clicked, this,
            ctx_.errors.guard(this, [this] { StartStopGraphsCHK_Click(); }));
    connect(resetButton_, &QPushButton::clicked, this,
            ctx_.errors.guard(this, [this] { ResetGraphsCMD_Click(); }));
    connect(openLogButton_, &QPushButton::clicked, this,
            ctx_.errors.guard(this, [this] { OpenLogCMD_Click(); }));

    resize(960, 640);

    // Load: the fans' oscillator frequencies, which their speed conversion needs.
    ctx_.errors.run(this, [this] {
        ctx_.state.Fan0().RefreshParams();
        ctx_.state.Fan1().RefreshParams();
    });
}

GraphFRM::~GraphFRM() = default;

// --- ticks --------------------------------------------------------------------------------------

void GraphFRM::GraphTimer_Timer() {
    // A message box shown by a tick runs its own event loop; the ticks it would let through wait
    // until it is closed.
    if (inTick_) {
        return;
    }
    inTick_ = true;
    ctx_.errors.run(
        this, [this] { tick(); }, [this] { stopAfterFailure(); });
    inTick_ = false;
}

void GraphFRM::refreshView() {
    ctx_.errors.run(this, [this] { plot(readChip()); });
}

void GraphFRM::tick() {
    LogReadings readings;
    try {
        readings = readChip();
    } catch (...) {
        // The readings of this tick are lost: a running log ends here, cleanly.
        if (log_.isOpen()) {
            logFailed();
        }
        throw;
    }
    plot(readings);
    logIfDue(readings);
}

LogReadings GraphFRM::readChip() {
    SharedState& state = ctx_.state;
    LogReadings readings;
    readings.fan0 = state.Fan0().Speed();
    readings.fan1 = state.Fan1().Speed();
    double* temps[3] = {&readings.temp0, &readings.temp1, &readings.temp2};
    for (int i = 0; i < 3; ++i) {
        state.AddressPointer = TemperatureRegisters[i];
        ReadRegister(state);
        const float celsius = code0().Misc2(float(state.DataRead), true);
        const auto whole = text::roundToInt16(celsius);
        if (!whole) {
            throw OverflowError(
                QStringLiteral("temperature %1 of register %2h does not fit 16 bits")
                    .arg(double(celsius))
                    .arg(text::hex(TemperatureRegisters[i])));
        }
        *temps[i] = *whole;
    }
    return readings;
}

void GraphFRM::plot(const LogReadings& readings) {
    const double key = chartKey();
    const double values[ReadingTraceCount] = {readings.fan0, readings.fan1, readings.temp0,
                                              readings.temp1, readings.temp2};
    for (int trace = 0; trace < ReadingTraceCount; ++trace) {
        chart_->addPoint(trace, key, values[trace]);
    }
    ainChart_->scrollTo(key);
}

// --- graphing -----------------------------------------------------------------------------------

void GraphFRM::StartStopGraphsCHK_Click() {
    if (graphsBox_->isChecked()) {
        graphsBox_->setText(QStringLiteral("Stop Graphing"));
        timer_->start();
    } else {
        graphsBox_->setText(QStringLiteral("Start Graphing"));
        timer_->stop();
        setLogging(Qt::Unchecked);
    }
}

void GraphFRM::setGraphing(bool on) {
    if (graphsBox_->isChecked() == on) {
        return;
    }
    graphsBox_->setChecked(on);
    StartStopGraphsCHK_Click();
}

void GraphFRM::ResetGraphsCMD_Click() {
    chart_->clear();
}

void GraphFRM::stopAfterFailure() {
    setGraphing(false);
}

double GraphFRM::chartKey() const {
    return double(chartOriginMs_ + ctx_.clock.elapsedMs()) / 1000.0;
}

Code0Object& GraphFRM::code0() {
    if (!code0_) {
        code0_ = Code0Object::create();
    }
    return *code0_;
}

} // namespace qmf
