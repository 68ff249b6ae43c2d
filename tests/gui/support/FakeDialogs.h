// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/services/UserDialogs.h"

#include <QList>
#include <QStringList>

namespace qmf::test {

// Records every message box and answers file dialogs from a queue (empty = cancelled).
class FakeDialogs final : public UserDialogs {
public:
    struct Message {
        Icon icon;
        QString title;
        QString text;
        QString details;         // the detailed text (Show Details), empty without
        QString informativeText; // below the text, empty without
    };
    struct FileRequest {
        FileMode mode;
        QString filter;
        QString startFolder;
    };

    QList<Message> messages;
    QList<FileRequest> fileRequests;
    QStringList fileAnswers; // taken from the front, one per dialog

    void message(QWidget*, Icon icon, const QString& title, const QString& text,
                 const QString& informativeText = QString()) override {
        messages.append({icon, title, text, {}, informativeText});
    }
    void detailedMessage(QWidget*, Icon icon, const QString& title, const QString& text,
                         const QString& details) override {
        messages.append({icon, title, text, details, {}});
    }
    QString fileName(QWidget*, FileMode mode, const QString& filter,
                     const QString& startFolder = QString()) override {
        fileRequests.append({mode, filter, startFolder});
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
};

} // namespace qmf::test
