// SPDX-License-Identifier: GPL-3.0-or-later
// serve: the chip's readings for Prometheus, polled on this thread and served from the last poll.
#include "cli/CommandFailure.h"
#include "cli/CommandParser.h"
#include "cli/Console.h"
#include "cli/Interrupt.h"
#include "cli/Numbers.h"
#include "cli/ServeListen.h"
#include "cli/ServePoller.h"
#include "cli/Session.h"

#include <QElapsedTimer>
#include <QSysInfo>
#include <cmath>

#if QMF_HAVE_PROMETHEUS
#include "cli/ServeEndpoint.h"
#endif

namespace qmf::cli {

namespace {

constexpr double MinInterval = 0.1;
constexpr double MaxInterval = 3600;
const QString DefaultListen = QStringLiteral("127.0.0.1:9464");

struct ServeSettings {
    ListenAddress listen;
    qint64 intervalMs = 1000;
    QString boardName; // empty: host name and port
};

#if QMF_HAVE_PROMETHEUS

// Tells the journal when the chip stops and starts answering, not at every poll.
void reportChange(Console& console, const PollSnapshot& before, const PollSnapshot& now,
                  qint64 intervalMs) {
    if (now.up && before.polled && !before.up) {
        console.error(QStringLiteral("the chip at %1h answers again").arg(now.chip));
    } else if (!now.up && (before.up || !before.polled)) {
        console.error(QStringLiteral("the chip does not answer (%1); qmf4150_up is 0, retrying "
                                     "every %2 s")
                          .arg(now.error)
                          .arg(double(intervalMs) / 1000));
    }
}

void serve(Session& session, Console& console, const ServeSettings& settings) {
    PollStore store;
    // A poll that has not ended for three intervals and ten seconds is stuck, not slow.
    ServeEndpoint endpoint(settings.listen, store, 3 * settings.intervalMs + 10000);
    ListenAddress actual = settings.listen;
    actual.port = endpoint.port();
    const QString board =
        settings.boardName.isEmpty()
            ? QStringLiteral("%1:%2").arg(QSysInfo::machineHostName()).arg(actual.port)
            : settings.boardName;
    endpoint.setBoard(board);
    console.print(QStringLiteral("serving http://%1/metrics and /healthz for board \"%2\"")
                      .arg(actual.text(), board));
    QElapsedTimer clock;
    clock.start();
    PollSnapshot last;
    for (qint64 n = 0; !interrupted(); ++n) {
        const PollSnapshot now = pollOnce(session, store);
        reportChange(console, last, now, settings.intervalMs);
        last = now;
        // Polls keep to their schedule however long a poll took.
        const qint64 left = qMax<qint64>(0, (n + 1) * settings.intervalMs - clock.elapsed());
        if (session.simulated()) {
            // The simulated chip lives on the simulated clock; the scrapes come in real time.
            session.wait(settings.intervalMs);
            sleepRealTime(left);
        } else {
            session.wait(left);
        }
    }
}

#else

void serve(Session&, Console&, const ServeSettings&) {
    throw CommandFailure(QStringLiteral(
        "serve is not available: this qmf4150ctl was built without the metrics endpoint "
        "(prometheus-cpp was not found when it was built; install prometheus-cpp-dev and "
        "build it again)"));
}

#endif

} // namespace

CommandSpec serveCommand() {
    CommandSpec command{
        QStringLiteral("serve"),
        QStringLiteral("serve [--listen ADDR:PORT] [--interval S] [--board-name NAME]"),
        QStringLiteral("Serve the chip's readings to Prometheus over HTTP until stopped."),
        [](const QStringList& args, const BoardOptions&) {
            CommandParser p(
                QStringLiteral("serve"),
                QStringLiteral(
                    "Poll the chip every S seconds and serve the last poll at "
                    "http://ADDR:PORT/metrics in the Prometheus text format (fan speeds, "
                    "temperatures and their limits, fan duty where the chip tells it, analog "
                    "inputs, alarms, alarm events, bus health counters, qmf4150_up) and at "
                    "/healthz (200 \"ok\" while the chip "
                    "answers, 503 and the reason otherwise). Read-only: nothing can be changed "
                    "over HTTP, and a request never touches the bus. A chip that does not answer "
                    "sets qmf4150_up to 0 and is tried again at the next poll. Runs until Ctrl-C "
                    "or SIGTERM, which end it with status 0, the board released and its heaters "
                    "off."));
            const QCommandLineOption listenOption(
                QStringLiteral("listen"),
                QStringLiteral("Listen at this IP address and port (default 127.0.0.1:9464, "
                               "this machine only; port 0 takes any free port)."),
                QStringLiteral("ADDR:PORT"));
            const QCommandLineOption intervalOption(
                QStringList{QStringLiteral("i"), QStringLiteral("interval")},
                QStringLiteral("Seconds between polls, 0.1 to 3600 (default 1)."),
                QStringLiteral("S"));
            const QCommandLineOption boardOption(
                QStringLiteral("board-name"),
                QStringLiteral("The board label of every metric (default: host name:port)."),
                QStringLiteral("NAME"));
            p.parser().addOptions({listenOption, intervalOption, boardOption});
            if (auto outcome = p.parse(args, 0, 0)) {
                return *outcome;
            }
            ServeSettings settings;
            QString error;
            const auto listen = parseListenAddress(
                p.parser().isSet(listenOption) ? p.parser().value(listenOption) : DefaultListen,
                error);
            if (!listen) {
                return p.usage(error);
            }
            settings.listen = *listen;
            if (p.parser().isSet(intervalOption)) {
                const auto value = parseSeconds(p.parser().value(intervalOption), MinInterval,
                                                MaxInterval, QStringLiteral("interval"), error);
                if (!value) {
                    return p.usage(error);
                }
                settings.intervalMs = std::llround(*value * 1000);
            }
            if (p.parser().isSet(boardOption)) {
                settings.boardName = p.parser().value(boardOption).trimmed();
                const bool control =
                    std::any_of(settings.boardName.begin(), settings.boardName.end(),
                                [](QChar c) { return c.category() == QChar::Other_Control; });
                if (settings.boardName.isEmpty() || control) {
                    return p.usage(QStringLiteral("--board-name needs a name of printable "
                                                  "characters"));
                }
            }
            Parsed parsed = Parsed::run([settings](Session& session, Console& console) {
                serve(session, console, settings);
            });
            // SIGTERM is how a service manager stops it.
            parsed.endsOnInterrupt = true;
            return parsed;
        }};
    // It runs until stopped: nothing after it in a batch would run.
    command.inBatch = false;
    return command;
}

} // namespace qmf::cli
