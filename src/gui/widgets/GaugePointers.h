// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/widgets/GaugeGeometry.h"

#include <QColor>
#include <QString>
#include <map>
#include <vector>

namespace qmf::gauge {

// Radial layout of a round gauge, as fractions of the dial's radius. The painter draws at these
// radii and the hit test looks for handles there, so both read them from here.
namespace radius {
inline constexpr double Face = 0.93;
inline constexpr double Scale = 0.80; // the scale line; ticks hang inwards from it
inline constexpr double MajorTick = 0.11;
inline constexpr double MinorTick = 0.055;
inline constexpr double Label = 0.575;
inline constexpr double Band = 0.755; // centre line of a band and of its end handles
inline constexpr double BandWidth = 0.07;
inline constexpr double MarkerTip = 0.805;
inline constexpr double MarkerBase = 0.925;
inline constexpr double MarkerHandle = (MarkerTip + MarkerBase) / 2.0;
inline constexpr double Needle = 0.74;
} // namespace radius

enum class PointerKind { None, Marker, Band };

// One numbered pointer of a gauge: a marker (one value) or a band (start to stop).
struct Pointer {
    PointerKind kind = PointerKind::None;
    bool draggable = false;
    QColor color;
    QString name;     // what screen readers call it ("low limit")
    QColor zoneBelow; // shading from the scale minimum up to a marker; invalid: none
    double value = 0.0;
    double start = 0.0;
    double stop = 0.0;
};

// A part of a pointer the user can take hold of.
struct HandleRef {
    int id = 0;
    HandlePart part = HandlePart::Value;
    bool operator==(const HandleRef&) const = default;
};

// The pointers of a gauge by number, and what the user may do with them. Values are stored as
// set (the owner's arithmetic sees exactly what it wrote); only user moves are limited to the
// scale. Every setter tells whether anything changed, so that the gauge repaints only then.
class PointerModel {
public:
    // A pointer nobody declared reads as kind None with every value 0.
    const Pointer& pointer(int id) const;
    const std::map<int, Pointer>& all() const { return pointers_; }

    bool configure(int id, PointerKind kind, bool draggable, const QColor& color,
                   const QString& name);
    bool setZoneBelow(int id, const QColor& color);
    bool setValue(int id, double value);
    bool setStart(int id, double value);
    bool setStop(int id, double value);

    // Moves a handle as the user does: limited to the scale, a band's end also to its other
    // end. False when the handle cannot move that way (not draggable, a marker's end, a band's
    // tip); true when the move was taken, even if the value stayed.
    bool move(HandleRef handle, double value, const DialScale& scale);

    // The draggable handles in keyboard order (by pointer number, a band's start before its stop).
    std::vector<HandleRef> keyboardOrder() const;
    double handleValue(HandleRef handle) const;

private:
    std::map<int, Pointer> pointers_;
};

// Where a handle is drawn on a dial.
QPointF handlePosition(const DialFrame& frame, const DialScale& scale, const Pointer& pointer,
                       HandlePart part);

// Every draggable handle with its position, in keyboard order (later ones are drawn on top).
std::vector<Handle> handles(const PointerModel& model, const DialFrame& frame,
                            const DialScale& scale);

// How far from a handle a press still takes hold of it.
double hitTolerance(const DialFrame& frame);

} // namespace qmf::gauge
