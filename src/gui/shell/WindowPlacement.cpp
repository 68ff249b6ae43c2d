// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/WindowPlacement.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace qmf::placement {

namespace {
// The strip along the top of the frame that holds the title bar, and how much of it must show.
constexpr int TitleStripHeight = 24;
constexpr int MinimumVisibleWidth = 48;
constexpr int MinimumVisibleHeight = 16;
} // namespace

std::optional<float> parseTwips(const QString& text) {
    // The program writes these values itself, always in the C locale and without grouping.
    QLocale locale = QLocale::c();
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const float value = locale.toFloat(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

QString twipsText(float twips) {
    return QLocale::c().toString(double(twips), 'g', 7);
}

bool reachable(const QRect& frame, const QList<QRect>& screens) {
    if (frame.width() <= 0) {
        return false;
    }
    const QRect strip(frame.left(), frame.top(), frame.width(),
                      std::min(TitleStripHeight, std::max(1, frame.height())));
    return std::any_of(screens.begin(), screens.end(), [&](const QRect& screen) {
        const QRect shown = strip.intersected(screen);
        return shown.width() >= std::min(MinimumVisibleWidth, strip.width()) &&
               shown.height() >= std::min(MinimumVisibleHeight, strip.height());
    });
}

} // namespace qmf::placement
