// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/app/RegisterSettingsCommands.h"

#include "core/files/RegisterSettingsFile.h"
#include "core/files/RegisterSettingsReport.h"
#include "gui/app/AppContext.h"
#include "gui/app/UserDialogs.h"

#include <QCursor>
#include <QGuiApplication>

namespace qmf {

namespace {

const QString Filter = QStringLiteral("Excel Files (*.dat)");
const QString ProblemTitle = QStringLiteral("There was a Problem!");

// 256 transfers take a noticeable moment on the printer-port path.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// The file the user chose, or an empty name when the dialog was cancelled or the name was
// refused (the user has been told then).
QString chooseSettingsFile(AppContext& ctx, QWidget* parent, UserDialogs::FileMode mode) {
    const QString name = ctx.dialogs.fileName(parent, mode, Filter);
    if (name.isEmpty()) {
        return {};
    }
    if (!hasRegisterSettingsExtension(name)) {
        ctx.dialogs.message(parent, UserDialogs::Icon::Exclamation, ProblemTitle,
                            QStringLiteral("Either an invalid filename or no file was selected, no "
                                           "settings were loaded."));
        return {};
    }
    return name;
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
    const QString text = describeSave(result).join(QLatin1Char('\n'));
    if (result.complete()) {
        ctx.dialogs.message(parent, UserDialogs::Icon::Information, QStringLiteral("Data Saved"),
                            text);
    } else {
        ctx.dialogs.message(parent, UserDialogs::Icon::Exclamation, ProblemTitle, text);
    }
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
    const QString text = describeLoad(result).join(QLatin1Char('\n'));
    if (result.complete()) {
        ctx.dialogs.message(parent, UserDialogs::Icon::Information, QStringLiteral("Data Loaded"),
                            text);
    } else {
        ctx.dialogs.message(parent, UserDialogs::Icon::Exclamation, ProblemTitle, text);
    }
}

} // namespace qmf
