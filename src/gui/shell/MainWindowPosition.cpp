// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/MainWindowPosition.h"

#include "core/text/Twips.h"
#include "gui/services/AppVersion.h"
#include "gui/services/SettingsStore.h"
#include "gui/shell/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace qmf {

namespace {
const QString SettingsSection = QStringLiteral("Settings");
const QString LeftKey = QStringLiteral("MainLeft");
const QString TopKey = QStringLiteral("MainTop");
} // namespace

void MainWindowPosition::restore(QWidget& window) {
    const SettingsStore store(applicationTitle());
    const QString fallback = placement::twipsText(placement::DefaultTwips);
    const float left = placement::parseTwips(store.value(SettingsSection, LeftKey, fallback))
                           .value_or(placement::DefaultTwips);
    const float top = placement::parseTwips(store.value(SettingsSection, TopKey, fallback))
                          .value_or(placement::DefaultTwips);
    const double dpiX = window.logicalDpiX();
    const double dpiY = window.logicalDpiY();
    QPointF twips(left, top);
    QPoint position(text::twipsToPixels(left, dpiX), text::twipsToPixels(top, dpiY));

    // A stored position may come from another screen layout: never open where the user cannot
    // see the window.
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        screens.append(screen->availableGeometry());
    }
    if (!placement::reachable(QRect(position, window.size()), screens)) {
        twips = QPointF(placement::DefaultTwips, placement::DefaultTwips);
        position =
            QPoint(text::twipsToPixels(twips.x(), dpiX), text::twipsToPixels(twips.y(), dpiY));
    }
    window.move(position);
    loadedPixels_ = position;
    loadedTwips_ = twips;
}

void MainWindowPosition::store(const QWidget& window) const {
    if (window.isMinimized()) {
        return;
    }
    SettingsStore store(applicationTitle());
    const QPoint position = window.pos();
    const float left = position.x() == loadedPixels_.x()
                           ? float(loadedTwips_.x())
                           : float(text::pixelsToTwips(position.x(), window.logicalDpiX()));
    const float top = position.y() == loadedPixels_.y()
                          ? float(loadedTwips_.y())
                          : float(text::pixelsToTwips(position.y(), window.logicalDpiY()));
    const bool stored = store.setValue(SettingsSection, LeftKey, placement::twipsText(left)) &&
                        store.setValue(SettingsSection, TopKey, placement::twipsText(top));
    if (!stored) {
        qWarning("The main window's position could not be stored in the settings.");
    }
}

} // namespace qmf
