// SPDX-License-Identifier: GPL-3.0-or-later
// The round gauge's user moves: dragging handles with the mouse, stepping them with the keyboard,
// and Tab walking through the handles.
#include "gui/widgets/RoundGauge.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <cmath>

namespace qmf {

// --- user moves ---------------------------------------------------------------------------------

void RoundGauge::moveHandle(int id, HandlePart part, double value) {
    const HandleRef ref{id, part};
    const double before = pointers_.handleValue(ref);
    if (!pointers_.move(ref, value, scale_)) {
        return;
    }
    selected_ = id;
    held_ = ref;
    lastPart_ = part;
    movedWhileHeld_ = true;
    if (pointers_.handleValue(ref) != before) {
        changed();
    }
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
    std::optional<HandleRef> ref = focusHandle_;
    if (!ref) {
        const auto order = pointers_.keyboardOrder();
        if (order.empty()) {
            return std::nullopt;
        }
        ref = order.front();
    }
    return gauge::Handle{ref->id, ref->part, handlePosition(ref->id, ref->part)};
}

// --- mouse --------------------------------------------------------------------------------------

void RoundGauge::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const gauge::DialFrame frame = dial();
    const auto all = gauge::handles(pointers_, frame, scale_);
    const auto hit = gauge::hitHandle(all, event->position(), gauge::hitTolerance(frame));
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
    updateDescription();
    update(); // the focus ring moves to the grabbed handle
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
        const gauge::DialFrame frame = dial();
        const auto all = gauge::handles(pointers_, frame, scale_);
        if (gauge::hitHandle(all, event->position(), gauge::hitTolerance(frame))) {
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
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

// --- keyboard -----------------------------------------------------------------------------------

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
    const double current = pointers_.handleValue(ref);
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

// --- focus --------------------------------------------------------------------------------------

void RoundGauge::focusInEvent(QFocusEvent* event) {
    const auto order = pointers_.keyboardOrder();
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
    const auto order = pointers_.keyboardOrder();
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

} // namespace qmf
