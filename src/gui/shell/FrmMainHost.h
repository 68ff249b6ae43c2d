// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/services/MainWindowHost.h"

namespace qmf {

struct AppContext;

// The main window host of the program: frmMain, the one instance of the window registry.
class FrmMainHost final : public MainWindowHost {
public:
    explicit FrmMainHost(AppContext& ctx) : ctx_(ctx) {}

    void loadMainWindow() override;
    QWidget* showMainWindow(const QString& deviceDescription) override;

private:
    AppContext& ctx_;
};

} // namespace qmf
