// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/RegisterSettingsCommands.h"

#include "core/files/RegisterSettingsFile.h"
#include "core/files/RegisterSettingsReport.h"
#include "gui/services/AppContext.h"
#include "gui/services/AppVersion.h"
#include "gui/services/SettingsStore.h"
#include "gui/services/UserDialogs.h"

#include <QCursor>
#include <QDir>
#include <QGuiApplication>

namespace qmf {

namespace {

const QString Filter = QStringLiteral("Excel Files (*.dat)");
const QString ProblemTitle = QStringLiteral("There was a Problem!");
// Save and load share one memory of the last chosen file, as they share one dialog.
const QString FileKind = QStringLiteral("SettingsFile");

// 256 transfers take a noticeable moment on the printer-port path.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// The file the user chose, or an empty name when the dialog was cancelled or the name was
// refused (the user has been told then). The dialog opens in the folder of the last chosen file,
// also of an earlier run; a refused name is forgotten.
QString chooseSettingsFile(AppContext& ctx, QWidget* parent, UserDialogs::FileMode mode) {
    SettingsStore store(applicationTitle());
    const QString name = ctx.dialogs.fileName(parent, mode, Filter, store.startFolder(FileKind));
    if (name.isEmpty()) {
        return {};
    }
    const bool accepted = hasRegisterSettingsExtension(name);
    store.setLastChosenFile(FileKind, accepted ? name : QString());
    if (!accepted) {
        ctx.dialogs.message(parent, UserDialogs::Icon::Exclamation, ProblemTitle,
                            QStringLiteral("Either an invalid filename or no file was selected, no "
                                           "settings were loaded."));
        return {};
    }
    return name;
}

// A complete operation is news; anything less is a problem the user must see. Either way the
// box names the file below its text.
void tell(AppContext& ctx, QWidget* parent, bool complete, const QString& successTitle,
          const QStringList& lines, const QString& path) {
    const QString text = lines.join(QLatin1Char('\n'));
    const QString file = QDir::toNativeSeparators(path);
    if (complete) {
        ctx.dialogs.message(parent, UserDialogs::Icon::Information, successTitle, text, file);
    } else {
        ctx.dialogs.message(parent, UserDialogs::Icon::Exclamation, ProblemTitle, text, file);
    }
}

} // namespace

void SaveRegisterSettings(AppContext& ctx, QWidget* parent) {
    const QString path = chooseSettingsFile(ctx, parent, UserDialogs::FileMode::Save);
    if (path.isEmpty()) {
        return;
    }
    SaveRegisterSettingsResult result;
    {
        WaitCursor wait;
        result = saveRegisterSettings(ctx.state, path);
    }
    tell(ctx, parent, result.complete(), QStringLiteral("Data Saved"), describeSave(result), path);
}

void LoadRegisterSettings(AppContext& ctx, QWidget* parent) {
    const QString path = chooseSettingsFile(ctx, parent, UserDialogs::FileMode::Open);
    if (path.isEmpty()) {
        return;
    }
    LoadRegisterSettingsResult result;
    {
        WaitCursor wait;
        result = loadRegisterSettings(ctx.state, path);
    }
    tell(ctx, parent, result.complete(), QStringLiteral("Data Loaded"), describeLoad(result), path);
}

} // namespace qmf
