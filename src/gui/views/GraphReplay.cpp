// SPDX-License-Identifier: GPL-3.0-or-later
// The graph window's "Open Log...": a .csv or .xls log read back into a replay window.
#include "core/logs/LogRecording.h"
#include "gui/services/AppContext.h"
#include "gui/services/AppVersion.h"
#include "gui/services/SettingsStore.h"
#include "gui/services/UserDialogs.h"
#include "gui/views/GraphFRM.h"
#include "gui/views/LogReplayWindow.h"

#include <QDir>
#include <QGuiApplication>

namespace qmf {

namespace {

const QString OpenLogFilter =
    QStringLiteral("Measurement Logs (*.csv *.xls);;CSV Files (*.csv);;Excel Files (*.xls)");
const QString OpenLogTitle = QStringLiteral("Open Log");
// Shared with "Make New Log": a log just written is the one most likely opened.
const QString LogFileKind = QStringLiteral("LogFile");

} // namespace

void GraphFRM::OpenLogCMD_Click() {
    SettingsStore store(applicationTitle());
    const QString path = ctx_.dialogs.fileName(this, UserDialogs::FileMode::Open, OpenLogFilter,
                                               store.startFolder(LogFileKind));
    if (path.isEmpty()) {
        return;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const LogRecording log = readLogFile(path);
    QGuiApplication::restoreOverrideCursor();
    const QString shownPath = QDir::toNativeSeparators(path);
    if (!log.ok()) {
        ctx_.dialogs.message(this, UserDialogs::Icon::Exclamation, OpenLogTitle,
                             QStringLiteral("The file could not be opened as a measurement log: "
                                            "%1.")
                                 .arg(log.error),
                             shownPath);
        return;
    }
    auto* replay = new LogReplayWindow(ctx_, log, path, this);
    replay->show();
    if (log.damagedLines > 0) {
        QStringList details = log.damage;
        if (log.damagedLines > log.damage.size()) {
            details << QStringLiteral("... and %1 more").arg(log.damagedLines - log.damage.size());
        }
        ctx_.dialogs.detailedMessage(
            replay, UserDialogs::Icon::Exclamation, OpenLogTitle,
            QStringLiteral("%1 damaged lines of %2 were skipped; the rest is shown.")
                .arg(log.damagedLines)
                .arg(shownPath),
            details.join(QLatin1Char('\n')));
    }
}

} // namespace qmf
