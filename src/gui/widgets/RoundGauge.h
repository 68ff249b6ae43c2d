// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/widgets/GaugeGeometry.h"
#include "gui/widgets/GaugePainter.h"
#include "gui/widgets/GaugePointers.h"

#include <QColor>
#include <QString>
#include <QWidget>
#include <optional>

namespace qmf {

// A round instrument: a scale from ScaleMin to ScaleMax over a 270-degree dial, a reading needle,
// numbered pointers (limit markers and bands) that the user drags with the mouse or moves with
// the keyboard, a caption readout and a hint line. Pointers are addressed like the properties of
// an instrument control: select one with setPointerID, then read or set PointerValue (a marker)
// or PointerStart / PointerStop (a band). Values are plain doubles; they are drawn pinned to the
// scale but stored as set, so the owner's arithmetic sees exactly what it wrote.
//
// Keyboard: Tab / Shift+Tab step through the draggable handles (then on to the next control),
// Left/Down and Right/Up move the selected handle by one step, Page Down / Page Up by ten steps.
// Every move emits pointerChanged; letting go (mouse button or key) emits pointerReleased once.
//
// Setting a property to the value it has changes nothing and repaints nothing, so an owner that
// polls may set every property on every reading. The dial face and scale are drawn once per size.
class RoundGauge : public QWidget {
    Q_OBJECT
public:
    using PointerKind = gauge::PointerKind;
    using HandlePart = gauge::HandlePart;

    explicit RoundGauge(QWidget* parent = nullptr);

    // --- scale ---------------------------------------------------------------------------------
    void setScale(double minimum, double maximum);
    double ScaleMin() const { return scale_.minimum; }
    double ScaleMax() const { return scale_.maximum; }
    void setScaleMax(double maximum) { setScale(scale_.minimum, maximum); }

    // --- reading needle, caption and hint ------------------------------------------------------
    void setReading(double value);
    double reading() const { return reading_; }
    void setCaption(const QString& caption);
    const QString& caption() const { return caption_; }
    void setHintText(const QString& text);
    const QString& hintText() const { return hint_; }
    // The unit printed on the dial face ("RPM").
    void setUnit(const QString& unit);
    const QString& unit() const { return unit_; }

    // --- pointers ------------------------------------------------------------------------------
    // Declares what pointer `id` is. `name` is what screen readers call it ("low limit").
    void configurePointer(int id, PointerKind kind, bool draggable, const QColor& color,
                          const QString& name);
    PointerKind pointerKind(int id) const;
    bool isDraggable(int id) const;
    // Shades the scale from its minimum up to marker `id` (the alarm zone below a fan's limit);
    // an invalid colour removes the shading.
    void setZoneBelow(int id, const QColor& color);

    int PointerID() const { return selected_; }
    void setPointerID(int id) { selected_ = id; }
    double PointerValue() const { return pointers_.pointer(selected_).value; }
    void setPointerValue(double value);
    double PointerStart() const { return pointers_.pointer(selected_).start; }
    void setPointerStart(double value);
    double PointerStop() const { return pointers_.pointer(selected_).stop; }
    void setPointerStop(double value);

    // The same by id, without changing the selection.
    double pointerValue(int id) const { return pointers_.pointer(id).value; }
    double pointerStart(int id) const { return pointers_.pointer(id).start; }
    double pointerStop(int id) const { return pointers_.pointer(id).stop; }

    // --- user moves ----------------------------------------------------------------------------
    // Moves a draggable handle as the user does (mouse, keyboard, assistive tools): the value is
    // limited to the scale (a band's end also to its other end), the pointer becomes the
    // selected one and pointerChanged is emitted. Ignored for a handle that is not draggable.
    void moveHandle(int id, HandlePart part, double value);
    // Ends the move in progress: emits pointerReleased when something moved.
    void releaseHandle();
    // Ends the move in progress without a notification (e.g. after a failed write).
    void cancelDrag();
    // A handle is held (mouse button or key down) right now.
    bool isDragging() const { return held_.has_value(); }
    // The part of the pointer that was moved last (which end of a band).
    HandlePart lastMovedPart() const { return lastPart_; }

    // The handle the keyboard acts on, and the step of one key press.
    std::optional<gauge::Handle> keyboardHandle() const;
    void setKeyboardStep(double step) { keyboardStep_ = step; }
    double keyboardStep() const { return keyboardStep_; }

    // Where a handle is drawn at the widget's current size (for hit tests and tests).
    QPointF handlePosition(int id, HandlePart part) const;
    // Where the dial is at the widget's current size.
    gauge::DialFrame dial() const;
    const gauge::DialScale& scale() const { return scale_; }

    // How often the cached face and scale were drawn (once per size, scale, unit, hint or look).
    int cachedLayerBuilds() const { return painter_.layerBuilds(); }

    QSize sizeHint() const override { return {250, 270}; }
    // The dial's numbers scale with the gauge: below this they fall under 9 pixels.
    QSize minimumSizeHint() const override { return {210, 230}; }

signals:
    void pointerChanged(int pointerId);
    void pointerReleased(int pointerId);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    using HandleRef = gauge::HandleRef;

    QRectF dialArea() const;
    // Repaints after a change of what the gauge shows; `layers` when the cached face or scale
    // is stale too.
    void changed(bool layers = false);
    void updateDescription();

    gauge::DialScale scale_;
    double reading_ = 0.0;
    QString caption_;
    QString hint_;
    QString unit_;
    gauge::PointerModel pointers_;
    gauge::GaugePainter painter_;
    int selected_ = 0;
    double keyboardStep_ = 1.0;

    std::optional<HandleRef> held_;        // grabbed by mouse or key
    std::optional<HandleRef> focusHandle_; // what the keyboard moves
    bool movedWhileHeld_ = false;
    HandlePart lastPart_ = HandlePart::Value;
    int heldKey_ = 0;
};

} // namespace qmf
