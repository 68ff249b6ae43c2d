// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/files/MeasurementLog.h"
#include "gui/services/RefreshableView.h"

#include <QString>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace qmf {

struct AppContext;
class ChartTools;
class Code0Object;
class StripChart;

// "QMF4150 Graph Window": the two fan speeds and the three temperatures on a strip chart every
// 100 ms while graphing is on, and, once the user has chosen a log file, one line of those
// readings in the file at the interval in Text1 (seconds; 0, empty or not a number: every tick).
//
// Temperatures are read from 0xA0..0xA2 and converted by a Code0 object of the calculation
// library, created by class identifier on first use and kept. Time of day (the log) and elapsed
// time (the chart's time axis) come from ctx.clock.
//
// A log named *.csv is written as CSV (core/logs/CsvLog.h): dated lines after a comment block
// with the chip's limits and fan settings, read from the chip before the first line.
//
// Below the original controls the chart tools (ChartTools: zoom, pan, span, Live, cursor,
// legend, the table of the shown span, Save Chart) and "Open Log...", which replays a .csv or
// .xls log in a window of its own (LogReplayWindow). The charts keep a day of readings.
//
// The log panel shows the log file's name while logging (LogFileLBL). The file dialog opens in the
// folder of the last chosen log, also of an earlier run. A log holds at most 1,000,000 lines: the
// line after that ends it with the "Log Full" message.
//
// Failures: a log file that cannot be opened or written ends logging with the "Error" message and
// closes the file; graphing goes on. A failed chip transfer or calculation in a tick also ends a
// running log that way, is reported through the error boundary and stops graphing, so a dead
// board gives one report instead of one every 100 ms.
class GraphFRM : public QWidget, public RefreshableView {
    Q_OBJECT
public:
    explicit GraphFRM(AppContext& ctx, QWidget* parent = nullptr);
    ~GraphFRM() override;

    // One tick's readings added to the chart, without logging.
    void refreshView() override;

    // The GraphTimer tick, inside the error boundary.
    void GraphTimer_Timer();

    // The chosen log file ("0" after a failed log, empty before any choice).
    const QString& LogFileName() const { return logFileName_; }
    bool logFileOpen() const { return log_.isOpen(); }

private:
    QWidget* buildLogPanel();

    // Handlers.
    void StartStopGraphsCHK_Click();
    void ResetGraphsCMD_Click();
    void MakeLog_CMD_Click();
    void Check3_Click();
    void Text1_Change();
    void OpenLogCMD_Click();

    // Program-side changes of the two check boxes run their click handling, as a click would.
    void setGraphing(bool on);
    void setLogging(Qt::CheckState state);

    void tick();
    LogReadings readChip();
    void plot(const LogReadings& readings);
    void logIfDue(const LogReadings& readings);
    QByteArray csvPreamble();
    void logFailed();
    void logFull();
    void showLogFile(const QString& path);
    void stopAfterFailure();

    Code0Object& code0();
    double chartKey() const;

    AppContext& ctx_;
    StripChart* chart_ = nullptr;
    StripChart* ainChart_ = nullptr;
    QCheckBox* graphsBox_ = nullptr;
    QPushButton* resetButton_ = nullptr;
    QPushButton* makeLogButton_ = nullptr;
    QCheckBox* logBox_ = nullptr;
    QLineEdit* intervalEdit_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QLabel* logFileLabel_ = nullptr;
    QTimer* timer_ = nullptr;
    ChartTools* tools_ = nullptr;
    QPushButton* openLogButton_ = nullptr;

    QString logFileName_;
    // Time of day (ms since midnight) of the last logged line, of this log or an earlier one;
    // none yet.
    std::optional<int> lastLogTimeMs_;
    MeasurementLogWriter log_;
    std::unique_ptr<Code0Object> code0_;
    // Epoch milliseconds at the clock's elapsed-time origin: the chart's keys are this plus the
    // elapsed time, so they never go back when the wall clock is set.
    qint64 chartOriginMs_ = 0;
    bool inTick_ = false;
};

} // namespace qmf
