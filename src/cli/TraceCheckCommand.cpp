// SPDX-License-Identifier: GPL-3.0-or-later
// trace-check: a bus trace (VCD) against the SMBus 100 kHz timing.
#include "cli/CommandFailure.h"
#include "cli/CommandParser.h"
#include "cli/Console.h"
#include "cli/ExitStatus.h"
#include "cli/Session.h"
#include "core/trace/SmbusTimingCheck.h"
#include "core/trace/VcdReader.h"

#include <QFile>

namespace qmf::cli {

namespace {

struct Wires {
    QString scl, sda;
};

QString frequencyText(double kHz) {
    return QString::number(kHz, 'f', kHz < 10 ? 2 : 1) + QStringLiteral(" kHz");
}

void checkTrace(Console& console, const QString& path, const Wires& wires) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw CommandFailure(QStringLiteral("%1: %2").arg(path, file.errorString()));
    }
    trace::VcdReader reader(wires.scl, wires.sda);
    trace::SmbusTimingCheck checker;
    reader.onLevels = [&](qint64 ns, bool scl, bool sda) { checker.levels(ns, scl, sda); };
    checker.onViolation = [&](const trace::TimingViolation& v) {
        console.print(
            QStringLiteral("at %1: %2").arg(trace::durationText(v.timeNs), trace::describe(v)));
    };
    constexpr qint64 Block = 1 << 16;
    for (;;) {
        const QByteArray bytes = file.read(Block);
        if (bytes.isEmpty()) {
            if (file.error() != QFileDevice::NoError) {
                throw CommandFailure(QStringLiteral("%1: %2").arg(path, file.errorString()));
            }
            break;
        }
        if (!reader.feed(bytes)) {
            throw CommandFailure(QStringLiteral("%1: %2").arg(path, reader.error()));
        }
    }
    if (!reader.finish()) {
        throw CommandFailure(QStringLiteral("%1: %2").arg(path, reader.error()));
    }
    checker.finish(reader.endTimeNs());

    const trace::TimingSummary& summary = checker.summary();
    console.print(QStringLiteral("%1: %2 of trace, %3 clocks, %4 starts, %5 stops")
                      .arg(path, trace::durationText(reader.endTimeNs()))
                      .arg(summary.clocks)
                      .arg(summary.starts)
                      .arg(summary.stops));
    console.print(summary.shortestClockNs > 0
                      ? QStringLiteral("maximum clock frequency: %1 (shortest clock period %2)")
                            .arg(frequencyText(summary.maxClockFrequencyKHz()),
                                 trace::durationText(summary.shortestClockNs))
                      : QStringLiteral("maximum clock frequency: no clock within a transfer"));
    const quint64 count = summary.violationCount();
    if (count == 0) {
        console.print(QStringLiteral("no violation of the SMBus 100 kHz timing"));
        return;
    }
    QStringList perRule;
    for (int rule = 0; rule < trace::TimingRuleCount; ++rule) {
        if (const quint64 n = summary.violations[size_t(rule)]) {
            perRule << QStringLiteral("%1 %2")
                           .arg(QLatin1String(trace::timingLimit(trace::TimingRule(rule)).name))
                           .arg(n);
        }
    }
    console.print(QStringLiteral("%1 violation%2 of the SMBus 100 kHz timing (%3)")
                      .arg(count)
                      .arg(count == 1 ? QString() : QStringLiteral("s"))
                      .arg(perRule.join(QStringLiteral(", "))));
    throw AlreadyReported(ExitFailed);
}

} // namespace

CommandSpec traceCheckCommand() {
    return {QStringLiteral("trace-check"), QStringLiteral("trace-check FILE.vcd"),
            QStringLiteral("Check a bus trace against the SMBus 100 kHz timing."),
            [](const QStringList& args, const BoardOptions&) {
                CommandParser p(
                    QStringLiteral("trace-check"),
                    QStringLiteral(
                        "Read a bus trace, a value change dump (VCD) as --trace writes it or a "
                        "logic analyser exports it, and print every violation of the SMBus "
                        "100 kHz timing with its time from the start of the trace: tLOW at least "
                        "4.7 us, tHIGH 4.0 to 50 us, tHD;STA 4.0 us, tSU;STA 4.7 us, tSU;STO "
                        "4.0 us, tBUF 4.7 us, tSU;DAT 250 ns, tHD;DAT 300 ns, the clock low no "
                        "longer than 35 ms (tTIMEOUT) and no faster than 100 kHz; then the "
                        "maximum clock frequency seen. The board is not used. Exit status 1 when "
                        "there is any violation."));
                p.addPositional(QStringLiteral("FILE.vcd"), QStringLiteral("The trace."),
                                QStringLiteral("FILE.vcd"));
                const QCommandLineOption scl(QStringLiteral("scl"),
                                             QStringLiteral("The clock wire's name (SCL)."),
                                             QStringLiteral("NAME"), QStringLiteral("SCL"));
                const QCommandLineOption sda(QStringLiteral("sda"),
                                             QStringLiteral("The data wire's name (SDA)."),
                                             QStringLiteral("NAME"), QStringLiteral("SDA"));
                p.parser().addOptions({scl, sda});
                if (auto outcome = p.parse(args, 1, 1)) {
                    return *outcome;
                }
                const Wires wires{p.parser().value(scl), p.parser().value(sda)};
                return Parsed::run(
                    [path = p.parser().positionalArguments().at(0),
                     wires](Session&, Console& console) { checkTrace(console, path, wires); });
            }};
}

} // namespace qmf::cli
