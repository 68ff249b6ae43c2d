// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/views/GraphFRM.h"

#include "core/chip/SharedState.h"
#include "core/link/LinkErrors.h"
#include "core/link/RegisterAccess.h"
#include "core/measure/Fan.h"
#include "core/text/LeadingNumber.h"
#include "core/text/NumberText.h"
#include "core/text/Rounding.h"
#include "core/time/Clock.h"
#include "gui/services/AppContext.h"
#include "gui/services/ErrorBoundary.h"
#include "gui/services/UserDialogs.h"
#include "gui/views/CalcComponent.h"
#include "gui/widgets/StripChart.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar> // completes the type ErrorBoundary.h holds a QPointer to
#include <QTimer>
#include <QVBoxLayout>

namespace qmf {

namespace {

constexpr int TickMs = 100;
// The history the chart shows at full resolution; older points are dropped.
constexpr double ChartWindowS = 300.0;
constexpr double MaximumIntervalS = 3600.0;
constexpr double MaximumLines = 1000000.0;

enum Trace { SpeedFan0, SpeedFan1, InternalTemp, ExternalTemp0, ExternalTemp1, TraceCount };

const char* const TraceNames[TraceCount] = {"Speed Fan 0", "Speed Fan 1", "Internal Temperature",
                                            "External Temperature 0", "External Temperature 1"};
constexpr quint8 TemperatureRegisters[3] = {0xA0, 0xA1, 0xA2};

const QString NotLogging = QStringLiteral("Not Logging to File");
const QString Logging = QStringLiteral("Logging to File");
const QString LogFilter = QStringLiteral("Excel Files (*.xls)");
const QString LogExtension = QStringLiteral(".xls");
const QString BadNameTitle = QStringLiteral("There was a Problem!");
const QString BadNameText =
    QStringLiteral("Either an invalid filename or no file was selected, no settings were loaded.");
const QString LogFailureTitle = QStringLiteral("Error");
// The two sentences stand on two lines of the box.
const QString LogFailureText = QStringLiteral("There has been a problem writing to the log file.\n"
                                              "This file may be locked by another application.");
// The time axis labels hours, minutes and seconds of the time of day.
const QString TimeTickFormat = QStringLiteral("HH mm ss");

// Value axis of each trace: speeds on the left, temperatures on the right.
StripChart::ValueAxis axisOf(int trace) {
    return trace <= SpeedFan1 ? StripChart::ValueAxis::Left : StripChart::ValueAxis::Right;
}

} // namespace

GraphFRM::GraphFRM(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("GraphFRM"));
    setWindowTitle(QStringLiteral("QMF4150 Graph Window"));
    chartOriginMs_ = ctx_.clock.now().toMSecsSinceEpoch() - ctx_.clock.elapsedMs();

    // --- charts ---
    chart_ = new StripChart(this);
    chart_->setObjectName(QStringLiteral("FanSpeedAndTemp"));
    chart_->setAccessibleName(QStringLiteral("Fan speeds and temperatures"));
    chart_->setTimeAxis(QStringLiteral("Time"), TimeTickFormat);
    chart_->setWindowSeconds(ChartWindowS);
    chart_->setValueAxis(StripChart::ValueAxis::Left, QStringLiteral("Fan speed (RPM)"),
                         {true, 1000.0});
    chart_->setValueAxis(StripChart::ValueAxis::Right, QStringLiteral("Temperature (°C)"),
                         {false, 10.0});
    for (int trace = 0; trace < TraceCount; ++trace) {
        // Trace i takes the chart's style number i + 3.
        chart_->addTrace(QString::fromLatin1(TraceNames[trace]),
                         StripChart::standardStyle(trace + 3), axisOf(trace));
    }

    ainChart_ = new StripChart(this);
    ainChart_->setObjectName(QStringLiteral("AINAndGPIO"));
    ainChart_->setAccessibleName(QStringLiteral("Analog inputs and GPIO"));
    ainChart_->setTimeAxis(QStringLiteral("Time"), TimeTickFormat);
    ainChart_->setWindowSeconds(ChartWindowS);
    ainChart_->setValueAxis(StripChart::ValueAxis::Left, QStringLiteral("GPIO"), {true, 1.0});
    ainChart_->yAxis->setRange(0.0, 1.0);
    ainChart_->setLegendVisible(false);

    // Both charts leave the same room for their value axes, so that their time axes line up.
    const int side =
        fontMetrics().horizontalAdvance(QStringLiteral("00000")) + fontMetrics().height() + 24;
    chart_->setSideMargins(side, side);
    ainChart_->setSideMargins(side, side);

    const double now = chartKey();
    chart_->scrollTo(now);
    ainChart_->scrollTo(now);

    // --- graphing controls ---
    graphsBox_ = new QCheckBox(QStringLiteral("Start Graphs"), this);
    graphsBox_->setObjectName(QStringLiteral("StartStopGraphsCHK"));
    resetButton_ = new QPushButton(QStringLiteral("Reset Graphs"), this);
    resetButton_->setObjectName(QStringLiteral("ResetGraphsCMD"));

    // --- logging controls ---
    auto* logPanel = new QGroupBox(QStringLiteral("Log to File"), this);
    logPanel->setObjectName(QStringLiteral("SSPanel10"));
    makeLogButton_ = new QPushButton(QStringLiteral("Make New Log"), logPanel);
    makeLogButton_->setObjectName(QStringLiteral("MakeLog_CMD"));
    logBox_ = new QCheckBox(NotLogging, logPanel);
    logBox_->setObjectName(QStringLiteral("Check3"));
    logBox_->setTristate(true);
    logBox_->setCheckState(Qt::Unchecked);
    logBox_->setEnabled(false);
    auto* delayLabel = new QLabel(QStringLiteral("Delay(Sec):"), logPanel);
    delayLabel->setObjectName(QStringLiteral("Label15"));
    intervalEdit_ = new QLineEdit(QStringLiteral("5"), logPanel);
    intervalEdit_->setObjectName(QStringLiteral("Text1"));
    intervalEdit_->setAccessibleName(QStringLiteral("Delay in seconds"));
    intervalEdit_->setMaximumWidth(70);
    delayLabel->setBuddy(intervalEdit_);
    auto* loggedLabel = new QLabel(QStringLiteral("Logged:"), logPanel);
    loggedLabel->setObjectName(QStringLiteral("Label7"));
    countLabel_ = new QLabel(QStringLiteral("0"), logPanel);
    countLabel_->setObjectName(QStringLiteral("Label14"));
    countLabel_->setAccessibleName(QStringLiteral("Logged lines"));
    countLabel_->setMinimumWidth(
        countLabel_->fontMetrics().horizontalAdvance(QStringLiteral(" 0000000")));
    countLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* linesLabel = new QLabel(QStringLiteral("Lines"), logPanel);
    linesLabel->setObjectName(QStringLiteral("Label13"));

    auto* logRow = new QHBoxLayout(logPanel);
    logRow->addWidget(makeLogButton_);
    logRow->addWidget(logBox_);
    logRow->addSpacing(12);
    logRow->addWidget(delayLabel);
    logRow->addWidget(intervalEdit_);
    logRow->addSpacing(12);
    logRow->addWidget(loggedLabel);
    logRow->addWidget(countLabel_);
    logRow->addWidget(linesLabel);

    auto* top = new QHBoxLayout;
    top->addWidget(graphsBox_);
    top->addWidget(resetButton_);
    top->addStretch(1);
    top->addWidget(logPanel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(chart_, 3);
    layout->addWidget(ainChart_, 1);

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("GraphTimer"));
    timer_->setInterval(TickMs);
    connect(timer_, &QTimer::timeout, this, [this] { GraphTimer_Timer(); });

    connect(graphsBox_, &QCheckBox::clicked, this,
            ctx_.errors.guard(this, [this] { StartStopGraphsCHK_Click(); }));
    connect(resetButton_, &QPushButton::clicked, this,
            ctx_.errors.guard(this, [this] { ResetGraphsCMD_Click(); }));
    connect(makeLogButton_, &QPushButton::clicked, this,
            ctx_.errors.guard(this, [this] { MakeLog_CMD_Click(); }));
    connect(logBox_, &QCheckBox::clicked, this,
            ctx_.errors.guard(this, [this] { Check3_Click(); }));
    connect(intervalEdit_, &QLineEdit::textChanged, this,
            ctx_.errors.guard(this, [this] { Text1_Change(); }));

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
    const double values[TraceCount] = {readings.fan0, readings.fan1, readings.temp0, readings.temp1,
                                       readings.temp2};
    for (int trace = 0; trace < TraceCount; ++trace) {
        chart_->addPoint(trace, key, values[trace]);
    }
    ainChart_->scrollTo(key);
}

void GraphFRM::logIfDue(const LogReadings& readings) {
    if (logBox_->checkState() != Qt::Checked || !graphsBox_->isChecked() ||
        logFileName_.isEmpty() || !log_.isOpen()) {
        return;
    }
    const QTime timeOfDay = ctx_.clock.now().time();
    const int nowMs = timeOfDay.msecsSinceStartOfDay();
    if (!measurementLogLineDue(nowMs, lastLogTimeMs_, text::leadingNumber(intervalEdit_->text()))) {
        return;
    }
    lastLogTimeMs_ = nowMs;
    const double logged = text::leadingNumber(countLabel_->text());
    if (logged == 0 && !log_.writeLine(measurementLogHeader())) {
        logFailed();
        return;
    }
    if (!log_.writeLine(measurementLogLine(timeOfDay, readings))) {
        logFailed();
        return;
    }
    countLabel_->setText(text::signedNumber(logged + 1));
    if (logged + 1 > MaximumLines) {
        // The log is full: it ends as a failed log does, with its file closed.
        logFailed();
    }
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

// --- logging ------------------------------------------------------------------------------------

void GraphFRM::MakeLog_CMD_Click() {
    const QString name = ctx_.dialogs.fileName(this, UserDialogs::FileMode::Save, LogFilter);
    if (name.isEmpty()) {
        return;
    }
    logFileName_ = name;
    if (!logFileName_.endsWith(LogExtension, Qt::CaseSensitive)) {
        ctx_.dialogs.message(this, UserDialogs::Icon::Exclamation, BadNameTitle, BadNameText);
        logFileName_.clear();
        return;
    }
    // Disabled first: a file that cannot be opened enables it again, so that the user can
    // choose another.
    makeLogButton_->setEnabled(false);
    logBox_->setEnabled(true);
    setLogging(Qt::Checked);
}

void GraphFRM::setLogging(Qt::CheckState state) {
    if (logBox_->checkState() == state) {
        return;
    }
    logBox_->setCheckState(state);
    Check3_Click();
}

void GraphFRM::Check3_Click() {
    switch (logBox_->checkState()) {
    case Qt::Checked:
        logBox_->setText(Logging);
        setGraphing(true);
        if (!log_.open(logFileName_)) {
            logFailed();
            return;
        }
        // A new file: its first tick logs, and its count starts again so that it gets a header.
        lastLogTimeMs_.reset();
        countLabel_->setText(QStringLiteral("0"));
        break;
    case Qt::Unchecked: {
        logBox_->setText(NotLogging);
        const bool closed = log_.close();
        logBox_->setCheckState(Qt::PartiallyChecked);
        logBox_->setEnabled(false);
        countLabel_->clear();
        makeLogButton_->setEnabled(true);
        if (!closed) {
            logFailed();
        }
        break;
    }
    case Qt::PartiallyChecked:
        break;
    }
}

void GraphFRM::logFailed() {
    log_.close();
    logBox_->setCheckState(Qt::PartiallyChecked);
    logBox_->setText(NotLogging);
    // Only a new log can start again: the failed file's name is no longer kept.
    logBox_->setEnabled(false);
    logFileName_ = QStringLiteral("0");
    makeLogButton_->setEnabled(true);
    ctx_.dialogs.message(this, UserDialogs::Icon::None, LogFailureTitle, LogFailureText);
}

void GraphFRM::Text1_Change() {
    if (text::leadingNumber(intervalEdit_->text()) > MaximumIntervalS) {
        intervalEdit_->setText(QStringLiteral("3600"));
    }
}

} // namespace qmf
