// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <optional>

class QMainWindow;
class QMdiArea;
class QWidget;

namespace qmf {

struct AppContext;

// What the main window brings back at the next start besides its position (which keeps its own
// keys): its size, whether it was maximised, and the views that were open with their places in
// the workspace. Per-user settings store, section "Session", sizes and places in twips:
//   MainWidth, MainHeight   the main window's size
//   MainMaximized           "True" or "False"
//   Views                   the open views' class names, back to front, comma-separated
//   <class name>            a view's "left,top,width,height" in the workspace
class MainWindowSession {
public:
    // The views brought back: the windows that only show and set the chip. The auto-set, which
    // writes registers when it opens, and the device search are never reopened.
    static const QStringList& restorableViews();

    // Load: the stored size, kept within the screen, and the maximised state.
    void restoreSize(QMainWindow& window) const;

    // Unload: the size (unless minimised) and the open views with their places.
    void store(const QMainWindow& window, const QMdiArea& area) const;

    // Once the device is chosen: opens the stored views through the context's openers, back to
    // front, each in its place. A view that fails to open is reported and the others still open.
    void reopenViews(AppContext& ctx, QWidget& mainWindow, QMdiArea& area) const;

    // "left,top,width,height" in twips, and back (nothing when the text is not four numbers).
    static QString placeText(const QRect& pixels, double dpiX, double dpiY);
    static std::optional<QRect> parsePlace(const QString& text, double dpiX, double dpiY);
};

} // namespace qmf
