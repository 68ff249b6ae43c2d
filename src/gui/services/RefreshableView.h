// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace qmf {

// A view that can read what it shows from the chip once, on demand (the View menu's Refresh).
class RefreshableView {
public:
    virtual ~RefreshableView() = default;
    virtual void refreshView() = 0;
};

} // namespace qmf
