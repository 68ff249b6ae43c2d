// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>
#include <array>

namespace qmf {

// The framed panel of the eight bit digits: digits of bits 7 to 0 in a row, the names of bits 7
// to 4 stacked below-left and of bits 0 to 3 below-right, each name joined to its digit by a
// drawn line that runs across and then up, so that no two lines cross.
class BitDiagramPanel : public QGroupBox {
    Q_OBJECT
public:
    // digits[n] and names[n] belong to bit n; the panel takes them as children.
    BitDiagramPanel(const QString& title, const std::array<QWidget*, 8>& digits,
                    const std::array<QWidget*, 8>& names, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::array<QWidget*, 8> digits_;
    std::array<QWidget*, 8> names_;
};

} // namespace qmf
