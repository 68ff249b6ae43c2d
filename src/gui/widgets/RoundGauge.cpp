// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/RoundGauge.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace qmf {

namespace {

// Radial layout of the dial, as fractions of its radius.
constexpr double FaceRadius = 0.93;
constexpr double ScaleRadius = 0.80; // the scale line; ticks hang inwards from it
constexpr double MajorTickLength = 0.11;
constexpr double MinorTickLength = 0.055;
constexpr double LabelRadius = 0.575;
constexpr double BandRadius = 0.755; // centre line of a band and of its end handles
constexpr double BandWidth = 0.07;
constexpr double MarkerTip = 0.805;
constexpr double MarkerBase = 0.925;
constexpr double MarkerHandle = (MarkerTip + MarkerBase) / 2.0;
constexpr double NeedleLength = 0.74;
constexpr int MajorTickTarget = 6;

QRectF circleRect(QPointF center, double radius) {
    return {center.x() - radius, center.y() - radius, 2.0 * radius, 2.0 * radius};
}

QString tickLabel(double value) {
    return QLocale::c().toString(value, 'g', 6);
}

} // namespace

RoundGauge::RoundGauge(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    updateDescription();
}

// --- properties ---------------------------------------------------------------------------------

void RoundGauge::setScale(double minimum, double maximum) {
    scale_.minimum = minimum;
    scale_.maximum = maximum;
    changed();
}

void RoundGauge::setReading(double value) {
    if (reading_ == value) {
        return;
    }
    reading_ = value;
    changed();
}

void RoundGauge::setCaption(const QString& caption) {
    if (caption_ == caption) {
        return;
    }
    caption_ = caption;
    changed();
}

void RoundGauge::setHintText(const QString& text) {
    hint_ = text;
    setToolTip(text);
    changed();
}

void RoundGauge::configurePointer(int id, PointerKind kind, bool draggable, const QColor& color,
                                  const QString& name) {
    Pointer& p = pointerForWrite(id);
    p.kind = kind;
    p.draggable = draggable && kind != PointerKind::None;
    p.color = color;
    p.name = name;
    if (focusHandle_ && !isDraggable(focusHandle_->id)) {
        focusHandle_.reset();
    }
    changed();
}

void RoundGauge::setZoneBelow(int id, const QColor& color) {
    pointerForWrite(id).zoneBelow = color;
    changed();
}

void RoundGauge::setUnit(const QString& unit) {
    unit_ = unit;
    changed();
}

RoundGauge::PointerKind RoundGauge::pointerKind(int id) const {
    return pointer(id).kind;
}

bool RoundGauge::isDraggable(int id) const {
    return pointer(id).draggable;
}

void RoundGauge::setPointerValue(double value) {
    pointerForWrite(selected_).value = value;
    changed();
}

void RoundGauge::setPointerStart(double value) {
    pointerForWrite(selected_).start = value;
    changed();
}

void RoundGauge::setPointerStop(double value) {
    pointerForWrite(selected_).stop = value;
    changed();
}

const RoundGauge::Pointer& RoundGauge::pointer(int id) const {
    static const Pointer none;
    const auto it = pointers_.find(id);
    return it == pointers_.end() ? none : it->second;
}

RoundGauge::Pointer& RoundGauge::pointerForWrite(int id) {
    return pointers_[id];
}

// --- user moves ---------------------------------------------------------------------------------

void RoundGauge::moveHandle(int id, HandlePart part, double value) {
    if (!isDraggable(id)) {
        return;
    }
    Pointer& p = pointerForWrite(id);
    const bool band = p.kind == PointerKind::Band;
    if (band == (part == HandlePart::Value)) {
        return; // a marker has no ends, a band no tip
    }
    value = gauge::clampToScale(scale_, value);
    if (part == HandlePart::Start) {
        p.start = std::min(value, p.stop);
    } else if (part == HandlePart::Stop) {
        p.stop = std::max(value, p.start);
    } else {
        p.value = value;
    }
    selected_ = id;
    held_ = HandleRef{id, part};
    lastPart_ = part;
    movedWhileHeld_ = true;
    changed();
    emit pointerChanged(id);
}

void RoundGauge::releaseHandle() {
    const std::optional<HandleRef> held = held_;
    const bool moved = movedWhileHeld_;
    held_.reset();
    movedWhileHeld_ = false;
    heldKey_ = 0;
    if (held && moved) {
        emit pointerReleased(held->id);
    }
}

void RoundGauge::cancelDrag() {
    held_.reset();
    movedWhileHeld_ = false;
    heldKey_ = 0;
    unsetCursor();
}

std::optional<gauge::Handle> RoundGauge::keyboardHandle() const {
    if (!focusHandle_) {
        const auto order = keyboardOrder();
        if (order.empty()) {
            return std::nullopt;
        }
        return gauge::Handle{order.front().id, order.front().part,
                             handlePosition(order.front().id, order.front().part)};
    }
    return gauge::Handle{focusHandle_->id, focusHandle_->part,
                         handlePosition(focusHandle_->id, focusHandle_->part)};
}

// --- geometry -----------------------------------------------------------------------------------

QRectF RoundGauge::dialArea() const {
    QRectF area(rect());
    if (!hint_.isEmpty()) {
        const double hintHeight = std::clamp(0.075 * std::min(width(), height()), 9.0, 13.0) + 6.0;
        area.setBottom(area.bottom() - hintHeight);
    }
    return area;
}

gauge::DialFrame RoundGauge::dial() const {
    const QRectF area = dialArea();
    gauge::DialFrame frame = gauge::dialFrame(area.size());
    frame.center += area.topLeft();
    frame.radius = std::max(0.0, frame.radius - 2.0);
    return frame;
}

QPointF RoundGauge::handlePosition(int id, HandlePart part) const {
    const gauge::DialFrame f = dial();
    const Pointer& p = pointer(id);
    const double value = part == HandlePart::Start  ? p.start
                         : part == HandlePart::Stop ? p.stop
                                                    : p.value;
    const double radius = (part == HandlePart::Value ? MarkerHandle : BandRadius) * f.radius;
    return gauge::pointAtAngle(f.center, radius, gauge::valueToAngle(scale_, value));
}

std::vector<RoundGauge::HandleRef> RoundGauge::keyboardOrder() const {
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

std::vector<gauge::Handle> RoundGauge::handles() const {
    std::vector<gauge::Handle> result;
    for (const HandleRef& h : keyboardOrder()) {
        result.push_back({h.id, h.part, handlePosition(h.id, h.part)});
    }
    return result;
}

double RoundGauge::handleValue(HandleRef handle) const {
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

double RoundGauge::hitTolerance() const {
    return std::max(7.0, 0.075 * dial().radius);
}

// --- events -------------------------------------------------------------------------------------

void RoundGauge::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const auto all = handles();
    const auto hit = gauge::hitHandle(all, event->position(), hitTolerance());
    if (!hit) {
        QWidget::mousePressEvent(event);
        return;
    }
    const HandleRef grabbed{all[*hit].pointer, all[*hit].part};
    held_ = grabbed;
    focusHandle_ = grabbed;
    movedWhileHeld_ = false;
    selected_ = grabbed.id;
    setCursor(Qt::ClosedHandCursor);
    update();
    event->accept();
}

void RoundGauge::mouseMoveEvent(QMouseEvent* event) {
    if (held_ && heldKey_ == 0 && (event->buttons() & Qt::LeftButton)) {
        const double angle = gauge::angleOfPoint(dial().center, event->position());
        moveHandle(held_->id, held_->part, gauge::angleToValue(scale_, angle));
        event->accept();
        return;
    }
    if (!held_) {
        const auto all = handles();
        if (gauge::hitHandle(all, event->position(), hitTolerance())) {
            setCursor(Qt::OpenHandCursor);
        } else {
            unsetCursor();
        }
    }
    QWidget::mouseMoveEvent(event);
}

void RoundGauge::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && held_ && heldKey_ == 0) {
        releaseHandle();
        setCursor(Qt::OpenHandCursor);
        update();
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void RoundGauge::keyPressEvent(QKeyEvent* event) {
    double steps = 0.0;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down:
        steps = -1.0;
        break;
    case Qt::Key_Right:
    case Qt::Key_Up:
        steps = 1.0;
        break;
    case Qt::Key_PageDown:
        steps = -10.0;
        break;
    case Qt::Key_PageUp:
        steps = 10.0;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    const auto handle = keyboardHandle();
    if (!handle || (held_ && heldKey_ == 0)) {
        event->ignore();
        return;
    }
    const HandleRef ref{handle->pointer, handle->part};
    focusHandle_ = ref;
    heldKey_ = event->key();
    // Steps land on whole multiples of the step, so repeated presses give round values.
    const double current = handleValue(ref);
    const double step = keyboardStep_ > 0.0 ? keyboardStep_ : 1.0;
    double target = current + steps * step;
    const double onGrid = std::round(current / step) * step;
    if (std::fabs(onGrid - current) > 1e-9 * std::max(1.0, std::fabs(current))) {
        target = steps > 0 ? std::ceil(current / step) * step + (steps - 1.0) * step
                           : std::floor(current / step) * step + (steps + 1.0) * step;
    }
    moveHandle(ref.id, ref.part, target);
    held_ = ref;
    event->accept();
}

void RoundGauge::keyReleaseEvent(QKeyEvent* event) {
    if (!event->isAutoRepeat() && heldKey_ != 0 && event->key() == heldKey_) {
        releaseHandle();
        event->accept();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void RoundGauge::focusInEvent(QFocusEvent* event) {
    const auto order = keyboardOrder();
    if (!order.empty()) {
        if (event->reason() == Qt::TabFocusReason) {
            focusHandle_ = order.front();
        } else if (event->reason() == Qt::BacktabFocusReason) {
            focusHandle_ = order.back();
        } else if (!focusHandle_) {
            focusHandle_ = order.front();
        }
    }
    updateDescription();
    QWidget::focusInEvent(event);
}

bool RoundGauge::focusNextPrevChild(bool next) {
    // Tab walks through the handles first, then leaves the gauge.
    const auto order = keyboardOrder();
    if (hasFocus() && !order.empty() && !held_) {
        auto it = focusHandle_ ? std::find(order.begin(), order.end(), *focusHandle_) : order.end();
        if (it != order.end()) {
            const auto index = std::distance(order.begin(), it);
            const auto target = next ? index + 1 : index - 1;
            if (target >= 0 && target < std::ssize(order)) {
                focusHandle_ = order[std::size_t(target)];
                updateDescription();
                update();
                return true;
            }
        }
    }
    return QWidget::focusNextPrevChild(next);
}

// --- accessibility ------------------------------------------------------------------------------

void RoundGauge::changed() {
    updateDescription();
    update();
}

void RoundGauge::updateDescription() {
    QStringList parts;
    if (!caption_.trimmed().isEmpty()) {
        parts << tr("reading %1").arg(caption_.trimmed());
    }
    for (const auto& [id, p] : pointers_) {
        if (p.kind == PointerKind::Marker && !p.name.isEmpty()) {
            parts << tr("%1 %2").arg(p.name, QLocale::c().toString(p.value, 'g', 6));
        } else if (p.kind == PointerKind::Band && !p.name.isEmpty()) {
            parts << tr("%1 %2 to %3")
                         .arg(p.name, QLocale::c().toString(p.start, 'g', 6),
                              QLocale::c().toString(p.stop, 'g', 6));
        }
    }
    if (focusHandle_) {
        const Pointer& p = pointer(focusHandle_->id);
        QString which = p.name;
        if (focusHandle_->part == HandlePart::Start) {
            which = tr("start of %1").arg(p.name);
        } else if (focusHandle_->part == HandlePart::Stop) {
            which = tr("end of %1").arg(p.name);
        }
        parts << tr("selected: %1").arg(which);
    }
    setAccessibleDescription(parts.join(QStringLiteral("; ")));
}

// --- painting -----------------------------------------------------------------------------------

void RoundGauge::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const gauge::DialFrame f = dial();
    if (f.radius < 10.0) {
        return;
    }
    paintFace(p, f);
    paintScale(p, f);
    paintPointers(p, f);
    paintNeedle(p, f);
    paintCaption(p, f);
    paintHint(p);
}

void RoundGauge::paintFace(QPainter& p, const gauge::DialFrame& f) const {
    const double r = f.radius;
    QLinearGradient bezel(f.center.x(), f.center.y() - r, f.center.x(), f.center.y() + r);
    bezel.setColorAt(0.0, QColor(0x8a, 0x90, 0x96));
    bezel.setColorAt(1.0, QColor(0x3a, 0x3e, 0x43));
    p.setPen(QPen(QColor(0x2a, 0x2d, 0x31), 1.0));
    p.setBrush(bezel);
    p.drawEllipse(circleRect(f.center, r));

    QRadialGradient face(f.center, FaceRadius * r, f.center - QPointF(0, 0.3 * r));
    face.setColorAt(0.0, QColor(0xff, 0xff, 0xff));
    face.setColorAt(1.0, QColor(0xe4, 0xe7, 0xea));
    p.setPen(QPen(QColor(0x25, 0x28, 0x2c), std::max(1.0, 0.012 * r)));
    p.setBrush(face);
    p.drawEllipse(circleRect(f.center, FaceRadius * r));
}

void RoundGauge::paintScale(QPainter& p, const gauge::DialFrame& f) const {
    const double r = f.radius;
    const QColor ink(0x1c, 0x1f, 0x23);

    // Zones and bands first, so that the ticks stay readable on top of them.
    for (const auto& [id, ptr] : pointers_) {
        if (ptr.kind != PointerKind::Marker || !ptr.zoneBelow.isValid()) {
            continue;
        }
        const double a0 = gauge::valueToAngle(scale_, scale_.minimum);
        const double a1 = gauge::valueToAngle(scale_, ptr.value);
        QColor fill = ptr.zoneBelow;
        fill.setAlpha(90);
        p.setPen(QPen(fill, BandWidth * r, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(circleRect(f.center, BandRadius * r), int(std::lround(a0 * 16.0)),
                  int(std::lround((a1 - a0) * 16.0)));
    }
    for (const auto& [id, ptr] : pointers_) {
        if (ptr.kind != PointerKind::Band) {
            continue;
        }
        const double a0 = gauge::valueToAngle(scale_, ptr.start);
        const double a1 = gauge::valueToAngle(scale_, ptr.stop);
        QColor fill = ptr.color;
        fill.setAlpha(ptr.draggable ? 110 : 170);
        const double width = (ptr.draggable ? BandWidth : 0.3 * BandWidth) * r;
        p.setPen(QPen(fill, width, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(circleRect(f.center, BandRadius * r), int(std::lround(a0 * 16.0)),
                  int(std::lround((a1 - a0) * 16.0)));
    }

    // Scale line.
    const double a0 = gauge::valueToAngle(scale_, scale_.minimum);
    const double a1 = gauge::valueToAngle(scale_, scale_.maximum);
    p.setPen(QPen(ink, std::max(1.0, 0.014 * r), Qt::SolidLine, Qt::FlatCap));
    p.drawArc(circleRect(f.center, ScaleRadius * r), int(std::lround(a0 * 16.0)),
              int(std::lround((a1 - a0) * 16.0)));

    const gauge::ScaleTicks ticks = gauge::scaleTicks(scale_, MajorTickTarget);
    p.setPen(QPen(ink, std::max(1.0, 0.008 * r), Qt::SolidLine, Qt::FlatCap));
    for (double v : ticks.minor) {
        const double a = gauge::valueToAngle(scale_, v);
        p.drawLine(gauge::pointAtAngle(f.center, ScaleRadius * r, a),
                   gauge::pointAtAngle(f.center, (ScaleRadius - MinorTickLength) * r, a));
    }
    p.setPen(QPen(ink, std::max(1.5, 0.018 * r), Qt::SolidLine, Qt::FlatCap));
    for (double v : ticks.major) {
        const double a = gauge::valueToAngle(scale_, v);
        p.drawLine(gauge::pointAtAngle(f.center, ScaleRadius * r, a),
                   gauge::pointAtAngle(f.center, (ScaleRadius - MajorTickLength) * r, a));
    }
    // The two ends of the scale get a major tick even when they are not round numbers.
    for (double v : {scale_.minimum, scale_.maximum}) {
        const double a = gauge::valueToAngle(scale_, v);
        p.drawLine(gauge::pointAtAngle(f.center, ScaleRadius * r, a),
                   gauge::pointAtAngle(f.center, (ScaleRadius - MajorTickLength) * r, a));
    }

    QFont font = this->font();
    font.setPixelSize(std::max(7, int(std::lround(0.092 * r))));
    p.setFont(font);
    p.setPen(ink);
    const QFontMetricsF fm(font);
    for (double v : ticks.major) {
        const QString text = tickLabel(v);
        const QPointF at =
            gauge::pointAtAngle(f.center, LabelRadius * r, gauge::valueToAngle(scale_, v));
        const QRectF box(at.x() - fm.horizontalAdvance(text) / 2.0 - 1.0,
                         at.y() - fm.height() / 2.0, fm.horizontalAdvance(text) + 2.0, fm.height());
        p.drawText(box, Qt::AlignCenter, text);
    }
    if (!unit_.isEmpty()) {
        QFont unitFont = this->font();
        unitFont.setPixelSize(std::max(7, int(std::lround(0.085 * r))));
        p.setFont(unitFont);
        p.setPen(QColor(0x5f, 0x66, 0x6d));
        const QRectF box(f.center.x() - 0.4 * r, f.center.y() - 0.36 * r, 0.8 * r, 0.14 * r);
        p.drawText(box, Qt::AlignCenter, unit_);
    }
}

void RoundGauge::paintPointers(QPainter& p, const gauge::DialFrame& f) const {
    const double r = f.radius;
    const QColor outline(0x1c, 0x1f, 0x23);
    for (const auto& [id, ptr] : pointers_) {
        if (ptr.kind == PointerKind::Marker) {
            const double a = gauge::valueToAngle(scale_, ptr.value);
            const double halfWidth = 7.0; // degrees either side at the base
            QPolygonF triangle;
            triangle << gauge::pointAtAngle(f.center, MarkerTip * r, a)
                     << gauge::pointAtAngle(f.center, MarkerBase * r, a + halfWidth)
                     << gauge::pointAtAngle(f.center, MarkerBase * r, a - halfWidth);
            p.setPen(QPen(outline, std::max(1.0, 0.01 * r)));
            p.setBrush(ptr.color);
            p.drawPolygon(triangle);
        } else if (ptr.kind == PointerKind::Band && ptr.draggable) {
            // Grips at the two ends of a band that can be dragged.
            p.setPen(QPen(outline, std::max(1.0, 0.008 * r)));
            p.setBrush(ptr.color.lighter(115));
            for (double v : {ptr.start, ptr.stop}) {
                const QPointF at =
                    gauge::pointAtAngle(f.center, BandRadius * r, gauge::valueToAngle(scale_, v));
                p.drawEllipse(at, 0.035 * r, 0.035 * r);
            }
        }
    }
    // The handle the keyboard moves, while the gauge has the focus.
    if (hasFocus()) {
        if (const auto handle = keyboardHandle()) {
            QPen pen(palette().color(QPalette::Highlight), std::max(1.5, 0.015 * r), Qt::DashLine);
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(handle->position, 0.085 * r, 0.085 * r);
        }
    }
}

void RoundGauge::paintNeedle(QPainter& p, const gauge::DialFrame& f) const {
    const double r = f.radius;
    const double a = gauge::valueToAngle(scale_, reading_);
    QPolygonF needle;
    needle << gauge::pointAtAngle(f.center, NeedleLength * r, a)
           << gauge::pointAtAngle(f.center, 0.035 * r, a + 90.0)
           << gauge::pointAtAngle(f.center, 0.14 * r, a + 180.0)
           << gauge::pointAtAngle(f.center, 0.035 * r, a - 90.0);
    p.setPen(QPen(QColor(0x10, 0x12, 0x14), std::max(1.0, 0.006 * r)));
    p.setBrush(QColor(0x22, 0x25, 0x29));
    p.drawPolygon(needle);
    QRadialGradient hub(f.center, 0.075 * r, f.center - QPointF(0.02 * r, 0.02 * r));
    hub.setColorAt(0.0, QColor(0x90, 0x96, 0x9c));
    hub.setColorAt(1.0, QColor(0x2a, 0x2d, 0x31));
    p.setBrush(hub);
    p.drawEllipse(f.center, 0.07 * r, 0.07 * r);
}

void RoundGauge::paintCaption(QPainter& p, const gauge::DialFrame& f) const {
    if (caption_.isEmpty()) {
        return;
    }
    const double r = f.radius;
    const QRectF box(f.center.x() - 0.34 * r, f.center.y() + 0.42 * r, 0.68 * r, 0.21 * r);
    p.setPen(QPen(QColor(0x10, 0x12, 0x14), std::max(1.0, 0.008 * r)));
    p.setBrush(QColor(0x26, 0x2a, 0x2f));
    p.drawRoundedRect(box, 0.03 * r, 0.03 * r);
    QFont font = this->font();
    font.setStyleHint(QFont::Monospace);
    font.setFamily(QStringLiteral("DejaVu Sans Mono"));
    font.setBold(true);
    font.setPixelSize(std::max(8, int(std::lround(0.135 * r))));
    const QFontMetricsF fm(font);
    // Shrink long captions to the readout instead of clipping them.
    const double fits = (box.width() - 0.04 * r) / std::max(1.0, fm.horizontalAdvance(caption_));
    if (fits < 1.0) {
        font.setPixelSize(std::max(6, int(font.pixelSize() * fits)));
    }
    p.setFont(font);
    p.setPen(QColor(0xf2, 0xf4, 0xf5));
    p.drawText(box, Qt::AlignCenter, caption_);
}

void RoundGauge::paintHint(QPainter& p) const {
    if (hint_.isEmpty()) {
        return;
    }
    const QRectF area = dialArea();
    const QRectF strip(0.0, area.bottom(), width(), height() - area.bottom());
    QFont font = this->font();
    font.setPixelSize(int(std::clamp(0.075 * std::min(width(), height()), 9.0, 13.0)));
    p.setFont(font);
    p.setPen(palette().color(QPalette::PlaceholderText));
    const QString text =
        QFontMetrics(font).elidedText(hint_, Qt::ElideRight, int(strip.width()) - 4);
    p.drawText(strip, Qt::AlignHCenter | Qt::AlignVCenter, text);
}

} // namespace qmf
