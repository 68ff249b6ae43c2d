// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/FrmMainHost.h"

#include "gui/services/AppContext.h"
#include "gui/services/WindowRegistry.h"
#include "gui/shell/frmMain.h"

namespace qmf {

void FrmMainHost::loadMainWindow() {
    ctx_.windows.get<frmMain>(ctx_);
}

QWidget* FrmMainHost::showMainWindow(const QString& deviceDescription) {
    frmMain& main = ctx_.windows.show<frmMain>(ctx_);
    main.setDeviceDescription(deviceDescription);
    main.reopenViews();
    return &main;
}

} // namespace qmf
