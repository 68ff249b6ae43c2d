// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/services/SettingsStore.h"

#include <QFileInfo>
#include <QSettings>

namespace qmf {

namespace {

const QString FilesSection = QStringLiteral("Files");

} // namespace

// The application name is used as the organisation-level file name, so that the values live in
// one file named after the application.
SettingsStore::SettingsStore(QString applicationName)
    : applicationName_(std::move(applicationName)) {}

QString SettingsStore::value(const QString& section, const QString& key,
                             const QString& defaultValue) const {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, applicationName_);
    settings.beginGroup(section);
    const QVariant stored = settings.value(key);
    return stored.isValid() ? stored.toString() : defaultValue;
}

bool SettingsStore::setValue(const QString& section, const QString& key, const QString& text) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, applicationName_);
    settings.beginGroup(section);
    settings.setValue(key, text);
    settings.endGroup();
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QString SettingsStore::lastChosenFile(const QString& kind) const {
    return value(FilesSection, kind, QString());
}

bool SettingsStore::setLastChosenFile(const QString& kind, const QString& path) {
    return setValue(FilesSection, kind,
                    path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath());
}

QString SettingsStore::startFolder(const QString& kind) const {
    const QString last = lastChosenFile(kind);
    if (last.isEmpty()) {
        return {};
    }
    const QFileInfo folder(QFileInfo(last).absolutePath());
    return folder.isDir() ? folder.absoluteFilePath() : QString();
}

} // namespace qmf
