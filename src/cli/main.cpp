// SPDX-License-Identifier: GPL-3.0-or-later
// qmf4150ctl: the command-line tool. Everything it does is in cli/Runner.
#include "cli/Runner.h"

#include <QCoreApplication>
#include <QFile>
#include <unistd.h>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qmf4150ctl"));
    QFile out;
    QFile err;
    // Unbuffered: each result reaches a pipe as it is printed, and a failed write is seen at once.
    out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(STDERR_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    return qmf::cli::runTool(QCoreApplication::arguments(), out, err);
}
