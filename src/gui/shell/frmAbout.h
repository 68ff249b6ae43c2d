// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace qmf {

// The About box: the application's title, version and purpose. Modal, owned by the main window;
// OK (or Escape) closes it.
class frmAbout final : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* owner);

private:
    QLabel* picIcon_;
    QLabel* lblTitle_;
    QLabel* lblVersion_;
    QLabel* lblDescription_;
    QPushButton* cmdOK_;
};

// The separator of the About box: a grey line with a white line under it, as an etched rule.
class EtchedLine final : public QWidget {
    Q_OBJECT
public:
    explicit EtchedLine(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {100, 2}; }
    QSize minimumSizeHint() const override { return {10, 2}; }

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace qmf
