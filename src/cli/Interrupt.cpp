// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Interrupt.h"

#include <QDeadlineTimer>
#include <chrono>
#include <csignal>
#include <thread>
#include <unistd.h>

namespace qmf::cli {

namespace {

volatile std::sig_atomic_t interruptSignal = 0;

void onSignal(int signal) {
    interruptSignal = signal;
}

// Short enough that Ctrl-C feels immediate.
constexpr qint64 SliceMs = 50;

} // namespace

void installInterruptHandlers() {
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a wait in a system call returns at once to look at the flag. The next
    // signal takes the default way out.
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    // Past a file-size limit a write then fails with "File too large", which the tool reports
    // (keeping the old file), instead of the signal ending it without a word.
    std::signal(SIGXFSZ, SIG_IGN);
}

bool interrupted() {
    return interruptSignal != 0;
}

int interruptStatus() {
    return interruptSignal == 0 ? 0 : 128 + int(interruptSignal);
}

ReadControl interruptibleRead(const QString& name) {
    return {interrupted, [name] {
                const QByteArray text =
                    QStringLiteral("qmf4150ctl: waiting for %1 to be written (Ctrl-C stops)\n")
                        .arg(name)
                        .toLocal8Bit();
                // Nothing else is left to do when standard error cannot take it.
                [[maybe_unused]] const ssize_t ignored =
                    ::write(STDERR_FILENO, text.constData(), size_t(text.size()));
            }};
}

void sleepRealTime(qint64 ms) {
    const QDeadlineTimer deadline(ms);
    while (!interrupted()) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(qMin(left, SliceMs)));
    }
}

} // namespace qmf::cli
