// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QStatusBar> // QPointer<QStatusBar> below needs the complete type
#include <QString>
#include <functional>

class QStatusBar;
class QWidget;

namespace qmf {

class UserDialogs;
class WriteJournal;

// Every event handler and timer tick runs inside run(): an error the handler does not handle
// itself is shown on the main window's status bar and in one message box, and the program goes
// on. A polling view passes onFailure to stop its timer and reset its start control.
//
// The error stays on the status bar until the next action succeeds: a control's handler (guard)
// or any handler of the window that failed. Other windows' timer ticks succeeding meanwhile do
// not take it away, so a failure in one view stays readable while the others poll on.
class ErrorBoundary {
public:
    explicit ErrorBoundary(UserDialogs& dialogs) : dialogs_(dialogs) {}

    void setStatusBar(QStatusBar* statusBar) { statusBar_ = statusBar; }
    // The register writes a handler makes are journaled under its source's view title (and the
    // control's name when the source is a control of the view).
    void nameSourcesIn(WriteJournal* journal) { journal_ = journal; }

    // Runs handler; returns false when it threw. onFailure runs after the error was reported.
    bool run(QWidget* source, const std::function<void()>& handler,
             const std::function<void()>& onFailure = {});

    // A handler for a signal connection, e.g.
    //   connect(button, &QPushButton::clicked, this, errors.guard(this, [this] { write(); }));
    std::function<void()> guard(QWidget* source, std::function<void()> handler,
                                std::function<void()> onFailure = {});

    // The text of the last reported error, and how many were reported.
    const QString& lastError() const { return lastError_; }
    int failureCount() const { return failures_; }

private:
    bool runHandler(QWidget* source, const std::function<void()>& handler,
                    const std::function<void()>& onFailure, bool userAction);
    void report(QWidget* source, const QString& text);
    void clearShownError(QWidget* source, bool userAction);

    UserDialogs& dialogs_;
    QPointer<QStatusBar> statusBar_;
    WriteJournal* journal_ = nullptr;
    QString lastError_;
    QPointer<QWidget> failedWindow_;
    bool errorShown_ = false;
    int failures_ = 0;
    bool showingMessage_ = false;
};

} // namespace qmf
