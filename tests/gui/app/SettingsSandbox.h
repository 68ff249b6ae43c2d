// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSettings>
#include <QTemporaryDir>

namespace qmf::test {

// Points the per-user settings store at a fresh temporary folder for as long as it lives, so
// that tests neither read nor change the user's real settings.
class SettingsSandbox {
public:
    SettingsSandbox() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path());
    }
    const QTemporaryDir& dir() const { return dir_; }

private:
    QTemporaryDir dir_;
};

} // namespace qmf::test
