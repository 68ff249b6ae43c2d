// SPDX-License-Identifier: GPL-3.0-or-later
// The program: reads the command line, builds the shared state on the chosen board, registers
// every window and starts with the device search wizard.
#include "core/chip/SharedState.h"
#include "core/events/EventTracker.h"
#include "core/journal/WriteJournal.h"
#include "core/time/Clock.h"
#include "gui/services/AppContext.h"
#include "gui/services/AppIcon.h"
#include "gui/services/AppVersion.h"
#include "gui/services/ErrorBoundary.h"
#include "gui/services/UserDialogs.h"
#include "gui/services/WindowRegistry.h"
#include "gui/shell/CommandLine.h"
#include "gui/shell/FrmMainHost.h"
#include "gui/shell/SelfTest.h"
#include "gui/shell/StartUp.h"
#include "gui/shell/mainWiring.h"

#include <QApplication>
#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <exception>

namespace {

void setIdentity() {
    QCoreApplication::setApplicationName(qmf::applicationTitle());
    QCoreApplication::setApplicationVersion(qmf::versionNumberText(qmf::programVersion()));
}

// --help and --version must work without a display, so they are answered before the windowing
// system is opened.
bool asksForTextOnly(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "-h" || argument == "--help" || argument == "-?" ||
            argument == "--help-all" || argument == "-v" || argument == "--version") {
            return true;
        }
    }
    return false;
}

// Prints what the command line asked for; returns the exit code, or -1 to run the program.
int answer(const qmf::CommandLine& commandLine) {
    switch (commandLine.action) {
    case qmf::CommandLine::Action::Run:
        return -1;
    case qmf::CommandLine::Action::ShowHelp:
    case qmf::CommandLine::Action::ShowVersion:
        std::fputs(qPrintable(commandLine.text + QLatin1Char('\n')), stdout);
        return 0;
    case qmf::CommandLine::Action::Error:
        std::fprintf(stderr, "%s\nTry --help for the options.\n", qPrintable(commandLine.text));
        return 2;
    }
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (asksForTextOnly(argc, argv)) {
        QCoreApplication probe(argc, argv);
        setIdentity();
        return std::max(0, answer(qmf::parseCommandLine(probe.arguments())));
    }

    // QApplication takes its own options (-platform, -display, ...) out of the arguments first.
    QApplication app(argc, argv);
    setIdentity();
    QApplication::setWindowIcon(qmf::applicationIcon());
    QGuiApplication::setDesktopFileName(QLatin1String(qmf::ApplicationId));
    const qmf::CommandLine commandLine = qmf::parseCommandLine(QApplication::arguments());
    if (const int code = answer(commandLine); code >= 0) {
        return code;
    }

    qmf::SystemClock clock;
    qmf::QtUserDialogs windowDialogs;
    qmf::ConsoleDialogs consoleDialogs; // the self-test has no one to close a message box
    qmf::UserDialogs& dialogs = commandLine.selfTest
                                    ? static_cast<qmf::UserDialogs&>(consoleDialogs)
                                    : static_cast<qmf::UserDialogs&>(windowDialogs);
    qmf::ErrorBoundary errors(dialogs);
    qmf::WindowRegistry windows;
    qmf::SharedState state(qmf::boardFactoryFor(commandLine, clock));
    state.journal().setClock(&clock);
    state.events().setClock(&clock);
    errors.nameSourcesIn(&state.journal());
    qmf::AppContext ctx{state, clock, dialogs, errors, windows, {}};
    qmf::FrmMainHost mainWindow(ctx);
    ctx.mainWindow = &mainWindow;
    mainWindow.recordBusTraceFromLoad(commandLine.traceFile);
    qmf::registerOpeners(ctx);
    if (commandLine.selfTest) {
        const int code = qmf::runSelfTest(ctx);
        windows.destroyAll();
        return code;
    }

    try {
        qmf::StartUp(ctx);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "The program could not start: %s\n", e.what());
        windows.destroyAll();
        return 1;
    }
    const int code = QApplication::exec();
    // The windows refer to the shared state: they go first.
    windows.destroyAll();
    return code;
}
