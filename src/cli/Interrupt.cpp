// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Interrupt.h"

#include <QDeadlineTimer>
#include <chrono>
#include <csignal>
#include <thread>

namespace qmf::cli {

namespace {

volatile std::sig_atomic_t interruptFlag = 0;

void onSignal(int) {
    interruptFlag = 1;
}

// Short enough that Ctrl-C feels immediate.
constexpr qint64 SliceMs = 50;

} // namespace

void installInterruptHandlers() {
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND; // the next signal takes the default way out
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool interrupted() {
    return interruptFlag != 0;
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
