// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

namespace qmf {

// The drawing of the chip package (ChipPinout) with its labelled pins. Indicator widgets are
// attached to a run of pins: the drawing places each beside its pins, on the outside of the
// package, and draws leader lines from the pins to it (dashed to a disabled indicator, none to a
// hidden one). Everything scales with the widget.
class ChipDrawing : public QWidget {
    Q_OBJECT
public:
    explicit ChipDrawing(QWidget* parent = nullptr);

    // Makes `indicator` a child of the drawing, placed beside pins first..last (one side).
    void attach(QWidget* indicator, int firstPin, int lastPin);

    // Geometry at the current size.
    double pitch() const;
    QRectF bodyRect() const;
    QRectF legRect(int pin) const;
    QPointF legTip(int pin) const;
    // The pins an attached widget stands for (empty when it is not attached).
    std::vector<int> pinsOf(const QWidget* indicator) const;

    QSize sizeHint() const override { return {760, 560}; }
    // Room for the package at its smallest with the widest indicator on either side.
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Attachment {
        QPointer<QWidget> widget;
        int firstPin;
        int lastPin;
    };
    double pinY(int pin) const;
    double legLength() const;
    void placeAttachments();
    bool shown(const Attachment& a) const;

    std::vector<Attachment> attachments_;
};

} // namespace qmf
