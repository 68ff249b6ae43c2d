// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace qmf {

// The per-user settings store: text values by application name, section and key. Kept by
// QSettings in the user's configuration folder (on Linux ~/.config/<application name>.conf).
class SettingsStore {
public:
    explicit SettingsStore(QString applicationName);

    // The stored text, or `defaultValue` when there is none.
    QString value(const QString& section, const QString& key, const QString& defaultValue) const;

    // Stores the text; false when the store could not be written.
    bool setValue(const QString& section, const QString& key, const QString& text);

    // The file dialogs' memory: for each kind of file ("SettingsFile", "LogFile") the path the
    // user chose last, kept across runs (section "Files"); empty when none is remembered.
    QString lastChosenFile(const QString& kind) const;
    bool setLastChosenFile(const QString& kind, const QString& path);
    // The folder a dialog for that kind opens in: the folder of the last chosen file, or empty
    // (the dialog's own choice) when none is remembered or the folder is gone.
    QString startFolder(const QString& kind) const;

private:
    QString applicationName_;
};

} // namespace qmf
