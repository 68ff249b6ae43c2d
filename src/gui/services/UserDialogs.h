// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace qmf {

// Modal message boxes and file dialogs go through this interface so that tests can answer them
// without a nested event loop.
class UserDialogs {
public:
    enum class Icon { None, Information, Exclamation, Critical };
    enum class FileMode { Open, Save };

    virtual ~UserDialogs() = default;

    // A modal message box with one OK button; `informativeText`, when given, stands below the
    // text (the file a message is about).
    virtual void message(QWidget* parent, Icon icon, const QString& title, const QString& text,
                         const QString& informativeText = QString()) = 0;

    // The same with a detailed text below it, shown when the user asks (Show Details...), so that
    // the text itself can stay as short as it must. Without an override the details follow the
    // text.
    virtual void detailedMessage(QWidget* parent, Icon icon, const QString& title,
                                 const QString& text, const QString& details);

    // A file dialog; `filter` is in Qt form ("Excel Files (*.dat)"); it opens in `startFolder`
    // when given. Empty when cancelled.
    virtual QString fileName(QWidget* parent, FileMode mode, const QString& filter,
                             const QString& startFolder = QString()) = 0;
};

// The real dialogs.
class QtUserDialogs final : public UserDialogs {
public:
    void message(QWidget* parent, Icon icon, const QString& title, const QString& text,
                 const QString& informativeText = QString()) override;
    void detailedMessage(QWidget* parent, Icon icon, const QString& title, const QString& text,
                         const QString& details) override;
    QString fileName(QWidget* parent, FileMode mode, const QString& filter,
                     const QString& startFolder = QString()) override;
};

} // namespace qmf
