// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/services/MainWindowHost.h"

#include <QString>

namespace qmf {

struct AppContext;

// The main window host of the program: frmMain, the one instance of the window registry.
class FrmMainHost final : public MainWindowHost {
public:
    explicit FrmMainHost(AppContext& ctx) : ctx_(ctx) {}

    void loadMainWindow() override;
    QWidget* showMainWindow(const QString& deviceDescription) override;

    // --trace: the main window records the bus into this file from its load on.
    void recordBusTraceFromLoad(const QString& path) { busTracePath_ = path; }

private:
    AppContext& ctx_;
    QString busTracePath_;
};

} // namespace qmf
