// SPDX-License-Identifier: GPL-3.0-or-later
// The Debian package itself: what dpkg reads from it and what lintian says about it. (What it
// installs is checked with the cmake --install copy in InstalledCopyTest.)
#include "PackagingSupport.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>

namespace qmf::packaging {
namespace {

QString package() {
    const QStringList debs = QDir(QStringLiteral(QMF_DEB_DIR)).entryList({"*.deb"}, QDir::Files);
    EXPECT_EQ(debs.size(), 1) << debs.join(u' ').toStdString();
    return debs.isEmpty() ? QString() : QStringLiteral(QMF_DEB_DIR "/") + debs.first();
}

TEST(DebianPackage, DependsOnTheLibrariesItLinksAndHintsAtTheGroups) {
    const QString deb = package();
    EXPECT_TRUE(deb.endsWith(QStringLiteral("/qmf4150_" QMF_VERSION "_amd64.deb")) ||
                deb.contains(QStringLiteral("/qmf4150_" QMF_VERSION "_")))
        << deb.toStdString();
    const Outcome fields = run("dpkg-deb", {"--field", deb, "Package", "Depends", "Recommends"});
    ASSERT_EQ(fields.exitCode, 0) << fields.err.toStdString();
    EXPECT_TRUE(fields.out.startsWith(QStringLiteral("Package: qmf4150\n")))
        << fields.out.toStdString();
    // From dpkg-shlibdeps: the libraries the programs link.
    for (const char* library : {"libc6", "libstdc++6", "libqt6core6", "libqt6widgets6",
                                "libqcustomplot2.1-qt6", "libi2c0", "libprometheus-cpp-pull1.0"}) {
        EXPECT_TRUE(fields.out.contains(QLatin1String(library)))
            << library << " in " << fields.out.toStdString();
    }
    EXPECT_TRUE(fields.out.contains(QStringLiteral("Recommends: libqt6svg6")));

    QTemporaryDir control;
    ASSERT_EQ(run("dpkg-deb", {"--control", deb, control.path()}).exitCode, 0);
    EXPECT_EQ(readText(control.filePath("conffiles")).trimmed(),
              QStringLiteral(QMF_INSTALL_FULL_SYSCONFDIR "/xdg/VexaCalculate00/registration.ini"));
    const QFileInfo postinst(control.filePath("postinst"));
    EXPECT_TRUE(postinst.isExecutable());
    // The script creates the group the udev rule names and tells the administrator the rest.
    const QString script = readText(postinst.filePath());
    for (const char* says : {"groupadd --system i2c", "usermod -aG i2c,lp",
                             "modprobe -a i2c-dev ppdev", QMF_INSTALL_FULL_DOCDIR "/hardware.md"}) {
        EXPECT_TRUE(script.contains(QLatin1String(says))) << says;
    }
    const Outcome syntax = run("sh", {"-n", postinst.filePath()});
    EXPECT_EQ(syntax.exitCode, 0) << syntax.err.toStdString();
}

// lintian, where it is installed: no errors. Its warnings are printed for the record.
TEST(DebianPackage, LintianFindsNoErrors) {
    const Outcome which = run("sh", {"-c", "command -v lintian"});
    if (which.exitCode != 0) {
        GTEST_SKIP() << "lintian is not installed";
    }
    const Outcome lintian = run("lintian", {"--tag-display-limit", "0", package()});
    std::fputs(qPrintable(lintian.out), stdout);
    EXPECT_FALSE(lintian.out.contains(
        QRegularExpression(QStringLiteral("^E: "), QRegularExpression::MultilineOption)))
        << lintian.out.toStdString() << lintian.err.toStdString();
}

} // namespace
} // namespace qmf::packaging
