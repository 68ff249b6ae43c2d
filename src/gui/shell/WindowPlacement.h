// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <optional>

namespace qmf::placement {

// The main window's position when nothing usable is stored, in twips.
constexpr float DefaultTwips = 1000.0f;

// A stored coordinate: the text of a single-precision number ("1000", "1234.5", " 15 ").
// Nothing when the text is not a finite number.
std::optional<float> parseTwips(const QString& text);

// The text stored for a coordinate: the single-precision number with up to seven significant
// digits, without a decimal point when it is whole ("1005", "-15", "66.5").
QString twipsText(float twips);

// Whether a window whose frame has this rectangle can be reached by the user: its title strip
// must lie on one of the screens far enough to be grabbed with the mouse.
bool reachable(const QRect& frame, const QList<QRect>& screens);

} // namespace qmf::placement
