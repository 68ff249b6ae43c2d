// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/reglist/BitDiagramPanel.h"

#include <QGridLayout>
#include <QPainter>

namespace qmf {

namespace {
constexpr int NameColumnLeft = 0;
constexpr int NameColumnRight = 9;
constexpr int LineGap = 4; // between a name and the start of its line
} // namespace

BitDiagramPanel::BitDiagramPanel(const QString& title, const std::array<QWidget*, 8>& digits,
                                 const std::array<QWidget*, 8>& names, QWidget* parent)
    : QGroupBox(title, parent), digits_(digits), names_(names) {
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(0);
    grid->setVerticalSpacing(1);
    grid->setContentsMargins(8, 4, 8, 6);
    for (int bit = 7; bit >= 0; --bit) {
        grid->addWidget(digits_[bit], 0, 1 + (7 - bit), Qt::AlignHCenter | Qt::AlignBottom);
    }
    // Bits 7..4 top to bottom on the left reach the digits 7..4 from the outside in, bits 0..3
    // likewise on the right; that ordering keeps the lines apart.
    for (int k = 0; k < 4; ++k) {
        grid->addWidget(names_[7 - k], 1 + k, NameColumnLeft, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(names_[k], 1 + k, NameColumnRight, Qt::AlignLeft | Qt::AlignVCenter);
    }
    for (int column = 1; column <= 8; ++column) {
        grid->setColumnMinimumWidth(column, 30);
    }
    // Room for the line between a name and the digits.
    grid->setColumnStretch(NameColumnLeft, 1);
    grid->setColumnStretch(NameColumnRight, 1);
    grid->setRowMinimumHeight(0, digits_[0]->sizeHint().height());
}

void BitDiagramPanel::paintEvent(QPaintEvent* event) {
    QGroupBox::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
    for (int bit = 0; bit < 8; ++bit) {
        const QRect digit = digits_[bit]->geometry();
        const QRect name = names_[bit]->geometry();
        const bool left = bit >= 4;
        const int y = name.center().y();
        const int x0 = left ? name.right() + LineGap : name.left() - LineGap;
        const int x1 = digit.center().x();
        painter.drawLine(x0, y, x1, y);
        painter.drawLine(x1, y, x1, digit.bottom() + 2);
    }
}

} // namespace qmf
