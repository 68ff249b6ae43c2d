// SPDX-License-Identifier: GPL-3.0-or-later
// monitor: the graph window's five readings as a table, and optionally its log file.
#include "cli/BoardOptions.h"
#include "cli/CommandFailure.h"
#include "cli/CommandParser.h"
#include "cli/Console.h"
#include "cli/Interrupt.h"
#include "cli/MonitorEvents.h"
#include "cli/Numbers.h"
#include "cli/Session.h"
#include "core/chip/RegisterMap.h"
#include "core/chip/SharedState.h"
#include "core/files/MeasurementLog.h"
#include "core/link/RegisterAccess.h"
#include "core/logs/CsvLog.h"
#include "core/logs/LogStartRegisters.h"
#include "core/measure/Fan.h"
#include "core/measure/Temperature.h"
#include "core/time/Clock.h"

#include <cmath>
#include <limits>
#include <optional>

namespace qmf::cli {

namespace {

// The graph window polls every 100 ms and logs at most every 3600 s.
constexpr double MinInterval = 0.1;
constexpr double MaxInterval = 3600;
constexpr double DefaultInterval = 1;
constexpr qint64 Unlimited = std::numeric_limits<qint64>::max();

struct MonitorSettings {
    qint64 intervalMs = 1000;
    qint64 count = Unlimited;
    QString logFile;
    bool events = false;
};

// One tick of the graph window: both fan speeds, then the three temperature registers through
// the single-register protocol. The window converts them with the calculation library's
// Code0.Misc2 and rounds to whole degrees; for register bytes that is exactly
// RegisterToTemperature, the rule the core shares with the library.
LogReadings readChip(SharedState& state) {
    LogReadings readings;
    readings.fan0 = state.Fan0().Speed();
    readings.fan1 = state.Fan1().Speed();
    double* temps[] = {&readings.temp0, &readings.temp1, &readings.temp2};
    for (int channel = 0; channel < 3; ++channel) {
        state.AddressPointer = RegisterMap::familyAddress(RegisterFamily::TempValue, channel);
        ReadRegister(state);
        *temps[channel] = Temperature::RegisterToTemperature(state.DataRead);
    }
    return readings;
}

QString tableRow(const QString& time, const QStringList& values) {
    QString row = time.leftJustified(8);
    for (const QString& value : values) {
        row += value.rightJustified(7);
    }
    return row;
}

CommandFailure logFailure(const QString& path, const QString& reason) {
    return CommandFailure(
        QStringList{QStringLiteral("There has been a problem writing to the log file."),
                    QStringLiteral("%1: %2").arg(path, reason)});
}

void monitor(Session& session, Console& console, const MonitorSettings& settings) {
    MeasurementLogWriter log;
    // The log is opened before the chip is touched, so that a wrong name costs nothing.
    if (!settings.logFile.isEmpty() && !log.open(settings.logFile)) {
        throw logFailure(settings.logFile, log.errorString());
    }
    SharedState& state = session.chip();
    // As the graph window does when it loads.
    state.Fan0().RefreshParams();
    state.Fan1().RefreshParams();
    const bool csv = isCsvLogName(settings.logFile);
    if (log.isOpen() &&
        !log.writeLine(csv ? csvLogPreamble(readCsvLogStart(
                                 state, QStringLiteral("qmf4150ctl " QMF_CLI_VERSION)))
                           : measurementLogHeader())) {
        throw logFailure(settings.logFile, log.errorString());
    }
    console.print(tableRow(QStringLiteral("Time"),
                           {QStringLiteral("Fan0"), QStringLiteral("Fan1"), QStringLiteral("Temp0"),
                            QStringLiteral("Temp1"), QStringLiteral("Temp2")}));
    std::optional<MonitorEvents> events;
    if (settings.events) {
        events.emplace(session, console);
    }
    const qint64 startMs = session.clock().elapsedMs();
    for (qint64 n = 0; n < settings.count && !interrupted(); ++n) {
        if (n > 0) {
            // Samples keep to their schedule however long the reading took.
            const qint64 dueMs = startMs + n * settings.intervalMs;
            const qint64 waitMs = qMax<qint64>(0, dueMs - session.clock().elapsedMs());
            events ? events->wait(waitMs) : session.wait(waitMs);
            if (interrupted()) {
                break;
            }
        }
        const LogReadings r = readChip(state);
        if (events) {
            events->poll();
        }
        const QDateTime now = session.clock().now();
        const QTime time = now.time();
        if (log.isOpen() &&
            !log.writeLine(csv ? csvLogLine(now, r) : measurementLogLine(time, r))) {
            throw logFailure(settings.logFile, log.errorString());
        }
        console.print(
            tableRow(time.toString(QStringLiteral("hh:mm:ss")),
                     {QString::number(r.fan0), QString::number(r.fan1), QString::number(r.temp0),
                      QString::number(r.temp1), QString::number(r.temp2)}));
    }
    if (!log.close()) {
        throw logFailure(settings.logFile, log.errorString());
    }
}

} // namespace

CommandSpec monitorCommand() {
    return {QStringLiteral("monitor"),
            QStringLiteral("monitor [--interval S] [--count N] [--log FILE] [--events]"),
            QStringLiteral("Print fan speeds and temperatures as a table; optionally log them."),
            [](const QStringList& args, const BoardOptions& board) {
                CommandParser p(
                    QStringLiteral("monitor"),
                    QStringLiteral(
                        "Read the five readings of the program's graph window every S seconds "
                        "and print one table row each: the time of day, Fan0 and Fan1 in RPM, "
                        "Temp0 (internal), Temp1 and Temp2 (external 0 and 1) in whole degrees "
                        "C. With --log each row is also written to FILE: a .xls name in the "
                        "program's measurement log format (tab-separated, CR LF, a header line "
                        "first), a .csv name as CSV (date, time and milliseconds, a comment block "
                        "with the chip and its limits and fan settings, then a header line); the "
                        "file is emptied first and every line is flushed as it is written. Runs "
                        "until N rows are printed or Ctrl-C. On the simulated board time is "
                        "simulated: the intervals pass at once, so --count is required there."));
                const QCommandLineOption intervalOption(
                    QStringList{QStringLiteral("i"), QStringLiteral("interval")},
                    QStringLiteral("Seconds between rows, 0.1 to 3600 (default 1)."),
                    QStringLiteral("S"));
                const QCommandLineOption countOption(
                    QStringList{QStringLiteral("n"), QStringLiteral("count")},
                    QStringLiteral("Stop after N rows (default: until Ctrl-C)."),
                    QStringLiteral("N"));
                const QCommandLineOption logOption(
                    QStringList{QStringLiteral("l"), QStringLiteral("log")},
                    QStringLiteral("Also log to FILE; its name ends in .xls (the program's "
                                   "log) or .csv."),
                    QStringLiteral("FILE"));
                const QCommandLineOption eventsOption(
                    QStringList{QStringLiteral("e"), QStringLiteral("events")},
                    QStringLiteral("Also print a line when an alarm begins or ends (temperature "
                                   "outside its limits, fan missing or faulty, CFAULT), from "
                                   "the status registers read every half second."));
                p.parser().addOptions({intervalOption, countOption, logOption, eventsOption});
                if (auto outcome = p.parse(args, 0, 0)) {
                    return *outcome;
                }
                MonitorSettings settings;
                QString error;
                double interval = DefaultInterval;
                if (p.parser().isSet(intervalOption)) {
                    const auto value = parseSeconds(p.parser().value(intervalOption), MinInterval,
                                                    MaxInterval, QStringLiteral("interval"), error);
                    if (!value) {
                        return p.usage(error);
                    }
                    interval = *value;
                }
                settings.intervalMs = std::llround(interval * 1000);
                if (p.parser().isSet(countOption)) {
                    const auto value = parseCount(p.parser().value(countOption), 1, Unlimited,
                                                  QStringLiteral("count"), error);
                    if (!value) {
                        return p.usage(error);
                    }
                    settings.count = *value;
                } else if (board.simulate) {
                    return p.usage(QStringLiteral("on the simulated board time passes at once; "
                                                  "give --count"));
                }
                if (p.parser().isSet(logOption)) {
                    settings.logFile = p.parser().value(logOption);
                    if (!settings.logFile.endsWith(QLatin1String(".xls"), Qt::CaseSensitive) &&
                        !isCsvLogName(settings.logFile)) {
                        return p.usage(QStringLiteral("\"%1\": a log file name ends in .xls "
                                                      "(lower case) or .csv")
                                           .arg(settings.logFile));
                    }
                }
                settings.events = p.parser().isSet(eventsOption);
                Parsed parsed = Parsed::run([settings](Session& session, Console& console) {
                    monitor(session, console, settings);
                });
                parsed.endsOnInterrupt = true;
                return parsed;
            }};
}

} // namespace qmf::cli
