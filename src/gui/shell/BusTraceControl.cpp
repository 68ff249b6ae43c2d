// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/BusTraceControl.h"

#include "core/chip/SharedState.h"
#include "core/link/BoardLink.h"
#include "core/trace/BusTraceRecording.h"
#include "gui/services/AppContext.h"
#include "gui/services/ErrorBoundary.h"
#include "gui/services/UserDialogs.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>

namespace qmf {

namespace {
const QString Title = QStringLiteral("Record Bus Trace");
} // namespace

BusTraceControl::BusTraceControl(AppContext& ctx, QMenu& tools, QWidget* window)
    : QObject(window), ctx_(ctx), window_(window) {
    tools.addSeparator()->setObjectName(QStringLiteral("mnuToolsBarTrace"));
    action_ = tools.addAction(QStringLiteral("Record Bus &Trace..."));
    action_->setObjectName(QStringLiteral("mnuRecordBusTrace"));
    action_->setCheckable(true);
    connect(action_, &QAction::triggered, this, ctx_.errors.guard(window, [this] { clicked(); }));
}

BusTraceControl::~BusTraceControl() {
    if (recording_) {
        recording_->stop();
    }
}

bool BusTraceControl::recording() const {
    return recording_ && recording_->recording();
}

void BusTraceControl::clicked() {
    if (recording()) {
        stop();
        return;
    }
    showState(); // the click toggled the check mark; it follows the recording instead
    QString path = ctx_.dialogs.fileName(window_, UserDialogs::FileMode::Save,
                                         QStringLiteral("Bus traces (*.vcd);;All files (*)"));
    if (path.isEmpty()) {
        return;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".vcd");
    }
    start(path);
}

bool BusTraceControl::start(const QString& path) {
    if (recording()) {
        stop();
    }
    BoardLink& board = ctx_.state.board();
    recording_ = std::make_unique<trace::BusTraceRecording>(board.parallelPortLink().busEngine());
    // A write fails in the middle of a transfer; the recording ends once the transfer is over.
    recording_->onWriteFailure = [this](const QString&) {
        QMetaObject::invokeMethod(
            this, [this] { stop(); }, Qt::QueuedConnection);
    };
    const bool started = recording_->start(
        path, QStringLiteral("SCL and SDA of the printer port's bus, recorded by qmf4150eval on %1")
                  .arg(board.description()));
    if (!started) {
        const QString error = recording_->error();
        recording_.reset();
        showFailure(error);
    } else if (auto* main = qobject_cast<QMainWindow*>(window_)) {
        main->statusBar()->showMessage(
            QStringLiteral("Recording the bus into %1").arg(QDir::toNativeSeparators(path)));
    }
    showState();
    return started;
}

void BusTraceControl::stop() {
    if (!recording()) {
        return;
    }
    const bool written = recording_->stop();
    const QString path = QDir::toNativeSeparators(recording_->path());
    const quint64 changes = recording_->changes();
    const QString error = recording_->error();
    recording_.reset();
    showState();
    if (!written) {
        showFailure(error);
    } else if (auto* main = qobject_cast<QMainWindow*>(window_)) {
        main->statusBar()->showMessage(
            QStringLiteral("Bus trace written to %1 (%2 line changes)").arg(path).arg(changes));
    }
}

void BusTraceControl::showFailure(const QString& text) {
    ctx_.dialogs.message(window_, UserDialogs::Icon::Exclamation, Title, text);
}

void BusTraceControl::showState() {
    action_->setChecked(recording());
}

} // namespace qmf
