// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QString;
class QWidget;

namespace qmf {

// The main window as the windows below the shell see it: the device search loads it while it
// searches and shows it with the chosen device at Finish. The shell provides the implementation,
// so that no window needs to include the main window.
class MainWindowHost {
public:
    virtual ~MainWindowHost() = default;

    // Creates the main window if needed, without showing it.
    virtual void loadMainWindow() = 0;

    // Shows the main window, brought to the front, with the device the program works with at the
    // right of its status bar; returns it (the parent for messages that follow).
    virtual QWidget* showMainWindow(const QString& deviceDescription) = 0;
};

} // namespace qmf
