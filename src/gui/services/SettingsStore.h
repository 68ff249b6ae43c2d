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

private:
    QString applicationName_;
};

} // namespace qmf
