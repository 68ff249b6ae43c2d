// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointF>
#include <QSizeF>
#include <optional>
#include <span>
#include <vector>

namespace qmf::gauge {

// A round dial: `minimum` sits at `startAngle` and the scale runs clockwise over `sweep` degrees
// to `maximum`. Angles are in degrees, counter-clockwise from 3 o'clock (Qt's convention), so the
// default dial starts at the lower left (225) and ends at the lower right (-45), open at the
// bottom.
struct DialScale {
    double minimum = 0.0;
    double maximum = 100.0;
    double startAngle = 225.0;
    double sweep = 270.0;
};

// The value limited to the scale (either order of minimum and maximum is accepted).
double clampToScale(const DialScale& scale, double value);

// Where a value sits on the dial; values outside the scale sit at its nearer end.
double valueToAngle(const DialScale& scale, double value);

// The scale value at an angle (any angle, any number of turns). An angle in the gap outside the
// sweep gives the end of the scale nearer to it, so dragging past an end pins the pointer there.
double angleToValue(const DialScale& scale, double angle);

// The angle of `point` seen from `center`, in [0, 360); screen y grows downwards.
double angleOfPoint(QPointF center, QPointF point);

// The point at `radius` from `center` in the direction of `angle`.
QPointF pointAtAngle(QPointF center, double radius, double angle);

// The largest dial that fits a widget area of `size`: a centred circle.
struct DialFrame {
    QPointF center;
    double radius = 0.0;
};
DialFrame dialFrame(QSizeF size);

// Tick positions for a scale: major ticks (labelled) at a round step chosen so that about
// `targetMajorCount` intervals cover the range, minor ticks at a fifth of that step; both lists
// hold only values inside the scale, in ascending order, minor ticks exclude the major ones.
struct ScaleTicks {
    double majorStep = 0.0;
    std::vector<double> major;
    std::vector<double> minor;
};
ScaleTicks scaleTicks(const DialScale& scale, int targetMajorCount);

// The parts of a pointer the user can grab: a marker's tip, a band's two ends.
enum class HandlePart { Value, Start, Stop };

struct Handle {
    int pointer = 0;
    HandlePart part = HandlePart::Value;
    QPointF position;
};

// The handle under `point`: the nearest one whose position lies within `tolerance`; on equal
// distance the one listed later (drawn on top) wins. nullopt when none is close enough.
std::optional<std::size_t> hitHandle(std::span<const Handle> handles, QPointF point,
                                     double tolerance);

} // namespace qmf::gauge
