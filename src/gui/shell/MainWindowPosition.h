// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QPointF>

class QWidget;

namespace qmf {

// The main window's position in the per-user settings store: section "Settings", keys
// "MainLeft" and "MainTop", in twips.
class MainWindowPosition {
public:
    // Reads the stored position and moves the window there; where nothing usable is stored, or
    // the place cannot be reached on any screen, to the default.
    void restore(QWidget& window);

    // Stores the window's position, unless it is minimised. A coordinate the user did not change
    // is stored as it was read: a round trip through whole pixels drifts (1000 twips are 66.67
    // pixels at 96 DPI, which come back as 1005).
    void store(const QWidget& window) const;

private:
    QPoint loadedPixels_;
    QPointF loadedTwips_;
};

} // namespace qmf
