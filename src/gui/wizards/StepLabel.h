// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

namespace qmf {

// The label of one entry of a wizard's step list, which acts as a link: a left click, or Space /
// Enter while it has the focus, emits clicked(). It takes the focus with Tab so that the keyboard
// reaches it too.
class StepLabel : public QLabel {
    Q_OBJECT
public:
    explicit StepLabel(const QString& text, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool pressed_ = false;
};

} // namespace qmf
