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

// The name of the desktop entry and of the icon in the icon theme.
inline constexpr char ApplicationId[] = "org.qmf4150.eval";

// The installed icon file (<datadir>/icons/hicolor/scalable/apps/<ApplicationId>.svg beside the
// program, else in the system's data folders) when Qt can read it; empty otherwise.
QString applicationIconFile();

// The program's window icon: the installed icon, else the chip pictogram drawn at the usual icon
// sizes.
QIcon applicationIcon();

} // namespace qmf
