// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/DocumentationCommand.h"

#include "core/install/InstallPaths.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QStringList>
#include <QUrl>
#include <stdexcept>

namespace qmf {

QString documentationFolder() {
    const QStringList places = {
        install::besideProgram(QCoreApplication::applicationDirPath(), install::relativeDocDir()),
        install::documentationDir()};
    for (const QString& place : places) {
        // The hardware guide marks the folder as ours, not just any folder of that name.
        if (QFileInfo(place + QStringLiteral("/hardware.md")).isFile()) {
            return place;
        }
    }
    throw std::runtime_error(
        QStringLiteral("The documentation is not installed: it is neither in %1 nor in %2.")
            .arg(places[0], places[1])
            .toStdString());
}

void OpenDocumentation() {
    const QString folder = documentationFolder();
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder))) {
        throw std::runtime_error(
            QStringLiteral("No program was found to show the documentation in %1.")
                .arg(folder)
                .toStdString());
    }
}

} // namespace qmf
