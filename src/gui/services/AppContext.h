// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <functional>

namespace qmf {

class Clock;
class ErrorBoundary;
class MainWindowHost;
class SharedState;
class UserDialogs;
class WindowRegistry;

// What every window of the program is handed: the shared register state, the clock, the dialogs,
// the error boundary and the window registry. main() builds one; a test builds its own.
struct AppContext {
    SharedState& state;
    Clock& clock;
    UserDialogs& dialogs;
    ErrorBoundary& errors;
    WindowRegistry& windows;

    // Windows open other windows by class name ("Register_List", "GraphFRM", "BargraphForm",
    // "ChipLayoutForm", "WizardListFRM", "FanConfigFRM", "AFCTutorFRM", "BoardControlFRM"), and
    // "AutoSet" runs the auto-set with its report view. The program registers every opener at
    // start, so that a window needs no link to the windows it opens.
    QHash<QString, std::function<void()>> openers;

    // The main window, provided by the shell (null where no shell is built, e.g. a widget test).
    MainWindowHost* mainWindow = nullptr;

    // Runs the opener of that name; throws std::logic_error when there is none.
    void open(const QString& name) const;

    // The main window host; throws std::logic_error when there is none.
    MainWindowHost& main() const;
};

} // namespace qmf
