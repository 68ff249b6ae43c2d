// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/services/UserDialogs.h"

namespace qmf {

struct AppContext;

// Messages on standard error and every file dialog cancelled: what the self-test answers with,
// since no one is there to close a box.
class ConsoleDialogs final : public UserDialogs {
public:
    void message(QWidget* parent, Icon icon, const QString& title, const QString& text,
                 const QString& informativeText = QString()) override;
    QString fileName(QWidget* parent, FileMode mode, const QString& filter,
                     const QString& startFolder = QString()) override;
};

// --self-test: checks an installation on the simulated board the way a user would: Next, Next
// and Finish in the device search, Tools > Strip Chart, Start Graphs, then waits (at most a few
// seconds) for the first readings drawn. Prints the temperatures drawn, the calculation library
// and where it was found, and the icon in use; returns the exit status (0 when every
// temperature was drawn without an error). The user's settings are neither read nor written.
int runSelfTest(AppContext& ctx);

} // namespace qmf
