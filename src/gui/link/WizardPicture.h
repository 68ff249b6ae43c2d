// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace qmf {

// The picture on the device search wizard's left side: the chip on a blue band, drawn so that it
// fills any height.
class WizardPicture final : public QWidget {
    Q_OBJECT
public:
    explicit WizardPicture(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {150, 320}; }
    QSize minimumSizeHint() const override { return {120, 200}; }

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace qmf
