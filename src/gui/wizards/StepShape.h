// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QWidget>

namespace qmf {

// The rounded frame around one entry of a wizard's step list. Its border and interior colours
// tell which step is the current one; the step's label sits inside it.
class StepShape : public QWidget {
    Q_OBJECT
public:
    explicit StepShape(QWidget* parent = nullptr);

    void setColors(const QColor& border, const QColor& fill);
    QColor borderColor() const { return border_; }
    QColor fillColor() const { return fill_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor border_{0x80, 0x80, 0x80};
    QColor fill_{0xE0, 0xE0, 0xE0};
};

} // namespace qmf
