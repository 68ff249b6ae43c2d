// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QRectF>
#include <QString>

class QPainter;

namespace qmf {

// The chip pictogram: a dark package with pins on all four sides, a pin-1 mark and an optional
// label, fitted into `bounds` (kept square). Antialiased; scales to any size.
void paintChipGraphic(QPainter& painter, const QRectF& bounds, const QString& label = {});

// The chip pictogram as a pixmap of size x size device-independent pixels.
QPixmap chipPixmap(int size, qreal devicePixelRatio = 1.0);

// The program's window icon (the chip pictogram at the usual icon sizes).
QIcon applicationIcon();

} // namespace qmf
