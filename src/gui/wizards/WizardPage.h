// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace qmf {

// The controls of one wizard step. load() reads the page's registers from the chip into the
// controls; a failed transfer propagates to the caller.
class WizardPage : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    virtual void load() = 0;
};

} // namespace qmf
