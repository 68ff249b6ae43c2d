// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/MainWindowSession.h"

#include "core/text/Twips.h"
#include "gui/services/AppContext.h"
#include "gui/services/AppVersion.h"
#include "gui/services/ErrorBoundary.h"
#include "gui/services/SettingsStore.h"
#include "gui/shell/WindowPlacement.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>

namespace qmf {

namespace {

const QString Section = QStringLiteral("Session");
const QString WidthKey = QStringLiteral("MainWidth");
const QString HeightKey = QStringLiteral("MainHeight");
const QString MaximizedKey = QStringLiteral("MainMaximized");
const QString ViewsKey = QStringLiteral("Views");

std::optional<int> storedPixels(const SettingsStore& store, const QString& key, double dpi) {
    const auto twips = placement::parseTwips(store.value(Section, key, QString()));
    if (!twips || *twips <= 0) {
        return std::nullopt;
    }
    return text::twipsToPixels(*twips, dpi);
}

QString twips(int pixels, double dpi) {
    return placement::twipsText(float(text::pixelsToTwips(pixels, dpi)));
}

} // namespace

const QStringList& MainWindowSession::restorableViews() {
    static const QStringList views = {"Register_List", "ChipLayoutForm",  "GraphFRM",
                                      "BargraphForm",  "BoardControlFRM", "WizardListFRM",
                                      "FanConfigFRM",  "AFCTutorFRM"};
    return views;
}

QString MainWindowSession::placeText(const QRect& pixels, double dpiX, double dpiY) {
    return QStringList{twips(pixels.x(), dpiX), twips(pixels.y(), dpiY),
                       twips(pixels.width(), dpiX), twips(pixels.height(), dpiY)}
        .join(u',');
}

std::optional<QRect> MainWindowSession::parsePlace(const QString& text, double dpiX, double dpiY) {
    const QStringList parts = text.split(u',');
    if (parts.size() != 4) {
        return std::nullopt;
    }
    int pixels[4];
    for (int i = 0; i < 4; ++i) {
        const auto value = placement::parseTwips(parts[i]);
        if (!value) {
            return std::nullopt;
        }
        pixels[i] = text::twipsToPixels(*value, i % 2 == 0 ? dpiX : dpiY);
    }
    if (pixels[2] <= 0 || pixels[3] <= 0) {
        return std::nullopt;
    }
    return QRect(pixels[0], pixels[1], pixels[2], pixels[3]);
}

void MainWindowSession::restoreSize(QMainWindow& window) const {
    const SettingsStore store(applicationTitle());
    const auto width = storedPixels(store, WidthKey, window.logicalDpiX());
    const auto height = storedPixels(store, HeightKey, window.logicalDpiY());
    if (width && height) {
        QSize size(*width, *height);
        if (const QScreen* screen = window.screen()) {
            size = size.boundedTo(screen->availableGeometry().size());
        }
        window.resize(size.expandedTo(window.minimumSizeHint()));
    }
    if (store.value(Section, MaximizedKey, QString()) == QLatin1String("True")) {
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
    }
}

void MainWindowSession::store(const QMainWindow& window, const QMdiArea& area) const {
    SettingsStore store(applicationTitle());
    bool stored = true;
    if (!window.isMinimized()) {
        // A maximised window keeps the size it had before, to come back to.
        const QSize size = window.isMaximized() ? window.normalGeometry().size() : window.size();
        stored =
            store.setValue(Section, WidthKey, twips(size.width(), window.logicalDpiX())) &&
            store.setValue(Section, HeightKey, twips(size.height(), window.logicalDpiY())) &&
            store.setValue(Section, MaximizedKey,
                           window.isMaximized() ? QStringLiteral("True") : QStringLiteral("False"));
    }
    QStringList views;
    for (const QMdiSubWindow* sub : area.subWindowList(QMdiArea::StackingOrder)) {
        const QWidget* view = sub->widget();
        if (view == nullptr || sub->isHidden() || !restorableViews().contains(view->objectName())) {
            continue;
        }
        views << view->objectName();
        const QRect place =
            sub->isMinimized() || sub->isMaximized() ? sub->normalGeometry() : sub->geometry();
        stored = stored && store.setValue(Section, view->objectName(),
                                          placeText(place, area.logicalDpiX(), area.logicalDpiY()));
    }
    stored = stored && store.setValue(Section, ViewsKey, views.join(u','));
    if (!stored) {
        qWarning("The open views could not be stored in the settings.");
    }
}

void MainWindowSession::reopenViews(AppContext& ctx, QWidget& mainWindow, QMdiArea& area) const {
    const SettingsStore store(applicationTitle());
    const QStringList views =
        store.value(Section, ViewsKey, QString()).split(u',', Qt::SkipEmptyParts);
    for (const QString& name : views) {
        if (!restorableViews().contains(name) || !ctx.openers.contains(name)) {
            continue;
        }
        ctx.errors.run(&mainWindow, [&] { ctx.open(name); });
        const auto place = parsePlace(store.value(Section, name, QString()), area.logicalDpiX(),
                                      area.logicalDpiY());
        if (!place) {
            continue;
        }
        for (QMdiSubWindow* sub : area.subWindowList()) {
            if (sub->widget() != nullptr && sub->widget()->objectName() == name) {
                // Never out of reach: the top-left corner stays inside the workspace.
                QRect rect = *place;
                rect.moveTo(std::max(0, rect.x()), std::max(0, rect.y()));
                sub->setGeometry(rect);
            }
        }
    }
}

} // namespace qmf
