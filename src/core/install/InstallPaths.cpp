// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/install/InstallPaths.h"

#include <QDir>

namespace qmf::install {

QString relativeLibDir() {
    return QStringLiteral(QMF_INSTALL_LIBDIR);
}

QString relativeDataDir() {
    return QStringLiteral(QMF_INSTALL_DATADIR);
}

QString relativeDocDir() {
    return QStringLiteral(QMF_INSTALL_DOCDIR);
}

QString documentationDir() {
    return QStringLiteral(QMF_INSTALL_FULL_DOCDIR);
}

QString hardwareGuide() {
    return QDir(documentationDir()).filePath(QStringLiteral("hardware.md"));
}

QString besideProgram(const QString& programDir, const QString& dir) {
    if (QDir::isAbsolutePath(dir)) {
        return QDir::cleanPath(dir);
    }
    return QDir::cleanPath(programDir + QStringLiteral("/../") + dir);
}

} // namespace qmf::install
