// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace qmf {

struct AppContext;

// The File menu's "Save Settings to File" and "Load Settings From File": ask for a ".dat" file,
// copy all 256 registers to it or from it, and tell the user what happened.
void SaveRegisterSettings(AppContext& ctx, QWidget* parent);
void LoadRegisterSettings(AppContext& ctx, QWidget* parent);

} // namespace qmf
