// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/services/AppVersion.h"

// The numbers come from the build (the project version), so that the program, its --version and
// the About box can never disagree.
#if !defined(QMF_VERSION_MAJOR) || !defined(QMF_VERSION_MINOR) || !defined(QMF_VERSION_PATCH)
#error "the build must define QMF_VERSION_MAJOR, QMF_VERSION_MINOR and QMF_VERSION_PATCH"
#endif

namespace qmf {

QString applicationTitle() {
    return QStringLiteral("QMF4150 Evaluation Software");
}

ProgramVersion programVersion() {
    return {QMF_VERSION_MAJOR, QMF_VERSION_MINOR, QMF_VERSION_PATCH};
}

QString versionNumberText(const ProgramVersion& version) {
    return QStringLiteral("%1.%2.%3").arg(version.major).arg(version.minor).arg(version.revision);
}

QString versionCaption(const ProgramVersion& version) {
    return QStringLiteral("Version ") + versionNumberText(version);
}

} // namespace qmf
