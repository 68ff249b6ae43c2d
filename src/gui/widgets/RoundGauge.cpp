// SPDX-License-Identifier: GPL-3.0-or-later
// The round gauge's properties, geometry, description and painting; its mouse and keyboard
// handling is in RoundGaugeInput.cpp.
#include "gui/widgets/RoundGauge.h"

#include <QEvent>
#include <QLocale>
#include <QPainter>
#include <algorithm>

namespace qmf {

RoundGauge::RoundGauge(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    updateDescription();
}

// --- properties ---------------------------------------------------------------------------------

void RoundGauge::setScale(double minimum, double maximum) {
    if (scale_.minimum == minimum && scale_.maximum == maximum) {
        return;
    }
    scale_.minimum = minimum;
    scale_.maximum = maximum;
    changed(true);
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
    if (hint_ == text) {
        return;
    }
    hint_ = text;
    setToolTip(text);
    changed(true);
}

void RoundGauge::setUnit(const QString& unit) {
    if (unit_ == unit) {
        return;
    }
    unit_ = unit;
    changed(true);
}

void RoundGauge::configurePointer(int id, PointerKind kind, bool draggable, const QColor& color,
                                  const QString& name) {
    if (!pointers_.configure(id, kind, draggable, color, name)) {
        return;
    }
    if (focusHandle_ && !isDraggable(focusHandle_->id)) {
        focusHandle_.reset();
    }
    changed();
}

void RoundGauge::setZoneBelow(int id, const QColor& color) {
    if (pointers_.setZoneBelow(id, color)) {
        changed();
    }
}

RoundGauge::PointerKind RoundGauge::pointerKind(int id) const {
    return pointers_.pointer(id).kind;
}

bool RoundGauge::isDraggable(int id) const {
    return pointers_.pointer(id).draggable;
}

void RoundGauge::setPointerValue(double value) {
    if (pointers_.setValue(selected_, value)) {
        changed();
    }
}

void RoundGauge::setPointerStart(double value) {
    if (pointers_.setStart(selected_, value)) {
        changed();
    }
}

void RoundGauge::setPointerStop(double value) {
    if (pointers_.setStop(selected_, value)) {
        changed();
    }
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
    return gauge::handlePosition(dial(), scale_, pointers_.pointer(id), part);
}

// --- description and painting -------------------------------------------------------------------

void RoundGauge::changed(bool layers) {
    if (layers) {
        painter_.invalidate();
    }
    updateDescription();
    update();
}

void RoundGauge::updateDescription() {
    QStringList parts;
    if (!caption_.trimmed().isEmpty()) {
        parts << tr("reading %1").arg(caption_.trimmed());
    }
    for (const auto& [id, p] : pointers_.all()) {
        if (p.kind == PointerKind::Marker && !p.name.isEmpty()) {
            parts << tr("%1 %2").arg(p.name, QLocale::c().toString(p.value, 'g', 6));
        } else if (p.kind == PointerKind::Band && !p.name.isEmpty()) {
            parts << tr("%1 %2 to %3")
                         .arg(p.name, QLocale::c().toString(p.start, 'g', 6),
                              QLocale::c().toString(p.stop, 'g', 6));
        }
    }
    if (focusHandle_) {
        const gauge::Pointer& p = pointers_.pointer(focusHandle_->id);
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

void RoundGauge::changeEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
        painter_.invalidate();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

void RoundGauge::paintEvent(QPaintEvent*) {
    QPainter p(this);
    gauge::GaugeScene scene;
    scene.frame = dial();
    if (!hint_.isEmpty()) {
        const QRectF area = dialArea();
        scene.hintStrip = QRectF(0.0, area.bottom(), width(), height() - area.bottom());
    }
    scene.scale = scale_;
    scene.pointers = &pointers_;
    scene.reading = reading_;
    scene.caption = caption_;
    scene.hint = hint_;
    scene.unit = unit_;
    if (hasFocus()) {
        if (const auto handle = keyboardHandle()) {
            scene.focusRing = handle->position;
        }
    }
    painter_.paint(p, scene, *this);
}

} // namespace qmf
