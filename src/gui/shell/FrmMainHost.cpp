// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/FrmMainHost.h"

#include "gui/services/AppContext.h"
#include "gui/services/WindowRegistry.h"
#include "gui/shell/BusTraceControl.h"
#include "gui/shell/frmMain.h"

#include <utility>

namespace qmf {

void FrmMainHost::loadMainWindow() {
    frmMain& main = ctx_.windows.get<frmMain>(ctx_);
    if (!busTracePath_.isEmpty()) {
        // Once: the device search that loads the window is the first traffic to record.
        main.busTrace().start(std::exchange(busTracePath_, QString()));
    }
}

QWidget* FrmMainHost::showMainWindow(const QString& deviceDescription) {
    frmMain& main = ctx_.windows.show<frmMain>(ctx_);
    if (!busTracePath_.isEmpty()) {
        main.busTrace().start(std::exchange(busTracePath_, QString()));
    }
    main.setDeviceDescription(deviceDescription);
    main.reopenViews();
    return &main;
}

} // namespace qmf
