// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/services/UserDialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace qmf {

void QtUserDialogs::message(QWidget* parent, Icon icon, const QString& title, const QString& text) {
    QMessageBox box(parent);
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    box.setWindowTitle(title);
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

QString QtUserDialogs::fileName(QWidget* parent, FileMode mode, const QString& filter) {
    return mode == FileMode::Open
               ? QFileDialog::getOpenFileName(parent, QString(), QString(), filter)
               : QFileDialog::getSaveFileName(parent, QString(), QString(), filter);
}

} // namespace qmf
