// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/services/ErrorBoundary.h"

#include "core/journal/WriteJournal.h"
#include "core/link/LinkErrors.h"
#include "gui/services/UserDialogs.h"

#include <QStatusBar>
#include <QWidget>
#include <optional>

namespace qmf {

namespace {

// The view a source belongs to is its nearest ancestor with a title (a view, a wizard, a dialog).
QString journalSourceName(const QWidget* source) {
    if (source == nullptr) {
        return {};
    }
    const QWidget* view = source;
    while (view->windowTitle().isEmpty() && !view->isWindow() && view->parentWidget()) {
        view = view->parentWidget();
    }
    QString name = view->windowTitle().isEmpty() ? view->objectName() : view->windowTitle();
    if (view != source && !source->objectName().isEmpty()) {
        name += QStringLiteral(" (") + source->objectName() + QLatin1Char(')');
    }
    return name;
}

} // namespace

bool ErrorBoundary::run(QWidget* source, const std::function<void()>& handler,
                        const std::function<void()>& onFailure) {
    return runHandler(source, handler, onFailure, false);
}

bool ErrorBoundary::runHandler(QWidget* source, const std::function<void()>& handler,
                               const std::function<void()>& onFailure, bool userAction) {
    QString text;
    const int failuresBefore = failures_;
    std::optional<JournalSource> named;
    if (journal_ != nullptr) {
        named.emplace(*journal_, [source] { return journalSourceName(source); });
    }
    try {
        handler();
        // An error reported inside this handler (a step that is skipped on failure) stays.
        if (failures_ == failuresBefore) {
            clearShownError(source, userAction);
        }
        return true;
    } catch (const LinkError& e) {
        text = e.message();
    } catch (const OverflowError& e) {
        text = e.message();
    } catch (const std::exception& e) {
        text = QString::fromUtf8(e.what());
    } catch (...) {
        text = QStringLiteral("unknown error");
    }
    report(source, text);
    if (onFailure) {
        onFailure();
    }
    return false;
}

std::function<void()> ErrorBoundary::guard(QWidget* source, std::function<void()> handler,
                                           std::function<void()> onFailure) {
    QPointer<QWidget> guardedSource(source);
    return [this, guardedSource, handler = std::move(handler), onFailure = std::move(onFailure)] {
        runHandler(guardedSource, handler, onFailure, true);
    };
}

void ErrorBoundary::clearShownError(QWidget* source, bool userAction) {
    if (!errorShown_) {
        return;
    }
    const bool sameWindow = source != nullptr && failedWindow_ && source->window() == failedWindow_;
    if (!userAction && !sameWindow) {
        return;
    }
    errorShown_ = false;
    // Only our own text goes: whatever else was put on the status bar since is left alone.
    if (statusBar_ && statusBar_->currentMessage() == lastError_) {
        statusBar_->clearMessage();
    }
}

void ErrorBoundary::report(QWidget* source, const QString& text) {
    ++failures_;
    QString where;
    if (source != nullptr) {
        const QWidget* window = source->window();
        where = window->windowTitle().isEmpty() ? source->windowTitle() : window->windowTitle();
    }
    lastError_ = where.isEmpty() ? text : where + QStringLiteral(": ") + text;
    failedWindow_ = source != nullptr ? source->window() : nullptr;
    if (statusBar_) {
        statusBar_->showMessage(lastError_);
        errorShown_ = true;
    }
    // One box at a time: errors raised while it is open (other views' timers) go to the status
    // bar only, so a failing board does not stack up boxes.
    if (showingMessage_) {
        return;
    }
    showingMessage_ = true;
    dialogs_.message(source, UserDialogs::Icon::Exclamation,
                     QStringLiteral("QMF4150 Evaluation Software"), lastError_);
    showingMessage_ = false;
}

} // namespace qmf
