// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/GaugeGeometry.h"

#include <QLineF>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace qmf::gauge {

namespace {

constexpr double DegreesPerRadian = 180.0 / std::numbers::pi;

double normalise360(double angle) {
    double a = std::fmod(angle, 360.0);
    if (a < 0.0) {
        a += 360.0;
    }
    return a;
}

// The smallest step of the series 1, 2, 2.5, 5 x 10^k that is not below `rough`.
double niceStep(double rough) {
    const double magnitude = std::pow(10.0, std::floor(std::log10(rough)));
    for (double mantissa : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        if (mantissa * magnitude >= rough * (1.0 - 1e-12)) {
            return mantissa * magnitude;
        }
    }
    return 10.0 * magnitude;
}

} // namespace

double clampToScale(const DialScale& scale, double value) {
    const double lo = std::min(scale.minimum, scale.maximum);
    const double hi = std::max(scale.minimum, scale.maximum);
    if (std::isnan(value)) {
        return lo;
    }
    return std::clamp(value, lo, hi);
}

double valueToAngle(const DialScale& scale, double value) {
    const double range = scale.maximum - scale.minimum;
    if (range == 0.0) {
        return scale.startAngle;
    }
    const double fraction = (clampToScale(scale, value) - scale.minimum) / range;
    return scale.startAngle - fraction * scale.sweep;
}

double angleToValue(const DialScale& scale, double angle) {
    // Clockwise distance from the start of the scale.
    const double along = normalise360(scale.startAngle - angle);
    double fraction = 0.0;
    if (along <= scale.sweep) {
        fraction = scale.sweep > 0.0 ? along / scale.sweep : 0.0;
    } else {
        // In the gap: the end whose angle is nearer.
        const double pastEnd = along - scale.sweep;
        const double beforeStart = 360.0 - along;
        fraction = pastEnd <= beforeStart ? 1.0 : 0.0;
    }
    return scale.minimum + fraction * (scale.maximum - scale.minimum);
}

double angleOfPoint(QPointF center, QPointF point) {
    const double dx = point.x() - center.x();
    const double dy = center.y() - point.y();
    if (dx == 0.0 && dy == 0.0) {
        return 0.0;
    }
    return normalise360(std::atan2(dy, dx) * DegreesPerRadian);
}

QPointF pointAtAngle(QPointF center, double radius, double angle) {
    const double radians = angle / DegreesPerRadian;
    return {center.x() + radius * std::cos(radians), center.y() - radius * std::sin(radians)};
}

DialFrame dialFrame(QSizeF size) {
    const double radius = std::max(0.0, std::min(size.width(), size.height()) / 2.0);
    return {QPointF(size.width() / 2.0, size.height() / 2.0), radius};
}

ScaleTicks scaleTicks(const DialScale& scale, int targetMajorCount) {
    ScaleTicks ticks;
    const double lo = std::min(scale.minimum, scale.maximum);
    const double hi = std::max(scale.minimum, scale.maximum);
    const double range = hi - lo;
    if (!(range > 0.0) || !std::isfinite(range) || targetMajorCount < 1) {
        return ticks;
    }
    ticks.majorStep = niceStep(range / targetMajorCount);
    const double minorStep = ticks.majorStep / 5.0;
    // Integer multiples of the minor step keep the values free of accumulated rounding.
    const auto first = static_cast<long long>(std::ceil(lo / minorStep - 1e-9));
    const auto last = static_cast<long long>(std::floor(hi / minorStep + 1e-9));
    for (long long i = first; i <= last; ++i) {
        const double value = double(i) * minorStep;
        (i % 5 == 0 ? ticks.major : ticks.minor).push_back(value == 0.0 ? 0.0 : value);
    }
    return ticks;
}

std::optional<std::size_t> hitHandle(std::span<const Handle> handles, QPointF point,
                                     double tolerance) {
    std::optional<std::size_t> best;
    double bestDistance = 0.0;
    for (std::size_t i = 0; i < handles.size(); ++i) {
        const double distance = QLineF(handles[i].position, point).length();
        if (distance > tolerance) {
            continue;
        }
        if (!best || distance <= bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace qmf::gauge
