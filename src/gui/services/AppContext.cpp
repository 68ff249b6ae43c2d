// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/services/AppContext.h"

#include <stdexcept>

namespace qmf {

void AppContext::open(const QString& name) const {
    const auto it = openers.constFind(name);
    if (it == openers.constEnd() || !*it) {
        throw std::logic_error("the window " + name.toStdString() + " is not available");
    }
    (*it)();
}

MainWindowHost& AppContext::main() const {
    if (mainWindow == nullptr) {
        throw std::logic_error("the main window is not available");
    }
    return *mainWindow;
}

} // namespace qmf
