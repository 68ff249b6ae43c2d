// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

namespace qmf {

// A label that acts like a button: a left click (press and release on it) or Space / Return
// while it has keyboard focus emits clicked; the pointer moving onto it or off it emits hovered
// and unhovered (so does being hidden while the pointer is on it, e.g. by a page change from the
// keyboard). It takes focus from the Tab key only, so clicking it leaves the focus where it
// was, and it draws a focus frame while it has focus.
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(QWidget* parent = nullptr);

signals:
    void clicked(bool byKeyboard);
    void hovered();
    void unhovered();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool pressed_ = false;
};

} // namespace qmf
