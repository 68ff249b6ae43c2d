// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/services/UserDialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace qmf {

namespace {

QMessageBox::Icon boxIcon(UserDialogs::Icon icon) {
    switch (icon) {
    case UserDialogs::Icon::Information:
        return QMessageBox::Information;
    case UserDialogs::Icon::Exclamation:
        return QMessageBox::Warning;
    case UserDialogs::Icon::Critical:
        return QMessageBox::Critical;
    case UserDialogs::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

void showBox(QWidget* parent, UserDialogs::Icon icon, const QString& title, const QString& text,
             const QString& informativeText, const QString& details) {
    QMessageBox box(parent);
    box.setIcon(boxIcon(icon));
    box.setWindowTitle(title);
    box.setText(text);
    box.setInformativeText(informativeText);
    box.setDetailedText(details); // an empty one shows no Show Details button
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

} // namespace

void UserDialogs::detailedMessage(QWidget* parent, Icon icon, const QString& title,
                                  const QString& text, const QString& details) {
    message(parent, icon, title,
            details.isEmpty() ? text : text + QStringLiteral("\n\n") + details);
}

void QtUserDialogs::message(QWidget* parent, Icon icon, const QString& title, const QString& text,
                            const QString& informativeText) {
    showBox(parent, icon, title, text, informativeText, QString());
}

void QtUserDialogs::detailedMessage(QWidget* parent, Icon icon, const QString& title,
                                    const QString& text, const QString& details) {
    showBox(parent, icon, title, text, QString(), details);
}

QString QtUserDialogs::fileName(QWidget* parent, FileMode mode, const QString& filter,
                                const QString& startFolder) {
    return mode == FileMode::Open
               ? QFileDialog::getOpenFileName(parent, QString(), startFolder, filter)
               : QFileDialog::getSaveFileName(parent, QString(), startFolder, filter);
}

} // namespace qmf
