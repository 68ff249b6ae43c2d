// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/GaugePointers.h"

#include <algorithm>
#include <cmath>

namespace qmf::gauge {

namespace {

// Same value, NaN included: a NaN written again is no change.
bool same(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

} // namespace

const Pointer& PointerModel::pointer(int id) const {
    static const Pointer none;
    const auto it = pointers_.find(id);
    return it == pointers_.end() ? none : it->second;
}

bool PointerModel::configure(int id, PointerKind kind, bool draggable, const QColor& color,
                             const QString& name) {
    Pointer& p = pointers_[id];
    const bool canDrag = draggable && kind != PointerKind::None;
    if (p.kind == kind && p.draggable == canDrag && p.color == color && p.name == name) {
        return false;
    }
    p.kind = kind;
    p.draggable = canDrag;
    p.color = color;
    p.name = name;
    return true;
}

bool PointerModel::setZoneBelow(int id, const QColor& color) {
    Pointer& p = pointers_[id];
    if (p.zoneBelow == color) {
        return false;
    }
    p.zoneBelow = color;
    return true;
}

bool PointerModel::setValue(int id, double value) {
    Pointer& p = pointers_[id];
    if (same(p.value, value)) {
        return false;
    }
    p.value = value;
    return true;
}

bool PointerModel::setStart(int id, double value) {
    Pointer& p = pointers_[id];
    if (same(p.start, value)) {
        return false;
    }
    p.start = value;
    return true;
}

bool PointerModel::setStop(int id, double value) {
    Pointer& p = pointers_[id];
    if (same(p.stop, value)) {
        return false;
    }
    p.stop = value;
    return true;
}

bool PointerModel::move(HandleRef handle, double value, const DialScale& scale) {
    const auto it = pointers_.find(handle.id);
    if (it == pointers_.end() || !it->second.draggable) {
        return false;
    }
    Pointer& p = it->second;
    const bool band = p.kind == PointerKind::Band;
    if (band == (handle.part == HandlePart::Value)) {
        return false; // a marker has no ends, a band no tip
    }
    value = clampToScale(scale, value);
    if (handle.part == HandlePart::Start) {
        p.start = std::min(value, p.stop);
    } else if (handle.part == HandlePart::Stop) {
        p.stop = std::max(value, p.start);
    } else {
        p.value = value;
    }
    return true;
}

std::vector<HandleRef> PointerModel::keyboardOrder() const {
    std::vector<HandleRef> order;
    for (const auto& [id, p] : pointers_) {
        if (!p.draggable) {
            continue;
        }
        if (p.kind == PointerKind::Band) {
            order.push_back({id, HandlePart::Start});
            order.push_back({id, HandlePart::Stop});
        } else {
            order.push_back({id, HandlePart::Value});
        }
    }
    return order;
}

double PointerModel::handleValue(HandleRef handle) const {
    const Pointer& p = pointer(handle.id);
    switch (handle.part) {
    case HandlePart::Start:
        return p.start;
    case HandlePart::Stop:
        return p.stop;
    case HandlePart::Value:
        break;
    }
    return p.value;
}

QPointF handlePosition(const DialFrame& frame, const DialScale& scale, const Pointer& pointer,
                       HandlePart part) {
    const double value = part == HandlePart::Start  ? pointer.start
                         : part == HandlePart::Stop ? pointer.stop
                                                    : pointer.value;
    const double r =
        (part == HandlePart::Value ? radius::MarkerHandle : radius::Band) * frame.radius;
    return pointAtAngle(frame.center, r, valueToAngle(scale, value));
}

std::vector<Handle> handles(const PointerModel& model, const DialFrame& frame,
                            const DialScale& scale) {
    std::vector<Handle> result;
    for (const HandleRef& h : model.keyboardOrder()) {
        result.push_back({h.id, h.part, handlePosition(frame, scale, model.pointer(h.id), h.part)});
    }
    return result;
}

double hitTolerance(const DialFrame& frame) {
    return std::max(7.0, 0.075 * frame.radius);
}

} // namespace qmf::gauge
